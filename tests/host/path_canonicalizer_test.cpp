#include "host/path_canonicalizer.h"
#include "platform/linux/short_name.h"
#include "support/throwaway_prefix.h"

#include <cstring>

#include <gtest/gtest.h>

namespace {

struct Canonical {
    int answer;
    std::string buffer;
};

Canonical canonicalize(const std::string& input, bool isFile)
{
    char buffer[kPathBufferSize] = {};
    std::strncpy(buffer, input.c_str(), sizeof buffer - 1);
    const int answer = CanonicalizePath(buffer, isFile);
    return {answer, buffer};
}

} // namespace

TEST(RootLength, DriveAndNetworkRoots)
{
    const std::vector<std::pair<std::string, int>> table = {
        {"c:\\", 3},        {"c:\\x", 3},          {"1:\\x", 3},          {"c:", -1},
        {"\\\\srv\\sh", 8}, {"\\\\srv\\sh\\x", 9}, {"\\\\srv\\sh\\", -1}, {"\\\\srv", -1},
        {"\\\\srv\\", 6},   {"\\\\\\sh", 5},       {"\\\\", -1},
    };
    for (const auto& [path, expected] : table)
        EXPECT_EQ(RootLength(path.c_str()), expected) << path;
    EXPECT_EQ(LastSeparatorEnd("c:\\a\\b"), 5);
    EXPECT_EQ(LastSeparatorEnd("abc"), 0);
    EXPECT_EQ(LastSeparatorEnd(""), 0);
}

TEST(NormalizeCase, OnlyAllCapitalsChange)
{
    const std::vector<std::pair<std::string, std::string>> table = {
        {"PROGRA~1", "Progra~1"}, {"BRUSHES", "Brushes"},   {"READ ME.TXT", "Read me.txt"},
        {"123ABC", "123abc"},     {"_TEMP", "_temp"},       {"123", "123"},
        {"Brushes", "Brushes"},   {"list.TXT", "list.TXT"}, {"data", "data"},
    };
    for (const auto& [component, expected] : table) {
        char buffer[kWorkBufferSize];
        std::strcpy(buffer, component.c_str());
        NormalizeCase(buffer);
        EXPECT_EQ(std::string(buffer), expected) << component;
    }
}

class CanonicalizePathTest : public ::testing::Test {
protected:
    CanonicalizePathTest()
    {
        prefix.writeFile("Program Files/My Application/BRUSHES/INDEX.DAT", "");
        prefix.writeFile("Program Files/My Application/BRUSHES/list.TXT", "");
        prefix.writeFile("TEMP/READ ME.TXT", "");
        prefix.writeFile("README.TXT", "");
        writeHostFile(prefix.root() + "/dosdevices/unc/server/share/PUBLIC/Notes.txt", "");
    }

    ThrowawayPrefix prefix;
};

TEST_F(CanonicalizePathTest, ShortAndMixedCasePathsBecomeLongAndTidy)
{
    struct Case {
        std::string input;
        bool isFile;
        std::string expected;
    };
    const std::string programs = ShortName::wineAlias("Program Files");
    const std::string application = ShortName::wineAlias("My Application");
    const std::vector<Case> cases = {
        {"C:\\PROGRA~1\\MYAPPL~1\\BRUSHES\\INDEX.DAT", true, "c:\\Program Files\\My Application\\Brushes\\Index.dat"},
        {"C:\\" + programs + "\\" + application + "\\BRUSHES\\INDEX.DAT", true,
         "c:\\Program Files\\My Application\\Brushes\\Index.dat"},
        {"C:\\PROGRA~1\\MYAPPL~1\\BRUSHES\\", false, "c:\\Program Files\\My Application\\Brushes"},
        {"c:\\progra~1\\myappl~1\\brushes\\list.txt", true, "c:\\Program Files\\My Application\\Brushes\\list.TXT"},
        {"C:\\TEMP\\README~1.TXT", true, "c:\\Temp\\Read me.txt"},
        {"C:\\TEMP\\" + ShortName::wineAlias("READ ME.TXT"), true, "c:\\Temp\\Read me.txt"},
        {"C:\\README.TXT", true, "c:\\Readme.txt"},
        {"C:", false, "c:\\"},
        {"C:\\", false, "c:\\"},
        {"C:\\\\", false, "c:\\"},
        {"\\\\server\\share\\PUBLIC\\NOTES.TXT", true, "\\\\server\\share\\Public\\Notes.txt"},
        {"\\\\server\\share", false, "\\\\server\\share"},
        {"\\\\server\\share\\", false, "\\\\server\\share"},
        // Server and share are never looked up and keep their case.
        {"\\\\SeRvEr\\ShArE\\PUBLIC\\NOTES.TXT", true, "\\\\SeRvEr\\ShArE\\Public\\Notes.txt"},
        {"\\\\Nowhere\\Missing", false, "\\\\Nowhere\\Missing"},
        {"\\\\Nowhere\\Missing\\", false, "\\\\Nowhere\\Missing"},
    };
    for (const Case& c : cases) {
        const Canonical result = canonicalize(c.input, c.isFile);
        EXPECT_EQ(result.answer, kPathOk) << c.input;
        EXPECT_EQ(result.buffer, c.expected) << c.input;
    }
}

TEST_F(CanonicalizePathTest, UnusablePathsAnswer101WithOnlyTheirEndTidied)
{
    struct Case {
        std::string input;
        bool isFile;
        std::string buffer;
    };
    const std::vector<Case> cases = {
        {"Program Files\\BRUSHES", false, "Program Files\\BRUSHES"},
        {"C:TEMP", false, "C:TEMP"},
        {"C:/TEMP", false, "C:/TEMP"},
        {"C", false, "C"},
        {"", false, ""},
        {"C:\\NOWHERE\\", false, "C:\\NOWHERE"},
        {"C:\\TEMP\\\\", false, "C:\\TEMP\\"},
        {"\\\\\\share", false, "\\\\\\share"},
        {"README.TXT", true, "README.TXT"},
        // "." and ".." are names the stored-name lookup does not find, and a
        // forward slash is an ordinary character: nothing is rewritten.
        {"C:\\TEMP\\.", false, "C:\\TEMP\\."},
        {"C:\\TEMP\\.\\README~1.TXT", true, "C:\\TEMP\\.\\README~1.TXT"},
        {"C:\\PROGRA~1\\MYAPPL~1\\..", false, "C:\\PROGRA~1\\MYAPPL~1\\.."},
        {"C:\\PROGRA~1\\..\\TEMP", false, "C:\\PROGRA~1\\..\\TEMP"},
        {"C:\\PROGRA~1/MYAPPL~1", false, "C:\\PROGRA~1/MYAPPL~1"},
        {"C:\\TEMP/README~1.TXT", true, "C:\\TEMP/README~1.TXT"},
        {"C:\\TEMP\\MISSING.TXT", true, "C:\\TEMP\\MISSING.TXT"},
    };
    for (const Case& c : cases) {
        const Canonical result = canonicalize(c.input, c.isFile);
        EXPECT_EQ(result.answer, kCannotCanonicalize) << c.input;
        EXPECT_EQ(result.buffer, c.buffer) << c.input;
    }
    EXPECT_EQ(CanonicalizePath(nullptr, false), kCannotCanonicalize);
}

TEST_F(CanonicalizePathTest, TheCaseRuleNeverNamesAnotherEntry)
{
    // Linux folders may hold names that differ only in case.
    prefix.makeFolder("TWINS/BRUSHES/a");
    prefix.makeFolder("TWINS/Brushes");
    prefix.writeFile("TWINS/BRUSHES/INDEX.DAT", "");
    prefix.writeFile("TWINS/BRUSHES/Index.dat", "");
    prefix.writeFile("TWINS/BRUSHES/NOTES.TXT", "");
    const std::vector<std::pair<Canonical, std::string>> cases = {
        {canonicalize("C:\\TWINS\\BRUSHES\\a", false), "c:\\Twins\\BRUSHES\\a"},
        {canonicalize("C:\\twins\\brushes\\A", false), "c:\\Twins\\BRUSHES\\a"},
        {canonicalize("C:\\TWINS\\BRUSHES\\INDEX.DAT", true), "c:\\Twins\\BRUSHES\\INDEX.DAT"},
        {canonicalize("C:\\TWINS\\BRUSHES\\Index.dat", true), "c:\\Twins\\BRUSHES\\Index.dat"},
        {canonicalize("C:\\TWINS\\BRUSHES\\notes.txt", true), "c:\\Twins\\BRUSHES\\Notes.txt"},
        {canonicalize("C:\\TWINS\\Brushes", false), "c:\\Twins\\Brushes"},
    };
    for (const auto& [result, expected] : cases) {
        EXPECT_EQ(result.answer, kPathOk) << expected;
        EXPECT_EQ(result.buffer, expected);
    }
}

TEST_F(CanonicalizePathTest, ResultsThatOutgrowTheBufferAreRefused)
{
    // 14 nested folders of 20 characters: each alias is short, the long form is not.
    std::string relative, shortPath = "C:";
    for (int i = 0; i < 14; ++i) {
        const std::string name = "a long folder name " + std::to_string(i % 10);
        relative += (relative.empty() ? "" : "/") + name;
        shortPath += "\\" + ShortName::wineAlias(name);
    }
    prefix.makeFolder(relative);
    ASSERT_LT(shortPath.size(), 200u);
    const Canonical result = canonicalize(shortPath, false);
    EXPECT_EQ(result.answer, kCannotCanonicalize);
    EXPECT_EQ(result.buffer, shortPath);
}
