// UTF-8 read and written character by character, the same on every platform.
#include "platform/utf8.h"

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

std::string readable(const std::string& bytes)
{
    std::string shown;
    for (std::size_t i = 0; i < bytes.size();) {
        if (const std::size_t length = decodeAt(bytes, i).length) {
            shown.append(bytes, i, length);
            i += length;
        } else {
            static const char hex[] = "0123456789abcdef";
            const auto byte = static_cast<unsigned char>(bytes[i++]);
            shown += std::string("\\x") + hex[byte >> 4] + hex[byte & 15];
        }
    }
    return shown;
}

} // namespace CharCase
