#include "platform/ansi_code_page.h"

std::string ToAnsiCodePage(std::string_view text)
{
    return std::string(text);
}
