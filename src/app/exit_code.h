#pragma once

// The program's exit codes, as scripts and deployment tools read them (the
// README and --help list them).
enum class ExitCode {
    allInstalled = 0,
    runStopped = 1,
    usageError = 2,
    noVornsFolder = 3,
    severalPrefixes = 4,
    someSkipped = 5,
};

// The process's status for `code`.
constexpr int ExitStatus(ExitCode code)
{
    return static_cast<int>(code);
}
