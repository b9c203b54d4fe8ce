#pragma once

#include <string>
#include <string_view>

// Letter case of UTF-8 text as Wine sees it: each character of the Basic
// Multilingual Plane maps by Unicode simple case mapping (one character to
// one character, never "ß" to "SS") where that mapping goes both ways, as in
// Windows' case tables; characters outside the plane have no case, as Wine
// maps UTF-16 units one at a time. Bytes that are not valid UTF-8 stay
// as they are, and no character is ever split.
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

// The character that starts at text[at] and its length in bytes, or a
// length of 0 when the bytes there are not valid UTF-8 (overlong forms and
// surrogates are not).
struct Decoded {
    char32_t character = 0;
    std::size_t length = 0;
};
Decoded decodeAt(std::string_view text, std::size_t at);

// Appends one character, encoded in UTF-8.
void appendUtf8(std::string& text, char32_t character);

// Upper case of one UTF-16 unit, as Wine's towupper gives it.
char16_t upperUnit(char16_t unit);
char16_t lowerUnit(char16_t unit);

} // namespace CharCase
