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
    constexpr auto red = grid::Tone::kError, blue = grid::Tone::kNotice;
    // clang-format off
    const struct {
        const char *keys, *cursor;
        const char* message; grid::Tone colour; bool textEnabled;
    } steps[] = {
        {"0200", "1,1/2", "", red, false},
        {"\r", "2,1/2", kNoInstruction, red, true},  // the empty instruction is refused at once
        {"LDA", "2,1/2", kNoInstruction, red, true},
        {"\r", "3,1/2", kGiveFirstParameter, blue, true},
        {"#05", "3,1/2", kGiveFirstParameter, blue, true},
        {"\r", "2,2/3", "", red, true},
        {"STA ", "3,2/3", kGiveFirstParameter, blue, true},
        {"45,\r", "4,2/3", "", red, true},
        {"X\r", "2,3/4", kNoInstruction, red, true},  // the completed line lands on a checked instruction
        {"NOP\r", "2,4/5", "", red, false},
        {"BRK\r", "2,5/6", "", red, false},
    };
    // clang-format on
    grid::Workspace workspace;
    for (const auto& step : steps) {
        TypeText(workspace, step.keys);
        SCOPED_TRACE(step.keys);
        EXPECT_EQ(testing::Cursor(workspace), step.cursor);
        EXPECT_EQ(workspace.message.text, step.message);
        if (!workspace.message.text.empty()) EXPECT_EQ(workspace.message.tone, step.colour);
        EXPECT_EQ(workspace.message.textEnabled, step.textEnabled);
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
        EXPECT_EQ(std::pair(workspace.grid.Col(), workspace.grid.Row()), std::pair(c.column, c.row))
            << c.keys;
        EXPECT_EQ(workspace.message.text, c.message) << c.keys;
        if (*c.message) EXPECT_EQ(workspace.message.tone, grid::Tone::kError) << c.keys;
    }
}

// A finished line checked again from its address or its instruction keeps a second parameter
// that its check accepts, and the line is complete again; one it refuses is emptied.
TEST(EditingSession, ReCheckingAFinishedLineKeepsItsIndexRegister) {
    // clang-format off
    const struct { const char *line, *secondParameter, *recheck, *after; int column, row; } cases[] = {
        {"0200\rLDA\r1234,\rY\r", nullptr, "↑←\r", "|0200|LDA|1234,|Y|", 2, 2},  // on the address
        {"0200\rLDA\r1234,\rY\r", nullptr, "↑\r",  "|0200|LDA|1234,|Y|", 2, 2},  // on the instruction
        {"0200\rSTA\r45,\rX\r",   nullptr, "↑←\r", "|0200|STA|45,|X|",   2, 2},
        {"0200\rLDA\r(45,\rX)\r", nullptr, "↑\r",  "|0200|LDA|(45,|X)|", 2, 2},
        {"0200\rLDA\r1234,\rY\r", "Z",     "↑\r",  "|0200|LDA|1234,||",  4, 1},  // refused: emptied
        {"0200\rLDA\r(45),\rY\r", "X",     "↑\r",  "|0200|LDA|(45),||",  4, 1},
    };
    // clang-format on
    for (const auto& c : cases) {
        grid::Workspace workspace;
        TypeText(workspace, c.line);
        if (c.secondParameter)
            workspace.grid.SetCell(grid::kSecondParameterColumn, 1, c.secondParameter);
        testing::TypeWithArrows(workspace, c.recheck);
        EXPECT_EQ(RowText(workspace, 1), c.after) << c.line << c.recheck;
        EXPECT_EQ(std::pair(workspace.grid.Col(), workspace.grid.Row()), std::pair(c.column, c.row))
            << c.line << c.recheck;
    }
}

// A line without a readable address takes every key; the red notice names the line and goes
// once the address reads. Enter on its instruction takes the cursor to the address.
TEST(EditingSession, ALineWithoutAReadableAddressStillTakesKeys) {
    grid::Workspace workspace;
    const std::string noAddress =
        "Η γραμμή 1 δεν έχει διεύθυνση. Γράψτε την στη στήλη «Διευθύνσεις» και πατήστε Enter.";
    const std::string notHex =
        "Η διεύθυνση της γραμμής 1 δεν είναι δεκαεξαδικός αριθμός. Διορθώστε την στη στήλη "
        "«Διευθύνσεις» και πατήστε Enter.";
    // clang-format off
    const struct { const char* keys; const char* line; int column; std::string message; } steps[] = {
        {"\tNO",   "||NO|||",     grid::kInstructionColumn, noAddress},
        {"P\r",    "||NOP|||",    grid::kAddressColumn,     noAddress},  // NOP would end the line
        {"02G",    "|02G|NOP|||", grid::kAddressColumn,     notHex},
        {"\b1\r",  "|021|NOP|||", grid::kAddressColumn,     "Λάθος διεύθυνση. Δεκτά μόνο τέσσερα δεκαεξαδικά ψηφία."},
        {"\b\b\b03", "|03|NOP|||", grid::kAddressColumn,     "Λάθος διεύθυνση. Δεκτά μόνο τέσσερα δεκαεξαδικά ψηφία."},
        {"00\r",   "|0300|NOP|||", grid::kInstructionColumn, ""}};  // the line checked whole
    // clang-format on
    for (const auto& s : steps) {
        TypeText(workspace, s.keys);
        EXPECT_EQ(RowText(workspace, 1), s.line) << s.keys;
        EXPECT_EQ(workspace.grid.Col(), s.column) << s.keys;
        EXPECT_EQ(workspace.message.text, s.message) << s.keys;
    }
    EXPECT_EQ(workspace.grid.Cell(grid::kAddressColumn, 2) + testing::Cursor(workspace),
              "03012,2/3");
}

}  // namespace
}  // namespace zorvan::app
