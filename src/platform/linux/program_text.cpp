// The Linux program's texts are UTF-8 already.
#include "platform/program_text.h"

std::string ProgramTextToUtf8(const std::string& text)
{
    return text;
}

std::optional<std::string> ProgramTextFromUtf8(const std::string& utf8)
{
    return utf8;
}
