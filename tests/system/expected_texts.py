"""The window's texts as a screen reader reads them (line ends as LF),
written out here rather than read back from the program."""


def ready_text(folder):
    return ("Thank-you for downloading the Quenna Picture Vorn collection.  \n\n"
            "The Quenna Vorns will be installed to the directory\n    \"%s\".\n\n"
            "Click the Browse button to choose a new directory or the Install button to begin installation.  "
            % folder)


def not_found_text(folder):
    return ("Thank-you for downloading the Quenna Picture Vorn collection.  \n\n"
            "The Quenna Vorns cannot be installed to the directory\n    \"%s\"\n"
            "because it does not exist or does not contain a Vorn Control (Vorns.ctl) file.  \n"
            "The directory should be a subdirectory of the Corvane folder named Vorns that contains a file "
            "named Vorns.ctl.\n\nClick the Browse button to choose a valid directory.  " % folder)
