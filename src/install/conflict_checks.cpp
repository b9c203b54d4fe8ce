#include "install/conflict_checks.h"

#include "install/dup_file_name_dlg.h"
#include "install/dup_vorn_name_dlg.h"
#include "platform/file_lookup.h"
#include "res/resource_ids.h"

namespace {

// A name with a line end in it would break the control file's lines.
bool isUsableVornName(const std::string& name)
{
    return !name.empty() && name.find_first_of("\r\n") == std::string::npos;
}

bool endsWithVrn(const std::string& fileName)
{
    return fileName.size() >= 4 && fileName.compare(fileName.size() - 4, 4, ".vrn") == 0;
}

} // namespace

CheckAnswer CheckVornName(std::string& name, ControlFile& control)
{
    CheckAnswer answer = CheckAnswer::Proceed;
    const ControlText& text = ReadControlText(control);
    while (!isUsableVornName(name) || IsVornNameTaken(text, name)) {
        CDupVornNameDlg dialog(name, text.c_str());
        if (dialog.DoModal() != IDOK) {
            answer = CheckAnswer::Skip;
            break;
        }
        const std::string typed = dialog.GetNewName();
        if (isUsableVornName(typed))
            name = typed;
    }
    SeekToEnd(control);
    return answer;
}

CheckAnswer CheckFileName(std::string& fileName, const std::string& folder, std::string& path)
{
    path = folder + "\\" + fileName;
    while (FileExists(path)) {
        CDupFileNameDlg dialog(fileName, folder);
        if (dialog.DoModal() != IDOK)
            return CheckAnswer::Skip;
        const std::string typed = dialog.GetNewName();
        // Four bytes or fewer cannot be more than ".vrn": ask again.
        if (typed.size() <= 4)
            continue;
        fileName = endsWithVrn(typed) ? typed : typed + ".vrn";
        path = folder + "\\" + fileName;
    }
    return CheckAnswer::Proceed;
}
