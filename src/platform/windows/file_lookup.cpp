#include "platform/file_lookup.h"

#include <windows.h>

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
    // '*' and '?' are no characters of a name: a pattern names no one entry.
    const std::size_t last = windowsPath.find_last_of("\\/");
    const std::string final = windowsPath.substr(last == std::string::npos ? 0 : last + 1);
    if (endsWithSeparator(windowsPath) || final.find_first_of("*?") != std::string::npos || final == "."
        || final == "..")
        return std::nullopt;
    return firstFound(windowsPath);
}
