#include "app/quillop_dlg.h"
#include "platform/linux/dialogs/dialog_window.h"
#include "platform/stdio_file.h"
#include "platform/string_resources.h"
#include "platform/text_format.h"
#include "res/resource_ids.h"
#include "support/child_install.h"
#include "support/expected_texts.h"
#include "support/modal_script.h"
#include "support/test_catalogue.h"
#include "support/throwaway_prefix.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

#include <gtest/gtest.h>

namespace {

struct SourceEntry {
    std::string name;
    std::string image;
    std::string block;
};

// The collection as its source files give it, read without the program.
std::vector<SourceEntry> sourceCollection()
{
    std::vector<SourceEntry> entries;
    for (int k = 1; k <= 8; ++k) {
        const std::string base = std::string(QUILLOP_SOURCE_DIR "/src/res/catalogue/vorn") + std::to_string(k);
        std::string record = readDiskFile(base + ".ctl");
        const std::size_t total = record.find("TotalVorns:");
        record.erase(total, record.find("\r\n", total) + 2 - total);
        const std::size_t nameAt = record.find("VornName:") + 9;
        entries.push_back({record.substr(nameAt, record.find('\r', nameAt) - nameAt), readDiskFile(base + ".png"),
                           "\r\n\r\n" + record.substr(2)});
    }
    return entries;
}

} // namespace

class InstallationRunTest : public ::testing::Test {
protected:
    InstallationRunTest()
    {
        Dialog::setMainWindow(&dialog);
        prefix.installHost();
        prefix.writeFile("Vorns/Vorns.ctl", "");
    }
    ~InstallationRunTest() override { Dialog::setMainWindow(nullptr); }

    // Opens the main dialog, points it at `folder`, runs `steps` with it
    // shown, then exits.
    void withDialog(const std::string& folder, const std::function<void()>& steps)
    {
        whenDialogOpens(folder, steps);
        dialog.DoModal();
    }

    // Queues the main dialog's part; dialogs opened from it are queued after.
    void whenDialogOpens(const std::string& folder, const std::function<void()>& steps)
    {
        script.then([=](QWidget*) {
            dialog.m_strVornsFolder = folder;
            QObject::connect(qobject_cast<QProgressBar*>(widgetOf(dialog.m_progress)), &QProgressBar::valueChanged,
                             [this](int value) { progress.push_back(value); });
            steps();
            dialog.EndDialog(IDOK);
        });
    }

    std::string status() const { return dialog.GetDlgItemText(IDC_STATUS); }
    bool enabled(int id) const { return dialog.GetDlgItem(id).IsWindowEnabled(); }

    ThrowawayPrefix prefix;
    CQuillopDlg dialog;
    ModalScript script;
    std::vector<int> progress;
};

TEST_F(InstallationRunTest, InstallsTheWholeCollection)
{
    prefix.writeFile("Vorns/Vorns.ctl", "");
    withDialog("C:\\Vorns", [this] {
        pressKey(windowOf(dialog), Qt::Key_Return);
        EXPECT_FALSE(enabled(IDC_INSTALL));
        EXPECT_FALSE(enabled(IDC_BROWSE));
        EXPECT_TRUE(!dialog.m_progress.IsWindowVisible());
        EXPECT_EQ(QApplication::focusWidget(), widgetOf(dialog.GetDlgItem(IDOK)));
    });

    std::string blocks, names;
    for (const SourceEntry& entry : sourceCollection()) {
        EXPECT_EQ(prefix.readFile("Vorns/" + entry.name + ".vrn"), entry.image) << entry.name;
        blocks += entry.block;
        names += (names.empty() ? "" : ", ") + entry.name;
    }
    EXPECT_EQ(prefix.readFile("Vorns/Vorns.ctl"), blocks);
    EXPECT_EQ(QDir(QString::fromStdString(prefix.onDriveC("Vorns"))).count(), 2u + 9u);
    EXPECT_EQ(status(), doneText(8, names + "."));
    EXPECT_EQ(progress, (std::vector<int>{6, 12, 18, 25, 31, 37, 43, 50, 56, 62, 68, 75, 81, 87, 93, 100}));
}

TEST_F(InstallationRunTest, FailedRunLeavesInstallEnabledAndARetryStartsOver)
{
    prefix.writeFile("Vorns/Vorns.ctl", "host\r\n");
    auto held = std::make_unique<StdioFile>();
    held->Open("C:\\Vorns\\Vorns.ctl", StdioFile::modeReadWrite | StdioFile::shareExclusive);
    withDialog("c:\\vorns\\", [&] {
        clickItem(windowOf(dialog), IDC_INSTALL);
        EXPECT_EQ(status(), "File error while installing vorn file 0 of 8.");
        EXPECT_TRUE(enabled(IDC_INSTALL));
        EXPECT_FALSE(enabled(IDC_BROWSE));
        EXPECT_TRUE(dialog.m_progress.IsWindowVisible());

        held.reset();
        clickItem(windowOf(dialog), IDC_INSTALL);
        EXPECT_EQ(status().substr(0, 31), "Done installing 8 vorn files.\rF");
    });
    EXPECT_EQ(prefix.readFile("Vorns/Vorns.ctl").substr(0, 10), "host\r\n\r\n\r\n");
    EXPECT_TRUE(prefix.exists("Vorns/Shells.vrn"));
}

TEST_F(InstallationRunTest, CatalogueFaultsStopTheRunWithTheirMessage)
{
    struct Case {
        std::function<void(TestCatalogue&)> make;
        std::string status;
    };
    const std::vector<Case> cases = {
        {[](TestCatalogue&) {}, "Error while installing vorn file 0 of 0.\nCan't find vorn."},
        {[](TestCatalogue& c) { c.setCountBytes("abc"); },
         "Error while installing vorn file 0 of 0.\nCan't load vorn."},
        {[](TestCatalogue& c) { c.setCountBytes("abcde"); },
         "Error while installing vorn file 0 of 0.\nCan't load vorn."},
        {[](TestCatalogue& c) { c.setCount(0); }, "Error while installing vorn file 0 of 0.\nCan't load vorn."},
        {[](TestCatalogue& c) {
             c.setCount(3);
             c.addEntry(1, "Leaf");
             c.setImage(2, "x");
             c.addEntry(3, "Stone");
         },
         "Error while installing vorn file 2 of 3.\nCan't find vorn."},
    };
    withDialog("C:\\Vorns", [&] {
        for (const Case& c : cases) {
            TestCatalogue catalogue;
            c.make(catalogue);
            clickItem(windowOf(dialog), IDC_INSTALL);
            EXPECT_EQ(status(), c.status);
            EXPECT_TRUE(enabled(IDC_INSTALL));
        }
    });
    // Only the last case reached an entry: Leaf went in whole.
    EXPECT_EQ(prefix.readFile("Vorns/Leaf.vrn"), "image of Leaf");
    EXPECT_EQ(prefix.readFile("Vorns/Vorns.ctl"),
              "\r\n\r\n"
                  + FormatText("VornName:%s\r\nVornFile:%s.vrn\r\nStepSize:250\r\nVornsAcross:3\r\n"
                               "VornsDown:2\r\nVornPlacementMode:0\r\nVornSelectionMode:0\r\n\r\n",
                               {"Leaf", "Leaf"}));
}

TEST_F(InstallationRunTest, ControlFileFaultsLoseNothing)
{
    prefix.makeFolder("Folder/Vorns.ctl");
    prefix.makeFolder("Device");
    ASSERT_TRUE(QFile::link("/dev/null", QString::fromStdString(prefix.onDriveC("Device/Vorns.ctl"))));
    const bool full = prefix.mountFullDisk("Full", {{"Vorns.ctl", "VornName:Host\r\n"}}, 0).has_value();
    prefix.makeFolder("Missing");
    withDialog("C:\\Missing", [&] {
        clickItem(windowOf(dialog), IDC_INSTALL);
        EXPECT_EQ(status(), "File error while installing vorn file 0 of 8.");
        dialog.m_strVornsFolder = "C:\\Folder";
        clickItem(windowOf(dialog), IDC_INSTALL);
        EXPECT_EQ(status(), "File error while installing vorn file 0 of 8.");
        dialog.m_strVornsFolder = "C:\\Device";
        clickItem(windowOf(dialog), IDC_INSTALL);
        EXPECT_EQ(status(), "File error while installing vorn file 0 of 8.");
        if (full) {
            dialog.m_strVornsFolder = "C:\\Full";
            clickItem(windowOf(dialog), IDC_INSTALL);
            EXPECT_EQ(status(), "File error while installing vorn file 1 of 8.");
        }
    });
    EXPECT_FALSE(prefix.exists("Missing/Vorns.ctl"));
    if (full) {
        EXPECT_EQ(prefix.readFile("Full/Vorns.ctl"), "VornName:Host\r\n");
        EXPECT_EQ(QDir(QString::fromStdString(prefix.onDriveC("Full"))).count(), 4u)
            << "no part of the Vorn file that did not fit was left";
    }
}

TEST_F(InstallationRunTest, VornFileCutShortByASizeLimitIsRemoved)
{
    const std::string before = "VornName:Host\r\n";
    prefix.writeFile("Vorns/Vorns.ctl", before);
    const auto collection = sourceCollection();
    // Room for the first image, not for the second.
    const long long limit = (long long)(collection[0].image.size() + collection[1].image.size()) / 2 + 1000;
    ASSERT_GT(limit, (long long)collection[0].image.size());
    ASSERT_LT(limit, (long long)collection[1].image.size());

    const ChildInstallResult result = installInChild(prefix.root(), "C:\\Vorns", limit);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.status, "File error while installing vorn file 2 of 8.");
    EXPECT_EQ(prefix.readFile("Vorns/Vorns.ctl"), before + collection[0].block);
    EXPECT_EQ(prefix.readFile("Vorns/" + collection[0].name + ".vrn"), collection[0].image);
    EXPECT_FALSE(prefix.exists("Vorns/" + collection[1].name + ".vrn"));
}

TEST_F(InstallationRunTest, ConflictsAreRenamedSkippedOrGivenANewFile)
{
    const std::string before = "\r\nVornName:Fern\r\nVornFile:Host1.vrn\r\n\r\nVornName:Stars\r\n";
    prefix.writeFile("Vorns/Vorns.ctl", before);
    prefix.writeFile("Vorns/Pebbles.vrn", "host's own");
    auto typeAndSave = [](QWidget* conflict, const char* text) {
        qobject_cast<QLineEdit*>(widgetOf(dialogOf(conflict)->GetDlgItem(IDC_NEW_NAME)))->setText(text);
        clickItem(conflict, IDOK);
    };
    whenDialogOpens("C:\\Vorns", [this] { clickItem(windowOf(dialog), IDC_INSTALL); });
    script
        .then([&](QWidget* conflict) {
            EXPECT_EQ(conflict->windowTitle(), "Duplicate Vorn Name");
            EXPECT_EQ(status(), "Creating new Vorn file Fern(Fern.vrn)");
            EXPECT_EQ(conflict->parentWidget(), windowOf(dialog)) << "owned, and so blocked, by the main window";
            typeAndSave(conflict, "Fern Green");
        })
        .then([&](QWidget* conflict) {
            EXPECT_EQ(dialogOf(conflict)->GetDlgItemText(IDC_NEW_NAME), "Pebbles2.vrn");
            // Install pressed meanwhile, as an accessibility action presses it, starts nothing.
            qobject_cast<QPushButton*>(widgetOf(dialog.GetDlgItem(IDC_INSTALL)))->click();
            EXPECT_EQ(status(), "Creating new Vorn file Pebbles(Pebbles.vrn)");
            pressKey(conflict, Qt::Key_Return);
        })
        .then([&](QWidget* conflict) {
            EXPECT_EQ(status(), "Creating new Vorn file Stars(Stars.vrn)");
            clickItem(conflict, IDCANCEL);
        });
    dialog.DoModal();

    const auto collection = sourceCollection();
    std::string blocks = before, names;
    for (std::size_t i = 0; i < collection.size(); ++i) {
        if (collection[i].name == "Stars")
            continue;
        std::string block = collection[i].block;
        std::string name = collection[i].name;
        if (name == "Fern") {
            name = "Fern Green";
            block.replace(block.find("Fern\r\n"), 4, name);
        }
        if (name == "Pebbles")
            block.replace(block.find("Pebbles.vrn"), 11, "Pebbles2.vrn");
        blocks += block;
        names += (names.empty() ? "" : ", ") + name;
    }
    EXPECT_EQ(prefix.readFile("Vorns/Vorns.ctl"), blocks);
    EXPECT_EQ(prefix.readFile("Vorns/Pebbles.vrn"), "host's own");
    EXPECT_EQ(prefix.readFile("Vorns/Pebbles2.vrn"), collection[1].image);
    EXPECT_EQ(prefix.readFile("Vorns/Fern.vrn"), collection[0].image);
    EXPECT_FALSE(prefix.exists("Vorns/Stars.vrn"));
    EXPECT_EQ(status(), doneText(7, names + "."));
    // The skipped third entry keeps its starting position until the fourth begins.
    EXPECT_EQ(progress, (std::vector<int>{6, 12, 18, 25, 31, 43, 50, 56, 62, 68, 75, 81, 87, 93, 100}));
}

// Names Corvane could never open under Wine end the run as a file the file
// system refuses would, with nothing of that entry written.
class RefusedFileNameTest : public InstallationRunTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(RefusedFileNameTest, EndsTheRunWithAFileError)
{
    prefix.writeFile("Vorns/Pebbles.vrn", "host's own");
    whenDialogOpens("C:\\Vorns", [this] { clickItem(windowOf(dialog), IDC_INSTALL); });
    script.then([&](QWidget* conflict) {
        qobject_cast<QLineEdit*>(widgetOf(dialogOf(conflict)->GetDlgItem(IDC_NEW_NAME)))->setText(GetParam());
        clickItem(conflict, IDOK);
    });
    dialog.DoModal();
    EXPECT_EQ(status(), "File error while installing vorn file 2 of 8.");
    EXPECT_EQ(prefix.readFile("Vorns/Vorns.ctl"), sourceCollection()[0].block);
    EXPECT_EQ(QDir(QString::fromStdString(prefix.onDriveC("Vorns"))).entryList(QDir::Files),
              (QStringList{"Fern.vrn", "Pebbles.vrn", "Vorns.ctl"}));
}

INSTANTIATE_TEST_SUITE_P(InstallationRunTest, RefusedFileNameTest,
                         ::testing::Values("nul.vrn", "Com3.old", "Leaf*.vrn", "Leaf?.vrn", "Peb:bles.vrn"));

TEST_F(InstallationRunTest, SecondEntryOfTheSameNameMeetsTheFirstsBlock)
{
    TestCatalogue catalogue;
    catalogue.setCount(2);
    catalogue.addEntry(1, "Leaf");
    catalogue.setRecord(2, recordFor("Leaf", "Other.vrn"));
    catalogue.setImage(2, "other");
    whenDialogOpens("C:\\Vorns", [this] { clickItem(windowOf(dialog), IDC_INSTALL); });
    script.then([](QWidget* conflict) {
        EXPECT_EQ(dialogOf(conflict)->GetDlgItemText(IDC_NEW_NAME), "Leaf2");
        clickItem(conflict, IDCANCEL);
    });
    dialog.DoModal();
    // The skipped last entry leaves the list without its final full stop.
    EXPECT_EQ(status(), doneText(1, "Leaf"));
    EXPECT_FALSE(prefix.exists("Vorns/Other.vrn"));
}

TEST_F(InstallationRunTest, BlockCutShortIsTakenBackWithItsVornFile)
{
    // The limit falls inside the first block: the file is cut back to its
    // earlier bytes and the first Vorn file goes too.
    const long long limit = 60000;
    const std::string before = "VornName:Host\r\n" + std::string(std::size_t(limit) - 100, 'x');
    prefix.writeFile("Vorns/Vorns.ctl", before);
    const auto collection = sourceCollection();
    ASSERT_LT((long long)collection[0].image.size(), limit);

    const ChildInstallResult result = installInChild(prefix.root(), "C:\\Vorns", limit);
    EXPECT_EQ(result.status, "File error while installing vorn file 1 of 8.");
    EXPECT_EQ(prefix.readFile("Vorns/Vorns.ctl"), before);
    EXPECT_FALSE(prefix.exists("Vorns/" + collection[0].name + ".vrn"));
}
