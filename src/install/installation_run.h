#pragma once

#include "install/conflict_checks.h"
#include "install/install_summary.h"

#include <cstdint>
#include <string>
#include <vector>

// Where a run shows how it goes: each entry's status text and the progress
// position (0 to 100).
class RunDisplay {
public:
    virtual ~RunDisplay() = default;
    virtual void showStatus(const std::string& text) = 0;
    virtual void showProgress(int position) = 0;
};

// How one catalogue entry of a run ended.
struct EntryResult {
    enum class Outcome {
        installed, // under its packaged name and file
        renamed, // under another name or file
        skippedNameListed, // its name is taken and no other was given
        skippedFileExists, // its file is there and no other name was given
        alreadyInstalled, // its file, byte for byte, and its block are there
        recordAdded, // its file was there byte for byte; only its block was appended
    };
    Outcome outcome = Outcome::installed;
    std::string packagedName;
    // As installed; the packaged ones for an entry skipped.
    std::string name;
    std::string file;
};

struct RunOptions {
    // Runs every check and reports as a real run would, but writes no file
    // and no block.
    bool dryRun = false;
    // A Vorn file that is already there byte for byte counts as installed:
    // with its block in the control file nothing is written; with its name
    // listed nowhere only its block is appended, as for a run stopped
    // between the two. Otherwise the entry meets the checks as usual.
    bool resumeInstalled = false;
};

struct RunOutcome {
    bool completed = false;
    // The done text on completion, else the error text.
    std::string statusText;
    InstallSummary summary;
    // The catalogue's entry count (0 when it could not be read).
    std::uint32_t entries = 0;
    // One per entry the run got through, in catalogue order.
    std::vector<EntryResult> results;
    // For a run that stopped: the entry it stopped at (0 before the first)
    // and, for a file operation, the file's Windows path and the cause.
    std::uint32_t failedEntry = 0;
    std::string failure;
    // The run stopped after every entry was written, while committing the
    // control file to the disk.
    bool everyEntryWritten = false;
};

// Installs the catalogue into `folder` (a Windows path): for each entry the
// name and file checks, then its Vorn file and its control-file block.
RunOutcome RunInstallation(const std::string& folder, ConflictQuestions& questions, RunDisplay& display,
                           const RunOptions& options = {});
