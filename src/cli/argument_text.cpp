#include "cli/argument_text.h"

#include "platform/utf8.h"

namespace {

// `text` between `quote`s, with C escapes for the quote, a backslash and
// control characters, and for bytes that are not UTF-8 when `bytesToo`.
std::string quotedWithEscapes(const std::string& text, char quote, bool bytesToo)
{
    static const char hex[] = "0123456789abcdef";
    std::string quoted(1, quote);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == static_cast<unsigned char>(quote) || c == '\\') {
            quoted += '\\';
            quoted += char(c);
        } else if (c == '\t' || c == '\n' || c == '\r') {
            quoted += c == '\t' ? "\\t" : c == '\n' ? "\\n" : "\\r";
        } else if (c < 0x20 || c == 0x7F) {
            quoted += std::string("\\x") + hex[c >> 4] + hex[c & 15];
        } else if (c >= 0x80 && bytesToo) {
            const std::size_t length = CharCase::decodeAt(text, i).length;
            if (length == 0) {
                quoted += std::string("\\x") + hex[c >> 4] + hex[c & 15];
            } else {
                quoted.append(text, i, length);
                i += length - 1;
            }
        } else {
            quoted += char(c);
        }
    }
    return quoted + quote;
}

} // namespace

std::string listingField(const std::string& text)
{
    bool plain = text.empty() || text.front() != '"';
    for (unsigned char c : text)
        plain = plain && c >= 0x20 && c != 0x7F;
    return plain ? text : quotedWithEscapes(text, '"', false);
}

std::string shortened(const std::string& value, const std::function<std::string(const std::string&)>& quote)
{
    constexpr std::size_t kLongest = 80;
    if (value.size() <= kLongest)
        return quote(value);
    std::size_t cut = kLongest;
    while (cut > 0 && (static_cast<unsigned char>(value[cut]) & 0xC0) == 0x80)
        --cut; // never inside a character
    return quote(value.substr(0, cut)) + "... (" + std::to_string(value.size()) + " bytes)";
}

std::string echoed(const std::string& value)
{
    return shortened(value, [](const std::string& part) { return quotedWithEscapes(part, '\'', true); });
}
