#pragma once

#include "payload/catalogue.h"
#include "platform/dialog.h"

#include <QIcon>

#include <string>

class QProgressBar;

// The main window: status text, progress bar, Install, Browse and Exit.
class CQuillopDlg : public Dialog {
    Q_OBJECT

public:
    using LocalErrors = ::LocalErrors;

    explicit CQuillopDlg(QWidget* parent = nullptr);

    QProgressBar* m_progress = nullptr;
    std::string m_strStatus;
    std::string m_strVornsFolder;
    QIcon m_hIcon;
    // A Vorns folder named on the command line, used instead of the search.
    std::string m_strGivenFolder;

    // Install: copies the catalogue into the Vorns folder.
    void OnInstall();
    // Browse: lets the user choose another Vorns folder.
    void OnBrowse();
    void OnSysCommand(unsigned id, long param) override;

protected:
    bool OnInitDialog() override;
    void DoDataExchange(bool saveAndValidate) override;

private:
    // Finds the Vorns folder, sets Install's state and the welcome text.
    void LocateVornsFolder();
    // Whether the folder holds the control file.
    bool IsVornsFolder(const std::string& folder) const;
    // Runs the folder chooser at `folder`; 1 and the chosen folder, or 2.
    int BrowseForFolder(std::string& folder);
    void SetStatusText(const std::string& text);
    void EnableItem(int id, bool enable);
};
