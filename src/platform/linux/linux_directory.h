#pragma once

#include <optional>
#include <string>
#include <vector>

// One folder of the host file system, searched the way Windows searches a
// folder: names match without regard to letter case, and a legal 8.3 name
// also matches the short alias of a long name.
class LinuxDirectory {
public:
    explicit LinuxDirectory(std::string hostPath);

    bool exists() const;

    // Which entry answers when several match (names that differ only in
    // case, a hashed alias two names share). Wine differs by purpose:
    enum class Order {
        // Its directory search (FindFirstFile): the first in case-insensitive
        // name order, names equal but for case in byte order.
        listing,
        // Opening or creating a path: the first in directory order.
        opening,
    };

    // The stored name of the entry that `name` names here: the exact name,
    // else the first by `order` of the entries whose name matches without
    // regard to case or whose Wine alias it is, else the entry whose
    // numbered alias it is.
    std::optional<std::string> find(const std::string& name, Order order) const;

    // Whether any entry's long name or Wine alias matches `pattern`, in
    // which '*' stands for any run of characters and '?' for one. A folder
    // below a drive's root also lists "." and "..", as Windows lists them.
    bool anyMatches(const std::string& pattern, bool withDotEntries) const;

private:
    const std::vector<std::string>& names() const;
    // Numbered aliases count in name order.
    const std::vector<std::string>& sortedNames() const;

    std::string m_path;
    mutable std::optional<std::vector<std::string>> m_names;
    mutable bool m_sorted = false;
};

// Whether `text` matches `pattern` ('*' and '?' wildcards), letter case
// ignored, as Wine's directory search matches it.
bool matchesWildcard(const std::string& pattern, const std::string& text);
bool matchesWildcard(const std::u16string& pattern, const std::u16string& text);
