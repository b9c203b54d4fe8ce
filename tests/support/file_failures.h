#pragma once

#include "platform/file_exception.h"
#include "platform/stdio_file.h"

#include <functional>
#include <string>

// How the control file is opened for a run.
constexpr unsigned kControlMode = StdioFile::typeBinary | StdioFile::shareExclusive | StdioFile::modeReadWrite;

// The cause an action fails with, or none.
inline FileException::Cause failureOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const FileException& error) {
        return error.m_cause;
    }
    return FileException::none;
}

inline FileException::Cause openFailure(const std::string& path, unsigned flags)
{
    return failureOf([&] {
        StdioFile file;
        file.Open(path, flags);
    });
}
