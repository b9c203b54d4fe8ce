#include "platform/char_case.h"
#include "platform/text_format.h"

#include <gtest/gtest.h>

TEST(CharCase, SimpleUnicodeMappingOfTheBasicPlane)
{
    EXPECT_EQ(CharCase::upper("Ab_9r\xc3\xa9sum\xc3\xa9z"), "AB_9R\xc3\x89SUM\xc3\x89Z");
    EXPECT_EQ(CharCase::lower("AB_9R\xc3\x89SUM\xc3\x89Z"), "ab_9r\xc3\xa9sum\xc3\xa9z");
    EXPECT_EQ(CharCase::upper("stra\xc3\x9f"
                              "e"),
              "STRA\xc3\x9f"
              "E")
        << "simple mapping: no SS";
    EXPECT_EQ(CharCase::lower("\xc8\xba"), "\xe2\xb1\xa5") << "U+023A lowers to three bytes";
    EXPECT_EQ(CharCase::upper("\xd0\xb6"), "\xd0\x96") << "Cyrillic";
    EXPECT_EQ(CharCase::upper("\xf0\x90\x90\xa8"), "\xf0\x90\x90\xa8") << "no case outside the plane";
    EXPECT_EQ(CharCase::upper("a\xff\xc3"
                              "b\xe9"),
              "A\xff\xc3"
              "B\xe9")
        << "invalid bytes stay";
    EXPECT_EQ(CharCase::upperFirst("\xc3\xa9"
                                   "cole"),
              "\xc3\x89"
              "cole");
    EXPECT_EQ(CharCase::upperFirst(""), "");
    // Only mappings that go both ways, as in Windows' tables: dotless i,
    // final sigma and the Kelvin sign keep their case.
    EXPECT_EQ(CharCase::upper("\xc4\xb1\xcf\x82"), "\xc4\xb1\xcf\x82");
    EXPECT_EQ(CharCase::lower("\xe2\x84\xaa\xc4\xb0"), "\xe2\x84\xaa\xc4\xb0");
    EXPECT_EQ(CharCase::upper("\xcf\x83"), "\xce\xa3") << "sigma goes both ways";
    EXPECT_FALSE(CharCase::equalIgnoringCase("PROGRAMI", "programi\xc4\xb1"));
    EXPECT_FALSE(CharCase::equalIgnoringCase("\xce\xa3", "\xcf\x82"));
    EXPECT_TRUE(CharCase::equalIgnoringCase("Vorns.CTL", "vorns.ctl"));
    EXPECT_TRUE(CharCase::equalIgnoringCase("R\xc3\x89SUM\xc3\x89", "r\xc3\xa9sum\xc3\xa9"));
    EXPECT_FALSE(CharCase::equalIgnoringCase("Vorns.ctl", "Vorns.ct"));
    EXPECT_FALSE(CharCase::equalIgnoringCase("\xf0\x90\x90\xa8", "\xf0\x90\x90\x80"));
    EXPECT_FALSE(CharCase::equalIgnoringCase("a\xff", "a\xfe"));
}

TEST(FormatText, SubstitutesArgumentsAsData)
{
    EXPECT_EQ(FormatText("Creating new Vorn file %s(%s)", {"Leaf", "Leaf.vrn"}),
              "Creating new Vorn file Leaf(Leaf.vrn)");
    // A '%' in a name is shown, never read as a placeholder.
    EXPECT_EQ(FormatText("%s(%s) %d%%", {"100%s", "%d.vrn", 7}), "100%s(%d.vrn) 7%");
    EXPECT_EQ(FormatText("Error while installing vorn file %d of %d.\n%s", {0u, 0u, "x"}),
              "Error while installing vorn file 0 of 0.\nx");
    // Missing arguments leave nothing behind.
    EXPECT_EQ(FormatText("a%sb", {}), "ab");
}
