#pragma once

#include <string>

class CWnd;

// How a chooser ended, with the numbers callers have always been given.
enum class BrowseResult {
    chosen = 1,
    cancelled = 2, // or the chooser failed
};

// The folder chooser as the main dialog uses it: made with a starting path
// and an owner, it shows a modal chooser at that path and hands back the
// chosen folder.
class CDirDialog {
public:
    // With no owner, the chooser is owned by the application's main window.
    CDirDialog(const std::string& startPath, CWnd* owner);
    virtual ~CDirDialog() = default;

    BrowseResult DoBrowse();
    std::string GetPath() const { return s_strPath; }

    std::string m_strTitle;
    CWnd* m_pOwner;

    // The current path, shared by every chooser: each construction resets it.
    static std::string s_strPath;
};
