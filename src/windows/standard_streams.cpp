#include "windows/standard_streams.h"

#include <iostream>

namespace {

// The handle a stream was given, if it is a file, a pipe or a character
// device (a console, or a terminal under Wine).
HANDLE givenHandle(DWORD which)
{
    const HANDLE handle = GetStdHandle(which);
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE)
        return nullptr;
    const DWORD type = GetFileType(handle);
    return type == FILE_TYPE_DISK || type == FILE_TYPE_PIPE || type == FILE_TYPE_CHAR ? handle : nullptr;
}

// The console of the process that started this one, attached once.
HANDLE parentConsole()
{
    static const HANDLE console = [] {
        if (!AttachConsole(ATTACH_PARENT_PROCESS) && GetLastError() != ERROR_ACCESS_DENIED)
            return HANDLE(nullptr);
        const HANDLE opened = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                          nullptr, OPEN_EXISTING, 0, nullptr);
        return opened == INVALID_HANDLE_VALUE ? HANDLE(nullptr) : opened;
    }();
    return console;
}

std::string systemMessage(DWORD error)
{
    char text[512] = {};
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
                                        text, sizeof text, nullptr);
    std::string message(text, length);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == '.'))
        message.pop_back();
    return message.empty() ? "error " + std::to_string(error) : message;
}

} // namespace

StandardStream::StandardStream(DWORD which)
    : m_handle(givenHandle(which))
{
    if (!m_handle)
        m_handle = parentConsole();
    DWORD mode = 0;
    m_console = m_handle && GetConsoleMode(m_handle, &mode);
}

StandardStream::~StandardStream()
{
    sync();
}

std::streamsize StandardStream::xsputn(const char* bytes, std::streamsize count)
{
    m_pending.append(bytes, static_cast<std::size_t>(count));
    return count;
}

StandardStream::int_type StandardStream::overflow(int_type c)
{
    if (!traits_type::eq_int_type(c, traits_type::eof()))
        m_pending += traits_type::to_char_type(c);
    return traits_type::not_eof(c);
}

int StandardStream::sync()
{
    if (m_pending.empty())
        return 0;
    const std::string bytes = std::move(m_pending);
    m_pending.clear();
    // Without a console or a stream of its own the report has no reader.
    if (!m_handle)
        return 0;
    BOOL written = FALSE;
    if (m_console) {
        std::wstring units(bytes.size(), L'\0');
        units.resize(static_cast<std::size_t>(MultiByteToWideChar(
            CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), units.data(), static_cast<int>(units.size()))));
        DWORD done = 0;
        written = WriteConsoleW(m_handle, units.data(), static_cast<DWORD>(units.size()), &done, nullptr);
    } else {
        DWORD done = 0;
        written = WriteFile(m_handle, bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr)
            && done == bytes.size();
    }
    if (written)
        return 0;
    m_failure = systemMessage(GetLastError());
    return -1;
}

StandardStreams::StandardStreams()
    : m_cout(std::cout.rdbuf(&m_output))
    , m_cerr(std::cerr.rdbuf(&m_error))
{
}

StandardStreams::~StandardStreams()
{
    std::cout.flush();
    std::cerr.flush();
    std::cout.rdbuf(m_cout);
    std::cerr.rdbuf(m_cerr);
}
