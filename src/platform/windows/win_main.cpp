// The program's entry on Windows: the platform's start-up runs the
// application object the program made.
#include "platform/win_app.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    return AfxWinMain(*AfxGetApp());
}
