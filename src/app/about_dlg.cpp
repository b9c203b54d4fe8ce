#include "app/about_dlg.h"

#include "res/dialog_templates.h"

CAboutDlg::CAboutDlg(QWidget* parent)
    : Dialog(kAboutBoxTemplate, parent)
{
}
