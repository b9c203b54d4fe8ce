#include "payload/control_file.h"

#include "platform/ansi_code_page.h"
#include "platform/file_exception.h"
#include "platform/string_resources.h"
#include "res/resource_ids.h"

#include <cerrno>
#include <cstdint>
#include <new>

namespace {

// Some 300,000 records: larger is no control file, and is never read whole.
constexpr std::uint64_t kControlFileLimit = std::uint64_t(64) << 20;

} // namespace

std::string ControlFilePath(const std::string& folder)
{
    return folder + "\\" + LoadString(IDS_CONTROL_FILE);
}

ControlFile OpenControlFile(const std::string& folder)
{
    ControlFile file;
    file.path = ControlFilePath(folder);
    file.handle.Open(file.path, StdioFile::typeBinary | StdioFile::shareExclusive | StdioFile::modeReadWrite);
    file.handle.SeekToEnd();
    return file;
}

void RememberEnd(ControlFile& file)
{
    file.savedEnd = file.handle.GetPosition();
}

const ControlText& ReadControlText(ControlFile& file)
{
    const std::uint64_t length = file.handle.GetLength();
    if (length < file.readBack.size())
        file.readBack = ControlText(); // shorter than what was read: read it all again
    ControlText& text = file.readBack;
    const std::uint64_t known = text.size();
    if (length > kControlFileLimit)
        throw FileException(FileException::genericException, file.path, "larger than 64 MB");
    file.handle.Seek(std::int64_t(known), StdioFile::begin);
    try {
        const std::size_t count = std::size_t(length - known);
        text.grow(file.handle.Read(text.tail(count), count));
    } catch (const std::bad_alloc&) {
        file.readBack = ControlText();
        throw FileException(FileException::genericException, ENOMEM, file.path);
    }
    return text;
}

void SeekToEnd(ControlFile& file)
{
    file.handle.SeekToEnd();
}

bool IsVornNameTaken(const ControlText& text, const std::string& name)
{
    return text.listsName(ToAnsiCodePage(name));
}

std::string FormatRecord(const VornRecord& record)
{
    std::string text;
    const auto line = [&text](const char* key, const std::string& value) {
        text += key;
        text += value;
        text += "\r\n";
    };
    line("VornName:", ToAnsiCodePage(record.name));
    line("VornFile:", ToAnsiCodePage(record.file));
    line("StepSize:", record.stepSize);
    line("VornsAcross:", record.across);
    line("VornsDown:", record.down);
    line("VornPlacementMode:", record.placementMode);
    line("VornSelectionMode:", record.selectionMode);
    text += "\r\n";
    return text;
}

void AppendRecord(ControlFile& file, const std::string& recordText)
{
    const std::string block = "\r\n\r\n" + recordText;
    // The block's room on the disk first, so that a full disk shows before
    // any byte of it is written.
    file.handle.Reserve(file.savedEnd, block.size());
    file.handle.Seek(std::int64_t(file.savedEnd), StdioFile::begin);
    // One write for the whole block: a process killed meanwhile leaves the
    // block whole or absent, never cut.
    try {
        file.handle.Write(block.data(), block.size());
    } catch (const FileException&) {
        // Where no room could be set aside, a full disk may have cut the
        // block short: whatever of it was written goes again.
        try {
            file.handle.SetLength(file.savedEnd);
        } catch (const FileException&) {
            // The write's own error is the one the run reports.
        }
        throw;
    }
}

void CloseControlFile(ControlFile& file)
{
    file.handle.Close();
}
