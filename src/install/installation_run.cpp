#include "install/installation_run.h"

#include "install/vorn_writer.h"
#include "payload/catalogue.h"
#include "payload/control_file.h"
#include "platform/file_exception.h"
#include "platform/text_format.h"
#include "res/resource_ids.h"
#include "res/string_table.h"

#include <new>

RunOutcome RunInstallation(const std::string& folder, ConflictQuestions& questions, RunDisplay& display)
{
    RunOutcome outcome;
    std::uint32_t& count = outcome.entries;
    std::uint32_t entryNumber = 0;
    const auto fileError = [&] {
        return FormatText("File error while installing vorn file %d of %d.", {entryNumber, count});
    };
    try {
        count = ReadCatalogueCount();
        ControlFile control = OpenControlFile(folder);
        for (std::uint32_t i = 0; i < count; ++i) {
            entryNumber = i + 1;
            const CatalogueEntry entry = LoadCatalogueEntry(entryNumber);
            VornRecord record = ParseRecord(entry.record.constData(), std::size_t(entry.record.size()));

            display.showStatus(FormatText(LoadString(IDS_CREATING), {record.name, record.file}));
            display.showProgress(int((100 * i + 50) / count));
            RememberEnd(control);

            if (CheckVornName(record.name, control, questions) == CheckAnswer::Skip)
                continue;
            std::string path;
            if (CheckFileName(record.file, folder, path, questions) == CheckAnswer::Skip)
                continue;

            WriteVornEntry(control, path, entry.image, FormatRecord(record));
            outcome.summary.add(record.name, entryNumber == count);
            display.showProgress(int(100 * (i + 1) / count));
        }
        control.handle.Flush();
        CloseControlFile(control);
        outcome.completed = true;
        outcome.statusText = FormatText(LoadString(IDS_DONE), {outcome.summary.count, outcome.summary.list});
    } catch (LocalErrors error) {
        outcome.statusText = FormatText("Error while installing vorn file %d of %d.\n%s",
                                        {entryNumber, count, LocalErrorMessage(error)});
    } catch (const FileException&) {
        outcome.statusText = fileError();
    } catch (const std::bad_alloc&) {
        // Out of memory while handling the files: reported as the file
        // error it amounts to, never as a crash.
        outcome.statusText = fileError();
    }
    return outcome;
}
