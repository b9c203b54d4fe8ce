#include "install/vorn_writer.h"

#include "platform/file_exception.h"

namespace {

// Best-effort removal while another failure is already on its way out.
void removeQuietly(const std::string& path)
{
    try {
        StdioFile::Remove(path);
    } catch (const FileException&) {
    }
}

} // namespace

void WriteVornEntry(ControlFile& control, const std::string& vornPath, const QByteArray& image,
                    const std::string& recordText)
{
    // The file appears whole and flushed, or not at all, before its block.
    StdioFile::CreateWhole(vornPath, image.constData(), std::size_t(image.size()));
    try {
        AppendRecord(control, recordText);
    } catch (const FileException&) {
        try {
            control.handle.SetLength(control.savedEnd);
        } catch (const FileException&) {
            // The append's own error is the one the run reports.
        }
        removeQuietly(vornPath);
        throw;
    }
}
