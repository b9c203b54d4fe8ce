#pragma once

#include "payload/catalogue.h"
#include "payload/control_text.h"
#include "platform/stdio_file.h"

#include <cstdint>
#include <string>
#include <string_view>

// The host's control file, held open and locked for one installation run.
struct ControlFile {
    std::string path;
    StdioFile handle;
    // End of the file before the current entry's block, 64-bit so that an
    // append never lands inside what the file already holds.
    std::uint64_t savedEnd = 0;
    // What has been read back so far. The file is locked for the run, so
    // only the run's own blocks are added to it afterwards.
    ControlText readBack;
};

// Folder, one backslash, "Vorns.ctl": no separator is trimmed or merged.
std::string ControlFilePath(const std::string& folder);

// Opens the existing control file exclusively, positioned at its end.
// Throws FileException.
ControlFile OpenControlFile(const std::string& folder);
void RememberEnd(ControlFile& file);
// The whole file as text, from its first byte to its end. The first call of
// a run reads it all; later ones read only the blocks appended since,
// instead of the whole file again for every entry. Throws FileException,
// also when there is no memory for the text or the file is larger than any
// real control file.
const ControlText& ReadControlText(ControlFile& file);
void SeekToEnd(ControlFile& file);
// Whether the text holds "VornName:" + name + CR LF anywhere, even inside a
// line, the name in the file's code page. `name` holds no CR or LF: such
// names are never accepted.
bool IsVornNameTaken(const ControlText& text, const std::string& name);
// The record's lines, its name and file name in the file's code page.
std::string FormatRecord(const VornRecord& record);
// Writes CR LF CR LF and the record at savedEnd, its room on the disk set
// aside first. On failure the file is cut back to savedEnd and the
// FileException passed on.
void AppendRecord(ControlFile& file, const std::string& recordText);
void CloseControlFile(ControlFile& file);
