// The resources windres compiled into this program, read back as Windows
// reads them: each DIALOGEX against the layouts written out in the tests'
// support, with the window styles its kinds must carry, and the icon.
#include "support/expected_templates.h"

#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstring>

namespace {

// Reads a DIALOGEX resource in the order its fields are laid out.
class TemplateReader {
public:
    explicit TemplateReader(const BYTE* bytes)
        : m_begin(bytes)
        , m_at(bytes)
    {
    }

    template <typename T> T next()
    {
        T value;
        std::memcpy(&value, m_at, sizeof value);
        m_at += sizeof value;
        return value;
    }

    // A name or an ordinal (0xFFFF, then the number), as "#number".
    std::string nameOrOrdinal()
    {
        if (peekWord() == 0xFFFF) {
            next<WORD>();
            return "#" + std::to_string(next<WORD>());
        }
        return text();
    }

    std::string text()
    {
        std::wstring wide;
        while (const WORD unit = next<WORD>())
            wide += static_cast<wchar_t>(unit);
        std::string narrow(wide.size() * 2 + 1, '\0');
        const int length = WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, narrow.data(),
                                               static_cast<int>(narrow.size()), nullptr, nullptr);
        narrow.resize(length > 0 ? static_cast<std::size_t>(length - 1) : 0);
        return narrow;
    }

    void alignToDword() { m_at += (4 - (m_at - m_begin) % 4) % 4; }

private:
    WORD peekWord() const
    {
        WORD value;
        std::memcpy(&value, m_at, sizeof value);
        return value;
    }

    const BYTE* m_begin;
    const BYTE* m_at;
};

const BYTE* resourceBytes(int id, LPCSTR type)
{
    const HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(id), type);
    const HGLOBAL loaded = found ? LoadResource(nullptr, found) : nullptr;
    return loaded ? static_cast<const BYTE*>(LockResource(loaded)) : nullptr;
}

// What each kind of control must be on Windows: its class (by name, which
// windres writes in capitals; the dialog manager ignores case) and the
// styles that make it that kind.
struct WindowsControl {
    std::string windowClass;
    DWORD style;
};

WindowsControl windowsControl(const ExpectedControl& control)
{
    DWORD style = WS_CHILD | ((control.style & Hidden) ? 0 : WS_VISIBLE) | ((control.style & TabStop) ? WS_TABSTOP : 0);
    switch (control.kind) {
    case ControlKind::Icon:
        return {"STATIC", style | SS_ICON};
    case ControlKind::Static:
        return {"STATIC",
                style | ((control.style & WordWrap) ? SS_LEFT : SS_LEFTNOWORDWRAP)
                    | ((control.style & NoPrefix) ? SS_NOPREFIX : 0)};
    case ControlKind::Edit:
        return {"EDIT", style | ES_LEFT | ES_AUTOHSCROLL | WS_BORDER};
    case ControlKind::PushButton:
        return {"BUTTON", style | BS_PUSHBUTTON};
    case ControlKind::DefPushButton:
        return {"BUTTON", style | BS_DEFPUSHBUTTON};
    case ControlKind::Progress:
        return {"MSCTLS_PROGRESS32", style | PBS_SMOOTH};
    }
    return {};
}

} // namespace

TEST(CompiledResources, DialogTemplatesAsTheDialogManagerReadsThem)
{
    const DWORD owned = DS_MODALFRAME | DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU;
    const DWORD main = owned | WS_MINIMIZEBOX | DS_CENTER | WS_VISIBLE;
    const std::vector<std::pair<DWORD, DWORD>> styles = {{owned, 0}, {main, WS_EX_APPWINDOW}, {owned, 0}, {owned, 0}};
    const std::vector<ExpectedDialog> dialogs = expectedDialogs();
    ASSERT_EQ(dialogs.size(), 4u);
    for (std::size_t d = 0; d < dialogs.size(); ++d) {
        const ExpectedDialog& dialog = dialogs[d];
        const BYTE* bytes = resourceBytes(dialog.id, MAKEINTRESOURCEA(5) /* RT_DIALOG */);
        ASSERT_NE(bytes, nullptr) << dialog.title;
        TemplateReader read(bytes);
        EXPECT_EQ(read.next<WORD>(), 1) << "DIALOGEX version";
        EXPECT_EQ(read.next<WORD>(), 0xFFFF) << "DIALOGEX signature";
        read.next<DWORD>(); // help id
        EXPECT_EQ(read.next<DWORD>(), styles[d].second) << dialog.title;
        EXPECT_EQ(read.next<DWORD>(), styles[d].first) << dialog.title;
        const WORD count = read.next<WORD>();
        const short x = read.next<short>(), y = read.next<short>(), cx = read.next<short>(), cy = read.next<short>();
        EXPECT_EQ((std::vector<int>{x, y, cx, cy}), (std::vector<int>{0, 0, dialog.cx, dialog.cy})) << dialog.title;
        EXPECT_EQ(read.nameOrOrdinal(), "") << "menu";
        EXPECT_EQ(read.nameOrOrdinal(), "") << "window class";
        EXPECT_EQ(read.text(), dialog.title);
        EXPECT_EQ(read.next<WORD>(), 8) << "point size";
        read.next<WORD>(); // weight
        read.next<BYTE>(); // italic
        read.next<BYTE>(); // character set
        EXPECT_EQ(read.text(), "MS Sans Serif");
        ASSERT_EQ(count, dialog.controls.size()) << dialog.title;
        for (const ExpectedControl& control : dialog.controls) {
            const WindowsControl expected = windowsControl(control);
            read.alignToDword();
            read.next<DWORD>(); // help id
            EXPECT_EQ(read.next<DWORD>(), 0u) << dialog.title << " " << control.id;
            EXPECT_EQ(read.next<DWORD>(), expected.style) << dialog.title << " " << control.id;
            const short box[4] = {read.next<short>(), read.next<short>(), read.next<short>(), read.next<short>()};
            EXPECT_EQ((std::vector<int>(box, box + 4)),
                      (std::vector<int>{control.x, control.y, control.cx, control.cy}))
                << dialog.title << " " << control.id;
            EXPECT_EQ(static_cast<int>(read.next<DWORD>()), control.id) << dialog.title;
            EXPECT_EQ(read.nameOrOrdinal(), expected.windowClass) << dialog.title << " " << control.id;
            // An icon control names its icon by number.
            EXPECT_EQ(read.nameOrOrdinal(), control.text) << dialog.title << " " << control.id;
            EXPECT_EQ(read.next<WORD>(), 0) << "creation data";
        }
    }
}

TEST(CompiledResources, TheApplicationIconInThreeSizes)
{
    // GRPICONDIR: reserved, type 1 (icon), count; then 14-byte entries.
    const BYTE* group = resourceBytes(128, MAKEINTRESOURCEA(14) /* RT_GROUP_ICON */);
    ASSERT_NE(group, nullptr);
    TemplateReader read(group);
    EXPECT_EQ(read.next<WORD>(), 0);
    EXPECT_EQ(read.next<WORD>(), 1);
    ASSERT_EQ(read.next<WORD>(), 3);
    std::vector<int> sizes;
    for (int i = 0; i < 3; ++i) {
        const BYTE width = read.next<BYTE>();
        sizes.push_back(width == 0 ? 256 : width);
        read.next<BYTE>(); // height
        read.next<BYTE>(); // colours
        read.next<BYTE>();
        read.next<WORD>(); // planes
        EXPECT_EQ(read.next<WORD>(), 32) << "bits per pixel";
        read.next<DWORD>(); // bytes
        const WORD image = read.next<WORD>();
        const BYTE* bytes = resourceBytes(image, MAKEINTRESOURCEA(3) /* RT_ICON */);
        ASSERT_NE(bytes, nullptr) << image;
        EXPECT_EQ(std::memcmp(bytes, "\x89PNG", 4), 0) << image;
    }
    EXPECT_EQ(sizes, (std::vector<int>{48, 128, 256}));
    EXPECT_NE(LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(128)), nullptr);
}
