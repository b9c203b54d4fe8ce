// The registry reader against a plain reference that reads the whole file
// line by line: both must pick the same default value line for the key.
#include "platform/registry.h"

#include <QBuffer>

#include <cstdint>
#include <optional>
#include <string>

namespace {

const std::string kSection = "Software\\Classes\\K";
const std::string kHeader = "[Software\\\\Classes\\\\K]";

std::optional<std::string> readerAnswer(const std::string& text)
{
    QByteArray bytes = QByteArray::fromStdString(text);
    QBuffer file(&bytes);
    file.open(QIODevice::ReadOnly);
    return Registry::DefaultValueInFile(file, kSection);
}

bool blank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

std::string lower(std::string s)
{
    for (char& c : s)
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    return s;
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
            inKey = lower(line.substr(i, kHeader.size())) == lower(kHeader);
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
