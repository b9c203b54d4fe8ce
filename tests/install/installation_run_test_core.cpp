// The installation run without a window: what it shows and what it keeps.
#include "install/installation_run.h"
#include "support/throwaway_prefix.h"

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
