#pragma once

#include <optional>
#include <string>
#include <vector>

// The Vorns folder named by the host's registered open command: the
// program's path (the text between the opening quote and the next one when
// the command starts with a quote, else the text before the last space),
// kept through its last backslash, then "Vorns". A command without a space
// or without a backslash gives just "Vorns".
std::string VornsFolderFromCommand(const std::string& command);

// The folder's canonical form, found through the control file in it, up to
// and including the last backslash. A path too long to canonicalize leaves
// the folder as it is.
std::string CanonicalVornsFolder(const std::string& folder);

// The Vorns folder the host's registration in the current prefix leads to,
// in canonical form, or nothing when it leads to no folder holding the
// control file. Registry files that could not be read are added to
// `problems`.
std::optional<std::string> RegisteredVornsFolder(std::vector<std::string>* problems = nullptr);

// Whether the folder holds the control file.
bool IsVornsFolder(const std::string& folder);

// Where a run looks for the Vorns folder, the window and the command line
// alike: the folder the user named, else the one Corvane's registration
// leads to, else the default (where the window then opens the chooser).
struct VornsFolderChoice {
    enum class From { given, registration, fallback };
    std::string folder;
    From from;
    // Registry files that could not be read on the way.
    std::vector<std::string> problems;
};
VornsFolderChoice ChooseVornsFolder(const std::string& given);
