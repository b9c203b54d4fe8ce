// The program's entry on Windows: without arguments the application
// object's window, exactly as when double-clicked; with them the command
// line both programs share.
#include "platform/win_app.h"
#include "windows/windows_command_line.h"

#include <windows.h>

#include <shellapi.h>

#include <cstdlib>
#include <string>
#include <vector>

// mingw's start-up: the C runtime, the program's static objects, then WinMain.
extern "C" int WinMainCRTStartup();

namespace {

// A function of kernel32 that older Windows lacks, or null.
template <typename Function> Function kernelFunction(const char* name)
{
    const FARPROC found = GetProcAddress(GetModuleHandleA("kernel32.dll"), name);
    // Through void (*)(), which converts to any function pointer without a warning.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(found));
}

// The program is started from folders anyone may put files in (Downloads,
// an unpacked zip): no DLL may be taken from there or from the current
// folder. Only KERNEL32 and msvcrt are bound at start; every other DLL is
// loaded at its first call (delay-imported), after this.
void limitDllSearchToTheSystemFolder()
{
    using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
    if (const auto limit = kernelFunction<SetDefaultDllDirectoriesFunction>("SetDefaultDllDirectories")) {
        limit(LOAD_LIBRARY_SEARCH_SYSTEM32);
        return;
    }
    // Windows without that function (Vista, 7 without its update): leave
    // out the current folder, and load from the system folder now what the
    // program and Windows' own DLLs later ask for by name, which would
    // otherwise be looked for in the program's folder first.
    using SetDllDirectoryFunction = BOOL(WINAPI*)(LPCWSTR);
    if (const auto set = kernelFunction<SetDllDirectoryFunction>("SetDllDirectoryW"))
        set(L"");
    wchar_t folder[MAX_PATH];
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return;
    static const wchar_t* const kAskedForByName[] = {
        L"advapi32", L"user32",  L"gdi32",   L"ole32",   L"shell32",   L"shlwapi", L"imm32",
        L"version",  L"uxtheme", L"dwmapi",  L"propsys", L"cryptbase", L"userenv", L"setupapi",
        L"apphelp",  L"oleacc",  L"clbcatq", L"winmm",   L"sspicli",   L"profapi",
    };
    for (const wchar_t* name : kAskedForByName)
        LoadLibraryExW((std::wstring(folder, length) + L"\\" + name + L".dll").c_str(), nullptr,
                       LOAD_WITH_ALTERED_SEARCH_PATH);
}

} // namespace

// The entry the linker names (-e): before anything else runs.
extern "C" int quillopStartup()
{
    limitDllSearchToTheSystemFolder();
    return WinMainCRTStartup();
}

namespace {

// The arguments as Windows passes them, in UTF-8.
std::vector<std::string> utf8Arguments()
{
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> arguments;
    for (int i = 0; wide && i < count; ++i) {
        const int length = WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, nullptr, 0, nullptr, nullptr);
        std::string bytes(length > 0 ? static_cast<std::size_t>(length) : 1, '\0');
        WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, bytes.data(), length, nullptr, nullptr);
        bytes.pop_back(); // the terminating null
        arguments.push_back(bytes);
    }
    LocalFree(wide);
    return arguments;
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    // The C runtime counted the arguments already: none, and nothing else
    // (no shell, no console) is touched before the window.
    if (__argc <= 1)
        return AfxWinMain(*AfxGetApp());
    const StandardStreams streams;
    WindowsCommandLine program(streams);
    return RunQuillop(utf8Arguments(), program);
}
