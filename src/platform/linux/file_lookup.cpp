#include "platform/file_lookup.h"

#include "platform/linux/dos_path.h"
#include "platform/linux/linux_directory.h"

namespace {

bool hasWildcard(const std::string& name)
{
    return name.find_first_of("*?") != std::string::npos;
}

} // namespace

bool FileExists(const std::string& windowsPath)
{
    const DosPath path = DosPath::resolve(windowsPath);
    if (!path.valid || path.endsWithSeparator || path.finalComponent.empty())
        return false;
    if (path.exists)
        return true;
    return hasWildcard(path.finalComponent) && path.parentExists
        && LinuxDirectory(path.parentHostPath).anyMatches(path.finalComponent, !path.parentIsRoot);
}

std::optional<std::string> LookupStoredName(const std::string& windowsPath)
{
    const DosPath path = DosPath::resolve(windowsPath, WinePrefix::current(), DosPath::Syntax::literal);
    if (!path.valid || path.endsWithSeparator || !path.exists || path.finalComponent.empty())
        return std::nullopt;
    return path.storedName;
}
