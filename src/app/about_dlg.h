#pragma once

#include "platform/dialog.h"

// The About box: the icon, the program's title and OK.
class CAboutDlg : public Dialog {
public:
    explicit CAboutDlg(Dialog* parent = nullptr);
};
