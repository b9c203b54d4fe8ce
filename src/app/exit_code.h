#pragma once

// The program's exit codes, as scripts and deployment tools read them (the
// README and --help list them).
enum class ExitCode {
    allInstalled = 0, // every Vorn installed, or there already
    runStopped = 1, // the run stopped with an error, or its report could not be written
    usageError = 2,
    noVornsFolder = 3, // no folder holding Vorns.ctl where the run looked
    severalPrefixes = 4, // Corvane in several Wine prefixes, none named
    someSkipped = 5, // the run finished with some Vorns skipped
};

// The process's status for `code`.
constexpr int ExitStatus(ExitCode code)
{
    return static_cast<int>(code);
}
