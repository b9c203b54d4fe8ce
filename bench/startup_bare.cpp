// The floor for start-up: what any program showing this window must do.
// It reads the registration from the prefix's 2 MB system.reg with one
// plain search, sets the dialog's font and measures it once, as any dialog
// laying out its text does, and shows a bare Qt dialog of the main window's
// size and controls, ended as soon as it is shown.
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QFontMetrics>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QFile registry(qEnvironmentVariable("WINEPREFIX") + QStringLiteral("/system.reg"));
    if (!registry.open(QIODevice::ReadOnly)
        || registry.readAll().indexOf("[Software\\\\Classes\\\\CRV5.Image\\\\shell\\\\open\\\\command]") < 0)
        return 2;
    QDialog dialog;
    QFont font = QApplication::font();
    font.setPointSize(8);
    dialog.setFont(font);
    if (QFontMetrics(font).horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"))
        <= 0)
        return 2;
    dialog.setFixedSize(361, 271);
    auto* status = new QLabel(QStringLiteral("Status"), &dialog);
    status->setGeometry(12, 11, 336, 184);
    status->setWordWrap(true);
    auto* progress = new QProgressBar(&dialog);
    progress->setGeometry(12, 205, 336, 18);
    progress->hide();
    const char* labels[] = {"&Install Vorn Files", "&Browse...", "E&xit"};
    for (int i = 0; i < 3; ++i)
        (new QPushButton(QString::fromLatin1(labels[i]), &dialog))->setGeometry(12 + i * 118, 234, 112, 26);
    QTimer::singleShot(0, &dialog, [&dialog] { dialog.done(1); });
    return dialog.exec() == 1 ? 0 : 1;
}
