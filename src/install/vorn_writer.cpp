#include "install/vorn_writer.h"

#include "platform/file_exception.h"

#include <algorithm>
#include <cstring>

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

void WriteVornEntry(ControlFile& control, const std::string& vornPath, const std::string& image,
                    const std::string& recordText)
{
    // The file appears whole and flushed, or not at all, before its block.
    StdioFile::CreateWhole(vornPath, image.data(), std::size_t(image.size()));
    try {
        control.append(recordText);
    } catch (const FileException&) {
        removeQuietly(vornPath);
        throw;
    }
}

bool VornFileMatches(const std::string& vornPath, const std::string& image)
{
    try {
        StdioFile file;
        file.Open(vornPath, StdioFile::typeBinary | StdioFile::modeRead);
        if (file.GetLength() != std::uint64_t(image.size()))
            return false;
        char chunk[65536];
        for (std::size_t offset = 0; offset < std::size_t(image.size());) {
            const std::size_t read = file.Read(chunk, std::min(sizeof chunk, std::size_t(image.size()) - offset));
            if (read == 0 || std::memcmp(chunk, image.data() + offset, read) != 0)
                return false;
            offset += read;
        }
        return true;
    } catch (const FileException&) {
        return false;
    }
}
