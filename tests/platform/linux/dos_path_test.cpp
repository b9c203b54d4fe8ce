#include "platform/file_lookup.h"
#include "platform/linux/dos_path.h"
#include "platform/linux/short_name.h"
#include "support/throwaway_prefix.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

TEST(ShortName, WineHashedAliasesMatchWine)
{
    EXPECT_EQ(ShortName::wineAlias("Program Files"), "PROG~FBU");
    EXPECT_EQ(ShortName::wineAlias("Corvane 5"), "CORV~HAD");
    // The extension is the part after the last dot, at most three characters.
    EXPECT_EQ(ShortName::wineAlias("archive.tar.gzip").substr(0, 5), "ARCH~");
    EXPECT_EQ(ShortName::wineAlias("archive.tar.gzip").substr(8), ".GZI");
    // Hashed over UTF-16 with Unicode lower case; one '_' per unit outside
    // ASCII; dots before the extension and leading dots become '_'.
    EXPECT_EQ(ShortName::wineAlias("caf\xc3\xa9.txt"), "CAF_~CRT.TXT");
    EXPECT_EQ(ShortName::wineAlias("a.b.c.txt"), "A_B_~BDV.TXT");
    EXPECT_EQ(ShortName::wineAlias(".abc"), "_ABC~XKT");
    EXPECT_EQ(ShortName::wineAlias("r\xc3\xa9sum\xc3\xa9"), "R_SU~RT4");
    EXPECT_EQ(ShortName::wineAlias("vorn set 2118"), "VORN~5J4");
    EXPECT_EQ(ShortName::wineAlias("Vorn set 3002"), "VORN~5J4");
}

TEST(ShortName, NumberedAliasesCountCollisionsInNameOrder)
{
    EXPECT_EQ(ShortName::numberedAliases({"My Application", "Program Files", "READ ME.TXT"}),
              (std::vector<std::string>{"MYAPPL~1", "PROGRA~1", "README~1.TXT"}));
    EXPECT_EQ(ShortName::numberedAliases({"INDEX.DAT", "Program Data", "Program Files"}),
              (std::vector<std::string>{"", "PROGRA~1", "PROGRA~2"}));
    EXPECT_TRUE(ShortName::isLegal83("README.TXT"));
    EXPECT_FALSE(ShortName::isLegal83("READ ME.TXT"));
    EXPECT_FALSE(ShortName::isLegal83("a.b.c"));
    EXPECT_FALSE(ShortName::isLegal83(".profile"));
}

class DosPathTest : public ::testing::Test {
protected:
    ThrowawayPrefix prefix;
};

TEST_F(DosPathTest, MapsDrivesFoldsDotsAndMatchesCase)
{
    prefix.writeFile("Program Files/Corvane 5/Vorns/Vorns.ctl", "");
    const DosPath exact = DosPath::resolve("C:\\Program Files\\Corvane 5\\Vorns\\Vorns.ctl");
    EXPECT_TRUE(exact.exists);
    EXPECT_EQ(QDir(QString::fromStdString(exact.hostPath)).canonicalPath(),
              QDir(QString::fromStdString(prefix.onDriveC("Program Files/Corvane 5/Vorns/Vorns.ctl"))).canonicalPath());

    const DosPath folded = DosPath::resolve("c:/PROGRAM files\\.\\x\\..\\corvane 5\\\\vorns\\VORNS.CTL");
    EXPECT_TRUE(folded.exists);
    EXPECT_EQ(folded.storedName, "Vorns.ctl");
    EXPECT_EQ(folded.hostPath, exact.hostPath);

    // Components that do not exist keep the case they were written in.
    const DosPath fresh = DosPath::resolve("C:\\program files\\New\\Leaf.vrn");
    EXPECT_FALSE(fresh.exists);
    EXPECT_EQ(fresh.hostPath, prefix.root() + "/dosdevices/c:/Program Files/New/Leaf.vrn");

    EXPECT_FALSE(DosPath::resolve("C:\\Vorns\\a<b").valid);
    EXPECT_FALSE(DosPath::resolve("C:\\Vorns\\a\"b").valid);
    EXPECT_FALSE(DosPath::resolve("Q:\\Vorns").valid);
}

TEST_F(DosPathTest, FindsEntriesByShortAlias)
{
    prefix.writeFile("Program Files/Corvane 5/Vorns/Vorns.ctl", "");
    for (const char* path : {"C:\\PROGRA~1\\CORVAN~1\\VORNS\\VORNS.CTL", "c:\\prog~fbu\\corv~had\\Vorns\\Vorns.ctl"}) {
        const DosPath found = DosPath::resolve(path);
        EXPECT_TRUE(found.exists) << path;
        EXPECT_EQ(found.storedName, "Vorns.ctl");
    }
    EXPECT_EQ(LookupStoredName("C:\\PROGRA~1"), "Program Files");
    // An alias is tried only for a name that is itself a legal 8.3 name.
    EXPECT_FALSE(LookupStoredName("C:\\PROGRA~1 x"));
}

TEST_F(DosPathTest, ExistenceCountsAnyEntryAndWildcards)
{
    prefix.writeFile("Vorns/LEAF.VRN", "x");
    prefix.makeFolder("Vorns/Stars.vrn");
    EXPECT_TRUE(FileExists("C:\\Vorns\\Leaf.vrn"));
    EXPECT_TRUE(FileExists("C:\\Vorns\\Stars.vrn"));
    EXPECT_TRUE(FileExists("C:\\Vorns\\Le*.vrn"));
    EXPECT_TRUE(FileExists("C:\\Vorns\\?eaf.vrn"));
    EXPECT_FALSE(FileExists("C:\\Vorns\\Lx*.vrn"));
    EXPECT_FALSE(FileExists("C:\\Vorns\\Stars.vrn\\"));
    EXPECT_FALSE(FileExists("C:\\Vorns\\Fern.vrn"));
    // The stored-name lookup takes wildcards literally.
    EXPECT_FALSE(LookupStoredName("C:\\Vorns\\Le*.vrn"));
    EXPECT_FALSE(LookupStoredName("C:\\Vorns\\"));
}

TEST_F(DosPathTest, NamesMatchAsWineMatchesThem)
{
    prefix.writeFile("Vorns/r\xc3\xa9sum\xc3\xa9.vrn", "x");
    prefix.writeFile("Vorns/caf\xc3\xa9.txt", "x");
    prefix.writeFile("Vorns/a.b.c.txt", "x");
    prefix.writeFile("Vorns/.abc", "x");
    prefix.writeFile("Vorns/ABCD", "x");
    prefix.writeFile("Vorns/name.", "x");
    prefix.writeFile("Vorns/vorn set 2118", "x");
    prefix.writeFile("Vorns/Vorn set 3002", "x");
    prefix.writeFile("withdots/readme", "x");
    prefix.writeFile("withdots/notes.txt", "x");
    prefix.writeFile("nodots/notes.txt", "x");
    // Letter case beyond ASCII, and '?' standing for one character.
    EXPECT_EQ(LookupStoredName("C:\\Vorns\\R\xc3\x89SUM\xc3\x89.VRN"), "r\xc3\xa9sum\xc3\xa9.vrn");
    EXPECT_TRUE(FileExists("C:\\Vorns\\R\xc3\x89SUM\xc3\x89.vrn")) << "a typed twin is seen as taken";
    EXPECT_TRUE(FileExists("C:\\Vorns\\r?sum?.vrn"));
    EXPECT_FALSE(FileExists("C:\\Vorns\\r??sum?.vrn"));
    // Wine's hashed aliases.
    EXPECT_EQ(LookupStoredName("C:\\Vorns\\CAF_~CRT.TXT"), "caf\xc3\xa9.txt");
    EXPECT_EQ(LookupStoredName("C:\\Vorns\\a_b_~bdv.txt"), "a.b.c.txt");
    EXPECT_EQ(LookupStoredName("C:\\Vorns\\_ABC~XKT"), ".abc");
    EXPECT_EQ(LookupStoredName("C:\\Vorns\\VORN~5J4"), "vorn set 2118") << "the first in case-insensitive order";
    // Trailing dots and spaces of the last component are dropped.
    EXPECT_EQ(LookupStoredName("C:\\Vorns\\ABCD."), "ABCD");
    EXPECT_EQ(LookupStoredName("C:\\Vorns\\abcd . "), "ABCD");
    EXPECT_FALSE(LookupStoredName("C:\\Vorns\\name.")) << "looks up name, not name.";
    EXPECT_EQ(DosPath::resolve("C:\\Vorns\\Leaf.vrn. ").hostPath, prefix.root() + "/dosdevices/c:/Vorns/Leaf.vrn");
    // The Windows file search's patterns.
    EXPECT_TRUE(FileExists("C:\\withdots\\*.*"));
    EXPECT_TRUE(FileExists("C:\\withdots\\readme.*")) << "*.* and .* match names without a dot";
    EXPECT_TRUE(FileExists("C:\\withdots\\*."));
    EXPECT_TRUE(FileExists("C:\\withdots\\read*."));
    EXPECT_FALSE(FileExists("C:\\nodots\\x*."));
    EXPECT_TRUE(FileExists("C:\\Vorns\\caf_~*")) << "patterns match Wine's aliases too";
    // A folder below a drive's root lists "." and "..".
    EXPECT_TRUE(FileExists("C:\\nodots\\??"));
    EXPECT_TRUE(FileExists("C:\\nodots\\.*"));
    EXPECT_FALSE(FileExists("C:\\?"));
    EXPECT_EQ(ShortName::wineAlias("\xe2\x84\xaa"), "_~~~~U3F") << "the Kelvin sign hashes as itself";
    // Every component but the last loses one trailing dot.
    EXPECT_EQ(DosPath::resolve("C:\\withdots.\\readme").storedName, "readme");
    EXPECT_FALSE(DosPath::resolve("C:\\withdots..\\readme").exists);
    // A file in the middle of a path holds nothing.
    EXPECT_FALSE(DosPath::resolve("C:\\withdots\\readme\\x").parentExists);
    EXPECT_TRUE(DosPath::resolve("C:\\withdots\\x").parentExists);
    EXPECT_FALSE(FileExists("C:\\Vorns\\ABCD~*")) << "a legal 8.3 name has no alias";
}

TEST(DosPathDefaults, PrefixWithoutDosDevicesHasWinesTwoDrives)
{
    ThrowawayPrefix prefix(false);
    EXPECT_EQ(WinePrefix::current().driveRoot('C'), prefix.root() + "/drive_c");
    EXPECT_EQ(WinePrefix::current().driveRoot('z'), "/");
    EXPECT_FALSE(WinePrefix::current().driveRoot('d'));
    EXPECT_TRUE(FileExists("Z:\\tmp"));
}

TEST_F(DosPathTest, DrivesMayNestAndShareTargets)
{
    prefix.writeFile("Nested/inner.txt", "x");
    ASSERT_TRUE(
        QFile::link(QStringLiteral("../drive_c/Nested"), QString::fromStdString(prefix.root() + "/dosdevices/d:")));
    ASSERT_TRUE(QFile::link(QStringLiteral("../drive_c"), QString::fromStdString(prefix.root() + "/dosdevices/e:")));
    EXPECT_EQ(LookupStoredName("D:\\INNER.TXT"), "inner.txt");
    EXPECT_EQ(LookupStoredName("E:\\nested\\inner.txt"), "inner.txt");
    EXPECT_EQ(DosPath::resolve("d:\\new.vrn").hostPath, prefix.root() + "/dosdevices/d:/new.vrn");
    EXPECT_EQ(DosPath::resolve("E:\\Nested\\new.vrn").hostPath, prefix.root() + "/dosdevices/e:/Nested/new.vrn");
}

TEST_F(DosPathTest, NetworkPathsLiveUnderTheUncFolder)
{
    writeDiskFile(prefix.root() + "/dosdevices/unc/server/share/PUBLIC/Notes.txt", "n");
    EXPECT_EQ(LookupStoredName("\\\\server\\share\\public\\NOTES.TXT"), "Notes.txt");
    EXPECT_FALSE(DosPath::resolve("\\\\server").valid);
}

// A long name and a sibling named like its Wine alias (FWWM~4GA) are one set
// of candidates for any other spelling: a search answers the first in name
// order, opening a path the first in directory order; the exact bytes win.
TEST_F(DosPathTest, AnEntryNamedLikeASiblingsAliasCompetesWithIt)
{
    ASSERT_EQ(ShortName::wineAlias("FWWMijVDHV"), "FWWM~4GA");
    for (const bool folderFirst : {true, false}) {
        const std::string folder = folderFirst ? "folder first" : "file first";
        SCOPED_TRACE(folder);
        if (folderFirst)
            prefix.writeFile(folder + "/FWWMijVDHV/inner", "x");
        prefix.writeFile(folder + "/FWWM~4GA", "x");
        if (!folderFirst)
            prefix.writeFile(folder + "/FWWMijVDHV/inner", "x");
        const std::string windows = "C:\\" + folder + "\\";
        EXPECT_EQ(LookupStoredName(windows + "FwwM~4GA"), "FWWMijVDHV");
        EXPECT_EQ(LookupStoredName(windows + "FWWM~4GA"), "FWWM~4GA");
        EXPECT_EQ(LookupStoredName(windows + "fwwmijvdhv"), "FWWMijVDHV");

        QDir listing(QString::fromStdString(prefix.onDriveC(folder)));
        const QStringList inDirectoryOrder
            = listing.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System, QDir::Unsorted);
        ASSERT_EQ(inDirectoryOrder.size(), 2);
        const DosPath opened = DosPath::resolve(windows + "fwwm~4ga\\inner");
        EXPECT_EQ(opened.exists, inDirectoryOrder.front() == QLatin1String("FWWMijVDHV"));
        EXPECT_TRUE(DosPath::resolve(windows + "FWWMIJVDHV\\inner").exists);
        EXPECT_FALSE(DosPath::resolve(windows + "FWWM~4GA\\inner").parentExists) << "the exact name is the file";
    }
}
