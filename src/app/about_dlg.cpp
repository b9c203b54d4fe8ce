#include "app/about_dlg.h"

#include "res/dialog_templates.h"

CAboutDlg::CAboutDlg(Dialog* parent)
    : Dialog(kAboutBoxTemplate, parent)
{
}
