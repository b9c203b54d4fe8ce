#include "platform/win_app.h"

namespace {
WinApp* theApplication = nullptr;
} // namespace

WinApp::WinApp()
{
    theApplication = this;
}

WinApp* AfxGetApp()
{
    return theApplication;
}
