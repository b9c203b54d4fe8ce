#pragma once

#include "cli/command_line.h"
#include "windows/standard_streams.h"

// quillop.exe's part of the command line: its name and /? in the help, no
// system message box in an unattended run, and the window on the dialog
// manager.
class WindowsCommandLine : public ProgramCommandLine {
public:
    explicit WindowsCommandLine(const StandardStreams& streams)
        : m_streams(streams)
    {
    }

    std::string programName() const override { return "quillop.exe"; }
    std::string description() const override;
    std::string helpOptionLabel() const override { return "-h, --help, /?"; }
    std::optional<ExitCode> prepareUnattended(UnattendedReport& report) override;
    int runWindow(const std::string& folder) override;
    std::string outputFailure() const override { return m_streams.outputFailure(); }

private:
    const StandardStreams& m_streams;
};
