#include "platform/linux/short_name.h"

#include "platform/char_case.h"
#include "platform/linux/utf8.h"

#include <QString>

#include <cstdint>
#include <map>

namespace ShortName {
namespace {

bool isForbiddenIn83(unsigned char c)
{
    static const std::string forbidden = "*?<>|\"+=,;[]:/\\ ";
    return c < 32 || c >= 0x80 || forbidden.find(char(c)) != std::string::npos;
}

// Characters Wine replaces by '_' when it builds a hashed alias: everything
// outside ASCII (one '_' per UTF-16 unit) and what 8.3 names may not hold.
bool isInvalidInWineAlias(char16_t c)
{
    static const std::u16string invalid = u"*?<>|\"+=,;[]:/\\ ~.";
    return c < 32 || c >= 0x80 || invalid.find(c) != std::u16string::npos;
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
    const QString name = QString::fromUtf8(longName.data(), qsizetype(longName.size()));
    const std::size_t length = std::size_t(name.size());
    if (length == 0)
        return {};
    const auto unit = [&](std::size_t i) { return char16_t(name.at(qsizetype(i)).unicode()); };

    std::uint16_t hash = 0xBEEF;
    for (std::size_t i = 0; i + 1 < length; ++i)
        hash = std::uint16_t((hash << 3) ^ (hash >> 5) ^ CharCase::lowerUnit(unit(i))
                             ^ (CharCase::lowerUnit(unit(i + 1)) << 8));
    hash = std::uint16_t((hash << 3) ^ (hash >> 5) ^ CharCase::lowerUnit(unit(length - 1)));

    // The extension starts at the last dot after the first unit, unless that
    // dot ends the name.
    std::size_t extension = length;
    for (std::size_t i = 1; i + 1 < length; ++i)
        if (unit(i) == u'.')
            extension = i;

    std::string alias;
    for (std::size_t i = 0; i < extension && alias.size() < 4; ++i)
        alias += isInvalidInWineAlias(unit(i)) ? '_' : char(unit(i));
    alias.resize(5, '~');
    alias += hashChars[(hash >> 10) & 31];
    alias += hashChars[(hash >> 5) & 31];
    alias += hashChars[hash & 31];
    if (extension < length) {
        alias += '.';
        for (std::size_t i = extension + 1; i < length && i <= extension + 3; ++i)
            alias += isInvalidInWineAlias(unit(i)) ? '_' : char(unit(i));
    }
    return CharCase::upper(alias);
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
        return CharCase::upper(result);
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
