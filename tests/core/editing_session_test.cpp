// A student's typing replayed key by key: what the grid, the cursor and the message area show.
#include <gtest/gtest.h>

#include "app/grid_keys.h"
#include "editor_fixture.h"
#include "grid/workspace.h"
#include "text/conversion_error.h"

namespace zorvan::app {
namespace {

using testing::RowText;

constexpr const char* kNoInstruction = "'' Εντολή Ανύπαρκτη.";
constexpr const char* kGiveFirstParameter = "Δώστε την πρώτη παράμετρο.";

TEST(EditingSession, TypingAProgramLineByLine) {
    constexpr auto red = grid::MessageColour::kRed, blue = grid::MessageColour::kBlue;
    // clang-format off
    const struct {
        const char* keys; int column, row, rowCount;
        const char* message; grid::MessageColour colour; bool memoEnabled;
    } steps[] = {
        {"0200", 1, 1, 2, "", red, false},
        {"\r", 2, 1, 2, kNoInstruction, red, true},  // the empty instruction is refused at once
        {"LDA", 2, 1, 2, kNoInstruction, red, true},
        {"\r", 3, 1, 2, kGiveFirstParameter, blue, true},
        {"#05", 3, 1, 2, kGiveFirstParameter, blue, true},
        {"\r", 2, 2, 3, "", red, true},
        {"STA ", 3, 2, 3, kGiveFirstParameter, blue, true},
        {"45,\r", 4, 2, 3, "", red, true},
        {"X\r", 2, 3, 4, kNoInstruction, red, true},  // the completed line lands on a checked instruction
        {"NOP\r", 2, 4, 5, "", red, false},
        {"BRK\r", 2, 5, 6, "", red, false},
    };
    // clang-format on
    grid::Workspace workspace;
    for (const auto& step : steps) {
        TypeText(workspace, step.keys);
        SCOPED_TRACE(step.keys);
        EXPECT_EQ(workspace.grid.Col(), step.column);
        EXPECT_EQ(workspace.grid.Row(), step.row);
        EXPECT_EQ(workspace.grid.RowCount(), step.rowCount);
        EXPECT_EQ(workspace.message.text, step.message);
        if (!workspace.message.text.empty()) EXPECT_EQ(workspace.message.colour, step.colour);
        EXPECT_EQ(workspace.message.memoEnabled, step.memoEnabled);
    }
    const char* expected[] = {"|0200|LDA|#05||", "|0202|STA|45,|X|", "|0204|NOP|||", "|0205|BRK|||",
                              "|0206||||"};
    for (int row = 1; row <= 5; ++row) EXPECT_EQ(RowText(workspace, row), expected[row - 1]);
}

// Typed from an empty grid. Refused text stays where it was typed; the next line's address
// follows the line's form after every key, even while the cursor waits on a refused parameter.
TEST(EditingSession, EachLineEndsWhereItsFormSaysAndRefusalsKeepTheText) {
    // clang-format off
    const struct {
        const char *keys, *line, *nextAddress; int column, row; const char* message;
    } cases[] = {
        {"0200\rLDA\r1234\r", "|0200|LDA|1234||", "0203", 2, 2, ""},
        {"0200\rLDX\r1234,\rY\r", "|0200|LDX|1234,|Y|", "0203", 2, 2, kNoInstruction},
        {"0200\rNOP\t\t\tσχόλιο\r", "|0200|NOP|||σχόλιο", "0201", 2, 2, kNoInstruction},  // Enter on the last row appends one
        {"020\r", "|020||||", "", 1, 1, "Λάθος διεύθυνση. Δεκτά μόνο τέσσερα δεκαεξαδικά ψηφία."},
        {"0200\rlda\r", "|0200|lda|||", "0201", 2, 1, "'lda' Εντολή Ανύπαρκτη."},
        {"0200\rSTA\r#45\r", "|0200|STA|#45||", "0202", 3, 1, "Λάθος διευθυνσιοδότηση."},
        {"0200\rLDA\r(45,\rX ", "|0200|LDA|(45,|X|", "0202", 4, 1, "Αναμένεται Χ) (english) μετά τα δύο δεκαεξαδικά."},
        {"0200\rLDA\r1234\tX\r", "|0200|LDA|1234||", "0203", 4, 1, "Άκυρη διευθυνσιοδότηση."},  // no index wanted: emptied
    };
    // clang-format on
    for (const auto& c : cases) {
        grid::Workspace workspace;
        TypeText(workspace, c.keys);
        EXPECT_EQ(RowText(workspace, 1), c.line) << c.keys;
        EXPECT_EQ(workspace.grid.Cell(grid::kAddressColumn, 2), c.nextAddress) << c.keys;
        EXPECT_EQ(workspace.grid.Col(), c.column) << c.keys;
        EXPECT_EQ(workspace.grid.Row(), c.row) << c.keys;
        EXPECT_EQ(workspace.message.text, c.message) << c.keys;
        if (*c.message) EXPECT_EQ(workspace.message.colour, grid::MessageColour::kRed) << c.keys;
    }
}

TEST(EditingSession, EveryKeyOnALineWithoutAddressFailsUntilOneIsTyped) {
    grid::Workspace workspace;
    EXPECT_THROW(TypeText(workspace, "\tNO"), text::ConversionError);
    workspace.grid.SetCol(grid::kAddressColumn);
    EXPECT_THROW(TypeText(workspace, "0"), text::ConversionError);
    EXPECT_EQ(RowText(workspace, 1), "||N|||");
    workspace.grid.SetCell(grid::kAddressColumn, 1, "0300");
    TypeText(workspace, " ");  // checks the address, then the instruction "N"
    EXPECT_EQ(workspace.message.text, "'N' Εντολή Ανύπαρκτη.");
    EXPECT_EQ(workspace.grid.Cell(grid::kAddressColumn, 2), "0301");
}

}  // namespace
}  // namespace zorvan::app
