#include "cli/unattended_report.h"

#include "cli/argument_text.h"
#include "linux/prefixes/prefix_search.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <iostream>

namespace {

using Outcome = EntryResult::Outcome;

QJsonValue textOrNull(const std::string& text)
{
    return text.empty() ? QJsonValue() : QJsonValue(toQt(text));
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
    const std::string& name = result.packagedName;
    switch (result.outcome) {
    case Outcome::installed:
        return name + ": installed as " + result.file;
    case Outcome::renamed:
        return name + ": renamed to " + result.name + "/" + result.file + " (" + reasonOf(result) + ")";
    case Outcome::skippedNameListed:
    case Outcome::skippedFileExists:
        return name + ": skipped (" + reasonOf(result) + ")";
    case Outcome::alreadyInstalled:
        return name + ": already installed as " + result.file;
    case Outcome::recordAdded:
        return name + ": record added for " + result.file + " (the file was already there)";
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
        return "every block was written, but the control file could not be flushed to the disk: " + outcome.failure;
    const std::string where = outcome.failedEntry == 0
        ? "stopped before the first Vorn"
        : "stopped at Vorn " + std::to_string(outcome.failedEntry) + " of " + std::to_string(outcome.entries);
    if (!outcome.failure.empty())
        return where + ": " + outcome.failure;
    std::string text = outcome.statusText;
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
    m_prefix = PrefixSearch::Readable(path);
    m_prefixWhy = why;
    m_prefixLabel = label;
    line("Prefix: " + m_prefix + " (" + why + (label.empty() ? "" : ": " + label) + ")");
}

void UnattendedReport::useFolder(const std::string& folder, const std::string& why,
                                 const std::vector<std::string>& problems)
{
    m_folder = folder;
    m_folderWhy = why;
    std::string reasons = why;
    for (const std::string& problem : problems) {
        m_folderProblems.push_back(PrefixSearch::Readable(problem));
        reasons += "; " + m_folderProblems.back();
    }
    line("Vorns folder: " + folder + " (" + reasons + ")");
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
    QJsonArray vorns;
    if (m_outcome) {
        for (const EntryResult& result : m_outcome->results)
            vorns.append(QJsonObject{{QStringLiteral("name"), toQt(result.name)},
                                     {QStringLiteral("file"), toQt(result.file)},
                                     {QStringLiteral("packagedName"), toQt(result.packagedName)},
                                     {QStringLiteral("outcome"), QLatin1String(outcomeName(result.outcome))},
                                     {QStringLiteral("reason"), textOrNull(reasonOf(result))}});
    }
    QJsonArray problems;
    for (const std::string& problem : m_folderProblems)
        problems.append(toQt(problem));
    const QJsonObject document{
        {QStringLiteral("prefix"),
         QJsonObject{{QStringLiteral("path"), textOrNull(m_prefix)},
                     {QStringLiteral("label"), textOrNull(m_prefixLabel)},
                     {QStringLiteral("from"), textOrNull(m_prefixWhy)}}},
        {QStringLiteral("folder"),
         QJsonObject{{QStringLiteral("path"), textOrNull(m_folder)},
                     {QStringLiteral("from"), textOrNull(m_folderWhy)},
                     {QStringLiteral("problems"), problems}}},
        {QStringLiteral("dryRun"), m_dryRun},
        {QStringLiteral("vorns"), vorns},
        {QStringLiteral("completed"), m_outcome && m_outcome->completed},
        {QStringLiteral("error"), textOrNull(error)},
        {QStringLiteral("exitCode"), ExitStatus(exitCode)},
    };
    std::cout << QJsonDocument(document).toJson(QJsonDocument::Indented).toStdString();
    return exitCode;
}
