#pragma once

#include "host/dir_dialog.h"
#include "payload/catalogue.h"
#include "platform/dialog.h"

#include <string>

// The main window: status text, progress bar, Install, Browse and Exit.
class CQuillopDlg : public Dialog {
public:
    using LocalErrors = ::LocalErrors;

    explicit CQuillopDlg(Dialog* parent = nullptr);

    CProgressCtrl m_progress;
    std::string m_strStatus;
    std::string m_strVornsFolder;
    IconHandle m_hIcon;
    // A Vorns folder named on the command line, used instead of the search.
    std::string m_strGivenFolder;

    // Install: copies the catalogue into the Vorns folder.
    void OnInstall();
    // Browse: lets the user choose another Vorns folder.
    void OnBrowse();
    void OnSysCommand(unsigned id, long param) override;
    void OnCommand(int id) override;
    // Draws the icon while the window is minimised.
    void OnPaint() override;
    IconHandle OnQueryDragIcon() override;

protected:
    bool OnInitDialog() override;
    void DoDataExchange(bool saveAndValidate) override;

private:
    // Finds the Vorns folder, sets Install's state and the welcome text.
    void LocateVornsFolder();
    // Whether the folder holds the control file.
    bool IsVornsFolder(const std::string& folder) const;
    // Runs the folder chooser at `folder`; 1 and the chosen folder, or 2.
    BrowseResult BrowseForFolder(std::string& folder);
    void SetStatusText(const std::string& text);
    void EnableItem(int id, bool enable);

    bool m_bInstalling = false;
};
