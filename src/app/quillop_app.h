#pragma once

#include "platform/prefix_search.h"
#include "platform/win_app.h"

#include <string>

// The application: runs the main dialog and ends when it closes.
class CQuillopApp : public WinApp {
public:
    bool InitInstance() override;

    // Picks the Wine prefix to work in, before any window: $WINEPREFIX when
    // set; else the one prefix that holds Corvane; else, when several do,
    // the one the user chooses (false when the user cancels: the program
    // ends without touching anything); else ~/.wine.
    static bool ChooseWinePrefix(const PrefixSearch::Places& places = PrefixSearch::UserPlaces());

    // Named on the command line: the prefix (used instead of the choice)
    // and the Vorns folder (used instead of the search; without Vorns.ctl in
    // it the program ends with exit code 3 before any window).
    std::string m_givenPrefix;
    std::string m_givenFolder;
};

extern CQuillopApp theApp;
