#include "install/installation_run.h"

#include "install/vorn_writer.h"
#include "payload/catalogue.h"
#include "payload/control_file.h"
#include "platform/file_exception.h"
#include "platform/file_lookup.h"
#include "platform/string_resources.h"
#include "platform/text_format.h"
#include "platform/windows_path.h"
#include "res/resource_ids.h"

#include <new>

namespace {

using Outcome = EntryResult::Outcome;

// Windows' file functions, through which Corvane opens its Vorn files, take
// paths of at most this many characters.
constexpr std::size_t kLongestPath = 259;

[[noreturn]] void throwTooLong(const std::string& path)
{
    throw FileException(FileException::badPath, path, "longer than the 259 characters of a Windows path");
}

// Whether the entry is there already, whole or with its block missing: its
// file byte for byte, and its block, or no block under its name. Appends the
// missing block unless this is a dry run.
std::optional<Outcome> resumeInstalled(ControlFile& control, const std::string& folder, const VornRecord& record,
                                       const CatalogueEntry& entry, bool dryRun)
{
    const std::string path = PathInFolder(folder, record.file);
    if (!FileExists(path) || !VornFileMatches(path, entry.image))
        return std::nullopt;
    const ControlText& text = control.text();
    const std::string recordText = FormatRecord(record);
    if (text.view().find("\n" + recordText) != std::string_view::npos)
        return Outcome::alreadyInstalled;
    if (IsVornNameTaken(text, record.name))
        return std::nullopt;
    if (!dryRun)
        control.append(recordText);
    return Outcome::recordAdded;
}

// Before anything is written, every entry's path must fit; `entryNumber`
// names the first that does not. An entry the catalogue cannot give is left
// to the run, which reports it in its turn.
void checkPathsFit(const std::string& folder, std::uint32_t count, std::uint32_t& entryNumber)
{
    for (std::uint32_t k = 1; k <= count; ++k) {
        std::string record;
        try {
            record = LoadCatalogueRecord(k);
        } catch (LocalErrors) {
            return;
        }
        const std::string path = PathInFolder(folder, ParseRecord(record.data(), record.size()).file);
        if (WindowsPathLength(path) > kLongestPath) {
            entryNumber = k;
            throwTooLong(path);
        }
    }
}

} // namespace

RunOutcome RunInstallation(const std::string& folder, ConflictQuestions& questions, RunDisplay& display,
                           const RunOptions& options)
{
    RunOutcome outcome;
    std::uint32_t& count = outcome.entries;
    std::uint32_t entryNumber = 0;
    const auto fileError = [&] { return FormatText(LoadString(IDS_FILE_ERROR), {entryNumber, count}); };
    try {
        count = ReadCatalogueCount();
        ControlFile control(folder);
        checkPathsFit(folder, count, entryNumber);
        if (!options.dryRun)
            StdioFile::RemoveAbandonedTemporaries(folder);
        for (std::uint32_t i = 0; i < count; ++i) {
            entryNumber = i + 1;
            const CatalogueEntry entry = LoadCatalogueEntry(entryNumber);
            VornRecord record = ParseRecord(entry.record.data(), entry.record.size());
            EntryResult result{Outcome::installed, record.name, record.name, record.file};

            display.showStatus(FormatText(LoadString(IDS_CREATING), {record.name, record.file}));
            display.showProgress(int((100 * i + 50) / count));

            if (options.resumeInstalled) {
                if (const auto resumed = resumeInstalled(control, folder, record, entry, options.dryRun)) {
                    result.outcome = *resumed;
                    outcome.results.push_back(result);
                    display.showProgress(int(100 * (i + 1) / count));
                    continue;
                }
            }
            std::string path;
            if (CheckVornName(record.name, control.text(), questions) == CheckAnswer::Skip)
                result.outcome = Outcome::skippedNameListed;
            else if (CheckFileName(record.file, folder, path, questions) == CheckAnswer::Skip)
                result.outcome = Outcome::skippedFileExists;
            if (result.outcome != Outcome::installed) {
                outcome.results.push_back(result);
                continue;
            }

            if (WindowsPathLength(path) > kLongestPath)
                throwTooLong(path); // a typed name
            if (!options.dryRun)
                WriteVornEntry(control, path, entry.image, FormatRecord(record));
            if (record.name != result.name || record.file != result.file)
                result.outcome = Outcome::renamed;
            result.name = record.name;
            result.file = record.file;
            outcome.results.push_back(result);
            outcome.summary.add(record.name, entryNumber == count);
            display.showProgress(int(100 * (i + 1) / count));
        }
        outcome.everyEntryWritten = true;
        control.flush();
        control.close();
        outcome.completed = true;
        outcome.statusText = FormatText(LoadString(IDS_DONE), {outcome.summary.count, outcome.summary.list});
    } catch (LocalErrors error) {
        outcome.statusText
            = FormatText(LoadString(IDS_ENTRY_ERROR), {entryNumber, count, LocalErrorMessage(static_cast<int>(error))});
    } catch (const FileException& error) {
        outcome.statusText = fileError();
        outcome.failure = error.what();
    } catch (const std::bad_alloc&) {
        // Out of memory while handling the files: reported as the file
        // error it amounts to, never as a crash.
        outcome.statusText = fileError();
    }
    if (!outcome.completed)
        outcome.failedEntry = entryNumber;
    else
        outcome.everyEntryWritten = false;
    return outcome;
}
