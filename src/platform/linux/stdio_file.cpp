#include "platform/stdio_file.h"

#include "platform/file_exception.h"
#include "platform/linux/dos_path.h"
#include "platform/linux/plain_file.h"
#include "platform/temporary_names.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool g_unnamedFilesAllowed = true;

// Commits a folder's entries to the disk, so that a name given in it stays
// after a power cut. File systems that cannot do it for a folder have
// nothing to commit.
int flushFolder(const std::string& folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    int error = 0;
    if (::fsync(fd) != 0 && errno != EINVAL && errno != EROFS)
        error = errno;
    ::close(fd);
    return error;
}

// Gives the file at `from` the name `to` in the same folder, never
// replacing what is there: a rename that refuses to replace where the file
// system has one, else a second link and the first one's removal.
int nameWithoutReplacing(const std::string& from, const std::string& to)
{
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP)
        return errno;
    if (::link(from.c_str(), to.c_str()) != 0)
        return errno;
    ::unlink(from.c_str());
    return 0;
}

std::string hostPathOf(const std::string& windowsPath, bool creating)
{
    const DosPath path = DosPath::resolve(windowsPath);
    if (!path.valid || path.finalComponent.empty() || (creating && isRefusedFileName(path.finalComponent)))
        throw FileException(FileException::badPath, EINVAL, windowsPath);
    return path.hostPath;
}

// Writes all of `data` to `fd`; answers 0 or the error.
int writeAll(int fd, const char* data, std::size_t size)
{
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        data += written;
        size -= std::size_t(written);
    }
    return 0;
}

} // namespace

void StdioFile::closeHandle(std::intptr_t handle)
{
    ::close(int(handle));
}

void StdioFile::Open(const std::string& windowsPath, unsigned flags)
{
    if (m_handle >= 0)
        Close();
    m_windowsPath = windowsPath;
    const std::string host = hostPathOf(windowsPath, flags & modeCreate);

    int mode = O_RDONLY;
    if (flags & modeReadWrite)
        mode = O_RDWR;
    else if (flags & modeWrite)
        mode = O_WRONLY;
    if (flags & modeCreate)
        mode |= O_CREAT | O_TRUNC;

    // O_NONBLOCK: a FIFO under the name would otherwise hold the open until
    // a writer comes. It is refused below, and plain files ignore the flag.
    const int fd = ::open(host.c_str(), mode | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0644);
    if (fd < 0)
        fail(errno);
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        const int error = errno;
        ::close(fd);
        fail(error);
    }
    if (S_ISDIR(info.st_mode)) {
        ::close(fd);
        fail(EISDIR);
    }
    if (!S_ISREG(info.st_mode)) {
        ::close(fd);
        throw FileException(FileException::accessDenied, windowsPath, NotAPlainFile(info.st_mode));
    }
    if (flags & shareExclusive) {
        // An open-file-description lock belongs to this open, so a second
        // open in the same process is refused as another program's would be.
        struct flock lock {};
        lock.l_type = (mode & O_ACCMODE) == O_RDONLY ? F_RDLCK : F_WRLCK;
        lock.l_whence = SEEK_SET;
        if (::fcntl(fd, F_OFD_SETLK, &lock) != 0) {
            const int error = errno;
            ::close(fd);
            throw FileException(FileException::sharingViolation, error, windowsPath);
        }
    }
    m_handle = fd;
}

std::uint64_t StdioFile::Seek(std::int64_t offset, SeekPosition from)
{
    const int whence = from == begin ? SEEK_SET : from == current ? SEEK_CUR : SEEK_END;
    const off_t position = ::lseek(int(m_handle), offset, whence);
    if (position < 0)
        fail(errno);
    return std::uint64_t(position);
}

std::uint64_t StdioFile::GetPosition() const
{
    const off_t position = ::lseek(int(m_handle), 0, SEEK_CUR);
    if (position < 0)
        fail(errno);
    return std::uint64_t(position);
}

std::uint64_t StdioFile::GetLength() const
{
    struct stat info {};
    if (::fstat(int(m_handle), &info) != 0)
        fail(errno);
    return std::uint64_t(info.st_size);
}

void StdioFile::SetLength(std::uint64_t length)
{
    if (::ftruncate(int(m_handle), off_t(length)) != 0)
        fail(errno);
}

bool StdioFile::Reserve(std::uint64_t offset, std::uint64_t count)
{
    if (::fallocate(int(m_handle), FALLOC_FL_KEEP_SIZE, off_t(offset), off_t(count)) == 0)
        return true;
    if (errno == EOPNOTSUPP || errno == ENOSYS || errno == EINVAL)
        return false;
    fail(errno);
}

std::size_t StdioFile::Read(void* buffer, std::size_t count)
{
    auto* bytes = static_cast<char*>(buffer);
    std::size_t done = 0;
    while (done < count) {
        const ssize_t n = ::read(int(m_handle), bytes + done, count - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            fail(errno);
        if (n == 0)
            break;
        done += std::size_t(n);
    }
    return done;
}

void StdioFile::Write(const void* buffer, std::size_t count)
{
    if (const int error = writeAll(int(m_handle), static_cast<const char*>(buffer), count))
        fail(error);
}

void StdioFile::Flush()
{
    // Devices and pipes have nothing to commit.
    if (::fsync(int(m_handle)) != 0 && errno != EINVAL && errno != EROFS)
        fail(errno);
}

void StdioFile::Close()
{
    if (m_handle < 0)
        return;
    const int fd = int(m_handle);
    m_handle = -1;
    if (::close(fd) != 0 && errno != EINTR)
        fail(errno);
}

void StdioFile::Remove(const std::string& windowsPath)
{
    const std::string host = hostPathOf(windowsPath, false);
    if (::unlink(host.c_str()) != 0)
        throw FileException(FileException::causeOf(errno), errno, windowsPath);
}

void StdioFile::AllowUnnamedFiles(bool allowed)
{
    g_unnamedFilesAllowed = allowed;
}

void StdioFile::CreateWhole(const std::string& windowsPath, const void* data, std::size_t size)
{
    const std::string host = hostPathOf(windowsPath, true);
    const std::string folder = host.substr(0, host.rfind('/') + 1);
    const auto fail = [&](int error) { throw FileException(FileException::causeOf(error), error, windowsPath); };

    // An unnamed file in the target folder, named only once it is whole;
    // else a temporary name of our own there.
    int fd = g_unnamedFilesAllowed ? ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0644) : -1;
    const bool unnamed = fd >= 0;
    std::string temporary;
    if (!unnamed) {
        if (g_unnamedFilesAllowed && errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)
            fail(errno);
        do {
            temporary = folder + NewTemporaryName();
            fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        } while (fd < 0 && errno == EEXIST);
        if (fd < 0)
            fail(errno);
    }
    int error = writeAll(fd, static_cast<const char*>(data), size);
    if (error == 0 && ::fsync(fd) != 0)
        error = errno;
    if (error == 0 && unnamed) {
        const std::string self = "/proc/self/fd/" + std::to_string(fd);
        if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, host.c_str(), AT_SYMLINK_FOLLOW) != 0)
            error = errno;
    }
    if (::close(fd) != 0 && error == 0 && errno != EINTR)
        error = errno;
    if (error == 0 && !unnamed)
        error = nameWithoutReplacing(temporary, host);
    if (error != 0 && !unnamed)
        ::unlink(temporary.c_str());
    if (error == 0) {
        error = flushFolder(folder);
        if (error != 0)
            ::unlink(host.c_str());
    }
    if (error != 0)
        fail(error);
}

void StdioFile::RemoveAbandonedTemporaries(const std::string& windowsFolder)
{
    const DosPath folder = DosPath::resolve(windowsFolder);
    if (!folder.valid)
        return;
    DIR* dir = ::opendir(folder.hostPath.c_str());
    if (!dir)
        return;
    // Only this run could be writing a temporary here now: it holds the
    // folder's control file. One that cannot be removed blocks nothing, as
    // every temporary gets a fresh name.
    while (const dirent* entry = ::readdir(dir))
        if (IsTemporaryName(entry->d_name))
            ::unlinkat(::dirfd(dir), entry->d_name, 0);
    ::closedir(dir);
}
