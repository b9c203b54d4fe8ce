#include "platform/stdio_file.h"

#include "platform/file_exception.h"

StdioFile::StdioFile(StdioFile&& other) noexcept
    : m_handle(other.m_handle)
    , m_windowsPath(std::move(other.m_windowsPath))
{
    other.m_handle = -1;
}

StdioFile& StdioFile::operator=(StdioFile&& other) noexcept
{
    if (this != &other) {
        if (m_handle != -1)
            closeHandle(m_handle);
        m_handle = other.m_handle;
        m_windowsPath = std::move(other.m_windowsPath);
        other.m_handle = -1;
    }
    return *this;
}

StdioFile::~StdioFile()
{
    if (m_handle != -1)
        closeHandle(m_handle);
}

void StdioFile::fail(int osError) const
{
    throw FileException(FileException::causeOf(osError), osError, m_windowsPath);
}
