#pragma once

#include <string>

// The texts the window shows, written out here rather than read back
// through the program's string table, with line ends as the table has them.
inline std::string readyText(const std::string& folder)
{
    return "Thank-you for downloading the Quenna Picture Vorn collection.  \r\rThe Quenna Vorns will be installed to "
           "the directory\r    \""
        + folder
        + "\".\r\rClick the Browse button to choose a new directory or the Install button to begin installation.  ";
}

inline std::string notFoundText(const std::string& folder)
{
    return "Thank-you for downloading the Quenna Picture Vorn collection.  \r\rThe Quenna Vorns cannot be installed "
           "to the directory\r    \""
        + folder
        + "\"\rbecause it does not exist or does not contain a Vorn Control (Vorns.ctl) file.  \rThe directory should "
          "be a subdirectory of the Corvane folder named Vorns that contains a file named Vorns.ctl.\r\rClick the "
          "Browse button to choose a valid directory.  ";
}

inline std::string doneText(int count, const std::string& list)
{
    return "Done installing " + std::to_string(count) + " vorn files.\r" + list
        + "\r\rPress the Exit button to exit.\r\r\rEnjoy your quenna!  ";
}
