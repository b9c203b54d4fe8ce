// The installation run without a window: what it shows and what it keeps.
#include "install/installation_run.h"
#include "support/test_catalogue.h"
#include "support/throwaway_prefix.h"

#include <algorithm>
#include <tuple>

#include <gtest/gtest.h>

namespace {

struct RecordingDisplay : RunDisplay {
    void showStatus(const std::string& text) override { statuses.push_back(text); }
    void showProgress(int position) override { positions.push_back(position); }
    std::vector<std::string> statuses;
    std::vector<int> positions;
};

// Answers with the texts given, in order.
struct ScriptedQuestions : ConflictQuestions {
    std::optional<std::string> askVornName(const std::string&, const ControlText&) override { return next(); }
    std::optional<std::string> askFileName(const std::string&, const std::string&) override { return next(); }
    std::optional<std::string> next()
    {
        if (answers.empty())
            return std::nullopt;
        auto answer = answers.front();
        answers.erase(answers.begin());
        return answer;
    }
    std::vector<std::optional<std::string>> answers;
};

} // namespace

TEST(InstallationRun, StatusTextsNameTheCatalogueEntryEvenWhenRenamed)
{
    ThrowawayPrefix prefix;
    prefix.writeFile("Vorns/Vorns.ctl", "VornName:Fern\r\nVornName:Fern2\r\n");
    prefix.writeFile("Vorns/Pebbles.vrn", "host's own");
    PolicyQuestions rename(PolicyQuestions::Policy::rename);
    RecordingDisplay display;
    const RunOutcome outcome = RunInstallation("C:\\Vorns", rename, display);
    ASSERT_TRUE(outcome.completed);
    EXPECT_EQ(display.statuses,
              (std::vector<std::string>{
                  "Creating new Vorn file Fern(Fern.vrn)", "Creating new Vorn file Pebbles(Pebbles.vrn)",
                  "Creating new Vorn file Stars(Stars.vrn)", "Creating new Vorn file Raindrops(Raindrops.vrn)",
                  "Creating new Vorn file Petals(Petals.vrn)", "Creating new Vorn file Bubbles(Bubbles.vrn)",
                  "Creating new Vorn file Snowflakes(Snowflakes.vrn)", "Creating new Vorn file Shells(Shells.vrn)"}));
    EXPECT_EQ(outcome.statusText,
              "Done installing 8 vorn files.\rFern3, Pebbles, Stars, Raindrops, Petals, Bubbles, "
              "Snowflakes, Shells.\r\rPress the Exit button to exit.\r\r\rEnjoy your quenna!  ");
    EXPECT_EQ(display.positions, (std::vector<int>{6, 12, 18, 25, 31, 37, 43, 50, 56, 62, 68, 75, 81, 87, 93, 100}));
    EXPECT_EQ(prefix.readFile("Vorns/Pebbles.vrn"), "host's own");
    EXPECT_TRUE(prefix.exists("Vorns/Pebbles2.vrn"));
}

TEST(InstallationRun, TypedNamesAreKeptExactly)
{
    ThrowawayPrefix prefix;
    prefix.writeFile("Vorns/Vorns.ctl", "VornName:Fern\r\n");
    prefix.writeFile("Vorns/Fern.vrn", "host's own");
    const std::string longName = "  A Fern with spaces at both ends, well over forty characters long  ";
    ScriptedQuestions typed;
    typed.answers = {longName, std::string("  fern file, also long enough to be cut at twelve  ")};
    RecordingDisplay display;
    const RunOutcome outcome = RunInstallation("C:\\Vorns", typed, display);
    ASSERT_TRUE(outcome.completed);
    const std::string control = prefix.readFile("Vorns/Vorns.ctl");
    EXPECT_NE(control.find("\r\n\r\nVornName:" + longName
                           + "\r\nVornFile:  fern file, also long enough to be cut "
                             "at twelve  .vrn\r\nStepSize:"),
              std::string::npos);
    EXPECT_TRUE(prefix.exists("Vorns/  fern file, also long enough to be cut at twelve  .vrn"));
    EXPECT_EQ(outcome.summary.list.substr(0, longName.size() + 2), longName + ", ");
}

namespace {

std::string blockFor(const std::string& name, const std::string& file = "")
{
    return "\r\n\r\nVornName:" + name + "\r\nVornFile:" + (file.empty() ? name + ".vrn" : file)
        + "\r\nStepSize:250\r\nVornsAcross:3\r\nVornsDown:2\r\nVornPlacementMode:0\r\nVornSelectionMode:0\r\n\r\n";
}

using Outcome = EntryResult::Outcome;

struct ResultRow {
    const char* what;
    RunOptions options;
    PolicyQuestions::Policy policy;
    // Vorns.ctl and the files in C:\Vorns before the run.
    std::string control;
    std::vector<std::pair<std::string, std::string>> files;
    // Per entry: outcome, name, file.
    std::vector<std::tuple<Outcome, std::string, std::string>> results;
    std::string controlAfter;
    std::vector<std::string> filesAfter;
};

} // namespace

// Four entries (Fern, Moss, Reed, Vine) meet a folder in each state a
// script's rerun can find; each row states what every entry became and the
// folder's bytes afterwards.
TEST(InstallationRun, EachEntryReportsHowItEnded)
{
    using P = PolicyQuestions::Policy;
    const std::string host = "\r\nVornName:Reed\r\nVornFile:Host.vrn\r\n";
    // A dry run reports what the real one does.
    const std::vector<std::tuple<Outcome, std::string, std::string>> renamed
        = {{Outcome::installed, "Fern", "Fern.vrn"},
           {Outcome::renamed, "Moss", "Moss2.vrn"},
           {Outcome::renamed, "Reed2", "Reed.vrn"},
           {Outcome::installed, "Vine", "Vine.vrn"}};
    const std::vector<ResultRow> rows = {
        {"conflicts skipped",
         {},
         P::skip,
         host,
         {{"Moss.vrn", "host's own"}},
         {{Outcome::installed, "Fern", "Fern.vrn"},
          {Outcome::skippedFileExists, "Moss", "Moss.vrn"},
          {Outcome::skippedNameListed, "Reed", "Reed.vrn"},
          {Outcome::installed, "Vine", "Vine.vrn"}},
         host + blockFor("Fern") + blockFor("Vine"),
         {"Fern.vrn", "Moss.vrn", "Vine.vrn", "Vorns.ctl"}},
        {"conflicts renamed",
         {},
         P::rename,
         host,
         {{"Moss.vrn", "host's own"}},
         renamed,
         "",
         {"Fern.vrn", "Moss.vrn", "Moss2.vrn", "Reed.vrn", "Vine.vrn", "Vorns.ctl"}},
        {"dry run writes nothing",
         {true, false},
         P::rename,
         host,
         {{"Moss.vrn", "host's own"}},
         renamed,
         host,
         {"Moss.vrn", "Vorns.ctl"}},
        {"a rerun after a stop between file and block",
         {false, true},
         P::skip,
         host + blockFor("Fern"),
         {{"Fern.vrn", "image of Fern"}, {"Moss.vrn", "image of Moss"}},
         {{Outcome::alreadyInstalled, "Fern", "Fern.vrn"},
          {Outcome::recordAdded, "Moss", "Moss.vrn"},
          {Outcome::skippedNameListed, "Reed", "Reed.vrn"},
          {Outcome::installed, "Vine", "Vine.vrn"}},
         host + blockFor("Fern") + blockFor("Moss") + blockFor("Vine"),
         {"Fern.vrn", "Moss.vrn", "Vine.vrn", "Vorns.ctl"}},
        {"the same file under a listed name, or another file, is no install",
         {false, true},
         P::skip,
         host + "\r\nVornName:Moss\r\n",
         {{"Fern.vrn", "image of Fern, edited"}, {"Moss.vrn", "image of Moss"}},
         {{Outcome::skippedFileExists, "Fern", "Fern.vrn"},
          {Outcome::skippedNameListed, "Moss", "Moss.vrn"},
          {Outcome::skippedNameListed, "Reed", "Reed.vrn"},
          {Outcome::installed, "Vine", "Vine.vrn"}},
         host + "\r\nVornName:Moss\r\n" + blockFor("Vine"),
         {"Fern.vrn", "Moss.vrn", "Vine.vrn", "Vorns.ctl"}},
        {"a dry rerun appends no block",
         {true, true},
         P::skip,
         host,
         {{"Moss.vrn", "image of Moss"}},
         {{Outcome::installed, "Fern", "Fern.vrn"},
          {Outcome::recordAdded, "Moss", "Moss.vrn"},
          {Outcome::skippedNameListed, "Reed", "Reed.vrn"},
          {Outcome::installed, "Vine", "Vine.vrn"}},
         host,
         {"Moss.vrn", "Vorns.ctl"}},
    };
    for (const ResultRow& row : rows) {
        SCOPED_TRACE(row.what);
        ThrowawayPrefix prefix;
        TestCatalogue catalogue;
        catalogue.setCount(4);
        int k = 0;
        for (const char* name : {"Fern", "Moss", "Reed", "Vine"})
            catalogue.addEntry(++k, name);
        prefix.writeFile("Vorns/Vorns.ctl", row.control);
        for (const auto& [name, bytes] : row.files)
            prefix.writeFile("Vorns/" + name, bytes);
        PolicyQuestions questions(row.policy);
        RecordingDisplay display;
        const RunOutcome outcome = RunInstallation("C:\\Vorns", questions, display, row.options);
        ASSERT_TRUE(outcome.completed) << outcome.statusText;
        std::vector<std::tuple<Outcome, std::string, std::string>> results;
        for (const EntryResult& result : outcome.results)
            results.emplace_back(result.outcome, result.name, result.file);
        EXPECT_EQ(results, row.results);
        if (!row.controlAfter.empty()) {
            EXPECT_EQ(prefix.readFile("Vorns/Vorns.ctl"), row.controlAfter);
        }
        EXPECT_EQ(entriesOfDiskFolder(prefix.onDriveC("Vorns")), row.filesAfter);
    }
}

// Names beyond ASCII: in the backend's own encoding from the folder's name
// to the files, in cp1252 inside Vorns.ctl as Corvane reads and writes it;
// a file taken in other case, a name Corvane listed taken as it is.
TEST(InstallationRun, NamesBeyondAsciiAreFoundComparedAndWritten)
{
    const std::string e = kSmallEAcute, E = kCapitalEAcute;
    const std::string folder = "R" + e + "sum" + e + " Vorns";
    ThrowawayPrefix prefix;
    TestCatalogue catalogue;
    catalogue.setCount(2);
    catalogue.addEntry(1, "Caf" + e);
    catalogue.addEntry(2, "N" + e + "e");
    prefix.writeFile(folder + "/Vorns.ctl",
                     "VornName:N\xE9"
                     "e\r\n");
    prefix.writeFile(folder + "/CAF" + E + ".VRN", "host's own");
    PolicyQuestions rename(PolicyQuestions::Policy::rename);
    RecordingDisplay display;
    const RunOutcome outcome = RunInstallation("C:\\" + folder, rename, display);
    ASSERT_TRUE(outcome.completed) << outcome.statusText;
    EXPECT_EQ(display.statuses,
              (std::vector<std::string>{"Creating new Vorn file Caf" + e + "(Caf" + e + ".vrn)",
                                        "Creating new Vorn file N" + e + "e(N" + e + "e.vrn)"}));
    EXPECT_EQ(outcome.statusText,
              "Done installing 2 vorn files.\rCaf" + e + ", N" + e
                  + "e2.\r\rPress the Exit button to exit.\r\r\rEnjoy your quenna!  ");
    EXPECT_EQ(prefix.readFile(folder + "/Vorns.ctl"),
              "VornName:N\xE9"
              "e\r\n"
                  + blockFor("Caf\xE9",
                             "Caf\xE9"
                             "2.vrn")
                  + blockFor("N\xE9"
                             "e2",
                             "N\xE9"
                             "e.vrn"));
    EXPECT_EQ(entriesOfDiskFolder(prefix.onDriveC(folder)),
              (std::vector<std::string>{"CAF" + E + ".VRN", "Caf" + e + "2.vrn", "N" + e + "e.vrn", "Vorns.ctl"}));
    EXPECT_EQ(prefix.readFile(folder + "/CAF" + E + ".VRN"), "host's own");
    EXPECT_EQ(prefix.readFile(folder + "/Caf" + e + "2.vrn"), "image of Caf" + e);
}

// A path takes at most 259 characters on Windows, however many bytes they
// take here. In a folder of 240 the longest name, "Snowflakes.vrn", fits
// (the temporary name it is written under first is longer), also when the
// last folder's name is "é" 35 times; in one of 249 "Pebbles.vrn", the
// second, does not, and nothing is written, not even the first.
TEST(InstallationRun, EveryFolderWhosePathsFitIsInstalledInto)
{
    const struct {
        std::size_t length;
        std::string letter;
    } rows[] = {{240, "c"}, {240, kSmallEAcute}, {249, "c"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.length);
        ThrowawayPrefix prefix;
        // "C:\" and two names of 100 with their separators take 205.
        std::string last;
        for (std::size_t i = 205; i < row.length; ++i)
            last += row.letter;
        const std::string relative = std::string(100, 'a') + "/" + std::string(100, 'b') + "/" + last;
        std::string folder = "C:\\" + relative;
        std::replace(folder.begin(), folder.end(), '/', '\\');
        prefix.writeFile(relative + "/Vorns.ctl", "");
        PolicyQuestions skip(PolicyQuestions::Policy::skip);
        RecordingDisplay display;
        const RunOutcome outcome = RunInstallation(folder, skip, display);
        const std::vector<std::string> files = entriesOfDiskFolder(prefix.onDriveC(relative));
        if (row.length == 240) {
            EXPECT_TRUE(outcome.completed) << outcome.failure;
            EXPECT_EQ(files.size(), 9u);
        } else {
            EXPECT_EQ(outcome.statusText, "File error while installing vorn file 2 of 8.");
            EXPECT_EQ(outcome.failure, folder + "\\Pebbles.vrn: longer than the 259 characters of a Windows path");
            EXPECT_EQ(files, std::vector<std::string>{"Vorns.ctl"});
            EXPECT_EQ(prefix.readFile(relative + "/Vorns.ctl"), "");
        }
    }
}
