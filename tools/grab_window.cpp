// Saves a picture of one X11 window, as the screen shows it.
//   grab_window <window id> <file.png>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

#include <cstdio>

int main(int argc, char* argv[])
{
    QGuiApplication application(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: grab_window <window id> <file.png>\n");
        return 2;
    }
    const WId window = WId(QByteArray(argv[1]).toULongLong(nullptr, 0));
    const QPixmap picture = QGuiApplication::primaryScreen()->grabWindow(window);
    if (picture.isNull() || !picture.save(QString::fromLocal8Bit(argv[2]))) {
        std::fprintf(stderr, "grab_window: cannot save window %s\n", argv[1]);
        return 1;
    }
    return 0;
}
