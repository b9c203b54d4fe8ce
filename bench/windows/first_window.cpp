// Times programs to their first window under Wine: from CreateProcess until
// the window is visible and shows its text (quillop.exe: its welcome text,
// the folder found), then closes it. The runs alternate between the
// programs after warming up; prints each program's median in milliseconds.
//   first_window.exe <runs> <program> <title> <text start> [<program> <title> <text start>]...
// Makes C:\Corvane\Vorns with its control file and registers the host first.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct Program {
    std::string path, title, textStart;
    std::vector<double> milliseconds;
};

struct Search {
    DWORD thread;
    const char* title;
    HWND found;
};

BOOL CALLBACK findDialog(HWND window, LPARAM lParam)
{
    auto* search = reinterpret_cast<Search*>(lParam);
    char title[256] = {};
    GetWindowTextA(window, title, sizeof title);
    if (IsWindowVisible(window) && std::strcmp(title, search->title) == 0) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

bool run(const std::string& line)
{
    std::string command = line;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &startup,
                        &process))
        return false;
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 1;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code == 0;
}

// Milliseconds to the first window showing its text; negative on failure.
double timeToFirstWindow(const Program& program)
{
    LARGE_INTEGER frequency, start, now;
    QueryPerformanceFrequency(&frequency);
    std::string line = "\"" + program.path + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    QueryPerformanceCounter(&start);
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return -1;
    double elapsed = -1;
    for (int polls = 0; polls < 20000; ++polls) {
        Search search{process.dwThreadId, program.title.c_str(), nullptr};
        EnumThreadWindows(process.dwThreadId, findDialog, reinterpret_cast<LPARAM>(&search));
        char text[64] = {};
        if (search.found && GetDlgItemTextA(search.found, 1000, text, sizeof text) > 0
            && std::strncmp(text, program.textStart.c_str(), program.textStart.size()) == 0) {
            QueryPerformanceCounter(&now);
            elapsed = 1000.0 * double(now.QuadPart - start.QuadPart) / double(frequency.QuadPart);
            PostMessageA(search.found, WM_COMMAND, IDOK, 0);
            break;
        }
        Sleep(1);
    }
    WaitForSingleObject(process.hProcess, 10000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return elapsed;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 5 || (argc - 2) % 3 != 0) {
        std::fprintf(stderr, "usage: first_window <runs> (<program> <title> <text start>)...\n");
        return 2;
    }
    CreateDirectoryA("C:\\Corvane", nullptr);
    CreateDirectoryA("C:\\Corvane\\Vorns", nullptr);
    CloseHandle(CreateFileA("C:\\Corvane\\Vorns\\Vorns.ctl", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    if (!run("reg add \"HKCR\\CRV5.Image\\shell\\open\\command\" /ve /f /d \"C:\\Corvane\\Corvane.exe %1\""))
        return 2;
    const int runs = std::atoi(argv[1]);
    std::vector<Program> programs;
    for (int i = 2; i + 2 < argc; i += 3)
        programs.push_back({argv[i], argv[i + 1], argv[i + 2], {}});
    for (int round = -3; round < runs; ++round) {
        for (Program& program : programs) {
            const double milliseconds = timeToFirstWindow(program);
            if (milliseconds < 0) {
                std::fprintf(stderr, "%s never showed its window\n", program.path.c_str());
                return 1;
            }
            if (round >= 0)
                program.milliseconds.push_back(milliseconds);
        }
    }
    for (Program& program : programs) {
        std::sort(program.milliseconds.begin(), program.milliseconds.end());
        std::printf("%s %.1f\n", program.title.c_str(), program.milliseconds[program.milliseconds.size() / 2]);
    }
    return 0;
}
