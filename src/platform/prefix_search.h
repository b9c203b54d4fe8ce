#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The Wine prefixes a Linux user's front-ends keep: ~/.wine, winetricks,
// Bottles, Lutris, Heroic, Steam's Proton, PlayOnLinux, Phoenicis and
// CrossOver. A location that is missing, unreadable, a dangling link or
// malformed is passed over; nothing is ever written to any of them.
namespace PrefixSearch {

struct Places {
    std::string home;
    std::string winePrefixes; // $WINE_PREFIXES, or empty
    std::string xdgDataHome; // $XDG_DATA_HOME, or empty for ~/.local/share
};

struct Prefix {
    std::string source; // "~/.wine", "winetricks", "Bottles", "Steam", ...
    std::string name; // the front-end's name for it, empty for ~/.wine
    std::string path; // as found, links not resolved
    std::int64_t lastUsed = 0; // user.reg's modification time, seconds since 1970

    // "Bottles: Art", "Steam: app 1234", "~/.wine".
    std::string label() const;
    // What --prefix takes to name it: "bottles:Art", "steam:1234", "wine".
    std::string selector() const;
};

// Every prefix found, each folder once however often it is reached (device
// and inode), in the order of the places above.
std::vector<Prefix> FindPrefixes(const Places& places);

// The places of this process's user, from $HOME, $WINE_PREFIXES and $XDG_DATA_HOME.
Places UserPlaces();

// Whether a folder is a Wine prefix: it holds system.reg, and drive_c or dosdevices.
bool IsWinePrefix(const std::string& folder);

// The library folders a Steam libraryfolders.vdf lists.
std::vector<std::string> SteamLibraries(const std::string& vdfText);

} // namespace PrefixSearch
