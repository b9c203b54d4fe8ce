// The two conflict dialogs. Both propose a name, show the taken one in their
// prompt and hand back the field's text exactly as typed, once Vorns.ctl
// can hold every character of it.
#include "install/dup_file_name_dlg.h"
#include "install/dup_vorn_name_dlg.h"

#include "install/name_proposals.h"
#include "platform/string_resources.h"
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

// A character the control file's code page cannot hold would be stored as
// "?": the name is refused with a word on which character, and stays in the
// field to be mended.
bool takeTypedName(Dialog& dialog, std::string& name)
{
    CWnd field = dialog.GetDlgItem(IDC_NEW_NAME);
    const std::string unstorable = field.FirstUnstorableCharacter();
    if (!unstorable.empty()) {
        dialog.ShowWarning(LoadString(IDS_WARNING_TITLE), LoadString(IDS_UNSTORABLE_CHARACTER), unstorable);
        field.SetFocus();
        return false;
    }
    name = field.GetWindowText();
    return true;
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
    if (takeTypedName(*this, m_strNewName))
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
    if (takeTypedName(*this, m_strNewName))
        Dialog::OnOK();
}
