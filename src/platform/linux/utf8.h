#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// UTF-8 and UTF-16 units, as the Linux backend's text is UTF-8 and Wine's
// names and registry are UTF-16.
namespace CharCase {

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
