#include "cli/command_line.h"

#include "cli/argument_text.h"
#include "cli/unattended_report.h"
#include "host/vorns_folder.h"
#include "install/installation_run.h"
#include "platform/program_text.h"
#include "platform/string_resources.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>

namespace {

struct Options {
    bool unattended = false;
    bool alone = false;
    bool json = false;
    bool dryRun = false;
    bool quiet = false;
    std::string folder; // in the program's code page
    std::string log; // in the program's code page
    std::string logAsGiven;
    PolicyQuestions::Policy policy = PolicyQuestions::Policy::skip;
};

const char* const kHelp = "help";
const char* const kVersion = "version";

// Every option, the program's own after help and version, as --help lists them.
std::vector<KnownOption> optionsOf(const ProgramCommandLine& program)
{
    const std::string alone = program.aloneOption();
    std::vector<KnownOption> options = {{kHelp, "", "Show this help."}, {kVersion, "", "Show the version."}};
    for (const KnownOption& own : program.options())
        options.push_back(own);
    const std::vector<KnownOption> shared = {
        {"json", "", "With " + (alone.empty() ? "" : "--" + alone + " or ") + "--unattended: one JSON document."},
        {"folder", "folder",
         "Install into the Windows folder <folder> (it must hold Vorns.ctl) instead of finding one."},
        {"unattended", "",
         "Install without a window: where, and what became of each Vorn, on standard output; errors on standard "
         "error."},
        {"on-conflict", "skip|rename",
         "With --unattended, when a name or file is taken: skip the Vorn (the default) or rename it as the dialogs "
         "would propose. Nothing is ever overwritten."},
        {"dry-run", "", "With --unattended: check and report everything, write nothing."},
        {"quiet", "", "With --unattended: print only errors."},
        {"log", "file", "With --unattended: write the report to <file> as well (UTF-8)."},
    };
    options.insert(options.end(), shared.begin(), shared.end());
    return options;
}

// `text` wrapped to end before column 80, its lines after the first indented to `column`.
std::string wrapped(const std::string& text, std::size_t column)
{
    std::string out, line;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = std::min(text.find(' ', start), text.size());
        const std::string word = text.substr(start, end - start);
        if (!line.empty() && column + line.size() + 1 + word.size() > 79) {
            out += line + "\n" + std::string(column, ' ');
            line.clear();
        }
        line += (line.empty() ? "" : " ") + word;
        start = end + 1;
    }
    return out + line;
}

std::string helpText(const ProgramCommandLine& program, const std::vector<KnownOption>& options)
{
    std::vector<std::pair<std::string, std::string>> rows;
    std::size_t widest = 0;
    for (const KnownOption& option : options) {
        std::string label = option.name == kHelp ? program.helpOptionLabel()
            : option.name == kVersion            ? "-v, --version"
                                                 : "--" + option.name;
        if (!option.valueName.empty())
            label += " <" + option.valueName + ">";
        widest = std::max(widest, label.size());
        rows.emplace_back(label, option.help);
    }
    std::string text = "Usage: " + program.programName() + " [options]\n" + program.description() + "\n\nOptions:\n";
    for (const auto& [label, help] : rows)
        text += "  " + label + std::string(widest - label.size() + 2, ' ') + wrapped(help, widest + 4) + "\n";
    std::vector<std::string> codes = {
        "0  all eight Vorns installed (or already there)",
        "1  the installation stopped with an error, or the output could not be written",
        "2  a usage error",
        "3  no Vorns folder holding Vorns.ctl",
        "5  the installation finished with some Vorns skipped",
    };
    for (const std::string& own : program.exitCodes())
        codes.push_back(own);
    std::sort(codes.begin(), codes.end());
    text += "\nExit codes:\n";
    for (const std::string& code : codes)
        text += "  " + code + "\n";
    return text;
}

ExitCode usage(const ProgramCommandLine& program, const UsageError& error)
{
    std::cerr << "quillop: " << error.problem << "\n";
    for (const std::string& detail : error.details)
        std::cerr << "  " << detail << "\n";
    std::cerr << "Try '" << program.programName() << " --help'.\n";
    return ExitCode::usageError;
}

// The options as given, or the usage error that reading them met.
std::optional<UsageError> read(const std::vector<std::string>& arguments, const std::vector<KnownOption>& known,
                               GivenOptions& given)
{
    std::vector<std::string> twice;
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        std::string name, value;
        bool hasValue = false;
        if (argument == "/?" || argument == "-h") {
            name = kHelp;
        } else if (argument == "-v") {
            name = kVersion;
        } else if (argument.size() > 2 && argument.compare(0, 2, "--") == 0) {
            const std::size_t equals = argument.find('=');
            name = argument.substr(2, equals == std::string::npos ? std::string::npos : equals - 2);
            if (equals != std::string::npos) {
                value = argument.substr(equals + 1);
                hasValue = true;
            }
        } else if (argument.size() > 1 && argument[0] == '-') {
            return UsageError{"unknown option " + echoed(argument), {}};
        } else {
            return UsageError{"unexpected argument " + echoed(argument), {}};
        }
        const auto option
            = std::find_if(known.begin(), known.end(), [&](const KnownOption& o) { return o.name == name; });
        if (option == known.end())
            return UsageError{"unknown option " + echoed(argument.substr(0, argument.find('='))), {}};
        if (option->valueName.empty() && hasValue)
            return UsageError{"--" + name + " takes no value", {}};
        if (!option->valueName.empty() && !hasValue) {
            if (i + 1 == arguments.size())
                return UsageError{"--" + name + " needs a value", {}};
            value = arguments[++i];
        }
        if (!given.values.emplace(name, value).second)
            twice.push_back(name);
    }
    if (!twice.empty())
        return UsageError{"--" + twice.front() + " is given twice", {}};
    return std::nullopt;
}

// Reads the options; answers an exit code when the work is done already
// (help, version, a usage error).
std::optional<ExitCode> parse(const std::vector<std::string>& arguments, ProgramCommandLine& program, Options& options)
{
    const std::vector<KnownOption> known = optionsOf(program);
    GivenOptions given;
    if (const auto error = read(arguments, known, given))
        return usage(program, *error);
    if (given.isSet(kHelp)) {
        std::cout << helpText(program, known);
        return ExitCode::allInstalled;
    }
    if (given.isSet(kVersion)) {
        std::cout << "quillop " << QUILLOP_VERSION << "\n";
        return ExitCode::allInstalled;
    }
    for (const KnownOption& option : known)
        if (!option.valueName.empty() && given.isSet(option.name) && given.value(option.name).empty())
            return usage(program, {"--" + option.name + " needs a value; it is empty", {}});

    const std::string alone = program.aloneOption();
    options.alone = !alone.empty() && given.isSet(alone);
    options.json = given.isSet("json");
    options.unattended = given.isSet("unattended");
    options.dryRun = given.isSet("dry-run");
    options.quiet = given.isSet("quiet");
    if (options.alone) {
        for (const KnownOption& option : known)
            if (option.name != alone && option.name != "json" && given.isSet(option.name))
                return usage(program, {"--" + alone + " and --" + option.name + " do not go together", {}});
        return std::nullopt;
    }
    if (options.json && !options.unattended)
        return usage(program,
                     {"--json goes with " + (alone.empty() ? "" : "--" + alone + " or ") + "--unattended", {}});
    for (const char* name : {"on-conflict", "dry-run", "quiet", "log"})
        if (given.isSet(name) && !options.unattended)
            return usage(program, {std::string("--") + name + " goes with --unattended", {}});
    if (options.quiet && options.json)
        return usage(program, {"--quiet and --json do not go together", {}});
    const std::string policy = given.value("on-conflict");
    if (policy == "rename")
        options.policy = PolicyQuestions::Policy::rename;
    else if (given.isSet("on-conflict") && policy != "skip")
        return usage(program, {"--on-conflict takes skip or rename, not " + echoed(policy), {}});
    // Paths the program opens are in its own code page.
    for (const auto& [name, target] : {std::pair{"folder", &options.folder}, std::pair{"log", &options.log}}) {
        const auto text = ProgramTextFromUtf8(given.value(name));
        if (!text)
            return usage(program,
                         {std::string("--") + name + " " + echoed(given.value(name))
                              + " holds a character this system's code page has not got",
                          {}});
        *target = *text;
    }
    options.logAsGiven = given.value("log");
    if (const auto error = program.check(given))
        return usage(program, *error);
    if (!options.unattended) {
        if (const auto missing = program.missingDisplay())
            return usage(
                program,
                {"no display to show the window on (" + *missing + "); --unattended installs without a window", {}});
    }
    return std::nullopt;
}

// A path as the run's errors show it: in single quotes as it is, shortened.
std::string quotedPath(const std::string& utf8)
{
    return shortened(utf8, [](const std::string& part) { return "'" + part + "'"; });
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

ExitCode runUnattended(const Options& options, ProgramCommandLine& program)
{
    UnattendedReport report(options.json        ? UnattendedReport::Format::json
                                : options.quiet ? UnattendedReport::Format::quiet
                                                : UnattendedReport::Format::text,
                            options.dryRun);
    if (const auto stop = program.prepareUnattended(report))
        return *stop;
    // The folder as the window finds it, without the chooser.
    const VornsFolderChoice choice = ChooseVornsFolder(options.folder);
    const std::string& folder = choice.folder;
    report.useFolder(folder, whyThere(choice.from), choice.problems);
    if (!IsVornsFolder(folder)) {
        std::string message = "no Vorns folder: " + quotedPath(ProgramTextToUtf8(folder)) + " does not hold Vorns.ctl";
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

// Writes what reaches one stream to a second as well: the log beside
// standard output and error. The first is the one whose failures count as
// the stream's; the second's are kept to be reported.
class CopiedOutput : public std::streambuf {
public:
    CopiedOutput(std::ostream& stream, std::streambuf* copy)
        : m_stream(stream)
        , m_original(stream.rdbuf(this))
        , m_copy(copy)
    {
    }
    ~CopiedOutput() override { m_stream.rdbuf(m_original); }
    CopiedOutput(const CopiedOutput&) = delete;
    CopiedOutput& operator=(const CopiedOutput&) = delete;

    bool copyFailed() const { return m_copyFailed; }

protected:
    std::streamsize xsputn(const char* bytes, std::streamsize count) override
    {
        m_copyFailed = m_copy->sputn(bytes, count) != count || m_copyFailed;
        return m_original->sputn(bytes, count);
    }
    int_type overflow(int_type c) override
    {
        if (traits_type::eq_int_type(c, traits_type::eof()))
            return traits_type::not_eof(c);
        const char byte = traits_type::to_char_type(c);
        return xsputn(&byte, 1) == 1 ? c : traits_type::eof();
    }
    int sync() override
    {
        m_copy->pubsync();
        return m_original->pubsync();
    }

private:
    std::ostream& m_stream;
    std::streambuf* m_original;
    std::streambuf* m_copy;
    bool m_copyFailed = false;
};

// An unattended run with its report copied into the log, which is made
// before anything else: a log that cannot be made stops the run unstarted.
ExitCode runUnattendedWithLog(const Options& options, ProgramCommandLine& program)
{
    if (options.log.empty())
        return runUnattended(options, program);
    std::ofstream log(options.log, std::ios::binary | std::ios::trunc);
    if (!log) {
        std::cerr << "quillop: cannot write the log " << quotedPath(options.logAsGiven) << ": " << std::strerror(errno)
                  << "\n";
        return ExitCode::runStopped;
    }
    ExitCode exitCode;
    bool copied = false;
    {
        const CopiedOutput out(std::cout, log.rdbuf()), err(std::cerr, log.rdbuf());
        exitCode = runUnattended(options, program);
        std::cout.flush();
        copied = !out.copyFailed() && !err.copyFailed();
    }
    log.close();
    if (copied && !log.fail())
        return exitCode;
    std::cerr << "quillop: cannot write the log " << quotedPath(options.logAsGiven) << ": " << std::strerror(errno)
              << "\n";
    return ExitCode::runStopped;
}

// What cannot reach standard output is an error of its own.
int withOutputChecked(ExitCode exitCode, const ProgramCommandLine& program)
{
    std::cout.flush();
    if (!std::cout.fail())
        return ExitStatus(exitCode);
    std::cerr << "quillop: cannot write to standard output: " << program.outputFailure() << "\n";
    return ExitStatus(exitCode == ExitCode::allInstalled || exitCode == ExitCode::someSkipped ? ExitCode::runStopped
                                                                                              : exitCode);
}

} // namespace

int RunQuillop(const std::vector<std::string>& arguments, ProgramCommandLine& program)
{
    Options options;
    if (const auto done = parse(arguments, program, options))
        return withOutputChecked(*done, program);
    // Scripts read the command line's messages: English, whatever the user's language.
    if (options.alone || options.unattended)
        LoadStringsInEnglish();
    if (options.alone)
        return withOutputChecked(program.runAlone(options.json), program);
    if (options.unattended)
        return withOutputChecked(runUnattendedWithLog(options, program), program);
    return program.runWindow(options.folder);
}
