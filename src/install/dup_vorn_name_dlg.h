#pragma once

#include "platform/dialog.h"

#include <string>

// Asks for another Vorn name when the entry's name is already listed,
// proposing the first numbered variant that is free.
class CDupVornNameDlg : public Dialog {
public:
    // `controlText` is the entry's read-back of the control file, borrowed
    // for the dialog's life.
    CDupVornNameDlg(const std::string& name, const char* controlText, Dialog* parent = nullptr);

    std::string GetNewName() const { return m_strNewName; }

    std::string m_strNewName;
    std::string m_strOldName;
    const char* m_pszControlText;

protected:
    bool OnInitDialog() override;
    void OnOK() override;
};
