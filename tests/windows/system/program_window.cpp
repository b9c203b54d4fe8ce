#include "program_window.h"

#include <commctrl.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

constexpr DWORD kPollMs = 20;
constexpr DWORD kWaitMs = 15000;

template <typename Condition> bool waitFor(Condition condition)
{
    for (DWORD waited = 0; waited < kWaitMs; waited += kPollMs) {
        if (condition())
            return true;
        Sleep(kPollMs);
    }
    return condition();
}

std::string utf8(const wchar_t* text)
{
    char bytes[4 * 4096] = {};
    WideCharToMultiByte(CP_UTF8, 0, text, -1, bytes, sizeof bytes, nullptr, nullptr);
    return bytes;
}

// A window's title or a static's text (read without a message, so a busy
// program does not hold the search up), in UTF-8.
std::string windowText(HWND window)
{
    wchar_t text[4096] = {};
    GetWindowTextW(window, text, 4096);
    return utf8(text);
}

// A window of a class and, when given, a title; the first one found.
struct WindowSearch {
    const char* className;
    const char* title;
    HWND found;
};

BOOL CALLBACK findWindow(HWND window, LPARAM lParam)
{
    auto* search = reinterpret_cast<WindowSearch*>(lParam);
    char className[32] = {};
    GetClassNameA(window, className, sizeof className);
    if (std::strcmp(className, search->className) != 0
        || (search->title && (!IsWindowVisible(window) || windowText(window) != search->title)))
        return TRUE;
    search->found = window;
    return FALSE;
}

HWND dialogOfThread(DWORD thread, const char* title)
{
    WindowSearch search{"#32770", title, nullptr};
    EnumThreadWindows(thread, findWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Memory in the program's process, where a message's pointer must point.
class RemoteMemory {
public:
    RemoteMemory(HANDLE process, std::size_t size)
        : m_process(process)
        , m_address(VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE))
    {
    }
    ~RemoteMemory() { VirtualFreeEx(m_process, m_address, 0, MEM_RELEASE); }
    RemoteMemory(const RemoteMemory&) = delete;
    RemoteMemory& operator=(const RemoteMemory&) = delete;

    void* address() const { return m_address; }
    void write(const void* bytes, std::size_t size, std::size_t offset = 0) const
    {
        WriteProcessMemory(m_process, static_cast<char*>(m_address) + offset, bytes, size, nullptr);
    }
    void read(void* bytes, std::size_t size, std::size_t offset = 0) const
    {
        ReadProcessMemory(m_process, static_cast<char*>(m_address) + offset, bytes, size, nullptr);
    }

private:
    HANDLE m_process;
    void* m_address;
};

HWND childOfClass(HWND window, const char* className)
{
    WindowSearch search{className, nullptr, nullptr};
    EnumChildWindows(window, findWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

BOOL CALLBACK collectStaticText(HWND child, LPARAM lParam)
{
    char className[16] = {};
    GetClassNameA(child, className, sizeof className);
    if (std::strcmp(className, "Static") != 0)
        return TRUE;
    auto* all = reinterpret_cast<std::string*>(lParam);
    *all += (all->empty() ? "" : "|") + windowText(child);
    return TRUE;
}

INT_PTR CALLBACK doNothing(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

} // namespace

RunningProgram::RunningProgram()
{
    const char* program = std::getenv("QUILLOP_EXE");
    if (!program) {
        ADD_FAILURE() << "QUILLOP_EXE names no program";
        return;
    }
    std::string line = std::string("\"") + program + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &m_process))
        ADD_FAILURE() << "cannot start " << program << ": error " << GetLastError();
}

RunningProgram::~RunningProgram()
{
    if (!m_process.hProcess)
        return;
    if (WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT) {
        ADD_FAILURE() << "the program was still running at the end of the test";
        TerminateProcess(m_process.hProcess, 99);
        WaitForSingleObject(m_process.hProcess, kWaitMs);
    }
    CloseHandle(m_process.hThread);
    CloseHandle(m_process.hProcess);
}

HWND RunningProgram::waitForDialog(const char* title) const
{
    HWND found = nullptr;
    waitFor([&] { return (found = dialogOfThread(m_process.dwThreadId, title)) != nullptr; });
    // As a person meets it: the dialog manager shows a dialog again (normal
    // size) when its loop first finds the queue empty, so a window minimised
    // before that moment would come back.
    if (found)
        WaitForInputIdle(m_process.hProcess, kWaitMs);
    return found;
}

bool waitUntilClosed(HWND window)
{
    return waitFor([&] { return !IsWindow(window); });
}

DWORD RunningProgram::waitForExit()
{
    WaitForSingleObject(m_process.hProcess, kWaitMs);
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(m_process.hProcess, &code);
    return code;
}

int RunningProgram::focusedControl() const
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(m_process.dwThreadId, &info) || !info.hwndFocus)
        return 0;
    return GetDlgCtrlID(info.hwndFocus);
}

bool RunningProgram::selectInChooser(HWND chooser, const std::string& folder) const
{
    const RemoteMemory path(m_process.hProcess, folder.size() + 1);
    path.write(folder.c_str(), folder.size() + 1);
    const std::string name = folder.substr(folder.find_last_of('\\') + 1);
    // Asked again while the tree is still filling in.
    return waitFor([&] {
        SendMessageA(chooser, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(path.address()));
        return chooserSelection(chooser) == name;
    });
}

std::string RunningProgram::waitForChooserSelection(HWND chooser, const std::string& expected) const
{
    std::string selected;
    waitFor([&] { return (selected = chooserSelection(chooser)) == expected; });
    return selected;
}

std::string RunningProgram::chooserSelection(HWND chooser) const
{
    const HWND tree = childOfClass(chooser, WC_TREEVIEWA);
    if (!tree)
        return "(no tree)";
    const auto selected = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
    if (!selected)
        return "";
    constexpr std::size_t kTextSize = 260;
    const RemoteMemory remote(m_process.hProcess, sizeof(TVITEMA) + kTextSize);
    TVITEMA item{};
    item.mask = TVIF_TEXT;
    item.hItem = selected;
    item.pszText = static_cast<char*>(remote.address()) + sizeof(TVITEMA);
    item.cchTextMax = kTextSize;
    remote.write(&item, sizeof item);
    SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(remote.address()));
    char text[kTextSize] = {};
    remote.read(text, kTextSize - 1, sizeof(TVITEMA));
    return text;
}

void settleAccessTimes(const std::string& folder)
{
    WIN32_FIND_DATAA found;
    const HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::string name = found.cFileName;
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name != "." && name != "..")
            settleAccessTimes(folder + "\\" + name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

std::string itemText(HWND dialog, int id)
{
    wchar_t text[4096] = {};
    GetDlgItemTextW(dialog, id, text, 4096);
    return utf8(text);
}

std::string waitForItemText(HWND dialog, int id, const std::string& expected)
{
    std::string text;
    waitFor([&] { return (text = itemText(dialog, id)) == expected; });
    return text;
}

bool itemEnabled(HWND dialog, int id)
{
    return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE;
}

bool itemVisible(HWND dialog, int id)
{
    return IsWindowVisible(GetDlgItem(dialog, id)) != FALSE;
}

void click(HWND dialog, int id)
{
    PostMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

void type(HWND dialog, int id, const std::string& text)
{
    const HWND edit = GetDlgItem(dialog, id);
    SendMessageA(edit, EM_SETSEL, 0, -1);
    PostMessageA(edit, WM_CHAR, VK_BACK, 0);
    wchar_t units[4096] = {};
    const int count = MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), units, 4096);
    for (int i = 0; i < count; ++i)
        PostMessageW(edit, WM_CHAR, units[i], 0);
}

void pressKey(HWND dialog, WPARAM key)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info);
    const HWND target = info.hwndFocus ? info.hwndFocus : dialog;
    PostMessageA(target, WM_KEYDOWN, key, 1);
    PostMessageA(target, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001u));
}

std::string staticTexts(HWND window)
{
    std::string texts;
    EnumChildWindows(window, collectStaticText, reinterpret_cast<LPARAM>(&texts));
    return texts;
}

RECT itemRect(HWND dialog, int id)
{
    RECT rect{};
    GetWindowRect(GetDlgItem(dialog, id), &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

RECT dialogUnits(int x, int y, int cx, int cy)
{
    // A template of no controls in the font the program's dialogs use.
    struct alignas(4) ProbeTemplate {
        DLGTEMPLATE dialog;
        WORD menu, windowClass, title, pointSize;
        wchar_t face[14];
    };
    ProbeTemplate probe{};
    probe.dialog.style = DS_SETFONT | WS_POPUP;
    probe.dialog.cx = 100;
    probe.dialog.cy = 100;
    probe.pointSize = 8;
    std::memcpy(probe.face, L"MS Sans Serif", sizeof probe.face);
    const HWND window = CreateDialogIndirectParamA(GetModuleHandleA(nullptr), &probe.dialog, nullptr, doNothing, 0);
    // The dialog manager maps a control's origin and size each on its own.
    RECT mapped{x, y, cx, cy};
    MapDialogRect(window, &mapped);
    DestroyWindow(window);
    return {mapped.left, mapped.top, mapped.left + mapped.right, mapped.top + mapped.bottom};
}
