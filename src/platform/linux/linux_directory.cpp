#include "platform/linux/linux_directory.h"

#include "platform/char_case.h"
#include "platform/linux/short_name.h"
#include "platform/linux/utf8.h"

#include <QString>

#include <algorithm>
#include <dirent.h>
#include <sys/stat.h>

namespace {

std::u16string utf16(const std::string& text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size())).toStdU16String();
}

bool inCaseInsensitiveOrder(const std::string& a, const std::string& b)
{
    const std::string upperA = CharCase::upper(a), upperB = CharCase::upper(b);
    return upperA != upperB ? upperA < upperB : a < b;
}

} // namespace

LinuxDirectory::LinuxDirectory(std::string hostPath)
    : m_path(std::move(hostPath))
{
}

bool LinuxDirectory::exists() const
{
    struct stat info {};
    return ::stat(m_path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

const std::vector<std::string>& LinuxDirectory::names() const
{
    if (m_names)
        return *m_names;
    m_names.emplace();
    if (DIR* dir = ::opendir(m_path.c_str())) {
        while (const dirent* entry = ::readdir(dir)) {
            const std::string name = entry->d_name;
            if (name != "." && name != "..")
                m_names->push_back(name);
        }
        ::closedir(dir);
    }
    return *m_names;
}

std::optional<std::string> LinuxDirectory::find(const std::string& name, Order order) const
{
    // Not names of entries: a lookup must never step out of this folder.
    if (name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos)
        return std::nullopt;
    struct stat info {};
    const std::string exact = m_path + (m_path.back() == '/' ? "" : "/") + name;
    if (::lstat(exact.c_str(), &info) == 0)
        return name;

    const auto& all = names();
    const auto earlier = [order](const std::string& entry, const std::string* best) {
        return !best || (order == Order::listing && inCaseInsensitiveOrder(entry, *best));
    };
    // Long names equal but for case and long names whose Wine alias it is
    // are one set of candidates, as Wine ranks them. Every short alias is a
    // legal 8.3 name holding a tilde.
    const bool mayBeAlias = name.find('~') != std::string::npos && ShortName::isLegal83(name);
    const std::string* first = nullptr;
    for (const std::string& entry : all) {
        const bool matches = CharCase::equalIgnoringCase(entry, name)
            || (mayBeAlias && !ShortName::isLegal83(entry)
                && CharCase::equalIgnoringCase(ShortName::wineAlias(entry), name));
        if (matches && earlier(entry, first))
            first = &entry;
    }
    if (first)
        return *first;
    if (!mayBeAlias)
        return std::nullopt;
    // Windows' numbered aliases last.
    const std::vector<std::string>& sorted = sortedNames();
    const std::vector<std::string> numbered = ShortName::numberedAliases(sorted);
    for (std::size_t i = 0; i < sorted.size(); ++i)
        if (!numbered[i].empty() && CharCase::equalIgnoringCase(numbered[i], name))
            return sorted[i];
    return std::nullopt;
}

const std::vector<std::string>& LinuxDirectory::sortedNames() const
{
    names();
    if (!m_sorted) {
        std::sort(m_names->begin(), m_names->end());
        m_sorted = true;
    }
    return *m_names;
}

bool LinuxDirectory::anyMatches(const std::string& pattern, bool withDotEntries) const
{
    // As Wine's directory search: the long name, else Wine's hashed alias of
    // a name that is not a legal 8.3 name.
    const std::u16string mask = utf16(pattern);
    if (withDotEntries && (matchesWildcard(mask, u".") || matchesWildcard(mask, u"..")))
        return true;
    for (const std::string& entry : names())
        if (matchesWildcard(mask, utf16(entry))
            || (!ShortName::isLegal83(entry) && matchesWildcard(mask, utf16(ShortName::wineAlias(entry)))))
            return true;
    return false;
}

bool matchesWildcard(const std::string& pattern, const std::string& text)
{
    return matchesWildcard(utf16(pattern), utf16(text));
}

// Wine's match of a search mask, unit by unit over UTF-16, letter case
// ignored: '*' any run, '?' one unit, and trailing '.' and '*' of the mask
// ignored once the name is used up.
bool matchesWildcard(const std::u16string& pattern, const std::u16string& text)
{
    const std::u16string& mask = pattern;
    const std::u16string& name = text;
    const auto same = [](char16_t a, char16_t b) { return CharCase::upperUnit(a) == CharCase::upperUnit(b); };
    std::size_t m = 0, n = 0;
    std::size_t lastJoker = std::u16string::npos, nextToRetry = 0;
    while (n < name.size() && m < mask.size()) {
        if (mask[m] == u'*') {
            while (m < mask.size() && mask[m] == u'*')
                ++m;
            if (m == mask.size())
                return true;
            lastJoker = m;
            while (n < name.size() && !same(name[n], mask[m]))
                ++n;
            nextToRetry = n;
        } else if (mask[m] == u'?') {
            ++m;
            ++n;
        } else if (same(mask[m], name[n])) {
            ++m;
            ++n;
            if (m == mask.size()) {
                if (n == name.size())
                    return true;
                if (lastJoker != std::u16string::npos)
                    m = lastJoker;
            }
        } else if (lastJoker != std::u16string::npos) {
            m = lastJoker;
            n = ++nextToRetry;
        } else {
            return false;
        }
    }
    while (m < mask.size() && (mask[m] == u'.' || mask[m] == u'*'))
        ++m;
    return n == name.size() && m == mask.size();
}
