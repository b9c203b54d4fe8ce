#include "platform/registry.h"

#include "platform/char_case.h"

#include <QFile>

#include <string_view>

namespace Registry {
namespace {

// RegQueryValueA's buffer: the value and its terminator must fit.
constexpr std::size_t kValueBuffer = 1024;

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    c = CharCase::toLower(c);
    return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

bool isHighSurrogate(char32_t unit)
{
    return unit >= 0xD800 && unit < 0xDC00;
}
bool isLowSurrogate(char32_t unit)
{
    return unit >= 0xDC00 && unit < 0xE000;
}

// The text of a quoted string value, decoded as Wine's loader decodes it into
// UTF-16 units and handed out as UTF-8. Nothing when the closing quote is
// missing or an escaped surrogate stands alone.
class StringDecoder {
public:
    std::optional<std::string> decode(std::string_view text)
    {
        for (std::size_t i = 0; i < text.size(); ++i) {
            const char c = text[i];
            if (c == '"')
                return m_pendingHigh ? std::nullopt : std::optional<std::string>(std::move(m_out));
            if (c != '\\') {
                if (!addRaw(c))
                    return std::nullopt;
                continue;
            }
            if (++i == text.size())
                return std::nullopt;
            if (!addEscape(text, i))
                return std::nullopt;
        }
        return std::nullopt;
    }

private:
    bool addRaw(char c)
    {
        if (m_pendingHigh)
            return false;
        m_out += c;
        return true;
    }

    // Decodes the escape whose letter is at text[i]; leaves i on its last character.
    bool addEscape(std::string_view text, std::size_t& i)
    {
        switch (const char e = text[i]) {
        case 'n':
            return addUnit('\n');
        case 'r':
            return addUnit('\r');
        case 't':
            return addUnit('\t');
        case 'a':
            return addUnit('\a');
        case 'b':
            return addUnit('\b');
        case 'e':
            return addUnit(0x1b);
        case 'f':
            return addUnit('\f');
        case 'v':
            return addUnit('\v');
        case 'x': {
            char32_t value = 0;
            int digits = 0;
            while (digits < 4 && i + 1 < text.size() && hexDigit(text[i + 1]) >= 0) {
                value = value * 16 + char32_t(hexDigit(text[++i]));
                ++digits;
            }
            return addUnit(digits == 0 ? U'x' : value);
        }
        default:
            if (e >= '0' && e <= '7') {
                char32_t value = char32_t(e - '0');
                for (int digits = 1; digits < 3 && i + 1 < text.size() && text[i + 1] >= '0' && text[i + 1] <= '7';
                     ++digits)
                    value = value * 8 + char32_t(text[++i] - '0');
                return addUnit(value);
            }
            return addUnit(char32_t(static_cast<unsigned char>(e)));
        }
    }

    // One UTF-16 unit: a surrogate pair becomes one character.
    bool addUnit(char32_t unit)
    {
        if (m_pendingHigh) {
            if (!isLowSurrogate(unit))
                return false;
            CharCase::appendUtf8(m_out, 0x10000 + ((m_pendingHigh - 0xD800) << 10) + (unit - 0xDC00));
            m_pendingHigh = 0;
            return true;
        }
        if (isHighSurrogate(unit)) {
            m_pendingHigh = unit;
            return true;
        }
        if (isLowSurrogate(unit))
            return false;
        CharCase::appendUtf8(m_out, unit);
        return true;
    }

    std::string m_out;
    char32_t m_pendingHigh = 0;
};

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

bool equalIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (CharCase::toLower(a[i]) != CharCase::toLower(b[i]))
            return false;
    return true;
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

std::size_t skipBlanks(std::string_view text, std::size_t at)
{
    while (at < text.size() && isBlank(text[at]))
        ++at;
    return at;
}

// Where the line holding `at` starts.
std::size_t lineStart(std::string_view text, std::size_t at)
{
    const std::size_t newline = text.rfind('\n', at);
    return newline == std::string_view::npos ? 0 : newline + 1;
}

// Whether the '[' at `at` opens the header line of section `name` (escaped,
// any case). Blanks may stand before it on its line.
bool isHeaderOf(std::string_view text, std::size_t at, std::string_view name)
{
    const std::size_t start = lineStart(text, at);
    if (start == 0 || skipBlanks(text, start) != at)
        return false;
    return at + 1 + name.size() < text.size() && text[at + 1 + name.size()] == ']'
        && equalIgnoringCase(text.substr(at + 1, name.size()), name);
}

// The data part of a default value line ("@", blanks, "=", blanks, data), or
// nothing for any other line.
std::optional<std::string_view> defaultValueData(std::string_view line)
{
    std::size_t at = skipBlanks(line, 0);
    if (at == line.size() || line[at] != '@')
        return std::nullopt;
    at = skipBlanks(line, at + 1);
    if (at == line.size() || line[at] != '=')
        return std::nullopt;
    return line.substr(skipBlanks(line, at + 1));
}

// A value's data as RegQueryValueA hands it out: text types only, up to the
// first zero character, and only when the whole value fits the buffer.
std::optional<std::string> textOf(std::string_view data)
{
    for (std::string_view type : {"\"", "str:\"", "str(2):\""}) {
        if (data.substr(0, type.size()) != type)
            continue;
        auto decoded = StringDecoder().decode(data.substr(type.size()));
        if (!decoded || decoded->size() + 1 > kValueBuffer)
            return std::nullopt;
        decoded->resize(std::min(decoded->size(), decoded->find('\0')));
        return decoded;
    }
    return std::nullopt;
}

bool hasSignature(std::string_view text)
{
    constexpr std::string_view kSignature = "WINE REGISTRY Version 2";
    const std::size_t end = text.find('\n');
    std::string_view first = text.substr(0, end);
    if (!first.empty() && first.back() == '\r')
        first.remove_suffix(1);
    return end != std::string_view::npos && first == kSignature;
}

} // namespace

std::optional<std::string> DefaultValueInFile(QIODevice& file, const std::string& section)
{
    const QByteArray bytes = file.readAll();
    const std::string_view text(bytes.constData(), std::size_t(bytes.size()));
    if (!hasSignature(text))
        return std::nullopt;
    const std::string name = escapedSectionName(section);

    // A key listed more than once is merged, as Wine's loader merges it: the
    // last default value of any of its sections counts.
    std::optional<std::string_view> data;
    for (std::size_t at = text.find('['); at != std::string_view::npos; at = text.find('[', at + 1)) {
        if (!isHeaderOf(text, at, name))
            continue;
        std::size_t line = text.find('\n', at);
        while (line != std::string_view::npos) {
            const std::size_t start = line + 1;
            line = text.find('\n', start);
            const std::string_view entry = text.substr(start, line == std::string_view::npos ? line : line - start);
            const std::size_t first = skipBlanks(entry, 0);
            if (first < entry.size() && entry[first] == '[') {
                line = start - 1;
                break;
            }
            if (auto value = defaultValueData(entry))
                data = value;
        }
        if (line == std::string_view::npos)
            break;
        at = line;
    }
    return data ? textOf(*data) : std::nullopt;
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
