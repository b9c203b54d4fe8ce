#include "host_directory.h"

#include "char_case.h"
#include "short_name.h"

#include <algorithm>
#include <dirent.h>
#include <sys/stat.h>

HostDirectory::HostDirectory(std::string hostPath)
    : m_path(std::move(hostPath))
{
}

bool HostDirectory::exists() const
{
    struct stat info {};
    return ::stat(m_path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

const std::vector<std::string>& HostDirectory::names() const
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

std::optional<std::string> HostDirectory::find(const std::string& name) const
{
    // Not names of entries: a lookup must never step out of this folder.
    if (name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos)
        return std::nullopt;
    struct stat info {};
    const std::string exact = m_path + (m_path.back() == '/' ? "" : "/") + name;
    if (::lstat(exact.c_str(), &info) == 0)
        return name;

    // The first match in name order, found without sorting the folder.
    const auto& all = names();
    const std::string* first = nullptr;
    for (const std::string& entry : all)
        if (CharCase::equalIgnoringCase(entry, name) && (!first || entry < *first))
            first = &entry;
    if (first)
        return *first;

    // Every short alias holds a tilde.
    if (name.find('~') == std::string::npos || !ShortName::isLegal83(name))
        return std::nullopt;
    const std::vector<std::string>& sorted = sortedNames();
    const std::vector<std::string> numbered = ShortName::numberedAliases(sorted);
    for (std::size_t i = 0; i < sorted.size(); ++i) {
        if (numbered[i].empty())
            continue;
        if (CharCase::equalIgnoringCase(numbered[i], name)
            || CharCase::equalIgnoringCase(ShortName::wineAlias(sorted[i]), name))
            return sorted[i];
    }
    return std::nullopt;
}

const std::vector<std::string>& HostDirectory::sortedNames() const
{
    names();
    if (!m_sorted) {
        std::sort(m_names->begin(), m_names->end());
        m_sorted = true;
    }
    return *m_names;
}

bool HostDirectory::anyMatches(const std::string& pattern) const
{
    const auto& all = sortedNames();
    const std::vector<std::string> numbered = ShortName::numberedAliases(all);
    for (std::size_t i = 0; i < all.size(); ++i) {
        if (matchesWildcard(pattern, all[i]))
            return true;
        if (!numbered[i].empty()
            && (matchesWildcard(pattern, numbered[i])
                || matchesWildcard(pattern, ShortName::wineAlias(all[i]))))
            return true;
    }
    return false;
}

bool matchesWildcard(const std::string& pattern, const std::string& text)
{
    // Greedy matching with one remembered star: linear for each star.
    std::size_t p = 0, t = 0, starP = std::string::npos, starT = 0;
    while (t < text.size()) {
        if (p < pattern.size()
            && (pattern[p] == '?' || CharCase::toLower(pattern[p]) == CharCase::toLower(text[t]))) {
            ++p;
            ++t;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starT = t;
        } else if (starP != std::string::npos) {
            p = starP + 1;
            t = ++starT;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}
