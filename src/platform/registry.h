#pragma once

#include "wine_prefix.h"

class QIODevice;

#include <optional>
#include <string>

// Reads values under HKEY_CLASSES_ROOT from the prefix's registry files:
// user.reg (HKCU\Software\Classes) first, then system.reg
// (HKLM\Software\Classes), as Windows merges the two.
namespace Registry {

// The default value of `key` (backslash-separated, any case) as UTF-8, or
// nothing when it is unreadable: missing, not text, or 1,024 bytes or more
// with its terminator.
std::optional<std::string> QueryClassesRootDefault(const std::string& key,
                                                   const WinePrefix& prefix = WinePrefix::current());

// The default value in one open registry file, under the section whose
// name is `section` (unescaped, any case). The file is read in blocks up
// to that section: a real system.reg holds megabytes of other keys.
std::optional<std::string> DefaultValueInFile(QIODevice& file, const std::string& section);

} // namespace Registry
