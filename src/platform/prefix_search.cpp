#include "platform/prefix_search.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

#include <yaml-cpp/yaml.h>

#include <set>
#include <sys/stat.h>

namespace PrefixSearch {
namespace {

bool isFolder(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// The folders inside `folder`, by name.
std::vector<std::string> subfolders(const std::string& folder)
{
    std::vector<std::string> names;
    const QStringList entries
        = QDir(QString::fromStdString(folder)).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& name : entries)
        names.push_back(name.toStdString());
    return names;
}

std::vector<std::string> filesEndingIn(const std::string& folder, const char* suffix)
{
    std::vector<std::string> paths;
    const QDir dir(QString::fromStdString(folder));
    for (const QString& name : dir.entryList({QStringLiteral("*") + QLatin1String(suffix)}, QDir::Files, QDir::Name))
        paths.push_back(dir.filePath(name).toStdString());
    return paths;
}

std::string readText(const std::string& path)
{
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll().toStdString();
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

std::string lastComponent(const std::string& path)
{
    return path.substr(path.find_last_of('/') + 1);
}

std::string baseName(const std::string& path)
{
    const std::string file = lastComponent(path);
    return file.substr(0, file.rfind('.'));
}

class Collector {
public:
    explicit Collector(const Places& places)
        : m_home(places.home)
    {
    }

    void add(const std::string& source, const std::string& name, const std::string& path)
    {
        if (path.empty() || !IsWinePrefix(path))
            return;
        struct stat info {};
        if (::stat(path.c_str(), &info) != 0 || !m_seen.insert({info.st_dev, info.st_ino}).second)
            return;
        struct stat userReg {};
        const std::int64_t lastUsed
            = ::stat((path + "/user.reg").c_str(), &userReg) == 0 ? std::int64_t(userReg.st_mtime) : 0;
        m_found.push_back({source, name, path, lastUsed});
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

    const std::string& home() const { return m_home; }
    std::vector<Prefix> found() { return std::move(m_found); }

private:
    std::string m_home;
    std::set<std::pair<dev_t, ino_t>> m_seen;
    std::vector<Prefix> m_found;
};

void addBottles(Collector& collector, const std::string& base)
{
    std::vector<std::string> folders = {base + "/bottles"};
    const std::string custom = yamlText(loadYaml(base + "/data.yml"), {"custom_bottles_path"});
    if (!custom.empty())
        folders.push_back(collector.expandHome(custom));
    for (const std::string& folder : folders) {
        for (const std::string& bottle : subfolders(folder)) {
            const std::string path = folder + "/" + bottle;
            const std::string name = yamlText(loadYaml(path + "/bottle.yml"), {"Name"});
            collector.add("Bottles", name.empty() ? bottle : name, path);
        }
    }
}

void addLutris(Collector& collector, const std::string& configFolder)
{
    for (const std::string& file : filesEndingIn(configFolder + "/games", ".yml")) {
        const std::string prefix = yamlText(loadYaml(file), {"game", "prefix"});
        if (!prefix.empty())
            collector.add("Lutris", baseName(file), collector.expandHome(prefix));
    }
}

void addHeroic(Collector& collector, const std::string& configFolder)
{
    for (const std::string& file : filesEndingIn(configFolder + "/GamesConfig", ".json")) {
        const QJsonDocument document = QJsonDocument::fromJson(QByteArray::fromStdString(readText(file)));
        const QJsonObject games = document.object();
        for (auto it = games.begin(); it != games.end(); ++it) {
            const QJsonObject game = it.value().toObject();
            std::string prefix = game.value(QStringLiteral("winePrefix")).toString().toStdString();
            if (prefix.empty())
                continue;
            const QString type
                = game.value(QStringLiteral("wineVersion")).toObject().value(QStringLiteral("type")).toString();
            if (type == QLatin1String("proton"))
                prefix += "/pfx";
            collector.add("Heroic", it.key().toStdString(), collector.expandHome(prefix));
        }
    }
}

void addSteam(Collector& collector, const std::string& root)
{
    std::vector<std::string> libraries = {root};
    for (const std::string& library : SteamLibraries(readText(root + "/steamapps/libraryfolders.vdf")))
        libraries.push_back(library);
    for (const std::string& library : libraries) {
        const std::string compatData = library + "/steamapps/compatdata";
        for (const std::string& app : subfolders(compatData))
            collector.add("Steam", "app " + app, compatData + "/" + app + "/pfx");
    }
}

} // namespace

std::string Prefix::label() const
{
    return name.empty() ? source : source + ": " + name;
}

std::string Prefix::selector() const
{
    if (name.empty())
        return "wine";
    std::string tag = QString::fromStdString(source).toLower().toStdString();
    const bool steamApp = source == "Steam" && name.rfind("app ", 0) == 0;
    return tag + ":" + (steamApp ? name.substr(4) : name);
}

bool IsWinePrefix(const std::string& folder)
{
    return QFileInfo(QString::fromStdString(folder + "/system.reg")).isFile()
        && (isFolder(folder + "/drive_c") || isFolder(folder + "/dosdevices"));
}

std::vector<std::string> SteamLibraries(const std::string& vdfText)
{
    // KeyValues text: quoted tokens and braces. A library is the value of a
    // "path" key one level inside the root block.
    std::vector<std::string> libraries;
    int depth = 0;
    std::string pendingKey;
    for (std::size_t i = 0; i < vdfText.size(); ++i) {
        const char c = vdfText[i];
        if (c == '{') {
            ++depth;
            pendingKey.clear();
        } else if (c == '}') {
            --depth;
            pendingKey.clear();
        } else if (c == '"') {
            std::string token;
            for (++i; i < vdfText.size() && vdfText[i] != '"'; ++i) {
                if (vdfText[i] == '\\' && i + 1 < vdfText.size())
                    ++i;
                token += vdfText[i];
            }
            if (pendingKey.empty()) {
                pendingKey = token;
            } else {
                if (depth == 2 && pendingKey == "path")
                    libraries.push_back(token);
                pendingKey.clear();
            }
        }
    }
    return libraries;
}

std::vector<Prefix> FindPrefixes(const Places& places)
{
    Collector collector(places);
    const std::string& home = places.home;
    collector.add("~/.wine", "", home + "/.wine");

    const std::string dataHome = places.xdgDataHome.empty() ? home + "/.local/share" : places.xdgDataHome;
    collector.addEach("winetricks", places.winePrefixes.empty() ? dataHome + "/wineprefixes" : places.winePrefixes);

    addBottles(collector, home + "/.local/share/bottles");
    addBottles(collector, home + "/.var/app/com.usebottles.bottles/data/bottles");

    addLutris(collector, home + "/.config/lutris");
    addLutris(collector, home + "/.local/share/lutris");
    addLutris(collector, home + "/.var/app/net.lutris.Lutris/config/lutris");
    addLutris(collector, home + "/.var/app/net.lutris.Lutris/data/lutris");

    addHeroic(collector, home + "/.config/heroic");
    addHeroic(collector, home + "/.var/app/com.heroicgameslauncher.hgl/config/heroic");

    addSteam(collector, home + "/.steam/steam");
    addSteam(collector, home + "/.local/share/Steam");
    addSteam(collector, home + "/.var/app/com.valvesoftware.Steam/.local/share/Steam");

    collector.addEach("PlayOnLinux", home + "/.PlayOnLinux/wineprefix");
    collector.addEach("Phoenicis", home + "/.Phoenicis/containers/wineprefix");
    collector.addEach("CrossOver", home + "/.cxoffice");
    return collector.found();
}

Places UserPlaces()
{
    return {QDir::homePath().toStdString(), qEnvironmentVariable("WINE_PREFIXES").toStdString(),
            qEnvironmentVariable("XDG_DATA_HOME").toStdString()};
}

} // namespace PrefixSearch
