#pragma once

#include "platform/linux/wine_prefix.h"
#include "platform/registry.h"

#include <string_view>

// HKEY_CLASSES_ROOT from a Wine prefix's registry files: user.reg
// (HKCU\Software\Classes) first, then system.reg (HKLM\Software\Classes),
// as Windows merges the two. Text is UTF-8, a lone surrogate escape is
// unreadable, and a file that is there but cannot be read (not a plain
// file, too large, no permission) is named with its cause in `problems`.
namespace Registry {

// The same as QueryClassesRootDefault(key) in another prefix than the
// process's own.
std::optional<std::string> QueryClassesRootDefault(const std::string& key, const WinePrefix& prefix,
                                                   std::vector<std::string>* problems = nullptr);

// The default value in a registry file's text, under the section whose
// name is `section` (unescaped, any case), as Wine's loader reads the file:
// a section listed twice is merged, blanks may stand before "[", "@" and
// around "=". Only the section's headers are searched for: a real
// system.reg holds megabytes of other keys.
std::optional<std::string> DefaultValueInText(std::string_view text, const std::string& section);

} // namespace Registry
