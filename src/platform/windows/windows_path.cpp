#include "platform/windows_path.h"

#include <windows.h>

std::size_t WindowsPathLength(const std::string& path)
{
    return std::size_t(MultiByteToWideChar(CP_ACP, 0, path.data(), int(path.size()), nullptr, 0));
}
