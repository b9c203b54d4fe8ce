#pragma once

#include <optional>
#include <string>
#include <vector>

// Reads values under HKEY_CLASSES_ROOT, as RegQueryValueA does.
namespace Registry {

// The default value of `key` (backslash-separated, any case) as the
// platform's text, up to a zero character if it holds one, or nothing when
// it is unreadable: missing, not text, or 1,024 bytes or more without its
// terminator. Where a registry store is there but cannot be read, its name
// and the cause are added to `problems`.
std::optional<std::string> QueryClassesRootDefault(const std::string& key,
                                                   std::vector<std::string>* problems = nullptr);

} // namespace Registry
