#pragma once

#include <exception>
#include <string>

// A failure of a file operation, with its cause and the operating system's
// error number: errno on Linux, GetLastError's on Windows.
class FileException : public std::exception {
public:
    enum Cause {
        none,
        genericException,
        fileNotFound,
        badPath,
        tooManyOpenFiles,
        accessDenied,
        invalidFile,
        badSeek,
        hardIO,
        sharingViolation,
        lockViolation,
        diskFull,
        endOfFile,
    };

    FileException(Cause cause, int osError, std::string fileName);
    // A failure the system's error numbers have no word for, such as a file
    // that is not a plain file: `reason` says it.
    FileException(Cause cause, std::string fileName, const std::string& reason);

    // The cause that the operating system's error number stands for.
    static Cause causeOf(int osError);

    // The file's Windows path and the cause in words.
    const char* what() const noexcept override { return m_message.c_str(); }

    Cause m_cause;
    int m_lOsError;
    std::string m_strFileName;

private:
    std::string m_message;
};
