#pragma once

#include "app/exit_code.h"
#include "install/installation_run.h"

#include <string>
#include <vector>

// What an unattended run says: where it worked and why there, one line per
// Vorn and a summary on standard output (or one JSON document), errors on
// standard error.
class UnattendedReport {
public:
    enum class Format { text, quiet, json };

    UnattendedReport(Format format, bool dryRun)
        : m_format(format)
        , m_dryRun(dryRun)
    {
    }

    // The prefix in use and why: "--prefix", "$WINEPREFIX", ...; `label` is
    // what --prefix takes for it, when it has one. The path is shown with
    // bytes that are not UTF-8 as \xHH.
    void usePrefix(const std::string& path, const std::string& why, const std::string& label = {});
    // The folder in use and why, with the registry files that could not be
    // read on the way ("<path>: Permission denied").
    void useFolder(const std::string& folder, const std::string& why, const std::vector<std::string>& problems = {});
    const std::vector<std::string>& folderProblems() const { return m_folderProblems; }

    // Reports a run; answers the exit code: allInstalled, someSkipped, or
    // runStopped.
    ExitCode finish(const RunOutcome& outcome);
    // Reports a stop before any run (no folder, several prefixes, ...) with
    // its message and, below it, lines such as the candidates; answers `exitCode`.
    ExitCode stop(ExitCode exitCode, const std::string& message, const std::vector<std::string>& details = {});

private:
    void line(const std::string& text);
    ExitCode done(ExitCode exitCode, const std::string& error, const std::vector<std::string>& details);

    Format m_format;
    bool m_dryRun;
    std::string m_prefix, m_prefixWhy, m_prefixLabel;
    std::string m_folder, m_folderWhy;
    std::vector<std::string> m_folderProblems;
    const RunOutcome* m_outcome = nullptr;
};
