#include "asm/line_checker.h"

#include <gtest/gtest.h>

#include "editor_fixture.h"
#include "text/conversion_error.h"

namespace zorvan::assembler {
namespace {

using namespace app::testing;

TEST(LineChecker, AddressCheckGivesThreeDifferentRefusalsAndNeverChangesTheAddress) {
    // clang-format off
    const std::pair<const char*, const char*> cases[] = {  // address, refusal ("": accepted)
        {"ffFF", ""},
        {"02000", "Η διεύθυνση δέχεται μόνο τέσσερα δεκαεξαδικά ψηφία."},
        {"02G0", "Λάθος διεύθυνση. Δεκτά μόνο τέσσερα δεκαεξαδικά ψηφ'ια."},
        {"ΑΒΓΔ", "Λάθος διεύθυνση. Δεκτά μόνο τέσσερα δεκαεξαδικά ψηφ'ια."},  // four characters (eight bytes): not too long
    };
    // clang-format on
    for (const auto& [address, message] : cases) {
        grid::Workspace workspace = WorkspaceWith({{"", address, "", "", "", ""}});
        CheckAddress(workspace);
        EXPECT_EQ(workspace.message.text, message) << address;
        EXPECT_EQ(workspace.grid.Col(), *message ? grid::kAddressColumn : grid::kInstructionColumn);
        EXPECT_EQ(workspace.grid.Cell(grid::kAddressColumn, 1), address);
    }
}

// The parameters right of the cursor are emptied; a row is added only on the last row.
TEST(LineChecker, FinishLineWritesTheNextAddressAndMovesToItsInstruction) {
    // clang-format off
    const struct { const char* address; int bytes, column, row; const char* line; const char* nextAddress; const char* cursor; } cases[] = {
        {"0200", 3, 3, 1, "|0200|LDA|#05||", "0203", "2,2/3"},
        {"0200", 1, 2, 1, "|0200|LDA|||", "0201", "2,2/3"},  // as for an implied instruction
        {"FFFF", 3, 4, 2, "|FFFF|LDA|#05|X|", "10002", "2,3/4"},  // five digits past FFFF
        {"FFFFFFFF", 1, 3, 2, "|FFFFFFFF|LDA|#05||", "0000", "2,3/4"},  // the platform's 32-bit arithmetic wraps
    };
    // clang-format on
    for (const auto& c : cases) {
        const Line line = {"", c.address, "LDA", "#05", "X", ""};
        grid::Workspace workspace = WorkspaceWith({line, line});
        workspace.grid.SetCurrent(c.column, c.row);
        FinishLine(workspace, c.bytes);
        EXPECT_EQ(RowText(workspace, c.row), c.line) << c.address;
        EXPECT_EQ(workspace.grid.Cell(grid::kAddressColumn, c.row + 1), c.nextAddress) << c.address;
        EXPECT_EQ(Cursor(workspace), c.cursor) << c.address;
    }
}

TEST(LineChecker, RecomputeRewritesFromTheCursorDownToTheFirstLineWithoutInstruction) {
    // Row 2 is the cursor's; LDA 1234567 has no form (0 bytes); the rows below the gap stay.
    // clang-format off
    grid::Workspace workspace = WorkspaceWith({
        {"", "0100", "LDA", "#05", "", ""}, {"", "0200", "LDA", "1234", "", ""}, {"", "9999", "STA", "45,", "X", ""},
        {"", "9999", "ASL", "A", "", ""}, {"", "9999", "LDA", "1234567", "", ""}, {"", "9999", "BNE", "LOOP", "", ""},
        {"", "9999", "", "", "", ""}, {"", "7777", "NOP", "", "", ""}, {"", "7777", "", "", "", ""},
    });
    const std::vector<std::string> expected = {"0100", "0200", "0203", "0205", "0206", "0206", "0208", "7777", "7777"};
    // clang-format on
    workspace.grid.SetRow(2);
    RecomputeAddresses(workspace);
    EXPECT_EQ(AddressColumn(workspace, 1, 9), expected);
    // A line without address fails before writing anything below it.
    workspace.grid.SetCell(grid::kAddressColumn, 2, "");
    EXPECT_THROW(RecomputeAddresses(workspace), text::ConversionError);
    EXPECT_EQ(workspace.grid.Cell(grid::kAddressColumn, 3), "0203");
}

}  // namespace
}  // namespace zorvan::assembler
