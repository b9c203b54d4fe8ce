#pragma once

#include "linux/prefixes/prefix_search.h"

#include <QDialog>

#include <optional>
#include <string>
#include <vector>

class QTreeWidget;

// "Choose the Wine prefix": one row for each prefix that holds Corvane, with
// where it comes from and its name, its path and when it was last used; the
// most recently used is selected. OK, Enter or a double-click takes the
// selected one; Cancel, Escape or the close box take none.
class CPrefixDlg : public QDialog {
public:
    explicit CPrefixDlg(std::vector<PrefixSearch::Prefix> prefixes, QWidget* parent = nullptr);

    // The prefix chosen; nothing when the dialog was cancelled.
    std::optional<PrefixSearch::Prefix> chosen() const;

private:
    std::vector<PrefixSearch::Prefix> m_prefixes;
    QTreeWidget* m_list;
};

// Picks the Wine prefix to work in, before any window: $WINEPREFIX when
// set; else the one prefix that holds Corvane; else, when several do, the
// one the user chooses in the dialog above (false when the user cancels:
// the program ends without touching anything); else ~/.wine.
bool ChooseWinePrefix(const PrefixSearch::Places& places);
// The prefix named on the command line when there is one, else the choice.
bool UseWinePrefix(const std::string& given);
