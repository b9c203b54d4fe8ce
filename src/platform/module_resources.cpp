#include "platform/module_resources.h"

#include <QFile>
#include <QFileInfo>
#include <QResource>

namespace ModuleResources {
namespace {

QString& root()
{
    static QString path = QStringLiteral(":/");
    return path;
}

} // namespace

void setRoot(const QString& newRoot)
{
    root() = newRoot.isEmpty() ? QStringLiteral(":/") : newRoot;
    if (!root().endsWith(QLatin1Char('/')))
        root() += QLatin1Char('/');
}

std::optional<Handle> find(const std::string& name, const std::string& type)
{
    const QString path = root() + QString::fromStdString(type) + QLatin1Char('/') + QString::fromStdString(name);
    const QFileInfo info(path);
    if (!info.exists())
        return std::nullopt;
    return Handle{path, info.size()};
}

std::optional<QByteArray> load(const Handle& handle)
{
    const QResource resource(handle.path);
    if (resource.isValid() && resource.compressionAlgorithm() == QResource::NoCompression && resource.data())
        return QByteArray::fromRawData(reinterpret_cast<const char*>(resource.data()), qsizetype(resource.size()));
    QFile file(handle.path);
    if (QFileInfo(handle.path).isDir() || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes;
}

} // namespace ModuleResources
