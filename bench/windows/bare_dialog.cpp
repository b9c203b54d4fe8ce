// The floor for quillop.exe's start-up: what any program showing this window
// must do. It reads the host's registration, registers the common
// controls and shows one dialog from its template, with its status text
// set, until it is closed.
#include <windows.h>

#include <commctrl.h>

namespace {

INT_PTR CALLBACK bareDialog(HWND window, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_INITDIALOG) {
        char command[1024] = {};
        LONG size = sizeof command;
        RegQueryValueA(HKEY_CLASSES_ROOT, "CRV5.Image\\shell\\open\\command", command, &size);
        SetDlgItemTextA(window, 1000, command);
        return TRUE;
    }
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        EndDialog(window, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    DialogBoxParamA(instance, MAKEINTRESOURCEA(1), nullptr, bareDialog, 0);
    return 0;
}
