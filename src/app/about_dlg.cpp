#include "about_dlg.h"

#include "dialog_templates.h"

CAboutDlg::CAboutDlg(QWidget* parent)
    : Dialog(kAboutBoxTemplate, parent)
{
}
