#include "cli/unattended_report.h"

#include "cli/json.h"
#include "platform/program_text.h"
#include "platform/utf8.h"

#include <iostream>

namespace {

using Outcome = EntryResult::Outcome;

// A name, a file or a folder of the run as the report shows it: UTF-8.
std::string shown(const std::string& programText)
{
    return ProgramTextToUtf8(programText);
}

const char* outcomeName(Outcome outcome)
{
    switch (outcome) {
    case Outcome::installed:
        return "installed";
    case Outcome::renamed:
        return "renamed";
    case Outcome::skippedNameListed:
    case Outcome::skippedFileExists:
        return "skipped";
    case Outcome::alreadyInstalled:
        return "alreadyInstalled";
    case Outcome::recordAdded:
        return "recordAdded";
    }
    return "";
}

// Why an entry was skipped or renamed.
std::string reasonOf(const EntryResult& result)
{
    switch (result.outcome) {
    case Outcome::skippedNameListed:
        return "name listed";
    case Outcome::skippedFileExists:
        return "file exists";
    case Outcome::renamed:
        if (result.name != result.packagedName)
            return result.file == result.packagedName + ".vrn" ? "name listed" : "name listed, file exists";
        return "file exists";
    default:
        return {};
    }
}

std::string lineFor(const EntryResult& result)
{
    const std::string name = shown(result.packagedName), file = shown(result.file);
    switch (result.outcome) {
    case Outcome::installed:
        return name + ": installed as " + file;
    case Outcome::renamed:
        return name + ": renamed to " + shown(result.name) + "/" + file + " (" + reasonOf(result) + ")";
    case Outcome::skippedNameListed:
    case Outcome::skippedFileExists:
        return name + ": skipped (" + reasonOf(result) + ")";
    case Outcome::alreadyInstalled:
        return name + ": already installed as " + file;
    case Outcome::recordAdded:
        return name + ": record added for " + file + " (the file was already there)";
    }
    return {};
}

bool skipped(const EntryResult& result)
{
    return result.outcome == Outcome::skippedNameListed || result.outcome == Outcome::skippedFileExists;
}

// Where the run stopped and why: the file and the system's cause, or the
// run's own error text.
std::string stopMessage(const RunOutcome& outcome)
{
    if (outcome.everyEntryWritten)
        return "every block was written, but the control file could not be flushed to the disk: "
            + shown(outcome.failure);
    const std::string where = outcome.failedEntry == 0
        ? "stopped before the first Vorn"
        : "stopped at Vorn " + std::to_string(outcome.failedEntry) + " of " + std::to_string(outcome.entries);
    if (!outcome.failure.empty())
        return where + ": " + shown(outcome.failure);
    std::string text = shown(outcome.statusText);
    for (char& c : text)
        if (c == '\r' || c == '\n')
            c = ' ';
    return where + ": " + text;
}

} // namespace

void UnattendedReport::line(const std::string& text)
{
    if (m_format == Format::text)
        std::cout << text << "\n";
}

void UnattendedReport::usePrefix(const std::string& path, const std::string& why, const std::string& label)
{
    m_prefix = CharCase::readable(path);
    m_prefixWhy = why;
    m_prefixLabel = label;
    line("Prefix: " + m_prefix + " (" + why + (label.empty() ? "" : ": " + label) + ")");
}

void UnattendedReport::useFolder(const std::string& folder, const std::string& why,
                                 const std::vector<std::string>& problems)
{
    m_folder = shown(folder);
    m_folderWhy = why;
    std::string reasons = why;
    for (const std::string& problem : problems) {
        m_folderProblems.push_back(CharCase::readable(shown(problem)));
        reasons += "; " + m_folderProblems.back();
    }
    line("Vorns folder: " + m_folder + " (" + reasons + ")");
    if (m_dryRun)
        line("Dry run: nothing is written.");
}

ExitCode UnattendedReport::finish(const RunOutcome& outcome)
{
    m_outcome = &outcome;
    int installed = 0, already = 0, skips = 0;
    for (const EntryResult& result : outcome.results) {
        line(lineFor(result));
        if (skipped(result))
            ++skips;
        else if (result.outcome == Outcome::alreadyInstalled)
            ++already;
        else
            ++installed;
    }
    if (!outcome.completed)
        return done(ExitCode::runStopped, stopMessage(outcome), {});
    line("Done: " + std::to_string(installed) + " installed, " + std::to_string(already) + " already installed, "
         + std::to_string(skips) + " skipped.");
    return done(skips ? ExitCode::someSkipped : ExitCode::allInstalled, {}, {});
}

ExitCode UnattendedReport::stop(ExitCode exitCode, const std::string& message, const std::vector<std::string>& details)
{
    return done(exitCode, message, details);
}

ExitCode UnattendedReport::done(ExitCode exitCode, const std::string& error, const std::vector<std::string>& details)
{
    if (!error.empty()) {
        std::cerr << "quillop: " << error << "\n";
        for (const std::string& detail : details)
            std::cerr << "  " << detail << "\n";
    }
    if (m_format != Format::json)
        return exitCode;
    std::vector<JsonValue> vorns;
    if (m_outcome) {
        for (const EntryResult& result : m_outcome->results)
            vorns.push_back(JsonValue::object({{"file", shown(result.file)},
                                               {"name", shown(result.name)},
                                               {"outcome", outcomeName(result.outcome)},
                                               {"packagedName", shown(result.packagedName)},
                                               {"reason", JsonValue::textOrNull(reasonOf(result))}}));
    }
    std::vector<JsonValue> problems(m_folderProblems.begin(), m_folderProblems.end());
    const JsonValue document = JsonValue::object({
        {"completed", m_outcome && m_outcome->completed},
        {"dryRun", m_dryRun},
        {"error", JsonValue::textOrNull(error)},
        {"exitCode", ExitStatus(exitCode)},
        {"folder",
         JsonValue::object({{"from", JsonValue::textOrNull(m_folderWhy)},
                            {"path", JsonValue::textOrNull(m_folder)},
                            {"problems", JsonValue::array(problems)}})},
        {"prefix",
         JsonValue::object({{"from", JsonValue::textOrNull(m_prefixWhy)},
                            {"label", JsonValue::textOrNull(m_prefixLabel)},
                            {"path", JsonValue::textOrNull(m_prefix)}})},
        {"vorns", JsonValue::array(vorns)},
    });
    std::cout << document.dump();
    return exitCode;
}
