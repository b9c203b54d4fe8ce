#pragma once

#include <string>
#include <vector>

// A usage error: one line naming the problem, the lines below it (such as
// candidates), and where to read more.
struct UsageError {
    std::string problem;
    std::vector<std::string> details;
};
