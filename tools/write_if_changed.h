#pragma once

#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

// Writes `bytes` to `path` unless the file holds them already, so that what
// the build made from it is not made again.
inline void writeIfChanged(const std::string& path, const std::string& bytes)
{
    {
        std::ifstream existing(path, std::ios::binary);
        std::ostringstream old;
        old << existing.rdbuf();
        if (existing && old.str() == bytes)
            return;
    }
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << bytes;
    file.close();
    if (!file)
        throw std::runtime_error("cannot write " + path);
}
