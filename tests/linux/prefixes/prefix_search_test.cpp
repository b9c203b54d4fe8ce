#include "linux/prefixes/prefix_choice.h"
#include "linux/prefixes/prefix_search.h"
#include "support/throwaway_prefix.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <array>

#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utime.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include <gtest/gtest.h>

namespace {

// A home folder laid out as each front-end lays out its prefixes.
class ThrowawayHome {
public:
    ThrowawayHome() = default;
    ThrowawayHome(const ThrowawayHome&) = delete;
    ThrowawayHome& operator=(const ThrowawayHome&) = delete;
    // Names that are not UTF-8 are removed by their bytes.
    ~ThrowawayHome() { std::filesystem::remove_all(path()); }

    std::string path(const std::string& relative = "") const
    {
        return m_dir.path().toStdString() + (relative.empty() ? "" : "/" + relative);
    }

    void write(const std::string& relative, const std::string& text) const { writeDiskFile(path(relative), text); }

    // A prefix at `relative`, used last at `lastUsed`, with Corvane or not.
    void makePrefix(const std::string& relative, bool withHost, long lastUsed = 1700000000) const
    {
        const std::string root = path(relative);
        QDir().mkpath(QString::fromStdString(root + "/drive_c"));
        writeDiskFile(root + "/system.reg",
                      std::string("WINE REGISTRY Version 2\n\n")
                          + (withHost ? "[Software\\\\Classes\\\\CRV5.Image\\\\shell\\\\open\\\\command] 1\n"
                                        "@=\"C:\\\\Corvane\\\\Corvane.exe %1\"\n"
                                      : ""));
        writeDiskFile(root + "/user.reg", "WINE REGISTRY Version 2\n");
        const utimbuf times{lastUsed, lastUsed};
        ::utime((root + "/user.reg").c_str(), &times);
    }

    PrefixSearch::Places places(const std::string& winePrefixes = "") const { return {path(), winePrefixes, "", ""}; }

    // Lutris's database with one row per game: config path, name, folder.
    void writeLutrisDatabase(const std::string& relative, const std::vector<std::array<std::string, 3>>& games) const
    {
        QDir().mkpath(QString::fromStdString(path(relative)).section('/', 0, -2));
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(path(relative).c_str(), &db), SQLITE_OK);
        std::string sql = "CREATE TABLE games (id INTEGER PRIMARY KEY, name TEXT, slug TEXT, directory TEXT, "
                          "configpath TEXT, runner TEXT);";
        for (const auto& [configPath, name, directory] : games)
            sql += "INSERT INTO games (name, slug, directory, configpath, runner) VALUES ('" + name + "', '"
                + configPath + "', '" + directory + "', '" + configPath + "', 'wine');";
        EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(db);
    }

private:
    QTemporaryDir m_dir;
};

// One layout of one front-end: how the home is written, which XDG folders
// are set, and each prefix found as "label [selector] = path".
struct LayoutRow {
    const char* layout;
    std::function<void(const ThrowawayHome&)> write;
    std::string xdgDataHome;
    std::string xdgConfigHome;
    std::vector<std::string> found;
};

void expectLayouts(const std::vector<LayoutRow>& rows)
{
    for (const LayoutRow& row : rows) {
        SCOPED_TRACE(row.layout);
        ThrowawayHome home;
        row.write(home);
        PrefixSearch::Places places = home.places();
        if (!row.xdgDataHome.empty())
            places.xdgDataHome = home.path(row.xdgDataHome);
        if (!row.xdgConfigHome.empty())
            places.xdgConfigHome = home.path(row.xdgConfigHome);
        std::vector<std::string> found;
        for (const PrefixSearch::Prefix& p : PrefixSearch::FindPrefixes(places))
            found.push_back(p.label() + " [" + p.selector() + "] = "
                            + (p.path.rfind(home.path(), 0) == 0 ? "~" + p.path.substr(home.path().size()) : p.path));
        EXPECT_EQ(found, row.found);
    }
}

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
    home.makePrefix(".cxgames/EVE Online", false);
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
                  "CrossOver: EVE Online = ~/.cxgames/EVE Online",
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
    EXPECT_TRUE(PrefixSearch::FindPrefixes(PrefixSearch::Places{home.path("nowhere"), "", "", ""}).empty());
}

TEST(PrefixSearch, MostRecentlyUsedIsPreselected)
{
    std::vector<PrefixSearch::Prefix> prefixes
        = {{"a", "", "/a", 100, ""}, {"b", "", "/b", 300, ""}, {"c", "", "/c", 200, ""}};
    EXPECT_EQ(MostRecentlyUsed(prefixes), 1u);
    EXPECT_EQ(
        PrefixSearch::SteamLibraries("\"libraryfolders\" { \"0\" { \"path\" \"/x\" \"apps\" { \"path\" \"/no\" } } }"),
        std::vector<std::string>{"/x"});
}

TEST(PrefixSearch, BottlesLayouts)
{
    expectLayouts({
        {"a bottle in the default folder, named in bottle.yml",
         [](const ThrowawayHome& h) {
             h.makePrefix(".local/share/bottles/bottles/art-1", false);
             h.write(".local/share/bottles/bottles/art-1/bottle.yml", "Name: Art Studio\nPath: art-1\n");
         },
         "",
         "",
         {"Bottles: Art Studio [bottles:Art Studio] = ~/.local/share/bottles/bottles/art-1"}},
        {"a bottle kept at its own path: only placeholder.yml is left in the bottles folder",
         [](const ThrowawayHome& h) {
             h.makePrefix("Games/Paint Bottle", false);
             h.write("Games/Paint Bottle/bottle.yml", "Name: Paint\nCustom_Path: true\n");
             h.write(".local/share/bottles/bottles/Paint/placeholder.yml",
                     "Path: " + h.path("Games/Paint Bottle") + "\n");
         },
         "",
         "",
         {"Bottles: Paint [bottles:Paint] = ~/Games/Paint Bottle"}},
        {"$XDG_DATA_HOME and custom_bottles_path",
         [](const ThrowawayHome& h) {
             h.makePrefix("data/bottles/bottles/one", false);
             h.makePrefix("Elsewhere/two", false);
             h.write("data/bottles/data.yml", "custom_bottles_path: ~/Elsewhere\n");
             h.makePrefix(".local/share/bottles/bottles/ignored", false);
         },
         "data",
         "",
         {"Bottles: one [bottles:one] = ~/data/bottles/bottles/one", "Bottles: two [bottles:two] = ~/Elsewhere/two"}},
        {"the Flatpak",
         [](const ThrowawayHome& h) {
             h.makePrefix(".var/app/com.usebottles.bottles/data/bottles/bottles/Flat", false);
         },
         "",
         "",
         {"Bottles: Flat [bottles:Flat] = ~/.var/app/com.usebottles.bottles/data/bottles/bottles/Flat"}},
    });
}

TEST(PrefixSearch, LutrisLayouts)
{
    expectLayouts({
        {"a game's prefix, named in Lutris's database",
         [](const ThrowawayHome& h) {
             h.makePrefix("Games/corvane", false);
             h.write(".config/lutris/games/corvane-5-1700000000.yml",
                     "game:\n  exe: x.exe\n  prefix: ~/Games/corvane\n");
             h.writeLutrisDatabase(".local/share/lutris/pga.db",
                                   {{"corvane-5-1700000000", "Corvane 5", h.path("Games/corvane")}});
         },
         "",
         "",
         {"Lutris: Corvane 5 [lutris:corvane-5-1700000000] = ~/Games/corvane"}},
        {"no prefix: the folder above the exe with drive_c and user.reg",
         [](const ThrowawayHome& h) {
             h.makePrefix("Games/paint/prefix", false);
             h.write("Games/paint/prefix/drive_c/Paint/paint.exe", "");
             h.write(".local/share/lutris/games/paint-1.yml",
                     "game:\n  exe: " + h.path("Games/paint/prefix/drive_c/Paint/paint.exe") + "\n");
         },
         "",
         "",
         {"Lutris: paint-1 [lutris:paint-1] = ~/Games/paint/prefix"}},
        {"a relative prefix, from the game's folder; never from the working folder",
         [](const ThrowawayHome& h) {
             h.makePrefix("Games/sketch/pfx", false);
             h.write("cfg/lutris/games/sketch-2.yml", "game:\n  prefix: pfx\n");
             h.write("cfg/lutris/games/lost-3.yml", "game:\n  prefix: pfx\n");
             h.writeLutrisDatabase("data/lutris/pga.db", {{"sketch-2", "Sketch", h.path("Games/sketch")}});
             ::chdir(h.path("Games/sketch").c_str());
         },
         "data",
         "cfg",
         {"Lutris: Sketch [lutris:sketch-2] = ~/Games/sketch/pfx"}},
        {"a database that is no database",
         [](const ThrowawayHome& h) {
             h.makePrefix("Games/x", false);
             h.write(".config/lutris/games/x-4.yml", "game:\n  prefix: ~/Games/x\n");
             h.write(".local/share/lutris/pga.db", "not a database");
         },
         "",
         "",
         {"Lutris: x-4 [lutris:x-4] = ~/Games/x"}},
        {"a database larger than any of Lutris's",
         [](const ThrowawayHome& h) {
             h.makePrefix("Games/y", false);
             h.write(".config/lutris/games/y-5.yml", "game:\n  prefix: ~/Games/y\n");
             h.writeLutrisDatabase(".local/share/lutris/pga.db", {{"y-5", "Too Big", h.path("Games/y")}});
             ::truncate(h.path(".local/share/lutris/pga.db").c_str(), off_t(17) << 20);
         },
         "",
         "",
         {"Lutris: y-5 [lutris:y-5] = ~/Games/y"}},
        {"a database in a folder whose name is not UTF-8",
         [](const ThrowawayHome& h) {
             h.makePrefix("Games/z", false);
             h.write("cfg/lutris/games/z-6.yml", "game:\n  prefix: ~/Games/z\n");
             h.writeLutrisDatabase("data/lutris/pga.db", {{"z-6", "Zed", h.path("Games/z")}});
             ::rename(h.path("data").c_str(), h.path("data\xff").c_str());
         },
         "data\xff",
         "cfg",
         {"Lutris: Zed [lutris:z-6] = ~/Games/z"}},
    });
    QDir::setCurrent(QDir::tempPath());
}

TEST(PrefixSearch, HeroicLayouts)
{
    expectLayouts({
        {"Proton and Wine by wineVersion.type, titled from the library caches",
         [](const ThrowawayHome& h) {
             h.makePrefix("Heroic/Prefixes/Sketch/pfx", false);
             h.makePrefix("Heroic/Prefixes/Paint", false);
             h.write(
                 ".config/heroic/GamesConfig/a1b2.json",
                 "{\"a1b2\": {\"winePrefix\": \"~/Heroic/Prefixes/Sketch\", \"wineVersion\": {\"type\": \"proton\"}}}");
             h.write(
                 ".config/heroic/GamesConfig/1207.json",
                 "{\"1207\": {\"winePrefix\": \"~/Heroic/Prefixes/Paint\", \"wineVersion\": {\"type\": \"wine\"}}}");
             h.write(".config/heroic/store_cache/legendary_library.json",
                     "{\"library\": [{\"app_name\": \"a1b2\", \"title\": \"Sketch Book\"}]}");
             h.write(".config/heroic/store_cache/gog_library.json",
                     "{\"games\": [{\"app_name\": \"1207\", \"title\": \"Paint Pro\"}]}");
         },
         "",
         "",
         {"Heroic: Paint Pro [heroic:1207] = ~/Heroic/Prefixes/Paint",
          "Heroic: Sketch Book [heroic:a1b2] = ~/Heroic/Prefixes/Sketch/pfx"}},
        {"configurations from before wineVersion.type: Proton by its name or its binary; $XDG_CONFIG_HOME",
         [](const ThrowawayHome& h) {
             h.makePrefix("P/named/pfx", false);
             h.makePrefix("P/binary/pfx", false);
             h.makePrefix("P/wine", false);
             h.write(
                 "conf/heroic/GamesConfig/old.json",
                 "{\"named\": {\"winePrefix\": \"~/P/named\", \"wineVersion\": {\"name\": \"Proton - Proton 7.0\"}},"
                 " \"binary\": {\"winePrefix\": \"~/P/binary\", \"wineVersion\": {\"bin\": \"/s/Proton 8.0/proton\"}},"
                 " \"wine\": {\"winePrefix\": \"~/P/wine\", \"wineVersion\": {\"name\": \"Wine - Wine-GE\", \"bin\": "
                 "\"/usr/bin/wine\"}}}");
             h.write("conf/heroic/sideload_apps/library.json",
                     "{\"games\": [{\"app_name\": \"wine\", \"title\": \"Side Loaded\"}]}");
         },
         "",
         "conf",
         {"Heroic: binary [heroic:binary] = ~/P/binary/pfx", "Heroic: named [heroic:named] = ~/P/named/pfx",
          "Heroic: Side Loaded [heroic:wine] = ~/P/wine"}},
    });
}

TEST(PrefixSearch, SteamLayouts)
{
    const auto library
        = [](const ThrowawayHome& h, const std::string& apps, const std::string& id, const std::string& name) {
              h.makePrefix(apps + "/compatdata/" + id + "/pfx", false);
              if (!name.empty())
                  h.write(apps + "/appmanifest_" + id + ".acf",
                          "\"AppState\"\n{\n\t\"appid\"\t\t\"" + id + "\"\n\t\"name\"\t\t\"" + name + "\"\n}\n");
          };
    expectLayouts({
        {"today's libraryfolders.vdf, names from the app manifests",
         [&](const ThrowawayHome& h) {
             library(h, ".local/share/Steam/steamapps", "1234", "Corvane 5");
             library(h, "Lib/steamapps", "5678", "");
             h.write(".local/share/Steam/steamapps/libraryfolders.vdf",
                     "\"libraryfolders\"\n{\n\t\"0\"\n\t{\n\t\t\"path\"\t\t\"" + h.path(".local/share/Steam")
                         + "\"\n\t}\n\t\"1\"\n\t{\n\t\t\"path\"\t\t\"" + h.path("Lib")
                         + "\"\n\t\t\"apps\"\n\t\t{\n\t\t\t\"5678\"\t\t\"0\"\n\t\t}\n\t}\n}\n");
         },
         "",
         "",
         {"Steam: Corvane 5 [steam:1234] = ~/.local/share/Steam/steamapps/compatdata/1234/pfx",
          "Steam: app 5678 [steam:5678] = ~/Lib/steamapps/compatdata/5678/pfx"}},
        {"the old LibraryFolders format and the SteamApps spelling",
         [&](const ThrowawayHome& h) {
             library(h, "Old/SteamApps", "42", "Old Game");
             h.write(
                 ".local/share/Steam/steamapps/libraryfolders.vdf",
                 "\"LibraryFolders\"\n{\n\t\"TimeNextStatsReport\"\t\t\"1700000000\"\n\t\"ContentStatsID\"\t\t\"-1\"\n"
                 "\t\"1\"\t\t\""
                     + h.path("Old") + "\"\n}\n");
         },
         "",
         "",
         {"Steam: Old Game [steam:42] = ~/Old/SteamApps/compatdata/42/pfx"}},
        {"the transitional format, read from config/",
         [&](const ThrowawayHome& h) {
             library(h, "Mid/steamapps", "77", "");
             h.write(".local/share/Steam/config/libraryfolders.vdf",
                     "\"libraryfolders\"\n{\n\t\"contentstatsid\"\t\t\"-1\"\n\t\"1\"\n\t{\n\t\t\"path\"\t\t\""
                         + h.path("Mid") + "\"\n\t\t\"label\"\t\t\"\"\n\t\t\"mounted\"\t\t\"1\"\n\t}\n}\n");
         },
         "",
         "",
         {"Steam: app 77 [steam:77] = ~/Mid/steamapps/compatdata/77/pfx"}},
        {"the Snap package's folders",
         [&](const ThrowawayHome& h) {
             library(h, "snap/steam/common/.local/share/Steam/steamapps", "1", "");
             library(h, ".snap/data/steam/common/.local/share/Steam/steamapps", "2", "");
         },
         "",
         "",
         {"Steam: app 1 [steam:1] = ~/snap/steam/common/.local/share/Steam/steamapps/compatdata/1/pfx",
          "Steam: app 2 [steam:2] = ~/.snap/data/steam/common/.local/share/Steam/steamapps/compatdata/2/pfx"}},
        {"the beta client, reached through ~/.steam/steambeta",
         [&](const ThrowawayHome& h) {
             library(h, "SteamBeta/steamapps", "3", "Beta Game");
             QDir().mkpath(QString::fromStdString(h.path(".steam")));
             QFile::link(QString::fromStdString(h.path("SteamBeta")),
                         QString::fromStdString(h.path(".steam/steambeta")));
         },
         "",
         "",
         {"Steam: Beta Game [steam:3] = ~/.steam/steambeta/steamapps/compatdata/3/pfx"}},
    });
}

// What the search reads may be anything: it is passed over without a hang,
// a crash or a write, and names that are not UTF-8 are found and shown.
TEST(PrefixSearch, OddFilesAndNames)
{
    expectLayouts({
        {"a FIFO, a huge file, a link loop and an unreadable file where configurations belong",
         [](const ThrowawayHome& h) {
             h.makePrefix(".local/share/bottles/bottles/fifo", false);
             ::mkfifo(h.path(".local/share/bottles/bottles/fifo/bottle.yml").c_str(), 0644);
             ::mkfifo(h.path(".local/share/bottles/data.yml").c_str(), 0644);
             h.write(".config/lutris/games/huge.yml", "game:\n  prefix: ~/nowhere\n" + std::string(5 << 20, '#'));
             QDir().mkpath(QString::fromStdString(h.path(".config/heroic/GamesConfig")));
             QFile::link(QString::fromStdString(h.path(".config/heroic/GamesConfig/loop.json")),
                         QString::fromStdString(h.path(".config/heroic/GamesConfig/loop.json")));
             QDir().mkpath(QString::fromStdString(h.path(".local/share/Steam/steamapps")));
             ::mkfifo(h.path(".local/share/Steam/steamapps/libraryfolders.vdf").c_str(), 0644);
             h.makePrefix(".local/share/wineprefixes/loop", false);
             QFile::link(QString::fromStdString(h.path(".local/share/wineprefixes/loop/drive_c/self")),
                         QString::fromStdString(h.path(".local/share/wineprefixes/loop/drive_c/self")));
         },
         "",
         "",
         {"winetricks: loop [winetricks:loop] = ~/.local/share/wineprefixes/loop",
          "Bottles: fifo [bottles:fifo] = ~/.local/share/bottles/bottles/fifo"}},
        {"a folder name that is not UTF-8",
         [](const ThrowawayHome& h) {
             // Made with the bytes as they are: Qt would take the name as UTF-8.
             const std::string root = h.path(".local/share/wineprefixes/caf\xe9");
             QDir().mkpath(QString::fromStdString(h.path(".local/share/wineprefixes")));
             ::mkdir(root.c_str(), 0755);
             ::mkdir((root + "/drive_c").c_str(), 0755);
             std::ofstream(root + "/system.reg") << "WINE REGISTRY Version 2\n";
         },
         "",
         "",
         {"winetricks: caf\\xe9 [winetricks:caf\\xe9] = ~/.local/share/wineprefixes/caf\xe9"}},
    });
}
