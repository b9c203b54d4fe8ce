#include "app/about_dlg.h"
#include "app/quillop_dlg.h"
#include "platform/linux/dialogs/dialog_window.h"
#include "platform/string_resources.h"
#include "platform/text_format.h"
#include "res/resource_ids.h"
#include "support/expected_texts.h"
#include "support/modal_script.h"
#include "support/throwaway_prefix.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>

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
