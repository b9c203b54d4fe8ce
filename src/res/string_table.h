#pragma once

#include <map>
#include <string>

enum Translation : bool { Translated = true, Untranslated = false };

struct StringResource {
    // The id's name: the context translators see the text under.
    const char* name;
    std::string text;
    // Keys, paths and names the program looks up are never translated.
    Translation translation = Translated;
};

// The program's texts by string id, in English: compiled in as code on
// Linux, generated into the Windows build's STRINGTABLE
// (tools/resource_script.cpp); each language's catalogue in po/ translates them.
const std::map<int, StringResource>& StringTable();
