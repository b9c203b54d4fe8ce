#pragma once

#include <string>

// Case mapping of the single-byte texts the program handles: ASCII letters
// change case, every other byte (including UTF-8 sequences) stays as it is.
namespace CharCase {

inline char toUpper(char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; }
inline char toLower(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

inline void upperInPlace(char* text)
{
    for (; *text; ++text)
        *text = toUpper(*text);
}

inline void lowerInPlace(char* text)
{
    for (; *text; ++text)
        *text = toLower(*text);
}

inline std::string upper(std::string text)
{
    for (char& c : text)
        c = toUpper(c);
    return text;
}

inline bool equalIgnoringCase(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (toLower(a[i]) != toLower(b[i]))
            return false;
    return true;
}

} // namespace CharCase
