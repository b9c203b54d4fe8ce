#include "app/quillop_app.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    return AfxWinMain(theApp);
}
