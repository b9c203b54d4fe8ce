#include "platform/win_app.h"

#include "platform/linux/dialogs/key_guard.h"

#include <QApplication>

int AfxWinMain(WinApp& app)
{
    // The program lives as long as its main dialog's modal loop. A chooser
    // may open and close before that dialog is first shown, when no window
    // of ours is visible; closing it must not end the program.
    QApplication::setQuitOnLastWindowClosed(false);
    KeyGuard keyGuard;
    qApp->installEventFilter(&keyGuard);
    qApp->installNativeEventFilter(&keyGuard);
    if (!app.InitInstance())
        return app.m_exitCode;
    return QApplication::exec();
}
