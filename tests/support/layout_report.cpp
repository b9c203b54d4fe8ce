#include "support/layout_report.h"

#include "app/about_dlg.h"
#include "app/quillop_dlg.h"
#include "install/dup_file_name_dlg.h"
#include "install/dup_vorn_name_dlg.h"
#include "platform/linux/dialogs/dialog_window.h"
#include "res/dialog_templates.h"
#include "support/throwaway_prefix.h"

#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QProcess>
#include <QPushButton>

#include <cstdio>
#include <memory>

namespace {
const char* const kReportVariable = "QUILLOP_LAYOUT_REPORT";

// Clipped when a button's text or a label's wrapped text needs more room
// than the control has.
bool isClipped(const QWidget* control)
{
    if (const auto* button = qobject_cast<const QPushButton*>(control))
        return button->sizeHint().width() > button->width() + 8;
    if (const auto* label = qobject_cast<const QLabel*>(control)) {
        if (label->text().isEmpty())
            return false;
        return (label->wordWrap() ? label->heightForWidth(label->width()) : label->sizeHint().height())
            > label->height();
    }
    return false;
}

void report(Dialog& dialogObject, const DialogTemplate& dialogTemplate, const QString& scale)
{
    QDialog& dialog = *windowOf(dialogObject);
    std::printf("dialog %d %d %d\n", dialogTemplate.id, dialog.width(), dialog.height());
    int index = 0;
    for (const QWidget* control : dialog.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (control->isWindow())
            continue;
        const QRect r = control->geometry();
        std::printf("control %d %d %d %d %d %d\n", index++, r.x(), r.y(), r.width(), r.height(),
                    int(isClipped(control)));
    }
    QDir().mkpath(QStringLiteral(QUILLOP_SCREENSHOT_DIR));
    dialog.grab().save(
        QStringLiteral(QUILLOP_SCREENSHOT_DIR "/dialog-%1-scale-%2.png").arg(dialogTemplate.id).arg(scale));
}

} // namespace

std::string layoutInChild(const char* scaleFactor)
{
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(kReportVariable), QStringLiteral("1"));
    environment.insert(QStringLiteral("QT_SCALE_FACTOR"), QString::fromLatin1(scaleFactor));
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(), {});
    child.waitForFinished(60000);
    return child.readAllStandardOutput().toStdString();
}

bool isLayoutReport()
{
    return !qEnvironmentVariableIsEmpty(kReportVariable);
}

int runLayoutReport()
{
    ThrowawayPrefix prefix;
    const QString scale = qEnvironmentVariable("QT_SCALE_FACTOR", QStringLiteral("1"));
    CQuillopDlg main;
    report(main, kMainDialogTemplate, scale);
    CAboutDlg about(&main);
    report(about, kAboutBoxTemplate, scale);
    CDupVornNameDlg vornName("Leaf", "", &main);
    report(vornName, kDupVornNameTemplate, scale);
    CDupFileNameDlg fileName("Leaf.vrn", "C:\\Vorns", &main);
    report(fileName, kDupFileNameTemplate, scale);
    return 0;
}
