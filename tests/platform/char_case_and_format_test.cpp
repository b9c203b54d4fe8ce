#include "char_case.h"
#include "resource_ids.h"
#include "string_table.h"
#include "text_format.h"

#include <gtest/gtest.h>

TEST(CharCase, ChangesAsciiLettersOnly)
{
    char text[] = "Ab_9\xc3\xa9z";
    CharCase::upperInPlace(text);
    EXPECT_STREQ(text, "AB_9\xc3\xa9Z");
    CharCase::lowerInPlace(text);
    EXPECT_STREQ(text, "ab_9\xc3\xa9z");
    EXPECT_TRUE(CharCase::equalIgnoringCase("Vorns.CTL", "vorns.ctl"));
    EXPECT_FALSE(CharCase::equalIgnoringCase("Vorns.ctl", "Vorns.ct"));
}

TEST(FormatText, SubstitutesArgumentsAsData)
{
    EXPECT_EQ(FormatText(LoadString(IDS_CREATING), {"Leaf", "Leaf.vrn"}),
              "Creating new Vorn file Leaf(Leaf.vrn)");
    // A '%' in a name is shown, never read as a placeholder.
    EXPECT_EQ(FormatText("%s(%s) %d%%", {"100%s", "%d.vrn", 7}), "100%s(%d.vrn) 7%");
    EXPECT_EQ(FormatText("Error while installing vorn file %d of %d.\n%s", {0u, 0u, "x"}),
              "Error while installing vorn file 0 of 0.\nx");
    // Missing arguments leave nothing behind.
    EXPECT_EQ(FormatText("a%sb", {}), "ab");
}

TEST(StringTable, KeepsTheProgramsTextsExactly)
{
    EXPECT_EQ(LoadString(IDS_DEFAULT_FOLDER), "C:\\Program Files\\Corvane 5\\Vorns");
    EXPECT_EQ(LoadString(IDS_FILETYPE_KEY), "CRV5.Image\\shell\\open\\command");
    EXPECT_EQ(FormatText(LoadString(IDS_DONE), {2, "Fern, Stars."}),
              "Done installing 2 vorn files.\rFern, Stars.\r\rPress the Exit button to exit.\r\r\r"
              "Enjoy your quenna!  ");
    EXPECT_EQ(LoadString(9999), "");
}
