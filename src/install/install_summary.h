#pragma once

#include <cstdint>
#include <string>

// What one installation run installed: the count and the names, separated
// by ", ", with a final "." when the catalogue's last entry is among them.
struct InstallSummary {
    std::uint32_t count = 0;
    std::string list;

    void add(const std::string& name, bool lastEntry)
    {
        ++count;
        if (!list.empty())
            list += ", ";
        list += name;
        if (lastEntry)
            list += ".";
    }
};
