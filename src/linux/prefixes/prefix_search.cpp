#include "linux/prefixes/prefix_search.h"

#include "platform/char_case.h"
#include "platform/linux/plain_file.h"
#include "platform/linux/process_environment.h"
#include "platform/linux/utf8.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <yaml-cpp/yaml.h>

#include <sqlite3.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace PrefixSearch {
namespace {

// Limits that fit what the front-ends' files really hold, with room to spare.
constexpr std::uint64_t kFrontEndFileLimit = std::uint64_t(4) << 20; // settings, manifests, library caches
constexpr std::uint64_t kFrontEndDatabaseLimit = std::uint64_t(16) << 20; // Lutris's pga.db

bool isFolder(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool isPlainFile(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// The entries of `folder` for which `keep` holds, by name (bytes, as the
// file system has them).
std::vector<std::string> entriesOf(const std::string& folder, const std::function<bool(const std::string&)>& keep)
{
    std::vector<std::string> names;
    if (DIR* dir = ::opendir(folder.c_str())) {
        while (const dirent* entry = ::readdir(dir)) {
            const std::string name = entry->d_name;
            if (name != "." && name != ".." && keep(folder + "/" + name))
                names.push_back(name);
        }
        ::closedir(dir);
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> subfolders(const std::string& folder)
{
    return entriesOf(folder, isFolder);
}

std::vector<std::string> filesEndingIn(const std::string& folder, const std::string& suffix)
{
    std::vector<std::string> paths;
    for (const std::string& name : entriesOf(folder, isPlainFile))
        if (name.size() > suffix.size() && name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0)
            paths.push_back(folder + "/" + name);
    return paths;
}

// A front-end's file, or nothing for one that is missing, no plain file or
// too large to be one of theirs.
std::string readText(const std::string& path)
{
    return ReadPlainFile(path, kFrontEndFileLimit).bytes;
}

// A YAML file's root, or a null node when it is missing or malformed.
YAML::Node loadYaml(const std::string& path)
{
    const std::string text = readText(path);
    if (text.empty())
        return YAML::Node();
    try {
        return YAML::Load(text);
    } catch (const YAML::Exception&) {
        return YAML::Node();
    }
}

std::string textAt(const YAML::Node& node, const char* const* key, const char* const* end)
{
    if (key == end)
        return node.IsScalar() ? node.as<std::string>() : std::string();
    if (!node.IsMap())
        return {};
    const YAML::Node child = node[*key];
    return child ? textAt(child, key + 1, end) : std::string();
}

// The text at `keys` below `root`, or empty when anything on the way is
// missing or of another kind.
std::string yamlText(const YAML::Node& root, std::initializer_list<const char*> keys)
{
    try {
        return root ? textAt(root, keys.begin(), keys.end()) : std::string();
    } catch (const YAML::Exception&) {
        return {};
    }
}

QJsonDocument loadJson(const std::string& path)
{
    return QJsonDocument::fromJson(QByteArray::fromStdString(readText(path)));
}

std::string lastComponent(const std::string& path)
{
    return path.substr(path.find_last_of('/') + 1);
}

std::string parentOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos || slash == 0 ? std::string() : path.substr(0, slash);
}

std::string baseName(const std::string& path)
{
    const std::string file = lastComponent(path);
    return file.substr(0, file.rfind('.'));
}

// Visits the keys of a Valve KeyValues text (.vdf, .acf) that have a
// string value, with their depth: 1 inside the root block.
void forEachKeyValue(const std::string& text,
                     const std::function<void(int, const std::string&, const std::string&)>& visit)
{
    int depth = 0;
    std::optional<std::string> key;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '{' || c == '}') {
            depth += c == '{' ? 1 : -1;
            key.reset();
        } else if (c == '"') {
            std::string token;
            for (++i; i < text.size() && text[i] != '"'; ++i) {
                if (text[i] == '\\' && i + 1 < text.size())
                    ++i;
                token += text[i];
            }
            if (!key) {
                key = std::move(token);
            } else {
                visit(depth, *key, token);
                key.reset();
            }
        }
    }
}

bool isNumber(const std::string& text)
{
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool containsIgnoringCase(const QString& text, const char* word)
{
    return text.contains(QLatin1String(word), Qt::CaseInsensitive);
}

class Collector {
public:
    explicit Collector(const Places& places)
        : m_home(places.home)
    {
    }

    void add(const std::string& source, const std::string& name, const std::string& path, const std::string& id = {})
    {
        if (path.empty() || !IsWinePrefix(path))
            return;
        struct stat info {};
        if (::stat(path.c_str(), &info) != 0 || !m_seen.insert({info.st_dev, info.st_ino}).second)
            return;
        struct stat userReg {};
        const std::int64_t lastUsed
            = ::stat((path + "/user.reg").c_str(), &userReg) == 0 ? std::int64_t(userReg.st_mtime) : 0;
        m_found.push_back({source, name, path, lastUsed, id == name ? std::string() : id});
    }

    // Every prefix directly inside `folder`, named by its folder.
    void addEach(const std::string& source, const std::string& folder)
    {
        for (const std::string& name : subfolders(folder))
            add(source, name, folder + "/" + name);
    }

    // "~" and "~/..." as the shell expands them.
    std::string expandHome(const std::string& path) const
    {
        if (path == "~")
            return m_home;
        if (path.rfind("~/", 0) == 0)
            return m_home + path.substr(1);
        return path;
    }

    std::vector<Prefix> found() { return std::move(m_found); }

private:
    std::string m_home;
    std::set<std::pair<dev_t, ino_t>> m_seen;
    std::vector<Prefix> m_found;
};

// Bottles (bottles/backend/globals.py, managers/manager.py check_bottles):
// bottles live in $XDG_DATA_HOME/bottles/bottles and in data.yml's
// custom_bottles_path; a bottle kept at a path of its own leaves there only
// <name>/placeholder.yml, whose Path names it. Its bottle.yml has its Name.
void addBottles(Collector& collector, const std::string& base)
{
    std::vector<std::string> folders = {base + "/bottles"};
    const std::string custom = yamlText(loadYaml(base + "/data.yml"), {"custom_bottles_path"});
    if (!custom.empty())
        folders.push_back(collector.expandHome(custom));
    for (const std::string& folder : folders) {
        for (const std::string& bottle : subfolders(folder)) {
            std::string path = folder + "/" + bottle;
            const std::string elsewhere = yamlText(loadYaml(path + "/placeholder.yml"), {"Path"});
            if (!elsewhere.empty())
                path = collector.expandHome(elsewhere);
            const std::string name = yamlText(loadYaml(path + "/bottle.yml"), {"Name"});
            collector.add("Bottles", name.empty() ? bottle : name, path);
        }
    }
}

// Lutris's own database (lutris/database/games.py, table "games"): each
// game's name and folder, by the base name of its configuration file.
struct LutrisGame {
    std::string name;
    std::string directory;
};

std::map<std::string, LutrisGame> lutrisGames(const std::string& database)
{
    std::map<std::string, LutrisGame> games;
    PlainFileRead why;
    const int fd = OpenPlainFile(database, kFrontEndDatabaseLimit, why);
    if (fd < 0)
        return games;
    // SQLite opens the file we checked, through its descriptor, whatever
    // bytes its path holds. Read-only and immutable: it takes no lock and
    // writes no journal.
    const std::string uri = "file:/proc/self/fd/" + std::to_string(fd) + "?mode=ro&immutable=1";
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(uri.c_str(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, nullptr) == SQLITE_OK) {
        sqlite3_stmt* query = nullptr;
        if (sqlite3_prepare_v2(db, "SELECT configpath, name, directory FROM games", -1, &query, nullptr) == SQLITE_OK) {
            const auto text = [query](int column) {
                const auto* value = sqlite3_column_text(query, column);
                return value ? std::string(reinterpret_cast<const char*>(value)) : std::string();
            };
            while (sqlite3_step(query) == SQLITE_ROW)
                if (!text(0).empty())
                    games[text(0)] = {text(1), text(2)};
        }
        sqlite3_finalize(query);
    }
    sqlite3_close(db);
    ::close(fd);
    return games;
}

// The prefix Lutris finds for an executable (lutris/util/wine/prefix.py
// find_prefix): the nearest folder above it holding drive_c and user.reg.
std::string prefixAbove(const std::string& executable)
{
    for (std::string folder = parentOf(executable); !folder.empty(); folder = parentOf(folder))
        if (isFolder(folder + "/drive_c") && isPlainFile(folder + "/user.reg"))
            return folder;
    return {};
}

// Lutris (lutris/settings.py: CONFIG_DIR and DATA_DIR under the XDG
// folders, games/<slug>.yml in either): a game's "prefix", "~" expanded, a
// relative one taken from the game's folder as the Wine runner takes it
// (lutris/runners/wine.py prefix_path); without one, the prefix above its
// "exe".
void addLutris(Collector& collector, const std::vector<std::string>& folders,
               const std::map<std::string, LutrisGame>& games)
{
    for (const std::string& folder : folders) {
        for (const std::string& file : filesEndingIn(folder + "/games", ".yml")) {
            const YAML::Node config = loadYaml(file);
            const std::string slug = baseName(file);
            const auto game = games.find(slug);
            const std::string directory = game == games.end() ? std::string() : game->second.directory;
            const auto resolved = [&](const std::string& path) {
                std::string expanded = collector.expandHome(path);
                if (expanded.empty() || expanded.front() == '/')
                    return expanded;
                return directory.empty() ? std::string() : collector.expandHome(directory) + "/" + expanded;
            };
            std::string prefix = resolved(yamlText(config, {"game", "prefix"}));
            if (prefix.empty())
                prefix = prefixAbove(resolved(yamlText(config, {"game", "exe"})));
            const std::string name = game == games.end() || game->second.name.empty() ? slug : game->second.name;
            collector.add("Lutris", name, prefix, slug);
        }
    }
}

// Heroic's game titles, by app name, from its library caches
// (src/backend/constants.ts: store_cache/legendary_library.json,
// gog_library.json, nile_library.json; sideload_apps/library.json; the
// older gog_store/library.json).
std::map<QString, QString> heroicTitles(const std::string& configFolder)
{
    std::map<QString, QString> titles;
    for (const char* file :
         {"/store_cache/legendary_library.json", "/store_cache/gog_library.json", "/store_cache/nile_library.json",
          "/sideload_apps/library.json", "/gog_store/library.json"}) {
        const QJsonObject library = loadJson(configFolder + file).object();
        for (const char* list : {"library", "games"}) {
            const QJsonArray games = library.value(QLatin1String(list)).toArray();
            for (const QJsonValue entry : games) {
                const QJsonObject game = entry.toObject();
                const QString appName = game.value(QStringLiteral("app_name")).toString();
                const QString title = game.value(QStringLiteral("title")).toString();
                if (!appName.isEmpty() && !title.isEmpty())
                    titles.emplace(appName, title);
            }
        }
    }
    return titles;
}

// Heroic (GamesConfig/<app name>.json under $XDG_CONFIG_HOME/heroic): each
// game's winePrefix, with "/pfx" below it for Proton. Configurations written
// before wineVersion.type existed tell Proton by its name or its binary.
void addHeroic(Collector& collector, const std::string& configFolder)
{
    const std::map<QString, QString> titles = heroicTitles(configFolder);
    for (const std::string& file : filesEndingIn(configFolder + "/GamesConfig", ".json")) {
        const QJsonObject games = loadJson(file).object();
        for (auto it = games.begin(); it != games.end(); ++it) {
            const QJsonObject game = it.value().toObject();
            std::string prefix = game.value(QStringLiteral("winePrefix")).toString().toStdString();
            if (prefix.empty())
                continue;
            const QJsonObject wine = game.value(QStringLiteral("wineVersion")).toObject();
            const QString type = wine.value(QStringLiteral("type")).toString();
            const bool proton = type.isEmpty()
                ? containsIgnoringCase(wine.value(QStringLiteral("name")).toString(), "proton")
                    || containsIgnoringCase(wine.value(QStringLiteral("bin")).toString(), "proton")
                : type == QLatin1String("proton");
            if (proton)
                prefix += "/pfx";
            const auto title = titles.find(it.key());
            collector.add("Heroic", (title == titles.end() ? it.key() : title->second).toStdString(),
                          collector.expandHome(prefix), it.key().toStdString());
        }
    }
}

// A Steam library's own folder, spelled "SteamApps" by old clients.
std::string steamApps(const std::string& library)
{
    return isFolder(library + "/steamapps") || !isFolder(library + "/SteamApps") ? library + "/steamapps"
                                                                                 : library + "/SteamApps";
}

// A game's name from its appmanifest_<id>.acf ("AppState" { "name" ... }).
std::string steamGameName(const std::string& apps, const std::string& appId)
{
    std::string name;
    forEachKeyValue(readText(apps + "/appmanifest_" + appId + ".acf"),
                    [&name](int depth, const std::string& key, const std::string& value) {
                        if (depth == 1 && key == "name" && name.empty())
                            name = value;
                    });
    return name;
}

// Steam's Proton (compatdata/<app id>/pfx in each library): the libraries
// that libraryfolders.vdf lists, in steamapps/ or, in newer clients, also
// in config/.
void addSteam(Collector& collector, const std::string& root)
{
    std::vector<std::string> libraries = {root};
    for (const std::string& list : {steamApps(root) + "/libraryfolders.vdf", root + "/config/libraryfolders.vdf"})
        for (const std::string& library : SteamLibraries(readText(list)))
            libraries.push_back(library);
    for (const std::string& library : libraries) {
        const std::string apps = steamApps(library);
        for (const std::string& app : subfolders(apps + "/compatdata")) {
            const std::string name = steamGameName(apps, app);
            collector.add("Steam", name.empty() ? "app " + app : name, apps + "/compatdata/" + app + "/pfx", app);
        }
    }
}

} // namespace

std::string Prefix::label() const
{
    return CharCase::readable(name.empty() ? source : source + ": " + name);
}

std::string Prefix::selector() const
{
    if (name.empty() && id.empty())
        return "wine";
    return QString::fromStdString(source).toLower().toStdString() + ":" + CharCase::readable(id.empty() ? name : id);
}

bool IsWinePrefix(const std::string& folder)
{
    return isPlainFile(folder + "/system.reg") && (isFolder(folder + "/drive_c") || isFolder(folder + "/dosdevices"));
}

std::vector<std::string> SteamLibraries(const std::string& vdfText)
{
    // Today's and the transitional format: a "path" inside each numbered
    // block. The old "LibraryFolders" format: the numbered keys' values.
    std::vector<std::string> libraries;
    forEachKeyValue(vdfText, [&libraries](int depth, const std::string& key, const std::string& value) {
        if ((depth == 2 && key == "path") || (depth == 1 && isNumber(key)))
            libraries.push_back(value);
    });
    return libraries;
}

std::vector<Prefix> FindPrefixes(const Places& places)
{
    Collector collector(places);
    const std::string& home = places.home;
    const std::string dataHome = places.xdgDataHome.empty() ? home + "/.local/share" : places.xdgDataHome;
    const std::string configHome = places.xdgConfigHome.empty() ? home + "/.config" : places.xdgConfigHome;
    collector.add("~/.wine", "", home + "/.wine");

    collector.addEach("winetricks", places.winePrefixes.empty() ? dataHome + "/wineprefixes" : places.winePrefixes);

    addBottles(collector, dataHome + "/bottles");
    addBottles(collector, home + "/.var/app/com.usebottles.bottles/data/bottles");

    const std::string lutrisFlatpak = home + "/.var/app/net.lutris.Lutris";
    std::map<std::string, LutrisGame> games = lutrisGames(dataHome + "/lutris/pga.db");
    games.merge(lutrisGames(lutrisFlatpak + "/data/lutris/pga.db"));
    addLutris(collector,
              {configHome + "/lutris", dataHome + "/lutris", lutrisFlatpak + "/config/lutris",
               lutrisFlatpak + "/data/lutris"},
              games);

    addHeroic(collector, configHome + "/heroic");
    addHeroic(collector, home + "/.var/app/com.heroicgameslauncher.hgl/config/heroic");

    // Steam keeps ~/.local/share/Steam whatever $XDG_DATA_HOME says; the
    // Snap package keeps its own home below ~/snap or ~/.snap/data. Its beta
    // client is reached through ~/.steam/steambeta instead of ~/.steam/steam
    // (Valve's launcher script, bin_steam.sh, setup_variables():
    // STEAMDATALINK="$STEAMCONFIG/$STEAMPACKAGE", the package being "steam"
    // or "steambeta").
    for (const std::string& root :
         {home + "/.steam/steam", home + "/.steam/steambeta", home + "/.local/share/Steam",
          home + "/.var/app/com.valvesoftware.Steam/.local/share/Steam", home + "/snap/steam/common/.local/share/Steam",
          home + "/.snap/data/steam/common/.local/share/Steam"})
        addSteam(collector, root);

    collector.addEach("PlayOnLinux", home + "/.PlayOnLinux/wineprefix");
    collector.addEach("Phoenicis", home + "/.Phoenicis/containers/wineprefix");
    collector.addEach("CrossOver", home + "/.cxoffice");
    // CrossOver Games (/opt/cxgames, sold until 2011) kept its bottles apart,
    // as its loader's log shows: "Starting '/opt/cxgames/bin/wineloader' ...
    // '/home/kevin/.cxgames/EVE Online/dosdevices/c:/Program Files/...'"
    // (WineHQ forum, "Eve Online freezing", 2010-06-06).
    collector.addEach("CrossOver", home + "/.cxgames");
    return collector.found();
}

Places UserPlaces()
{
    // The variables' bytes as they are: a path need not be UTF-8.
    const auto variable = [](const char* name) {
        const char* value = std::getenv(name);
        return std::string(value ? value : "");
    };
    return {HomeFolder(), variable("WINE_PREFIXES"), variable("XDG_DATA_HOME"), variable("XDG_CONFIG_HOME")};
}

} // namespace PrefixSearch
