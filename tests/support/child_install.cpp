#include "support/child_install.h"

#include "app/quillop_dlg.h"
#include "res/resource_ids.h"
#include "support/modal_script.h"

#include <QCoreApplication>
#include <QProcess>

#include <csignal>
#include <cstdio>
#include <sys/resource.h>

namespace {
const char* const kFolderVariable = "QUILLOP_CHILD_INSTALL_FOLDER";
}

ChildInstallResult installInChild(const std::string& prefix, const std::string& folder, long long fileSizeLimit)
{
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("WINEPREFIX"), QString::fromStdString(prefix));
    environment.insert(QString::fromLatin1(kFolderVariable), QString::fromStdString(folder));
    child.setProcessEnvironment(environment);
    child.setChildProcessModifier([fileSizeLimit] {
        // A write past the limit then fails with EFBIG instead of killing.
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{rlim_t(fileSizeLimit), rlim_t(fileSizeLimit)};
        setrlimit(RLIMIT_FSIZE, &limit);
    });
    child.start(QCoreApplication::applicationFilePath(), {});
    child.waitForFinished(60000);
    return {child.exitCode(), child.readAllStandardOutput().toStdString()};
}

bool isChildInstall()
{
    return !qEnvironmentVariableIsEmpty(kFolderVariable);
}

int runChildInstall()
{
    CQuillopDlg dialog;
    Dialog::setMainWindow(&dialog);
    std::string status;
    ModalScript script;
    script.then([&](QWidget* window) {
        dialog.m_strVornsFolder = qEnvironmentVariable(kFolderVariable).toStdString();
        clickItem(window, IDC_INSTALL);
        status = dialog.GetDlgItemText(IDC_STATUS);
        dialog.EndDialog(IDOK);
    });
    dialog.DoModal();
    std::fputs(status.c_str(), stdout);
    return 0;
}
