#include "platform/linux/dialogs/folder_picker.h"
#include "platform/linux/wine_prefix.h"
#include "support/throwaway_prefix.h"

#include <QAbstractItemModel>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

#include <gtest/gtest.h>

namespace {

const std::string kTitle = "Choose the Vorns folder.  This should be a folder in the Corvane folder named Vorns.";

// A picker shown on a throwaway prefix, driven with key events on its tree.
struct ShownPicker {
    explicit ShownPicker(const std::string& start)
        : picker(nullptr, kTitle, start, WinePrefix::current())
    {
        picker.show();
        tree = picker.findChild<QTreeView*>();
    }

    void key(int key) { QTest::keyClick(tree, Qt::Key(key)); }
    void type(const char* text) { QTest::keyClicks(tree, QString::fromLatin1(text)); }

    QStringList rows(const QModelIndex& parent = QModelIndex()) const
    {
        QStringList names;
        for (int row = 0; row < tree->model()->rowCount(parent); ++row)
            names << tree->model()->index(row, 0, parent).data().toString();
        return names;
    }

    QPushButton* button(const char* text) const
    {
        for (QPushButton* b : picker.findChildren<QPushButton*>())
            if (b->text() == QLatin1String(text))
                return b;
        return nullptr;
    }

    FolderPicker picker;
    QTreeView* tree = nullptr;
};

void relink(const std::string& prefixRoot, const char* drive, const QString& target)
{
    const QString link = QString::fromStdString(prefixRoot + "/dosdevices/" + drive);
    QFile::remove(link);
    ASSERT_TRUE(QFile::link(target, link));
}

} // namespace

TEST(FolderPicker, ShowsTheDrivesInLetterOrderEachAnsweringItsOwnLetter)
{
    ThrowawayPrefix prefix;
    relink(prefix.root(), "d:", QStringLiteral("/nonexistent/quillop"));
    relink(prefix.root(), "e:", QStringLiteral("../drive_c"));
    relink(prefix.root(), "z:", QStringLiteral("/"));
    ShownPicker shown("");
    EXPECT_EQ(shown.picker.windowTitle(), "Browse for Folder");
    EXPECT_EQ(shown.picker.findChild<QLabel*>()->text().toStdString(), kTitle);
    EXPECT_EQ(shown.rows(), (QStringList{"C:", "E:", "Z:"})) << "a dangling link is no drive";
    EXPECT_FALSE(shown.picker.selectedFolder()) << "an empty start selects nothing";
    EXPECT_FALSE(shown.button("OK")->isEnabled());
    shown.key(Qt::Key_Return);
    EXPECT_TRUE(shown.picker.isVisible()) << "Enter with nothing selected chooses nothing";

    // The focus rests on the first drive; the arrows select.
    shown.key(Qt::Key_Down);
    EXPECT_EQ(shown.picker.selectedFolder(), "E:\\") << "two letters, one target: each its own";
    EXPECT_TRUE(shown.button("OK")->isEnabled());
    shown.key(Qt::Key_Up);
    EXPECT_EQ(shown.picker.selectedFolder(), "C:\\");
    shown.key(Qt::Key_End);
    shown.key(Qt::Key_Right);
    shown.type("tmp");
    EXPECT_EQ(shown.picker.selectedFolder(), "Z:\\tmp") << "z: leads to the host's root";
    shown.key(Qt::Key_Return);
    EXPECT_EQ(shown.picker.result(), QDialog::Accepted);
}

TEST(FolderPicker, AnswersTheFolderAsNavigatedWithNoLinkResolved)
{
    ThrowawayPrefix prefix;
    prefix.makeFolder("Program Files");
    QDir().mkpath(QString::fromStdString(prefix.root() + "/shared/Vorns"));
    ASSERT_TRUE(QFile::link(QString::fromStdString(prefix.root() + "/shared"),
                            QString::fromStdString(prefix.onDriveC("Program Files/Corvane Shared"))));
    prefix.writeFile("Program Files/readme.txt", "files are never shown");
    prefix.makeFolder("Program Files/.hidden");
    ShownPicker shown("c:\\program files");
    EXPECT_EQ(shown.picker.selectedFolder(), "C:\\Program Files");
    shown.key(Qt::Key_Right);
    EXPECT_EQ(shown.rows(shown.tree->currentIndex()), QStringList{"Corvane Shared"});
    shown.key(Qt::Key_Down);
    shown.key(Qt::Key_Right);
    shown.key(Qt::Key_Down);
    EXPECT_EQ(shown.picker.selectedFolder(), "C:\\Program Files\\Corvane Shared\\Vorns");
    shown.key(Qt::Key_Left);
    shown.key(Qt::Key_Left);
    EXPECT_EQ(shown.picker.selectedFolder(), "C:\\Program Files\\Corvane Shared");
    shown.key(Qt::Key_Escape);
    EXPECT_EQ(shown.picker.result(), QDialog::Rejected);
    EXPECT_FALSE(shown.picker.isVisible());
}

TEST(FolderPicker, OpensAtTheStartFolderOrItsNearestAncestor)
{
    ThrowawayPrefix prefix;
    prefix.makeFolder("One/Two/Three/Four");
    prefix.makeFolder("One/Twenty");
    {
        ShownPicker shown("C:\\one\\TWO\\three\\four");
        EXPECT_EQ(shown.picker.selectedFolder(), "C:\\One\\Two\\Three\\Four") << "stored names, as navigated";
        for (QModelIndex above = shown.tree->currentIndex().parent(); above.isValid(); above = above.parent())
            EXPECT_TRUE(shown.tree->isExpanded(above)) << above.data().toString().toStdString();
        shown.picker.close();
        EXPECT_EQ(shown.picker.result(), QDialog::Rejected) << "the close box cancels";
    }
    {
        ShownPicker shown("C:\\One\\Two\\Nowhere\\Deeper");
        EXPECT_EQ(shown.picker.selectedFolder(), "C:\\One\\Two");
        shown.key(Qt::Key_Up);
        shown.key(Qt::Key_Up);
        EXPECT_EQ(shown.picker.selectedFolder(), "C:\\One");
        shown.type("tw"); // typing a name's first letters moves to it
        EXPECT_EQ(shown.picker.selectedFolder(), "C:\\One\\Twenty");
    }
    EXPECT_FALSE(ShownPicker("Q:\\Vorns").picker.selectedFolder()) << "no such drive";
}

TEST(FolderPicker, AFolderOfTenThousandSubfoldersOpensAtOnce)
{
    ThrowawayPrefix prefix;
    for (int i = 0; i < 10000; ++i)
        QDir().mkpath(QString::fromStdString(prefix.onDriveC("Many/sub " + std::to_string(i))));
    ShownPicker shown("C:\\Many");
    QElapsedTimer timer;
    timer.start();
    shown.key(Qt::Key_Right);
    EXPECT_EQ(shown.tree->model()->rowCount(shown.tree->currentIndex()), 10000);
    EXPECT_LT(timer.elapsed(), 1500);
    shown.key(Qt::Key_Down);
    EXPECT_EQ(shown.picker.selectedFolder(), "C:\\Many\\sub 0");
}

TEST(FolderPicker, ReadsAndWritesNoSettings)
{
    ThrowawayPrefix prefix;
    prefix.makeFolder("Vorns");
    QTemporaryDir home, config;
    const QByteArray oldHome = qgetenv("HOME"), oldConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    {
        ShownPicker shown("C:\\Vorns");
        shown.key(Qt::Key_Return);
    }
    qputenv("HOME", oldHome);
    qputenv("XDG_CONFIG_HOME", oldConfig);
    const auto everything = QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot;
    EXPECT_TRUE(QDir(home.path()).entryList(everything).isEmpty());
    EXPECT_TRUE(QDir(config.path()).entryList(everything).isEmpty());
}
