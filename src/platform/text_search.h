#pragma once

#include <cstring>
#include <string_view>

// A plain, case-sensitive substring search, done by the C library's memmem,
// which is many times faster than a byte-by-byte scan on long texts such
// as a control file that lists thousands of Vorns.
inline std::size_t FindText(std::string_view text, std::string_view pattern, std::size_t from = 0)
{
    if (from > text.size())
        return std::string_view::npos;
    const void* found = ::memmem(text.data() + from, text.size() - from, pattern.data(), pattern.size());
    return found ? std::size_t(static_cast<const char*>(found) - text.data()) : std::string_view::npos;
}
