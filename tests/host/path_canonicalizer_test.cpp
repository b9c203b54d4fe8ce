#include "host/path_canonicalizer.h"
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
    const int answer = static_cast<int>(CanonicalizePath(buffer, isFile));
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
        prefix.writeFile("Paint Programs/My Application/BRUSHES/INDEX.DAT", "");
        prefix.writeFile("Paint Programs/My Application/BRUSHES/list.TXT", "");
        prefix.writeFile("TEMP/READ ME.TXT", "");
        prefix.writeFile("README.TXT", "");
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
    // The aliases the backend gives: Wine's hashed ones on both.
    const std::string programs = prefix.shortAlias("Paint Programs");
    const std::string application = prefix.shortAlias("Paint Programs/My Application");
    const std::vector<Case> cases = {
        {"C:\\" + programs + "\\" + application + "\\BRUSHES\\INDEX.DAT", true,
         "c:\\Paint Programs\\My Application\\Brushes\\Index.dat"},
        {"C:\\PAINT PROGRAMS\\MY APPLICATION\\BRUSHES\\", false, "c:\\Paint Programs\\My Application\\Brushes"},
        {"c:\\paint programs\\" + application + "\\brushes\\list.txt", true,
         "c:\\Paint Programs\\My Application\\Brushes\\list.TXT"},
        {"C:\\TEMP\\" + prefix.shortAlias("TEMP/READ ME.TXT"), true, "c:\\Temp\\Read me.txt"},
        {"C:\\README.TXT", true, "c:\\Readme.txt"},
        {"C:", false, "c:\\"},
        {"C:\\", false, "c:\\"},
        {"C:\\\\", false, "c:\\"},
        {"\\\\server\\share", false, "\\\\server\\share"},
        {"\\\\server\\share\\", false, "\\\\server\\share"},
        {"\\\\Nowhere\\Missing", false, "\\\\Nowhere\\Missing"},
        {"\\\\Nowhere\\Missing\\", false, "\\\\Nowhere\\Missing"},
    };
    for (const Case& c : cases) {
        const Canonical result = canonicalize(c.input, c.isFile);
        EXPECT_EQ(result.answer, 0) << c.input;
        EXPECT_EQ(result.buffer, c.expected) << c.input;
    }
}

TEST_F(CanonicalizePathTest, UnusablePathsAnswer101WithOnlyTheirEndTidied)
{
    const std::string programs = prefix.shortAlias("Paint Programs");
    const std::string application = prefix.shortAlias("Paint Programs/My Application");
    const std::string readMe = prefix.shortAlias("TEMP/READ ME.TXT");
    struct Case {
        std::string input;
        bool isFile;
        std::string buffer;
    };
    const std::vector<Case> cases = {
        {"Paint Programs\\BRUSHES", false, "Paint Programs\\BRUSHES"},
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
        {"C:\\TEMP\\.\\" + readMe, true, "C:\\TEMP\\.\\" + readMe},
        {"C:\\" + programs + "\\" + application + "\\..", false, "C:\\" + programs + "\\" + application + "\\.."},
        {"C:\\" + programs + "\\..\\TEMP", false, "C:\\" + programs + "\\..\\TEMP"},
        {"C:\\" + programs + "/" + application, false, "C:\\" + programs + "/" + application},
        {"C:\\TEMP/" + readMe, true, "C:\\TEMP/" + readMe},
        {"C:\\TEMP\\MISSING.TXT", true, "C:\\TEMP\\MISSING.TXT"},
    };
    for (const Case& c : cases) {
        const Canonical result = canonicalize(c.input, c.isFile);
        EXPECT_EQ(result.answer, 101) << c.input;
        EXPECT_EQ(result.buffer, c.buffer) << c.input;
    }
    EXPECT_EQ(static_cast<int>(CanonicalizePath(nullptr, false)), 101);
}

TEST_F(CanonicalizePathTest, ResultsThatOutgrowTheBufferAreRefused)
{
    // 14 nested folders of 20 characters: each alias is short, the long form is not.
    std::string relative, shortPath = "C:";
    for (int i = 0; i < 14; ++i) {
        relative += (relative.empty() ? "" : "/") + ("a long folder name " + std::to_string(i % 10));
        prefix.makeFolder(relative);
        shortPath += "\\" + prefix.shortAlias(relative);
    }
    ASSERT_LT(shortPath.size(), 200u);
    const Canonical result = canonicalize(shortPath, false);
    EXPECT_EQ(result.answer, 101);
    EXPECT_EQ(result.buffer, shortPath);
}
