#include "install/name_proposals.h"
#include "support/throwaway_prefix.h"

#include <gtest/gtest.h>

TEST(ProposeVornName, FirstNumberNotListed)
{
    const std::string listed = "VornName:Leaf\r\nVornName:Leaf2\r\nVornName:Leaf3\r\n";
    EXPECT_EQ(ProposeVornName(listed, "Leaf"), "Leaf4");
    EXPECT_EQ(ProposeVornName("VornName:Leaf\r\nVornName:Leaf3\r\n", "Leaf"), "Leaf2");
    EXPECT_EQ(ProposeVornName("VornName:2\r\nVornName:3\r\n", ""), "4");
    EXPECT_EQ(ProposeVornName("", ""), "2");
    // Only the exact line counts: no leading zero, no bare LF, no longer name.
    EXPECT_EQ(ProposeVornName("VornName:Leaf02\r\nVornName:Leaf2\nVornName:Leaf23\r\n", "Leaf"), "Leaf2");
    // A match inside a line counts, as the plain search finds it.
    EXPECT_EQ(ProposeVornName("xVornName:Leaf2\r\n", "Leaf"), "Leaf3");
    // Listed numbers too big for 32 bits neither overflow nor wrap round.
    EXPECT_EQ(ProposeVornName("VornName:Leaf9999999999\r\n", "Leaf"), "Leaf2");
    EXPECT_EQ(ProposeVornName("VornName:Leaf2\r\nVornName:Leaf4294967299\r\n", "Leaf"), "Leaf3");
    EXPECT_EQ(ProposeVornName("VornName:Leaf2\r\nVornName:Leaf18446744073709551619\r\n", "Leaf"), "Leaf3");
    // Names stand in the file in cp1252, whatever the program's own text.
    const std::string cafe = "Caf" + std::string(kSmallEAcute);
    EXPECT_EQ(ProposeVornName("VornName:Caf\xE9"
                              "2\r\n",
                              cafe),
              cafe + "3");
}

TEST(ProposeVornName, ManyListedNamesAgreeWithThePlainSearch)
{
    std::string text;
    for (int n = 2; n <= 5001; ++n)
        text += "VornName:Leaf" + std::to_string(n) + "\r\n";
    EXPECT_EQ(ProposeVornName(text, "Leaf"), "Leaf5002");
}

TEST(ProposeFileName, NumberGoesBeforeTheLastDotOfTheGivenName)
{
    ThrowawayPrefix prefix;
    prefix.writeFile("Vorns/Leaf.vrn", "");
    prefix.writeFile("Vorns/Leaf2.vrn", "");
    prefix.writeFile("Vorns/Leaf.old.vrn", "");
    prefix.writeFile("Vorns/Leaf", "");
    prefix.writeFile("Vorns/2Leaf", "");
    prefix.makeFolder("Vorns/Stone.vrn");
    prefix.writeFile("Vorns/FERN.VRN", "");
    EXPECT_EQ(ProposeFileName("C:\\Vorns", "Leaf.vrn"), "Leaf3.vrn");
    EXPECT_EQ(ProposeFileName("C:\\Vorns", "Leaf.old.vrn"), "Leaf.old2.vrn");
    EXPECT_EQ(ProposeFileName("C:\\Vorns", "Leaf"), "3Leaf");
    EXPECT_EQ(ProposeFileName("C:\\Vorns", "Stone.vrn"), "Stone2.vrn") << "a folder counts";
    EXPECT_EQ(ProposeFileName("C:\\Vorns", "Fern.vrn"), "Fern2.vrn") << "case is ignored";
    EXPECT_EQ(ProposeFileName("C:\\Vorns", "Free.vrn"), "Free.vrn");
}
