#include "app/about_dlg.h"
#include "app/quillop_dlg.h"
#include "install/dup_file_name_dlg.h"
#include "install/dup_vorn_name_dlg.h"
#include "platform/linux/dialogs/dialog_window.h"
#include "platform/linux/dialogs/folder_picker.h"
#include "platform/linux/wine_prefix.h"
#include "res/dialog_templates.h"
#include "res/resource_ids.h"
#include "support/layout_report.h"
#include "support/modal_script.h"
#include "support/throwaway_prefix.h"

#include <QAccessible>
#include <QApplication>
#include <QTest>

#include <sstream>

#include <gtest/gtest.h>

namespace {

void expectEveryControlNamed(QWidget* dialog)
{
    for (QWidget* control : dialog->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (control->isWindow())
            continue;
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(control);
        ASSERT_NE(accessible, nullptr);
        EXPECT_FALSE(accessible->text(QAccessible::Name).isEmpty()) << control->metaObject()->className();
        // A list's column headers are announced even when hidden.
        for (int i = 0; i < accessible->childCount(); ++i) {
            QAccessibleInterface* child = accessible->child(i);
            if (!child || child->role() != QAccessible::ColumnHeader)
                continue;
            bool isNumber = false;
            child->text(QAccessible::Name).toInt(&isNumber);
            EXPECT_FALSE(isNumber) << "column header " << child->text(QAccessible::Name).toStdString();
        }
    }
}

// Keys go where a user's would: to the active window's focused control.
void type(QWidget* dialog, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    dialog->activateWindow();
    QApplication::setActiveWindow(dialog);
    QWidget* target = dialog->focusWidget() ? dialog->focusWidget() : dialog;
    QTest::keyClick(target, Qt::Key(key), modifiers);
    // A mnemonic presses its button after a short animation.
    if (modifiers & Qt::AltModifier)
        QTest::qWait(250);
}

void typeText(QWidget* dialog, const char* text)
{
    QTest::keyClicks(dialog->focusWidget(), QString::fromLatin1(text));
}

} // namespace

TEST(Accessibility, EveryControlHasAName)
{
    ThrowawayPrefix prefix;
    CQuillopDlg main;
    CAboutDlg about(&main);
    CDupVornNameDlg vornName("Leaf", "", &main);
    CDupFileNameDlg fileName("Leaf.vrn", "C:\\Vorns", &main);
    FolderPicker chooser(windowOf(main), "Choose", "C:\\", WinePrefix::current());
    for (QWidget* dialog : std::initializer_list<QWidget*>{windowOf(main), windowOf(about), windowOf(vornName),
                                                           windowOf(fileName), &chooser})
        expectEveryControlNamed(dialog);
}

TEST(Accessibility, WholeInstallationWithTheKeyboardAlone)
{
    ThrowawayPrefix prefix;
    prefix.installHost();
    prefix.writeFile("Corvane/Vorns/Vorns.ctl", "\r\nVornName:Fern\r\n");
    prefix.writeFile("Corvane/Vorns/Pebbles.vrn", "host's own");
    CQuillopDlg main;
    Dialog::setMainWindow(&main);
    ModalScript script;
    // The main dialog's part runs first; the dialogs it opens are answered
    // by the steps after it, in the order they open.
    script
        .then([&](QWidget*) {
            type(windowOf(main), Qt::Key_B, Qt::AltModifier); // Browse, and Escape out of the chooser
            EXPECT_EQ(windowOf(main)->focusWidget(), widgetOf(main.GetDlgItem(IDC_INSTALL)))
                << "the folder still holds Vorns.ctl";
            for (int id : {IDC_BROWSE, IDOK, IDC_INSTALL}) {
                type(windowOf(main), Qt::Key_Tab);
                EXPECT_EQ(windowOf(main)->focusWidget(), widgetOf(main.GetDlgItem(id)));
            }
            type(windowOf(main), Qt::Key_I, Qt::AltModifier);
            EXPECT_EQ(main.GetDlgItemText(IDC_STATUS).substr(0, 29), "Done installing 7 vorn files.");
            type(windowOf(main), Qt::Key_X, Qt::AltModifier);
        })
        .then([](QWidget* chooser) { type(chooser, Qt::Key_Escape); })
        .then([](QWidget* conflict) { // Fern is listed: type another name
            type(conflict, Qt::Key_Tab);
            type(conflict, Qt::Key_Tab);
            type(conflict, Qt::Key_A, Qt::ControlModifier);
            typeText(conflict, "Fern Green");
            type(conflict, Qt::Key_S, Qt::AltModifier);
        })
        .then([](QWidget* conflict) { type(conflict, Qt::Key_K, Qt::AltModifier); }); // skip Pebbles
    EXPECT_EQ(main.DoModal(), IDOK);
    Dialog::setMainWindow(nullptr);
    EXPECT_TRUE(prefix.exists("Corvane/Vorns/Fern.vrn"));
    EXPECT_NE(prefix.readFile("Corvane/Vorns/Vorns.ctl").find("VornName:Fern Green\r\n"), std::string::npos);
}

TEST(Accessibility, DialogsKeepTheirProportionsAtDoubleScale)
{
    std::istringstream normal(layoutInChild("1"));
    std::istringstream doubled(layoutInChild("2"));
    std::string kindA, kindB;
    double width = 0, height = 0;
    int lines = 0;
    while (normal >> kindA && doubled >> kindB) {
        ASSERT_EQ(kindA, kindB);
        if (kindA == "dialog") {
            int idA, wA, hA, idB, wB, hB;
            normal >> idA >> wA >> hA;
            doubled >> idB >> wB >> hB;
            EXPECT_EQ(idA, idB);
            EXPECT_NEAR(double(wA) / hA, double(wB) / hB, 0.02) << "dialog " << idA;
            width = wA;
            height = hA;
        } else {
            int a[6], b[6];
            for (int& v : a)
                normal >> v;
            for (int& v : b)
                doubled >> v;
            for (int i = 1; i <= 4; ++i)
                EXPECT_NEAR(a[i] / (i % 2 ? width : height), b[i] / (i % 2 ? width : height), 0.02);
            EXPECT_EQ(a[5], 0) << "clipped at scale 1, control " << a[0];
            EXPECT_EQ(b[5], 0) << "clipped at scale 2, control " << b[0];
        }
        ++lines;
    }
    EXPECT_GE(lines, 4 + 5 + 3 + 4 + 4);
}
