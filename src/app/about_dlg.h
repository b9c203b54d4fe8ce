#pragma once

#include "platform/dialog.h"

// The About box: the icon, the program's title and OK.
class CAboutDlg : public Dialog {
    Q_OBJECT

public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};
