// What the framework's dialogs do the same way on every toolkit: the
// default handlers, data exchange and the texts of their controls.
#include "platform/dialog.h"

#include "platform/dialog_ids.h"

namespace {
Dialog* theMainWindow = nullptr;
} // namespace

Dialog* Dialog::mainWindow()
{
    return theMainWindow;
}

void Dialog::setMainWindow(Dialog* window)
{
    theMainWindow = window;
}

std::string Dialog::GetDlgItemText(int id) const
{
    return GetDlgItem(id).GetWindowText();
}

void Dialog::SetDlgItemText(int id, const std::string& text)
{
    GetDlgItem(id).SetWindowText(text);
}

bool Dialog::OnInitDialog()
{
    UpdateData(false);
    return true;
}

void Dialog::OnOK()
{
    UpdateData(true);
    EndDialog(IDOK);
}

void Dialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

void Dialog::OnCommand(int)
{
}

void Dialog::DoDataExchange(bool)
{
}

void Dialog::UpdateData(bool saveAndValidate)
{
    DoDataExchange(saveAndValidate);
}

IconHandle Dialog::OnQueryDragIcon()
{
    return nullptr;
}
