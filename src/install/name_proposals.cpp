#include "install/name_proposals.h"

#include "platform/ansi_code_page.h"
#include "platform/file_lookup.h"
#include "platform/text_search.h"
#include "platform/windows_path.h"

#include <cstdint>
#include <unordered_set>

std::string ProposeVornName(std::string_view controlText, const std::string& name)
{
    // One pass collects every number already listed after the name, instead
    // of searching the whole text once per candidate.
    const std::string prefix = "VornName:" + ToAnsiCodePage(name);
    // Ten digits at most, as "%d" writes them: 64 bits hold any such number on
    // every platform.
    std::unordered_set<std::uint64_t> listed;
    for (std::size_t at = FindText(controlText, prefix); at != std::string_view::npos;
         at = FindText(controlText, prefix, at + 1)) {
        std::size_t digits = at + prefix.size();
        const std::size_t first = digits;
        while (digits < controlText.size() && digits - first < 10 && controlText[digits] >= '0'
               && controlText[digits] <= '9')
            ++digits;
        // "%d" writes no leading zero, so "Leaf02" is not Leaf with 2.
        if (digits == first || controlText[first] == '0')
            continue;
        if (controlText.substr(digits, 2) != "\r\n")
            continue;
        std::uint64_t number = 0;
        for (std::size_t i = first; i < digits; ++i)
            number = number * 10 + std::uint64_t(controlText[i] - '0');
        listed.insert(number);
    }
    std::uint64_t number = 2;
    while (listed.count(number))
        ++number;
    return name + std::to_string(number);
}

std::string ProposeFileName(const std::string& folder, const std::string& fileName)
{
    const std::size_t dot = fileName.rfind('.');
    const std::string base = dot == std::string::npos ? std::string() : fileName.substr(0, dot);
    const std::string extension = dot == std::string::npos ? fileName : fileName.substr(dot);

    std::string candidate = fileName;
    for (unsigned long number = 2; FileExists(PathInFolder(folder, candidate)); ++number)
        candidate = base + std::to_string(number) + extension;
    return candidate;
}
