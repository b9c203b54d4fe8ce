// Finding the Vorns folder: at start-up from the host's registration, and
// whenever the user presses Browse.
#include "app/quillop_dlg.h"

#include "host/dir_dialog.h"
#include "host/vorns_folder.h"
#include "platform/string_resources.h"
#include "platform/text_format.h"
#include "res/resource_ids.h"

bool CQuillopDlg::IsVornsFolder(const std::string& folder) const
{
    return ::IsVornsFolder(folder);
}

BrowseResult CQuillopDlg::BrowseForFolder(std::string& folder)
{
    CDirDialog chooser(folder, nullptr);
    const BrowseResult answer = chooser.DoBrowse();
    if (answer == BrowseResult::chosen)
        folder = chooser.GetPath();
    return answer;
}

void CQuillopDlg::LocateVornsFolder()
{
    // A folder named on the command line has been checked there.
    const VornsFolderChoice choice = ChooseVornsFolder(m_strGivenFolder);
    m_strVornsFolder = choice.folder;
    if (choice.from == VornsFolderChoice::From::fallback)
        BrowseForFolder(m_strVornsFolder);

    bool found = true;
    while (!IsVornsFolder(m_strVornsFolder)) {
        if (BrowseForFolder(m_strVornsFolder) == BrowseResult::cancelled) {
            found = false;
            break;
        }
    }
    EnableItem(IDC_INSTALL, found);
    SetStatusText(FormatText(LoadString(found ? IDS_READY : IDS_NOT_FOUND), {m_strVornsFolder}));
}

void CQuillopDlg::OnBrowse()
{
    BrowseForFolder(m_strVornsFolder);
    const bool found = IsVornsFolder(m_strVornsFolder);
    EnableItem(IDC_INSTALL, found);
    if (found) {
        SetStatusText(FormatText(LoadString(IDS_READY), {m_strVornsFolder}));
        GetDlgItem(IDC_INSTALL).SetFocus();
    } else {
        SetStatusText(FormatText(LoadString(IDS_NOT_FOUND), {m_strVornsFolder}));
    }
}
