#include "app/quillop_app.h"
#include "linux/prefixes/prefix_dialog.h"
#include "platform/linux/wine_prefix.h"
#include "support/modal_script.h"
#include "support/throwaway_prefix.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include <sys/stat.h>
#include <utime.h>

#include <gtest/gtest.h>

namespace {

class PrefixChoiceTest : public ::testing::Test {
protected:
    PrefixChoiceTest()
        : m_savedPrefix(qgetenv("WINEPREFIX"))
    {
        qunsetenv("WINEPREFIX");
        WinePrefix::use("/before");
    }
    ~PrefixChoiceTest() override
    {
        if (!m_savedPrefix.isEmpty())
            qputenv("WINEPREFIX", m_savedPrefix);
    }

    std::string path(const std::string& relative) const { return m_home.path().toStdString() + "/" + relative; }

    void makePrefix(const std::string& relative, bool withHost, long lastUsed) const
    {
        QDir().mkpath(QString::fromStdString(path(relative) + "/drive_c"));
        writeDiskFile(path(relative) + "/system.reg",
                      std::string("WINE REGISTRY Version 2\n")
                          + (withHost ? "[Software\\\\Classes\\\\CRV5.Image\\\\shell\\\\open\\\\command] 1\n"
                                        "@=\"C:\\\\Corvane\\\\Corvane.exe %1\"\n"
                                      : ""));
        writeDiskFile(path(relative) + "/user.reg", "WINE REGISTRY Version 2\n");
        const utimbuf times{lastUsed, lastUsed};
        ::utime((path(relative) + "/user.reg").c_str(), &times);
    }

    PrefixSearch::Places places() const { return {m_home.path().toStdString(), "", "", ""}; }

    // Answers the prefix dialog: checks its rows, then presses `keys`.
    ModalScript::Step answer(std::vector<int> keys)
    {
        return [keys](QWidget* modal) {
            EXPECT_EQ(modal->windowTitle(), "Choose the Wine prefix");
            auto* list = modal->findChild<QTreeWidget*>();
            ASSERT_NE(list, nullptr);
            ASSERT_EQ(list->topLevelItemCount(), 2);
            EXPECT_EQ(list->topLevelItem(0)->text(0), "winetricks: older");
            EXPECT_EQ(list->topLevelItem(1)->text(0), "winetricks: recent");
            EXPECT_EQ(list->currentItem(), list->topLevelItem(1)) << "the most recently used is preselected";
            for (int key : keys)
                QTest::keyClick(list, Qt::Key(key));
        };
    }

    QTemporaryDir m_home;
    ModalScript script;

private:
    QByteArray m_savedPrefix;
};

} // namespace

TEST_F(PrefixChoiceTest, NoPrefixWithTheHostKeepsTheDefault)
{
    makePrefix(".local/share/wineprefixes/empty", false, 100);
    EXPECT_TRUE(ChooseWinePrefix(places()));
    EXPECT_EQ(WinePrefix::current().root(), "/before");
}

TEST_F(PrefixChoiceTest, TheOnePrefixWithTheHostIsUsedWithoutAsking)
{
    makePrefix(".local/share/wineprefixes/empty", false, 100);
    makePrefix(".local/share/wineprefixes/paint", true, 100);
    EXPECT_TRUE(ChooseWinePrefix(places()));
    EXPECT_EQ(WinePrefix::current().root(), path(".local/share/wineprefixes/paint"));
}

TEST_F(PrefixChoiceTest, SeveralAreOfferedInADialog)
{
    makePrefix(".local/share/wineprefixes/older", true, 1000);
    makePrefix(".local/share/wineprefixes/recent", true, 2000);
    script.then(answer({Qt::Key_Return}));
    EXPECT_TRUE(ChooseWinePrefix(places()));
    EXPECT_EQ(WinePrefix::current().root(), path(".local/share/wineprefixes/recent"));

    script.then(answer({Qt::Key_Up, Qt::Key_Return}));
    EXPECT_TRUE(ChooseWinePrefix(places()));
    EXPECT_EQ(WinePrefix::current().root(), path(".local/share/wineprefixes/older"));

    WinePrefix::use("/before");
    script.then(answer({Qt::Key_Escape}));
    EXPECT_FALSE(ChooseWinePrefix(places())) << "cancel ends the program";
    EXPECT_EQ(WinePrefix::current().root(), "/before");
}

TEST_F(PrefixChoiceTest, WinePrefixInTheEnvironmentIsTheOnlyOne)
{
    makePrefix(".local/share/wineprefixes/older", true, 1000);
    makePrefix(".local/share/wineprefixes/recent", true, 2000);
    qputenv("WINEPREFIX", "/from/the/environment");
    EXPECT_TRUE(ChooseWinePrefix(places())) << "no dialog";
    EXPECT_EQ(WinePrefix::current().root(), "/before");
    qunsetenv("WINEPREFIX");
}
