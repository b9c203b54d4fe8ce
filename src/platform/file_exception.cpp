#include "platform/file_exception.h"

FileException::FileException(Cause cause, std::string fileName, const std::string& reason)
    : m_cause(cause)
    , m_lOsError(0)
    , m_strFileName(std::move(fileName))
    , m_message(m_strFileName + ": " + reason)
{
}
