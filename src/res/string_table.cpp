#include "res/string_table.h"

#include "res/resource_ids.h"

const std::map<int, StringResource>& StringTable()
{
    static const std::map<int, StringResource> table = {
        {IDS_ABOUTBOX, {"IDS_ABOUTBOX", "&About Quillop..."}},
        {IDS_FILETYPE_KEY, {"IDS_FILETYPE_KEY", "CRV5.Image\\shell\\open\\command", Untranslated}},
        {IDS_BROWSE_TITLE,
         {"IDS_BROWSE_TITLE", "Choose the Vorns folder.  This should be a folder in the Corvane folder named Vorns."}},
        {IDS_DEFAULT_FOLDER, {"IDS_DEFAULT_FOLDER", "C:\\Program Files\\Corvane 5\\Vorns", Untranslated}},
        {IDS_CONTROL_FILE, {"IDS_CONTROL_FILE", "Vorns.ctl", Untranslated}},
        {IDS_FINDING, {"IDS_FINDING", "Finding Corvane and Vorns control file."}},
        {IDS_CREATING, {"IDS_CREATING", "Creating new Vorn file %s(%s)"}},
        {IDS_VRN_RESOURCE, {"IDS_VRN_RESOURCE", "IDR_VRN%d", Untranslated}},
        {IDS_CTL_RESOURCE, {"IDS_CTL_RESOURCE", "IDR_CTL%d", Untranslated}},
        {IDS_READY,
         {"IDS_READY",
          "Thank-you for downloading the Quenna Picture Vorn collection.  \r\r"
          "The Quenna Vorns will be installed to the directory\r    \"%s\".\r\r"
          "Click the Browse button to choose a new directory or the Install button to begin "
          "installation.  "}},
        {IDS_NOT_FOUND,
         {"IDS_NOT_FOUND",
          "Thank-you for downloading the Quenna Picture Vorn collection.  \r\r"
          "The Quenna Vorns cannot be installed to the directory\r    \"%s\"\r"
          "because it does not exist or does not contain a Vorn Control (Vorns.ctl) file.  \r"
          "The directory should be a subdirectory of the Corvane folder named Vorns that contains "
          "a file named Vorns.ctl.\r\r"
          "Click the Browse button to choose a valid directory.  "}},
        {IDS_DONE,
         {"IDS_DONE",
          "Done installing %d vorn files.\r%s\r\rPress the Exit button to exit.\r\r\r"
          "Enjoy your quenna!  "}},
        {IDS_UNSTORABLE_CHARACTER,
         {"IDS_UNSTORABLE_CHARACTER",
          "The character \"%s\" cannot be stored in Vorns.ctl, where Corvane lists its Vorns.\n"
          "Please enter a name without it."}},
        {IDS_WARNING_TITLE, {"IDS_WARNING_TITLE", "Quillop", Untranslated}},
        {IDS_FILE_ERROR, {"IDS_FILE_ERROR", "File error while installing vorn file %d of %d."}},
        {IDS_ENTRY_ERROR, {"IDS_ENTRY_ERROR", "Error while installing vorn file %d of %d.\n%s"}},
        {IDS_CANT_FIND_VORN, {"IDS_CANT_FIND_VORN", "Can't find vorn."}},
        {IDS_CANT_LOAD_VORN, {"IDS_CANT_LOAD_VORN", "Can't load vorn."}},
        {IDS_CANT_FIND_HOST, {"IDS_CANT_FIND_HOST", "Can't find Corvane."}},
        {IDS_CANT_FIND_CONTROL_FILE, {"IDS_CANT_FIND_CONTROL_FILE", "Can't find Vorns.ctl."}},
        {IDS_INVALID_FILE, {"IDS_INVALID_FILE", "Invalid file."}},
        {IDS_UNKNOWN_ERROR, {"IDS_UNKNOWN_ERROR", "Unknown error."}},
        {IDS_NAME_STATUS, {"IDS_NAME_STATUS", "Status"}},
        {IDS_NAME_PROGRESS, {"IDS_NAME_PROGRESS", "Installation progress"}},
        {IDS_NAME_ICON, {"IDS_NAME_ICON", "Quillop icon"}},
        {IDS_NAME_NEW_NAME, {"IDS_NAME_NEW_NAME", "New name"}},
        {IDS_SC_MINIMIZE, {"IDS_SC_MINIMIZE", "Mi&nimize"}},
        {IDS_SC_CLOSE, {"IDS_SC_CLOSE", "&Close"}},
    };
    return table;
}
