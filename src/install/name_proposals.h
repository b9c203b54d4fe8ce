#pragma once

#include <string>
#include <string_view>

// The first of name2, name3, ... that the control text does not list as
// "VornName:" + candidate + CR LF. The plain name is not tested.
std::string ProposeVornName(std::string_view controlText, const std::string& name);

// The first of base2ext, base3ext, ... (the number goes before the last dot
// of `fileName`, or in front when it has none) for which nothing exists at
// folder + one backslash + candidate; `fileName` itself when nothing
// exists there.
std::string ProposeFileName(const std::string& folder, const std::string& fileName);
