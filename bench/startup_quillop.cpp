// Quillop's own start-up, ended as soon as the main window is shown with
// its folder found.
#include "app/quillop_app.h"
#include "linux/prefixes/prefix_dialog.h"
#include "platform/dialog.h"

#include <QApplication>
#include <QTimer>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QTimer::singleShot(0, [] {
        if (Dialog* window = Dialog::mainWindow())
            window->EndDialog(1);
    });
    // As the program starts the window: the prefix first, then the dialog.
    if (!UseWinePrefix(""))
        return 1;
    return AfxWinMain(theApp);
}
