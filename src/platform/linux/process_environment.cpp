#include "platform/linux/process_environment.h"

#include <QByteArray>
#include <QList>

#include <cerrno>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <pwd.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <xcb/xcb.h>

namespace {

// Whether an X server listens on the local socket of display `number`, by
// its path or in the abstract namespace as Xorg also offers it.
bool localDisplayAnswers(const std::string& number)
{
    const std::string path = "/tmp/.X11-unix/X" + number;
    for (bool abstract : {false, true}) {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const std::size_t offset = abstract ? 1 : 0;
        if (path.size() + offset >= sizeof address.sun_path)
            return false;
        std::memcpy(address.sun_path + offset, path.data(), path.size());
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd < 0)
            return false;
        const auto length = socklen_t(offsetof(sockaddr_un, sun_path) + offset + path.size() + (abstract ? 0 : 1));
        const bool connected = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), length) == 0;
        ::close(fd);
        if (connected)
            return true;
    }
    return false;
}

// Connects to the X display and answers xcb's error, 0 when it let us in.
// xcb writes the server's reason for a refusal to standard error, where it
// would come before our one line; it does not always get to read it, so it
// is left out.
int connectionError(const char* display)
{
    const int savedError = ::dup(STDERR_FILENO);
    const int nowhere = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (savedError >= 0 && nowhere >= 0)
        ::dup2(nowhere, STDERR_FILENO);
    xcb_connection_t* connection = xcb_connect(display, nullptr);
    const int error = xcb_connection_has_error(connection);
    // One that let us in stays open while the process lives: a server whose
    // last client leaves resets, and refuses the toolkit while it does.
    static xcb_connection_t* kept = nullptr;
    if (error == 0 && !kept)
        kept = connection;
    else
        xcb_disconnect(connection);
    if (savedError >= 0 && nowhere >= 0)
        ::dup2(savedError, STDERR_FILENO);
    for (const int fd : {savedError, nowhere})
        if (fd >= 0)
            ::close(fd);
    return error;
}

} // namespace

unsigned OpenStandardDescriptors()
{
    unsigned closed = 0;
    for (int fd = 0; fd <= 2; ++fd) {
        if (::fcntl(fd, F_GETFD) == -1 && errno == EBADF) {
            closed |= 1u << fd;
            // The lowest free number is this one.
            const int opened = ::open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY);
            if (opened != fd && opened >= 0)
                ::close(opened);
        }
    }
    return closed;
}

std::optional<std::string> MissingDisplay()
{
    // The toolkit connects to X when told to (QT_QPA_PLATFORM=xcb, first in
    // its list, options after a colon), or when told nothing and no Wayland
    // display is there.
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM").split(';').front().split(':').front();
    if (platform.isEmpty() ? !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") : platform != "xcb")
        return std::nullopt;
    const QByteArray display = qgetenv("DISPLAY");
    if (display.isEmpty())
        return std::string("$DISPLAY is not set");
    // The toolkit aborts where the server refuses us (a wrong $XAUTHORITY):
    // ask it first, as the toolkit would.
    const int error = connectionError(display.constData());
    if (error == 0)
        return std::nullopt;
    if (error == XCB_CONN_CLOSED_PARSE_ERR || error == XCB_CONN_CLOSED_INVALID_SCREEN)
        return "$DISPLAY '" + display.toStdString() + "' names no display";
    // ":N" or ":N.S" is a local server, which may not be there at all.
    if (display.startsWith(':')) {
        const QByteArray number = display.mid(1).split('.').front();
        bool isNumber = false;
        number.toUInt(&isNumber);
        if (isNumber && !localDisplayAnswers(number.toStdString()))
            return "the display " + display.toStdString() + " does not answer";
    }
    return "the display " + display.toStdString() + " refused the connection";
}

std::string HomeFolder()
{
    if (const char* home = std::getenv("HOME"); home && *home)
        return home;
    const passwd* user = ::getpwuid(::getuid());
    return user && user->pw_dir ? user->pw_dir : "/";
}
