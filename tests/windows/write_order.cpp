// Records the file calls of a real installation run on Windows, in the order
// they are made, as the Linux build's preloaded shim records them there:
// the program's own calls into KERNEL32 pass through its import table,
// whose entries for the calls that make an entry durable are pointed here
// first. Writes one event per line, fields separated by tabs, paths with
// forward slashes and without the "\\?\" of the extended form:
//   write PATH / fsync PATH / reserve PATH / name FROM TO
// A name given with MOVEFILE_WRITE_THROUGH is durable when the call returns,
// as a name is on Linux once its folder is flushed: it is recorded as that
// folder's flush. write_order_test.py checks the order.
//   write_order.exe TRACE FOLDER   (FOLDER is made, installed into, removed)
#include "install/conflict_checks.h"
#include "install/installation_run.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

std::map<HANDLE, std::string> g_paths;
std::vector<std::string> g_events;

std::string normalised(std::string path)
{
    if (path.rfind("\\\\?\\", 0) == 0)
        path.erase(0, 4);
    for (char& c : path)
        c = c == '\\' ? '/' : c;
    return path;
}

std::string narrow(const wchar_t* text)
{
    char bytes[4 * 32768] = {};
    WideCharToMultiByte(CP_UTF8, 0, text, -1, bytes, sizeof bytes, nullptr, nullptr);
    return bytes;
}

void record(const char* call, HANDLE file)
{
    const auto known = g_paths.find(file);
    if (known != g_paths.end())
        g_events.push_back(std::string(call) + "\t" + known->second);
}

decltype(&CreateFileA) realCreateFileA;
decltype(&CreateFileW) realCreateFileW;
decltype(&WriteFile) realWriteFile;
decltype(&FlushFileBuffers) realFlushFileBuffers;
decltype(&SetFileInformationByHandle) realSetFileInformationByHandle;
decltype(&MoveFileExW) realMoveFileExW;
decltype(&CloseHandle) realCloseHandle;

HANDLE WINAPI createFileA(LPCSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security, DWORD creation,
                          DWORD flags, HANDLE templateFile)
{
    const HANDLE file = realCreateFileA(name, access, share, security, creation, flags, templateFile);
    if (file != INVALID_HANDLE_VALUE)
        g_paths[file] = normalised(name);
    return file;
}

HANDLE WINAPI createFileW(LPCWSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security, DWORD creation,
                          DWORD flags, HANDLE templateFile)
{
    const HANDLE file = realCreateFileW(name, access, share, security, creation, flags, templateFile);
    if (file != INVALID_HANDLE_VALUE)
        g_paths[file] = normalised(narrow(name));
    return file;
}

BOOL WINAPI writeFile(HANDLE file, LPCVOID bytes, DWORD count, LPDWORD written, LPOVERLAPPED overlapped)
{
    record("write", file);
    return realWriteFile(file, bytes, count, written, overlapped);
}

BOOL WINAPI flushFileBuffers(HANDLE file)
{
    record("fsync", file);
    return realFlushFileBuffers(file);
}

BOOL WINAPI setFileInformationByHandle(HANDLE file, FILE_INFO_BY_HANDLE_CLASS kind, LPVOID information, DWORD size)
{
    if (kind == FileAllocationInfo)
        record("reserve", file);
    return realSetFileInformationByHandle(file, kind, information, size);
}

BOOL WINAPI moveFileExW(LPCWSTR from, LPCWSTR to, DWORD flags)
{
    const std::string target = normalised(narrow(to));
    g_events.push_back("name\t" + normalised(narrow(from)) + "\t" + target);
    const BOOL moved = realMoveFileExW(from, to, flags);
    if (moved && (flags & MOVEFILE_WRITE_THROUGH))
        g_events.push_back("fsync\t" + target.substr(0, target.rfind('/')));
    return moved;
}

BOOL WINAPI closeHandle(HANDLE handle)
{
    g_paths.erase(handle);
    return realCloseHandle(handle);
}

// Points the program's import of KERNEL32's `name` at `replacement`;
// answers the function it pointed at. A function the program does not
// import it never calls: nothing to record.
template <typename Function> void redirect(const char* name, Function replacement, Function& original)
{
    auto* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
    const auto* nt
        = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* library = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); library->Name;
         ++library) {
        if (_stricmp(reinterpret_cast<const char*>(base + library->Name), "kernel32.dll") != 0)
            continue;
        auto* named = reinterpret_cast<const IMAGE_THUNK_DATA*>(base + library->OriginalFirstThunk);
        auto* bound = reinterpret_cast<IMAGE_THUNK_DATA*>(base + library->FirstThunk);
        for (; named->u1.AddressOfData; ++named, ++bound) {
            if (IMAGE_SNAP_BY_ORDINAL(named->u1.Ordinal))
                continue;
            const auto* byName = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + named->u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<const char*>(byName->Name), name) != 0)
                continue;
            DWORD protection = 0;
            VirtualProtect(&bound->u1.Function, sizeof bound->u1.Function, PAGE_READWRITE, &protection);
            original = reinterpret_cast<Function>(bound->u1.Function);
            bound->u1.Function = reinterpret_cast<decltype(bound->u1.Function)>(replacement);
            VirtualProtect(&bound->u1.Function, sizeof bound->u1.Function, protection, &protection);
            return;
        }
    }
}

class NoDisplay : public RunDisplay {
public:
    void showStatus(const std::string&) override {}
    void showProgress(int) override {}
};

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: write_order TRACE FOLDER\n");
        return 2;
    }
    const std::string folder = argv[2];
    CreateDirectoryA(folder.c_str(), nullptr);
    const HANDLE control = CreateFileA((folder + "\\Vorns.ctl").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                       FILE_ATTRIBUTE_NORMAL, nullptr);
    if (control == INVALID_HANDLE_VALUE) {
        std::fprintf(stderr, "write_order: cannot make %s\\Vorns.ctl\n", folder.c_str());
        return 2;
    }
    CloseHandle(control);

    redirect("CreateFileA", &createFileA, realCreateFileA);
    redirect("CreateFileW", &createFileW, realCreateFileW);
    redirect("WriteFile", &writeFile, realWriteFile);
    redirect("FlushFileBuffers", &flushFileBuffers, realFlushFileBuffers);
    redirect("SetFileInformationByHandle", &setFileInformationByHandle, realSetFileInformationByHandle);
    redirect("MoveFileExW", &moveFileExW, realMoveFileExW);
    redirect("CloseHandle", &closeHandle, realCloseHandle);

    const HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
    g_paths[output] = "<standard output>";
    PolicyQuestions skip(PolicyQuestions::Policy::skip);
    NoDisplay display;
    const RunOutcome outcome = RunInstallation(folder, skip, display);
    // The report, as the run gives it to whoever started it.
    const std::string report = outcome.statusText + "\n";
    DWORD written = 0;
    WriteFile(output, report.data(), DWORD(report.size()), &written, nullptr);

    std::FILE* trace = std::fopen(argv[1], "wb");
    for (const std::string& event : g_events)
        std::fprintf(trace, "%s\n", event.c_str());
    std::fclose(trace);

    WIN32_FIND_DATAA found;
    const HANDLE listing = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (listing != INVALID_HANDLE_VALUE) {
        do
            DeleteFileA((folder + "\\" + found.cFileName).c_str());
        while (FindNextFileA(listing, &found));
        FindClose(listing);
    }
    RemoveDirectoryA(folder.c_str());
    return outcome.completed ? 0 : 1;
}
