#include "app/quillop_app.h"

#include "app/quillop_dlg.h"
#include "host/prefix_choice.h"
#include "host/prefix_dialog.h"
#include "host/vorns_folder.h"
#include "platform/text_format.h"
#include "res/resource_ids.h"
#include "res/string_table.h"

#include "platform/wine_prefix.h"
#include <iostream>

CQuillopApp theApp;

bool CQuillopApp::InitInstance()
{
    if (!m_givenPrefix.empty())
        WinePrefix::use(m_givenPrefix);
    else if (!ChooseWinePrefix())
        return false;
    if (!m_givenFolder.empty() && !IsVornsFolder(m_givenFolder)) {
        std::cerr << FormatText(LoadString(IDS_NOT_FOUND), {m_givenFolder}) << "\n";
        m_exitCode = 3;
        return false;
    }
    CQuillopDlg dialog;
    dialog.m_strGivenFolder = m_givenFolder;
    m_pMainWnd = &dialog;
    Dialog::setMainWindow(&dialog);
    dialog.DoModal();
    Dialog::setMainWindow(nullptr);
    m_pMainWnd = nullptr;
    // The dialog was the whole program: no event loop follows.
    return false;
}

bool CQuillopApp::ChooseWinePrefix(const PrefixSearch::Places& places)
{
    // $WINEPREFIX names the one prefix to use, as for every Wine program.
    if (WinePrefix::givenByEnvironment())
        return true;
    const std::vector<PrefixSearch::Prefix> withHost = PrefixesWithHost(PrefixSearch::FindPrefixes(places));
    if (withHost.empty())
        return true; // ~/.wine, the default folder and the chooser
    if (withHost.size() == 1) {
        WinePrefix::use(withHost.front().path);
        return true;
    }
    CPrefixDlg chooser(withHost);
    chooser.exec();
    const auto chosen = chooser.chosen();
    if (!chosen)
        return false;
    WinePrefix::use(chosen->path);
    return true;
}
