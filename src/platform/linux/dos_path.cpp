#include "platform/linux/dos_path.h"

#include "platform/char_case.h"
#include "platform/linux/linux_directory.h"

#include <climits>
#include <unistd.h>

#include <vector>

namespace {

bool isSeparator(char c, DosPath::Syntax syntax)
{
    return c == '\\' || (c == '/' && syntax == DosPath::Syntax::folded);
}

std::vector<std::string> splitComponents(const std::string& text, std::size_t from, DosPath::Syntax syntax)
{
    std::vector<std::string> parts;
    std::string current;
    for (std::size_t i = from; i < text.size(); ++i) {
        if (isSeparator(text[i], syntax)) {
            if (!current.empty())
                parts.push_back(current);
            current.clear();
        } else {
            current += text[i];
        }
    }
    if (!current.empty())
        parts.push_back(current);
    return parts;
}

std::string joinHost(const std::string& folder, const std::string& name)
{
    return folder.empty() || folder.back() == '/' ? folder + name : folder + "/" + name;
}

// Folds "." and ".." the way Windows does before it touches the disk.
std::vector<std::string> foldDots(const std::vector<std::string>& parts)
{
    std::vector<std::string> folded;
    for (const std::string& part : parts) {
        if (part == ".")
            continue;
        if (part == "..") {
            if (!folded.empty())
                folded.pop_back();
            continue;
        }
        folded.push_back(part);
    }
    return folded;
}

// Windows tidies a path's dots and spaces before it touches the disk: the
// last component loses its trailing dots and spaces ("ABCD." is ABCD; one of
// dots alone leaves the path ending in a separator, which names no entry),
// and, read as Windows reads paths, every other component loses one
// trailing dot.
void tidyDotsAndSpaces(std::vector<std::string>& parts, bool& endsWithSeparator, DosPath::Syntax syntax)
{
    if (parts.empty())
        return;
    if (syntax == DosPath::Syntax::folded)
        for (std::size_t i = 0; i + 1 < parts.size(); ++i)
            if (parts[i].back() == '.')
                parts[i].pop_back();
    std::string& last = parts.back();
    const std::size_t keep = last.find_last_not_of(". ");
    if (keep != std::string::npos) {
        last.erase(keep + 1);
    } else if (syntax == DosPath::Syntax::folded) {
        parts.pop_back();
        endsWithSeparator = true;
    }
    // Read literally, "." and ".." stay as written: no entry has those names.
}

} // namespace

bool isInvalidDosName(const std::string& component)
{
    for (unsigned char c : component)
        if (c < 32 || c == '<' || c == '>' || c == '|' || c == '"')
            return true;
    return false;
}

bool isRefusedFileName(const std::string& name)
{
    if (name.find_first_of("*?:") != std::string::npos)
        return true;
    // The device is named by what stands before the first dot, less
    // trailing spaces.
    std::string device = name.substr(0, name.find('.'));
    while (!device.empty() && device.back() == ' ')
        device.pop_back();
    device = CharCase::upper(device);
    if (device == "CON" || device == "PRN" || device == "AUX" || device == "NUL")
        return true;
    return device.size() == 4 && (device.compare(0, 3, "COM") == 0 || device.compare(0, 3, "LPT") == 0)
        && device[3] >= '1' && device[3] <= '9';
}

DosPath DosPath::resolve(const std::string& windowsPath, const WinePrefix& prefix, Syntax syntax)
{
    DosPath result;
    result.endsWithSeparator = !windowsPath.empty() && isSeparator(windowsPath.back(), syntax);

    std::string rootHost;
    std::vector<std::string> parts;
    if (windowsPath.size() >= 2 && windowsPath[1] == ':') {
        const auto drive = prefix.driveRoot(windowsPath[0]);
        if (!drive)
            return result;
        rootHost = *drive;
        parts = splitComponents(windowsPath, 2, syntax);
    } else if (windowsPath.size() >= 2 && isSeparator(windowsPath[0], syntax) && isSeparator(windowsPath[1], syntax)) {
        parts = splitComponents(windowsPath, 2, syntax);
        if (parts.size() < 2)
            return result;
        // Server and share are looked up like folders under the UNC root.
        rootHost = prefix.uncRoot();
    } else if (!windowsPath.empty() && isSeparator(windowsPath[0], syntax)) {
        // Rooted on the current drive: a native process's current folder is
        // on Wine's drive for the host root.
        const auto drive = prefix.driveRoot('z');
        if (!drive)
            return result;
        rootHost = *drive;
        parts = splitComponents(windowsPath, 1, syntax);
    } else {
        char current[PATH_MAX];
        if (!::getcwd(current, sizeof current))
            return result;
        rootHost = current;
        parts = splitComponents(windowsPath, 0, syntax);
    }
    if (syntax == Syntax::folded)
        parts = foldDots(parts);
    tidyDotsAndSpaces(parts, result.endsWithSeparator, syntax);
    for (const std::string& part : parts)
        if (isInvalidDosName(part))
            return result;
    result.valid = true;

    std::string host = rootHost;
    bool onDisk = LinuxDirectory(rootHost).exists();
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const bool last = i + 1 == parts.size();
        if (last) {
            result.parentHostPath = host;
            // A file in the middle of a path is no folder to hold anything.
            result.parentExists = onDisk && (i == 0 || LinuxDirectory(host).exists());
            result.parentIsRoot = i == 0;
        }
        // The host path follows the entries Wine would open; the stored
        // name of the last component is the one its directory search shows.
        const LinuxDirectory folder(host);
        std::optional<std::string> opened;
        if (onDisk)
            opened = folder.find(parts[i], LinuxDirectory::Order::opening);
        onDisk = opened.has_value();
        host = joinHost(host, opened ? *opened : parts[i]);
        if (last) {
            result.finalComponent = parts[i];
            result.exists = onDisk;
            if (opened)
                result.storedName = *folder.find(parts[i], LinuxDirectory::Order::listing);
        }
    }
    if (parts.empty())
        result.exists = onDisk;
    result.hostPath = host;
    return result;
}
