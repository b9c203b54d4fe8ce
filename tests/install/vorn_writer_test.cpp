#include "install/vorn_writer.h"
#include "platform/file_exception.h"
#include "support/throwaway_prefix.h"

#include <QFile>

#include <gtest/gtest.h>

TEST(VornWriter, WritesTheFileThenTheBlock)
{
    ThrowawayPrefix prefix;
    prefix.writeFile("Vorns/Vorns.ctl", "old");
    ControlFile control = OpenControlFile("C:\\Vorns");
    RememberEnd(control);
    WriteVornEntry(control, "C:\\Vorns\\Leaf.vrn", std::string("\x89PNG\0data", 9), "R\r\n");
    CloseControlFile(control);
    EXPECT_EQ(prefix.readFile("Vorns/Leaf.vrn"), std::string("\x89PNG\0data", 9));
    EXPECT_EQ(prefix.readFile("Vorns/Vorns.ctl"), "old\r\n\r\nR\r\n");
}

TEST(VornWriter, FailedAppendTakesTheEntryBack)
{
    ThrowawayPrefix prefix;
    prefix.makeFolder("Vorns");
    ASSERT_TRUE(QFile::link("/dev/full", QString::fromStdString(prefix.onDriveC("Vorns/Vorns.ctl"))));
    ControlFile control = OpenControlFile("C:\\Vorns");
    RememberEnd(control);
    EXPECT_THROW(WriteVornEntry(control, "C:\\Vorns\\Leaf.vrn", "image", "R"), FileException);
    EXPECT_FALSE(prefix.exists("Vorns/Leaf.vrn"));
}

TEST(VornWriter, FailedCreateLeavesNothing)
{
    ThrowawayPrefix prefix;
    prefix.writeFile("Vorns/Vorns.ctl", "old");
    ControlFile control = OpenControlFile("C:\\Vorns");
    RememberEnd(control);
    EXPECT_THROW(WriteVornEntry(control, "C:\\Vorns\\No\\Leaf.vrn", "image", "R"), FileException);
    CloseControlFile(control);
    EXPECT_EQ(prefix.readFile("Vorns/Vorns.ctl"), "old");
}
