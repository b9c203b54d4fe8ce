#include "platform/file_exception.h"
#include "platform/stdio_file.h"
#include "support/file_failures.h"
#include "support/file_holder.h"
#include "support/throwaway_prefix.h"

#include <gtest/gtest.h>

TEST(StdioFile, OpenFailuresCarryTheirCause)
{
    ThrowawayPrefix prefix;
    prefix.makeFolder("Vorns/Vorns.ctl");
    EXPECT_EQ(openFailure("C:\\Vorns\\Missing.ctl", kControlMode), FileException::fileNotFound);
    EXPECT_FALSE(prefix.exists("Vorns/Missing.ctl")) << "an existing-file open never creates";
    EXPECT_EQ(openFailure("C:\\Vorns\\Vorns.ctl", kControlMode), FileException::accessDenied);
    EXPECT_EQ(openFailure("C:\\Vorns\\a|b", kControlMode), FileException::badPath);
}

TEST(StdioFile, ExclusiveOpenRefusesASecondOne)
{
    ThrowawayPrefix prefix;
    prefix.writeFile("Vorns/Vorns.ctl", "held");
    StdioFile first;
    first.Open("C:\\Vorns\\Vorns.ctl", kControlMode);
    EXPECT_EQ(openFailure("c:\\vorns\\VORNS.CTL", kControlMode), FileException::sharingViolation);
    EXPECT_FALSE(FileHeldElsewhere("C:\\Vorns\\Vorns.ctl").held()) << "refused to another process";
    first.Close();
    EXPECT_EQ(openFailure("C:\\Vorns\\Vorns.ctl", kControlMode), FileException::none);
    {
        const FileHeldElsewhere other("C:\\Vorns\\Vorns.ctl");
        ASSERT_TRUE(other.held());
        EXPECT_EQ(openFailure("C:\\Vorns\\Vorns.ctl", kControlMode), FileException::sharingViolation)
            << "held by another process";
    }
    EXPECT_EQ(openFailure("C:\\Vorns\\Vorns.ctl", kControlMode), FileException::none) << "let go";
    // Another program that only reads it, as Corvane does, is no different.
    first.Open("C:\\Vorns\\Vorns.ctl", kControlMode);
    EXPECT_FALSE(FileHeldElsewhere("C:\\Vorns\\Vorns.ctl", true).held()) << "refused to a reader";
    first.Close();
    {
        const FileHeldElsewhere reader("C:\\Vorns\\Vorns.ctl", true);
        ASSERT_TRUE(reader.held());
        EXPECT_EQ(openFailure("C:\\Vorns\\Vorns.ctl", kControlMode), FileException::sharingViolation)
            << "read by another process";
    }
}

TEST(StdioFile, PositionsGoPastFourGigabytes)
{
    ThrowawayPrefix prefix;
    prefix.writeFile("big.ctl", "");
    StdioFile file;
    file.Open("C:\\big.ctl", kControlMode);
    const std::uint64_t beyond = (std::uint64_t(1) << 32) + 10;
    file.SetLength(beyond);
    EXPECT_EQ(file.SeekToEnd(), beyond);
    file.Write("x", 1);
    EXPECT_EQ(file.GetLength(), beyond + 1);
    EXPECT_EQ(file.GetPosition(), beyond + 1);
}

TEST(StdioFile, AFullDiskShowsAsDiskFullBeforeAnythingIsWritten)
{
    ThrowawayPrefix prefix;
    const auto folder = prefix.mountFullDisk("Vorns", {{"Vorns.ctl", std::string(4096, 'x')}}, 0);
    if (!folder)
        GTEST_SKIP() << "this process may not mount a small file system";
    const std::string path = *folder + "\\Vorns.ctl";
    StdioFile file;
    file.Open(path, kControlMode);
    // Where room can be set aside, a full disk shows then; where not, the
    // answer says so.
    bool reserved = true;
    const FileException::Cause reserving = failureOf([&] { reserved = file.Reserve(4096, 3); });
    if (kFullDiskSetsRoomAside) {
        EXPECT_EQ(reserving, FileException::diskFull);
    } else {
        EXPECT_EQ(reserving, FileException::none);
        EXPECT_FALSE(reserved);
    }
    file.SeekToEnd();
    try {
        file.Write("abc", 3);
        ADD_FAILURE() << "written to a full disk";
    } catch (const FileException& error) {
        EXPECT_EQ(error.m_cause, FileException::diskFull);
        EXPECT_EQ(std::string(error.what()), path + ": " + kDiskFullText);
    }
    EXPECT_EQ(file.GetLength(), 4096u);
}
