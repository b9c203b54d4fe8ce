#include "install/dialog_questions.h"

#include "install/dup_file_name_dlg.h"
#include "install/dup_vorn_name_dlg.h"
#include "res/resource_ids.h"

std::optional<std::string> DialogQuestions::askVornName(const std::string& name, const ControlText& controlText)
{
    CDupVornNameDlg dialog(name, controlText.c_str());
    if (dialog.DoModal() != IDOK)
        return std::nullopt;
    return dialog.GetNewName();
}

std::optional<std::string> DialogQuestions::askFileName(const std::string& fileName, const std::string& folder)
{
    CDupFileNameDlg dialog(fileName, folder);
    if (dialog.DoModal() != IDOK)
        return std::nullopt;
    return dialog.GetNewName();
}
