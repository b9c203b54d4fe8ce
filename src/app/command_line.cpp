#include "app/command_line.h"

#include "app/quillop_app.h"
#include "app/unattended_report.h"
#include "host/prefix_choice.h"
#include "host/vorns_folder.h"
#include "install/installation_run.h"
#include "platform/prefix_search.h"
#include "platform/process_environment.h"
#include "platform/wine_prefix.h"
#include "res/resource_ids.h"
#include "res/string_table.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <iostream>
#include <map>
#include <optional>
#include <sys/stat.h>

namespace {

enum ExitCode {
    allInstalled = 0,
    runStopped = 1,
    usageError = 2,
    noVornsFolder = 3,
    severalPrefixes = 4,
    someSkipped = 5,
};

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

std::string fromQt(const QString& text)
{
    return text.toUtf8().toStdString();
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

int usage(const UsageError& error)
{
    std::cerr << "quillop: " << error.problem << "\n";
    for (const std::string& detail : error.details)
        std::cerr << "  " << detail << "\n";
    std::cerr << "Try 'quillop --help'.\n";
    return usageError;
}

// A field of the text listing as it is, or double-quoted with C escapes
// when it holds a control character or starts with a quote, so that one
// prefix is always one line of tab-separated fields.
std::string listingField(const std::string& text)
{
    bool plain = text.empty() || text.front() != '"';
    for (unsigned char c : text)
        plain = plain && c >= 0x20 && c != 0x7F;
    if (plain)
        return text;
    std::string quoted = "\"";
    for (unsigned char c : text) {
        switch (c) {
        case '"':
            quoted += "\\\"";
            break;
        case '\\':
            quoted += "\\\\";
            break;
        case '\t':
            quoted += "\\t";
            break;
        case '\n':
            quoted += "\\n";
            break;
        case '\r':
            quoted += "\\r";
            break;
        default:
            if (c < 0x20 || c == 0x7F) {
                static const char hex[] = "0123456789abcdef";
                quoted += std::string("\\x") + hex[c >> 4] + hex[c & 15];
            } else {
                quoted += char(c);
            }
        }
    }
    return quoted + "\"";
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
    if (value.find('/') != std::string::npos || (matches.empty() && QFileInfo::exists(toQt(value)))) {
        options.prefix = fromQt(QFileInfo(toQt(value)).absoluteFilePath());
        if (const auto why = notAPrefix(options.prefix))
            return UsageError{"--prefix '" + value + "': " + *why, {}};
        return std::nullopt;
    }
    if (matches.size() == 1) {
        options.prefix = matches.front()->path;
        options.prefixLabel = value;
        return std::nullopt;
    }
    UsageError error{matches.empty() ? "--prefix '" + value + "' is neither a folder nor the label of a Wine prefix"
                                     : "--prefix '" + value + "' names several Wine prefixes",
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
    const std::string value = qEnvironmentVariable("WINEPREFIX").toStdString();
    if (value.empty())
        return std::nullopt;
    if (value.front() != '/')
        return UsageError{"$WINEPREFIX '" + value + "' is not an absolute path", {}};
    if (const auto why = notAPrefix(value))
        return UsageError{"$WINEPREFIX '" + value + "': " + *why, {}};
    return std::nullopt;
}

// Reads the options; answers an exit code when the work is done already
// (help, version, a usage error).
std::optional<int> parse(const QStringList& arguments, Options& options)
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
        return usage({fromQt(parser.errorText()), {}});
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
        return allInstalled;
    }
    if (parser.isSet(version)) {
        std::cout << "quillop " << QUILLOP_VERSION << "\n";
        return allInstalled;
    }
    if (!parser.positionalArguments().isEmpty())
        return usage({"unexpected argument '" + fromQt(parser.positionalArguments().front()) + "'", {}});
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
        return usage({"--on-conflict takes skip or rename, not '" + fromQt(policy) + "'", {}});

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

int listPrefixes(bool json)
{
    const std::string previous = WinePrefix::current().root();
    QJsonArray array;
    for (const PrefixSearch::Prefix& prefix : PrefixSearch::FindPrefixes(PrefixSearch::UserPlaces())) {
        WinePrefix::use(prefix.path);
        const auto folder = RegisteredVornsFolder();
        if (json) {
            array.append(
                QJsonObject{{QStringLiteral("label"), toQt(prefix.selector())},
                            {QStringLiteral("source"), toQt(prefix.source)},
                            {QStringLiteral("name"), toQt(PrefixSearch::Readable(prefix.name))},
                            {QStringLiteral("shownAs"), toQt(prefix.label())},
                            {QStringLiteral("path"), toQt(PrefixSearch::Readable(prefix.path))},
                            {QStringLiteral("vornsFolder"), folder ? QJsonValue(toQt(*folder)) : QJsonValue()}});
        } else {
            std::cout << listingField(prefix.selector()) << "\t" << listingField(prefix.path) << "\t"
                      << (folder ? listingField(*folder) : "(no Vorns folder)") << "\t" << listingField(prefix.label())
                      << "\n";
        }
    }
    WinePrefix::use(previous);
    if (json)
        std::cout << QJsonDocument(array).toJson().toStdString();
    return allInstalled;
}

// Makes the prefix an unattended run works in the process's own and reports
// it: --prefix, then an absolute $WINEPREFIX, then the search. Answers the
// exit code that stops the run, if any.
std::optional<int> choosePrefix(const Options& options, UnattendedReport& report)
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
        return report.stop(severalPrefixes, "Corvane is in several Wine prefixes; name one with --prefix:", candidates);
    }
    if (withHost.size() == 1) {
        WinePrefix::use(withHost.front().path);
        report.usePrefix(withHost.front().path, "the one prefix with Corvane", withHost.front().selector());
    } else {
        report.usePrefix(WinePrefix::current().root(), "no prefix with Corvane found; the default");
    }
    return std::nullopt;
}

int runUnattended(const Options& options)
{
    UnattendedReport report(options.json        ? UnattendedReport::Format::json
                                : options.quiet ? UnattendedReport::Format::quiet
                                                : UnattendedReport::Format::text,
                            options.dryRun);
    if (const auto stop = choosePrefix(options, report))
        return *stop;
    // The folder as the window finds it, without the chooser.
    std::string folder = options.folder;
    std::string why = "--folder";
    std::vector<std::string> problems;
    if (folder.empty()) {
        const auto registered = RegisteredVornsFolder(&problems);
        folder = registered.value_or(LoadString(IDS_DEFAULT_FOLDER));
        why = registered ? "Corvane's registration" : "the default; Corvane's registration leads to no Vorns folder";
    }
    report.useFolder(folder, why, problems);
    if (!IsVornsFolder(folder)) {
        std::string message = "no Vorns folder: '" + folder + "' does not hold Vorns.ctl";
        for (const std::string& problem : report.folderProblems())
            message += "; " + problem;
        return report.stop(noVornsFolder, message);
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

// What cannot reach standard output is an error of its own.
int withOutputChecked(int exitCode)
{
    std::cout.flush();
    if (!std::cout.fail())
        return exitCode;
    std::cerr << "quillop: cannot write to standard output: " << std::strerror(errno) << "\n";
    return exitCode == allInstalled || exitCode == someSkipped ? runStopped : exitCode;
}

} // namespace

int RunQuillop(int argc, char* argv[])
{
    OpenStandardDescriptors();
    // A closed pipe shows as a write error, not as a silent death.
    std::signal(SIGPIPE, SIG_IGN);
    Options options;
    {
        // Everything but the window runs without a display.
        QCoreApplication core(argc, argv);
        if (const auto done = parse(QCoreApplication::arguments(), options))
            return withOutputChecked(*done);
        if (options.listPrefixes)
            return withOutputChecked(listPrefixes(options.json));
        if (options.unattended)
            return withOutputChecked(runUnattended(options));
    }
    QApplication application(argc, argv);
    theApp.m_givenPrefix = options.prefix;
    theApp.m_givenFolder = options.folder;
    return AfxWinMain(theApp);
}
