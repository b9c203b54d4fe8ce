#include "platform/linux/plain_file.h"

#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

std::string NotAPlainFile(unsigned mode)
{
    const char* kind = S_ISDIR(mode) ? "a folder"
        : S_ISFIFO(mode)             ? "a FIFO"
        : S_ISCHR(mode)              ? "a character device"
        : S_ISBLK(mode)              ? "a block device"
        : S_ISSOCK(mode)             ? "a socket"
                                     : "of another kind";
    return std::string("not a plain file (") + kind + ")";
}

std::string LargerThan(std::uint64_t limit)
{
    return "larger than " + std::to_string(limit >> 20) + " MB";
}

int OpenPlainFile(const std::string& path, std::uint64_t limit, PlainFileRead& why)
{
    // O_NONBLOCK: opening a FIFO would otherwise wait for a writer.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        why.osError = errno;
        why.problem = std::strerror(why.osError);
        return -1;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        why.osError = errno;
        why.problem = std::strerror(why.osError);
    } else if (!S_ISREG(info.st_mode)) {
        why.problem = NotAPlainFile(info.st_mode);
    } else if (std::uint64_t(info.st_size) > limit) {
        why.problem = LargerThan(limit);
    } else {
        return fd;
    }
    ::close(fd);
    return -1;
}

PlainFileRead ReadPlainFile(const std::string& path, std::uint64_t limit)
{
    PlainFileRead result;
    const int fd = OpenPlainFile(path, limit, result);
    if (fd < 0)
        return result;
    struct stat info {};
    ::fstat(fd, &info);
    // A file that grows meanwhile is read up to the size it had, plus one
    // byte to see that it grew past the limit.
    result.bytes.resize(std::size_t(info.st_size) + 1);
    std::size_t done = 0;
    while (done < result.bytes.size()) {
        const ssize_t n = ::read(fd, result.bytes.data() + done, result.bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            result.osError = errno;
            result.problem = std::strerror(result.osError);
            break;
        }
        if (n == 0)
            break;
        done += std::size_t(n);
    }
    ::close(fd);
    if (!result.problem.empty()) {
        result.bytes.clear();
        return result;
    }
    result.bytes.resize(done);
    if (done > limit) {
        result.bytes.clear();
        result.problem = LargerThan(limit);
        return result;
    }
    result.read = true;
    return result;
}
