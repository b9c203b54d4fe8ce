#pragma once

// Quillop's command line: with no options the window; --help, --version,
// --list-prefixes and --unattended run without a display. Answers the
// process's exit code.
int RunQuillop(int argc, char* argv[]);
