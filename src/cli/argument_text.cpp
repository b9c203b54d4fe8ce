#include "cli/argument_text.h"

#include "platform/linux/utf8.h"

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

QStringList argumentsKeepingBytes(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        const std::string_view bytes(argv[i]);
        std::u16string units;
        for (std::size_t at = 0; at < bytes.size();) {
            const CharCase::Decoded decoded = CharCase::decodeAt(bytes, at);
            if (decoded.length == 0) {
                units += char16_t(0xDC00 + static_cast<unsigned char>(bytes[at++]));
                continue;
            }
            if (decoded.character < 0x10000) {
                units += char16_t(decoded.character);
            } else {
                units += char16_t(0xD800 + ((decoded.character - 0x10000) >> 10));
                units += char16_t(0xDC00 + ((decoded.character - 0x10000) & 0x3FF));
            }
            at += decoded.length;
        }
        arguments.append(QString::fromStdU16String(units));
    }
    return arguments;
}

std::string fromQt(const QString& text)
{
    std::string bytes;
    const std::u16string units = text.toStdU16String();
    for (std::size_t i = 0; i < units.size(); ++i) {
        const char16_t unit = units[i];
        if (unit >= 0xD800 && unit < 0xDC00 && i + 1 < units.size() && units[i + 1] >= 0xDC00
            && units[i + 1] < 0xE000) {
            CharCase::appendUtf8(bytes, 0x10000 + ((char32_t(unit) - 0xD800) << 10) + (units[++i] - 0xDC00));
        } else if (unit >= 0xDC80 && unit < 0xDD00) {
            bytes += char(unit - 0xDC00);
        } else {
            CharCase::appendUtf8(bytes, unit);
        }
    }
    return bytes;
}

QString toQt(const std::string& text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

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
