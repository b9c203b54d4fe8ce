#pragma once

#include <cstdint>
#include <string>

// A file opened by another process until this object is gone: as a run
// opens its control file (exclusive, read and write), as a second installer
// would hold it; or, `forReading`, only read, as Corvane reads it (on Linux
// under a read lock, the only hold another process can see there).
class FileHeldElsewhere {
public:
    explicit FileHeldElsewhere(const std::string& windowsPath, bool forReading = false);
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
