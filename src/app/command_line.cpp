#include "app/command_line.h"

#include "app/quillop_app.h"
#include "host/prefix_choice.h"
#include "host/vorns_folder.h"
#include "install/installation_run.h"
#include "platform/prefix_search.h"
#include "platform/text_format.h"
#include "platform/wine_prefix.h"
#include "res/resource_ids.h"
#include "res/string_table.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <iostream>
#include <optional>

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
    std::string prefix;
    std::string folder;
    PolicyQuestions::Policy policy = PolicyQuestions::Policy::skip;
};

const char* const kExitCodes = "\nExit codes:\n"
                               "  0  all eight Vorns installed\n"
                               "  1  the installation stopped with an error (its text names the entry)\n"
                               "  2  a usage error\n"
                               "  3  no Vorns folder holding Vorns.ctl\n"
                               "  4  Corvane is in several Wine prefixes and --prefix names none\n"
                               "  5  the installation finished with some Vorns skipped\n";

// Status texts end their lines with CR; a terminal wants LF.
std::string asLines(const std::string& text)
{
    std::string lines;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            lines += '\n';
            if (i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else {
            lines += text[i];
        }
    }
    return lines;
}

std::string fromQt(const QString& text)
{
    return text.toUtf8().toStdString();
}

QString toQt(const std::string& text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

int usage(const QCommandLineParser& parser, const QString& error)
{
    std::cerr << "quillop: " << fromQt(error) << "\n\n" << fromQt(parser.helpText()) << kExitCodes;
    return usageError;
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
                                    QStringLiteral("Use the Wine prefix <dir>, as $WINEPREFIX would."),
                                    QStringLiteral("dir"));
    const QCommandLineOption list(QStringLiteral("list-prefixes"),
                                  QStringLiteral("List the Wine prefixes found, with the Vorns folder "
                                                 "Corvane's registration leads to in each."));
    const QCommandLineOption json(QStringLiteral("json"), QStringLiteral("With --list-prefixes: as JSON."));
    const QCommandLineOption folder(QStringLiteral("folder"),
                                    QStringLiteral("Install into the Windows folder <folder> (it must hold "
                                                   "Vorns.ctl) instead of finding one."),
                                    QStringLiteral("folder"));
    const QCommandLineOption unattended(QStringLiteral("unattended"),
                                        QStringLiteral("Install without a window: status on standard error, "
                                                       "the installed Vorns on standard output."));
    const QCommandLineOption onConflict(QStringLiteral("on-conflict"),
                                        QStringLiteral("With --unattended, when a name or file is taken: skip "
                                                       "the Vorn (the default) or rename it as the dialogs "
                                                       "would propose. Nothing is ever overwritten."),
                                        QStringLiteral("skip|rename"), QStringLiteral("skip"));
    parser.addOptions({help, version, prefix, list, json, folder, unattended, onConflict});

    if (!parser.parse(arguments))
        return usage(parser, parser.errorText());
    if (parser.isSet(help)) {
        std::cout << fromQt(parser.helpText()) << kExitCodes;
        return allInstalled;
    }
    if (parser.isSet(version)) {
        std::cout << "quillop " << QUILLOP_VERSION << "\n";
        return allInstalled;
    }
    if (!parser.positionalArguments().isEmpty())
        return usage(parser, QStringLiteral("unexpected argument '%1'").arg(parser.positionalArguments().front()));
    options.listPrefixes = parser.isSet(list);
    options.json = parser.isSet(json);
    options.unattended = parser.isSet(unattended);
    options.prefix = fromQt(parser.value(prefix));
    options.folder = fromQt(parser.value(folder));
    const QString policy = parser.value(onConflict);
    if (policy == QLatin1String("rename"))
        options.policy = PolicyQuestions::Policy::rename;
    else if (policy != QLatin1String("skip"))
        return usage(parser, QStringLiteral("--on-conflict takes skip or rename, not '%1'").arg(policy));
    if (options.json && !options.listPrefixes)
        return usage(parser, QStringLiteral("--json goes with --list-prefixes"));
    if (parser.isSet(onConflict) && !options.unattended)
        return usage(parser, QStringLiteral("--on-conflict goes with --unattended"));
    if (parser.isSet(prefix) && !PrefixSearch::IsWinePrefix(options.prefix))
        return usage(parser,
                     QStringLiteral("'%1' is not a Wine prefix (no system.reg with drive_c or dosdevices)")
                         .arg(toQt(options.prefix)));
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
                QJsonObject{{QStringLiteral("source"), toQt(prefix.source)},
                            {QStringLiteral("name"), toQt(prefix.name)},
                            {QStringLiteral("path"), toQt(prefix.path)},
                            {QStringLiteral("vornsFolder"), folder ? QJsonValue(toQt(*folder)) : QJsonValue()}});
        } else {
            std::cout << prefix.label() << "\t" << prefix.path << "\t" << (folder ? *folder : "(no Vorns folder)")
                      << "\n";
        }
    }
    WinePrefix::use(previous);
    if (json)
        std::cout << QJsonDocument(array).toJson().toStdString();
    return allInstalled;
}

// The prefix an unattended run works in, or the exit code that stops it.
std::optional<int> choosePrefix(const Options& options)
{
    if (!options.prefix.empty()) {
        WinePrefix::use(options.prefix);
        return std::nullopt;
    }
    if (WinePrefix::givenByEnvironment())
        return std::nullopt;
    const auto withHost = PrefixesWithHost(PrefixSearch::FindPrefixes(PrefixSearch::UserPlaces()));
    if (withHost.size() > 1) {
        std::cerr << "quillop: Corvane is in several Wine prefixes; name one with --prefix:\n";
        for (const PrefixSearch::Prefix& prefix : withHost)
            std::cerr << "  " << prefix.label() << "\t" << prefix.path << "\n";
        return severalPrefixes;
    }
    if (withHost.size() == 1)
        WinePrefix::use(withHost.front().path);
    return std::nullopt;
}

// Status texts go to standard error, one line per line.
class StreamDisplay : public RunDisplay {
public:
    void showStatus(const std::string& text) override { std::cerr << asLines(text) << "\n"; }
    void showProgress(int) override {}
};

int runUnattended(const Options& options)
{
    if (const auto stop = choosePrefix(options))
        return *stop;
    // The folder as the window finds it, without the chooser.
    std::string folder = options.folder;
    if (folder.empty())
        folder = RegisteredVornsFolder().value_or(LoadString(IDS_DEFAULT_FOLDER));
    if (!IsVornsFolder(folder)) {
        std::cerr << asLines(FormatText(LoadString(IDS_NOT_FOUND), {folder})) << "\n";
        return noVornsFolder;
    }
    PolicyQuestions questions(options.policy);
    StreamDisplay display;
    const RunOutcome outcome = RunInstallation(folder, questions, display);
    display.showStatus(outcome.statusText);
    if (!outcome.completed)
        return runStopped;
    std::cout << outcome.summary.list << "\n";
    return outcome.summary.count == outcome.entries ? allInstalled : someSkipped;
}

} // namespace

int RunQuillop(int argc, char* argv[])
{
    Options options;
    {
        // Everything but the window runs without a display.
        QCoreApplication core(argc, argv);
        if (const auto done = parse(QCoreApplication::arguments(), options))
            return *done;
        if (options.listPrefixes)
            return listPrefixes(options.json);
        if (options.unattended)
            return runUnattended(options);
    }
    QApplication application(argc, argv);
    theApp.m_givenPrefix = options.prefix;
    theApp.m_givenFolder = options.folder;
    return AfxWinMain(theApp);
}
