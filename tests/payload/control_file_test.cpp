#include "payload/control_file.h"
#include "platform/file_exception.h"
#include "support/throwaway_prefix.h"

#include <gtest/gtest.h>

#include <unistd.h>

TEST(ControlFile, PathIsFolderBackslashName)
{
    EXPECT_EQ(ControlFilePath("C:\\Vorns"), "C:\\Vorns\\Vorns.ctl");
    EXPECT_EQ(ControlFilePath("c:\\vorns\\"), "c:\\vorns\\\\Vorns.ctl");
}

TEST(ControlFile, NameTakenOnlyWithTheWholeLine)
{
    static const char bytes[] = "x\r\nVornName:Leaf\r\nMidVornName:Stone\r\nVornName:Bare\nVornName:a"
                                "VornName:b\r\nVornName:Cut\0VornName:Hidden\r\n";
    const ControlText text(std::string_view(bytes, sizeof bytes - 1));
    EXPECT_TRUE(IsVornNameTaken(text, "Leaf"));
    EXPECT_TRUE(IsVornNameTaken(text, "Stone")) << "a match anywhere counts";
    EXPECT_FALSE(IsVornNameTaken(text, "Lea"));
    EXPECT_FALSE(IsVornNameTaken(text, "Leaf2"));
    EXPECT_FALSE(IsVornNameTaken(text, "leaf"));
    EXPECT_FALSE(IsVornNameTaken(text, "Bare"));
    EXPECT_TRUE(IsVornNameTaken(text, "b"));
    EXPECT_TRUE(IsVornNameTaken(text, "Bare\nVornName:aVornName:b")) << "as the plain search finds it";
    EXPECT_FALSE(IsVornNameTaken(text, "Hidden")) << "behind a zero byte";
}

TEST(ControlFile, BlocksAreAppendedAtTheSavedEndAndReadBack)
{
    ThrowawayPrefix prefix;
    const std::string before = std::string("host's own\r\n\0hidden", 19);
    prefix.writeFile("Vorns/Vorns.ctl", before);
    ControlFile control("C:\\Vorns\\");
    EXPECT_EQ(control.path(), "C:\\Vorns\\\\Vorns.ctl");

    VornRecord leaf{"Leaf", "Leaf.vrn", "250", "3", "2", "0", "0"};
    EXPECT_EQ(control.text().view(), "host's own\r\n") << "a zero byte ends the text";
    control.append(FormatRecord(leaf));

    const ControlText& text = control.text();
    EXPECT_FALSE(IsVornNameTaken(text, "Leaf")) << "text after a zero byte is not searched";
    leaf.name = "Stone";
    control.append(FormatRecord(leaf));
    control.close();

    const std::string block = "\r\n\r\nVornName:%\r\nVornFile:Leaf.vrn\r\nStepSize:250\r\nVornsAcross:3\r\n"
                              "VornsDown:2\r\nVornPlacementMode:0\r\nVornSelectionMode:0\r\n\r\n";
    auto named = [&block](const std::string& name) {
        std::string b = block;
        return b.replace(b.find('%'), 1, name);
    };
    EXPECT_EQ(prefix.readFile("Vorns/Vorns.ctl"), before + named("Leaf") + named("Stone"));
}

TEST(ControlFile, EmptyFileGetsItsFirstBlockAtOffsetZero)
{
    ThrowawayPrefix prefix;
    prefix.writeFile("Vorns/Vorns.ctl", "");
    ControlFile control("C:\\Vorns");
    EXPECT_FALSE(IsVornNameTaken(control.text(), ""));
    control.append(FormatRecord({"Leaf", "Leaf.vrn", "250", "3", "2", "0", "0"}));
    // A later entry of the same run sees the block in its read-back.
    EXPECT_TRUE(IsVornNameTaken(control.text(), "Leaf"));
    control.close();
    EXPECT_EQ(prefix.readFile("Vorns/Vorns.ctl").substr(0, 19), "\r\n\r\nVornName:Leaf\r\n");
}

TEST(ControlFile, OpenNeverCreates)
{
    ThrowawayPrefix prefix;
    prefix.makeFolder("Vorns");
    EXPECT_THROW(ControlFile("C:\\Vorns"), FileException);
    EXPECT_FALSE(prefix.exists("Vorns/Vorns.ctl"));
}

TEST(ControlFile, ABlockThatDoesNotFitLeavesNoByteBehind)
{
    ThrowawayPrefix prefix;
    // 96 bytes free in the file's last page, and no page more: a block of
    // 100 bytes would be written in part.
    const std::string before(4000, 'x');
    const auto folder = prefix.mountFullDisk("Vorns", {{"Vorns.ctl", before}}, 0);
    if (!folder)
        GTEST_SKIP() << "this process may not mount a small file system";
    ControlFile control(*folder);
    try {
        control.append(std::string(96, 'R'));
        ADD_FAILURE() << "the block was appended";
    } catch (const FileException& error) {
        EXPECT_EQ(std::string(error.what()), *folder + "\\Vorns.ctl: " + kDiskFullText);
    }
    control.close();
    EXPECT_EQ(readDiskFile(prefix.diskPathOf(*folder + "\\Vorns.ctl")), before);
}

TEST(ControlFile, OnlyAControlFileOfARealSizeIsRead)
{
    ThrowawayPrefix prefix;
    const struct {
        off_t size;
        bool read;
    } rows[] = {{off_t(64) << 20, true}, {(off_t(64) << 20) + 1, false}, {off_t(1) << 30, false}};
    for (const auto& row : rows) {
        prefix.writeFile("Vorns/Vorns.ctl", "");
        ASSERT_EQ(::truncate(prefix.onDriveC("Vorns/Vorns.ctl").c_str(), row.size), 0) << "sparse";
        ControlFile control("C:\\Vorns");
        try {
            EXPECT_EQ(off_t(control.text().size()), row.size);
            EXPECT_TRUE(row.read) << row.size << " bytes were read";
        } catch (const FileException& error) {
            EXPECT_FALSE(row.read) << row.size << " bytes were not read";
            EXPECT_STREQ(error.what(), "C:\\Vorns\\Vorns.ctl: larger than 64 MB");
        }
        control.close();
    }
}

namespace {

bool plainSearchFinds(const std::string& text, const std::string& name)
{
    return text.find("VornName:" + name + "\r\n") != std::string::npos;
}

} // namespace

TEST(ControlText, NameTableAgreesWithThePlainSearchAsTheTextGrows)
{
    // Thousands of short records, arriving in pieces that cut lines and
    // keys anywhere, as a long run's read-backs and appends bring them.
    std::string all;
    for (int i = 0; i < 3000; ++i)
        all += "VornName:N" + std::to_string(i) + "\r\nVornFile:N.vrn\r\n";
    ControlText text;
    std::string arrived;
    for (std::size_t at = 0; at < all.size();) {
        const std::size_t piece = std::min<std::size_t>(all.size() - at, 1 + (at * 7919) % 97);
        std::copy_n(all.data() + at, piece, text.tail(piece));
        text.grow(piece);
        arrived.append(all, at, piece);
        at += piece;
        if (at % 5 != 0 && at != all.size())
            continue;
        for (const std::string name : {"N0", "N1", "N299", "N2999", "N3000", "N", "N29", "N.vrn"})
            ASSERT_EQ(text.listsName(name), plainSearchFinds(arrived, name)) << name << " at " << at;
    }
    for (int i = 0; i < 3000; ++i)
        ASSERT_TRUE(text.listsName("N" + std::to_string(i))) << i;
}

TEST(ControlText, AnUnfinishedLastLineCountsOnceItsLineEndArrives)
{
    ControlText text("\r\nVornName:X");
    EXPECT_FALSE(text.listsName("X")) << "no line end yet";
    const std::string block = "\r\n\r\nVornName:Y\r\n";
    std::copy(block.begin(), block.end(), text.tail(block.size()));
    text.grow(block.size());
    EXPECT_TRUE(text.listsName("X"));
    EXPECT_TRUE(text.listsName("Y"));
}
