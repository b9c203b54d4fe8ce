#include "payload/control_file.h"

#include "platform/ansi_code_page.h"
#include "platform/file_exception.h"
#include "platform/string_resources.h"
#include "platform/windows_path.h"
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
    return PathInFolder(folder, LoadString(IDS_CONTROL_FILE));
}

ControlFile::ControlFile(const std::string& folder)
    : m_path(ControlFilePath(folder))
{
    m_file.Open(m_path, StdioFile::typeBinary | StdioFile::shareExclusive | StdioFile::modeReadWrite);
    m_end = m_file.GetLength();
}

const ControlText& ControlFile::text()
{
    const std::uint64_t length = m_file.GetLength();
    if (length < m_readBack.size())
        m_readBack = ControlText(); // shorter than what was read: read it all again
    const std::uint64_t known = m_readBack.size();
    if (length > kControlFileLimit)
        throw FileException(FileException::genericException, m_path, "larger than 64 MB");
    m_file.Seek(std::int64_t(known), StdioFile::begin);
    try {
        const std::size_t count = std::size_t(length - known);
        m_readBack.grow(m_file.Read(m_readBack.tail(count), count));
    } catch (const std::bad_alloc&) {
        m_readBack = ControlText();
        throw FileException(FileException::genericException, ENOMEM, m_path);
    }
    return m_readBack;
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

void ControlFile::append(const std::string& recordText)
{
    const std::string block = "\r\n\r\n" + recordText;
    // The block's room on the disk first, so that a full disk shows before
    // any byte of it is written.
    m_file.Reserve(m_end, block.size());
    m_file.Seek(std::int64_t(m_end), StdioFile::begin);
    // One write for the whole block: a process killed meanwhile leaves the
    // block whole or absent, never cut.
    try {
        m_file.Write(block.data(), block.size());
    } catch (const FileException&) {
        // Where no room could be set aside, a full disk may have cut the
        // block short: whatever of it was written goes again.
        try {
            m_file.SetLength(m_end);
        } catch (const FileException&) {
            // The write's own error is the one the run reports.
        }
        throw;
    }
    m_end += block.size();
}
