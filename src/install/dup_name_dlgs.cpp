// The two conflict dialogs. Both propose a name, show the taken one in their
// prompt and hand back the field's text exactly as typed.
#include "install/dup_file_name_dlg.h"
#include "install/dup_vorn_name_dlg.h"

#include "install/name_proposals.h"
#include "platform/text_format.h"
#include "res/dialog_templates.h"
#include "res/resource_ids.h"

namespace {

// The prompt control's own text is the format for the taken name.
void showConflict(Dialog& dialog, const std::string& takenName, const std::string& proposal)
{
    dialog.SetDlgItemText(IDC_PROMPT, FormatText(dialog.GetDlgItemText(IDC_PROMPT), {takenName}));
    dialog.SetDlgItemText(IDC_NEW_NAME, proposal);
}

} // namespace

CDupVornNameDlg::CDupVornNameDlg(const std::string& name, const char* controlText, Dialog* parent)
    : Dialog(kDupVornNameTemplate, parent)
    , m_strNewName(name)
    , m_strOldName(name)
    , m_pszControlText(controlText)
{
}

bool CDupVornNameDlg::OnInitDialog()
{
    Dialog::OnInitDialog();
    m_strNewName = ProposeVornName(m_pszControlText, m_strNewName);
    showConflict(*this, m_strOldName, m_strNewName);
    return true;
}

void CDupVornNameDlg::OnOK()
{
    m_strNewName = GetDlgItemText(IDC_NEW_NAME);
    Dialog::OnOK();
}

CDupFileNameDlg::CDupFileNameDlg(const std::string& fileName, const std::string& folder, Dialog* parent)
    : Dialog(kDupFileNameTemplate, parent)
    , m_strOldName(fileName)
    , m_strNewName(fileName)
    , m_strFolder(folder)
{
}

bool CDupFileNameDlg::OnInitDialog()
{
    Dialog::OnInitDialog();
    m_strNewName = ProposeFileName(m_strFolder, m_strNewName);
    showConflict(*this, m_strOldName, m_strNewName);
    return true;
}

void CDupFileNameDlg::OnOK()
{
    m_strNewName = GetDlgItemText(IDC_NEW_NAME);
    Dialog::OnOK();
}
