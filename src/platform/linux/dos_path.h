#pragma once

#include "platform/linux/wine_prefix.h"

#include <string>

// A Windows path as the prefix's file system sees it.
struct DosPath {
    // False when a component holds a character no Windows name may hold, or
    // the path names a drive or share the prefix does not have.
    bool valid = false;
    // The written path ended in a separator.
    bool endsWithSeparator = false;
    // Host path: components found on disk under their stored names, the
    // rest as written.
    std::string hostPath;
    // Host folder that holds the final component, and whether it exists.
    std::string parentHostPath;
    bool parentExists = false;
    // The final component stands directly under the root.
    bool parentIsRoot = false;
    // The final component as written (after . and .. were folded), empty
    // for a bare root.
    std::string finalComponent;
    // Whether the final component exists, and its stored name if so.
    bool exists = false;
    std::string storedName;

    // How the components of a path are read.
    enum class Syntax {
        // As Windows reads a path: '\\' and '/' separate, "." and ".." fold.
        folded,
        // Only '\\' separates; "." and ".." are names no entry has, and a
        // '/' is an ordinary character that no stored name holds.
        literal,
    };

    static DosPath resolve(const std::string& windowsPath, const WinePrefix& prefix = WinePrefix::current(),
                           Syntax syntax = Syntax::folded);
};

// Whether a name holds a character below 32 or one of < > | ".
bool isInvalidDosName(const std::string& component);

// Whether Wine refuses to create a file of this name: it holds '*', '?' or
// ':', or it is a DOS device name (CON, PRN, AUX, NUL, COM1-9, LPT1-9 in any
// case, with any extension), which would open the device instead.
bool isRefusedFileName(const std::string& name);
