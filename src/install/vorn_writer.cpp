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

void writeVornFile(const std::string& path, const QByteArray& image)
{
    StdioFile vorn;
    vorn.Open(path, StdioFile::typeBinary | StdioFile::modeCreate | StdioFile::modeWrite);
    try {
        vorn.Write(image.constData(), std::size_t(image.size()));
        vorn.Flush();
        vorn.Close();
    } catch (const FileException&) {
        vorn = StdioFile();
        removeQuietly(path);
        throw;
    }
}

} // namespace

void WriteVornEntry(ControlFile& control, const std::string& vornPath, const QByteArray& image,
                    const std::string& recordText)
{
    writeVornFile(vornPath, image);
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
