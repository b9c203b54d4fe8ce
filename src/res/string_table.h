#pragma once

#include <string>

// The program's texts by string id; an unknown id gives "".
std::string LoadString(int id);
