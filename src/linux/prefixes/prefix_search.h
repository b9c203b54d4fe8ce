#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The Wine prefixes a Linux user's front-ends keep: ~/.wine, winetricks,
// Bottles, Lutris, Heroic, Steam's Proton, PlayOnLinux, Phoenicis and
// CrossOver. A location or file that is missing, unreadable, not a plain
// file, too large, a dangling link or malformed is passed over; nothing is
// ever written to any of them.
namespace PrefixSearch {

struct Places {
    std::string home;
    std::string winePrefixes; // $WINE_PREFIXES, or empty
    std::string xdgDataHome; // $XDG_DATA_HOME, or empty for ~/.local/share
    std::string xdgConfigHome; // $XDG_CONFIG_HOME, or empty for ~/.config
};

struct Prefix {
    std::string source; // "~/.wine", "winetricks", "Bottles", "Steam", ...
    std::string name; // as the front-end shows it: a game's title, a bottle's name; empty for ~/.wine
    std::string path; // as found, links not resolved; the bytes of the file system
    std::int64_t lastUsed = 0; // user.reg's modification time, seconds since 1970
    std::string id; // what names it in the front-end (a Steam app id, a Lutris game's slug); empty when it is the name

    // "Bottles: Art", "Steam: Corvane 5", "~/.wine"; bytes that are not
    // UTF-8 shown as \xHH.
    std::string label() const;
    // What --prefix takes to name it: "bottles:Art", "steam:1234", "wine".
    std::string selector() const;
};

// Every prefix found, each folder once however often it is reached (device
// and inode), in the order of the places above, each place's in name order.
std::vector<Prefix> FindPrefixes(const Places& places);

// The places of this process's user, from $HOME, $WINE_PREFIXES,
// $XDG_DATA_HOME and $XDG_CONFIG_HOME.
Places UserPlaces();

// Whether a folder is a Wine prefix: it holds system.reg, and drive_c or dosdevices.
bool IsWinePrefix(const std::string& folder);

// The library folders a Steam libraryfolders.vdf lists, in any of the
// formats Steam has written.
std::vector<std::string> SteamLibraries(const std::string& vdfText);

} // namespace PrefixSearch
