#pragma once

#include <cstddef>
#include <string>

// The Windows path of `name` in `folder`, joined as the program has always
// joined them: the folder as given, one backslash, the name. No separator
// is trimmed or merged ("C:\Vorns\" gives "C:\Vorns\\Vorns.ctl", which
// Windows reads as one separator).
inline std::string PathInFolder(const std::string& folder, const std::string& name)
{
    return folder + "\\" + name;
}

// How long Windows counts `path` (the program's text): in UTF-16 units, the
// unit MAX_PATH counts, whatever bytes a character takes here.
std::size_t WindowsPathLength(const std::string& path);
