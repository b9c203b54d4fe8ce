#pragma once

#include "payload/control_file.h"

#include <string>

// Installs one entry whole or not at all: creates the Vorn file at
// `vornPath` with the image bytes and commits it to disk, then appends the
// entry's block to the control file. If either step fails, what this entry
// wrote is taken back (the file removed, the control file cut back to its
// saved end) and the FileException is passed on.
void WriteVornEntry(ControlFile& control, const std::string& vornPath, const std::string& image,
                    const std::string& recordText);

// Whether the file at `vornPath` holds exactly `image`. A file that cannot
// be read does not.
bool VornFileMatches(const std::string& vornPath, const std::string& image);
