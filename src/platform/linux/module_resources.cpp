#include "platform/module_resources.h"

#include <QFile>
#include <QFileInfo>
#include <QResource>
#include <QString>

namespace ModuleResources {
namespace {

QString& root()
{
    static QString path = QStringLiteral(":/");
    return path;
}

} // namespace

void setRoot(const std::string& newRoot)
{
    root() = newRoot.empty() ? QStringLiteral(":/") : QString::fromStdString(newRoot);
    if (!root().endsWith(QLatin1Char('/')))
        root() += QLatin1Char('/');
}

std::optional<Handle> find(const std::string& name, const std::string& type)
{
    const QString path = root() + QString::fromStdString(type) + QLatin1Char('/') + QString::fromStdString(name);
    const QFileInfo info(path);
    if (!info.exists())
        return std::nullopt;
    return Handle{path.toStdString(), std::uint64_t(info.size())};
}

std::optional<std::string> load(const Handle& handle)
{
    const QString path = QString::fromStdString(handle.location);
    const QResource resource(path);
    if (resource.isValid() && resource.compressionAlgorithm() == QResource::NoCompression && resource.data())
        return std::string(reinterpret_cast<const char*>(resource.data()), std::size_t(resource.size()));
    QFile file(path);
    if (QFileInfo(path).isDir() || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes.toStdString();
}

} // namespace ModuleResources
