#include "app/quillop_app.h"

#include "app/quillop_dlg.h"

CQuillopApp theApp;

bool CQuillopApp::InitInstance()
{
    CQuillopDlg dialog;
    m_pMainWnd = &dialog;
    Dialog::setMainWindow(&dialog);
    dialog.DoModal();
    Dialog::setMainWindow(nullptr);
    m_pMainWnd = nullptr;
    // The dialog was the whole program: no event loop follows.
    return false;
}
