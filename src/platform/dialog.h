#pragma once

#include "platform/dialog_template.h"

#include <memory>
#include <string>

// A window of the platform's toolkit (a widget, a window handle), as the
// code above the platform layer holds it: never looked into there.
using NativeWindow = void*;
// An icon loaded from the program's resources; it lives as long as the
// program, as a shared icon does.
using IconHandle = const void*;

// A window or a dialog's control: text, enabled state, visibility, focus.
class CWnd {
public:
    CWnd() = default;
    explicit CWnd(NativeWindow window)
        : m_hWnd(window)
    {
    }

    NativeWindow GetSafeHwnd() const { return m_hWnd; }
    std::string GetWindowText() const;
    void SetWindowText(const std::string& text);
    // The first character of the window's text, in UTF-8, that the ANSI code
    // page of Vorns.ctl (ToAnsiCodePage) cannot hold; empty when it holds
    // them all. GetWindowText gives such a character as "?" on Windows.
    std::string FirstUnstorableCharacter() const;
    void EnableWindow(bool enable);
    bool IsWindowEnabled() const;
    void ShowWindow(bool show);
    bool IsWindowVisible() const;
    void SetFocus();

protected:
    NativeWindow m_hWnd = nullptr;

    friend class Dialog;
};

// A progress bar control.
class CProgressCtrl : public CWnd {
public:
    void SetRange(int lower, int upper);
    void SetPos(int position);
};

// The window menu of a dialog; empty where the window has none.
class CMenu {
public:
    explicit operator bool() const { return m_hMenu != nullptr; }
    void AppendSeparator();
    // Choosing the item reaches the dialog's OnSysCommand with `id`.
    void AppendItem(unsigned id, const std::string& text);

private:
    void* m_hMenu = nullptr;
    class Dialog* m_pOwner = nullptr;

    friend class Dialog;
};

// Paints a window while it is minimised.
class CPaintDC {
public:
    explicit CPaintDC(class Dialog& window);
    ~CPaintDC();
    CPaintDC(const CPaintDC&) = delete;
    CPaintDC& operator=(const CPaintDC&) = delete;

    // Erases the background behind a minimised window's icon.
    void EraseIconBackground();
    void DrawIcon(int x, int y, IconHandle icon);

private:
    class Dialog& m_window;
    void* m_hDC = nullptr;
};

struct ClientSize {
    int cx;
    int cy;
};

// The width and height of a window's big icon, as the system draws it.
int SystemIconWidth();
int SystemIconHeight();

// The icon resource numbered `resourceId`.
IconHandle LoadIcon(int resourceId);

// A modal dialog built from a template, with the life cycle Windows dialogs
// have: OnInitDialog before the window is first shown, OnOK and OnCancel
// for the buttons, Enter for the default button, Escape and the close box
// for cancel, DoModal answering the code passed to EndDialog. The controls
// exist from OnInitDialog until the dialog ends.
class Dialog : public CWnd {
public:
    // Without a parent the dialog is owned by the application's main window.
    explicit Dialog(const DialogTemplate& dialogTemplate, Dialog* parent = nullptr);
    virtual ~Dialog();
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    int DoModal();
    void EndDialog(int result);

    CWnd GetDlgItem(int id) const;
    std::string GetDlgItemText(int id) const;
    // CR, LF and CR LF each end a line; texts are always plain.
    void SetDlgItemText(int id, const std::string& text);

    // A warning over this dialog, returning once it is dismissed: `format`
    // (the program's text) with its "%s" replaced by `character` (UTF-8, so
    // any character shows, whether the program's text can hold it or not).
    void ShowWarning(const std::string& caption, const std::string& format, const std::string& character);

    // The application's main window, the default owner of new dialogs.
    static Dialog* mainWindow();
    static void setMainWindow(Dialog* window);

    // The window menu: the platform's own on Windows; on Linux, where the
    // window manager owns that one, the dialog's context menu (right
    // button, the Menu key or Shift+F10) with Minimize and Close.
    CMenu GetSystemMenu();
    void SetIcon(IconHandle icon, bool bigIcon);
    bool IsIconic() const;
    ClientSize GetClientSize() const;

    const DialogTemplate& dialogTemplate() const { return m_template; }
    // The backend attaches the window it made for the dialog.
    void AttachWindow(NativeWindow window) { m_hWnd = window; }

    // The toolkit's side of the dialog, defined by each backend.
    struct Native;
    Native& native() const { return *m_native; }

    // What the backend's window reports; each default does what the
    // platform does without the dialog.
    virtual void OnSysCommand(unsigned id, long param);
    // A click on a button other than OK and Cancel.
    virtual void OnCommand(int id);
    virtual void OnPaint();
    // The cursor shown while the minimised window is dragged.
    virtual IconHandle OnQueryDragIcon();
    virtual bool OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();

protected:
    // Copies member data to the controls (save false) or back (save true).
    virtual void DoDataExchange(bool saveAndValidate);
    void UpdateData(bool saveAndValidate);
    // Binds `control` to the dialog's control `id`.
    void DDX_Control(int id, CWnd& control) const;

private:
    const DialogTemplate& m_template;
    Dialog* m_pParent;
    std::unique_ptr<Native> m_native;
};
