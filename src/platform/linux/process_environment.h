#pragma once

#include <optional>
#include <string>

// What a command-line process finds around it when it starts.

// Opens /dev/null on whichever of the descriptors 0, 1 and 2 is closed, so
// that no file the program opens later takes one of their numbers and
// receives what is meant for standard output or error. Call it first.
// Answers which were closed: bit 1 << fd for each.
unsigned OpenStandardDescriptors();

// Why no window can be shown, or nothing when a display is there. Where the
// toolkit would use X (QT_QPA_PLATFORM=xcb, or no platform named and no
// $WAYLAND_DISPLAY): no $DISPLAY, a local X display that does not answer, or
// one that refuses the connection.
std::optional<std::string> MissingDisplay();

// The user's home folder as its bytes: $HOME, else the password database's.
std::string HomeFolder();
