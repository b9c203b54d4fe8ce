#include "app/quillop_app.h"

#include "app/exit_code.h"
#include "app/quillop_dlg.h"
#include "host/vorns_folder.h"
#include "platform/string_resources.h"
#include "platform/text_format.h"
#include "res/resource_ids.h"

#include <iostream>

CQuillopApp theApp;

bool CQuillopApp::InitInstance()
{
    if (!m_givenFolder.empty() && !IsVornsFolder(m_givenFolder)) {
        std::cerr << FormatText(LoadString(IDS_NOT_FOUND), {m_givenFolder}) << "\n";
        m_exitCode = ExitStatus(ExitCode::noVornsFolder);
        return false;
    }
    CQuillopDlg dialog;
    dialog.m_strGivenFolder = m_givenFolder;
    m_pMainWnd = &dialog;
    Dialog::setMainWindow(&dialog);
    dialog.DoModal();
    Dialog::setMainWindow(nullptr);
    m_pMainWnd = nullptr;
    // The dialog was the whole program: no event loop follows.
    return false;
}
