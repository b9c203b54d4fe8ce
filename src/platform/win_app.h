#pragma once

class QWidget;

// The application object: InitInstance sets the program up and answers
// whether an event loop should follow.
class WinApp {
public:
    virtual ~WinApp() = default;
    virtual bool InitInstance() = 0;

    QWidget* m_pMainWnd = nullptr;
    // The process's exit code when InitInstance ends the program.
    int m_exitCode = 0;
};

// Runs the application inside an existing QApplication; answers the exit code.
int AfxWinMain(WinApp& app);
