#pragma once

#include <windows.h>

#include <string>

// quillop.exe as a user meets it: its own process, read and pressed
// through its windows the way another program can (FindWindowExA,
// GetDlgItemTextW, posted BM_CLICK). Waits poll until what is expected
// shows or a few seconds pass.
class RunningProgram {
public:
    // Starts the program $QUILLOP_EXE names.
    RunningProgram();
    // A program still running fails the test and is ended.
    ~RunningProgram();
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    // The program's visible dialog titled `title` (UTF-8; a window of class
    // #32770) once the program has first waited for input, or null when
    // none shows.
    HWND waitForDialog(const char* title) const;
    // The process's exit code once it ended; STILL_ACTIVE if it did not.
    DWORD waitForExit();

    // The control that has the keyboard focus in the program's thread.
    int focusedControl() const;
    // Selects `folder` in the open folder chooser's tree, as a user
    // clicking through it would (the message is the one the chooser takes
    // from its owner; its path is written into the program's memory).
    // Answers whether the tree shows the folder selected.
    bool selectInChooser(HWND chooser, const std::string& folder) const;
    // The name the chooser's tree shows selected once it is `expected`
    // (the tree fills in while the chooser opens), or as it last was.
    std::string waitForChooserSelection(HWND chooser, const std::string& expected) const;

    DWORD threadId() const { return m_process.dwThreadId; }

private:
    std::string chooserSelection(HWND chooser) const;

    PROCESS_INFORMATION m_process{};
};

// Reads each folder below `folder` once, so that the file system has set
// their access times before the program starts. The shell's chooser
// compares a parsed path with the items it listed byte for byte, access
// times included: a folder read for the first time since it was made
// (which moves its access time under relatime) would match in one and not
// in the other. Folders a user has are older than that.
void settleAccessTimes(const std::string& folder);

// Whether `window` has closed.
bool waitUntilClosed(HWND window);

// Texts are UTF-8, whatever the ANSI code page holds.
std::string itemText(HWND dialog, int id);
// The item's text once it equals `expected`, or as it last was.
std::string waitForItemText(HWND dialog, int id, const std::string& expected);
bool itemEnabled(HWND dialog, int id);
bool itemVisible(HWND dialog, int id);
// Presses a button with a posted BM_CLICK, which returns at once even when
// the button opens a modal loop.
void click(HWND dialog, int id);
// Types `text` into an edit control, as key presses would (WM_CHAR, one
// per UTF-16 unit).
void type(HWND dialog, int id, const std::string& text);
// Presses a key in the dialog (posted, so the dialog manager sees it).
void pressKey(HWND dialog, WPARAM key);
// The texts of a window's static controls, in creation order, joined by |.
std::string staticTexts(HWND window);

// A control's rectangle in its dialog's client coordinates.
RECT itemRect(HWND dialog, int id);
// The rectangle in pixels of a control at x, y of size cx, cy in dialog
// units of "MS Sans Serif" 8, as this Wine's dialog manager maps them
// (from a hidden dialog of the driver's own).
RECT dialogUnits(int x, int y, int cx, int cy);
