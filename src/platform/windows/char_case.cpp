// Case in the ANSI code page, as the system's own CharUpperBuffA and
// CharLowerBuffA map it.
#include "platform/char_case.h"

#include <windows.h>

namespace CharCase {
namespace {

std::string mapped(std::string_view text, DWORD(WINAPI* map)(LPSTR, DWORD), std::size_t count)
{
    std::string out(text);
    if (count > 0)
        map(out.data(), DWORD(count));
    return out;
}

} // namespace

std::string upper(std::string_view text)
{
    return mapped(text, CharUpperBuffA, text.size());
}

std::string lower(std::string_view text)
{
    return mapped(text, CharLowerBuffA, text.size());
}

std::string upperFirst(std::string_view text)
{
    // One byte is one character in a single-byte code page.
    return mapped(text, CharUpperBuffA, text.empty() ? 0 : 1);
}

bool equalIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && upper(a) == upper(b);
}

} // namespace CharCase
