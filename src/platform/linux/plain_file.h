#pragma once

#include <cerrno>
#include <cstdint>
#include <string>

// Reading a file that may not be what its name says: a FIFO, a device, a
// folder, a link to /dev/zero or a huge sparse file in place of a small
// text. The open never waits on a writer, and only a plain file (after
// links) of at most a limit is read.
struct PlainFileRead {
    bool read = false;
    std::string bytes;
    // Why it was not read: the system's error (0 for a file of another kind
    // or too large) and the cause in words.
    int osError = 0;
    std::string problem;

    // Nothing is there: no problem to report.
    bool missing() const { return !read && osError == ENOENT; }
};

// A prefix's registry file: a real system.reg is 2 MB, some 50; the limit
// leaves room to spare.
constexpr std::uint64_t kRegistryFileLimit = std::uint64_t(128) << 20;

// Reads `path` whole when it is a plain file of at most `limit` bytes; the
// open never waits.
PlainFileRead ReadPlainFile(const std::string& path, std::uint64_t limit);

// Opens `path` read-only without waiting and answers the descriptor when it
// is a plain file of at most `limit` bytes; else -1, with `why` filled in.
int OpenPlainFile(const std::string& path, std::uint64_t limit, PlainFileRead& why);

// The cause in words for a file of mode `mode` that is no plain file
// ("not a plain file (a FIFO)"), and for one larger than `limit`.
std::string NotAPlainFile(unsigned mode);
std::string LargerThan(std::uint64_t limit);
