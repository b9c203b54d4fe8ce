#include "support/throwaway_prefix.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

namespace {

const char* const kClassKey = "CRV5.Image";
// The small disk run_under_wine.sh mounts and links as drive S:.
const std::string kSmallDisk = "S:\\";

// Names beyond ASCII are the ANSI code page's bytes, as the program has
// them; folders are made and removed through the W functions with the
// extended prefix, which alone reach beyond MAX_PATH.
std::wstring extended(const std::string& path)
{
    std::wstring wide(path.size(), L'\0');
    wide.resize(
        std::size_t(MultiByteToWideChar(CP_ACP, 0, path.data(), int(path.size()), wide.data(), int(wide.size()))));
    return L"\\\\?\\" + wide;
}

void removeAll(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return;
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(path.c_str());
        return;
    }
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW((path + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name != L"." && name != L"..")
                removeAll(path + L"\\" + name);
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(path.c_str());
}

void makeFolders(const std::string& path)
{
    for (std::size_t end = path.find('\\', 3);; end = path.find('\\', end + 1)) {
        CreateDirectoryW(extended(path.substr(0, end)).c_str(), nullptr);
        if (end == std::string::npos)
            return;
    }
}

// One argument of a command line as programs split it: quoted, a quote in
// it and the backslashes before one (or before the closing quote) escaped.
std::string quotedArgument(const std::string& text)
{
    std::string quoted = "\"";
    std::size_t backslashes = 0;
    for (const char c : text) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
        quoted += c;
        backslashes = 0;
    }
    return quoted.append(2 * backslashes, '\\') + '"';
}

} // namespace

ThrowawayPrefix::ThrowawayPrefix(bool)
    : m_root("C:")
    , m_before(entriesOfDiskFolder("C:\\"))
{
}

ThrowawayPrefix::~ThrowawayPrefix()
{
    for (const std::string& name : entriesOfDiskFolder("C:\\"))
        if (!std::binary_search(m_before.begin(), m_before.end(), name))
            removeAll(extended("C:\\" + name));
    for (const std::string& disk : m_mounts)
        for (const std::string& name : entriesOfDiskFolder(disk))
            removeAll(extended(disk + name));
    RegDeleteTreeA(HKEY_CLASSES_ROOT, kClassKey);
}

std::string ThrowawayPrefix::root() const
{
    return m_root;
}

std::string ThrowawayPrefix::onDriveC(const std::string& relative) const
{
    std::string path = "C:\\" + relative;
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

void ThrowawayPrefix::makeFolder(const std::string& relative) const
{
    makeFolders(onDriveC(relative));
    const DWORD attributes = GetFileAttributesW(extended(onDriveC(relative)).c_str());
    ASSERT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) << relative;
}

bool ThrowawayPrefix::exists(const std::string& relative) const
{
    return GetFileAttributesA(onDriveC(relative).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string ThrowawayPrefix::shortAlias(const std::string& relative) const
{
    wchar_t alias[1024];
    const DWORD length = GetShortPathNameW(extended(onDriveC(relative)).c_str(), alias, 1024);
    EXPECT_TRUE(length > 0 && length < 1024) << relative;
    const std::wstring path(alias, length < 1024 ? length : 0);
    const std::wstring last = path.substr(path.find_last_of(L'\\') + 1);
    // Aliases are ASCII.
    return std::string(last.begin(), last.end());
}

void ThrowawayPrefix::writeRegistry(const std::string&, const std::string&) const
{
    ADD_FAILURE() << "a Wine prefix's registry files are the Linux backend's";
}

void ThrowawayPrefix::registerHost(const std::string& command) const
{
    // Written by reg.exe, as a user or an installer's script registers it.
    std::string line
        = std::string("reg add \"HKCR\\") + kClassKey + "\\shell\\open\\command\" /ve /f /d " + quotedArgument(command);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr,
                               &startup, &process))
        << line;
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD exitCode = 1;
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    ASSERT_EQ(exitCode, 0u) << line;
}

std::optional<std::string> ThrowawayPrefix::mountFullDisk(const std::string& relative,
                                                          const std::map<std::string, std::string>& files,
                                                          int pagesFree)
{
    const DWORD drive = GetFileAttributesA(kSmallDisk.c_str());
    if (drive == INVALID_FILE_ATTRIBUTES || !(drive & FILE_ATTRIBUTE_DIRECTORY))
        return std::nullopt;
    // The one small disk serves every test in turn: emptied first and after.
    for (const std::string& name : entriesOfDiskFolder(kSmallDisk))
        removeAll(extended(kSmallDisk + name));
    m_mounts.push_back(kSmallDisk);
    std::string folder = kSmallDisk + relative;
    std::replace(folder.begin(), folder.end(), '/', '\\');
    makeFolders(folder);
    for (const auto& [name, bytes] : files)
        writeDiskFile(folder + "\\" + name, bytes);
    const HANDLE filler = CreateFileA((folder + "\\filler").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (filler == INVALID_HANDLE_VALUE)
        return std::nullopt;
    const std::string page(4096, 'f');
    LONGLONG size = 0;
    DWORD written = 0;
    while (WriteFile(filler, page.data(), DWORD(page.size()), &written, nullptr) && written == page.size())
        size += LONGLONG(page.size());
    LARGE_INTEGER end;
    end.QuadPart = size - LONGLONG(pagesFree) * 4096;
    // Wine answers a full disk to setting the end where it already is.
    const bool truncated
        = pagesFree == 0 || (SetFilePointerEx(filler, end, nullptr, FILE_BEGIN) && SetEndOfFile(filler));
    CloseHandle(filler);
    if (!truncated)
        return std::nullopt;
    return folder;
}

std::string ThrowawayPrefix::diskPathOf(const std::string& windowsPath) const
{
    return windowsPath;
}

std::string readDiskFile(const std::string& hostPath)
{
    std::ifstream file(hostPath, std::ios::binary);
    if (!file)
        return "<missing>";
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

void writeDiskFile(const std::string& hostPath, const std::string& bytes)
{
    const std::size_t folderEnd = hostPath.find_last_of('\\');
    if (folderEnd != std::string::npos)
        makeFolders(hostPath.substr(0, folderEnd));
    std::ofstream file(hostPath, std::ios::binary | std::ios::trunc);
    ASSERT_TRUE(file) << hostPath;
    file << bytes;
}

std::vector<std::string> entriesOfDiskFolder(const std::string& hostPath)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    const HANDLE search = FindFirstFileA((hostPath + (hostPath.back() == '\\' ? "*" : "\\*")).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::string name = found.cFileName;
        if (name != "." && name != "..")
            names.push_back(name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

const bool kFullDiskSetsRoomAside = false;
const char* const kDiskFullText = "Disk full";
const char* const kSmallEAcute = "\xe9";
const char* const kCapitalEAcute = "\xc9";
