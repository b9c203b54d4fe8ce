#include "short_name.h"

#include "char_case.h"

#include <cstdint>
#include <map>

namespace ShortName {
namespace {

bool isForbiddenIn83(unsigned char c)
{
    static const std::string forbidden = "*?<>|\"+=,;[]:/\\ ";
    return c < 32 || c >= 0x80 || forbidden.find(char(c)) != std::string::npos;
}

// Characters Wine replaces by '_' when it builds a hashed alias.
bool isInvalidInWineAlias(unsigned char c)
{
    static const std::string invalid = "*?<>|\"+=,;[]:/\\ ~.";
    return c >= 0x80 || invalid.find(char(c)) != std::string::npos;
}

std::string upperAscii(std::string text)
{
    return CharCase::upper(std::move(text));
}

} // namespace

bool isLegal83(const std::string& name)
{
    if (name.empty() || name.size() > 12 || name.front() == '.')
        return false;
    for (unsigned char c : name)
        if (isForbiddenIn83(c))
            return false;
    const std::size_t dot = name.find('.');
    if (dot == std::string::npos)
        return name.size() <= 8;
    if (name.find('.', dot + 1) != std::string::npos)
        return false;
    const std::size_t extension = name.size() - dot - 1;
    return dot >= 1 && dot <= 8 && extension >= 1 && extension <= 3;
}

std::string wineAlias(const std::string& longName)
{
    static const char hashChars[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ012345";
    const std::size_t length = longName.size();

    std::uint16_t hash = 0xBEEF;
    for (std::size_t i = 0; i < length; ++i) {
        const unsigned lower = static_cast<unsigned char>(CharCase::toLower(longName[i]));
        unsigned next = 0;
        if (i + 1 < length)
            next = static_cast<unsigned char>(CharCase::toLower(longName[i + 1])) << 8;
        hash = std::uint16_t((hash << 3) ^ (hash >> 5) ^ lower ^ next);
    }

    // The extension starts at the last dot after any leading dots, unless
    // that dot ends the name.
    std::size_t start = 0;
    while (start < length && longName[start] == '.')
        ++start;
    std::size_t extension = longName.rfind('.');
    if (extension == std::string::npos || extension < start || extension + 1 == length)
        extension = length;

    std::string alias;
    for (std::size_t i = 0; i < extension && alias.size() < 4; ++i) {
        if (longName[i] == '.')
            continue;
        alias += isInvalidInWineAlias(longName[i]) ? '_' : longName[i];
    }
    alias.resize(5, '~');
    alias += hashChars[(hash >> 10) & 31];
    alias += hashChars[(hash >> 5) & 31];
    alias += hashChars[hash & 31];
    if (extension < length) {
        alias += '.';
        for (std::size_t i = extension + 1; i < length && i <= extension + 3; ++i)
            alias += isInvalidInWineAlias(longName[i]) ? '_' : longName[i];
    }
    return upperAscii(alias);
}

bool NumberedStem::operator<(const NumberedStem& other) const
{
    return base != other.base ? base < other.base : extension < other.extension;
}

NumberedStem numberedStem(const std::string& longName)
{
    static const std::string dropped = " .\"/\\[]:;=,";
    const std::size_t dot = longName.rfind('.');
    const std::string before = dot == std::string::npos ? longName : longName.substr(0, dot);
    const std::string after = dot == std::string::npos ? std::string() : longName.substr(dot + 1);

    auto clean = [](const std::string& part, std::size_t keep) {
        std::string result;
        for (unsigned char c : part) {
            if (result.size() == keep)
                break;
            if (dropped.find(char(c)) != std::string::npos)
                continue;
            result += isForbiddenIn83(c) ? '_' : char(c);
        }
        return upperAscii(result);
    };
    return {clean(before, 6), clean(after, 3)};
}

std::vector<std::string> numberedAliases(const std::vector<std::string>& sortedNames)
{
    std::vector<std::string> aliases;
    aliases.reserve(sortedNames.size());
    std::map<NumberedStem, int> used;
    for (const std::string& name : sortedNames) {
        if (isLegal83(name)) {
            aliases.emplace_back();
            continue;
        }
        const NumberedStem stem = numberedStem(name);
        const int number = ++used[stem];
        std::string alias = stem.base + "~" + std::to_string(number);
        if (!stem.extension.empty())
            alias += "." + stem.extension;
        aliases.push_back(alias);
    }
    return aliases;
}

} // namespace ShortName
