#include "platform/file_exception.h"
#include "platform/stdio_file.h"
#include "support/throwaway_prefix.h"

#include <QDir>
#include <QFile>

#include <functional>
#include <sys/stat.h>

#include <gtest/gtest.h>

namespace {

constexpr unsigned kControlMode = StdioFile::typeBinary | StdioFile::shareExclusive | StdioFile::modeReadWrite;

// The cause an action fails with, or none.
FileException::Cause failureOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const FileException& error) {
        return error.m_cause;
    }
    return FileException::none;
}

FileException::Cause openFailure(const std::string& path, unsigned flags)
{
    return failureOf([&] {
        StdioFile file;
        file.Open(path, flags);
    });
}

} // namespace

TEST(StdioFile, OpenFailuresCarryTheirCause)
{
    ThrowawayPrefix prefix;
    prefix.makeFolder("Vorns/Vorns.ctl");
    EXPECT_EQ(openFailure("C:\\Vorns\\Missing.ctl", kControlMode), FileException::fileNotFound);
    EXPECT_FALSE(prefix.exists("Vorns/Missing.ctl")) << "an existing-file open never creates";
    EXPECT_EQ(openFailure("C:\\Vorns\\Vorns.ctl", kControlMode), FileException::accessDenied);
    EXPECT_EQ(openFailure("C:\\Vorns\\a|b", kControlMode), FileException::badPath);
}

TEST(StdioFile, CreatingANameWineRefusesFailsAndCreatesNothing)
{
    ThrowawayPrefix prefix;
    prefix.makeFolder("Vorns");
    constexpr unsigned kCreate = StdioFile::typeBinary | StdioFile::modeCreate | StdioFile::modeWrite;
    for (const char* name :
         {"a*b.vrn", "Leaf?.vrn", "a:b.vrn", "nul.vrn", "NUL", "con.tar.gz", "Com1.vrn", "lpt9", "aux .vrn", "PRN.VRN"})
        EXPECT_EQ(openFailure(std::string("C:\\Vorns\\") + name, kCreate), FileException::badPath) << name;
    EXPECT_TRUE(QDir(QString::fromStdString(prefix.onDriveC("Vorns"))).isEmpty());
    for (const char* name : {"com0.vrn", "console.vrn", "nul2.vrn", "lpt10", "xnul.vrn", "con_.vrn"})
        EXPECT_EQ(openFailure(std::string("C:\\Vorns\\") + name, kCreate), FileException::none) << name;
    // A file of such a name that is already there opens as any other.
    prefix.writeFile("Vorns/nul.ctl", "");
    EXPECT_EQ(openFailure("C:\\Vorns\\nul.ctl", kControlMode), FileException::none);
}

TEST(StdioFile, ExclusiveOpenRefusesASecondOne)
{
    ThrowawayPrefix prefix;
    prefix.writeFile("Vorns/Vorns.ctl", "held");
    StdioFile first;
    first.Open("C:\\Vorns\\Vorns.ctl", kControlMode);
    EXPECT_EQ(openFailure("c:\\vorns\\VORNS.CTL", kControlMode), FileException::sharingViolation);
    first.Close();
    EXPECT_EQ(openFailure("C:\\Vorns\\Vorns.ctl", kControlMode), FileException::none);
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
    if (!prefix.mountFullDisk("Vorns", {{"Vorns.ctl", std::string(4096, 'x')}}, 0))
        GTEST_SKIP() << "this process may not mount a small file system";
    StdioFile file;
    file.Open("C:\\Vorns\\Vorns.ctl", kControlMode);
    EXPECT_EQ(failureOf([&] { file.Reserve(4096, 3); }), FileException::diskFull);
    file.SeekToEnd();
    EXPECT_EQ(failureOf([&] { file.Write("abc", 3); }), FileException::diskFull);
    try {
        file.Reserve(4096, 3);
    } catch (const FileException& error) {
        EXPECT_STREQ(error.what(), "C:\\Vorns\\Vorns.ctl: No space left on device");
    }
    EXPECT_EQ(file.GetLength(), 4096u);
}

TEST(StdioFile, OnlyPlainFilesOpenAndNoneWaits)
{
    ThrowawayPrefix prefix;
    prefix.makeFolder("Vorns");
    ASSERT_EQ(::mkfifo(prefix.onDriveC("Vorns/Fifo.vrn").c_str(), 0644), 0);
    ASSERT_TRUE(QFile::link("/dev/zero", QString::fromStdString(prefix.onDriveC("Vorns/Zero.vrn"))));
    for (const auto& [path, message] : {
             std::pair{"C:\\Vorns\\Fifo.vrn", "C:\\Vorns\\Fifo.vrn: not a plain file (a FIFO)"},
             std::pair{"C:\\Vorns\\Zero.vrn", "C:\\Vorns\\Zero.vrn: not a plain file (a character device)"},
             std::pair{"C:\\Vorns", "C:\\Vorns: Is a directory"},
         }) {
        for (unsigned mode : {kControlMode, unsigned(StdioFile::typeBinary | StdioFile::modeRead)}) {
            StdioFile file;
            try {
                file.Open(path, mode);
                ADD_FAILURE() << path << " was opened";
            } catch (const FileException& error) {
                EXPECT_STREQ(error.what(), message);
                EXPECT_EQ(error.m_cause, FileException::accessDenied);
            }
        }
    }
}
