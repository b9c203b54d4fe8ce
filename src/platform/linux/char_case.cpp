#include "platform/char_case.h"
#include "platform/linux/utf8.h"

#include <QChar>

namespace CharCase {

namespace {

template <typename Map> std::string mapped(std::string_view text, std::size_t count, Map map)
{
    std::string out;
    out.reserve(text.size());
    std::size_t at = 0;
    for (std::size_t done = 0; at < text.size() && done < count; ++done) {
        const Decoded d = decodeAt(text, at);
        if (d.length == 0) {
            out += text[at++];
            continue;
        }
        appendUtf8(out, d.character < 0x10000 ? map(char16_t(d.character)) : d.character);
        at += d.length;
    }
    out.append(text.substr(at));
    return out;
}

} // namespace

// Windows' case tables, which Wine uses, hold only the mappings that go
// both ways: the Kelvin sign, final sigma and dotless i keep their case,
// since their upper or lower case maps back to another character.
char16_t upperUnit(char16_t unit)
{
    if (unit < 0x80)
        return char16_t(toUpper(char(unit)));
    const char32_t upper = QChar::toUpper(char32_t(unit));
    return upper < 0x10000 && QChar::toLower(upper) == unit ? char16_t(upper) : unit;
}

char16_t lowerUnit(char16_t unit)
{
    if (unit < 0x80)
        return char16_t(toLower(char(unit)));
    const char32_t lower = QChar::toLower(char32_t(unit));
    return lower < 0x10000 && QChar::toUpper(lower) == unit ? char16_t(lower) : unit;
}

std::string upper(std::string_view text)
{
    return mapped(text, text.size(), upperUnit);
}

std::string lower(std::string_view text)
{
    return mapped(text, text.size(), lowerUnit);
}

std::string upperFirst(std::string_view text)
{
    return mapped(text, 1, upperUnit);
}

bool equalIgnoringCase(std::string_view a, std::string_view b)
{
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        const Decoded x = decodeAt(a, i);
        const Decoded y = decodeAt(b, j);
        if (x.length == 0 || y.length == 0) {
            // Invalid bytes match only themselves.
            if (x.length != y.length || a[i] != b[j])
                return false;
            ++i, ++j;
            continue;
        }
        const auto fold = [](char32_t c) { return c < 0x10000 ? char32_t(upperUnit(char16_t(c))) : c; };
        if (fold(x.character) != fold(y.character))
            return false;
        i += x.length;
        j += y.length;
    }
    return i == a.size() && j == b.size();
}

} // namespace CharCase
