#pragma once

#include "payload/control_file.h"

#include <string>

enum class CheckAnswer { Proceed, Skip };

// Makes sure the entry's Vorn name is not listed in the control file,
// asking the user for another one while it is. May change `name`.
CheckAnswer CheckVornName(std::string& name, ControlFile& control);

// Makes sure no file of the entry's name exists in the folder, asking the
// user for another one while it does. May change `fileName`; sets `path` to
// the folder, one backslash and the final file name.
CheckAnswer CheckFileName(std::string& fileName, const std::string& folder, std::string& path);
