#pragma once

#include "catalogue.h"
#include "stdio_file.h"

#include <cstdint>
#include <string>

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
// The whole file as text; a zero byte in it ends the searchable part.
// Throws FileException, also when the text cannot be allocated.
std::string ReadControlText(ControlFile& file);
void SeekToEnd(ControlFile& file);
// Whether the text lists "VornName:" + name + CR LF anywhere.
bool IsVornNameTaken(const std::string& text, const std::string& name);
std::string FormatRecord(const VornRecord& record);
// Writes CR LF CR LF and the record at savedEnd. Throws FileException.
void AppendRecord(ControlFile& file, const std::string& recordText);
void CloseControlFile(ControlFile& file);
