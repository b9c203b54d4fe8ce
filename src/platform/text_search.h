#pragma once

#include <algorithm>
#include <functional>
#include <string>
#include <string_view>

// A plain, case-sensitive substring search that skips ahead by the
// pattern's length where it can, for long texts searched many times.
class TextSearcher {
public:
    explicit TextSearcher(std::string pattern)
        : m_pattern(std::move(pattern))
        , m_searcher(m_pattern.begin(), m_pattern.end())
    {
    }
    TextSearcher(const TextSearcher&) = delete;
    TextSearcher& operator=(const TextSearcher&) = delete;

    // Where the pattern first occurs at or after `from`, or npos.
    std::size_t find(std::string_view text, std::size_t from = 0) const
    {
        if (from > text.size())
            return std::string_view::npos;
        const auto found = std::search(text.begin() + from, text.end(), m_searcher);
        return found == text.end() && !m_pattern.empty() ? std::string_view::npos
                                                         : std::size_t(found - text.begin());
    }

    std::size_t size() const { return m_pattern.size(); }

private:
    std::string m_pattern;
    std::boyer_moore_horspool_searcher<std::string::const_iterator> m_searcher;
};
