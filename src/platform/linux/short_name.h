#pragma once

#include <string>
#include <vector>

// The 8.3 aliases under which Windows programs may name entries whose long
// names are not legal 8.3 names.
namespace ShortName {

bool isLegal83(const std::string& name);

// Wine's hashed alias, such as PROG~FBU for "Program Files".
std::string wineAlias(const std::string& longName);

// The numbered base of a Windows alias: "Program Files" gives PROGRA and
// extension "", "READ ME.TXT" gives README and TXT.
struct NumberedStem {
    std::string base;
    std::string extension;
    bool operator<(const NumberedStem& other) const;
};
NumberedStem numberedStem(const std::string& longName);

// Windows' numbered aliases (PROGRA~1, PROGRA~2, ...) of a folder's entries,
// given in name order; an entry that is a legal 8.3 name gets "".
std::vector<std::string> numberedAliases(const std::vector<std::string>& sortedNames);

} // namespace ShortName
