// A student's typing replayed key by key: what the grid, the cursor and the message area show.
#include <gtest/gtest.h>

#include "app/grid_keys.h"
#include "app/workspace.h"
#include "editor_fixture.h"
#include "text/conversion_error.h"

namespace zorvan::app {
namespace {

using testing::AddressColumn;

constexpr const char* kNoInstruction = "'' Εντολή Ανύπαρκτη.";
constexpr const char* kGiveFirstParameter = "Δώστε την πρώτη παράμετρο.";

struct Step {
    const char* keys;
    int column, row, rowCount;
    const char* message;
    MessageColour colour;
    bool memoEnabled;
};

void Replay(Workspace& workspace, const std::vector<Step>& steps) {
    for (const Step& step : steps) {
        TypeText(workspace, step.keys);
        SCOPED_TRACE(step.keys);
        EXPECT_EQ(workspace.grid.Col(), step.column);
        EXPECT_EQ(workspace.grid.Row(), step.row);
        EXPECT_EQ(workspace.grid.RowCount(), step.rowCount);
        EXPECT_EQ(workspace.message.text, step.message);
        if (!workspace.message.text.empty()) EXPECT_EQ(workspace.message.colour, step.colour);
        EXPECT_EQ(workspace.message.memoEnabled, step.memoEnabled);
    }
}

TEST(EditingSession, TypingAProgramLineByLine) {
    constexpr auto red = MessageColour::kRed;
    constexpr auto blue = MessageColour::kBlue;
    Workspace workspace;
    Replay(workspace, {
                          {"0200", 1, 1, 2, "", red, false},
                          // The accepted address moves on and the empty instruction is refused.
                          {"\r", 2, 1, 2, kNoInstruction, red, true},
                          {"LDA", 2, 1, 2, kNoInstruction, red, true},
                          {"\r", 3, 1, 2, kGiveFirstParameter, blue, true},
                          {"#05", 3, 1, 2, kGiveFirstParameter, blue, true},
                          {"\r", 2, 2, 3, "", red, true},
                          {"STA ", 3, 2, 3, kGiveFirstParameter, blue, true},
                          {"45,\r", 4, 2, 3, "", red, true},
                          // The completed line lands on an empty instruction, checked at once.
                          {"X\r", 2, 3, 4, kNoInstruction, red, true},
                          {"NOP\r", 2, 4, 5, "", red, false},
                          {"BRK\r", 2, 5, 6, "", red, false},
                      });
    const std::vector<std::vector<std::string>> expected = {
        {"", "0200", "LDA", "#05", "", ""}, {"", "0202", "STA", "45,", "X", ""},
        {"", "0204", "NOP", "", "", ""},    {"", "0205", "BRK", "", "", ""},
        {"", "0206", "", "", "", ""},
    };
    for (int row = 1; row <= 5; ++row) {
        for (int column = 0; column < kGridColumnCount; ++column) {
            EXPECT_EQ(workspace.grid.Cell(column, row),
                      expected[static_cast<size_t>(row - 1)][static_cast<size_t>(column)])
                << column << "," << row;
        }
    }
    EXPECT_TRUE(workspace.changed);
    EXPECT_TRUE(workspace.executionEnabled);
}

TEST(EditingSession, FirstParameterFormsFillInTheNextAddress) {
    struct Case {
        const char* line;  // typed after the address 0200 and Enter
        const char* nextAddress;
        int column, row;
    };
    const Case cases[] = {
        {"LDA\r1234\r", "0203", 2, 2},
        {"LDA\r#ff\r", "0202", 2, 2},
        {"ASL\rA\r", "0201", 2, 2},
        {"LDX\r45,\rY\r", "0202", 2, 2},
        {"LDX\r1234,\rY\r", "0203", 2, 2},
        {"LDA\r(45,\rX)\r", "0202", 2, 2},
        {"BNE\rLOOP\r", "0202", 2, 2},
        {"JSR\rFFD2\r", "0203", 2, 2},
        {"JMP\rLOOP\r", "0203", 2, 2},
        // Refused operands leave the cursor on the parameter; the address below still follows
        // the classification.
        {"LDA\r#4G\r", "0202", 3, 1},
        {"LDA\rA\r", "0201", 3, 1},
    };
    for (const Case& c : cases) {
        Workspace workspace;
        TypeText(workspace, "0200\r");
        TypeText(workspace, c.line);
        EXPECT_EQ(workspace.grid.Cell(kAddressColumn, 2), c.nextAddress) << c.line;
        EXPECT_EQ(workspace.grid.Col(), c.column) << c.line;
        EXPECT_EQ(workspace.grid.Row(), c.row) << c.line;
    }
}

TEST(EditingSession, RefusalsKeepTheTextAndShowTheMessage) {
    struct Case {
        const char* keys;
        const char* message;
        int column;
    };
    const Case cases[] = {
        {"020\r", "Λάθος διεύθυνση. Δεκτά μόνο τέσσερα δεκαεξαδικά ψηφία.", 1},
        {"0200\rlda\r", "'lda' Εντολή Ανύπαρκτη.", 2},
        {"0200\rSTA\r#45\r", "Λάθος διευθυνσιοδότηση.", 3},
        {"0200\rLDA\r(45,\rX ", "Αναμένεται Χ) (english) μετά τα δύο δεκαεξαδικά.", 4},
    };
    for (const Case& c : cases) {
        Workspace workspace;
        TypeText(workspace, c.keys);
        EXPECT_EQ(workspace.message.text, c.message) << c.keys;
        EXPECT_EQ(workspace.message.colour, MessageColour::kRed) << c.keys;
        EXPECT_EQ(workspace.grid.Col(), c.column) << c.keys;
    }
}

TEST(EditingSession, SecondParameterAfterAFirstThatTakesNoneIsEmptied) {
    Workspace workspace;
    TypeText(workspace, "0200\rLDA\r1234\r");  // complete: on to row 2
    workspace.grid.SetCurrent(kSecondParameterColumn, 1);
    TypeText(workspace, "X\r");
    EXPECT_EQ(workspace.message.text, "Άκυρη διευθυνσιοδότηση.");
    EXPECT_EQ(workspace.grid.Cell(kSecondParameterColumn, 1), "");
    EXPECT_EQ(workspace.grid.Col(), kSecondParameterColumn);
}

TEST(EditingSession, SpaceInTheCommentColumnRecomputesAndTypesASpace) {
    Workspace workspace = testing::WorkspaceWith({
        {"", "0200", "LDA", "1234", "", ""},
        {"", "0000", "NOP", "", "", ""},
        {"", "0000", "", "", "", ""},
    });
    workspace.grid.SetCol(kCommentColumn);
    TypeText(workspace, "a b");
    EXPECT_EQ(workspace.grid.Cell(kCommentColumn, 1), "a b");
    EXPECT_EQ(AddressColumn(workspace, 1, 3), (std::vector<std::string>{"0200", "0203", "0204"}));
    EXPECT_EQ(workspace.message.text, "");
    EXPECT_EQ(workspace.grid.Col(), kCommentColumn);
}

TEST(EditingSession, EnterInTheCommentOfTheLastLineAppendsAndChecksTheNewInstruction) {
    Workspace workspace;
    TypeText(workspace, "0200\rNOP");
    workspace.grid.SetCurrent(kCommentColumn, 1);
    workspace.grid.SetRowCount(2);  // as if the completed line had been the last one
    TypeText(workspace, "σχόλιο\r");
    EXPECT_EQ(workspace.grid.RowCount(), 3);
    EXPECT_EQ(workspace.grid.Row(), 2);
    EXPECT_EQ(workspace.grid.Col(), kInstructionColumn);
    EXPECT_EQ(workspace.grid.Cell(kAddressColumn, 2), "0201");  // written while typing NOP
    EXPECT_EQ(workspace.message.text, kNoInstruction);
}

TEST(EditingSession, EveryKeyOnALineWithoutAddressFailsUntilOneIsTyped) {
    Workspace workspace;
    workspace.grid.SetCol(kInstructionColumn);
    TypeText(workspace, "N");
    EXPECT_THROW(TypeText(workspace, "O"), text::ConversionError);
    workspace.grid.SetCol(kCommentColumn);
    EXPECT_THROW(TypeText(workspace, "x"), text::ConversionError);
    EXPECT_EQ(workspace.grid.Cell(kCommentColumn, 1), "");
    workspace.grid.SetCol(kAddressColumn);
    EXPECT_THROW(TypeText(workspace, "0"), text::ConversionError);
    workspace.grid.SetCell(kAddressColumn, 1, "0300");
    TypeText(workspace, " ");  // checks the address, then the instruction "N"
    EXPECT_EQ(workspace.message.text, "'N' Εντολή Ανύπαρκτη.");
    EXPECT_EQ(workspace.grid.Cell(kAddressColumn, 2), "0301");
}

}  // namespace
}  // namespace zorvan::app
