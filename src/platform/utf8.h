#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// UTF-8, one character at a time.
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

// Text as shown to a person: valid UTF-8 as it is, any other byte as \xHH.
std::string readable(const std::string& bytes);

} // namespace CharCase
