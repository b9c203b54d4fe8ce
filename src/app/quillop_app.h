#pragma once

#include "platform/win_app.h"

// The application: runs the main dialog and ends when it closes.
class CQuillopApp : public WinApp {
public:
    bool InitInstance() override;
};

extern CQuillopApp theApp;
