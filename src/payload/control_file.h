#pragma once

#include "catalogue.h"
#include "stdio_file.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

// The read-back of the control file: its bytes and a terminating zero. It is
// searched as text, so a zero byte in the file ends the searchable part.
class ControlText {
public:
    // Room for `length` bytes; throws std::bad_alloc when there is none.
    explicit ControlText(std::size_t length);

    char* data() { return m_bytes.get(); }
    // Ends the text after the `read` bytes that arrived.
    void setLength(std::size_t read);
    const char* c_str() const { return m_bytes.get(); }
    std::string_view view() const { return {m_bytes.get(), m_searchable}; }

private:
    std::unique_ptr<char[]> m_bytes;
    std::size_t m_searchable = 0;
};

// The host's control file, held open and locked for one installation run.
struct ControlFile {
    std::string path;
    StdioFile handle;
    // End of the file before the current entry's block, 64-bit so that an
    // append never lands inside what the file already holds.
    std::uint64_t savedEnd = 0;
};

// Folder, one backslash, "Vorns.ctl": no separator is trimmed or merged.
std::string ControlFilePath(const std::string& folder);

// Opens the existing control file exclusively, positioned at its end.
// Throws FileException.
ControlFile OpenControlFile(const std::string& folder);
void RememberEnd(ControlFile& file);
// The whole file, read back from its first byte. Throws FileException,
// also when there is no memory for the text.
ControlText ReadControlText(ControlFile& file);
void SeekToEnd(ControlFile& file);
// Whether the text lists "VornName:" + name + CR LF anywhere.
bool IsVornNameTaken(std::string_view text, const std::string& name);
std::string FormatRecord(const VornRecord& record);
// Writes CR LF CR LF and the record at savedEnd. Throws FileException.
void AppendRecord(ControlFile& file, const std::string& recordText);
void CloseControlFile(ControlFile& file);
