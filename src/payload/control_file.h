#pragma once

#include "payload/catalogue.h"
#include "payload/control_text.h"
#include "platform/stdio_file.h"

#include <cstdint>
#include <string>
#include <string_view>

// Corvane's control file, held open and locked for one installation run.
// It keeps its own place: reading the text never moves where the next block
// goes, which is the end the file had before that block, 64-bit so that an
// append never lands inside what the file already holds.
class ControlFile {
public:
    // None open.
    ControlFile() = default;
    // Opens the existing control file of `folder` exclusively. Throws
    // FileException.
    explicit ControlFile(const std::string& folder);

    const std::string& path() const { return m_path; }
    // The whole file as text, from its first byte to its end. The first call
    // of a run reads it all; later ones read only the blocks appended since,
    // instead of the whole file again for every entry. Throws FileException,
    // also when there is no memory for the text or the file is larger than
    // any real control file.
    const ControlText& text();
    // Writes CR LF CR LF and the record at the end, its room on the disk set
    // aside first, whole or not at all: on failure the file is cut back and
    // the FileException passed on.
    void append(const std::string& recordText);
    // Commits what the run wrote to the disk. Throws FileException.
    void flush() { m_file.Flush(); }
    void close() { m_file.Close(); }

private:
    std::string m_path;
    StdioFile m_file;
    std::uint64_t m_end = 0;
    // What has been read back so far. The file is locked for the run, so
    // only the run's own blocks are added to it afterwards.
    ControlText m_readBack;
};

// Folder, one backslash, "Vorns.ctl": no separator is trimmed or merged.
std::string ControlFilePath(const std::string& folder);

// Whether the text holds "VornName:" + name + CR LF anywhere, even inside a
// line, the name in the file's code page. `name` holds no CR or LF: such
// names are never accepted.
bool IsVornNameTaken(const ControlText& text, const std::string& name);
// The record's lines, its name and file name in the file's code page.
std::string FormatRecord(const VornRecord& record);
