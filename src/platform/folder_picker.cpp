#include "platform/folder_picker.h"

#include "platform/char_case.h"
#include "platform/dos_path.h"

#include <QFileDialog>
#include <QFileInfo>

namespace FolderPicker {

std::optional<std::string> windowsPathOf(const std::string& hostFolder)
{
    const std::string chosen = QFileInfo(QString::fromStdString(hostFolder)).canonicalFilePath().toStdString();
    if (chosen.empty())
        return std::nullopt;
    const std::vector<WinePrefix::Drive> drives = WinePrefix::current().drives();
    const WinePrefix::Drive* best = nullptr;
    for (const WinePrefix::Drive& drive : drives) {
        const std::string& target = drive.target;
        const bool covers = target == "/"
            || (chosen.compare(0, target.size(), target) == 0
                && (chosen.size() == target.size() || chosen[target.size()] == '/'));
        if (covers && (!best || target.size() > best->target.size()))
            best = &drive;
    }
    if (!best)
        return std::nullopt;
    std::string rest = best->target == "/" ? chosen.substr(1) : chosen.substr(best->target.size());
    if (!rest.empty() && rest.front() == '/')
        rest.erase(0, 1);
    for (char& c : rest)
        if (c == '/')
            c = '\\';
    return std::string(1, CharCase::toUpper(best->letter)) + ":\\" + rest;
}

std::optional<std::string> pick(QWidget* owner, const std::string& title, const std::string& startFolder)
{
    // A starting folder that does not exist opens the chooser at its
    // nearest existing parent.
    const DosPath start = DosPath::resolve(startFolder);
    QString startHost;
    if (start.valid) {
        QFileInfo folder(QString::fromStdString(start.hostPath));
        while (!folder.isDir() && folder.absolutePath() != folder.absoluteFilePath())
            folder.setFile(folder.absolutePath());
        startHost = folder.absoluteFilePath();
    }
    const QString chosen = QFileDialog::getExistingDirectory(owner, QString::fromUtf8(title.c_str()), startHost,
                                                             QFileDialog::ShowDirsOnly);
    if (chosen.isEmpty())
        return std::nullopt;
    return windowsPathOf(chosen.toStdString());
}

} // namespace FolderPicker
