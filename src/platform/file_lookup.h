#pragma once

#include <optional>
#include <string>

// Whether any entry (file, folder or link) answers to a Windows path. '*'
// and '?' in the final component are wildcards. A path that ends in a
// separator is never found.
bool FileExists(const std::string& windowsPath);

// The stored long name of the entry a Windows path names, final component
// only, or nothing. '*' and '?' are literal here, a '/' is an ordinary
// character, and "." and ".." are not folded: such components are not found.
std::optional<std::string> LookupStoredName(const std::string& windowsPath);
