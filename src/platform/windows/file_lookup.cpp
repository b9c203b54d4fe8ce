#include "platform/file_lookup.h"

#include <windows.h>

#include <algorithm>

namespace {

bool endsWithSeparator(const std::string& path)
{
    return path.empty() || path.back() == '\\' || path.back() == '/';
}

// The first entry the directory search finds for `pattern`, or nothing.
std::optional<std::string> firstFound(const std::string& pattern)
{
    WIN32_FIND_DATAA found;
    const HANDLE search = FindFirstFileA(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return std::nullopt;
    FindClose(search);
    return std::string(found.cFileName);
}

} // namespace

bool FileExists(const std::string& windowsPath)
{
    return !endsWithSeparator(windowsPath) && firstFound(windowsPath).has_value();
}

std::optional<std::string> LookupStoredName(const std::string& windowsPath)
{
    // The search would take '/' for a separator and fold "." and "..", and
    // answer for an entry the path's components do not name; '*' and '?'
    // are no characters of a name: a pattern names no one entry.
    if (endsWithSeparator(windowsPath) || windowsPath.find_first_of("/*?") != std::string::npos)
        return std::nullopt;
    for (std::size_t start = 0; start <= windowsPath.size();) {
        const std::size_t end = std::min(windowsPath.find('\\', start), windowsPath.size());
        const std::string component = windowsPath.substr(start, end - start);
        if (component == "." || component == "..")
            return std::nullopt;
        start = end + 1;
    }
    return firstFound(windowsPath);
}
