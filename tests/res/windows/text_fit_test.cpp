// Every text of every language in the compiled resources fits its control as
// the dialog manager lays it out under Wine: each dialog made from its
// resource in that language, each text measured in the dialog's font, the
// status texts with the arguments they are shown with.
#include "platform/text_format.h"
#include "res/resource_ids.h"

#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string utf8(const std::wstring& wide)
{
    std::string out(wide.size() * 3, '\0');
    out.resize(
        static_cast<std::size_t>(WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), out.data(),
                                                     static_cast<int>(out.size()), nullptr, nullptr)));
    return out;
}

std::wstring wide(const std::string& text)
{
    std::wstring out(text.size(), L'\0');
    out.resize(static_cast<std::size_t>(MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                                            out.data(), static_cast<int>(out.size()))));
    return out;
}

// The string in the language's own STRINGTABLE block, as UTF-8.
std::string loadString(int id, LANGID language)
{
    const HRSRC found
        = FindResourceExW(nullptr, MAKEINTRESOURCEW(6) /* RT_STRING */, MAKEINTRESOURCEW(id / 16 + 1), language);
    if (!found)
        return "";
    auto units = static_cast<const WCHAR*>(LockResource(LoadResource(nullptr, found)));
    for (int skip = id % 16; skip > 0; --skip)
        units += 1 + *units;
    return utf8(std::wstring(units + 1, *units));
}

INT_PTR CALLBACK doNothing(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

// The room the text needs in the control, by its kind, against the room it has.
void expectFits(HWND control, const std::wstring& text, const std::string& where)
{
    wchar_t className[32] = {};
    GetClassNameW(control, className, 32);
    const LONG style = GetWindowLongW(control, GWL_STYLE);
    const bool button = lstrcmpiW(className, L"Button") == 0;
    const bool wraps = !button && (style & SS_TYPEMASK) == SS_LEFT;
    RECT room;
    GetClientRect(control, &room);
    const HDC dc = GetDC(control);
    const HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    RECT needed = {0, 0, room.right, 0};
    const UINT format
        = DT_CALCRECT | (wraps ? DT_WORDBREAK : DT_SINGLELINE) | ((style & SS_NOPREFIX) ? DT_NOPREFIX : 0);
    DrawTextW(dc, text.c_str(), -1, &needed, format);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    // A button's frame and focus rectangle take a few pixels on each side.
    const int margin = button ? 6 : 0;
    EXPECT_LE(needed.right + margin, room.right) << where << ": " << utf8(text);
    EXPECT_LE(needed.bottom, room.bottom) << where << ": " << utf8(text);
}

// The dialog from its resource in the language, with TEXTS in the control
// they are shown in besides the template's own.
void expectDialogFits(int dialogId, LANGID language, const std::vector<std::pair<int, std::string>>& texts)
{
    const std::string where = "dialog " + std::to_string(dialogId) + " in language " + std::to_string(language);
    const HRSRC found
        = FindResourceExW(nullptr, MAKEINTRESOURCEW(5) /* RT_DIALOG */, MAKEINTRESOURCEW(dialogId), language);
    ASSERT_NE(found, nullptr) << where;
    const auto resource = static_cast<LPCDLGTEMPLATEW>(LockResource(LoadResource(nullptr, found)));
    const HWND dialog = CreateDialogIndirectParamW(nullptr, resource, nullptr, doNothing, 0);
    ASSERT_NE(dialog, nullptr) << where;
    for (HWND control = GetWindow(dialog, GW_CHILD); control; control = GetWindow(control, GW_HWNDNEXT)) {
        wchar_t text[1024] = {};
        GetWindowTextW(control, text, 1024);
        if (text[0])
            expectFits(control, text, where);
    }
    for (const auto& [controlId, text] : texts)
        expectFits(GetDlgItem(dialog, controlId), wide(text), where);
    DestroyWindow(dialog);
}

} // namespace

TEST(DialogsOnScreen, EveryTextFitsItsControlInEveryLanguage)
{
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    const std::string folder = "C:\\Program Files\\Corvane 5\\Vorns";
    const std::string names = "Fern, Pebbles, Stars, Raindrops, Petals, Bubbles, Snowflakes, Shells.";
    // U.S. English, then German, French and Spanish for any country.
    for (const LANGID language : {0x0409, 0x0007, 0x000c, 0x000a}) {
        const auto text = [language](int id) { return loadString(id, language); };
        ASSERT_NE(text(IDS_READY), "") << language;
        expectDialogFits(IDD_QUILLOP_DIALOG, language,
                         {{IDC_STATUS, FormatText(text(IDS_READY), {folder})},
                          {IDC_STATUS, FormatText(text(IDS_NOT_FOUND), {folder})},
                          {IDC_STATUS, FormatText(text(IDS_DONE), {8, names})},
                          {IDC_STATUS, text(IDS_FINDING)},
                          {IDC_STATUS, FormatText(text(IDS_CREATING), {"Snowflakes", "Snowflakes.vrn"})},
                          {IDC_STATUS, FormatText(text(IDS_ENTRY_ERROR), {8, 8, text(IDS_CANT_FIND_CONTROL_FILE)})}});
        expectDialogFits(IDD_ABOUTBOX, language, {});
        for (const int conflict : {IDD_DUP_FILE_NAME, IDD_DUP_VORN_NAME}) {
            const HRSRC found = FindResourceExW(nullptr, MAKEINTRESOURCEW(5), MAKEINTRESOURCEW(conflict), language);
            ASSERT_NE(found, nullptr);
            // The prompt's format is the control's own text: shown with a long taken name.
            const HWND dialog = CreateDialogIndirectParamW(
                nullptr, static_cast<LPCDLGTEMPLATEW>(LockResource(LoadResource(nullptr, found))), nullptr, doNothing,
                0);
            wchar_t prompt[512] = {};
            GetDlgItemTextW(dialog, IDC_PROMPT, prompt, 512);
            DestroyWindow(dialog);
            expectDialogFits(conflict, language,
                             {{IDC_PROMPT, FormatText(utf8(prompt), {"Snowflakes in Winter.vrn"})}});
        }
    }
}
