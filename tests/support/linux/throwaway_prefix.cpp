#include "support/throwaway_prefix.h"

#include "platform/linux/short_name.h"
#include "platform/linux/wine_prefix.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <sys/mount.h>
#include <unistd.h>

ThrowawayPrefix::ThrowawayPrefix(bool withDosDevices)
    : m_previous(WinePrefix::current().root())
{
    char folder[] = "/tmp/quillop-prefix-XXXXXX";
    m_root = ::mkdtemp(folder);
    const QString root = QString::fromStdString(m_root);
    QDir(root).mkpath(QStringLiteral("drive_c"));
    if (withDosDevices) {
        QDir(root).mkpath(QStringLiteral("dosdevices"));
        QDir(root).mkpath(QStringLiteral("host_root"));
        QFile::link(QStringLiteral("../drive_c"), root + QStringLiteral("/dosdevices/c:"));
        QFile::link(root + QStringLiteral("/host_root"), root + QStringLiteral("/dosdevices/z:"));
    }
    WinePrefix::use(root.toStdString());
}

ThrowawayPrefix::~ThrowawayPrefix()
{
    for (const std::string& mount : m_mounts)
        ::umount2(mount.c_str(), MNT_DETACH);
    WinePrefix::use(m_previous);
    std::filesystem::remove_all(m_root);
}

std::optional<std::string> ThrowawayPrefix::mountFullDisk(const std::string& relative,
                                                          const std::map<std::string, std::string>& files,
                                                          int pagesFree)
{
    const std::string folder = onDriveC(relative);
    makeFolder(relative);
    if (::mount("tmpfs", folder.c_str(), "tmpfs", 0, "size=256k") != 0)
        return std::nullopt;
    m_mounts.push_back(folder);
    for (const auto& [name, bytes] : files)
        writeDiskFile(folder + "/" + name, bytes);
    const std::string filler = folder + "/filler";
    const int fd = ::open(filler.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    const std::string page(4096, 'f');
    off_t size = 0;
    while (::write(fd, page.data(), page.size()) == ssize_t(page.size()))
        size += off_t(page.size());
    const bool truncated = ::ftruncate(fd, size - off_t(pagesFree) * 4096) == 0;
    ::close(fd);
    if (!truncated)
        return std::nullopt;
    std::string windowsPath = "C:\\" + relative;
    std::replace(windowsPath.begin(), windowsPath.end(), '/', '\\');
    return windowsPath;
}

std::string ThrowawayPrefix::diskPathOf(const std::string& windowsPath) const
{
    // The tests' paths are on drive C.
    EXPECT_EQ(windowsPath.compare(0, 3, "C:\\"), 0) << windowsPath;
    std::string relative = windowsPath.substr(3);
    std::replace(relative.begin(), relative.end(), '\\', '/');
    return onDriveC(relative);
}

std::string ThrowawayPrefix::shortAlias(const std::string& relative) const
{
    return ShortName::wineAlias(relative.substr(relative.find_last_of('/') + 1));
}

std::string ThrowawayPrefix::root() const
{
    return m_root;
}

std::string ThrowawayPrefix::onDriveC(const std::string& relative) const
{
    return root() + "/drive_c/" + relative;
}

void ThrowawayPrefix::makeFolder(const std::string& relative) const
{
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(onDriveC(relative))));
}

bool ThrowawayPrefix::exists(const std::string& relative) const
{
    return QFileInfo::exists(QString::fromStdString(onDriveC(relative)));
}

void ThrowawayPrefix::writeRegistry(const std::string& file, const std::string& sections) const
{
    writeDiskFile(root() + "/" + file,
                  "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n#arch=win32\n\n" + sections);
}

void ThrowawayPrefix::registerHost(const std::string& command) const
{
    std::string escaped;
    for (char c : command) {
        if (c == '\\' || c == '"')
            escaped += '\\';
        escaped += c;
    }
    writeRegistry("system.reg",
                  "[Software\\\\Classes\\\\CRV5.Image\\\\shell\\\\open\\\\command] 1700000000\n"
                  "#time=1d9a1b2c3d4e5f6\n@=\""
                      + escaped + "\"\n\n");
}

std::string readDiskFile(const std::string& hostPath)
{
    QFile file(QString::fromStdString(hostPath));
    if (!file.open(QIODevice::ReadOnly))
        return "<missing>";
    return file.readAll().toStdString();
}

void writeDiskFile(const std::string& hostPath, const std::string& bytes)
{
    const QString path = QString::fromStdString(hostPath);
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << hostPath;
    ASSERT_EQ(file.write(bytes.data(), qint64(bytes.size())), qint64(bytes.size()));
}

std::vector<std::string> entriesOfDiskFolder(const std::string& hostPath)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(hostPath))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

const bool kFullDiskSetsRoomAside = true;
const char* const kDiskFullText = "No space left on device";
const char* const kSmallEAcute = "\xc3\xa9";
const char* const kCapitalEAcute = "\xc3\x89";
