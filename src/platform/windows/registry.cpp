#include "platform/registry.h"

#include <windows.h>

namespace Registry {

std::optional<std::string> QueryClassesRootDefault(const std::string& key, std::vector<std::string>* problems)
{
    char value[1024];
    LONG size = sizeof value;
    const LONG result = RegQueryValueA(HKEY_CLASSES_ROOT, key.c_str(), value, &size);
    if (result == ERROR_SUCCESS && size > 0)
        return std::string(value, std::size_t(size - 1)).c_str(); // up to a zero character
    if (problems && result != ERROR_SUCCESS && result != ERROR_FILE_NOT_FOUND && result != ERROR_MORE_DATA) {
        char text[256];
        const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                            DWORD(result), 0, text, sizeof text, nullptr);
        problems->push_back("HKEY_CLASSES_ROOT\\" + key + ": " + std::string(text, length));
    }
    return std::nullopt;
}

} // namespace Registry
