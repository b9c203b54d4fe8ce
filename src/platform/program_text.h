#pragma once

#include <optional>
#include <string>

// The program's texts (paths, names) are bytes in the code page its file
// and window functions take: the ANSI code page on Windows, UTF-8 on Linux.
// What it reads from or writes for the outside world (a command line, a
// report, a log) is UTF-8.

std::string ProgramTextToUtf8(const std::string& text);
// The UTF-8 text in the program's code page, or nothing when a character of
// it has no place there.
std::optional<std::string> ProgramTextFromUtf8(const std::string& utf8);
