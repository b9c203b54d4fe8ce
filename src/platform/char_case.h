#pragma once

#include <string>
#include <string_view>

// Letter case of the platform's text, as CharUpperA and CharLowerA give it:
// on Windows the ANSI code page's; on Linux UTF-8 as Wine sees it, each
// character of the Basic Multilingual Plane mapped by Unicode simple case
// mapping (one character to one character, never "ß" to "SS") where that
// mapping goes both ways, as in Windows' case tables, characters outside
// the plane without case, bytes that are not valid UTF-8 as they are, and
// no character ever split.
namespace CharCase {

// ASCII letters only: drive letters, hex digits, keywords.
inline char toUpper(char c)
{
    return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c;
}
inline char toLower(char c)
{
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

std::string upper(std::string_view text);
std::string lower(std::string_view text);
// The first character upper-cased, the rest unchanged.
std::string upperFirst(std::string_view text);

bool equalIgnoringCase(std::string_view a, std::string_view b);

} // namespace CharCase
