#pragma once

#include <string>

// An installation run in a child process of the test program, so that a
// limit set for the child (such as a maximum file size) touches nothing
// else. The child installs into a folder of the given Wine prefix and
// prints the status text it ends with.
struct ChildInstallResult {
    int exitCode = -1;
    std::string status;
};
ChildInstallResult installInChild(const std::string& prefix, const std::string& folder, long long fileSizeLimit);

bool isChildInstall();
int runChildInstall();
