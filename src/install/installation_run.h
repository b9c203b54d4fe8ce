#pragma once

#include "install/conflict_checks.h"
#include "install/install_summary.h"

#include <cstdint>
#include <string>

// Where a run shows how it goes: each entry's status text and the progress
// position (0 to 100).
class RunDisplay {
public:
    virtual ~RunDisplay() = default;
    virtual void showStatus(const std::string& text) = 0;
    virtual void showProgress(int position) = 0;
};

struct RunOutcome {
    bool completed = false;
    // The done text on completion, else the error text.
    std::string statusText;
    InstallSummary summary;
    // The catalogue's entry count (0 when it could not be read).
    std::uint32_t entries = 0;
};

// Installs the catalogue into `folder` (a Windows path): for each entry the
// name and file checks, then its Vorn file and its control-file block.
RunOutcome RunInstallation(const std::string& folder, ConflictQuestions& questions, RunDisplay& display);
