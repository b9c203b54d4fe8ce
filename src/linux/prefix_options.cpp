#include "linux/prefix_options.h"

#include "cli/argument_text.h"
#include "cli/json.h"
#include "host/vorns_folder.h"
#include "linux/prefixes/prefix_choice.h"
#include "linux/prefixes/prefix_search.h"
#include "platform/linux/plain_file.h"
#include "platform/linux/wine_prefix.h"
#include "platform/utf8.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Whether anything is at `path` (links followed).
bool existsAt(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0;
}

// `path` made absolute against the current folder, without resolving links.
std::string absolutePath(const std::string& path)
{
    if (!path.empty() && path.front() == '/')
        return path;
    char current[PATH_MAX];
    if (!::getcwd(current, sizeof current))
        return path;
    return std::string(current) + "/" + path;
}

// A prefix as usage errors list it: its label and its path.
std::string candidateLine(const PrefixSearch::Prefix& prefix)
{
    return listingField(prefix.selector()) + "\t" + listingField(prefix.path);
}

// Why a folder named as a prefix is none, or nothing when it is one.
std::optional<std::string> notAPrefix(const std::string& path)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return errno == ENOENT ? std::string("no such folder") : std::string(std::strerror(errno));
    if (!S_ISDIR(info.st_mode))
        return std::string("not a folder");
    if (::access(path.c_str(), R_OK | X_OK) != 0)
        return std::string(std::strerror(errno));
    struct stat registry {};
    if (::stat((path + "/system.reg").c_str(), &registry) == 0 && !S_ISREG(registry.st_mode))
        return "not a Wine prefix: its system.reg is " + NotAPlainFile(registry.st_mode);
    if (!PrefixSearch::IsWinePrefix(path))
        return std::string("not a Wine prefix (no system.reg with drive_c or dosdevices)");
    return std::nullopt;
}

} // namespace

std::optional<UsageError> ResolvePrefix(const std::string& value, std::string& prefix, std::string& label)
{
    const std::vector<PrefixSearch::Prefix> found = PrefixSearch::FindPrefixes(PrefixSearch::UserPlaces());
    std::vector<const PrefixSearch::Prefix*> matches;
    for (const PrefixSearch::Prefix& prefix : found)
        if (prefix.selector() == value)
            matches.push_back(&prefix);
    if (value.find('/') != std::string::npos || (matches.empty() && existsAt(value))) {
        prefix = absolutePath(value);
        if (const auto why = notAPrefix(prefix))
            return UsageError{"--prefix " + echoed(value) + ": " + *why, {}};
        return std::nullopt;
    }
    if (matches.size() == 1) {
        prefix = matches.front()->path;
        label = value;
        return std::nullopt;
    }
    UsageError error{matches.empty()
                         ? "--prefix " + echoed(value) + " is neither a folder nor the label of a Wine prefix"
                         : "--prefix " + echoed(value) + " names several Wine prefixes",
                     {}};
    for (const PrefixSearch::Prefix& candidate : found)
        if (matches.empty() || candidate.selector() == value)
            error.details.push_back(candidateLine(candidate));
    if (found.empty())
        error.details.emplace_back("(no Wine prefix found)");
    return error;
}

std::optional<UsageError> CheckWinePrefixVariable()
{
    const char* variable = std::getenv("WINEPREFIX");
    const std::string value = variable ? variable : "";
    if (value.empty())
        return std::nullopt;
    if (value.front() != '/')
        return UsageError{"$WINEPREFIX " + echoed(value) + " is not an absolute path", {}};
    if (const auto why = notAPrefix(value))
        return UsageError{"$WINEPREFIX " + echoed(value) + ": " + *why, {}};
    return std::nullopt;
}

ExitCode ListPrefixes(bool json)
{
    const std::string previous = WinePrefix::current().root();
    std::vector<JsonValue> listed;
    for (const PrefixSearch::Prefix& prefix : PrefixSearch::FindPrefixes(PrefixSearch::UserPlaces())) {
        WinePrefix::use(prefix.path);
        std::vector<std::string> problems;
        const auto folder = RegisteredVornsFolder(&problems);
        if (json) {
            std::vector<JsonValue> readable;
            readable.reserve(problems.size());
            for (const std::string& problem : problems)
                readable.emplace_back(CharCase::readable(problem));
            listed.push_back(JsonValue::object({{"label", prefix.selector()},
                                                {"name", CharCase::readable(prefix.name)},
                                                {"path", CharCase::readable(prefix.path)},
                                                {"problems", JsonValue::array(readable)},
                                                {"shownAs", prefix.label()},
                                                {"source", prefix.source},
                                                {"vornsFolder", folder ? JsonValue(*folder) : JsonValue()}}));
        } else {
            std::cout << listingField(prefix.selector()) << "\t" << listingField(prefix.path) << "\t"
                      << (folder ? listingField(*folder) : "(no Vorns folder)") << "\t" << listingField(prefix.label())
                      << "\n";
            for (const std::string& problem : problems)
                std::cerr << "quillop: " << CharCase::readable(problem) << " (passed over)\n";
        }
    }
    WinePrefix::use(previous);
    if (json)
        std::cout << JsonValue::array(listed).dump();
    return ExitCode::allInstalled;
}

std::optional<ExitCode> ChoosePrefix(const std::string& prefix, const std::string& label, UnattendedReport& report)
{
    if (!prefix.empty()) {
        WinePrefix::use(prefix);
        report.usePrefix(prefix, "--prefix", label);
        return std::nullopt;
    }
    if (WinePrefix::givenByEnvironment()) {
        report.usePrefix(WinePrefix::current().root(), "$WINEPREFIX");
        return std::nullopt;
    }
    const auto withHost = PrefixesWithHost(PrefixSearch::FindPrefixes(PrefixSearch::UserPlaces()));
    if (withHost.size() > 1) {
        std::vector<std::string> candidates;
        candidates.reserve(withHost.size());
        for (const PrefixSearch::Prefix& candidate : withHost)
            candidates.push_back(candidateLine(candidate));
        return report.stop(ExitCode::severalPrefixes,
                           "Corvane is in several Wine prefixes; name one with --prefix:", candidates);
    }
    if (withHost.size() == 1) {
        WinePrefix::use(withHost.front().path);
        report.usePrefix(withHost.front().path, "the one prefix with Corvane", withHost.front().selector());
    } else {
        report.usePrefix(WinePrefix::current().root(), "no prefix with Corvane found; the default");
    }
    return std::nullopt;
}
