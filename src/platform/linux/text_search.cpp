#include "platform/text_search.h"

#include <cstring>

// The C library's memmem.
std::size_t FindText(std::string_view text, std::string_view pattern, std::size_t from)
{
    if (from > text.size())
        return std::string_view::npos;
    const void* found = ::memmem(text.data() + from, text.size() - from, pattern.data(), pattern.size());
    return found ? std::size_t(static_cast<const char*>(found) - text.data()) : std::string_view::npos;
}
