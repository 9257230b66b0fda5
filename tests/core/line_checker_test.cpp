#include "asm/line_checker.h"

#include <gtest/gtest.h>

#include "app/workspace.h"
#include "editor_fixture.h"
#include "text/conversion_error.h"

namespace zorvan::assembler {
namespace {

using app::MessageColour;
using app::testing::AddressColumn;
using app::testing::WorkspaceWith;

TEST(LineChecker, AddressCheckGivesThreeDifferentRefusals) {
    struct Case {
        const char* address;
        const char* message;  // nullptr: accepted
    };
    const Case cases[] = {
        {"0200", nullptr},
        {"ffFF", nullptr},
        {"02000", "Η διεύθυνση δέχεται μόνο τέσσερα δεκαεξαδικά ψηφία."},
        {"020", "Λάθος διεύθυνση. Δεκτά μόνο τέσσερα δεκαεξαδικά ψηφία."},
        {"", "Λάθος διεύθυνση. Δεκτά μόνο τέσσερα δεκαεξαδικά ψηφία."},
        {"02G0", "Λάθος διεύθυνση. Δεκτά μόνο τέσσερα δεκαεξαδικά ψηφ'ια."},
        // Four Greek letters are four characters (eight bytes), not too long.
        {"ΑΒΓΔ", "Λάθος διεύθυνση. Δεκτά μόνο τέσσερα δεκαεξαδικά ψηφ'ια."},
        {"10002", "Η διεύθυνση δέχεται μόνο τέσσερα δεκαεξαδικά ψηφία."},
    };
    for (const Case& c : cases) {
        app::Workspace workspace = WorkspaceWith({{"", c.address, "", "", "", ""}});
        CheckAddress(workspace);
        if (c.message == nullptr) {
            EXPECT_EQ(workspace.grid.Col(), app::kInstructionColumn) << c.address;
            EXPECT_FALSE(workspace.message.memoEnabled) << c.address;
        } else {
            EXPECT_EQ(workspace.message.text, c.message) << c.address;
            EXPECT_EQ(workspace.message.colour, MessageColour::kRed);
            EXPECT_EQ(workspace.grid.Col(), app::kAddressColumn);
        }
        EXPECT_EQ(workspace.grid.Cell(app::kAddressColumn, 1), c.address);  // never changed
    }
}

TEST(LineChecker, ImpliedInstructionCompletesTheLineAndEmptiesItsParameters) {
    app::Workspace workspace = WorkspaceWith({{"L", "0200", "NOP", "#05", "X", "σχόλιο"}});
    workspace.grid.SetCol(app::kInstructionColumn);
    CheckInstruction(workspace);
    EXPECT_EQ(workspace.grid.Cell(app::kFirstParameterColumn, 1), "");
    EXPECT_EQ(workspace.grid.Cell(app::kSecondParameterColumn, 1), "");
    EXPECT_EQ(workspace.grid.Cell(app::kCommentColumn, 1), "σχόλιο");
    EXPECT_EQ(workspace.grid.Cell(app::kAddressColumn, 2), "0201");
    EXPECT_EQ(workspace.grid.RowCount(), 3);
    EXPECT_EQ(workspace.grid.Col(), app::kInstructionColumn);
    EXPECT_EQ(workspace.grid.Row(), 2);
}

TEST(LineChecker, FinishLineAddsARowOnlyOnTheLastRowAndWritesFiveDigitsPastFFFF) {
    struct Case {
        const char* address;
        int bytes;
        int currentRow;
        const char* nextAddress;
        int rowCount;
    };
    const Case cases[] = {
        {"0200", 2, 2, "0202", 4},  // last row: one row added
        {"0200", 3, 1, "0203", 3},  // a row below exists: none added
        {"FFFF", 3, 2, "10002", 4},
        {"FFFFFFFF", 1, 2, "0000", 4},  // the platform's 32-bit arithmetic wraps
    };
    for (const Case& c : cases) {
        app::Workspace workspace =
            WorkspaceWith({{"", c.address, "LDA", "", "", ""}, {"", c.address, "LDA", "", "", ""}});
        workspace.grid.SetCurrent(app::kFirstParameterColumn, c.currentRow);
        FinishLine(workspace, c.bytes);
        EXPECT_EQ(workspace.grid.Cell(app::kAddressColumn, c.currentRow + 1), c.nextAddress)
            << c.address;
        EXPECT_EQ(workspace.grid.RowCount(), c.rowCount) << c.address;
        EXPECT_EQ(workspace.grid.Row(), c.currentRow + 1);
        EXPECT_EQ(workspace.grid.Col(), app::kInstructionColumn);
    }
}

TEST(LineChecker, RecomputeRewritesFromTheCursorDownToTheFirstLineWithoutInstruction) {
    app::Workspace workspace = WorkspaceWith({
        {"", "0100", "LDA", "#05", "", ""},
        {"", "0200", "LDA", "1234", "", ""},  // cursor row
        {"", "9999", "STA", "45,", "X", ""},
        {"", "9999", "ASL", "A", "", ""},
        {"", "9999", "LDA", "1234567", "", ""},  // no form: 0 bytes
        {"", "9999", "BNE", "LOOP", "", ""},
        {"", "9999", "", "", "", ""},
        {"", "7777", "NOP", "", "", ""},  // below the gap: untouched
        {"", "7777", "", "", "", ""},
    });
    workspace.grid.SetRow(2);
    RecomputeAddresses(workspace);
    const std::vector<std::string> expected = {"0100", "0200", "0203", "0205", "0206",
                                               "0206", "0208", "7777", "7777"};
    EXPECT_EQ(AddressColumn(workspace, 1, 9), expected);
}

TEST(LineChecker, RecomputeOnALineWithoutAddressFailsAndWritesNothing) {
    app::Workspace workspace = WorkspaceWith({
        {"", "", "NOP", "", "", ""},
        {"", "0300", "NOP", "", "", ""},
    });
    EXPECT_THROW(RecomputeAddresses(workspace), text::ConversionError);
    EXPECT_EQ(AddressColumn(workspace, 1, 3), (std::vector<std::string>{"", "0300", ""}));
    // A line without instruction needs no address: nothing to recompute, nothing fails.
    workspace.grid.SetCell(app::kInstructionColumn, 1, "");
    EXPECT_NO_THROW(RecomputeAddresses(workspace));
}

}  // namespace
}  // namespace zorvan::assembler
