#pragma once

#include <string>

// The program's texts by string id; an unknown id gives "". On Windows the
// module's STRINGTABLE (LoadStringA); the Linux build has the table compiled
// in as code.
std::string LoadString(int id);

// From now on LoadString answers in English, whatever the user's language:
// the command line's messages are read by scripts.
void LoadStringsInEnglish();
