#include "cli/command_line.h"

#include "app/exit_code.h"
#include "app/quillop_app.h"
#include "cli/argument_text.h"
#include "cli/prefix_options.h"
#include "cli/unattended_report.h"
#include "cli/usage_error.h"
#include "host/vorns_folder.h"
#include "install/installation_run.h"
#include "linux/prefixes/prefix_dialog.h"
#include "platform/linux/process_environment.h"

#include <QApplication>
#include <QCommandLineParser>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <iostream>
#include <map>
#include <optional>

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

ExitCode usage(const UsageError& error)
{
    std::cerr << "quillop: " << error.problem << "\n";
    for (const std::string& detail : error.details)
        std::cerr << "  " << detail << "\n";
    std::cerr << "Try 'quillop --help'.\n";
    return ExitCode::usageError;
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
        if (const auto error = ResolvePrefix(fromQt(parser.value(prefix)), options.prefix, options.prefixLabel))
            return usage(*error);
    } else if (const auto error = CheckWinePrefixVariable()) {
        return usage(*error);
    }
    if (!options.unattended) {
        if (const auto missing = MissingDisplay())
            return usage(
                {"no display to show the window on (" + *missing + "); --unattended installs without a window", {}});
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
    if (const auto stop = ChoosePrefix(options.prefix, options.prefixLabel, report))
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
            return withOutputChecked(ListPrefixes(options.json), outputClosed);
        if (options.unattended)
            return withOutputChecked(runUnattended(options), outputClosed);
    }
    QApplication application(argc, argv);
    if (!UseWinePrefix(options.prefix))
        return 0;
    theApp.m_givenFolder = options.folder;
    return AfxWinMain(theApp);
}
