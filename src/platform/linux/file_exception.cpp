// The system's error numbers on Linux: errno.
#include "platform/file_exception.h"

#include <cerrno>
#include <cstring>

FileException::FileException(Cause cause, int osError, std::string fileName)
    : m_cause(cause)
    , m_lOsError(osError)
    , m_strFileName(std::move(fileName))
    , m_message(m_strFileName + ": "
                + (cause == sharingViolation ? "in use by another process"
                       : osError             ? std::strerror(osError)
                                             : "file error"))
{
}

FileException::Cause FileException::causeOf(int osError)
{
    switch (osError) {
    case ENOENT:
        return fileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case EINVAL:
        return badPath;
    case EMFILE:
    case ENFILE:
        return tooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EISDIR:
    case EROFS:
        return accessDenied;
    case EBADF:
        return invalidFile;
    case ESPIPE:
        return badSeek;
    case EIO:
        return hardIO;
    case EAGAIN:
        return sharingViolation;
    case ENOSPC:
    case EFBIG:
    case EDQUOT:
        return diskFull;
    default:
        return genericException;
    }
}
