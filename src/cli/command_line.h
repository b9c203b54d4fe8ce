#pragma once

#include "app/exit_code.h"
#include "cli/unattended_report.h"
#include "cli/usage_error.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

// The command line both programs take, from one source: --help (and /?),
// --version, --folder, --unattended, --on-conflict, --dry-run, --quiet,
// --json and --log, with the same texts, report and exit codes; each
// program adds what only it has (ProgramCommandLine).

// An option: its long name, the name of its value ("" for a switch) and
// its line of help.
struct KnownOption {
    std::string name;
    std::string valueName;
    std::string help;
};

// The options given, by long name, with their values ("" for a switch).
struct GivenOptions {
    std::map<std::string, std::string> values;

    bool isSet(const std::string& name) const { return values.count(name) != 0; }
    std::string value(const std::string& name) const
    {
        const auto it = values.find(name);
        return it == values.end() ? std::string() : it->second;
    }
};

// What one program adds to the shared command line.
class ProgramCommandLine {
public:
    virtual ~ProgramCommandLine() = default;

    // How --help names the program, what it says it does, and how to ask for help.
    virtual std::string programName() const = 0;
    virtual std::string description() const = 0;
    virtual std::string helpOptionLabel() const { return "-h, --help"; }
    // Options of its own, shown after the shared ones, and exit codes they
    // add ("4  ...").
    virtual std::vector<KnownOption> options() const { return {}; }
    virtual std::vector<std::string> exitCodes() const { return {}; }
    // An option of its own that does its work alone and takes --json (such
    // as --list-prefixes), or "".
    virtual std::string aloneOption() const { return {}; }
    // Its options' own checks, once the shared ones passed.
    virtual std::optional<UsageError> check(const GivenOptions&) { return std::nullopt; }
    virtual ExitCode runAlone(bool /*json*/) { return ExitCode::allInstalled; }
    // Makes the place an unattended run works in the process's own and
    // reports it; answers the exit code that stops the run, if any.
    virtual std::optional<ExitCode> prepareUnattended(UnattendedReport&) { return std::nullopt; }
    // Why the window cannot be shown, or nothing.
    virtual std::optional<std::string> missingDisplay() { return std::nullopt; }
    // The window, on the folder the command line gave ("" for none); answers
    // the exit status.
    virtual int runWindow(const std::string& folder) = 0;
    // Why standard output could not be written.
    virtual std::string outputFailure() const = 0;
};

// Runs the command line (arguments in UTF-8, the program's name first):
// without options the window; the rest without one. Answers the process's
// exit status.
int RunQuillop(const std::vector<std::string>& arguments, ProgramCommandLine& program);
