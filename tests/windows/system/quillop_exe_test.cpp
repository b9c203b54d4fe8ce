// quillop.exe under Wine, driven as a user meets it: through its windows,
// from a program of its own. Each case runs in a throwaway prefix
// (run_in_throwaway_prefix.sh); every expected text is written out here.
#include "program_window.h"
#include "support/expected_texts.h"
#include "support/throwaway_prefix.h"

#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

namespace {

const char* const kMain = "Ostrel Picture Vorn Installer";
const char* const kChooser = "Browse for Folder";
const char* const kVornNameDialog = "Duplicate Vorn Name";
const char* const kFileNameDialog = "Duplicate File Name";
const char* const kDefaultFolder = "C:\\Program Files\\Corvane 5\\Vorns";
const char* const kEveryName = "Fern, Pebbles, Stars, Raindrops, Petals, Bubbles, Snowflakes, Shells.";

constexpr int kStatus = 1000;
constexpr int kProgress = 1004;
constexpr int kInstall = 1005;
constexpr int kBrowse = 1006;
constexpr int kPrompt = 1010;
constexpr int kNewName = 1009;

void expectRect(HWND dialog, int id, RECT expected)
{
    const RECT actual = itemRect(dialog, id);
    EXPECT_EQ(actual.left, expected.left) << "control " << id;
    EXPECT_EQ(actual.top, expected.top) << "control " << id;
    EXPECT_EQ(actual.right, expected.right) << "control " << id;
    EXPECT_EQ(actual.bottom, expected.bottom) << "control " << id;
}

// Answers the chooser that must have opened, with `expectedSelection`
// selected: chooses `folder`, or cancels when it is empty.
void answerChooser(const RunningProgram& program, const std::string& expectedSelection, const std::string& folder)
{
    const HWND chooser = program.waitForDialog(kChooser);
    ASSERT_NE(chooser, nullptr) << "no folder chooser opened";
    EXPECT_NE(staticTexts(chooser).find(
                  "Choose the Vorns folder.  This should be a folder in the Corvane folder named Vorns."),
              std::string::npos)
        << staticTexts(chooser);
    EXPECT_EQ(program.waitForChooserSelection(chooser, expectedSelection), expectedSelection);
    const HWND main = FindWindowExA(nullptr, nullptr, "#32770", kMain);
    if (main) {
        EXPECT_EQ(GetWindow(chooser, GW_OWNER), main) << "owned, and so blocked, by the main window";
    }
    if (folder.empty()) {
        click(chooser, IDCANCEL);
    } else {
        EXPECT_TRUE(program.selectInChooser(chooser, folder));
        click(chooser, IDOK);
    }
    EXPECT_TRUE(waitUntilClosed(chooser));
}

// Centred over its owner, as the framework centres a dialog.
void expectCentredOver(HWND dialog, HWND owner)
{
    RECT inner{}, outer{};
    GetWindowRect(dialog, &inner);
    GetWindowRect(owner, &outer);
    EXPECT_LE(std::abs((inner.left + inner.right) - (outer.left + outer.right)), 2) << "across";
    EXPECT_LE(std::abs((inner.top + inner.bottom) - (outer.top + outer.bottom)), 2) << "down";
}

// The main window's status once it shows `expected`, checked.
void expectStatus(HWND main, const std::string& expected)
{
    EXPECT_EQ(waitForItemText(main, kStatus, expected), expected);
}

void exitProgram(RunningProgram& program, HWND main)
{
    click(main, IDOK);
    EXPECT_EQ(program.waitForExit(), 0u);
}

} // namespace

// Corvane at C:\Corvane, registered as an installer registers it; the test
// adds what it needs, then opens the program.
class QuillopExeWithHost : public ::testing::Test {
protected:
    QuillopExeWithHost()
    {
        prefix.installHost();
        prefix.registerHost("C:\\Corvane\\Corvane.exe %1");
    }

    // Starts the program; its main window once it shows the folder found.
    HWND openMainWindow()
    {
        program.emplace();
        const HWND main = program->waitForDialog(kMain);
        if (main) {
            expectStatus(main, readyText("c:\\Corvane\\Vorns\\"));
        }
        return main;
    }

    ThrowawayPrefix prefix;
    std::optional<RunningProgram> program;
};

TEST(QuillopExe, FoundThroughALongRegistrationLaidOutAndInstalledWithEnter)
{
    ThrowawayPrefix prefix;
    prefix.writeFile("Program Files/Corvane 5/Vorns/Vorns.ctl", "");
    prefix.registerHost("C:\\Program Files\\Corvane 5\\Corvane.exe %1");
    RunningProgram program;
    const HWND main = program.waitForDialog(kMain);
    ASSERT_NE(main, nullptr);
    expectStatus(main, readyText("c:\\Program Files\\Corvane 5\\Vorns\\"));
    EXPECT_EQ(itemText(main, kInstall), "&Install Vorn Files");
    EXPECT_EQ(itemText(main, kBrowse), "&Browse...");
    EXPECT_EQ(itemText(main, IDOK), "E&xit");
    EXPECT_TRUE(itemEnabled(main, kInstall));
    EXPECT_FALSE(itemVisible(main, kProgress));
    EXPECT_EQ(program.focusedControl(), kInstall);
    EXPECT_EQ(SendMessageA(GetDlgItem(main, kProgress), PBM_GETRANGE, TRUE, 0), 0) << "the range's low end";
    EXPECT_EQ(SendMessageA(GetDlgItem(main, kProgress), PBM_GETRANGE, FALSE, 0), 100) << "its high end";

    // The template's layout, in dialog units of its font.
    RECT client{};
    GetClientRect(main, &client);
    const RECT whole = dialogUnits(0, 0, 206, 167);
    EXPECT_EQ(client.right, whole.right);
    EXPECT_EQ(client.bottom, whole.bottom);
    expectRect(main, kStatus, dialogUnits(7, 7, 192, 113));
    expectRect(main, kProgress, dialogUnits(7, 126, 192, 11));
    expectRect(main, kInstall, dialogUnits(7, 144, 70, 16));
    expectRect(main, kBrowse, dialogUnits(81, 144, 57, 16));
    expectRect(main, IDOK, dialogUnits(142, 144, 57, 16));

    pressKey(main, VK_RETURN);
    expectStatus(main, doneText(8, kEveryName));
    EXPECT_FALSE(itemEnabled(main, kInstall));
    EXPECT_FALSE(itemEnabled(main, kBrowse));
    EXPECT_FALSE(itemVisible(main, kProgress));
    EXPECT_EQ(SendMessageA(GetDlgItem(main, kProgress), PBM_GETPOS, 0, 0), 100);
    EXPECT_EQ(program.focusedControl(), IDOK);
    EXPECT_EQ(prefix.readFile("Program Files/Corvane 5/Vorns/Vorns.ctl").substr(0, 17), "\r\n\r\nVornName:Fern");
    EXPECT_TRUE(prefix.exists("Program Files/Corvane 5/Vorns/Shells.vrn"));
    exitProgram(program, main);
}

TEST(QuillopExe, FoundThroughAShortRegistration)
{
    ThrowawayPrefix prefix;
    prefix.writeFile("Program Files/Corvane 5/Vorns/Vorns.ctl", "");
    prefix.writeFile("Program Files/Corvane 5/Corvane.exe", "");
    prefix.registerHost("C:\\" + prefix.shortAlias("Program Files") + "\\"
                        + prefix.shortAlias("Program Files/Corvane 5") + "\\CORVANE.EXE \"%1\"");
    RunningProgram program;
    const HWND main = program.waitForDialog(kMain);
    ASSERT_NE(main, nullptr);
    expectStatus(main, readyText("c:\\Program Files\\Corvane 5\\Vorns\\"));
    exitProgram(program, main);
}

TEST(QuillopExe, NoRegistrationAndTwoCancelsLeaveInstallDisabledWithFocusOnBrowse)
{
    ThrowawayPrefix prefix;
    RunningProgram program;
    answerChooser(program, "", "");
    answerChooser(program, "", "");
    const HWND main = program.waitForDialog(kMain);
    ASSERT_NE(main, nullptr);
    expectStatus(main, notFoundText(kDefaultFolder));
    EXPECT_FALSE(itemEnabled(main, kInstall));
    EXPECT_TRUE(itemEnabled(main, kBrowse));
    EXPECT_EQ(program.focusedControl(), kBrowse);
    exitProgram(program, main);
}

TEST_F(QuillopExeWithHost, BrowseToAnotherFolderAndBack)
{
    prefix.makeFolder("Empty");
    settleAccessTimes("C:\\Corvane");
    settleAccessTimes("C:\\Empty");
    const HWND main = openMainWindow();
    ASSERT_NE(main, nullptr);

    click(main, kBrowse);
    answerChooser(*program, "Vorns", "C:\\Empty");
    expectStatus(main, notFoundText("C:\\Empty"));
    EXPECT_FALSE(itemEnabled(main, kInstall));
    EXPECT_EQ(program->focusedControl(), kBrowse);

    click(main, kBrowse);
    answerChooser(*program, "Empty", "C:\\Corvane\\Vorns");
    expectStatus(main, readyText("C:\\Corvane\\Vorns"));
    EXPECT_TRUE(itemEnabled(main, kInstall));
    EXPECT_EQ(program->focusedControl(), kInstall);
    exitProgram(*program, main);
}

// A name is typed beyond ASCII: "Жук", which cp1252 cannot hold, is refused
// with a word on which character; "Fougère" is stored in cp1252 (0xE8).
TEST_F(QuillopExeWithHost, BothConflictDialogsAnsweredByProposalTypedNameAndSkip)
{
    prefix.writeFile("Corvane/Vorns/Vorns.ctl", "\r\nVornName:Fern\r\n\r\nVornName:Stars\r\n\r\nVornName:Petals\r\n");
    prefix.writeFile("Corvane/Vorns/Pebbles.vrn", "host's own");
    const HWND main = openMainWindow();
    ASSERT_NE(main, nullptr);
    click(main, kInstall);

    HWND conflict = program->waitForDialog(kVornNameDialog);
    ASSERT_NE(conflict, nullptr);
    EXPECT_EQ(waitForItemText(conflict, kPrompt,
                              "A Picture Vorn with the name \"Fern\" already exists.\nPlease enter another name."),
              "A Picture Vorn with the name \"Fern\" already exists.\nPlease enter another name.");
    EXPECT_EQ(itemText(conflict, kNewName), "Fern2");
    EXPECT_EQ(program->focusedControl(), IDOK);
    EXPECT_FALSE(IsWindowEnabled(main)) << "the main window is blocked while its dialog runs";
    expectCentredOver(conflict, main);
    pressKey(conflict, VK_RETURN);
    ASSERT_TRUE(waitUntilClosed(conflict));

    conflict = program->waitForDialog(kFileNameDialog);
    ASSERT_NE(conflict, nullptr);
    EXPECT_EQ(waitForItemText(
                  conflict, kPrompt,
                  "A Picture Vorn file with the name \"Pebbles.vrn\" already exists.\nPlease enter another name."),
              "A Picture Vorn file with the name \"Pebbles.vrn\" already exists.\nPlease enter another name.");
    EXPECT_EQ(itemText(conflict, kNewName), "Pebbles2.vrn");
    // Install pressed meanwhile starts nothing; the typing posted after the
    // click shows once the click has been handled.
    click(main, kInstall);
    type(conflict, kNewName, "Fougère");
    EXPECT_EQ(waitForItemText(conflict, kNewName, "Fougère"), "Fougère");
    EXPECT_EQ(itemText(main, kStatus), "Creating new Vorn file Pebbles(Pebbles.vrn)");
    click(conflict, IDOK);
    ASSERT_TRUE(waitUntilClosed(conflict));

    conflict = program->waitForDialog(kVornNameDialog);
    ASSERT_NE(conflict, nullptr);
    EXPECT_EQ(waitForItemText(conflict, kNewName, "Stars2"), "Stars2");
    click(conflict, IDCANCEL);
    ASSERT_TRUE(waitUntilClosed(conflict));

    conflict = program->waitForDialog(kVornNameDialog);
    ASSERT_NE(conflict, nullptr);
    EXPECT_EQ(waitForItemText(conflict, kNewName, "Petals2"), "Petals2");
    type(conflict, kNewName, "Жук");
    EXPECT_EQ(waitForItemText(conflict, kNewName, "Жук"), "Жук");
    click(conflict, IDOK);
    const HWND refusal = program->waitForDialog("Quillop");
    ASSERT_NE(refusal, nullptr) << "no word on the character";
    EXPECT_EQ(itemText(refusal, 0xFFFF),
              "The character \"Ж\" cannot be stored in Vorns.ctl, where Corvane lists "
              "its Vorns.\nPlease enter a name without it.");
    click(refusal, IDOK);
    ASSERT_TRUE(waitUntilClosed(refusal));
    EXPECT_TRUE(IsWindowVisible(conflict)) << "the refused name stays to be mended";
    EXPECT_EQ(itemText(conflict, kNewName), "Жук");
    type(conflict, kNewName, "Fougère");
    EXPECT_EQ(waitForItemText(conflict, kNewName, "Fougère"), "Fougère");
    click(conflict, IDOK);
    ASSERT_TRUE(waitUntilClosed(conflict));

    const std::string done = doneText(7, "Fern2, Pebbles, Raindrops, Fougère, Bubbles, Snowflakes, Shells.");
    expectStatus(main, done);
    EXPECT_EQ(prefix.readFile("Corvane/Vorns/Pebbles.vrn"), "host's own");
    EXPECT_TRUE(prefix.exists("Corvane/Vorns/Foug\xe8re.vrn"));
    EXPECT_TRUE(prefix.exists("Corvane/Vorns/Fern.vrn"));
    EXPECT_FALSE(prefix.exists("Corvane/Vorns/Stars.vrn"));
    const std::string control = prefix.readFile("Corvane/Vorns/Vorns.ctl");
    EXPECT_EQ(control.substr(0, 74),
              "\r\nVornName:Fern\r\n\r\nVornName:Stars\r\n\r\nVornName:Petals\r\n\r\n\r\nVornName:Fern2\r\n");
    EXPECT_NE(control.find("VornName:Pebbles\r\nVornFile:Foug\xe8re.vrn\r\n"), std::string::npos);
    EXPECT_NE(control.find("VornName:Foug\xe8re\r\nVornFile:Petals.vrn\r\n"), std::string::npos);
    exitProgram(*program, main);
}

TEST_F(QuillopExeWithHost, ControlFileHeldByAnotherProgramFailsTheRunUntilReleased)
{
    HANDLE held = CreateFileA("C:\\Corvane\\Vorns\\Vorns.ctl", GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    const HWND main = openMainWindow();
    ASSERT_NE(main, nullptr);
    click(main, kInstall);
    expectStatus(main, "File error while installing vorn file 0 of 8.");
    EXPECT_TRUE(itemEnabled(main, kInstall));
    EXPECT_FALSE(itemEnabled(main, kBrowse));
    EXPECT_TRUE(itemVisible(main, kProgress));

    CloseHandle(held);
    click(main, kInstall);
    expectStatus(main, doneText(8, kEveryName));
    exitProgram(*program, main);
}

TEST_F(QuillopExeWithHost, AboutFromTheSystemMenuThenMinimiseRestoreAndClose)
{
    const HWND main = openMainWindow();
    ASSERT_NE(main, nullptr);

    // The window menu from the keyboard (Alt+Space), then the item the
    // program appended to it by its mnemonic, "&About Quillop...".
    PostMessageA(main, WM_SYSCOMMAND, SC_KEYMENU, ' ');
    GUITHREADINFO menu{};
    menu.cbSize = sizeof menu;
    for (int i = 0; i < 500 && !(menu.flags & GUI_INMENUMODE); ++i) {
        Sleep(20);
        GetGUIThreadInfo(program->threadId(), &menu);
    }
    ASSERT_TRUE(menu.flags & GUI_INMENUMODE) << "the window menu did not open";
    HWND popup = nullptr;
    for (int i = 0; i < 500 && !(popup && IsWindowVisible(popup)); ++i) {
        Sleep(20);
        popup = FindWindowExA(nullptr, nullptr, "#32768", nullptr);
    }
    ASSERT_TRUE(popup && IsWindowVisible(popup)) << "the window menu did not drop down";
    // Up from the top wraps to the last item, the one the program appended.
    PostMessageA(menu.hwndMenuOwner, WM_KEYDOWN, VK_UP, 1);
    PostMessageA(menu.hwndMenuOwner, WM_KEYDOWN, VK_RETURN, 1);
    const HWND about = program->waitForDialog("About Vorn Installer");
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(staticTexts(about).find("Picture Vorn Collection Installer") != std::string::npos, true)
        << staticTexts(about);
    EXPECT_EQ(GetWindow(about, GW_OWNER), main);
    expectCentredOver(about, main);
    EXPECT_FALSE(IsWindowEnabled(main));
    EXPECT_EQ(itemText(about, IDOK), "OK");
    click(about, IDOK);
    ASSERT_TRUE(waitUntilClosed(about));

    for (int i = 0; i < 250 && !IsWindowEnabled(main); ++i)
        Sleep(20);
    EXPECT_TRUE(IsWindowEnabled(main)) << "the main window is usable again";
    PostMessageA(main, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    for (int i = 0; i < 250 && !IsIconic(main); ++i)
        Sleep(20);
    EXPECT_TRUE(IsIconic(main));
    PostMessageA(main, WM_SYSCOMMAND, SC_RESTORE, 0);
    for (int i = 0; i < 250 && IsIconic(main); ++i)
        Sleep(20);
    EXPECT_FALSE(IsIconic(main));

    // The close box cancels.
    PostMessageA(main, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(program->waitForExit(), 0u);
}

// Under a German locale the resource loader takes the German dialogs and
// texts; the German layout is the wider one.
TEST(QuillopExe, InGermanUnderAGermanLocale)
{
    ThrowawayPrefix prefix;
    prefix.installHost();
    prefix.registerHost("C:\\Corvane\\Corvane.exe %1");
    prefix.writeFile("Corvane/Vorns/Vorns.ctl", "\r\nVornName:Fern\r\n");
    prefix.writeFile("Corvane/Vorns/Pebbles.vrn", "host's own");
    RunningProgram program;
    const HWND main = program.waitForDialog("Ostrel Bild-Vorn-Installation");
    ASSERT_NE(main, nullptr);
    expectStatus(main,
                 "Vielen Dank, dass Sie die Bild-Vorn-Sammlung Quenna heruntergeladen haben.  \r\rDie "
                 "Quenna-Vorns werden in das Verzeichnis\r    \"c:\\Corvane\\Vorns\\\"\rinstalliert.\r\r"
                 "Klicken Sie auf \u201eDurchsuchen\u201c, um ein anderes Verzeichnis zu w\u00e4hlen, oder "
                 "auf \u201eVorn-Dateien installieren\u201c, um mit der Installation zu beginnen.  ");
    EXPECT_EQ(itemText(main, kInstall), "Vorn-Dateien &installieren");
    EXPECT_EQ(itemText(main, kBrowse), "&Durchsuchen...");
    EXPECT_EQ(itemText(main, IDOK), "&Beenden");
    expectRect(main, kInstall, dialogUnits(7, 144, 90, 16));
    click(main, kInstall);

    HWND conflict = program.waitForDialog("Vorn-Name bereits vorhanden");
    ASSERT_NE(conflict, nullptr);
    EXPECT_EQ(itemText(conflict, kPrompt),
              "Ein Bild-Vorn namens \"Fern\" ist bereits vorhanden.\nBitte geben Sie einen anderen Namen ein.");
    EXPECT_EQ(itemText(conflict, IDOK), "&Speichern");
    EXPECT_EQ(itemText(conflict, IDCANCEL), "\u00dc&berspringen");
    pressKey(conflict, VK_RETURN);
    ASSERT_TRUE(waitUntilClosed(conflict));
    conflict = program.waitForDialog("Dateiname bereits vorhanden");
    ASSERT_NE(conflict, nullptr);
    EXPECT_EQ(itemText(conflict, kPrompt),
              "Eine Bild-Vorn-Datei namens \"Pebbles.vrn\" ist bereits vorhanden.\n"
              "Bitte geben Sie einen anderen Namen ein.");
    click(conflict, IDCANCEL);
    expectStatus(main,
                 "7 Vorn-Dateien wurden installiert.\rFern2, Stars, Raindrops, Petals, Bubbles, Snowflakes, "
                 "Shells.\r\rKlicken Sie auf \u201eBeenden\u201c, um das Programm zu schlie\u00dfen.\r\r\r"
                 "Viel Freude mit Quenna!  ");

    // The window menu's About item, as the menu sends it.
    PostMessageA(main, WM_SYSCOMMAND, 0x0010, 0);
    const HWND about = program.waitForDialog("Info \u00fcber Vorn-Installer");
    ASSERT_NE(about, nullptr);
    EXPECT_NE(staticTexts(about).find("Installation der Bild-Vorn-Sammlung"), std::string::npos) << staticTexts(about);
    click(about, IDOK);
    ASSERT_TRUE(waitUntilClosed(about));
    exitProgram(program, main);
}

namespace {

// Copies the files of one folder into another (no subfolders).
void copyFiles(const std::string& from, const std::string& to)
{
    WIN32_FIND_DATAA found;
    const HANDLE search = FindFirstFileA((from + "\\*").c_str(), &found);
    ASSERT_NE(search, INVALID_HANDLE_VALUE) << from;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
            const std::string name = found.cFileName;
            EXPECT_TRUE(CopyFileA((from + "\\" + name).c_str(), (to + "\\" + name).c_str(), TRUE)) << name;
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

} // namespace

// One half of same_bytes_test.sh, which runs the Linux program on the twin
// prefix: installs into a Vorns folder holding what $QUILLOP_SEED holds,
// accepts every proposal, and copies the folder to $QUILLOP_RESULT.
TEST(QuillopExe, TwinInstallAcceptingEveryProposal)
{
    const char* seed = std::getenv("QUILLOP_SEED");
    const char* result = std::getenv("QUILLOP_RESULT");
    if (!seed || !result)
        GTEST_SKIP() << "run by same_bytes_test.sh";
    ThrowawayPrefix prefix;
    prefix.makeFolder("Corvane/Vorns");
    copyFiles(seed, "C:\\Corvane\\Vorns");
    prefix.registerHost("C:\\Corvane\\Corvane.exe %1");
    RunningProgram program;
    const HWND main = program.waitForDialog(kMain);
    ASSERT_NE(main, nullptr);
    waitForItemText(main, kStatus, readyText("c:\\Corvane\\Vorns\\"));
    click(main, kInstall);
    for (int answered = 0; itemText(main, kStatus).rfind("Done installing", 0) != 0 && answered < 16;) {
        for (const char* title : {kVornNameDialog, kFileNameDialog}) {
            if (const HWND conflict = FindWindowExA(nullptr, nullptr, "#32770", title)) {
                pressKey(conflict, VK_RETURN);
                waitUntilClosed(conflict);
                ++answered;
            }
        }
        Sleep(20);
    }
    EXPECT_EQ(itemText(main, kStatus).substr(0, 16), "Done installing ");
    copyFiles("C:\\Corvane\\Vorns", result);
    exitProgram(program, main);
}
