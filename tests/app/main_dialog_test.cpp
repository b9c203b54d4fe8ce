#include "app/about_dlg.h"
#include "app/quillop_dlg.h"
#include "install/dup_file_name_dlg.h"
#include "install/dup_vorn_name_dlg.h"
#include "platform/linux/dialogs/dialog_window.h"
#include "platform/string_resources.h"
#include "platform/text_format.h"
#include "res/resource_ids.h"
#include "res/translations.h"
#include "support/expected_texts.h"
#include "support/modal_script.h"
#include "support/throwaway_prefix.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>

#include <set>

#include <gtest/gtest.h>

namespace {

// Every button shows its whole text and every label fits its text.
void expectNothingClipped(QWidget* dialog)
{
    for (const auto* button : dialog->findChildren<QPushButton*>())
        EXPECT_LE(button->sizeHint().width(), button->width() + 8) << button->text().toStdString();
    for (const auto* label : dialog->findChildren<QLabel*>()) {
        if (label->pixmap().isNull() && !label->text().isEmpty()) {
            const int needed = label->wordWrap() ? label->heightForWidth(label->width()) : label->sizeHint().height();
            EXPECT_LE(needed, label->height()) << label->text().toStdString();
            if (!label->wordWrap()) {
                EXPECT_LE(label->sizeHint().width(), label->width()) << label->text().toStdString();
            }
        }
        EXPECT_TRUE(dialog->rect().contains(label->geometry()));
    }
}

void saveScreenshot(QWidget* dialog, const char* name)
{
    QDir().mkpath(QStringLiteral(QUILLOP_SCREENSHOT_DIR));
    EXPECT_TRUE(dialog->grab().save(QStringLiteral(QUILLOP_SCREENSHOT_DIR "/") + QLatin1String(name)));
}

} // namespace

class MainDialogTest : public ::testing::Test {
protected:
    MainDialogTest()
    {
        prefix.installHost();
        Dialog::setMainWindow(&dialog);
    }
    ~MainDialogTest() override { Dialog::setMainWindow(nullptr); }

    DialogWindow* window() const { return windowOf(dialog); }
    QWidget* item(int id) const { return widgetOf(dialog.GetDlgItem(id)); }
    QProgressBar* progress() const { return qobject_cast<QProgressBar*>(widgetOf(dialog.m_progress)); }

    ThrowawayPrefix prefix;
    CQuillopDlg dialog;
    ModalScript script;
};

TEST_F(MainDialogTest, OpensWithItsControlsInPlace)
{
    script.then([this](QWidget* shown) {
        EXPECT_EQ(shown, window());
        EXPECT_EQ(window()->windowTitle(), "Ostrel Picture Vorn Installer");
        EXPECT_EQ(dialog.GetDlgItemText(IDC_STATUS), readyText("c:\\Corvane\\Vorns\\"));
        EXPECT_TRUE(progress()->isHidden());
        EXPECT_EQ(progress()->minimum(), 0);
        EXPECT_EQ(progress()->maximum(), 100);
        EXPECT_EQ(QApplication::focusWidget(), item(IDC_INSTALL));
        EXPECT_FALSE(window()->windowIcon().isNull());
        // Tab order: Install, Browse, Exit.
        EXPECT_EQ(item(IDC_INSTALL)->nextInFocusChain(), item(IDC_BROWSE));
        EXPECT_EQ(item(IDC_BROWSE)->nextInFocusChain(), item(IDOK));
        dialog.SetDlgItemText(IDC_STATUS, notFoundText("C:\\Program Files\\Corvane 5\\Vorns"));
        expectNothingClipped(window());
        saveScreenshot(window(), "main-dialog.png");
        clickItem(window(), IDOK);
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.m_strStatus.substr(0, 20), "Thank-you for downlo") << "the status is read back on OK";
}

TEST_F(MainDialogTest, WindowMenuOffersAboutMinimizeAndClose)
{
    script
        .then([this](QWidget*) {
            const auto actions = window()->systemMenu()->actions();
            ASSERT_EQ(actions.size(), 4);
            EXPECT_EQ(actions[0]->text(), "Mi&nimize");
            EXPECT_EQ(actions[1]->text(), "&Close");
            EXPECT_TRUE(actions[2]->isSeparator());
            EXPECT_EQ(actions[3]->text(), "&About Quillop...");
            actions[3]->trigger();
            // Close from the menu cancels, as the close box does.
            actions[1]->trigger();
        })
        .then([](QWidget* about) {
            EXPECT_EQ(about->windowTitle(), "About Vorn Installer");
            EXPECT_EQ(about->parentWidget(), windowOf(*Dialog::mainWindow()));
            expectNothingClipped(about);
            saveScreenshot(about, "about-box.png");
            pressKey(about, Qt::Key_Return);
        });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
}

TEST_F(MainDialogTest, EscapeClosesAndMinimizeCommandMinimizes)
{
    script.then([this](QWidget*) {
        dialog.OnSysCommand(SC_MINIMIZE, 0);
        EXPECT_TRUE(window()->isMinimized());
        window()->showNormal();
        pressKey(window(), Qt::Key_Escape);
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
}

namespace {

// The letters the dialog's '&'s mark are its own: one control per key.
void expectUniqueKeys(QWidget* dialog)
{
    std::set<QChar> keys;
    for (const auto* button : dialog->findChildren<QPushButton*>()) {
        const int mark = button->text().indexOf(QLatin1Char('&'));
        if (mark >= 0) {
            EXPECT_TRUE(keys.insert(button->text().at(mark + 1).toLower()).second) << button->text().toStdString();
        }
    }
}

void expectConflictDialogFits(Dialog& dialog, const std::string& takenName)
{
    dialog.SetDlgItemText(IDC_PROMPT, FormatText(dialog.GetDlgItemText(IDC_PROMPT), {takenName}));
    expectNothingClipped(windowOf(dialog));
    expectUniqueKeys(windowOf(dialog));
}

} // namespace

// Every language's texts fit their controls with the arguments they are
// shown with: the default folder, the eight names, a long taken name.
TEST(Translations, EveryTextFitsItsControlAndEachDialogsKeysAreItsOwn)
{
    ThrowawayPrefix prefix;
    const std::string folder = "C:\\Program Files\\Corvane 5\\Vorns";
    const std::string names = "Fern, Pebbles, Stars, Raindrops, Petals, Bubbles, Snowflakes, Shells.";
    for (const char* language : {"", "de", "fr", "es"}) {
        SCOPED_TRACE(language);
        SetResourceLanguage(language);
        CQuillopDlg main;
        for (const std::string& status :
             {FormatText(LoadString(IDS_READY), {folder}), FormatText(LoadString(IDS_NOT_FOUND), {folder}),
              FormatText(LoadString(IDS_DONE), {8, names}), LoadString(IDS_FINDING),
              FormatText(LoadString(IDS_CREATING), {"Snowflakes", "Snowflakes.vrn"}),
              FormatText(LoadString(IDS_ENTRY_ERROR), {8, 8, LoadString(IDS_CANT_FIND_CONTROL_FILE)})}) {
            main.SetDlgItemText(IDC_STATUS, status);
            expectNothingClipped(windowOf(main));
        }
        expectUniqueKeys(windowOf(main));
        CAboutDlg about(&main);
        expectNothingClipped(windowOf(about));
        CDupVornNameDlg vornName("Snowflakes", "", &main);
        expectConflictDialogFits(vornName, "Snowflakes in Winter");
        CDupFileNameDlg fileName("Snowflakes.vrn", folder, &main);
        expectConflictDialogFits(fileName, "Snowflakes in Winter.vrn");
    }
    SetResourceLanguage("");
}
