#include "support/file_holder.h"

#include "support/file_failures.h"

#include <windows.h>

#include <cstdlib>

namespace {

constexpr const char* kHoldVariable = "QUILLOP_TEST_HOLD_FILE";
constexpr const char* kReadVariable = "QUILLOP_TEST_HOLD_FOR_READING";

// The other process is this test program again, started with the file's
// path in its environment: it opens the file before the tests' main, answers
// on its output and holds the file until its input ends.
const bool kIsHolder = [] {
    const char* path = std::getenv(kHoldVariable);
    if (!path)
        return false;
    // Read access sharing reading and writing with others, as a reader opens it.
    const unsigned mode = std::getenv(kReadVariable) ? unsigned(StdioFile::typeBinary) : kControlMode;
    StdioFile file;
    const char got = failureOf([&] { file.Open(path, mode); }) == FileException::none ? 'y' : 'n';
    DWORD count = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), &got, 1, &count, nullptr);
    char ignored;
    while (ReadFile(GetStdHandle(STD_INPUT_HANDLE), &ignored, 1, &count, nullptr) && count == 1) {}
    file.Close();
    ExitProcess(0);
}();

} // namespace

FileHeldElsewhere::FileHeldElsewhere(const std::string& windowsPath, bool forReading)
{
    SECURITY_ATTRIBUTES inherited{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE answerRead, answerWrite, releaseRead, releaseWrite;
    if (!CreatePipe(&answerRead, &answerWrite, &inherited, 0))
        return;
    if (!CreatePipe(&releaseRead, &releaseWrite, &inherited, 0)) {
        CloseHandle(answerRead);
        CloseHandle(answerWrite);
        return;
    }
    SetHandleInformation(answerRead, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(releaseWrite, HANDLE_FLAG_INHERIT, 0);
    char program[MAX_PATH];
    GetModuleFileNameA(nullptr, program, MAX_PATH);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = releaseRead;
    startup.hStdOutput = answerWrite;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process{};
    SetEnvironmentVariableA(kHoldVariable, windowsPath.c_str());
    SetEnvironmentVariableA(kReadVariable, forReading ? "1" : nullptr);
    const BOOL started
        = CreateProcessA(program, program, nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process);
    SetEnvironmentVariableA(kHoldVariable, nullptr);
    SetEnvironmentVariableA(kReadVariable, nullptr);
    CloseHandle(answerWrite);
    CloseHandle(releaseRead);
    m_release = reinterpret_cast<std::intptr_t>(releaseWrite);
    if (started) {
        CloseHandle(process.hThread);
        m_process = reinterpret_cast<std::intptr_t>(process.hProcess);
        char got = 'n';
        DWORD count = 0;
        m_held = ReadFile(answerRead, &got, 1, &count, nullptr) && count == 1 && got == 'y';
    }
    CloseHandle(answerRead);
}

FileHeldElsewhere::~FileHeldElsewhere()
{
    CloseHandle(reinterpret_cast<HANDLE>(m_release));
    if (m_process != -1) {
        WaitForSingleObject(reinterpret_cast<HANDLE>(m_process), INFINITE);
        CloseHandle(reinterpret_cast<HANDLE>(m_process));
    }
}
