// The floor for start-up: a bare Qt dialog of the main window's size and
// controls, ended as soon as it is shown.
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QDialog dialog;
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
