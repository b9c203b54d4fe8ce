#pragma once

#include "platform/dialog.h"

#include <string>

// Asks for another file name when the entry's file already exists in the
// Vorns folder, proposing the first numbered variant that does not.
class CDupFileNameDlg : public Dialog {
public:
    CDupFileNameDlg(const std::string& fileName, const std::string& folder, Dialog* parent = nullptr);

    std::string GetNewName() const { return m_strNewName; }

    std::string m_strOldName;
    std::string m_strNewName;
    std::string m_strFolder;

protected:
    bool OnInitDialog() override;
    void OnOK() override;
};
