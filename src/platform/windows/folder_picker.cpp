// The shell's folder chooser, SHBrowseForFolderA, opening with the starting
// folder selected and handing back the chosen folder's file-system path.
#include "platform/folder_picker.h"

#include "platform/dialog.h"

#include <windows.h>

#include <shlobj.h>

namespace {

// Sent once the chooser has opened: selects the starting folder, which
// lParam of the record carries as a path text.
int CALLBACK onChooserEvent(HWND chooser, UINT event, LPARAM, LPARAM startFolder)
{
    if (event == BFFM_INITIALIZED)
        SendMessageA(chooser, BFFM_SETSELECTIONA, TRUE, startFolder);
    return 0;
}

// The shell's allocator, released when it goes.
class ShellAllocator {
public:
    ShellAllocator()
    {
        if (FAILED(SHGetMalloc(&m_malloc)))
            m_malloc = nullptr;
    }
    ~ShellAllocator()
    {
        if (m_malloc)
            m_malloc->Release();
    }
    ShellAllocator(const ShellAllocator&) = delete;
    ShellAllocator& operator=(const ShellAllocator&) = delete;

    explicit operator bool() const { return m_malloc != nullptr; }
    void free(void* memory) const { m_malloc->Free(memory); }

private:
    IMalloc* m_malloc = nullptr;
};

} // namespace

std::optional<std::string> PickFolder(const CWnd* owner, const std::string& title, const std::string& startFolder)
{
    const ShellAllocator allocator;
    if (!allocator)
        return std::nullopt;
    // The chooser's path limit, terminator included: first the chosen
    // item's display name, then its file-system path.
    char path[MAX_PATH] = {};
    BROWSEINFOA info{};
    info.hwndOwner = owner ? static_cast<HWND>(owner->GetSafeHwnd()) : nullptr;
    info.pidlRoot = nullptr;
    info.pszDisplayName = path;
    info.lpszTitle = title.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_RETURNFSANCESTORS;
    info.lpfn = onChooserEvent;
    info.lParam = reinterpret_cast<LPARAM>(startFolder.c_str());
    const LPITEMIDLIST chosen = SHBrowseForFolderA(&info);
    if (!chosen)
        return std::nullopt;
    const bool isFolder = SHGetPathFromIDListA(chosen, path) != FALSE;
    allocator.free(chosen);
    if (!isFolder)
        return std::nullopt;
    return std::string(path);
}
