// The program's STRINGTABLE, compiled in by windres: LoadStringA, which gives
// the text in the ANSI code page.
#include "platform/string_resources.h"

#include <windows.h>

// windows.h names the A or W function LoadString.
#undef LoadString

std::string LoadString(int id)
{
    // A string resource holds at most 65535 characters.
    std::string text(65536, '\0');
    const int length
        = LoadStringA(GetModuleHandleA(nullptr), static_cast<UINT>(id), text.data(), static_cast<int>(text.size()));
    text.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
    return text;
}

void LoadStringsInEnglish()
{
    // Windows' resource loader looks for the thread's UI language first,
    // Wine's for the thread's locale.
    const LANGID english = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
    SetThreadUILanguage(english);
    SetThreadLocale(MAKELCID(english, SORT_DEFAULT));
}
