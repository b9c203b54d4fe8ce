#pragma once

class CWnd;

// The application object: InitInstance sets the program up and answers
// whether an event loop should follow. The program has one; it registers
// itself when made, so that the platform's start-up code finds it.
class WinApp {
public:
    WinApp();
    virtual ~WinApp() = default;
    virtual bool InitInstance() = 0;

    CWnd* m_pMainWnd = nullptr;
    // The process's exit code when InitInstance ends the program.
    int m_exitCode = 0;
};

// The program's application object.
WinApp* AfxGetApp();

// Runs the application (on Linux inside an existing QApplication); answers
// the exit code.
int AfxWinMain(WinApp& app);
