#include "install/conflict_checks.h"

#include "install/name_proposals.h"
#include "platform/file_lookup.h"
#include "platform/windows_path.h"

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

CheckAnswer CheckVornName(std::string& name, const ControlText& text, ConflictQuestions& questions)
{
    while (!isUsableVornName(name) || IsVornNameTaken(text, name)) {
        const auto typed = questions.askVornName(name, text);
        if (!typed)
            return CheckAnswer::Skip;
        if (isUsableVornName(*typed))
            name = *typed;
    }
    return CheckAnswer::Proceed;
}

CheckAnswer CheckFileName(std::string& fileName, const std::string& folder, std::string& path,
                          ConflictQuestions& questions)
{
    path = PathInFolder(folder, fileName);
    while (FileExists(path)) {
        const auto typed = questions.askFileName(fileName, folder);
        if (!typed)
            return CheckAnswer::Skip;
        // Four bytes or fewer cannot be more than ".vrn": ask again.
        if (typed->size() <= 4)
            continue;
        fileName = endsWithVrn(*typed) ? *typed : *typed + ".vrn";
        path = PathInFolder(folder, fileName);
    }
    return CheckAnswer::Proceed;
}

std::optional<std::string> PolicyQuestions::askVornName(const std::string& name, const ControlText& controlText)
{
    if (m_policy == Policy::skip)
        return std::nullopt;
    return ProposeVornName(controlText.view(), name);
}

std::optional<std::string> PolicyQuestions::askFileName(const std::string& fileName, const std::string& folder)
{
    if (m_policy == Policy::skip)
        return std::nullopt;
    return ProposeFileName(folder, fileName);
}
