#include "host/vorns_folder.h"
#include "platform/registry.h"
#include "support/throwaway_prefix.h"

#include <gtest/gtest.h>

// The registration as every backend reads it: HKEY_CLASSES_ROOT's open
// command for Corvane's images, and the Vorns folder it leads to.
TEST(Registration, TheOpenCommandLeadsToTheVornsFolder)
{
    ThrowawayPrefix prefix;
    std::vector<std::string> problems;
    EXPECT_FALSE(Registry::QueryClassesRootDefault("CRV5.Image\\shell\\open\\command", &problems));
    EXPECT_FALSE(RegisteredVornsFolder());
    EXPECT_EQ(problems, std::vector<std::string>()) << "a key that is not there is no problem";
    prefix.installHost();
    EXPECT_EQ(Registry::QueryClassesRootDefault("crv5.image\\SHELL\\open\\command"), "C:\\Corvane\\Corvane.exe %1");
    EXPECT_EQ(RegisteredVornsFolder(), "c:\\Corvane\\Vorns\\");
    prefix.makeFolder("Elsewhere");
    prefix.registerHost("C:\\Elsewhere\\Corvane.exe %1");
    EXPECT_FALSE(RegisteredVornsFolder()) << "a folder without Vorns.ctl is none";
    // A folder named beyond ASCII, as the code page spells it.
    const std::string folder = std::string("R") + kSmallEAcute + "sum" + kSmallEAcute + " Vorns";
    prefix.writeFile(folder + "/Corvane/Vorns/Vorns.ctl", "");
    prefix.registerHost("C:\\" + folder + "\\Corvane\\Corvane.exe %1");
    EXPECT_EQ(RegisteredVornsFolder(), "c:\\" + folder + "\\Corvane\\Vorns\\");
    // As installers write it today: the program's path quoted.
    prefix.writeFile("Program Files/Corvane 5/Vorns/Vorns.ctl", "");
    prefix.registerHost("\"C:\\Program Files\\Corvane 5\\Corvane.exe\" \"%1\"");
    EXPECT_EQ(RegisteredVornsFolder(), "c:\\Program Files\\Corvane 5\\Vorns\\");
}
