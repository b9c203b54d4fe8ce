// The registry reader against a plain reference that reads the whole file
// line by line: both must pick the same default value line for the key.
#include "platform/linux/registry_files.h"

#include <cstdint>
#include <optional>
#include <string>

namespace {

const std::string kSection = "Software\\Classes\\K";
const std::string kHeader = "[Software\\\\Classes\\\\K]";

std::optional<std::string> readerAnswer(const std::string& text)
{
    return Registry::DefaultValueInText(text, kSection);
}

bool blank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Whether a header's name, from after its '[' to the first unescaped ']'
// on its line, is the key's: decoded with Wine's escapes into units, then
// compared with ASCII letters folded (the key's name is ASCII, and no other
// character folds to an ASCII letter both ways).
bool namesTheKey(const std::string& line)
{
    std::u32string units;
    for (std::size_t i = 0;; ++i) {
        if (i == line.size())
            return false;
        char32_t unit = static_cast<unsigned char>(line[i]);
        if (line[i] == ']')
            break;
        if (line[i] == '\\') {
            if (++i == line.size())
                return false;
            const char e = line[i];
            if (e == 'x' && i + 1 < line.size() && hexValue(line[i + 1]) >= 0) {
                unit = 0;
                for (int digits = 0; digits < 4 && i + 1 < line.size() && hexValue(line[i + 1]) >= 0; ++digits)
                    unit = unit * 16 + char32_t(hexValue(line[++i]));
            } else if (e >= '0' && e <= '7') {
                unit = char32_t(e - '0');
                for (int digits = 1; digits < 3 && i + 1 < line.size() && line[i + 1] >= '0' && line[i + 1] <= '7';
                     ++digits)
                    unit = unit * 8 + char32_t(line[++i] - '0');
            } else {
                const std::string from = "nrtabefv", to = "\n\r\t\a\b\x1b\f\v";
                const std::size_t at = from.find(e);
                unit = at == std::string::npos ? char32_t(static_cast<unsigned char>(e)) : char32_t(to[at]);
            }
        }
        units += unit;
    }
    if (units.size() != kSection.size())
        return false;
    for (std::size_t i = 0; i < units.size(); ++i) {
        const auto fold = [](char32_t c) { return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c; };
        if (fold(units[i]) != fold(char32_t(static_cast<unsigned char>(kSection[i]))))
            return false;
    }
    return true;
}

// Every line, one after another: the last "@=" line of any section of the
// key decides. Answers the data after "=", or nothing.
std::optional<std::string> referenceData(const std::string& text)
{
    std::size_t end = text.find('\n');
    if (end == std::string::npos)
        return std::nullopt;
    std::string first = text.substr(0, end);
    if (!first.empty() && first.back() == '\r')
        first.pop_back();
    if (first != "WINE REGISTRY Version 2")
        return std::nullopt;
    bool inKey = false;
    std::optional<std::string> data;
    for (std::size_t start = end + 1; start <= text.size();) {
        end = text.find('\n', start);
        const std::string line = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        std::size_t i = 0;
        while (i < line.size() && blank(line[i]))
            ++i;
        if (i < line.size() && line[i] == '[') {
            inKey = namesTheKey(line.substr(i + 1));
        } else if (inKey && i < line.size() && line[i] == '@') {
            std::size_t j = i + 1;
            while (j < line.size() && blank(line[j]))
                ++j;
            if (j < line.size() && line[j] == '=') {
                ++j;
                while (j < line.size() && blank(line[j]))
                    ++j;
                data = line.substr(j);
            }
        }
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return data;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    const auto answer = readerAnswer(text);
    if (answer && answer->size() >= 1024)
        __builtin_trap();
    const auto line = referenceData(text);
    // The reference's line alone, in a file of its own, must read the same.
    const auto expected
        = line ? readerAnswer("WINE REGISTRY Version 2\n" + kHeader + "\n@=" + *line + "\n") : std::nullopt;
    if (answer != expected)
        __builtin_trap();
    return 0;
}
