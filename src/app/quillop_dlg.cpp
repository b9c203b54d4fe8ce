#include "app/quillop_dlg.h"

#include "app/about_dlg.h"
#include "platform/string_resources.h"
#include "res/dialog_templates.h"
#include "res/resource_ids.h"

CQuillopDlg::CQuillopDlg(Dialog* parent)
    : Dialog(kMainDialogTemplate, parent)
    , m_hIcon(LoadIcon(IDR_MAINFRAME))
{
}

void CQuillopDlg::DoDataExchange(bool saveAndValidate)
{
    DDX_Control(IDC_PROGRESS, m_progress);
    if (saveAndValidate)
        m_strStatus = GetDlgItemText(IDC_STATUS);
    else
        SetDlgItemText(IDC_STATUS, m_strStatus);
}

bool CQuillopDlg::OnInitDialog()
{
    Dialog::OnInitDialog();

    const std::string aboutText = LoadString(IDS_ABOUTBOX);
    if (CMenu systemMenu = GetSystemMenu(); systemMenu && !aboutText.empty()) {
        systemMenu.AppendSeparator();
        systemMenu.AppendItem(IDM_ABOUTBOX, aboutText);
    }

    SetIcon(m_hIcon, true);
    SetIcon(m_hIcon, false);
    SetStatusText(LoadString(IDS_FINDING));
    m_progress.SetRange(0, 100);

    LocateVornsFolder();
    return true;
}

void CQuillopDlg::OnCommand(int id)
{
    if (id == IDC_INSTALL)
        OnInstall();
    else if (id == IDC_BROWSE)
        OnBrowse();
}

void CQuillopDlg::OnSysCommand(unsigned id, long param)
{
    if ((id & 0xFFF0) == IDM_ABOUTBOX) {
        CAboutDlg about;
        about.DoModal();
    } else {
        Dialog::OnSysCommand(id, param);
    }
}

void CQuillopDlg::OnPaint()
{
    if (!IsIconic()) {
        Dialog::OnPaint();
        return;
    }
    CPaintDC dc(*this);
    dc.EraseIconBackground();
    const ClientSize client = GetClientSize();
    const int x = (client.cx - SystemIconWidth() + 1) / 2;
    const int y = (client.cy - SystemIconHeight() + 1) / 2;
    dc.DrawIcon(x, y, m_hIcon);
}

IconHandle CQuillopDlg::OnQueryDragIcon()
{
    return m_hIcon;
}

void CQuillopDlg::SetStatusText(const std::string& text)
{
    SetDlgItemText(IDC_STATUS, text);
}

void CQuillopDlg::EnableItem(int id, bool enable)
{
    GetDlgItem(id).EnableWindow(enable);
}
