#include "platform/file_exception.h"
#include "platform/stdio_file.h"
#include "support/file_failures.h"
#include "support/throwaway_prefix.h"

#include <QDir>
#include <QFile>

#include <sys/stat.h>

#include <gtest/gtest.h>

// The Linux backend's own rules for files: names Wine refuses, and files
// that are not plain files.

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
