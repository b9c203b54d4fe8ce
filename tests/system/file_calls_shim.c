/* Preloaded into the real program by the crash and write-order tests, it
 * changes or records the file calls that make an installation durable:
 *   QUILLOP_SHIM_SLOW=1           every write, sync and naming waits 1 ms first
 *   QUILLOP_SHIM_NO_UNNAMED=1     open(O_TMPFILE) fails with EOPNOTSUPP, as on
 *                                 file systems without unnamed files
 *   QUILLOP_SHIM_TRACE=<file>     appends one line per call, tab-separated:
 *                                 "write <path>", "fsync <path>",
 *                                 "reserve <path>", "name <path> <new path>"
 *   QUILLOP_SHIM_FAIL_FSYNC=<end> fsync of a file whose path ends so fails (EIO)
 * Paths are the descriptors' own (/proc/self/fd), so an unnamed file shows as
 * "<folder>/#<inode> (deleted)". */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

/* Room for a folder, a slash and a name of PATH_MAX each. */
#define PATH_BUFFER (2 * PATH_MAX + 2)

/* POSIX lets a function pointer be filled in through a void pointer. */
#define REAL(name)                                                                                                     \
    static __typeof__(name)* real_##name;                                                                              \
    if (!real_##name)                                                                                                  \
    *(void**)(&real_##name) = dlsym(RTLD_NEXT, #name)

static int enabled(const char* variable)
{
    const char* value = getenv(variable);
    return value && *value && strcmp(value, "0") != 0;
}

static void slow(void)
{
    if (enabled("QUILLOP_SHIM_SLOW"))
        usleep(1000);
}

static void pathOf(int fd, char* path)
{
    char self[64];
    snprintf(self, sizeof self, "/proc/self/fd/%d", fd);
    const ssize_t length = readlink(self, path, PATH_MAX - 1);
    path[length < 0 ? 0 : length] = '\0';
}

static void absolute(int dirfd, const char* name, char* path)
{
    if (name[0] == '/' || dirfd == AT_FDCWD) {
        if (strncmp(name, "/proc/self/fd/", 14) == 0)
            pathOf(atoi(name + 14), path);
        else
            snprintf(path, PATH_BUFFER, "%s", name);
        return;
    }
    char folder[PATH_MAX];
    pathOf(dirfd, folder);
    snprintf(path, PATH_BUFFER, "%s/%s", folder, name);
}

static void trace(const char* call, const char* path, const char* second)
{
    const char* file = getenv("QUILLOP_SHIM_TRACE");
    if (!file || !*file)
        return;
    REAL(open);
    REAL(write);
    const int fd = real_open(file, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    char line[2 * PATH_BUFFER + 16];
    const int length
        = snprintf(line, sizeof line, "%s\t%s%s%s\n", call, path, second ? "\t" : "", second ? second : "");
    real_write(fd, line, (size_t)length);
    close(fd);
}

static int refusesUnnamed(int flags)
{
    return (flags & O_TMPFILE) == O_TMPFILE && enabled("QUILLOP_SHIM_NO_UNNAMED");
}

int open(const char* path, int flags, ...)
{
    REAL(open);
    mode_t mode = 0;
    if ((flags & O_CREAT) || (flags & O_TMPFILE) == O_TMPFILE) {
        va_list arguments;
        va_start(arguments, flags);
        mode = va_arg(arguments, mode_t);
        va_end(arguments);
    }
    if (refusesUnnamed(flags)) {
        errno = EOPNOTSUPP;
        return -1;
    }
    return real_open(path, flags, mode);
}

int open64(const char* path, int flags, ...) __attribute__((alias("open")));

ssize_t write(int fd, const void* bytes, size_t count)
{
    REAL(write);
    if (fd > 2)
        slow();
    char path[PATH_MAX];
    pathOf(fd, path);
    trace("write", fd == 1 ? "<standard output>" : fd == 2 ? "<standard error>" : path, NULL);
    return real_write(fd, bytes, count);
}

/* Room set aside in a file before it is written. */
int fallocate(int fd, int mode, off_t offset, off_t length)
{
    REAL(fallocate);
    char path[PATH_MAX];
    pathOf(fd, path);
    trace("reserve", path, NULL);
    return real_fallocate(fd, mode, offset, length);
}

int fallocate64(int fd, int mode, off_t offset, off_t length) __attribute__((alias("fallocate")));

/* The report reaches standard output through stdio, whose own writes are
 * not calls we can see. */
size_t fwrite(const void* bytes, size_t size, size_t count, FILE* stream)
{
    REAL(fwrite);
    if (stream == stdout)
        trace("write", "<standard output>", NULL);
    return real_fwrite(bytes, size, count, stream);
}

int putc(int c, FILE* stream)
{
    REAL(putc);
    if (stream == stdout)
        trace("write", "<standard output>", NULL);
    return real_putc(c, stream);
}

int fsync(int fd)
{
    REAL(fsync);
    slow();
    char path[PATH_MAX];
    pathOf(fd, path);
    trace("fsync", path, NULL);
    const char* failing = getenv("QUILLOP_SHIM_FAIL_FSYNC");
    const size_t length = strlen(path), end = failing ? strlen(failing) : 0;
    if (end && length >= end && strcmp(path + length - end, failing) == 0) {
        errno = EIO;
        return -1;
    }
    return real_fsync(fd);
}

/* The two paths of a call that names a file, worked out before the call:
 * after it, a file made unnamed is shown under its new name. */
struct naming {
    char source[PATH_BUFFER];
    char target[PATH_BUFFER];
};

static void naming_of(int fromFolder, const char* from, int toFolder, const char* to, struct naming* naming)
{
    absolute(fromFolder, from, naming->source);
    absolute(toFolder, to, naming->target);
}

static int traced_naming(int result, const struct naming* naming)
{
    if (result == 0)
        trace("name", naming->source, naming->target);
    return result;
}

int linkat(int fromFolder, const char* from, int toFolder, const char* to, int flags)
{
    REAL(linkat);
    slow();
    struct naming naming;
    naming_of(fromFolder, from, toFolder, to, &naming);
    return traced_naming(real_linkat(fromFolder, from, toFolder, to, flags), &naming);
}

int link(const char* from, const char* to)
{
    REAL(link);
    slow();
    const int result = real_link(from, to);
    if (result == 0)
        trace("name", from, to);
    return result;
}

int renameat2(int fromFolder, const char* from, int toFolder, const char* to, unsigned flags)
{
    REAL(renameat2);
    slow();
    struct naming naming;
    naming_of(fromFolder, from, toFolder, to, &naming);
    return traced_naming(real_renameat2(fromFolder, from, toFolder, to, flags), &naming);
}
