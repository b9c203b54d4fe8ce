#include "app/quillop_app.h"
#include "app/quillop_dlg.h"
#include "host/dir_dialog.h"
#include "platform/linux/dialogs/dialog_window.h"
#include "platform/linux/dialogs/folder_picker.h"
#include "platform/linux/short_name.h"
#include "platform/string_resources.h"
#include "platform/text_format.h"
#include "res/resource_ids.h"
#include "support/expected_texts.h"
#include "support/modal_script.h"
#include "support/throwaway_prefix.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>

#include <gtest/gtest.h>

class DiscoveryTest : public ::testing::Test {
protected:
    DiscoveryTest() { Dialog::setMainWindow(&dialog); }
    ~DiscoveryTest() override { Dialog::setMainWindow(nullptr); }

    // Answers a chooser, which must open with `selected` selected, by
    // choosing `folder`, or by cancelling when it is empty.
    ModalScript::Step chooser(const std::string& selected, const std::string& folder = "")
    {
        return [this, selected, folder](QWidget* modal) {
            auto* picker = dynamic_cast<FolderPicker*>(modal);
            ASSERT_NE(picker, nullptr) << modal->windowTitle().toStdString();
            EXPECT_EQ(picker->windowTitle(), "Browse for Folder");
            EXPECT_EQ(picker->findChild<QLabel*>()->text(),
                      "Choose the Vorns folder.  This should be a folder in the Corvane folder named Vorns.");
            EXPECT_EQ(picker->selectedFolder(), selected);
            EXPECT_EQ(picker->parentWidget(), windowOf(dialog));
            if (folder.empty()) {
                picker->reject();
                return;
            }
            picker->selectNearest(folder);
            clickButton(picker, "OK");
        };
    }

    // Runs the main dialog; `check` sees it once shown, then it exits.
    void run(const std::function<void()>& check)
    {
        script.then([this, check](QWidget* shown) {
            EXPECT_EQ(shown, windowOf(dialog));
            check();
            dialog.EndDialog(IDOK);
        });
        dialog.DoModal();
    }

    void expectFound(const std::string& folder)
    {
        EXPECT_EQ(dialog.m_strVornsFolder, folder);
        EXPECT_EQ(dialog.GetDlgItemText(IDC_STATUS), readyText(folder));
        EXPECT_TRUE(dialog.GetDlgItem(IDC_INSTALL).IsWindowEnabled());
        EXPECT_EQ(windowOf(dialog)->focusWidget(), widgetOf(dialog.GetDlgItem(IDC_INSTALL)));
    }

    void expectNotFound(const std::string& folder)
    {
        EXPECT_EQ(dialog.m_strVornsFolder, folder);
        EXPECT_EQ(dialog.GetDlgItemText(IDC_STATUS), notFoundText(folder));
        EXPECT_FALSE(dialog.GetDlgItem(IDC_INSTALL).IsWindowEnabled());
    }

    const std::string kDefault = "C:\\Program Files\\Corvane 5\\Vorns";
    ThrowawayPrefix prefix;
    CQuillopDlg dialog;
    ModalScript script;
};

TEST_F(DiscoveryTest, ShortRegisteredPathGivesTheLongFolder)
{
    prefix.writeFile("Program Files/Corvane 5/Vorns/Vorns.ctl", "");
    prefix.registerHost("C:\\PROGRA~1\\CORVAN~1\\CORVANE.EXE %1");
    run([this] { expectFound("c:\\Program Files\\Corvane 5\\Vorns\\"); });
}

TEST_F(DiscoveryTest, WinesHashedAliasesWorkToo)
{
    prefix.writeFile("PROGRAM FILES/Corvane 5/VORNS/Vorns.ctl", "");
    prefix.registerHost("c:\\" + ShortName::wineAlias("PROGRAM FILES") + "\\" + ShortName::wineAlias("Corvane 5")
                        + "\\corvane.exe %1");
    run([this] { expectFound("c:\\Program files\\Corvane 5\\Vorns\\"); });
}

TEST_F(DiscoveryTest, QuotedProgramPathGivesItsFolder)
{
    prefix.writeFile("Program Files/Corvane 5/Vorns/Vorns.ctl", "");
    prefix.registerHost("\"C:\\Program Files\\Corvane 5\\Corvane.exe\" \"%1\"");
    run([this] { expectFound("c:\\Program Files\\Corvane 5\\Vorns\\"); });
}

TEST_F(DiscoveryTest, CommandWithoutSpaceMeansVornsInTheCurrentFolder)
{
    prefix.writeFile("Here/Vorns/Vorns.ctl", "");
    prefix.registerHost("Corvane.exe");
    const QString previous = QDir::currentPath();
    QDir::setCurrent(QString::fromStdString(prefix.onDriveC("Here")));
    run([this] { expectFound("Vorns\\"); });
    QDir::setCurrent(previous);
}

TEST_F(DiscoveryTest, TwoCancelsLeaveInstallDisabled)
{
    prefix.makeFolder("Program Files/Corvane 5/Vorns");
    script.then(chooser(kDefault)).then(chooser(kDefault));
    run([this] {
        expectNotFound(kDefault);
        EXPECT_EQ(windowOf(dialog)->focusWidget(), widgetOf(dialog.GetDlgItem(IDC_BROWSE)));
    });
}

TEST_F(DiscoveryTest, CancelThenChooseAGoodFolder)
{
    prefix.writeFile("Good/Vorns/Vorns.ctl", "");
    script.then(chooser("C:\\")).then(chooser("C:\\", "C:\\Good\\Vorns"));
    run([this] { expectFound("C:\\Good\\Vorns"); });
}

TEST_F(DiscoveryTest, BrowseChecksEveryChoice)
{
    prefix.installHost();
    prefix.makeFolder("Empty");
    prefix.writeFile("Good/Vorns/Vorns.ctl", "");
    run([this] {
        script.then(chooser("C:\\Corvane\\Vorns", "C:\\Empty"));
        clickItem(windowOf(dialog), IDC_BROWSE);
        expectNotFound("C:\\Empty");

        script.then(chooser("C:\\Empty"));
        clickItem(windowOf(dialog), IDC_BROWSE);
        expectNotFound("C:\\Empty");

        script.then(chooser("C:\\Empty", "C:\\Good\\Vorns"));
        clickItem(windowOf(dialog), IDC_BROWSE);
        expectFound("C:\\Good\\Vorns");

        script.then(chooser("C:\\Good\\Vorns", ""));
        CDirDialog chooser("C:\\Good\\Vorns", nullptr);
        EXPECT_EQ(chooser.GetPath(), "C:\\Good\\Vorns");
        EXPECT_EQ(static_cast<int>(chooser.DoBrowse()), 2);
        EXPECT_EQ(chooser.GetPath(), "C:\\Good\\Vorns");
        EXPECT_EQ(chooser.m_strTitle,
                  "Choose the Vorns folder.  This should be a folder in the Corvane folder named Vorns.");
    });
}

TEST(StartToFinish, InstallsWhereTheHostWillFindThem)
{
    ThrowawayPrefix prefix;
    prefix.writeFile("Program Files/Corvane 5/Vorns/Vorns.ctl", "");
    prefix.writeFile("Program Files/Corvane 5/Corvane.exe", "");
    prefix.registerHost("C:\\PROGRA~1\\CORVAN~1\\CORVANE.EXE \"%1\"");
    ModalScript script;
    std::string status;
    script.then([&](QWidget* shown) {
        Dialog* main = dialogOf(shown);
        EXPECT_EQ(Dialog::mainWindow(), main);
        pressKey(shown, Qt::Key_Return);
        status = main->GetDlgItemText(IDC_STATUS);
        pressKey(shown, Qt::Key_Return);
    });
    EXPECT_FALSE(theApp.InitInstance());
    EXPECT_EQ(status.substr(0, 31), "Done installing 8 vorn files.\rF");
    const QDir vorns(QString::fromStdString(prefix.onDriveC("Program Files/Corvane 5/Vorns")));
    EXPECT_EQ(vorns.entryList({QStringLiteral("*.vrn")}, QDir::Files).size(), 8);
}

TEST_F(DiscoveryTest, BrowseChecksTheFolderAgainAfterACancel)
{
    prefix.installHost();
    prefix.makeFolder("Later");
    run([this] {
        script.then(chooser("C:\\Corvane\\Vorns", "C:\\Later"));
        clickItem(windowOf(dialog), IDC_BROWSE);
        expectNotFound("C:\\Later");
        // The control file appears while the chooser is open; cancelling
        // still checks the folder again.
        script.then([this](QWidget* modal) {
            prefix.writeFile("Later/Vorns.ctl", "");
            static_cast<QDialog*>(modal)->reject();
        });
        clickItem(windowOf(dialog), IDC_BROWSE);
        EXPECT_EQ(dialog.GetDlgItemText(IDC_STATUS),
                  "Thank-you for downloading the Quenna Picture Vorn collection.  \r\rThe Quenna Vorns will be "
                  "installed to the directory\r    \"C:\\Later\".\r\rClick the Browse button to choose a new "
                  "directory or the Install button to begin installation.  ");
        EXPECT_TRUE(dialog.GetDlgItem(IDC_INSTALL).IsWindowEnabled());
    });
}
