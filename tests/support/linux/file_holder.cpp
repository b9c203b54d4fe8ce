#include "support/file_holder.h"

#include "platform/linux/dos_path.h"
#include "support/file_failures.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Opens the file only to read it, under a read lock of the kind a run takes.
bool openForReading(const std::string& windowsPath)
{
    const int fd = ::open(DosPath::resolve(windowsPath).hostPath.c_str(), O_RDONLY | O_CLOEXEC);
    struct flock lock {};
    lock.l_type = F_RDLCK;
    lock.l_whence = SEEK_SET;
    return fd >= 0 && ::fcntl(fd, F_OFD_SETLK, &lock) == 0;
}

} // namespace

// A forked child opens the file and answers on one pipe; the other pipe's
// end of file lets it go.
FileHeldElsewhere::FileHeldElsewhere(const std::string& windowsPath, bool forReading)
{
    int answer[2], release[2];
    if (::pipe(answer) != 0 || ::pipe(release) != 0)
        return;
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(answer[0]);
        ::close(release[1]);
        StdioFile file;
        const bool opened = forReading
            ? openForReading(windowsPath)
            : failureOf([&] { file.Open(windowsPath, kControlMode); }) == FileException::none;
        const char got = opened ? 'y' : 'n';
        (void)!::write(answer[1], &got, 1);
        char ignored;
        while (::read(release[0], &ignored, 1) > 0) {}
        ::_exit(0);
    }
    ::close(answer[1]);
    ::close(release[0]);
    m_process = child;
    m_release = release[1];
    char got = 'n';
    m_held = child > 0 && ::read(answer[0], &got, 1) == 1 && got == 'y';
    ::close(answer[0]);
}

FileHeldElsewhere::~FileHeldElsewhere()
{
    if (m_release >= 0)
        ::close(int(m_release));
    if (m_process > 0)
        ::waitpid(pid_t(m_process), nullptr, 0);
}
