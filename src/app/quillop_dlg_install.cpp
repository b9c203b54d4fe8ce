// The installation run behind the main dialog's Install button.
#include "app/quillop_dlg.h"

#include "install/dialog_questions.h"
#include "install/installation_run.h"
#include "res/resource_ids.h"

namespace {

// The run's texts go straight to the status control, its positions to the bar.
class WindowDisplay : public RunDisplay {
public:
    explicit WindowDisplay(CQuillopDlg& dialog)
        : m_dialog(dialog)
    {
    }
    void showStatus(const std::string& text) override { m_dialog.SetDlgItemText(IDC_STATUS, text); }
    void showProgress(int position) override { m_dialog.m_progress.SetPos(position); }

private:
    CQuillopDlg& m_dialog;
};

} // namespace

void CQuillopDlg::OnInstall()
{
    // Install stays enabled while a run waits in one of its dialogs, and a
    // click can still reach it there (posted, or by an accessibility action):
    // one run at a time.
    if (m_bInstalling)
        return;
    EnableItem(IDC_BROWSE, false);
    m_progress.ShowWindow(true);
    DialogQuestions questions;
    WindowDisplay display(*this);
    m_bInstalling = true;
    const RunOutcome outcome = RunInstallation(m_strVornsFolder, questions, display);
    m_bInstalling = false;
    if (!outcome.completed) {
        SetStatusText(outcome.statusText);
        return;
    }
    EnableItem(IDC_INSTALL, false);
    m_progress.ShowWindow(false);
    GetDlgItem(IDOK).SetFocus();
    SetStatusText(outcome.statusText);
    GetDlgItem(IDOK).SetFocus();
}
