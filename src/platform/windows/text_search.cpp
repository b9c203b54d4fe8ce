#include "platform/text_search.h"

#include <algorithm>
#include <functional>

// The C library here has no memmem: a Boyer-Moore-Horspool search.
std::size_t FindText(std::string_view text, std::string_view pattern, std::size_t from)
{
    if (from > text.size())
        return std::string_view::npos;
    const auto start = text.begin() + std::ptrdiff_t(from);
    const auto found
        = std::search(start, text.end(), std::boyer_moore_horspool_searcher(pattern.begin(), pattern.end()));
    if (found == text.end() && !pattern.empty())
        return std::string_view::npos;
    return std::size_t(found - text.begin());
}
