#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// A file opened by its Windows path. Every failure throws FileException.
class StdioFile {
public:
    enum OpenFlags : unsigned {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareExclusive = 0x0010,
        modeCreate = 0x1000,
        typeBinary = 0x8000,
    };
    enum SeekPosition { begin, current, end };

    StdioFile() = default;
    StdioFile(StdioFile&& other) noexcept;
    StdioFile& operator=(StdioFile&& other) noexcept;
    StdioFile(const StdioFile&) = delete;
    StdioFile& operator=(const StdioFile&) = delete;
    ~StdioFile();

    // Opens an existing file, or creates (or empties) it with modeCreate.
    // With shareExclusive no other exclusive open of the file succeeds
    // while this one holds it. Only a plain file is opened: a folder, a
    // FIFO or a device is refused, and the open never waits on a writer.
    void Open(const std::string& windowsPath, unsigned flags);

    std::uint64_t Seek(std::int64_t offset, SeekPosition from);
    std::uint64_t SeekToEnd() { return Seek(0, end); }
    std::uint64_t GetPosition() const;
    std::uint64_t GetLength() const;
    void SetLength(std::uint64_t length);
    // Sets aside `count` bytes of the disk from `offset` without changing
    // the length, so that writing them later cannot run out of space.
    // Answers false where the file system cannot set space aside; throws
    // when it can but the disk has no room.
    bool Reserve(std::uint64_t offset, std::uint64_t count);

    // Reads up to `count` bytes; answers how many were read.
    std::size_t Read(void* buffer, std::size_t count);
    void Write(const void* buffer, std::size_t count);
    // Commits what was written to the disk.
    void Flush();
    void Close();

    // Deletes the file a Windows path names.
    static void Remove(const std::string& windowsPath);

    // Creates a new file holding `data`, which appears under its name only
    // whole and on the disk, and whose name is on the disk too before this
    // returns: a process killed meanwhile leaves no part of it under its
    // name. Never replaces a file that is there. Where the file system has
    // no unnamed files, the data is written under a temporary name of our
    // own in the same folder first.
    static void CreateWhole(const std::string& windowsPath, const void* data, std::size_t size);

    // Removes the temporaries that a killed CreateWhole left in a folder;
    // no other name is touched.
    static void RemoveAbandonedTemporaries(const std::string& windowsFolder);

    // Whether CreateWhole may use unnamed files where the file system has
    // them; tests turn it off to take the temporary-name path anywhere.
    static void AllowUnnamedFiles(bool allowed);

private:
    [[noreturn]] void fail(int osError) const;
    // Closes a handle whose errors no one can act on any more.
    static void closeHandle(std::intptr_t handle);

    // A descriptor on Linux, a HANDLE on Windows; -1 (INVALID_HANDLE_VALUE) when closed.
    std::intptr_t m_handle = -1;
    std::string m_windowsPath;
};
