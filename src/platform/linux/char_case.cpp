#include "platform/char_case.h"
#include "platform/linux/utf8.h"

#include <QChar>

namespace CharCase {

Decoded decodeAt(std::string_view text, std::size_t at)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    if (lead < 0x80)
        return {lead, 1};
    std::size_t length = 0;
    char32_t character = 0;
    char32_t smallest = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2, character = lead & 0x1F, smallest = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, character = lead & 0x0F, smallest = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, character = lead & 0x07, smallest = 0x10000;
    } else {
        return {};
    }
    if (at + length > text.size())
        return {};
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80)
            return {};
        character = (character << 6) | (byte(at + i) & 0x3F);
    }
    if (character < smallest || character > 0x10FFFF || (character >= 0xD800 && character < 0xE000))
        return {};
    return {character, length};
}

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

void appendUtf8(std::string& text, char32_t character)
{
    if (character < 0x80) {
        text += char(character);
    } else if (character < 0x800) {
        text += char(0xC0 | (character >> 6));
        text += char(0x80 | (character & 0x3F));
    } else if (character < 0x10000) {
        text += char(0xE0 | (character >> 12));
        text += char(0x80 | ((character >> 6) & 0x3F));
        text += char(0x80 | (character & 0x3F));
    } else {
        text += char(0xF0 | (character >> 18));
        text += char(0x80 | ((character >> 12) & 0x3F));
        text += char(0x80 | ((character >> 6) & 0x3F));
        text += char(0x80 | (character & 0x3F));
    }
}

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
