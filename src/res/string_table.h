#pragma once

#include <map>
#include <string>

// The program's texts by string id: compiled in as code on Linux, generated
// into the Windows build's STRINGTABLE (tools/resource_script.cpp).
const std::map<int, std::string>& StringTable();
