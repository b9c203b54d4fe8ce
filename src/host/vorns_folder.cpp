#include "host/vorns_folder.h"

#include "host/path_canonicalizer.h"
#include "payload/control_file.h"
#include "platform/file_lookup.h"
#include "platform/registry.h"
#include "platform/string_resources.h"
#include "res/resource_ids.h"

#include <cstring>

std::string VornsFolderFromCommand(const std::string& command)
{
    std::string folder;
    if (const std::size_t closing = command.find('"', 1);
        !command.empty() && command[0] == '"' && closing != std::string::npos) {
        // Installers quote the program's path: cutting at the last space would
        // keep the opening quote, and the folder would never be found.
        folder = command.substr(1, closing - 1);
    } else {
        const std::size_t space = command.rfind(' ');
        folder = space == std::string::npos ? std::string() : command.substr(0, space);
    }
    const std::size_t backslash = folder.rfind('\\');
    folder = backslash == std::string::npos ? std::string() : folder.substr(0, backslash + 1);
    return folder + "Vorns";
}

std::string CanonicalVornsFolder(const std::string& folder)
{
    const std::string controlPath = ControlFilePath(folder);
    if (controlPath.size() + 1 > std::size_t(kPathBufferSize))
        return folder;
    char buffer[kPathBufferSize];
    std::memcpy(buffer, controlPath.c_str(), controlPath.size() + 1);
    // The folder holds the control file, so the walk normally succeeds; where
    // it does not, the buffer still holds the path as written.
    CanonicalizePath(buffer, true);
    const std::string canonical = buffer;
    return canonical.substr(0, canonical.rfind('\\') + 1);
}

bool IsVornsFolder(const std::string& folder)
{
    return FileExists(ControlFilePath(folder));
}

std::optional<std::string> RegisteredVornsFolder(std::vector<std::string>* problems)
{
    const auto command = Registry::QueryClassesRootDefault(LoadString(IDS_FILETYPE_KEY), problems);
    if (!command || command->empty())
        return std::nullopt;
    const std::string folder = VornsFolderFromCommand(*command);
    if (!IsVornsFolder(folder))
        return std::nullopt;
    return CanonicalVornsFolder(folder);
}

VornsFolderChoice ChooseVornsFolder(const std::string& given)
{
    VornsFolderChoice choice{given, VornsFolderChoice::From::given, {}};
    if (!given.empty())
        return choice;
    if (auto registered = RegisteredVornsFolder(&choice.problems)) {
        choice.folder = std::move(*registered);
        choice.from = VornsFolderChoice::From::registration;
    } else {
        choice.folder = LoadString(IDS_DEFAULT_FOLDER);
        choice.from = VornsFolderChoice::From::fallback;
    }
    return choice;
}
