#pragma once

#include <string>
#include <string_view>

// Corvane reads the names in Vorns.ctl in the ANSI code page. On Windows the
// program's text already is in it; on Linux the program's text is UTF-8 and
// Corvane runs under Wine, so the text is converted to the code page Wine
// gives a Windows program started in the same environment. A character the
// code page cannot hold becomes "?", as Windows converts it; names typed by
// the user never hold one (the dialogs refuse them).
std::string ToAnsiCodePage(std::string_view text);
