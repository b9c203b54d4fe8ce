#include "support/throwaway_prefix.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

const char* const kClassKey = "CRV5.Image";

std::vector<std::string> entriesOfDriveC()
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator("C:\\"))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

ThrowawayPrefix::ThrowawayPrefix(bool)
    : m_root("C:")
    , m_before(entriesOfDriveC())
{
}

ThrowawayPrefix::~ThrowawayPrefix()
{
    for (const std::string& name : entriesOfDriveC())
        if (!std::binary_search(m_before.begin(), m_before.end(), name)) {
            std::error_code ignored;
            std::filesystem::remove_all("C:\\" + name, ignored);
        }
    RegDeleteTreeA(HKEY_CLASSES_ROOT, kClassKey);
}

std::string ThrowawayPrefix::root() const
{
    return m_root;
}

std::string ThrowawayPrefix::onDriveC(const std::string& relative) const
{
    std::string path = "C:\\" + relative;
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

void ThrowawayPrefix::makeFolder(const std::string& relative) const
{
    std::error_code error;
    std::filesystem::create_directories(onDriveC(relative), error);
    ASSERT_FALSE(error) << relative << ": " << error.message();
}

void ThrowawayPrefix::writeFile(const std::string& relative, const std::string& bytes) const
{
    writeHostFile(onDriveC(relative), bytes);
}

std::string ThrowawayPrefix::readFile(const std::string& relative) const
{
    return readHostFile(onDriveC(relative));
}

bool ThrowawayPrefix::exists(const std::string& relative) const
{
    return GetFileAttributesA(onDriveC(relative).c_str()) != INVALID_FILE_ATTRIBUTES;
}

void ThrowawayPrefix::writeRegistry(const std::string&, const std::string&) const
{
    ADD_FAILURE() << "a Wine prefix's registry files are the Linux backend's";
}

void ThrowawayPrefix::registerHost(const std::string& command) const
{
    // Written through HKEY_CLASSES_ROOT, as an installer registers it.
    const std::string key = std::string(kClassKey) + "\\shell\\open\\command";
    ASSERT_EQ(RegSetValueA(HKEY_CLASSES_ROOT, key.c_str(), REG_SZ, command.c_str(), DWORD(command.size())),
              ERROR_SUCCESS);
}

void ThrowawayPrefix::installHost() const
{
    writeFile("Corvane/Vorns/Vorns.ctl", "");
    registerHost("C:\\Corvane\\Corvane.exe %1");
}

bool ThrowawayPrefix::mountFullDisk(const std::string&, const std::map<std::string, std::string>&, int)
{
    return false;
}

std::string readHostFile(const std::string& hostPath)
{
    std::ifstream file(hostPath, std::ios::binary);
    if (!file)
        return "<missing>";
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

void writeHostFile(const std::string& hostPath, const std::string& bytes)
{
    std::filesystem::create_directories(std::filesystem::path(hostPath).parent_path());
    std::ofstream file(hostPath, std::ios::binary | std::ios::trunc);
    ASSERT_TRUE(file) << hostPath;
    file << bytes;
}
