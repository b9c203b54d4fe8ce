// The application's run on Windows: common controls registered, then the
// application object's InitInstance, which runs the main dialog.
#include "platform/win_app.h"

#include <windows.h>

#include <commctrl.h>

int AfxWinMain(WinApp& app)
{
    // The smooth progress bar is a common control.
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    // The shell's chooser is a COM object of the apartment's thread.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    // A dialog program has no message loop of its own after InitInstance.
    app.InitInstance();
    if (SUCCEEDED(com))
        CoUninitialize();
    return app.m_exitCode;
}
