#include "platform/wine_prefix.h"

#include "platform/char_case.h"

#include <QByteArray>
#include <QDir>
#include <QFileInfo>

namespace {

std::string prefixFromEnvironment()
{
    if (WinePrefix::givenByEnvironment())
        return qgetenv("WINEPREFIX").toStdString();
    return QDir::homePath().toStdString() + "/.wine";
}

WinePrefix& processPrefix()
{
    static WinePrefix prefix(prefixFromEnvironment());
    return prefix;
}

bool isDirectory(const std::string& path)
{
    return QFileInfo(QString::fromStdString(path)).isDir();
}

} // namespace

WinePrefix::WinePrefix(std::string root)
    : m_root(std::move(root))
{
    while (m_root.size() > 1 && m_root.back() == '/')
        m_root.pop_back();
}

const WinePrefix& WinePrefix::current()
{
    return processPrefix();
}

bool WinePrefix::givenByEnvironment()
{
    return qgetenv("WINEPREFIX").startsWith('/');
}

void WinePrefix::use(const std::string& root)
{
    processPrefix() = WinePrefix(root);
}

bool WinePrefix::hasDosDevices() const
{
    return isDirectory(m_root + "/dosdevices");
}

std::optional<std::string> WinePrefix::driveRoot(char letter) const
{
    letter = CharCase::toLower(letter);
    if (letter < 'a' || letter > 'z')
        return std::nullopt;
    if (hasDosDevices()) {
        std::string link = m_root + "/dosdevices/" + letter + ":";
        if (isDirectory(link))
            return link;
        return std::nullopt;
    }
    // A prefix without dosdevices gets Wine's two default drives.
    if (letter == 'c')
        return m_root + "/drive_c";
    if (letter == 'z')
        return std::string("/");
    return std::nullopt;
}

std::string WinePrefix::uncRoot() const
{
    return m_root + "/dosdevices/unc";
}

std::vector<WinePrefix::Drive> WinePrefix::drives() const
{
    std::vector<Drive> result;
    for (char letter = 'a'; letter <= 'z'; ++letter) {
        if (const auto root = driveRoot(letter)) {
            const QString target = QFileInfo(QString::fromStdString(*root)).canonicalFilePath();
            if (!target.isEmpty())
                result.push_back({letter, target.toStdString()});
        }
    }
    return result;
}
