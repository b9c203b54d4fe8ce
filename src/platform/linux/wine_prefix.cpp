#include "platform/linux/wine_prefix.h"

#include "platform/char_case.h"
#include "platform/linux/process_environment.h"

#include <climits>
#include <cstdlib>
#include <sys/stat.h>

namespace {

std::string prefixFromEnvironment()
{
    if (WinePrefix::givenByEnvironment())
        return std::getenv("WINEPREFIX");
    return HomeFolder() + "/.wine";
}

WinePrefix& processPrefix()
{
    static WinePrefix prefix(prefixFromEnvironment());
    return prefix;
}

bool isDirectory(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

} // namespace

WinePrefix::WinePrefix(std::string root)
    : m_root(std::move(root))
{
    while (m_root.size() > 1 && m_root.back() == '/')
        m_root.pop_back();
}

const WinePrefix& WinePrefix::current()
{
    return processPrefix();
}

bool WinePrefix::givenByEnvironment()
{
    const char* value = std::getenv("WINEPREFIX");
    return value && value[0] == '/';
}

void WinePrefix::use(const std::string& root)
{
    processPrefix() = WinePrefix(root);
}

bool WinePrefix::hasDosDevices() const
{
    return isDirectory(m_root + "/dosdevices");
}

std::optional<std::string> WinePrefix::driveRoot(char letter) const
{
    letter = CharCase::toLower(letter);
    if (letter < 'a' || letter > 'z')
        return std::nullopt;
    if (hasDosDevices()) {
        std::string link = m_root + "/dosdevices/" + letter + ":";
        if (isDirectory(link))
            return link;
        return std::nullopt;
    }
    // A prefix without dosdevices gets Wine's two default drives.
    if (letter == 'c')
        return m_root + "/drive_c";
    if (letter == 'z')
        return std::string("/");
    return std::nullopt;
}

std::string WinePrefix::uncRoot() const
{
    return m_root + "/dosdevices/unc";
}

std::vector<WinePrefix::Drive> WinePrefix::drives() const
{
    std::vector<Drive> result;
    for (char letter = 'a'; letter <= 'z'; ++letter) {
        if (const auto root = driveRoot(letter)) {
            char target[PATH_MAX];
            if (::realpath(root->c_str(), target))
                result.push_back({letter, target});
        }
    }
    return result;
}
