#include "cli/command_line.h"

#include "app/exit_code.h"
#include "app/quillop_app.h"
#include "cli/unattended_report.h"
#include "host/vorns_folder.h"
#include "install/installation_run.h"
#include "linux/prefixes/prefix_choice.h"
#include "linux/prefixes/prefix_dialog.h"
#include "linux/prefixes/prefix_search.h"
#include "platform/char_case.h"
#include "platform/linux/plain_file.h"
#include "platform/linux/process_environment.h"
#include "platform/linux/utf8.h"
#include "platform/linux/wine_prefix.h"
#include "platform/string_resources.h"
#include "res/resource_ids.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <iostream>
#include <map>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct Options {
    bool unattended = false;
    bool listPrefixes = false;
    bool json = false;
    bool dryRun = false;
    bool quiet = false;
    std::string prefix; // a path, after a label is looked up
    std::string prefixLabel;
    std::string folder;
    PolicyQuestions::Policy policy = PolicyQuestions::Policy::skip;
};

const char* const kExitCodes = "\nExit codes:\n"
                               "  0  all eight Vorns installed (or already there)\n"
                               "  1  the installation stopped with an error, or the output could not be written\n"
                               "  2  a usage error\n"
                               "  3  no Vorns folder holding Vorns.ctl\n"
                               "  4  Corvane is in several Wine prefixes and --prefix names none\n"
                               "  5  the installation finished with some Vorns skipped\n";

// Arguments keep their bytes on the way through Qt's strings: a byte that
// is not UTF-8 becomes a lone low surrogate (U+DC80 + byte), which no UTF-8
// text decodes to, and turns back into that byte in fromQt.
QStringList argumentsKeepingBytes(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        const std::string_view bytes(argv[i]);
        std::u16string units;
        for (std::size_t at = 0; at < bytes.size();) {
            const CharCase::Decoded decoded = CharCase::decodeAt(bytes, at);
            if (decoded.length == 0) {
                units += char16_t(0xDC00 + static_cast<unsigned char>(bytes[at++]));
                continue;
            }
            if (decoded.character < 0x10000) {
                units += char16_t(decoded.character);
            } else {
                units += char16_t(0xD800 + ((decoded.character - 0x10000) >> 10));
                units += char16_t(0xDC00 + ((decoded.character - 0x10000) & 0x3FF));
            }
            at += decoded.length;
        }
        arguments.append(QString::fromStdU16String(units));
    }
    return arguments;
}

std::string fromQt(const QString& text)
{
    std::string bytes;
    const std::u16string units = text.toStdU16String();
    for (std::size_t i = 0; i < units.size(); ++i) {
        const char16_t unit = units[i];
        if (unit >= 0xD800 && unit < 0xDC00 && i + 1 < units.size() && units[i + 1] >= 0xDC00
            && units[i + 1] < 0xE000) {
            CharCase::appendUtf8(bytes, 0x10000 + ((char32_t(unit) - 0xD800) << 10) + (units[++i] - 0xDC00));
        } else if (unit >= 0xDC80 && unit < 0xDD00) {
            bytes += char(unit - 0xDC00);
        } else {
            CharCase::appendUtf8(bytes, unit);
        }
    }
    return bytes;
}

QString toQt(const std::string& text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

// A usage error: one line naming the problem, the lines below it (such as
// candidates), and where to read more.
struct UsageError {
    std::string problem;
    std::vector<std::string> details;
};

ExitCode usage(const UsageError& error)
{
    std::cerr << "quillop: " << error.problem << "\n";
    for (const std::string& detail : error.details)
        std::cerr << "  " << detail << "\n";
    std::cerr << "Try 'quillop --help'.\n";
    return ExitCode::usageError;
}

// `text` between `quote`s, with C escapes for the quote, a backslash and
// control characters, and for bytes that are not UTF-8 when `bytesToo`.
std::string quotedWithEscapes(const std::string& text, char quote, bool bytesToo)
{
    static const char hex[] = "0123456789abcdef";
    std::string quoted(1, quote);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == static_cast<unsigned char>(quote) || c == '\\') {
            quoted += '\\';
            quoted += char(c);
        } else if (c == '\t' || c == '\n' || c == '\r') {
            quoted += c == '\t' ? "\\t" : c == '\n' ? "\\n" : "\\r";
        } else if (c < 0x20 || c == 0x7F) {
            quoted += std::string("\\x") + hex[c >> 4] + hex[c & 15];
        } else if (c >= 0x80 && bytesToo) {
            const std::size_t length = CharCase::decodeAt(text, i).length;
            if (length == 0) {
                quoted += std::string("\\x") + hex[c >> 4] + hex[c & 15];
            } else {
                quoted.append(text, i, length);
                i += length - 1;
            }
        } else {
            quoted += char(c);
        }
    }
    return quoted + quote;
}

// A field of the text listing as it is, or double-quoted with C escapes
// when it holds a control character or starts with a quote, so that one
// prefix is always one line of tab-separated fields.
std::string listingField(const std::string& text)
{
    bool plain = text.empty() || text.front() != '"';
    for (unsigned char c : text)
        plain = plain && c >= 0x20 && c != 0x7F;
    return plain ? text : quotedWithEscapes(text, '"', false);
}

// A value as an error shows it: `quote`d, and shortened, so that the error
// stays one line of a sensible length.
std::string shortened(const std::string& value, const std::function<std::string(const std::string&)>& quote)
{
    constexpr std::size_t kLongest = 80;
    if (value.size() <= kLongest)
        return quote(value);
    std::size_t cut = kLongest;
    while (cut > 0 && (static_cast<unsigned char>(value[cut]) & 0xC0) == 0x80)
        --cut; // never inside a character
    return quote(value.substr(0, cut)) + "... (" + std::to_string(value.size()) + " bytes)";
}

// A value as a usage error echoes it: in single quotes with C escapes.
std::string echoed(const std::string& value)
{
    return shortened(value, [](const std::string& part) { return quotedWithEscapes(part, '\'', true); });
}

// Whether anything is at `path` (links followed).
bool existsAt(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0;
}

// `path` made absolute against the current folder, without resolving links.
std::string absolutePath(const std::string& path)
{
    if (!path.empty() && path.front() == '/')
        return path;
    char current[PATH_MAX];
    if (!::getcwd(current, sizeof current))
        return path;
    return std::string(current) + "/" + path;
}

// A prefix as usage errors list it: its label and its path.
std::string candidateLine(const PrefixSearch::Prefix& prefix)
{
    return listingField(prefix.selector()) + "\t" + listingField(prefix.path);
}

// Why a folder named as a prefix is none, or nothing when it is one.
std::optional<std::string> notAPrefix(const std::string& path)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return errno == ENOENT ? std::string("no such folder") : std::string(std::strerror(errno));
    if (!S_ISDIR(info.st_mode))
        return std::string("not a folder");
    if (::access(path.c_str(), R_OK | X_OK) != 0)
        return std::string(std::strerror(errno));
    struct stat registry {};
    if (::stat((path + "/system.reg").c_str(), &registry) == 0 && !S_ISREG(registry.st_mode))
        return "not a Wine prefix: its system.reg is " + NotAPlainFile(registry.st_mode);
    if (!PrefixSearch::IsWinePrefix(path))
        return std::string("not a Wine prefix (no system.reg with drive_c or dosdevices)");
    return std::nullopt;
}

// The prefix a --prefix value names: a path (it holds a slash, or no label
// is like it and a folder is there), or a label from --list-prefixes.
std::optional<UsageError> resolvePrefix(const std::string& value, Options& options)
{
    const std::vector<PrefixSearch::Prefix> found = PrefixSearch::FindPrefixes(PrefixSearch::UserPlaces());
    std::vector<const PrefixSearch::Prefix*> matches;
    for (const PrefixSearch::Prefix& prefix : found)
        if (prefix.selector() == value)
            matches.push_back(&prefix);
    if (value.find('/') != std::string::npos || (matches.empty() && existsAt(value))) {
        options.prefix = absolutePath(value);
        if (const auto why = notAPrefix(options.prefix))
            return UsageError{"--prefix " + echoed(value) + ": " + *why, {}};
        return std::nullopt;
    }
    if (matches.size() == 1) {
        options.prefix = matches.front()->path;
        options.prefixLabel = value;
        return std::nullopt;
    }
    UsageError error{matches.empty()
                         ? "--prefix " + echoed(value) + " is neither a folder nor the label of a Wine prefix"
                         : "--prefix " + echoed(value) + " names several Wine prefixes",
                     {}};
    for (const PrefixSearch::Prefix& prefix : found)
        if (matches.empty() || prefix.selector() == value)
            error.details.push_back(candidateLine(prefix));
    if (found.empty())
        error.details.emplace_back("(no Wine prefix found)");
    return error;
}

// $WINEPREFIX, when the run would use it: Wine refuses a relative one, and
// a folder that is no prefix is no place to install into.
std::optional<UsageError> checkWinePrefixVariable()
{
    const char* variable = std::getenv("WINEPREFIX");
    const std::string value = variable ? variable : "";
    if (value.empty())
        return std::nullopt;
    if (value.front() != '/')
        return UsageError{"$WINEPREFIX " + echoed(value) + " is not an absolute path", {}};
    if (const auto why = notAPrefix(value))
        return UsageError{"$WINEPREFIX " + echoed(value) + ": " + *why, {}};
    return std::nullopt;
}

// What the parser could not read; an unknown option is echoed as any value.
std::string parseError(const QCommandLineParser& parser)
{
    const QStringList unknown = parser.unknownOptionNames();
    if (!unknown.isEmpty())
        return "unknown option " + echoed(fromQt(unknown.front()));
    return fromQt(parser.errorText());
}

// Reads the options; answers an exit code when the work is done already
// (help, version, a usage error).
std::optional<ExitCode> parse(const QStringList& arguments, Options& options)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Installs the Quenna Picture Vorn collection into the Vorns folder of Corvane in a Wine prefix."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Show this help."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Show the version."));
    const QCommandLineOption prefix(QStringLiteral("prefix"),
                                    QStringLiteral("Use the Wine prefix <dir>, as $WINEPREFIX would, or the one "
                                                   "--list-prefixes labels <label> (such as bottles:NAME)."),
                                    QStringLiteral("dir|label"));
    const QCommandLineOption list(QStringLiteral("list-prefixes"),
                                  QStringLiteral("List the Wine prefixes found: label, path and the Vorns folder "
                                                 "Corvane's registration leads to in each."));
    const QCommandLineOption json(QStringLiteral("json"),
                                  QStringLiteral("With --list-prefixes or --unattended: one JSON document."));
    const QCommandLineOption folder(QStringLiteral("folder"),
                                    QStringLiteral("Install into the Windows folder <folder> (it must hold "
                                                   "Vorns.ctl) instead of finding one."),
                                    QStringLiteral("folder"));
    const QCommandLineOption unattended(QStringLiteral("unattended"),
                                        QStringLiteral("Install without a window: where, and what became of each "
                                                       "Vorn, on standard output; errors on standard error."));
    const QCommandLineOption onConflict(QStringLiteral("on-conflict"),
                                        QStringLiteral("With --unattended, when a name or file is taken: skip "
                                                       "the Vorn (the default) or rename it as the dialogs "
                                                       "would propose. Nothing is ever overwritten."),
                                        QStringLiteral("skip|rename"));
    const QCommandLineOption dryRun(QStringLiteral("dry-run"),
                                    QStringLiteral("With --unattended: check and report everything, write nothing."));
    const QCommandLineOption quiet(QStringLiteral("quiet"), QStringLiteral("With --unattended: print only errors."));
    parser.addOptions({help, version, prefix, list, json, folder, unattended, onConflict, dryRun, quiet});

    if (!parser.parse(arguments))
        return usage({parseError(parser), {}});
    std::map<QString, int> given;
    for (QString name : parser.optionNames()) {
        if (name == QLatin1String("h"))
            name = QStringLiteral("help");
        else if (name == QLatin1String("v"))
            name = QStringLiteral("version");
        if (++given[name] == 2)
            return usage({"--" + fromQt(name) + " is given twice", {}});
    }
    if (parser.isSet(help)) {
        std::cout << fromQt(parser.helpText()) << kExitCodes;
        return ExitCode::allInstalled;
    }
    if (parser.isSet(version)) {
        std::cout << "quillop " << QUILLOP_VERSION << "\n";
        return ExitCode::allInstalled;
    }
    if (!parser.positionalArguments().isEmpty())
        return usage({"unexpected argument " + echoed(fromQt(parser.positionalArguments().front())), {}});
    for (const QCommandLineOption* option : {&prefix, &folder, &onConflict})
        if (parser.isSet(*option) && parser.value(*option).isEmpty())
            return usage({"--" + fromQt(option->names().front()) + " needs a value; it is empty", {}});

    options.listPrefixes = parser.isSet(list);
    options.json = parser.isSet(json);
    options.unattended = parser.isSet(unattended);
    options.dryRun = parser.isSet(dryRun);
    options.quiet = parser.isSet(quiet);
    options.folder = fromQt(parser.value(folder));
    if (options.listPrefixes) {
        for (const QCommandLineOption* option : {&unattended, &prefix, &folder, &onConflict, &dryRun, &quiet})
            if (parser.isSet(*option))
                return usage({"--list-prefixes and --" + fromQt(option->names().front()) + " do not go together", {}});
        return std::nullopt;
    }
    if (options.json && !options.unattended)
        return usage({"--json goes with --list-prefixes or --unattended", {}});
    for (const QCommandLineOption* option : {&onConflict, &dryRun, &quiet})
        if (parser.isSet(*option) && !options.unattended)
            return usage({"--" + fromQt(option->names().front()) + " goes with --unattended", {}});
    if (options.quiet && options.json)
        return usage({"--quiet and --json do not go together", {}});
    const QString policy = parser.value(onConflict);
    if (policy == QLatin1String("rename"))
        options.policy = PolicyQuestions::Policy::rename;
    else if (parser.isSet(onConflict) && policy != QLatin1String("skip"))
        return usage({"--on-conflict takes skip or rename, not " + echoed(fromQt(policy)), {}});

    if (parser.isSet(prefix)) {
        if (const auto error = resolvePrefix(fromQt(parser.value(prefix)), options))
            return usage(*error);
    } else if (const auto error = checkWinePrefixVariable()) {
        return usage(*error);
    }
    if (!options.unattended) {
        if (const auto missing = MissingDisplay())
            return usage(
                {"no display to show the window on (" + *missing + "); --unattended installs without a window", {}});
    }
    return std::nullopt;
}

ExitCode listPrefixes(bool json)
{
    const std::string previous = WinePrefix::current().root();
    QJsonArray array;
    for (const PrefixSearch::Prefix& prefix : PrefixSearch::FindPrefixes(PrefixSearch::UserPlaces())) {
        WinePrefix::use(prefix.path);
        std::vector<std::string> problems;
        const auto folder = RegisteredVornsFolder(&problems);
        if (json) {
            QJsonArray readable;
            for (const std::string& problem : problems)
                readable.append(toQt(PrefixSearch::Readable(problem)));
            array.append(QJsonObject{{QStringLiteral("label"), toQt(prefix.selector())},
                                     {QStringLiteral("source"), toQt(prefix.source)},
                                     {QStringLiteral("name"), toQt(PrefixSearch::Readable(prefix.name))},
                                     {QStringLiteral("shownAs"), toQt(prefix.label())},
                                     {QStringLiteral("path"), toQt(PrefixSearch::Readable(prefix.path))},
                                     {QStringLiteral("vornsFolder"), folder ? QJsonValue(toQt(*folder)) : QJsonValue()},
                                     {QStringLiteral("problems"), readable}});
        } else {
            std::cout << listingField(prefix.selector()) << "\t" << listingField(prefix.path) << "\t"
                      << (folder ? listingField(*folder) : "(no Vorns folder)") << "\t" << listingField(prefix.label())
                      << "\n";
            for (const std::string& problem : problems)
                std::cerr << "quillop: " << PrefixSearch::Readable(problem) << " (passed over)\n";
        }
    }
    WinePrefix::use(previous);
    if (json)
        std::cout << QJsonDocument(array).toJson().toStdString();
    return ExitCode::allInstalled;
}

// Makes the prefix an unattended run works in the process's own and reports
// it: --prefix, then an absolute $WINEPREFIX, then the search. Answers the
// exit code that stops the run, if any.
std::optional<ExitCode> choosePrefix(const Options& options, UnattendedReport& report)
{
    if (!options.prefix.empty()) {
        WinePrefix::use(options.prefix);
        report.usePrefix(options.prefix, "--prefix", options.prefixLabel);
        return std::nullopt;
    }
    if (WinePrefix::givenByEnvironment()) {
        report.usePrefix(WinePrefix::current().root(), "$WINEPREFIX");
        return std::nullopt;
    }
    const auto withHost = PrefixesWithHost(PrefixSearch::FindPrefixes(PrefixSearch::UserPlaces()));
    if (withHost.size() > 1) {
        std::vector<std::string> candidates;
        candidates.reserve(withHost.size());
        for (const PrefixSearch::Prefix& prefix : withHost)
            candidates.push_back(candidateLine(prefix));
        return report.stop(ExitCode::severalPrefixes,
                           "Corvane is in several Wine prefixes; name one with --prefix:", candidates);
    }
    if (withHost.size() == 1) {
        WinePrefix::use(withHost.front().path);
        report.usePrefix(withHost.front().path, "the one prefix with Corvane", withHost.front().selector());
    } else {
        report.usePrefix(WinePrefix::current().root(), "no prefix with Corvane found; the default");
    }
    return std::nullopt;
}

// Why the run works in the folder it chose, as the report says it.
const char* whyThere(VornsFolderChoice::From from)
{
    switch (from) {
    case VornsFolderChoice::From::given:
        return "--folder";
    case VornsFolderChoice::From::registration:
        return "Corvane's registration";
    case VornsFolderChoice::From::fallback:
        break;
    }
    return "the default; Corvane's registration leads to no Vorns folder";
}

ExitCode runUnattended(const Options& options)
{
    UnattendedReport report(options.json        ? UnattendedReport::Format::json
                                : options.quiet ? UnattendedReport::Format::quiet
                                                : UnattendedReport::Format::text,
                            options.dryRun);
    if (const auto stop = choosePrefix(options, report))
        return *stop;
    // The folder as the window finds it, without the chooser.
    const VornsFolderChoice choice = ChooseVornsFolder(options.folder);
    const std::string& folder = choice.folder;
    report.useFolder(folder, whyThere(choice.from), choice.problems);
    if (!IsVornsFolder(folder)) {
        std::string message = "no Vorns folder: "
            + shortened(folder, [](const std::string& part) { return "'" + part + "'"; }) + " does not hold Vorns.ctl";
        for (const std::string& problem : report.folderProblems())
            message += "; " + problem;
        return report.stop(ExitCode::noVornsFolder, message);
    }
    PolicyQuestions questions(options.policy);
    struct : RunDisplay {
        void showStatus(const std::string&) override {}
        void showProgress(int) override {}
    } silent;
    RunOptions runOptions;
    runOptions.dryRun = options.dryRun;
    runOptions.resumeInstalled = true;
    return report.finish(RunInstallation(folder, questions, silent, runOptions));
}

// Stands in for a standard output that was closed at start, for as long as
// it lives: the first write fails, as it would have on the closed descriptor.
class ClosedOutput : public std::streambuf {
public:
    explicit ClosedOutput(bool closed)
        : m_original(closed ? std::cout.rdbuf(this) : nullptr)
    {
    }
    ~ClosedOutput() override
    {
        if (m_original)
            std::cout.rdbuf(m_original);
    }
    ClosedOutput(const ClosedOutput&) = delete;
    ClosedOutput& operator=(const ClosedOutput&) = delete;

protected:
    int_type overflow(int_type) override { return traits_type::eof(); }

private:
    std::streambuf* m_original;
};

// What cannot reach standard output is an error of its own.
int withOutputChecked(ExitCode exitCode, bool outputClosed)
{
    std::cout.flush();
    if (!std::cout.fail())
        return ExitStatus(exitCode);
    std::cerr << "quillop: cannot write to standard output: " << (outputClosed ? "it is closed" : std::strerror(errno))
              << "\n";
    return ExitStatus(exitCode == ExitCode::allInstalled || exitCode == ExitCode::someSkipped ? ExitCode::runStopped
                                                                                              : exitCode);
}

} // namespace

int RunQuillop(int argc, char* argv[])
{
    const unsigned closed = OpenStandardDescriptors();
    const bool outputClosed = closed & 2u;
    const ClosedOutput nowhere(outputClosed);
    // A closed pipe shows as a write error, not as a silent death.
    std::signal(SIGPIPE, SIG_IGN);
    Options options;
    {
        // Everything but the window runs without a display.
        QCoreApplication core(argc, argv);
        if (const auto done = parse(argumentsKeepingBytes(argc, argv), options))
            return withOutputChecked(*done, outputClosed);
        if (options.listPrefixes)
            return withOutputChecked(listPrefixes(options.json), outputClosed);
        if (options.unattended)
            return withOutputChecked(runUnattended(options), outputClosed);
    }
    QApplication application(argc, argv);
    if (!UseWinePrefix(options.prefix))
        return 0;
    theApp.m_givenFolder = options.folder;
    return AfxWinMain(theApp);
}
