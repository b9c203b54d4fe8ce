// Puts the same generated questions to Wine itself and to Quillop's platform
// layer, about the same generated tree of files and folders in a prefix made
// by wineboot, and the same registry values: stored names, hashed aliases,
// existence with patterns, long-path expansion, the Linux file a Windows
// path lands on, and the registry read. Prints every disagreement; fails on
// any that is not one of the documented choices listed below.
//
//   wine_differential PROBE.EXE WINE64 WINESERVER SEED...
#include "host/path_canonicalizer.h"
#include "platform/char_case.h"
#include "platform/file_lookup.h"
#include "platform/linux/ansi_code_page.h"
#include "platform/linux/dos_path.h"
#include "platform/linux/registry_files.h"
#include "platform/linux/short_name.h"
#include "platform/linux/utf8.h"
#include "platform/linux/wine_prefix.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include <iostream>
#include <map>
#include <optional>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string g_probe, g_wine, g_wineserver;

std::string hexOf(const std::string& bytes)
{
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (unsigned char c : bytes) {
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

std::string bytesOfHex(const std::string& hex)
{
    std::string out;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        out += char(std::stoi(hex.substr(i, 2), nullptr, 16));
    return out;
}

// Shown in reports: bytes as they are, control characters escaped.
std::string shown(const std::optional<std::string>& text)
{
    if (!text)
        return "(none)";
    std::string out = "\"";
    for (unsigned char c : *text) {
        if (c < 32 || c == 127) {
            char buffer[8];
            std::snprintf(buffer, sizeof buffer, "\\x%02x", c);
            out += buffer;
        } else {
            out += char(c);
        }
    }
    return out + "\"";
}

// The locale a program is started in: LC_ALL and LANG, empty when unset.
// Names are compared in UTF-8, Wine's file names in C.UTF-8.
struct Locale {
    std::string lcAll = "C.UTF-8";
    std::string lang;
};

QProcessEnvironment wineEnvironment(const std::string& prefix, const Locale& locale = {})
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"LC_ALL", "LC_CTYPE", "LANG"})
        env.remove(name);
    if (!locale.lcAll.empty())
        env.insert("LC_ALL", QString::fromStdString(locale.lcAll));
    if (!locale.lang.empty())
        env.insert("LANG", QString::fromStdString(locale.lang));
    env.insert("WINEPREFIX", QString::fromStdString(prefix));
    env.insert("WINEDEBUG", "-all");
    env.insert("WINEDLLOVERRIDES", "mscoree,mshtml=;winemenubuilder.exe=d");
    env.remove("DISPLAY");
    return env;
}

bool runWine(const std::string& prefix, const QStringList& arguments, const std::string& input, std::string* output,
             const Locale& locale = {})
{
    QProcess process;
    process.setProcessEnvironment(wineEnvironment(prefix, locale));
    process.start(QString::fromStdString(g_wine), arguments);
    if (!process.waitForStarted(30000))
        return false;
    process.write(input.data(), qint64(input.size()));
    process.closeWriteChannel();
    if (!process.waitForFinished(300000))
        return false;
    if (output)
        *output = process.readAllStandardOutput().toStdString();
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

void waitForWineserver(const std::string& prefix)
{
    QProcess server;
    server.setProcessEnvironment(wineEnvironment(prefix));
    server.start(QString::fromStdString(g_wineserver), {"-w"});
    server.waitForFinished(60000);
}

// --- generated names -----------------------------------------------------

class NameMaker {
public:
    explicit NameMaker(unsigned seed)
        : m_random(seed)
    {
    }

    std::size_t below(std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(m_random); }
    bool chance(int percent) { return int(below(100)) < percent; }

    std::string name()
    {
        static const std::vector<std::string> pieces = {
            "Leaf",
            "vorn",
            "Program",
            "Files",
            "Corvane",
            "README",
            "data",
            "x",
            "AB",
            "q",
            " ",
            " ",
            ".",
            ".",
            "..",
            "-",
            "_",
            "~",
            "1",
            "42",
            "+",
            ",",
            ";",
            "[",
            "]",
            "=",
            "\xc3\xa9",
            "\xc3\x89",
            "\xc3\x9f",
            "\xd0\x96",
            "\xd0\xb6",
            "\xce\xa3",
            "\xcf\x82",
            "\xc4\xb0",
            "\xc4\xb1",
            "\xe2\x84\xaa",
            "\xe4\xb8\xad",
            "\xf0\x9f\x98\x80",
            "\xf0\x90\x90\x80",
            "\xf0\x90\x90\xa8",
            "\xc8\xba",
        };
        static const std::vector<std::string> extensions
            = {".vrn", ".txt", ".tar.gz", ".", "", "", ".VRN", ".jpeg", ".a"};
        std::string out;
        const std::size_t count = 1 + below(4);
        for (std::size_t i = 0; i < count; ++i)
            out += pieces[below(pieces.size())];
        if (chance(15))
            out = "." + out;
        out += extensions[below(extensions.size())];
        if (chance(5))
            out = CharCase::upper(out);
        if (chance(20)) {
            // An 8.3-legal name.
            static const std::vector<std::string> legal = {"INDEX.DAT", "readme", "A.B", "VORNS.CTL", "Leaf1.vrn", "X"};
            out = legal[below(legal.size())];
        }
        // Names Linux cannot hold, or that only name the folder itself.
        if (out.find('/') != std::string::npos || out.find_first_not_of(". ") == std::string::npos)
            out = "dot" + std::to_string(below(1000));
        return out;
    }

    std::mt19937 m_random;
};

struct Entry {
    std::string windowsFolder; // C:\qdiff\...
    std::string hostFolder;
    std::string name;
    bool folder = false;
};

// --- the questions ---------------------------------------------------------

struct Question {
    std::string verb; // find, long, unix, get
    std::string path;
    std::string ours; // "-" or "+\t..." in the probe's answer format
};

std::string answerOf(const std::optional<std::string>& a, const std::optional<std::string>& b = std::nullopt)
{
    if (!a)
        return "-";
    std::string out = "+\t" + hexOf(*a);
    if (b)
        out += "\t" + hexOf(*b);
    return out;
}

bool hasWildcard(const std::string& path)
{
    const std::size_t last = path.rfind('\\');
    return path.find_first_of("*?", last == std::string::npos ? 0 : last) != std::string::npos;
}

std::string oursFind(const std::string& path)
{
    if (hasWildcard(path))
        return FileExists(path) ? "+" : "-";
    const DosPath resolved = DosPath::resolve(path);
    if (!resolved.valid || resolved.endsWithSeparator || !resolved.exists || resolved.finalComponent.empty())
        return "-";
    const std::string alias
        = ShortName::isLegal83(resolved.storedName) ? "" : ShortName::wineAlias(resolved.storedName);
    return answerOf(resolved.storedName, alias);
}

std::string oursLong(const std::string& path)
{
    char expanded[kWorkBufferSize];
    if (path.size() >= kWorkBufferSize || ExpandLongPath(path.c_str(), expanded) != PathResult::ok)
        return "-";
    return answerOf(std::string(expanded));
}

std::string oursUnix(const std::string& path)
{
    const DosPath resolved = DosPath::resolve(path);
    if (!resolved.valid || !resolved.parentExists)
        return "-";
    return answerOf(resolved.hostPath);
}

// A copy of `name` with one UTF-16 unit that is not part of a pair made '?'.
std::optional<std::string> withQuestionMark(NameMaker& maker, const std::string& name)
{
    std::u16string units = QString::fromStdString(name).toStdU16String();
    std::vector<std::size_t> plain;
    for (std::size_t i = 0; i < units.size(); ++i)
        if (units[i] < 0xD800 || units[i] >= 0xE000)
            plain.push_back(i);
    if (plain.empty())
        return std::nullopt;
    units[plain[maker.below(plain.size())]] = u'?';
    return QString::fromStdU16String(units).toStdString();
}

std::vector<Question> pathQuestions(NameMaker& maker, const std::vector<Entry>& entries)
{
    std::vector<Question> questions;
    auto add = [&](const std::string& verb, const std::string& path) { questions.push_back({verb, path, {}}); };
    for (const Entry& e : entries) {
        const std::string full = e.windowsFolder + "\\" + e.name;
        add("find", full);
        add("find", e.windowsFolder + "\\" + CharCase::upper(e.name));
        add("find", e.windowsFolder + "\\" + CharCase::lower(e.name));
        if (!ShortName::isLegal83(e.name)) {
            add("find", e.windowsFolder + "\\" + ShortName::wineAlias(e.name));
            add("find", e.windowsFolder + "\\" + CharCase::lower(ShortName::wineAlias(e.name)));
        }
        add("find", full + ".");
        add("find", full + " ");
        add("find", full + " .");
        if (auto pattern = withQuestionMark(maker, e.name))
            add("find", e.windowsFolder + "\\" + *pattern);
        const QString q = QString::fromStdString(e.name);
        const qsizetype cut = qsizetype(1 + maker.below(std::size_t(std::max<qsizetype>(1, q.size()))));
        if (!q.at(cut - 1).isHighSurrogate())
            add("find", e.windowsFolder + "\\" + q.left(cut).toStdString() + "*");
        if (cut < q.size() && !q.at(cut).isLowSurrogate())
            add("find", e.windowsFolder + "\\*" + q.mid(cut).toStdString());
        add("find",
            e.windowsFolder + "\\"
                + e.name.substr(0, e.name.rfind('.') == std::string::npos ? e.name.size() : e.name.rfind('.')) + ".*");
        if (!ShortName::isLegal83(e.name) && !ShortName::numberedStem(e.name).base.empty()) {
            const ShortName::NumberedStem stem = ShortName::numberedStem(e.name);
            add("find",
                e.windowsFolder + "\\" + stem.base + "~1" + (stem.extension.empty() ? "" : "." + stem.extension));
        }
        add("long",
            e.windowsFolder + "\\"
                + (ShortName::isLegal83(e.name) ? CharCase::lower(e.name) : ShortName::wineAlias(e.name)));
        add("unix", e.windowsFolder + "\\" + CharCase::upper(e.name));
        if (!ShortName::isLegal83(e.name))
            add("unix", e.windowsFolder + "\\" + ShortName::wineAlias(e.name));
        if (e.folder)
            add("unix", e.windowsFolder + "\\" + CharCase::lower(e.name) + "\\New File.vrn");
    }
    for (const char* pattern : {"C:\\?", "C:\\??", "C:\\.*"})
        add("find", pattern);
    for (const std::string& folder : {std::string("C:\\qdiff"), std::string("C:\\qdiff\\sub")}) {
        for (const char* pattern : {"*", "*.*", "*.", "?", "??", ".*", "*.vrn", "*~*", "x*.", "*.VRN."})
            add("find", folder + "\\" + pattern);
        for (int i = 0; i < 20; ++i) {
            add("find", folder + "\\" + maker.name());
            add("unix", folder + "\\" + maker.name());
        }
    }
    return questions;
}

// --- registry values -------------------------------------------------------

struct RegistryValue {
    std::string key;
    std::u16string units;
};

std::u16string randomValue(NameMaker& maker)
{
    static const std::vector<std::u16string> pieces = {
        u"C:\\Program Files\\Corvane 5\\Corvane.exe",
        u" %1",
        u"\"",
        u"\\",
        u"\\\\",
        u"\\x41",
        u"\\0",
        u"%",
        u"\t",
        u"\n",
        u"\r",
        u"\x01",
        u"\x1f",
        u"\x7f",
        u"\u00e9",
        u"\u4e2d",
        u"\u00ff",
        u"\U0001F600",
        u"\U00010400",
        u"[",
        u"]",
        u"=",
        u"@",
        u"#",
        u"\\n",
        u";",
    };
    std::u16string out;
    const std::size_t count = 1 + maker.below(6);
    for (std::size_t i = 0; i < count; ++i)
        out += pieces[maker.below(pieces.size())];
    switch (maker.below(8)) {
    case 0:
        out += char16_t(0xD800 + maker.below(0x400));
        break; // a high half alone
    case 1:
        out.insert(0, 1, char16_t(0xDC00 + maker.below(0x400)));
        break; // a low half alone
    case 2:
        out += u'\0';
        out += u"junk";
        break;
    case 3: {
        // Lengths around the 1,024-byte buffer.
        const std::size_t target = 1018 + maker.below(10);
        const char16_t filler = maker.chance(30) ? u'\u00e9' : u'x';
        while (out.size() + (filler == u'x' ? 0 : out.size()) < target)
            out += filler;
        break;
    }
    default:
        break;
    }
    return out;
}

// A key name as Wine has to escape it in system.reg: letters beyond ASCII
// (a hex digit after one makes its escape four digits long), characters
// beyond the Basic Multilingual Plane, brackets; or plain ASCII.
std::string keyName(NameMaker& maker)
{
    static const std::vector<std::string> pieces = {
        "v",
        "Key",
        "caf\xc3\xa9",
        "Stra\xc3\x9f"
        "e",
        "\xc3\x89t\xc3\xa9",
        "\xd0\x96\xd0\xb6",
        "\xce\xa3\xcf\x82",
        "\xe4\xb8\xad",
        "\xf0\x9f\x98\x80key",
        "\xf0\x90\x90\x80",
        "x[1]",
        "]a[",
        "\xe2\x84\xaa",
    };
    std::string name;
    const std::size_t count = 1 + maker.below(3);
    for (std::size_t i = 0; i < count; ++i)
        name += pieces[maker.below(pieces.size())];
    return name;
}

std::string hexOfUnits(const std::u16string& units)
{
    std::string bytes;
    for (char16_t u : units) {
        bytes += char(u & 0xFF);
        bytes += char(u >> 8);
    }
    return hexOf(bytes);
}

// --- one seed ----------------------------------------------------------------

struct Tally {
    int questions = 0;
    int disagreements = 0;
    int documented = 0;
};

// Why a disagreement is a documented choice, or empty when it is not.
std::string documentedChoice(const Question& q, const std::string& wine)
{
    // Quillop also accepts Windows' numbered aliases (PROGRA~1).
    if (q.verb == "find" && wine == "-" && q.ours != "-") {
        const std::string last = q.path.substr(q.path.rfind('\\') + 1);
        if (!hasWildcard(q.path) && last.find('~') != std::string::npos
            && !CharCase::equalIgnoringCase(last, ShortName::wineAlias(DosPath::resolve(q.path).storedName)))
            return "numbered alias";
    }
    return {};
}

bool runSeed(const std::string& prefix, unsigned seed, Tally& tally)
{
    NameMaker maker(seed);
    const std::string root = prefix + "/drive_c/qdiff";
    QDir(QString::fromStdString(root)).removeRecursively();
    std::vector<Entry> entries;
    std::vector<std::string> twins; // each alias twin as neither spells it
    for (const std::string& sub : {std::string(), std::string("/sub")}) {
        const std::string host = root + sub;
        QDir().mkpath(QString::fromStdString(host));
        std::string windows = "C:\\qdiff";
        if (!sub.empty())
            windows += "\\sub";
        std::set<std::string> made;
        // Two names that share Wine's hashed alias VORN~5J4, in both orders of creation.
        for (const std::string& name : sub.empty() ? std::vector<std::string>{"vorn set 2118", "Vorn set 3002"}
                                                   : std::vector<std::string>{"Vorn set 3002", "vorn set 2118"}) {
            QFile(QString::fromStdString(host + "/" + name)).open(QIODevice::WriteOnly);
            entries.push_back({windows, host, name, false});
            made.insert(name);
        }
        // A long name and a sibling named like its Wine alias: the folder
        // first here, the file first in sub.
        std::string longName = maker.name();
        while (ShortName::isLegal83(longName) || longName == "sub")
            longName = maker.name() + "x";
        const std::string alias = ShortName::wineAlias(longName);
        for (const bool folderNow : sub.empty() ? std::vector<bool>{true, false} : std::vector<bool>{false, true}) {
            const std::string name = folderNow ? longName : alias;
            if (folderNow)
                QDir().mkpath(QString::fromStdString(host + "/" + name));
            else
                QFile(QString::fromStdString(host + "/" + name)).open(QIODevice::WriteOnly);
            entries.push_back({windows, host, name, folderNow});
            made.insert(name);
        }
        twins.push_back(windows + "\\" + CharCase::lower(alias));
        for (int i = 0; i < 40; ++i) {
            std::string name = maker.name();
            if (maker.chance(10) && !made.empty())
                name = CharCase::lower(*made.begin()); // a case twin
            if (!made.insert(name).second || name == "sub")
                continue;
            const bool folder = maker.chance(25);
            const QString path = QString::fromStdString(host + "/" + name);
            if (folder)
                QDir().mkpath(path);
            else
                QFile(path).open(QIODevice::WriteOnly);
            entries.push_back({windows, host, name, folder});
        }
    }
    std::vector<Question> questions = pathQuestions(maker, entries);
    for (const std::string& twin : twins) {
        questions.push_back({"find", twin, {}});
        questions.push_back({"long", twin, {}});
        questions.push_back({"unix", twin + "\\New File.vrn", {}});
    }

    std::vector<RegistryValue> values;
    std::string input;
    for (int i = 0; i < 60; ++i) {
        values.push_back(
            {"QuillopProbe\\s" + std::to_string(seed) + "\\" + keyName(maker) + std::to_string(i), randomValue(maker)});
        input += "set\t" + values.back().key + "\t" + hexOfUnits(values.back().units) + "\n";
    }
    // Each key asked for as set, or in another letter case.
    std::vector<std::string> askedKeys;
    for (const RegistryValue& v : values) {
        const std::size_t spelling = maker.below(3);
        askedKeys.push_back(spelling == 0 ? v.key : spelling == 1 ? CharCase::upper(v.key) : CharCase::lower(v.key));
    }
    for (const Question& q : questions)
        input += q.verb + "\t" + q.path + "\n";
    for (const std::string& key : askedKeys)
        input += "get\t" + key + "\n";

    std::string output;
    if (!runWine(prefix, {QString::fromStdString(g_probe)}, input, &output)) {
        std::cerr << "the probe did not run under wine\n";
        return false;
    }
    waitForWineserver(prefix);

    std::istringstream lines(output);
    std::string line;
    for (std::size_t i = 0; i < values.size(); ++i) {
        std::getline(lines, line); // the answers to "set"
        if (line.rfind('+', 0) != 0)
            std::cerr << "wine refused to set " << values[i].key << "\n";
    }
    const WinePrefix winePrefix(prefix);
    WinePrefix::use(prefix);
    for (Question& q : questions) {
        if (q.verb == "find")
            q.ours = oursFind(q.path);
        else if (q.verb == "long")
            q.ours = oursLong(q.path);
        else
            q.ours = oursUnix(q.path);
    }
    for (const std::string& key : askedKeys)
        questions.push_back({"get", key, answerOf(Registry::QueryClassesRootDefault(key, winePrefix))});

    for (const Question& q : questions) {
        if (!std::getline(lines, line)) {
            std::cerr << "the probe answered too few questions\n";
            return false;
        }
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        // For a pattern only whether something matches is compared: which
        // match comes first is the file system's order.
        if (q.verb == "find" && hasWildcard(q.path) && line != "-")
            line = "+";
        ++tally.questions;
        if (line == q.ours)
            continue;
        const std::string why = documentedChoice(q, line);
        ++(why.empty() ? tally.disagreements : tally.documented);
        auto decode = [](const std::string& answer) -> std::string {
            if (answer == "-")
                return "(none)";
            std::string out;
            std::istringstream fields(answer.substr(1));
            std::string field;
            while (std::getline(fields, field, '\t'))
                if (!field.empty() || !out.empty())
                    out += (out.empty() ? "" : " | ") + shown(bytesOfHex(field));
            return out.empty() ? "(found)" : out;
        };
        if (!why.empty())
            continue;
        std::cout << "DISAGREE " << q.verb << " " << shown(q.path) << "\n    wine:    " << decode(line)
                  << "\n    quillop: " << decode(q.ours) << "\n";
    }
    return true;
}

// The ANSI code page Wine gives a program started in each locale (the C
// library's own, names it has not got here, names Wine does not know), and
// what becomes of each sample character in it.
bool compareCodePages(const std::string& prefix, Tally& tally)
{
    const Locale locales[] = {
        {"", ""},
        {"C.UTF-8", ""},
        {"", "C.UTF-8"},
        {"", "ru_RU.UTF-8"},
        {"ru_RU.UTF-8", ""},
        {"de_DE.UTF-8", ""},
        {"cs_CZ", ""},
        {"el_GR@euro", ""},
        {"tr_TR", ""},
        {"he_IL.UTF-8", ""},
        {"ar_EG", ""},
        {"et_EE", ""},
        {"vi_VN", ""},
        {"th_TH", ""},
        {"ja_JP.UTF-8", ""},
        {"zh_CN.GB18030", ""},
        {"ko_KR", ""},
        {"zh_TW", ""},
        {"hi_IN", ""},
        {"sr_RS@latin", ""},
        {"ru_UA", ""},
        {"xx_YY", ""},
    };
    std::vector<std::string> samples;
    for (char32_t c = 0x80; c < 0x250; ++c) {
        samples.emplace_back();
        CharCase::appendUtf8(samples.back(), c);
    }
    for (const char* more : {"\u20ac", "\u2122", "\u0416", "\u0436", "\u03a9", "\u05d0", "\u0639", "\u0e01", "\u65e5",
                             "\u4e2d", "\ud55c", "\u00e8", "\U0001f600", "?"})
        samples.emplace_back(more);
    std::string input;
    for (const std::string& sample : samples)
        input += "ansi\t" + sample + "\n";

    for (const Locale& locale : locales) {
        std::string output;
        if (!runWine(prefix, {QString::fromStdString(g_probe)}, input, &output, locale)) {
            std::cerr << "the probe did not run under wine\n";
            return false;
        }
        const unsigned codePage = AnsiCodePage::ofLocaleVariables(locale.lcAll, "", locale.lang);
        std::istringstream lines(output);
        std::string line;
        for (const std::string& sample : samples) {
            std::getline(lines, line);
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            const auto bytes = AnsiCodePage::encode(sample, codePage);
            const std::string ours = "+\t" + hexOf(std::to_string(codePage)) + (bytes ? "\t" + hexOf(*bytes) : "");
            ++tally.questions;
            if (line == ours)
                continue;
            ++tally.disagreements;
            std::cout << "DISAGREE ansi " << shown(sample) << " with LC_ALL=" << locale.lcAll << " LANG=" << locale.lang
                      << "\n    wine:    " << line << "\n    quillop: " << ours << "\n";
        }
    }
    return true;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    if (argc < 5) {
        std::cerr << "usage: wine_differential PROBE.EXE WINE64 WINESERVER SEED...\n";
        return 2;
    }
    g_probe = argv[1];
    g_wine = argv[2];
    g_wineserver = argv[3];

    QTemporaryDir dir;
    const std::string prefix = dir.path().toStdString() + "/prefix";
    std::cout << "making a prefix with wineboot..." << std::endl;
    if (!runWine(prefix, {"wineboot", "-i"}, "", nullptr)) {
        std::cerr << "wineboot failed\n";
        return 1;
    }
    waitForWineserver(prefix);

    Tally codePages;
    if (!compareCodePages(prefix, codePages))
        return 1;
    std::cout << "code pages: " << codePages.questions << " questions, " << codePages.disagreements << " disagreements"
              << std::endl;
    bool ok = codePages.disagreements == 0;
    for (int i = 4; i < argc; ++i) {
        // "random" draws a new seed each run; it is printed, so a failure can be replayed.
        const unsigned seed
            = std::string(argv[i]) == "random" ? std::random_device()() % 1000000 : unsigned(std::stoul(argv[i]));
        Tally tally;
        if (!runSeed(prefix, seed, tally))
            return 1;
        std::cout << "seed " << seed << ": " << tally.questions << " questions, " << tally.disagreements
                  << " disagreements, " << tally.documented << " documented choices" << std::endl;
        ok = ok && tally.disagreements == 0;
    }
    return ok ? 0 : 1;
}
