// Files over CreateFileA, ReadFile, WriteFile, SetFilePointerEx and
// FlushFileBuffers. shareExclusive is share mode 0: no other open of the
// file succeeds while this one holds it.
#include "platform/stdio_file.h"

#include "platform/file_exception.h"
#include "platform/temporary_names.h"

#include <windows.h>

#include <algorithm>

namespace {

HANDLE handleOf(std::intptr_t handle)
{
    return reinterpret_cast<HANDLE>(handle);
}

[[noreturn]] void failWith(DWORD error, const std::string& windowsPath)
{
    throw FileException(FileException::causeOf(int(error)), int(error), windowsPath);
}

// The folder part of a path, through its last separator.
std::string folderOf(const std::string& path)
{
    const std::size_t last = path.find_last_of("\\/");
    return last == std::string::npos ? std::string() : path.substr(0, last + 1);
}

std::wstring wide(const std::string& text)
{
    std::wstring converted(text.size(), L'\0');
    converted.resize(std::size_t(
        MultiByteToWideChar(CP_ACP, 0, text.data(), int(text.size()), converted.data(), int(converted.size()))));
    return converted;
}

// A folder in the extended form (\\?\C:\... or \\?\UNC\server\...), ending in
// a separator, whose paths may be longer than the ANSI functions allow: a
// temporary name is longer than most Vorn file names, and must not fail
// where the final path fits. Empty when the folder cannot be made absolute.
std::wstring extendedFolder(const std::string& folder)
{
    const std::wstring given = wide(folder.empty() ? std::string(".\\") : folder);
    const DWORD size = GetFullPathNameW(given.c_str(), 0, nullptr, nullptr);
    std::wstring full(size, L'\0');
    const DWORD length = size == 0 ? 0 : GetFullPathNameW(given.c_str(), size, full.data(), nullptr);
    if (length == 0 || length >= size)
        return {};
    full.resize(length);
    if (full.back() != L'\\')
        full += L'\\';
    if (full.compare(0, 2, L"\\\\") == 0)
        return L"\\\\?\\UNC\\" + full.substr(2);
    return L"\\\\?\\" + full;
}

} // namespace

void StdioFile::closeHandle(std::intptr_t handle)
{
    CloseHandle(handleOf(handle));
}

void StdioFile::Open(const std::string& windowsPath, unsigned flags)
{
    if (m_handle != -1)
        Close();
    m_windowsPath = windowsPath;
    DWORD access = GENERIC_READ;
    if (flags & modeReadWrite)
        access = GENERIC_READ | GENERIC_WRITE;
    else if (flags & modeWrite)
        access = GENERIC_WRITE;
    const DWORD share = (flags & shareExclusive) ? 0 : FILE_SHARE_READ | FILE_SHARE_WRITE;
    const HANDLE file
        = CreateFileA(windowsPath.c_str(), access, share, nullptr, (flags & modeCreate) ? CREATE_ALWAYS : OPEN_EXISTING,
                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        failWith(GetLastError(), windowsPath);
    if (GetFileType(file) != FILE_TYPE_DISK) {
        CloseHandle(file);
        throw FileException(FileException::accessDenied, windowsPath, "not a plain file");
    }
    m_handle = reinterpret_cast<std::intptr_t>(file);
}

std::uint64_t StdioFile::Seek(std::int64_t offset, SeekPosition from)
{
    LARGE_INTEGER distance, position;
    distance.QuadPart = offset;
    const DWORD method = from == begin ? FILE_BEGIN : from == current ? FILE_CURRENT : FILE_END;
    if (!SetFilePointerEx(handleOf(m_handle), distance, &position, method))
        fail(int(GetLastError()));
    return std::uint64_t(position.QuadPart);
}

std::uint64_t StdioFile::GetPosition() const
{
    LARGE_INTEGER none, position;
    none.QuadPart = 0;
    if (!SetFilePointerEx(handleOf(m_handle), none, &position, FILE_CURRENT))
        fail(int(GetLastError()));
    return std::uint64_t(position.QuadPart);
}

std::uint64_t StdioFile::GetLength() const
{
    LARGE_INTEGER size;
    if (!GetFileSizeEx(handleOf(m_handle), &size))
        fail(int(GetLastError()));
    return std::uint64_t(size.QuadPart);
}

void StdioFile::SetLength(std::uint64_t length)
{
    const std::uint64_t position = GetPosition();
    Seek(std::int64_t(length), begin);
    if (!SetEndOfFile(handleOf(m_handle)))
        fail(int(GetLastError()));
    Seek(std::int64_t(position < length ? position : length), begin);
}

bool StdioFile::Reserve(std::uint64_t offset, std::uint64_t count)
{
    // The allocation may reach past the end without moving it; one short of
    // the end would cut the file there.
    FILE_ALLOCATION_INFO allocation;
    allocation.AllocationSize.QuadPart = LONGLONG(std::max(offset + count, GetLength()));
    if (SetFileInformationByHandle(handleOf(m_handle), FileAllocationInfo, &allocation, sizeof allocation))
        return true;
    // File systems without allocation beyond the end (and Wine) say so.
    const DWORD error = GetLastError();
    if (error == ERROR_CALL_NOT_IMPLEMENTED || error == ERROR_NOT_SUPPORTED || error == ERROR_INVALID_FUNCTION
        || error == ERROR_INVALID_PARAMETER)
        return false;
    fail(int(error));
}

std::size_t StdioFile::Read(void* buffer, std::size_t count)
{
    auto* bytes = static_cast<char*>(buffer);
    std::size_t done = 0;
    while (done < count) {
        const DWORD chunk = DWORD(count - done > 0x40000000 ? 0x40000000 : count - done);
        DWORD read = 0;
        if (!ReadFile(handleOf(m_handle), bytes + done, chunk, &read, nullptr))
            fail(int(GetLastError()));
        if (read == 0)
            break;
        done += read;
    }
    return done;
}

void StdioFile::Write(const void* buffer, std::size_t count)
{
    const auto* bytes = static_cast<const char*>(buffer);
    while (count > 0) {
        const DWORD chunk = DWORD(count > 0x40000000 ? 0x40000000 : count);
        DWORD written = 0;
        if (!WriteFile(handleOf(m_handle), bytes, chunk, &written, nullptr))
            fail(int(GetLastError()));
        bytes += written;
        count -= written;
    }
}

void StdioFile::Flush()
{
    if (!FlushFileBuffers(handleOf(m_handle)))
        fail(int(GetLastError()));
}

void StdioFile::Close()
{
    if (m_handle == -1)
        return;
    const HANDLE file = handleOf(m_handle);
    m_handle = -1;
    if (!CloseHandle(file))
        fail(int(GetLastError()));
}

void StdioFile::Remove(const std::string& windowsPath)
{
    if (!DeleteFileA(windowsPath.c_str()))
        failWith(GetLastError(), windowsPath);
}

void StdioFile::AllowUnnamedFiles(bool)
{
    // Windows has no unnamed files: every Vorn file is written under a
    // temporary name first.
}

void StdioFile::CreateWhole(const std::string& windowsPath, const void* data, std::size_t size)
{
    const std::wstring folder = extendedFolder(folderOf(windowsPath));
    if (folder.empty())
        failWith(GetLastError(), windowsPath);
    std::wstring temporary;
    HANDLE file = INVALID_HANDLE_VALUE;
    do {
        temporary = folder + wide(NewTemporaryName());
        file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    } while (file == INVALID_HANDLE_VALUE && GetLastError() == ERROR_FILE_EXISTS);
    if (file == INVALID_HANDLE_VALUE)
        failWith(GetLastError(), windowsPath);
    DWORD error = 0;
    const auto* bytes = static_cast<const char*>(data);
    for (std::size_t left = size; error == 0 && left > 0;) {
        DWORD written = 0;
        if (!WriteFile(file, bytes, DWORD(left > 0x40000000 ? 0x40000000 : left), &written, nullptr))
            error = GetLastError();
        bytes += written;
        left -= written;
    }
    if (error == 0 && !FlushFileBuffers(file))
        error = GetLastError();
    if (!CloseHandle(file) && error == 0)
        error = GetLastError();
    // Without MOVEFILE_REPLACE_EXISTING an entry of that name is never
    // replaced; write-through returns once the name is on the disk.
    // The final name as the ANSI functions take it (trailing dots and
    // spaces dropped, as Corvane's opens will drop them).
    if (error == 0 && !MoveFileExW(temporary.c_str(), wide(windowsPath).c_str(), MOVEFILE_WRITE_THROUGH))
        error = GetLastError();
    if (error != 0) {
        DeleteFileW(temporary.c_str());
        failWith(error, windowsPath);
    }
}

void StdioFile::RemoveAbandonedTemporaries(const std::string& windowsFolder)
{
    const std::wstring folder = extendedFolder(windowsFolder);
    if (folder.empty())
        return;
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW((folder + wide(kTemporaryNamePattern)).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    // Only this run could be writing a temporary here now: it holds the
    // folder's control file exclusively. Temporary names are ASCII.
    do {
        const std::wstring name = found.cFileName;
        if (IsTemporaryName(std::string(name.begin(), name.end())))
            DeleteFileW((folder + name).c_str());
    } while (FindNextFileW(search, &found));
    FindClose(search);
}
