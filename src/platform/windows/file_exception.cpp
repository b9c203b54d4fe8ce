// The system's error numbers on Windows: GetLastError's.
#include "platform/file_exception.h"

#include <windows.h>

namespace {

// The system's own words for an error, without the line end it adds.
std::string wordsFor(int osError)
{
    char text[512];
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, DWORD(osError),
                                  0, text, sizeof text, nullptr);
    while (length > 0 && (text[length - 1] == '\r' || text[length - 1] == '\n' || text[length - 1] == '.'))
        --length;
    return length > 0 ? std::string(text, length) : "error " + std::to_string(osError);
}

} // namespace

FileException::FileException(Cause cause, int osError, std::string fileName)
    : m_cause(cause)
    , m_lOsError(osError)
    , m_strFileName(std::move(fileName))
    , m_message(m_strFileName + ": "
                + (cause == sharingViolation ? std::string("in use by another process")
                       : osError             ? wordsFor(osError)
                                             : std::string("file error")))
{
}

FileException::Cause FileException::causeOf(int osError)
{
    switch (DWORD(osError)) {
    case ERROR_FILE_NOT_FOUND:
        return fileNotFound;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_INVALID_DRIVE:
        return badPath;
    case ERROR_TOO_MANY_OPEN_FILES:
        return tooManyOpenFiles;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
    case ERROR_CURRENT_DIRECTORY:
        return accessDenied;
    case ERROR_INVALID_HANDLE:
        return invalidFile;
    case ERROR_NEGATIVE_SEEK:
    case ERROR_SEEK_ON_DEVICE:
        return badSeek;
    case ERROR_CRC:
    case ERROR_READ_FAULT:
    case ERROR_WRITE_FAULT:
    case ERROR_GEN_FAILURE:
        return hardIO;
    case ERROR_SHARING_VIOLATION:
        return sharingViolation;
    case ERROR_LOCK_VIOLATION:
        return lockViolation;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return diskFull;
    case ERROR_HANDLE_EOF:
        return endOfFile;
    default:
        return genericException;
    }
}
