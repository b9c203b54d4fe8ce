#include "platform/windows_path.h"

#include "platform/linux/utf8.h"

#include <algorithm>

std::size_t WindowsPathLength(const std::string& path)
{
    // UTF-8 as Wine reads it: a character beyond the Basic Multilingual
    // Plane takes two units, a byte that is no UTF-8 one.
    std::size_t units = 0;
    for (std::size_t at = 0; at < path.size();) {
        const CharCase::Decoded decoded = CharCase::decodeAt(path, at);
        units += decoded.length && decoded.character >= 0x10000 ? 2 : 1;
        at += std::max<std::size_t>(decoded.length, 1);
    }
    return units;
}
