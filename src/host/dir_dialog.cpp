#include "host/dir_dialog.h"

#include "platform/dialog.h"
#include "platform/folder_picker.h"
#include "platform/string_resources.h"
#include "res/resource_ids.h"

std::string CDirDialog::s_strPath;

CDirDialog::CDirDialog(const std::string& startPath, CWnd* owner)
    : m_pOwner(owner ? owner : Dialog::mainWindow())
{
    s_strPath = startPath;
}

BrowseResult CDirDialog::DoBrowse()
{
    if (m_strTitle.empty())
        m_strTitle = LoadString(IDS_BROWSE_TITLE);
    const auto chosen = PickFolder(m_pOwner, m_strTitle, s_strPath);
    if (!chosen)
        return BrowseResult::cancelled;
    s_strPath = *chosen;
    return BrowseResult::chosen;
}
