#pragma once

#include <optional>
#include <string>
#include <string_view>

// The ANSI code page Wine gives a Windows program, and UTF-8 text in it.
namespace AnsiCodePage {

constexpr unsigned kUtf8 = 65001;

// The code page of a program started with these locale variables (empty
// when unset), as Wine 8 derives it: from the LC_CTYPE locale the C library
// sets up from them ("C" when it has not got that locale), else from
// LC_ALL's name alone.
unsigned ofLocaleVariables(const std::string& lcAll, const std::string& lcCtype, const std::string& lang);
// This process's, from its environment, worked out once.
unsigned current();

// `text` (UTF-8) in `codePage`, or nothing when a character has no bytes of
// its own there.
std::optional<std::string> encode(std::string_view text, unsigned codePage);
// The first character of `text` with no bytes of its own in `codePage`, in
// UTF-8; empty when it has none.
std::string firstUnstorable(std::string_view text, unsigned codePage);

} // namespace AnsiCodePage
