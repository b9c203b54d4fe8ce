// The Windows program's texts are in the ANSI code page, as the A functions
// take them; UTF-8 goes through UTF-16 each way.
#include "platform/program_text.h"

#include <windows.h>

namespace {

std::wstring wide(const std::string& text, UINT codePage)
{
    std::wstring units(text.size(), L'\0');
    const int length = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), units.data(),
                                           static_cast<int>(units.size()));
    units.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
    return units;
}

} // namespace

std::string ProgramTextToUtf8(const std::string& text)
{
    const std::wstring units = wide(text, CP_ACP);
    std::string utf8(units.size() * 3, '\0');
    const int length = WideCharToMultiByte(CP_UTF8, 0, units.data(), static_cast<int>(units.size()), utf8.data(),
                                           static_cast<int>(utf8.size()), nullptr, nullptr);
    utf8.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
    return utf8;
}

std::optional<std::string> ProgramTextFromUtf8(const std::string& utf8)
{
    // Windows set to use UTF-8 as its ANSI code page holds every character.
    if (GetACP() == CP_UTF8)
        return utf8;
    const std::wstring units = wide(utf8, CP_UTF8);
    std::string text(units.size() * 2, '\0');
    BOOL lost = FALSE;
    // No best fit: "ā" is no "a".
    const int length = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, units.data(), static_cast<int>(units.size()),
                                           text.data(), static_cast<int>(text.size()), nullptr, &lost);
    if (lost || (length == 0 && !units.empty()))
        return std::nullopt;
    text.resize(static_cast<std::size_t>(length));
    return text;
}
