#pragma once

#include "app/exit_code.h"
#include "cli/unattended_report.h"
#include "cli/usage_error.h"

#include <optional>
#include <string>

// The command line's Wine-prefix options, Linux's own: --prefix, which
// takes a folder or a label, --list-prefixes, and $WINEPREFIX.

// The prefix a --prefix value names: a path (it holds a slash, or no label
// is like it and a folder is there), or a label from --list-prefixes; sets
// `prefix` (and `label` for a label).
std::optional<UsageError> ResolvePrefix(const std::string& value, std::string& prefix, std::string& label);
// $WINEPREFIX, when the run would use it: Wine refuses a relative one, and
// a folder that is no prefix is no place to install into.
std::optional<UsageError> CheckWinePrefixVariable();
// --list-prefixes: each prefix found, as text or one JSON document.
ExitCode ListPrefixes(bool json);
// Makes the prefix an unattended run works in the process's own and reports
// it: --prefix, then an absolute $WINEPREFIX, then the search. Answers the
// exit code that stops the run, if any.
std::optional<ExitCode> ChoosePrefix(const std::string& prefix, const std::string& label, UnattendedReport& report);
