#include "app/exercise_check.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/program_file.h"
#include "editor_fixture.h"
#include "temp_folder.h"

namespace zorvan::app {
namespace {

using testing::Line;

// Doubles the cell 0300 into 0301: right for any data; the hard-coded one is right for one case.
const std::vector<Line> kDoubles = {{"", "0200", "LDA", "0300"},
                                    {"", "0203", "ASL", "A"},
                                    {"", "0204", "STA", "0301"},
                                    {"", "0207", ""}};
const std::vector<Line> kHardCoded = {
    {"", "0200", "LDA", "#04"}, {"", "0202", "STA", "0301"}, {"", "0205", ""}};
const std::vector<Line> kBadAddress = {{"", "0200", "NOP"}, {"", "", "NOP"}, {"", "0202", ""}};

constexpr std::string_view kTwoCases =
    "case \"δύο\"\npoke 0300: 02\n0301: 04\n"
    "case \"πέντε\"\npoints 2\npoke 0300: 05\n0301: 0A\n";

TEST(ExerciseCheck, EachCaseRunsOnItsOwnMachineAndTheScoreAddsItsPoints) {
    const struct {
        const char* name;
        std::vector<Line> program;
        std::string_view expectations;
        std::string score;
        std::vector<bool> casesPassed;
        int problemRow;
        std::vector<int> cellsNamed;  // the failed checks of a cell, in order
    } cases[] = {
        {"right", kDoubles, kTwoCases, "Βαθμός: 3/3", {true, true}, 0, {}},
        {"hard-coded", kHardCoded, kTwoCases, "Βαθμός: 1/3", {true, false}, 0, {0x0301}},
        {"no address", kBadAddress, kTwoCases, "Βαθμός: 0/3", {false, false}, 2, {}},
        {"no expectations", kDoubles, "0301 04\n", "Βαθμός: 0/0", {}, 0, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const grid::Workspace workspace = testing::WorkspaceWith(c.program);
        const ExerciseResult result = CheckExercise(workspace.grid, "ask.expect", c.expectations);
        EXPECT_EQ(ExerciseScoreText(result), c.score);
        std::vector<bool> passed;
        std::vector<int> cells;
        for (const ExerciseLine& line : result.lines) {
            if (line.isCase) passed.push_back(line.passed);
            if (line.cell) cells.push_back(*line.cell);
        }
        EXPECT_EQ(passed, c.casesPassed);
        EXPECT_EQ(cells, c.cellsNamed);
        EXPECT_EQ(result.problemRow, c.problemRow);
        EXPECT_EQ(result.problem.empty(), c.casesPassed.size() == 2 && c.problemRow == 0);
        EXPECT_EQ(result.passed, c.score == "Βαθμός: 3/3");
        // A failed case explains itself with the instructions it ran.
        EXPECT_EQ(result.explanation.empty(), c.name != std::string("hard-coded"));
    }
}

// The lessons' exercises: each model answer passes its own expectation file, and an empty grid
// passes none, so a file that checks nothing is caught.
TEST(ExerciseCheck, EveryShippedExercisePassesWithItsModelAnswerOnly) {
    namespace fs = std::filesystem;
    int count = 0;
    for (const auto& entry :
         fs::directory_iterator(fs::path(ZORVAN_SOURCE_DIR) / "examples" / "exercises")) {
        if (entry.path().extension() != ".expect") continue;
        fs::path answer = entry.path();
        answer.replace_extension(".zrv");
        const std::string expectations = zorvan::testing::FileBytes(entry.path().string());
        grid::ProgramGrid grid;
        const ExerciseResult empty = CheckExercise(grid, "", expectations);
        PlaceProgramRows(grid, ReadProgramText(zorvan::testing::FileBytes(answer.string())));
        const ExerciseResult result = CheckExercise(grid, "", expectations);
        EXPECT_TRUE(result.passed && result.problem.empty()) << answer << result.problem;
        EXPECT_FALSE(empty.passed) << entry.path();
        ++count;
    }
    EXPECT_GE(count, 9);
}

}  // namespace
}  // namespace zorvan::app
