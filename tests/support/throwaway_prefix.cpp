#include "throwaway_prefix.h"

#include "wine_prefix.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

ThrowawayPrefix::ThrowawayPrefix(bool withDosDevices)
    : m_previous(WinePrefix::current().root())
{
    const QString root = m_dir.path();
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
    WinePrefix::use(m_previous);
}

std::string ThrowawayPrefix::root() const
{
    return m_dir.path().toStdString();
}

std::string ThrowawayPrefix::onDriveC(const std::string& relative) const
{
    return root() + "/drive_c/" + relative;
}

void ThrowawayPrefix::makeFolder(const std::string& relative) const
{
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(onDriveC(relative))));
}

void ThrowawayPrefix::writeFile(const std::string& relative, const std::string& bytes) const
{
    writeHostFile(onDriveC(relative), bytes);
}

std::string ThrowawayPrefix::readFile(const std::string& relative) const
{
    return readHostFile(onDriveC(relative));
}

bool ThrowawayPrefix::exists(const std::string& relative) const
{
    return QFileInfo::exists(QString::fromStdString(onDriveC(relative)));
}

std::string readHostFile(const std::string& hostPath)
{
    QFile file(QString::fromStdString(hostPath));
    if (!file.open(QIODevice::ReadOnly))
        return "<missing>";
    return file.readAll().toStdString();
}

void writeHostFile(const std::string& hostPath, const std::string& bytes)
{
    const QString path = QString::fromStdString(hostPath);
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << hostPath;
    ASSERT_EQ(file.write(bytes.data(), qint64(bytes.size())), qint64(bytes.size()));
}
