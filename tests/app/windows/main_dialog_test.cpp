// What of the main dialog only its own process can see under Wine: its
// icons (WM_GETICON and WM_QUERYDRAGICON answer 0 across processes) and the
// items of its window menu. The dialog runs modally here; a thread timer
// looks at it from inside its modal loop, then closes it.
#include "app/quillop_dlg.h"
#include "support/throwaway_prefix.h"

#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>

namespace {

struct Seen {
    HICON bigIcon = nullptr;
    HICON smallIcon = nullptr;
    HICON dragIcon = nullptr;
    std::string aboutItem;
    UINT beforeAbout = 0;
};

Seen seen;

void CALLBACK lookAtTheDialog(HWND, UINT, UINT_PTR timer, DWORD)
{
    const HWND dialog = FindWindowA("#32770", "Ostrel Picture Vorn Installer");
    if (!dialog || !IsWindowVisible(dialog))
        return;
    KillTimer(nullptr, timer);
    seen.bigIcon = reinterpret_cast<HICON>(SendMessageA(dialog, WM_GETICON, ICON_BIG, 0));
    seen.smallIcon = reinterpret_cast<HICON>(SendMessageA(dialog, WM_GETICON, ICON_SMALL, 0));
    seen.dragIcon = reinterpret_cast<HICON>(SendMessageA(dialog, WM_QUERYDRAGICON, 0, 0));
    const HMENU menu = GetSystemMenu(dialog, FALSE);
    char text[64] = {};
    GetMenuStringA(menu, 16, text, sizeof text, MF_BYCOMMAND);
    seen.aboutItem = text;
    const int count = GetMenuItemCount(menu);
    MENUITEMINFOA item{};
    item.cbSize = sizeof item;
    item.fMask = MIIM_FTYPE;
    GetMenuItemInfoA(menu, static_cast<UINT>(count - 2), TRUE, &item);
    seen.beforeAbout = item.fType;
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}

} // namespace

TEST(MainDialog, ItsIconsAndTheAboutItemOfItsWindowMenu)
{
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    ThrowawayPrefix prefix;
    prefix.installHost();
    prefix.registerHost("C:\\Corvane\\Corvane.exe %1");
    CQuillopDlg dialog;
    Dialog::setMainWindow(&dialog);
    SetTimer(nullptr, 0, 20, lookAtTheDialog);
    EXPECT_EQ(dialog.DoModal(), IDOK);
    Dialog::setMainWindow(nullptr);

    const HICON icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(128));
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(seen.bigIcon, icon);
    EXPECT_EQ(seen.smallIcon, icon);
    EXPECT_EQ(seen.dragIcon, icon) << "the cursor while the minimised window is dragged";
    EXPECT_EQ(seen.aboutItem, "&About Quillop...");
    EXPECT_EQ(seen.beforeAbout, static_cast<UINT>(MFT_SEPARATOR));
}
