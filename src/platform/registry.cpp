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

// Where the body of section `[name]` starts, found without parsing the
// sections before it.
std::size_t findSectionBody(std::string_view text, const std::string& escapedName)
{
    for (std::size_t at = text.find("\n["); at != std::string_view::npos; at = text.find("\n[", at + 1)) {
        const std::string_view header = text.substr(at + 2);
        if (startsWithIgnoringCase(header, escapedName) && header.size() > escapedName.size()
            && header[escapedName.size()] == ']') {
            const std::size_t lineEnd = text.find('\n', at + 2);
            return lineEnd == std::string_view::npos ? text.size() : lineEnd + 1;
        }
    }
    return std::string_view::npos;
}

std::optional<std::string> readFile(const std::string& path)
{
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll().toStdString();
}

} // namespace

std::optional<std::string> DefaultValueInFile(const std::string& fileText, const std::string& section)
{
    const std::string_view text(fileText);
    if (text.substr(0, 23) != "WINE REGISTRY Version 2")
        return std::nullopt;
    std::size_t line = findSectionBody(text, escapedSectionName(section));
    while (line < text.size() && text[line] != '[') {
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
    for (const char* file : {"/user.reg", "/system.reg"}) {
        if (const auto text = readFile(prefix.root() + file)) {
            if (auto value = DefaultValueInFile(*text, section))
                return value;
        }
    }
    return std::nullopt;
}

} // namespace Registry
