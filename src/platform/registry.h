#pragma once

#include "platform/wine_prefix.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Reads values under HKEY_CLASSES_ROOT from the prefix's registry files:
// user.reg (HKCU\Software\Classes) first, then system.reg
// (HKLM\Software\Classes), as Windows merges the two.
namespace Registry {

// The default value of `key` (backslash-separated, any case) as UTF-8, up
// to a zero character if it holds one, or nothing when it is unreadable:
// missing, not text, a lone surrogate escape, or 1,024 bytes or more
// without its terminator. A registry file that is there but cannot be
// read (not a plain file, too large, no permission) is passed over, and its
// path and the cause are added to `problems`.
std::optional<std::string> QueryClassesRootDefault(const std::string& key,
                                                   std::vector<std::string>* problems = nullptr);
// The same in another prefix than the process's own.
std::optional<std::string> QueryClassesRootDefault(const std::string& key, const WinePrefix& prefix,
                                                   std::vector<std::string>* problems = nullptr);

// The default value in a registry file's text, under the section whose
// name is `section` (unescaped, any case), as Wine's loader reads the file:
// a section listed twice is merged, blanks may stand before "[", "@" and
// around "=". Only the section's headers are searched for: a real
// system.reg holds megabytes of other keys.
std::optional<std::string> DefaultValueInText(std::string_view text, const std::string& section);

} // namespace Registry
