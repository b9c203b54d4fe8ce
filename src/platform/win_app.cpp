#include "win_app.h"

#include <QApplication>

int AfxWinMain(WinApp& app)
{
    if (!app.InitInstance())
        return 0;
    return QApplication::exec();
}
