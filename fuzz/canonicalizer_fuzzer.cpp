// The six canonicalization functions on any text: answers are one of their
// codes, no buffer is written past its end, and a canonical path names the
// same entry as the path it came from.
#include "host/path_canonicalizer.h"
#include "platform/linux/dos_path.h"
#include "platform/linux/wine_prefix.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstring>
#include <string>

namespace {

// A small prefix with short and long names, made once.
const std::string& prefixRoot()
{
    static QTemporaryDir dir;
    static const std::string root = [] {
        const QString base = dir.path();
        for (const char* folder :
             {"/drive_c/Program Files/My Application/BRUSHES", "/drive_c/TEMP", "/dosdevices/unc/server/share/PUBLIC"})
            QDir().mkpath(base + QLatin1String(folder));
        QFile(base + "/drive_c/TEMP/READ ME.TXT").open(QIODevice::WriteOnly);
        QFile(base + "/drive_c/Program Files/My Application/BRUSHES/INDEX.DAT").open(QIODevice::WriteOnly);
        QFile::link(QStringLiteral("../drive_c"), base + "/dosdevices/c:");
        return base.toStdString();
    }();
    return root;
}

constexpr char kGuard = '\x5a';

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    WinePrefix::use(prefixRoot());
    if (size == 0)
        return 0;
    const bool isFile = data[0] & 1;
    const std::string input(reinterpret_cast<const char*>(data) + 1, size - 1);
    if (input.size() >= kPathBufferSize || input.find('\0') != std::string::npos)
        return 0;

    char buffer[kPathBufferSize + 16];
    std::memset(buffer, kGuard, sizeof buffer);
    std::memcpy(buffer, input.c_str(), input.size() + 1);
    const PathResult answer = CanonicalizePath(buffer, isFile);
    if (answer != PathResult::ok && answer != PathResult::cannotCanonicalize)
        __builtin_trap();
    if (!std::memchr(buffer, '\0', kPathBufferSize))
        __builtin_trap();
    for (std::size_t i = kPathBufferSize; i < sizeof buffer; ++i)
        if (buffer[i] != kGuard)
            __builtin_trap();

    const int root = RootLength(input.c_str());
    if (root < -1 || root > int(input.size()) || LastSeparatorEnd(input.c_str()) > int(input.size()))
        __builtin_trap();
    char work[kWorkBufferSize];
    if (ExpandLongPath(input.c_str(), work) == PathResult::ok && !std::memchr(work, '\0', sizeof work))
        __builtin_trap();
    if (LongNameOf(input.c_str(), work) != PathResult::ok && std::strcmp(work, input.c_str()) != 0
        && input.size() < kWorkBufferSize)
        __builtin_trap();
    if (input.size() < kWorkBufferSize) {
        std::memcpy(work, input.c_str(), input.size() + 1);
        NormalizeCase(work);
        if (!std::memchr(work, '\0', sizeof work))
            __builtin_trap();
    }

    // The canonical form names the entry the input named.
    if (answer == PathResult::ok) {
        const DosPath before = DosPath::resolve(input);
        const DosPath after = DosPath::resolve(buffer);
        if (before.exists && after.exists
            && QFileInfo(QString::fromStdString(before.hostPath)).canonicalFilePath()
                != QFileInfo(QString::fromStdString(after.hostPath)).canonicalFilePath())
            __builtin_trap();
    }
    return 0;
}
