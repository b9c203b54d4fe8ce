#pragma once

#include "platform/win_app.h"

#include <string>

// The application: runs the main dialog and ends when it closes.
class CQuillopApp : public WinApp {
public:
    bool InitInstance() override;

    // The Vorns folder named on the command line, used instead of the
    // search; without Vorns.ctl in it the program ends with exit code 3
    // before any window.
    std::string m_givenFolder;
};

extern CQuillopApp theApp;
