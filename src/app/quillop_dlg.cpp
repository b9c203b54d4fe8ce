#include "app/quillop_dlg.h"

#include "app/about_dlg.h"
#include "platform/string_resources.h"
#include "res/dialog_templates.h"
#include "res/resource_ids.h"

#include <QProgressBar>
#include <QPushButton>

CQuillopDlg::CQuillopDlg(QWidget* parent)
    : Dialog(kMainDialogTemplate, parent)
    , m_hIcon(LoadIcon(QStringLiteral("IDR_MAINFRAME")))
{
    connect(qobject_cast<QPushButton*>(GetDlgItem(IDC_INSTALL)), &QPushButton::clicked, this, &CQuillopDlg::OnInstall);
    connect(qobject_cast<QPushButton*>(GetDlgItem(IDC_BROWSE)), &QPushButton::clicked, this, &CQuillopDlg::OnBrowse);
}

void CQuillopDlg::DoDataExchange(bool saveAndValidate)
{
    m_progress = qobject_cast<QProgressBar*>(GetDlgItem(IDC_PROGRESS));
    if (saveAndValidate)
        m_strStatus = GetDlgItemText(IDC_STATUS);
    else
        SetDlgItemText(IDC_STATUS, m_strStatus);
}

bool CQuillopDlg::OnInitDialog()
{
    Dialog::OnInitDialog();

    const std::string aboutText = LoadString(IDS_ABOUTBOX);
    if (QMenu* systemMenu = GetSystemMenu(); systemMenu && !aboutText.empty()) {
        AppendMenuSeparator(systemMenu);
        AppendMenuItem(systemMenu, IDM_ABOUTBOX, aboutText);
    }

    setWindowIcon(m_hIcon);
    SetStatusText(LoadString(IDS_FINDING));
    m_progress->setRange(0, 100);

    LocateVornsFolder();
    return true;
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

void CQuillopDlg::SetStatusText(const std::string& text)
{
    SetDlgItemText(IDC_STATUS, text);
}

void CQuillopDlg::EnableItem(int id, bool enable)
{
    GetDlgItem(id)->setEnabled(enable);
}
