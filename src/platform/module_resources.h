#pragma once

#include <QByteArray>
#include <QString>

#include <optional>
#include <string>

// Named data resources of the running program: resource NAME of type TYPE
// is the file TYPE/NAME under the resource root, by default the program's
// compiled-in resources (":/").
namespace ModuleResources {

struct Handle {
    QString path;
    qint64 size = 0;
};

// Points lookups at another root, the way a program switches its resource
// module; an empty root restores the compiled-in one.
void setRoot(const QString& root);

std::optional<Handle> find(const std::string& name, const std::string& type);
// The resource's bytes, or nothing when it cannot be loaded. Compiled-in
// resources are not copied.
std::optional<QByteArray> load(const Handle& handle);

} // namespace ModuleResources
