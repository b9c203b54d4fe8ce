#pragma once

#include <cstdint>
#include <string>

// A file opened as a run opens its control file (exclusive, read and write),
// by another process, as Corvane or a second installer would hold it, until
// this object is gone.
class FileHeldElsewhere {
public:
    explicit FileHeldElsewhere(const std::string& windowsPath);
    ~FileHeldElsewhere();
    FileHeldElsewhere(const FileHeldElsewhere&) = delete;
    FileHeldElsewhere& operator=(const FileHeldElsewhere&) = delete;

    // Whether the other process got the file.
    bool held() const { return m_held; }

private:
    bool m_held = false;
    std::intptr_t m_process = -1; // its pid or process handle
    std::intptr_t m_release = -1; // its input, closed to let go
};
