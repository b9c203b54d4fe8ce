// Every text of the string table against the one written here, on each
// backend: compiled in on Linux, LoadStringA over the STRINGTABLE on Windows.
#include "platform/string_resources.h"
#include "platform/text_format.h"

#include <gtest/gtest.h>

TEST(Resources, StringTable)
{
    const std::vector<std::pair<int, std::string>> table = {
        {101, "&About Quillop..."},
        {102, "CRV5.Image\\shell\\open\\command"},
        {103, "Choose the Vorns folder.  This should be a folder in the Corvane folder named Vorns."},
        {104, "C:\\Program Files\\Corvane 5\\Vorns"},
        {105, "Vorns.ctl"},
        {107, "Finding Corvane and Vorns control file."},
        {116, "Creating new Vorn file %s(%s)"},
        {117, "IDR_VRN%d"},
        {118, "IDR_CTL%d"},
        {1000,
         "Thank-you for downloading the Quenna Picture Vorn collection.  \r\rThe Quenna Vorns will be installed "
         "to the directory\r    \"%s\".\r\rClick the Browse button to choose a new directory or the Install "
         "button to begin installation.  "},
        {1001,
         "Thank-you for downloading the Quenna Picture Vorn collection.  \r\rThe Quenna Vorns cannot be "
         "installed to the directory\r    \"%s\"\rbecause it does not exist or does not contain a Vorn Control "
         "(Vorns.ctl) file.  \rThe directory should be a subdirectory of the Corvane folder named Vorns that "
         "contains a file named Vorns.ctl.\r\rClick the Browse button to choose a valid directory.  "},
        {1002, "Done installing %d vorn files.\r%s\r\rPress the Exit button to exit.\r\r\rEnjoy your quenna!  "},
        {1003,
         "The character \"%s\" cannot be stored in Vorns.ctl, where Corvane lists its Vorns.\nPlease enter a "
         "name without it."},
        {1004, "Quillop"},
        {1005, "File error while installing vorn file %d of %d."},
        {1006, "Error while installing vorn file %d of %d.\n%s"},
        {1007, "Can't find vorn."},
        {1008, "Can't load vorn."},
        {1009, "Can't find Corvane."},
        {1010, "Can't find Vorns.ctl."},
        {1011, "Invalid file."},
        {1012, "Unknown error."},
        {1013, "Status"},
        {1014, "Installation progress"},
        {1015, "Quillop icon"},
        {1016, "New name"},
        {0xEF20, "Mi&nimize"},
        {0xEF60, "&Close"},
        {106, ""},
        {1017, ""},
        {9999, ""},
    };
    // The table is read by literal id, and each text compared with the one written above.
    for (const auto& [id, text] : table)
        EXPECT_EQ(LoadString(id), text) << id;
    EXPECT_EQ(
        FormatText(LoadString(1002), {2, "Fern, Stars."}),
        "Done installing 2 vorn files.\rFern, Stars.\r\rPress the Exit button to exit.\r\r\rEnjoy your quenna!  ");
}
