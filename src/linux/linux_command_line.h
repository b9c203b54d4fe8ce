#pragma once

#include "cli/command_line.h"

#include <QCoreApplication>

#include <optional>

// The Linux program's part of the command line: the Wine prefix to work in
// (--prefix, --list-prefixes, $WINEPREFIX and the search), the display the
// window needs, and the window itself, on Qt.
class LinuxCommandLine : public ProgramCommandLine {
public:
    // `outputClosed`: standard output was closed when the program started.
    LinuxCommandLine(int& argc, char** argv, bool outputClosed);

    std::string programName() const override { return "quillop"; }
    std::string description() const override;
    std::vector<KnownOption> options() const override;
    std::vector<std::string> exitCodes() const override;
    std::string aloneOption() const override { return "list-prefixes"; }
    std::optional<UsageError> check(const GivenOptions& given) override;
    ExitCode runAlone(bool json) override;
    std::optional<ExitCode> prepareUnattended(UnattendedReport& report) override;
    std::optional<std::string> missingDisplay() override;
    int runWindow(const std::string& folder) override;
    std::string outputFailure() const override;

private:
    int& m_argc;
    char** m_argv;
    bool m_outputClosed;
    // Everything but the window runs without a display.
    std::optional<QCoreApplication> m_core;
    std::string m_prefix; // a path, after a label is looked up
    std::string m_prefixLabel;
};
