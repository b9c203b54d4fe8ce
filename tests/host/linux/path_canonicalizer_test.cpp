// What paths become where the Linux backend stands in for Windows: the
// numbered aliases a Windows installer may have registered, network shares
// under the prefix's dosdevices, and folders whose names differ only in case.
#include "host/path_canonicalizer.h"
#include "support/throwaway_prefix.h"

#include <cstring>

#include <gtest/gtest.h>

namespace {

std::pair<int, std::string> canonicalize(const std::string& input, bool isFile)
{
    char buffer[kPathBufferSize] = {};
    std::strncpy(buffer, input.c_str(), sizeof buffer - 1);
    const int answer = static_cast<int>(CanonicalizePath(buffer, isFile));
    return {answer, buffer};
}

class LinuxNamesCanonicalizeTest : public ::testing::Test {
protected:
    ThrowawayPrefix prefix;
};

} // namespace

TEST_F(LinuxNamesCanonicalizeTest, NumberedAliasesAndSharesBecomeLongAndTidy)
{
    prefix.writeFile("Program Files/My Application/BRUSHES/INDEX.DAT", "");
    prefix.writeFile("Program Files/My Application/BRUSHES/list.TXT", "");
    prefix.writeFile("TEMP/READ ME.TXT", "");
    writeDiskFile(prefix.root() + "/dosdevices/unc/server/share/PUBLIC/Notes.txt", "");
    const std::vector<std::tuple<std::string, bool, std::string>> cases = {
        {"C:\\PROGRA~1\\MYAPPL~1\\BRUSHES\\INDEX.DAT", true, "c:\\Program Files\\My Application\\Brushes\\Index.dat"},
        {"C:\\PROGRA~1\\MYAPPL~1\\BRUSHES\\", false, "c:\\Program Files\\My Application\\Brushes"},
        {"c:\\progra~1\\myappl~1\\brushes\\list.txt", true, "c:\\Program Files\\My Application\\Brushes\\list.TXT"},
        {"C:\\TEMP\\README~1.TXT", true, "c:\\Temp\\Read me.txt"},
        {"\\\\server\\share\\PUBLIC\\NOTES.TXT", true, "\\\\server\\share\\Public\\Notes.txt"},
        // Server and share are never looked up and keep their case.
        {"\\\\SeRvEr\\ShArE\\PUBLIC\\NOTES.TXT", true, "\\\\SeRvEr\\ShArE\\Public\\Notes.txt"},
    };
    for (const auto& [input, isFile, expected] : cases)
        EXPECT_EQ(canonicalize(input, isFile), std::make_pair(0, expected)) << input;
    EXPECT_EQ(canonicalize("C:\\TEMP\\.\\README~1.TXT", true),
              std::make_pair(101, std::string("C:\\TEMP\\.\\README~1.TXT")));
}

TEST_F(LinuxNamesCanonicalizeTest, TheCaseRuleNeverNamesAnotherEntry)
{
    // Linux folders may hold names that differ only in case.
    prefix.makeFolder("TWINS/BRUSHES/a");
    prefix.makeFolder("TWINS/Brushes");
    prefix.writeFile("TWINS/BRUSHES/INDEX.DAT", "");
    prefix.writeFile("TWINS/BRUSHES/Index.dat", "");
    prefix.writeFile("TWINS/BRUSHES/NOTES.TXT", "");
    const std::vector<std::pair<std::pair<int, std::string>, std::string>> cases = {
        {canonicalize("C:\\TWINS\\BRUSHES\\a", false), "c:\\Twins\\BRUSHES\\a"},
        {canonicalize("C:\\twins\\brushes\\A", false), "c:\\Twins\\BRUSHES\\a"},
        {canonicalize("C:\\TWINS\\BRUSHES\\INDEX.DAT", true), "c:\\Twins\\BRUSHES\\INDEX.DAT"},
        {canonicalize("C:\\TWINS\\BRUSHES\\Index.dat", true), "c:\\Twins\\BRUSHES\\Index.dat"},
        {canonicalize("C:\\TWINS\\BRUSHES\\notes.txt", true), "c:\\Twins\\BRUSHES\\Notes.txt"},
        {canonicalize("C:\\TWINS\\Brushes", false), "c:\\Twins\\Brushes"},
    };
    for (const auto& [result, expected] : cases) {
        EXPECT_EQ(result, std::make_pair(0, expected));
    }
}
