#include "install/conflict_checks.h"
#include "install/dialog_questions.h"
#include "platform/linux/dialogs/dialog_window.h"
#include "res/resource_ids.h"
#include "support/modal_script.h"
#include "support/throwaway_prefix.h"

#include <QApplication>
#include <QLineEdit>

#include <gtest/gtest.h>

namespace {

Dialog* asDialog(QWidget* widget)
{
    return dialogOf(widget);
}

std::string proposal(QWidget* dialog)
{
    return asDialog(dialog)->GetDlgItemText(IDC_NEW_NAME);
}

std::string prompt(QWidget* dialog)
{
    return asDialog(dialog)->GetDlgItemText(IDC_PROMPT);
}

// Types `text` into the new-name field and presses Save.
ModalScript::Step saveAs(const std::string& text)
{
    return [text](QWidget* dialog) {
        qobject_cast<QLineEdit*>(widgetOf(asDialog(dialog)->GetDlgItem(IDC_NEW_NAME)))
            ->setText(QString::fromStdString(text));
        clickItem(dialog, IDOK);
    };
}

ModalScript::Step expectProposal(const std::string& expected, ModalScript::Step then)
{
    return [expected, then](QWidget* dialog) {
        EXPECT_EQ(proposal(dialog), expected);
        then(dialog);
    };
}

} // namespace

class VornNameCheckTest : public ::testing::Test {
protected:
    VornNameCheckTest()
    {
        prefix.writeFile("Vorns/Vorns.ctl",
                         "VornName:Leaf\r\nVornName:Leaf2\r\nVornName:Leaf3\r\n"
                         "VornName:Stone\r\n");
        control = ControlFile("C:\\Vorns");
    }

    CheckAnswer check(std::string& name)
    {
        DialogQuestions dialogs;
        return CheckVornName(name, control.text(), dialogs);
    }

    ThrowawayPrefix prefix;
    ControlFile control;
    ModalScript script;
};

TEST_F(VornNameCheckTest, EnterAcceptsTheProposalFromSave)
{
    script.then([](QWidget* dialog) {
        EXPECT_EQ(dialog->windowTitle(), "Duplicate Vorn Name");
        EXPECT_EQ(prompt(dialog), "A Picture Vorn with the name \"Leaf\" already exists.\nPlease enter another name.");
        EXPECT_EQ(proposal(dialog), "Leaf4");
        // Tab goes Save, Skip, new name; Enter then presses Save.
        Dialog* d = asDialog(dialog);
        for (int id : {IDOK, IDCANCEL, IDC_NEW_NAME, IDOK}) {
            EXPECT_EQ(QApplication::focusWidget(), widgetOf(d->GetDlgItem(id)));
            pressKey(dialog, Qt::Key_Tab);
        }
        pressKey(dialog, Qt::Key_Backtab);
        pressKey(dialog, Qt::Key_Return);
    });
    std::string name = "Leaf";
    EXPECT_EQ(check(name), CheckAnswer::Proceed);
    EXPECT_EQ(name, "Leaf4");
}

TEST_F(VornNameCheckTest, RefusedAnswersBringTheDialogBack)
{
    script
        .then(saveAs("")) // cleared: asked again for Leaf
        .then(expectProposal("Leaf4", saveAs("Line\nbreak"))) // a line end is refused too
        .then(expectProposal("Leaf4", saveAs("Stone"))) // also listed: asked for Stone
        .then([](QWidget* dialog) {
            EXPECT_EQ(prompt(dialog).substr(0, 39), "A Picture Vorn with the name \"Stone\" al");
            EXPECT_EQ(proposal(dialog), "Stone2");
            saveAs("leaf")(dialog); // case matters: free
        });
    std::string name = "Leaf";
    EXPECT_EQ(check(name), CheckAnswer::Proceed);
    EXPECT_EQ(name, "leaf");
}

TEST_F(VornNameCheckTest, EmptyNameIsAskedForAndSkipCancelsTheEntry)
{
    script.then(expectProposal("2", [](QWidget* dialog) { clickItem(dialog, IDCANCEL); }))
        .then([](QWidget* dialog) { pressKey(dialog, Qt::Key_Escape); })
        .then([](QWidget* dialog) { dialog->close(); });
    for (int i = 0; i < 3; ++i) {
        std::string name = i == 0 ? "" : "Leaf";
        EXPECT_EQ(check(name), CheckAnswer::Skip);
        EXPECT_EQ(name, i == 0 ? "" : "Leaf");
    }
    std::string free = "Fern";
    EXPECT_EQ(check(free), CheckAnswer::Proceed);
}

class FileNameCheckTest : public ::testing::Test {
protected:
    FileNameCheckTest()
    {
        prefix.writeFile("Vorns/LEAF.VRN", "old");
        prefix.writeFile("Vorns/Leaf2.vrn", "old");
        prefix.writeFile("Vorns/Leaves.vrn", "old");
    }

    ThrowawayPrefix prefix;
    ModalScript script;
    DialogQuestions dialogs;
};

TEST_F(FileNameCheckTest, SavedNamesGetTheirEnding)
{
    struct Case {
        std::string typed;
        std::string fileName;
    };
    const std::vector<Case> cases = {
        {"Maple", "Maple.vrn"},
        {"MAPLE.VRN", "MAPLE.VRN.vrn"},
        {"Maple.vrn", "Maple.vrn"},
    };
    for (const Case& c : cases) {
        script.then([&c](QWidget* dialog) {
            EXPECT_EQ(dialog->windowTitle(), "Duplicate File Name");
            EXPECT_EQ(prompt(dialog),
                      "A Picture Vorn file with the name \"Leaf.vrn\" already exists.\nPlease enter another name.");
            EXPECT_EQ(proposal(dialog), "Leaf3.vrn");
            saveAs(c.typed)(dialog);
        });
        std::string fileName = "Leaf.vrn", path;
        EXPECT_EQ(CheckFileName(fileName, "C:\\Vorns", path, dialogs), CheckAnswer::Proceed);
        EXPECT_EQ(fileName, c.fileName);
        EXPECT_EQ(path, "C:\\Vorns\\" + c.fileName);
    }
}

TEST_F(FileNameCheckTest, ShortOrTakenAnswersBringTheDialogBack)
{
    prefix.makeFolder("Vorns/Stone.vrn");
    script
        .then(saveAs("abcd")) // four bytes: the same file again
        .then(saveAs("Leaf"))
        .then(saveAs(""))
        .then(saveAs("Le*.vrn")) // a pattern that matches LEAF.VRN
        .then(expectProposal("Le*3.vrn", saveAs("Leaves"))) // Le*2.vrn matches Leaf2.vrn
        .then(expectProposal("Leaves2.vrn", saveAs("Stone"))) // a folder of that name counts
        .then(expectProposal("Stone2.vrn", [](QWidget* dialog) { pressKey(dialog, Qt::Key_Return); }));
    std::string fileName = "Leaf.vrn", path;
    EXPECT_EQ(CheckFileName(fileName, "C:\\Vorns", path, dialogs), CheckAnswer::Proceed);
    EXPECT_EQ(fileName, "Stone2.vrn");
    EXPECT_EQ(path, "C:\\Vorns\\Stone2.vrn");
}

TEST_F(FileNameCheckTest, SkipAnswersSkip)
{
    script.then([](QWidget* dialog) { clickItem(dialog, IDCANCEL); });
    std::string fileName = "leaf.vrn", path;
    EXPECT_EQ(CheckFileName(fileName, "C:\\Vorns", path, dialogs), CheckAnswer::Skip);
    EXPECT_EQ(fileName, "leaf.vrn");
}
