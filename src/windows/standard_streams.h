#pragma once

#include <windows.h>

#include <streambuf>
#include <string>

// Where a GUI program's report goes: standard output or error when the
// program was given a file or a pipe for it, else the console it was
// started from, if any (attached, never made: no console window flashes).
// Files and pipes get UTF-8; a console gets UTF-16 (WriteConsoleW), so
// that every name shows whatever the console's code page.
class StandardStream : public std::streambuf {
public:
    explicit StandardStream(DWORD which);
    ~StandardStream() override;
    StandardStream(const StandardStream&) = delete;
    StandardStream& operator=(const StandardStream&) = delete;

    // Why the last write failed.
    const std::string& failure() const { return m_failure; }

protected:
    std::streamsize xsputn(const char* bytes, std::streamsize count) override;
    int_type overflow(int_type c) override;
    int sync() override;

private:
    HANDLE m_handle = nullptr;
    bool m_console = false;
    std::string m_pending;
    std::string m_failure;
};

// Binds std::cout and std::cerr to the program's standard streams for as
// long as it lives.
class StandardStreams {
public:
    StandardStreams();
    ~StandardStreams();
    StandardStreams(const StandardStreams&) = delete;
    StandardStreams& operator=(const StandardStreams&) = delete;

    const std::string& outputFailure() const { return m_output.failure(); }

private:
    StandardStream m_output{STD_OUTPUT_HANDLE};
    StandardStream m_error{STD_ERROR_HANDLE};
    std::streambuf* m_cout;
    std::streambuf* m_cerr;
};
