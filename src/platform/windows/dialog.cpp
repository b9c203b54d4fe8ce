// The dialogs over the Windows dialog manager: each Dialog runs its DIALOGEX
// resource (written from the same templates) with DialogBoxParamA, and one
// dialog procedure hands the messages to the Dialog's handlers.
#include "platform/dialog.h"

#include "platform/dialog_ids.h"

#include <windows.h>

#include <commctrl.h>

#include <algorithm>

// windows.h names the A or W functions so.
#undef GetDlgItemText
#undef GetWindowText
#undef LoadIcon
#undef SetDlgItemText
#undef SetWindowText

struct Dialog::Native {
    // Set while a handler runs that the platform's default should follow.
    bool defaultPending = false;
};

namespace {

HWND hwndOf(const CWnd& window)
{
    return static_cast<HWND>(window.GetSafeHwnd());
}

Dialog* dialogOf(HWND window)
{
    return reinterpret_cast<Dialog*>(GetWindowLongPtrA(window, DWLP_USER));
}

// Centres `window` over its owner, as the framework does for a dialog whose
// template does not centre it on the screen, and keeps it on the work area.
void centreOverOwner(HWND window)
{
    RECT own{};
    GetWindowRect(window, &own);
    RECT area{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    RECT over = area;
    if (const HWND owner = GetWindow(window, GW_OWNER); owner && IsWindowVisible(owner) && !IsIconic(owner))
        GetWindowRect(owner, &over);
    const LONG width = own.right - own.left;
    const LONG height = own.bottom - own.top;
    LONG x = (over.left + over.right - width) / 2;
    LONG y = (over.top + over.bottom - height) / 2;
    x = std::max(area.left, std::min(x, area.right - width));
    y = std::max(area.top, std::min(y, area.bottom - height));
    SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR CALLBACK dialogProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        auto* dialog = reinterpret_cast<Dialog*>(lParam);
        SetWindowLongPtrA(window, DWLP_USER, lParam);
        dialog->AttachWindow(window);
        const bool focusFirst = dialog->OnInitDialog();
        if (!(dialog->dialogTemplate().style & CenterOnScreen))
            centreOverOwner(window);
        return focusFirst ? TRUE : FALSE;
    }
    Dialog* dialog = dialogOf(window);
    if (!dialog)
        return FALSE;
    switch (message) {
    case WM_COMMAND:
        if (HIWORD(wParam) != BN_CLICKED)
            return FALSE;
        if (LOWORD(wParam) == IDOK)
            dialog->OnOK();
        else if (LOWORD(wParam) == IDCANCEL)
            dialog->OnCancel();
        else
            dialog->OnCommand(LOWORD(wParam));
        return TRUE;
    case WM_SYSCOMMAND:
    case WM_PAINT: {
        Dialog::Native& native = dialog->native();
        native.defaultPending = false;
        if (message == WM_PAINT)
            dialog->OnPaint();
        else
            dialog->OnSysCommand(static_cast<unsigned>(wParam), static_cast<long>(lParam));
        // FALSE lets the dialog manager do what it does without us.
        return native.defaultPending ? FALSE : TRUE;
    }
    case WM_QUERYDRAGICON:
        // One of the messages whose answer a dialog procedure returns itself.
        return reinterpret_cast<INT_PTR>(dialog->OnQueryDragIcon());
    case WM_NCDESTROY:
        dialog->AttachWindow(nullptr);
        return FALSE;
    default:
        return FALSE;
    }
}

} // namespace

// Controls.

std::string CWnd::GetWindowText() const
{
    const int length = GetWindowTextLengthA(hwndOf(*this));
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    text.resize(static_cast<std::size_t>(GetWindowTextA(hwndOf(*this), text.data(), length + 1)));
    return text;
}

namespace {

std::wstring wideOf(const std::string& text, UINT codePage)
{
    std::wstring wide(text.size(), L'\0');
    wide.resize(static_cast<std::size_t>(
        MultiByteToWideChar(codePage, 0, text.data(), int(text.size()), wide.data(), int(wide.size()))));
    return wide;
}

} // namespace

std::string CWnd::FirstUnstorableCharacter() const
{
    const UINT codePage = GetACP();
    if (codePage == CP_UTF8)
        return {};
    const HWND window = hwndOf(*this);
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), int(text.size()))));
    // Character by character, a surrogate pair as one: without best fit, so
    // that "ā" is not quietly stored as "a".
    for (std::size_t at = 0; at < text.size();) {
        const int units = IS_HIGH_SURROGATE(text[at]) && at + 1 < text.size() ? 2 : 1;
        char bytes[8];
        BOOL defaulted = FALSE;
        WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, text.data() + at, units, bytes, sizeof bytes, nullptr,
                            &defaulted);
        if (defaulted) {
            std::string character(8, '\0');
            character.resize(static_cast<std::size_t>(WideCharToMultiByte(
                CP_UTF8, 0, text.data() + at, units, character.data(), int(character.size()), nullptr, nullptr)));
            return character;
        }
        at += static_cast<std::size_t>(units);
    }
    return {};
}

void CWnd::SetWindowText(const std::string& text)
{
    SetWindowTextA(hwndOf(*this), text.c_str());
}

void CWnd::EnableWindow(bool enable)
{
    ::EnableWindow(hwndOf(*this), enable ? TRUE : FALSE);
}

bool CWnd::IsWindowEnabled() const
{
    return ::IsWindowEnabled(hwndOf(*this)) != FALSE;
}

void CWnd::ShowWindow(bool show)
{
    ::ShowWindow(hwndOf(*this), show ? SW_SHOW : SW_HIDE);
}

bool CWnd::IsWindowVisible() const
{
    return ::IsWindowVisible(hwndOf(*this)) != FALSE;
}

void CWnd::SetFocus()
{
    ::SetFocus(hwndOf(*this));
}

void CProgressCtrl::SetRange(int lower, int upper)
{
    SendMessageA(hwndOf(*this), PBM_SETRANGE32, static_cast<WPARAM>(lower), static_cast<LPARAM>(upper));
}

void CProgressCtrl::SetPos(int position)
{
    SendMessageA(hwndOf(*this), PBM_SETPOS, static_cast<WPARAM>(position), 0);
}

// The window menu and painting.

void CMenu::AppendSeparator()
{
    AppendMenuA(static_cast<HMENU>(m_hMenu), MF_SEPARATOR, 0, nullptr);
}

void CMenu::AppendItem(unsigned id, const std::string& text)
{
    AppendMenuA(static_cast<HMENU>(m_hMenu), MF_STRING, id, text.c_str());
}

namespace {
struct Painting {
    PAINTSTRUCT paint;
};
} // namespace

CPaintDC::CPaintDC(Dialog& window)
    : m_window(window)
    , m_hDC(new Painting{})
{
    BeginPaint(hwndOf(m_window), &static_cast<Painting*>(m_hDC)->paint);
}

CPaintDC::~CPaintDC()
{
    auto* painting = static_cast<Painting*>(m_hDC);
    EndPaint(hwndOf(m_window), &painting->paint);
    delete painting;
}

void CPaintDC::EraseIconBackground()
{
    SendMessageA(hwndOf(m_window), WM_ICONERASEBKGND,
                 reinterpret_cast<WPARAM>(static_cast<Painting*>(m_hDC)->paint.hdc), 0);
}

void CPaintDC::DrawIcon(int x, int y, IconHandle icon)
{
    ::DrawIcon(static_cast<Painting*>(m_hDC)->paint.hdc, x, y, static_cast<HICON>(const_cast<void*>(icon)));
}

int SystemIconWidth()
{
    return GetSystemMetrics(SM_CXICON);
}

int SystemIconHeight()
{
    return GetSystemMetrics(SM_CYICON);
}

IconHandle LoadIcon(int resourceId)
{
    return LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(resourceId));
}

// The dialog.

Dialog::Dialog(const DialogTemplate& dialogTemplate, Dialog* parent)
    : m_template(dialogTemplate)
    , m_pParent(parent ? parent : mainWindow())
    , m_native(new Native)
{
}

Dialog::~Dialog() = default;

int Dialog::DoModal()
{
    const HWND owner = m_pParent ? hwndOf(*m_pParent) : nullptr;
    return static_cast<int>(DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(m_template.id), owner,
                                            dialogProcedure, reinterpret_cast<LPARAM>(this)));
}

void Dialog::EndDialog(int result)
{
    ::EndDialog(hwndOf(*this), result);
}

CWnd Dialog::GetDlgItem(int id) const
{
    return CWnd(::GetDlgItem(hwndOf(*this), id));
}

void Dialog::DDX_Control(int id, CWnd& control) const
{
    control.m_hWnd = ::GetDlgItem(hwndOf(*this), id);
}

void Dialog::ShowWarning(const std::string& caption, const std::string& format, const std::string& character)
{
    std::wstring text = wideOf(format, CP_ACP);
    const std::size_t placeholder = text.find(L"%s");
    if (placeholder != std::wstring::npos)
        text.replace(placeholder, 2, wideOf(character, CP_UTF8));
    MessageBoxW(hwndOf(*this), text.c_str(), wideOf(caption, CP_ACP).c_str(), MB_OK | MB_ICONEXCLAMATION);
}

CMenu Dialog::GetSystemMenu()
{
    CMenu menu;
    menu.m_hMenu = ::GetSystemMenu(hwndOf(*this), FALSE);
    menu.m_pOwner = this;
    return menu;
}

void Dialog::SetIcon(IconHandle icon, bool bigIcon)
{
    SendMessageA(hwndOf(*this), WM_SETICON, bigIcon ? ICON_BIG : ICON_SMALL,
                 reinterpret_cast<LPARAM>(const_cast<void*>(icon)));
}

bool Dialog::IsIconic() const
{
    return ::IsIconic(hwndOf(*this)) != FALSE;
}

ClientSize Dialog::GetClientSize() const
{
    RECT client{};
    GetClientRect(hwndOf(*this), &client);
    return {client.right - client.left, client.bottom - client.top};
}

void Dialog::OnSysCommand(unsigned, long)
{
    m_native->defaultPending = true;
}

void Dialog::OnPaint()
{
    m_native->defaultPending = true;
}
