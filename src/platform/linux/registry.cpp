#include "platform/linux/registry_files.h"

#include "platform/char_case.h"
#include "platform/linux/plain_file.h"
#include "platform/linux/utf8.h"

#include <QString>

#include <cstdint>
#include <cstring>
#include <string_view>
#include <sys/stat.h>
#include <utility>
#include <vector>

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

// A string of a registry file read as Wine's loader reads it: one UTF-16
// unit at a time up to an unescaped terminator ('"' for a value, ']' for a
// key name), with Wine's escapes; raw bytes are UTF-8.
class EscapedText {
public:
    enum class Step { unit, end, broken };

    EscapedText(std::string_view text, char terminator)
        : m_text(text)
        , m_terminator(terminator)
    {
    }

    Step next(char16_t& unit)
    {
        if (m_pendingLow) {
            unit = std::exchange(m_pendingLow, 0);
            return Step::unit;
        }
        if (m_at == m_text.size())
            return Step::broken;
        const char c = m_text[m_at++];
        if (c == m_terminator)
            return Step::end;
        if (c != '\\')
            return raw(c, unit);
        if (m_at == m_text.size())
            return Step::broken;
        return escape(unit);
    }

private:
    Step character(char32_t c, char16_t& unit)
    {
        if (c < 0x10000) {
            unit = char16_t(c);
        } else {
            unit = char16_t(0xD800 + ((c - 0x10000) >> 10));
            m_pendingLow = char16_t(0xDC00 + ((c - 0x10000) & 0x3FF));
        }
        return Step::unit;
    }

    // A raw byte, or the UTF-8 sequence it starts; a byte that starts none
    // stands for itself.
    Step raw(char c, char16_t& unit)
    {
        const auto lead = static_cast<unsigned char>(c);
        const int length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
        if (length == 1 || m_at + std::size_t(length - 1) > m_text.size())
            return character(lead, unit);
        char32_t value = lead & (0x3F >> (length - 1));
        for (int i = 1; i < length; ++i) {
            const auto next = static_cast<unsigned char>(m_text[m_at + std::size_t(i - 1)]);
            if ((next & 0xC0) != 0x80)
                return character(lead, unit);
            value = (value << 6) | (next & 0x3F);
        }
        m_at += std::size_t(length - 1);
        return character(value, unit);
    }

    // The escape whose letter is at m_at.
    Step escape(char16_t& unit)
    {
        const char e = m_text[m_at++];
        switch (e) {
        case 'n':
            return character('\n', unit);
        case 'r':
            return character('\r', unit);
        case 't':
            return character('\t', unit);
        case 'a':
            return character('\a', unit);
        case 'b':
            return character('\b', unit);
        case 'e':
            return character(0x1b, unit);
        case 'f':
            return character('\f', unit);
        case 'v':
            return character('\v', unit);
        case 'x': {
            char32_t value = 0;
            int digits = 0;
            while (digits < 4 && m_at < m_text.size() && hexDigit(m_text[m_at]) >= 0) {
                value = value * 16 + char32_t(hexDigit(m_text[m_at++]));
                ++digits;
            }
            return character(digits == 0 ? U'x' : value, unit);
        }
        default:
            if (e >= '0' && e <= '7') {
                char32_t value = char32_t(e - '0');
                for (int digits = 1; digits < 3 && m_at < m_text.size() && m_text[m_at] >= '0' && m_text[m_at] <= '7';
                     ++digits)
                    value = value * 8 + char32_t(m_text[m_at++] - '0');
                return character(value, unit);
            }
            return character(char32_t(static_cast<unsigned char>(e)), unit);
        }
    }

    std::string_view m_text;
    std::size_t m_at = 0;
    char m_terminator;
    char16_t m_pendingLow = 0;
};

// A quoted value's text as UTF-8, a surrogate pair as one character.
// Nothing when the closing quote is missing or a surrogate stands alone.
std::optional<std::string> decodeValue(std::string_view text)
{
    EscapedText escaped(text, '"');
    std::string out;
    char16_t high = 0;
    for (char16_t unit = 0;;) {
        const EscapedText::Step step = escaped.next(unit);
        if (step != EscapedText::Step::unit) {
            if (step == EscapedText::Step::broken || high)
                return std::nullopt;
            return out;
        }
        if (high) {
            if (!isLowSurrogate(unit))
                return std::nullopt;
            CharCase::appendUtf8(out, 0x10000 + ((char32_t(high) - 0xD800) << 10) + (unit - 0xDC00));
            high = 0;
        } else if (isHighSurrogate(unit)) {
            high = unit;
        } else if (isLowSurrogate(unit)) {
            return std::nullopt;
        } else {
            CharCase::appendUtf8(out, unit);
        }
    }
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

// How many bytes `a` and `b` share from their start. Headers share long
// runs ("Software\\\\Classes\\\\..."), compared eight bytes at a time.
std::size_t equalRun(std::string_view a, std::string_view b)
{
    const std::size_t length = std::min(a.size(), b.size());
    std::size_t i = 0;
    for (; i + 8 <= length; i += 8) {
        std::uint64_t x = 0, y = 0;
        std::memcpy(&x, a.data() + i, 8);
        std::memcpy(&y, b.data() + i, 8);
        if (x != y)
            break;
    }
    while (i < length && a[i] == b[i])
        ++i;
    return i;
}

// A section's name as headers are matched against it: its UTF-16 units in
// upper case, and the bytes Wine writes for the name as far as it is plain
// ASCII ("\\" for a backslash, "\[" and "\]" for brackets), which tell
// almost every other header apart without decoding it.
class SectionName {
public:
    explicit SectionName(const std::string& name)
    {
        for (const char16_t unit : QString::fromStdString(name).toStdU16String()) {
            m_upper += CharCase::upperUnit(unit);
            if (!m_allPlain)
                continue;
            if (unit < 0x20 || unit >= 0x7F) {
                m_allPlain = false;
                continue;
            }
            if (unit == '\\' || unit == '[' || unit == ']')
                m_written += '\\';
            m_written += char(unit);
        }
    }

    // Whether the header whose name starts `text` (after its '[') is this
    // section's.
    bool isNameOf(std::string_view text) const
    {
        switch (compareWritten(text)) {
        case Answer::yes:
            return true;
        case Answer::no:
            return false;
        case Answer::unsure:
            break;
        }
        EscapedText escaped(text.substr(0, text.find('\n')), ']');
        char16_t unit = 0;
        for (const char16_t wanted : m_upper)
            if (escaped.next(unit) != EscapedText::Step::unit || CharCase::upperUnit(unit) != wanted)
                return false;
        return escaped.next(unit) == EscapedText::Step::end;
    }

private:
    enum class Answer { yes, no, unsure };

    // The header's bytes against the written form, ASCII letters in any
    // case: almost always one run of equal bytes, then a difference that
    // settles it. A difference where the header may spell the same
    // character another way (an escape, a byte beyond ASCII) is left to
    // decoding.
    Answer compareWritten(std::string_view name) const
    {
        const std::size_t length = m_written.size();
        for (std::size_t i = 0;; ++i) {
            i += equalRun(name.substr(i), std::string_view(m_written).substr(i));
            if (i == name.size())
                return Answer::no; // the line ends before its closing bracket
            const char byte = name[i];
            if (i < length && CharCase::toLower(byte) == CharCase::toLower(m_written[i]))
                continue;
            if (byte == '\\' || static_cast<unsigned char>(byte) >= 0x80 || afterEscape(i))
                return Answer::unsure;
            if (i < length || !m_allPlain)
                return i < length ? Answer::no : Answer::unsure;
            return byte == ']' ? Answer::yes : Answer::no;
        }
    }

    // Whether the written form's byte at `i` follows an escaping backslash.
    bool afterEscape(std::size_t i) const
    {
        std::size_t backslashes = 0;
        while (i > backslashes && m_written[i - 1 - backslashes] == '\\')
            ++backslashes;
        return backslashes % 2 == 1;
    }

    std::u16string m_upper;
    std::string m_written;
    bool m_allPlain = true;
};

// Whether the '[' at `at` opens the header line of section `name`, decoded
// as Wine writes key names and compared without regard to case, as Wine
// compares them. Blanks may stand before the '[' on its line.
bool isHeaderOf(std::string_view text, std::size_t at, const SectionName& name)
{
    const std::size_t start = lineStart(text, at);
    if (start == 0 || skipBlanks(text, start) != at)
        return false;
    return name.isNameOf(text.substr(at + 1));
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
        auto decoded = decodeValue(data.substr(type.size()));
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

std::optional<std::string> DefaultValueInText(std::string_view text, const std::string& section)
{
    if (!hasSignature(text))
        return std::nullopt;
    const SectionName name(section);

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

namespace {

// What one registry file answered for one section, kept while the file is
// unchanged: the prefix search and the window ask the same file the same
// question, and a real system.reg is megabytes.
struct Answer {
    std::string path;
    std::string section;
    dev_t device;
    ino_t inode;
    off_t size;
    timespec modified;
    std::optional<std::string> value;
};

bool sameFile(const Answer& answer, const struct stat& info)
{
    return answer.device == info.st_dev && answer.inode == info.st_ino && answer.size == info.st_size
        && answer.modified.tv_sec == info.st_mtim.tv_sec && answer.modified.tv_nsec == info.st_mtim.tv_nsec;
}

// The file's answer, or nothing with `problem` set when it cannot be read.
std::optional<std::string> answerOfFile(const std::string& path, const std::string& section, std::string& problem)
{
    static std::vector<Answer> answers;
    struct stat before {};
    const bool known = ::stat(path.c_str(), &before) == 0 && S_ISREG(before.st_mode);
    if (known) {
        for (const Answer& answer : answers)
            if (answer.path == path && answer.section == section && sameFile(answer, before))
                return answer.value;
    }
    const PlainFileRead file = ReadPlainFile(path, kRegistryFileLimit);
    if (!file.read) {
        if (!file.missing())
            problem = path + ": " + file.problem;
        return std::nullopt;
    }
    auto value = DefaultValueInText(file.bytes, section);
    if (known) {
        if (answers.size() == 256)
            answers.erase(answers.begin());
        answers.push_back({path, section, before.st_dev, before.st_ino, before.st_size, before.st_mtim, value});
    }
    return value;
}

} // namespace

std::optional<std::string> QueryClassesRootDefault(const std::string& key, const WinePrefix& prefix,
                                                   std::vector<std::string>* problems)
{
    const std::string section = "Software\\Classes\\" + key;
    for (const char* name : {"/user.reg", "/system.reg"}) {
        std::string problem;
        if (auto value = answerOfFile(prefix.root() + name, section, problem))
            return value;
        if (problems && !problem.empty())
            problems->push_back(problem);
    }
    return std::nullopt;
}

std::optional<std::string> QueryClassesRootDefault(const std::string& key, std::vector<std::string>* problems)
{
    return QueryClassesRootDefault(key, WinePrefix::current(), problems);
}

} // namespace Registry
