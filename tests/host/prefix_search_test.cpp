#include "host/prefix_choice.h"
#include "platform/prefix_search.h"
#include "support/throwaway_prefix.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <sys/stat.h>
#include <utime.h>

#include <gtest/gtest.h>

namespace {

// A home folder laid out as each front-end lays out its prefixes.
class ThrowawayHome {
public:
    std::string path(const std::string& relative = "") const
    {
        return m_dir.path().toStdString() + (relative.empty() ? "" : "/" + relative);
    }

    void write(const std::string& relative, const std::string& text) const { writeHostFile(path(relative), text); }

    // A prefix at `relative`, used last at `lastUsed`, with Corvane or not.
    void makePrefix(const std::string& relative, bool withHost, long lastUsed = 1700000000) const
    {
        const std::string root = path(relative);
        QDir().mkpath(QString::fromStdString(root + "/drive_c"));
        writeHostFile(root + "/system.reg",
                      std::string("WINE REGISTRY Version 2\n\n")
                          + (withHost ? "[Software\\\\Classes\\\\CRV5.Image\\\\shell\\\\open\\\\command] 1\n"
                                        "@=\"C:\\\\Corvane\\\\Corvane.exe %1\"\n"
                                      : ""));
        writeHostFile(root + "/user.reg", "WINE REGISTRY Version 2\n");
        const utimbuf times{lastUsed, lastUsed};
        ::utime((root + "/user.reg").c_str(), &times);
    }

    PrefixSearch::Places places(const std::string& winePrefixes = "") const { return {path(), winePrefixes, ""}; }

private:
    QTemporaryDir m_dir;
};

std::vector<std::string> labelsAndPaths(const std::vector<PrefixSearch::Prefix>& prefixes, const std::string& home)
{
    std::vector<std::string> out;
    for (const auto& p : prefixes)
        out.push_back(p.label() + " = " + (p.path.rfind(home, 0) == 0 ? "~" + p.path.substr(home.size()) : p.path));
    return out;
}

} // namespace

TEST(PrefixSearch, FindsThePrefixesOfEveryFrontEnd)
{
    ThrowawayHome home;
    home.makePrefix(".wine", false);
    home.makePrefix(".local/share/wineprefixes/paint", true);
    home.makePrefix(".local/share/bottles/bottles/art-bottle", true);
    home.write(".local/share/bottles/bottles/art-bottle/bottle.yml", "Name: Art\nRunner: soda\n");
    home.makePrefix("Bottles elsewhere/games", false);
    home.write(".local/share/bottles/data.yml", "custom_bottles_path: " + home.path("Bottles elsewhere") + "\n");
    home.makePrefix("Games/corvane-lutris", false);
    home.write(".config/lutris/games/corvane-1700.yml", "game:\n  exe: x.exe\n  prefix: ~/Games/corvane-lutris\n");
    home.write(".config/lutris/games/broken.yml", "game: [unclosed\n  prefix: ~/Games/x\n");
    home.write(".config/lutris/games/scalar.yml", "just text\n");
    home.makePrefix("Games/Heroic/Prefixes/Sketch/pfx", false);
    home.makePrefix("Games/Heroic/Prefixes/Wine", false);
    home.write(
        ".config/heroic/GamesConfig/sketch.json",
        "{\"Sketch\": {\"winePrefix\": \"" + home.path("Games/Heroic/Prefixes/Sketch")
            + "\", \"wineVersion\": {\"type\": \"proton\"}},"
              " \"Plain\": {\"winePrefix\": \"~/Games/Heroic/Prefixes/Wine\", \"wineVersion\": {\"type\": \"wine\"}}}");
    home.write(".config/heroic/GamesConfig/bad.json", "{not json");
    home.makePrefix(".local/share/Steam/steamapps/compatdata/1234/pfx", true);
    home.makePrefix("SteamLibrary/steamapps/compatdata/5678/pfx", false);
    home.write(".local/share/Steam/steamapps/libraryfolders.vdf",
               "\"libraryfolders\"\n{\n\t\"0\"\n\t{\n\t\t\"path\"\t\t\"" + home.path(".local/share/Steam")
                   + "\"\n\t\t\"apps\"\n\t\t{\n\t\t\t\"1234\"\t\t\"0\"\n\t\t}\n\t}\n\t\"1\"\n\t{\n\t\t\"path\"\t\t\""
                   + home.path("SteamLibrary") + "\"\n\t}\n}\n");
    // The same Steam root reached again through ~/.steam/steam is counted once.
    QDir().mkpath(QString::fromStdString(home.path(".steam")));
    QFile::link(QString::fromStdString(home.path(".local/share/Steam")),
                QString::fromStdString(home.path(".steam/steam")));
    home.makePrefix(".PlayOnLinux/wineprefix/Old", false);
    home.makePrefix(".Phoenicis/containers/wineprefix/New", false);
    home.makePrefix(".cxoffice/Bottle", false);
    // Not prefixes: a dangling link, an unreadable folder, a folder without system.reg.
    QFile::link(QStringLiteral("/nonexistent/quillop"), QString::fromStdString(home.path(".cxoffice/Gone")));
    QDir().mkpath(QString::fromStdString(home.path(".cxoffice/Empty/drive_c")));
    QDir().mkpath(QString::fromStdString(home.path(".PlayOnLinux/wineprefix/Locked")));
    ::chmod(home.path(".PlayOnLinux/wineprefix/Locked").c_str(), 0);

    const auto found = PrefixSearch::FindPrefixes(home.places());
    ::chmod(home.path(".PlayOnLinux/wineprefix/Locked").c_str(), 0755);
    EXPECT_EQ(labelsAndPaths(found, home.path()),
              (std::vector<std::string>{
                  "~/.wine = ~/.wine",
                  "winetricks: paint = ~/.local/share/wineprefixes/paint",
                  "Bottles: Art = ~/.local/share/bottles/bottles/art-bottle",
                  "Bottles: games = ~/Bottles elsewhere/games",
                  "Lutris: corvane-1700 = ~/Games/corvane-lutris",
                  "Heroic: Plain = ~/Games/Heroic/Prefixes/Wine",
                  "Heroic: Sketch = ~/Games/Heroic/Prefixes/Sketch/pfx",
                  "Steam: app 1234 = ~/.steam/steam/steamapps/compatdata/1234/pfx",
                  "Steam: app 5678 = ~/SteamLibrary/steamapps/compatdata/5678/pfx",
                  "PlayOnLinux: Old = ~/.PlayOnLinux/wineprefix/Old",
                  "Phoenicis: New = ~/.Phoenicis/containers/wineprefix/New",
                  "CrossOver: Bottle = ~/.cxoffice/Bottle",
              }));
    EXPECT_EQ(labelsAndPaths(PrefixesWithHost(found), home.path()),
              (std::vector<std::string>{
                  "winetricks: paint = ~/.local/share/wineprefixes/paint",
                  "Bottles: Art = ~/.local/share/bottles/bottles/art-bottle",
                  "Steam: app 1234 = ~/.steam/steam/steamapps/compatdata/1234/pfx",
              }));
}

TEST(PrefixSearch, WinetricksPrefixesFollowWinePrefixes)
{
    ThrowawayHome home;
    home.makePrefix("mine/one", false);
    home.makePrefix(".local/share/wineprefixes/other", false);
    EXPECT_EQ(labelsAndPaths(PrefixSearch::FindPrefixes(home.places(home.path("mine"))), home.path()),
              (std::vector<std::string>{"winetricks: one = ~/mine/one"}));
    EXPECT_TRUE(PrefixSearch::FindPrefixes(PrefixSearch::Places{home.path("nowhere"), "", ""}).empty());
}

TEST(PrefixSearch, MostRecentlyUsedIsPreselected)
{
    std::vector<PrefixSearch::Prefix> prefixes = {{"a", "", "/a", 100}, {"b", "", "/b", 300}, {"c", "", "/c", 200}};
    EXPECT_EQ(MostRecentlyUsed(prefixes), 1u);
    EXPECT_EQ(
        PrefixSearch::SteamLibraries("\"libraryfolders\" { \"0\" { \"path\" \"/x\" \"apps\" { \"path\" \"/no\" } } }"),
        std::vector<std::string>{"/x"});
}
