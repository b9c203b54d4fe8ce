// The numbered-name proposal against the plain search: the first of name2,
// name3, ... that the text does not list, the name as the control file
// holds it (in the ANSI code page).
#include "install/name_proposals.h"
#include "platform/ansi_code_page.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    const std::size_t nameLength = std::min<std::size_t>(data[0] % 8, size - 1);
    const std::string name(reinterpret_cast<const char*>(data) + 1, nameLength);
    if (name.find_first_of(std::string("\r\n\0", 3)) != std::string::npos)
        return 0;
    const std::string text(reinterpret_cast<const char*>(data) + 1 + nameLength, size - 1 - nameLength);
    const std::string searchable = text.substr(0, text.find('\0'));
    const std::string listedAs = "VornName:" + ToAnsiCodePage(name);
    unsigned long number = 2;
    while (searchable.find(listedAs + std::to_string(number) + "\r\n") != std::string::npos)
        ++number;
    if (ProposeVornName(searchable, name) != name + std::to_string(number))
        __builtin_trap();
    return 0;
}
