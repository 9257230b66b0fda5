#include "app/line_editing.h"

#include <gtest/gtest.h>

#include "editor_fixture.h"
#include "text/conversion_error.h"

namespace zorvan::app {
namespace {

using namespace testing;

const std::vector<Line> kThreeLines = {{"START", "0200", "LDA", "#05", "", ""},
                                       {"", "0202", "STA", "0300", "", ""},
                                       {"", "0205", "BRK", "", "", "τέλος"}};

// Rows 1 to 21 hold a comment; the rows the count opens are emptied, but never past row 19.
// Insert Line opens an empty line that takes the moved line's address. Insert Lines appends the
// rows the text counts and empties the rows it opens, up to row 19 (rows 4 to 21 hold "x").
// Delete Line moves the lines up and recomputes the addresses from the line above. Each marks the
// program changed exactly when a cell or the row count changed (New would otherwise drop it
// unasked).
TEST(LineEditing, InsertAndDeleteCommandsMoveTheLinesAndKeepTheHeader) {
    // clang-format off
    const struct { char command; const char* count; int row, rowCount, setRow; const char* setAddress; char result; const char* cursor; std::vector<std::string> addresses; bool marksChanged; } cases[] = {
        {'i', "", 1, 4, 0, "", '-', "2,1/5", {"0200", "", "0202", "0205"}, true},
        {'i', "", 3, 4, 0, "", '-', "2,3/5", {"0200", "0202", "0205", ""}, true},
        {'i', "", 1, 1, 0, "", '-', "2,1/2", {}, true},  // a grid without data rows gets one back
        {'n', "3", 2, 5, 0, "", '-', "5,2/8", {}, true}, {'n', "0", 4, 5, 0, "", '-', "5,4/5", {}, false},
        {'n', "-2", 4, 5, 0, "", '-', "5,2/3", {}, true}, {'n', "-1", 1, 1, 0, "", '-', "5,1/1", {}, false},
        // Never fewer than one data row; a count that is not a decimal number changes nothing.
        {'n', "-5", 4, 5, 0, "", '-', "5,1/2", {}, true},
        {'n', "", 4, 5, 0, "", 't', "5,4/5", {}, false}, {'n', "1.5", 4, 5, 0, "", 't', "5,4/5", {}, false},
        {'n', "0x3", 2, 5, 0, "", '-', "5,2/8", {}, true},  // hexadecimal after "0x", as StrToInt reads
        {'d', "", 1, 4, 0, "", '-', "5,1/3", {"0202", "0205", ""}, true},  // the header is above: stale addresses stay
        {'d', "", 2, 4, 0, "", '-', "5,2/3", {"0200", "0202", "0203"}, true},
        {'d', "", 3, 4, 0, "", '-', "5,2/3", {"0200", "0202", "0205"}, true},  // the cursor follows onto the last line
        {'d', "", 1, 4, 4, "0206", '-', "5,1/3", {"0202", "0205", "0206"}, true},  // the stored row beyond the table moves up too
        {'d', "", 2, 4, 1, "", 't', "5,1/3", {"", "0205", ""}, true},  // a line above without address: deleted, then fails
        {'d', "", 1, 2, 0, "", 'b', "5,1/2", {"", "0202", "0205"}, true},  // the only line is emptied, with a beep
        {'d', "", 1, 1, 0, "", 'b', "5,1/1", {""}, false},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command + std::to_string(c.row) + c.count);
        grid::Workspace w = WorkspaceWith(kThreeLines);
        for (int row = 4; row <= 21; ++row) w.grid.SetCell(grid::kCommentColumn, row, "x");
        w.grid.SetRowCount(c.rowCount);
        if (c.setRow) w.grid.SetCell(grid::kAddressColumn, c.setRow, c.setAddress);
        w.grid.SetCurrent(grid::kCommentColumn, c.row);
        char result = 't';
        try {
            if (c.command == 'i') InsertLine(w);
            if (c.command == 'n') InsertLines(w, c.count);
            result = c.command == 'd' && DeleteLine(w) != DeleteLineResult::kDeleted ? 'b' : '-';
        } catch (const text::ConversionError&) {
        }
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(w.changed, c.marksChanged);
        EXPECT_EQ(Cursor(w), c.cursor);
        EXPECT_EQ(AddressColumn(w, 1, static_cast<int>(c.addresses.size())), c.addresses);
        EXPECT_EQ(w.grid.Cell(grid::kAddressColumn, 0), "Διευθύνσεις");
        for (int row = 4; row <= 21 && c.command == 'n'; ++row) {
            const bool emptied = c.result == '-' && row >= c.rowCount && row <= 19;
            EXPECT_EQ(w.grid.Cell(grid::kCommentColumn, row), emptied ? "" : "x") << row;
        }
    }
}

TEST(LineEditing, ClearGridLeavesOneEmptyLineAndGreysTheMessageArea) {
    grid::Workspace w = WorkspaceWith(kThreeLines);
    w.grid.SetCurrent(grid::kCommentColumn, 3);
    w.caption = "Zorvan - prog.zrv";
    w.ShowMessage("μήνυμα", 3, grid::Tone::kNotice);
    w.executionEnabled = true;
    ClearGrid(w);
    EXPECT_EQ(Cursor(w) + " " + std::to_string(w.grid.ContentCount()), "1,1/2 0");
    EXPECT_EQ(w.caption + "|" + w.message.text, "Zorvan|");
    EXPECT_TRUE(w.changed && w.executionEnabled && !w.message.headingEnabled &&
                !w.message.textEnabled);
    w.changed = false;
    ClearGrid(w);  // an empty grid stays as it was
    EXPECT_FALSE(w.changed);
}

}  // namespace
}  // namespace zorvan::app
