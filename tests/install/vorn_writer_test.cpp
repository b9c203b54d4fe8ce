#include "install/vorn_writer.h"
#include "platform/file_exception.h"
#include "support/throwaway_prefix.h"

#include <gtest/gtest.h>

namespace {

// Each test runs with unnamed files, and with a temporary name where the
// file system has none.
class VornWriter : public testing::TestWithParam<bool> {
protected:
    void SetUp() override { StdioFile::AllowUnnamedFiles(GetParam()); }
    void TearDown() override { StdioFile::AllowUnnamedFiles(true); }
};

INSTANTIATE_TEST_SUITE_P(, VornWriter, testing::Values(true, false), [](const testing::TestParamInfo<bool>& info) {
    return info.param ? "UnnamedFile" : "TemporaryName";
});

} // namespace

TEST_P(VornWriter, WritesTheFileThenTheBlock)
{
    ThrowawayPrefix prefix;
    prefix.writeFile("Vorns/Vorns.ctl", "old");
    ControlFile control("C:\\Vorns");
    WriteVornEntry(control, "C:\\Vorns\\Leaf.vrn", std::string("\x89PNG\0data", 9), "R\r\n");
    control.close();
    EXPECT_EQ(prefix.readFile("Vorns/Leaf.vrn"), std::string("\x89PNG\0data", 9));
    EXPECT_EQ(prefix.readFile("Vorns/Vorns.ctl"), "old\r\n\r\nR\r\n");
    EXPECT_EQ(entriesOfDiskFolder(prefix.onDriveC("Vorns")), (std::vector<std::string>{"Leaf.vrn", "Vorns.ctl"}));
}

TEST_P(VornWriter, NeverReplacesAFileAndLeavesNoTemporary)
{
    ThrowawayPrefix prefix;
    prefix.writeFile("Vorns/Vorns.ctl", "old");
    prefix.writeFile("Vorns/Leaf.vrn", "the host's");
    ControlFile control("C:\\Vorns");
    try {
        WriteVornEntry(control, "C:\\Vorns\\Leaf.vrn", "image", "R");
        ADD_FAILURE() << "an existing file was replaced";
    } catch (const FileException& error) {
        // The words for the cause are the system's own.
        EXPECT_EQ(error.m_strFileName, "C:\\Vorns\\Leaf.vrn");
        EXPECT_EQ(std::string(error.what()).rfind("C:\\Vorns\\Leaf.vrn: File ", 0), 0u) << error.what();
    }
    control.close();
    EXPECT_EQ(prefix.readFile("Vorns/Leaf.vrn"), "the host's");
    EXPECT_EQ(prefix.readFile("Vorns/Vorns.ctl"), "old");
    EXPECT_EQ(entriesOfDiskFolder(prefix.onDriveC("Vorns")), (std::vector<std::string>{"Leaf.vrn", "Vorns.ctl"}));
}

TEST(VornWriterTemporaries, AKilledRunsTemporariesAreRemovedAndNothingElse)
{
    ThrowawayPrefix prefix;
    prefix.writeFile("Vorns/Vorns.ctl", "old");
    for (const char* name :
         {".quillop-0123456789abcdef.tmp", ".quillop-fedcba9876543210.tmp", "Leaf.vrn", ".quillop-00000000000000FF.tmp",
          ".quillop-0123.tmp", "quillop-0123456789abcdef.tmp", ".quillop-0123456789abcdef.tmp.vrn"})
        prefix.writeFile(std::string("Vorns/") + name, "left");
    StdioFile::RemoveAbandonedTemporaries("C:\\Vorns");
    EXPECT_EQ(entriesOfDiskFolder(prefix.onDriveC("Vorns")),
              (std::vector<std::string>{".quillop-00000000000000FF.tmp", ".quillop-0123.tmp",
                                        ".quillop-0123456789abcdef.tmp.vrn", "Leaf.vrn", "Vorns.ctl",
                                        "quillop-0123456789abcdef.tmp"}));
}

TEST_P(VornWriter, FailedAppendTakesTheEntryBack)
{
    ThrowawayPrefix prefix;
    // Room for the Vorn file's one page, none for the block.
    const std::string before(4096, 'x');
    const auto folder = prefix.mountFullDisk("Vorns", {{"Vorns.ctl", before}}, 1);
    if (!folder)
        GTEST_SKIP() << "this process may not mount a small file system";
    ControlFile control(*folder);
    EXPECT_THROW(WriteVornEntry(control, *folder + "\\Leaf.vrn", "image", "R"), FileException);
    control.close();
    EXPECT_EQ(entriesOfDiskFolder(prefix.diskPathOf(*folder)), (std::vector<std::string>{"Vorns.ctl", "filler"}));
    EXPECT_EQ(readDiskFile(prefix.diskPathOf(*folder + "\\Vorns.ctl")), before);
}

TEST_P(VornWriter, FailedCreateLeavesNothing)
{
    ThrowawayPrefix prefix;
    prefix.writeFile("Vorns/Vorns.ctl", "old");
    ControlFile control("C:\\Vorns");
    EXPECT_THROW(WriteVornEntry(control, "C:\\Vorns\\No\\Leaf.vrn", "image", "R"), FileException);
    control.close();
    EXPECT_EQ(prefix.readFile("Vorns/Vorns.ctl"), "old");
}
