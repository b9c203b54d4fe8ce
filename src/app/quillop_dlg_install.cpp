// The installation run behind the main dialog's Install button.
#include "app/quillop_dlg.h"

#include "install/conflict_checks.h"
#include "install/install_summary.h"
#include "install/vorn_writer.h"
#include "payload/control_file.h"
#include "platform/file_exception.h"
#include "platform/text_format.h"
#include "res/resource_ids.h"
#include "res/string_table.h"

#include <QProgressBar>

#include <cstdint>
#include <new>

void CQuillopDlg::OnInstall()
{
    std::uint32_t count = 0;
    std::uint32_t entryNumber = 0;

    const auto reportFileError = [&] {
        SetStatusText(FormatText("File error while installing vorn file %d of %d.", {entryNumber, count}));
    };

    EnableItem(IDC_BROWSE, false);
    m_progress->show();
    try {
        count = ReadCatalogueCount();
        ControlFile control = OpenControlFile(m_strVornsFolder);
        InstallSummary summary;
        for (std::uint32_t i = 0; i < count; ++i) {
            entryNumber = i + 1;
            const CatalogueEntry entry = LoadCatalogueEntry(entryNumber);
            VornRecord record = ParseRecord(entry.record.constData(), std::size_t(entry.record.size()));

            SetStatusText(FormatText(LoadString(IDS_CREATING), {record.name, record.file}));
            m_progress->setValue(int((100 * i + 50) / count));
            RememberEnd(control);

            if (CheckVornName(record.name, control) == CheckAnswer::Skip)
                continue;
            std::string path;
            if (CheckFileName(record.file, m_strVornsFolder, path) == CheckAnswer::Skip)
                continue;

            WriteVornEntry(control, path, entry.image, FormatRecord(record));
            summary.add(record.name, entryNumber == count);
            m_progress->setValue(int(100 * (i + 1) / count));
        }
        control.handle.Flush();
        CloseControlFile(control);

        EnableItem(IDC_INSTALL, false);
        m_progress->hide();
        GetDlgItem(IDOK)->setFocus();
        SetStatusText(FormatText(LoadString(IDS_DONE), {summary.count, summary.list}));
        GetDlgItem(IDOK)->setFocus();
    } catch (LocalErrors error) {
        SetStatusText(FormatText("Error while installing vorn file %d of %d.\n%s",
                                 {entryNumber, count, LocalErrorMessage(error)}));
    } catch (const FileException&) {
        reportFileError();
    } catch (const std::bad_alloc&) {
        // Out of memory while handling the files: reported as the file
        // error it amounts to, never as a crash.
        reportFileError();
    }
}
