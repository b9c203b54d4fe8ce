#include "registry.h"

#include "char_case.h"

#include <QFile>

#include <string_view>

namespace Registry {
namespace {

constexpr std::size_t kValueBuffer = 1024;

void appendUtf8(std::string& out, unsigned codePoint)
{
    if (codePoint < 0x80) {
        out += char(codePoint);
    } else if (codePoint < 0x800) {
        out += char(0xC0 | (codePoint >> 6));
        out += char(0x80 | (codePoint & 0x3F));
    } else {
        out += char(0xE0 | (codePoint >> 12));
        out += char(0x80 | ((codePoint >> 6) & 0x3F));
        out += char(0x80 | (codePoint & 0x3F));
    }
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    c = CharCase::toLower(c);
    return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

// Decodes a quoted string that starts just after its opening quote, with
// Wine's escapes. Nothing when the closing quote is missing.
std::optional<std::string> decodeString(std::string_view text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '"')
            return out;
        if (c != '\\') {
            out += c;
            continue;
        }
        if (++i == text.size())
            return std::nullopt;
        const char e = text[i];
        switch (e) {
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        case 't': out += '\t'; break;
        case 'a': out += '\a'; break;
        case 'b': out += '\b'; break;
        case 'e': out += '\x1b'; break;
        case 'f': out += '\f'; break;
        case 'v': out += '\v'; break;
        case 'x': {
            unsigned value = 0;
            int digits = 0;
            while (digits < 4 && i + 1 < text.size() && hexDigit(text[i + 1]) >= 0) {
                value = value * 16 + unsigned(hexDigit(text[++i]));
                ++digits;
            }
            if (digits == 0)
                out += 'x';
            else
                appendUtf8(out, value);
            break;
        }
        default:
            if (e >= '0' && e <= '7') {
                unsigned value = unsigned(e - '0');
                for (int digits = 1; digits < 3 && i + 1 < text.size() && text[i + 1] >= '0'
                     && text[i + 1] <= '7';
                     ++digits)
                    value = value * 8 + unsigned(text[++i] - '0');
                appendUtf8(out, value);
            } else {
                out += e;
            }
        }
    }
    return std::nullopt;
}

// Section names are written with each backslash doubled.
std::string escapedSectionName(const std::string& name)
{
    std::string escaped;
    for (char c : name) {
        if (c == '\\')
            escaped += '\\';
        escaped += c;
    }
    return escaped;
}

bool startsWithIgnoringCase(std::string_view text, std::string_view prefix)
{
    if (text.size() < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (CharCase::toLower(text[i]) != CharCase::toLower(prefix[i]))
            return false;
    return true;
}

constexpr qint64 kBlockSize = 64 * 1024;

// Reads the next block of the file onto the end of `buffer`; false at the end.
bool readBlock(QIODevice& file, std::string& buffer)
{
    const std::size_t used = buffer.size();
    buffer.resize(used + std::size_t(kBlockSize));
    const qint64 read = file.read(buffer.data() + used, kBlockSize);
    buffer.resize(used + std::size_t(read > 0 ? read : 0));
    return read > 0;
}

// The lines of section `[name]` (escaped, any case) up to the next section,
// found without parsing the sections before it.
std::optional<std::string> readSectionBody(QIODevice& file, const std::string& name)
{
    std::string buffer;
    std::size_t scanFrom = 0;
    bool more = readBlock(file, buffer);
    for (;;) {
        const std::size_t at = buffer.find('[', scanFrom);
        const bool undecided = at != std::string::npos && buffer.size() < at + name.size() + 2;
        if (at == std::string::npos || undecided) {
            if (!more)
                return std::nullopt;
            // Keep what is still undecided, and the line end before it.
            const std::size_t from = at == std::string::npos ? buffer.size() : at;
            const std::size_t keep = from == 0 ? 0 : from - 1;
            buffer.erase(0, keep);
            scanFrom = from - keep;
            more = readBlock(file, buffer);
            continue;
        }
        scanFrom = at + 1;
        if (at == 0 || buffer[at - 1] != '\n' || buffer[at + 1 + name.size()] != ']'
            || !startsWithIgnoringCase(std::string_view(buffer).substr(at + 1), name))
            continue;

        buffer.erase(0, at);
        std::size_t bodyStart;
        while ((bodyStart = buffer.find('\n')) == std::string::npos && more)
            more = readBlock(file, buffer);
        if (bodyStart == std::string::npos)
            return std::string();
        buffer.erase(0, bodyStart + 1);
        std::size_t end;
        while ((end = buffer.find("\n[")) == std::string::npos && more)
            more = readBlock(file, buffer);
        if (end != std::string::npos)
            buffer.resize(end + 1);
        return buffer;
    }
}

} // namespace

std::optional<std::string> DefaultValueInFile(QIODevice& file, const std::string& section)
{
    static const QByteArray kSignature("WINE REGISTRY Version 2");
    if (file.read(kSignature.size()) != kSignature)
        return std::nullopt;
    const auto body = readSectionBody(file, escapedSectionName(section));
    if (!body)
        return std::nullopt;
    const std::string_view text(*body);
    std::size_t line = 0;
    while (line < text.size()) {
        std::size_t end = text.find('\n', line);
        if (end == std::string_view::npos)
            end = text.size();
        const std::string_view entry = text.substr(line, end - line);
        if (entry.substr(0, 2) == "@=") {
            std::string_view value = entry.substr(2);
            for (std::string_view type : {"str:\"", "str(2):\"", "\""}) {
                if (value.substr(0, type.size()) == type) {
                    auto decoded = decodeString(value.substr(type.size()));
                    if (decoded && decoded->size() + 1 >= kValueBuffer)
                        return std::nullopt;
                    return decoded;
                }
            }
            return std::nullopt;
        }
        line = end + 1;
    }
    return std::nullopt;
}

std::optional<std::string> QueryClassesRootDefault(const std::string& key, const WinePrefix& prefix)
{
    const std::string section = "Software\\Classes\\" + key;
    for (const char* name : {"/user.reg", "/system.reg"}) {
        QFile file(QString::fromStdString(prefix.root() + name));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        if (auto value = DefaultValueInFile(file, section))
            return value;
    }
    return std::nullopt;
}

} // namespace Registry
