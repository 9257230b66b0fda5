#include "app/grid_keys.h"

#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>
#include <tuple>

#include "app/line_editing.h"
#include "editor_fixture.h"
#include "grid/edit_history.h"
#include "grid/program_grid.h"
#include "grid/workspace.h"
#include "text/conversion_error.h"

namespace zorvan::app {
namespace {

using namespace testing;

// Each column of the last row, tested in turn against the row count as it then is, may add a row:
// a label adds one, then the new row's pre-filled address ("0201" below) adds another.
TEST(GridKeys, EnterInTheCommentColumnOfTheLastRowAppendsARow) {
    // clang-format off
    const struct { const char* name; std::vector<Line> lines; int column; const char* cursor; const char* message; } cases[] = {
        {"only a space", {{"", "", "", "", " ", ""}}, grid::kCommentColumn, "2,2/3", ""},
        {"empty", {{"", "", "", "", "", ""}}, grid::kCommentColumn, "5,1/2", "μήνυμα"},
        {"not last", {{"", "0200", "NOP", "", "", ""}, {}}, grid::kCommentColumn, "5,1/3", "μήνυμα"},
        {"second parameter", {{"", "0200", "", "", "", ""}}, grid::kSecondParameterColumn, "4,1/2", "μήνυμα"},
        {"label", {{"L", "0200", "NOP", "", "", ""}}, grid::kCommentColumn, "2,3/4", ""},
    };
    // clang-format on
    for (const auto& c : cases) {
        grid::Workspace workspace = WorkspaceWith(c.lines);
        workspace.grid.SetCell(grid::kAddressColumn, static_cast<int>(c.lines.size()) + 1, "0201");
        workspace.ShowMessage("μήνυμα", c.column, grid::Tone::kError);
        GridKeyDown(workspace, GridKey{kKeyEnter});
        EXPECT_EQ(Cursor(workspace), c.cursor) << c.name;
        EXPECT_EQ(workspace.message.text, c.message) << c.name;
        EXPECT_TRUE(workspace.changed && workspace.executionEnabled) << c.name;  // as for any key
    }
}

TEST(GridKeys, ArrowsAndTabMoveWithinTheDataRows) {
    // {column, row, key code, shift, alt, expected column, expected row} in three data rows.
    // clang-format off
    const int cases[][7] = {  // the borders; moves and Tab; Shift+Tab and keys that do not move
        {1, 1, kKeyUp, 0, 0, 1, 1}, {1, 3, kKeyDown, 0, 0, 1, 3}, {0, 2, kKeyLeft, 0, 0, 0, 2}, {5, 2, kKeyRight, 0, 0, 5, 2},
        {2, 2, kKeyDown, 0, 0, 2, 3}, {2, 2, kKeyUp, 0, 0, 2, 1}, {4, 2, kKeyTab, 0, 0, 5, 2}, {5, 2, kKeyTab, 0, 0, 0, 3}, {5, 3, kKeyTab, 0, 0, 0, 1},
        {0, 2, kKeyTab, 1, 0, 5, 1}, {0, 1, kKeyTab, 1, 0, 5, 3}, {3, 2, 'A', 0, 0, 3, 2}, {3, 2, kKeyLeft, 0, 1, 3, 2}};
    // clang-format on
    for (const auto& c : cases) {
        grid::Workspace workspace = WorkspaceWith({{}, {}, {}});
        workspace.grid.SetCurrent(c[0], c[1]);
        MoveByGridKey(workspace, {c[2], c[3] != 0, false, c[4] != 0});
        EXPECT_EQ(Cursor(workspace), std::to_string(c[5]) + "," + std::to_string(c[6]) + "/4")
            << c[2] << " from " << c[0] << "," << c[1];
    }
}

TEST(GridKeys, ExecutionShortcutsReachTheMenuOnlyWhenEnabled) {
    // clang-format off
    const std::tuple<GridKey, bool, bool> cases[] = {  // key, execution enabled, taken by the menu
        {{kKeyF8}, false, false}, {{kKeyInsert}, false, true}, {{kKeyDelete, true}, false, true},
        {{kKeyDelete}, false, false}, {{kKeyK}, false, false}, {{kKeyK, false, true}, false, true},
        {{kKeyF8}, true, true}, {{kKeyF9}, true, true}, {{kKeyF10}, true, true},
    };
    // clang-format on
    for (const auto& [key, enabled, shortcut] : cases) {
        grid::Workspace workspace;
        workspace.executionEnabled = enabled;
        EXPECT_EQ(IsMenuShortcut(workspace, key), shortcut) << key.code;
    }
}

// Space types only in the label and comment columns; the checks of columns 1 to 3 refuse "a" and
// keep it. A character outside the Greek code page is refused; Backspace takes a whole character.
TEST(GridKeys, TypingPutsTheCharactersTheEditorTakesIntoTheCell) {
    // clang-format off
    const std::tuple<int, const char*, const char*> cases[] = {  // column, keys, the cell afterwards
        {0, "a b", "a b"}, {5, "a b", "a b"}, {1, "a b", "0200ab"}, {2, "a b", "LDAab"}, {3, "a b", "ab"},
        {5, "αβ中\b", "α"}, {5, "αβ\b\b\b", ""},
    };
    // clang-format on
    for (const auto& [column, keys, expected] : cases) {
        grid::Workspace workspace = WorkspaceWith({{"", "0200", "LDA", "", "", ""}});
        workspace.grid.SetCol(column);
        TypeText(workspace, keys);
        EXPECT_EQ(workspace.grid.Cell(column, 1), expected) << column << keys;
    }
}

TEST(ProgramGrid, RowsLeavingTheTableKeepTheirCellsButAreNotContent) {
    grid::ProgramGrid grid;
    EXPECT_EQ(grid.ContentCount(), 0);  // the header captions are not content
    grid.SetCell(grid::kCommentColumn, 1, " ");
    grid.SetCell(grid::kAddressColumn, 9, "0210");  // beyond the table, as the line checker writes
    EXPECT_EQ(grid.ContentCount(), 1);
    grid.SetRowCount(10);
    EXPECT_EQ(grid.ContentCount(), 2);
    grid.SetRowCount(3);
    EXPECT_EQ(grid.Cell(grid::kAddressColumn, 9), "0210");
    EXPECT_EQ(grid.Cell(grid::kCommentColumn, 1000), "");
}

// The cell editor's caret inside the text: a character goes where it stands or replaces the
// selection, Backspace and Delete take the character before or after it; a key that moves the
// cursor types into the next cell at its end, as the editor does there.
TEST(GridKeys, TheEditorTypesWhereItsCaretStands) {
    // clang-format off
    const struct {
        const char* comment; EditorSelection at; int code; char32_t character;
        const char* after; std::optional<int> caret;
    } cases[] = {
        {"αβγ", {1, 1}, 'X', U'X', "αXβγ", 2},
        {"αβγ", {0, 2}, 'X', U'X', "Xγ", 1},
        {"αβγ", {1, 1}, kKeyBackspace, U'\b', "βγ", 0},
        {"αβγ", {0, 0}, kKeyBackspace, U'\b', "αβγ", std::nullopt},
        {"αβγ", {1, 1}, kKeyDelete, 0, "αγ", 1},
        {"αβγ", {3, 3}, kKeyDelete, 0, "αβγ", std::nullopt},
        {"αβγ", {1, 3}, kKeyDelete, 0, "α", 1},
        {"αβγ", {9, 9}, 'X', U'X', "αβγX", 4},  // a caret past the end stands at the end
        {"αβγ", {1, 1}, kKeyEnter, U'\r', "αβγ", std::nullopt},
    };
    // clang-format on
    for (const auto& c : cases) {
        grid::Workspace workspace;
        workspace.grid.SetCell(grid::kCommentColumn, 1, c.comment);
        workspace.grid.SetCurrent(grid::kCommentColumn, 1);
        const std::optional<int> caret = TypeKey(workspace, {c.code}, c.character, c.at);
        EXPECT_EQ(workspace.grid.Cell(grid::kCommentColumn, 1), c.after) << c.after;
        EXPECT_EQ(caret, c.caret) << c.after;
    }
    // Tab moves on: the character after it goes to the end of the next cell, whatever the caret.
    grid::Workspace workspace;
    workspace.grid.SetCell(grid::kLabelColumn, 1, "ΑΒ");
    workspace.grid.SetCurrent(grid::kLabelColumn, 1);
    EXPECT_EQ(TypeKey(workspace, {kKeyTab}, U'\t', EditorSelection{0, 0}), std::nullopt);
    EXPECT_EQ(workspace.grid.Col(), grid::kAddressColumn);
}

// A student's typing replayed key by key: what the grid, the cursor and the message area show.

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

const std::vector<Line> kThreeLines = {{"START", "0200", "LDA", "#05", "", ""},
                                       {"", "0202", "STA", "0300", "", ""},
                                       {"", "0205", "BRK", "", "", "τέλος"}};

// Rows 1 to 21 hold a comment; the rows the count opens are emptied, but never past row 19.
// Insert Line opens an empty line that takes the moved line's address. Insert Lines appends the
// rows the text counts and empties the rows it opens, up to row 19 (rows 4 to 21 hold "x"); rows
// taken away bring the cursor up onto the last row left, never onto the header. Delete Line moves
// the lines up and recomputes the addresses from the line above. Each marks the program changed
// exactly when a cell or the row count changed (New would otherwise drop it unasked).
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

// Undo and redo give back every program the student had, key by key and command by command,
// with the changed flag following the saved program.
// The whole program in one text: the row count, every stored cell, the breakpoints, the caption
// and the file; or only what a save would write (the table's rows).
enum class Detail { kAll, kNoBreakpoints, kAsSaved };
std::string Program(const grid::Workspace& workspace, Detail detail = Detail::kAll) {
    const grid::ProgramGrid& grid = workspace.grid;
    std::string text = std::to_string(grid.RowCount()) + "\n";
    const int rows = detail == Detail::kAsSaved ? grid.RowCount() : grid.StoredRowCount();
    for (int row = 1; row < rows; ++row) text += testing::RowText(workspace, row) + "\n";
    if (detail == Detail::kAsSaved) return text;
    if (detail == Detail::kAll) {
        for (int row : grid.BreakpointRows()) text += "*" + std::to_string(row);
    }
    return text + "\n" + workspace.caption + "\n" + workspace.filePath;
}

// The window's part: note the cursor, do the work, record; a key records the cell it went to.
struct Session {
    grid::Workspace workspace;
    grid::EditHistory history{workspace};

    void Key(std::string_view character) {
        history.NoteCursor(workspace);
        const grid::CellPosition cell{workspace.grid.Col(), workspace.grid.Row()};
        TypeText(workspace, character);
        history.Record(workspace, cell, character == "\r" || character == "\t");
    }
    void Type(std::string_view keys) {
        for (std::size_t i = 0; i < keys.size(); ++i) Key(keys.substr(i, 1));
    }
    template <typename Work>
    void Command(Work work) {
        history.NoteCursor(workspace);
        try {
            work(workspace);
        } catch (const text::ConversionError&) {
            // What was done stays done, and is a step like any other.
        }
        history.Record(workspace);
    }
};

TEST(EditHistoryTest, TheKeysOfOneCellAndItsRewrittenAddressesAreOneStep) {
    // Each row: the keys, then how many steps they make, and the cursor after undoing them all.
    const struct {
        const char* keys;
        int steps;
        const char* cursorAfterUndo;
    } cases[] = {
        {"0200", 1, "1,1/2"},               // typed, not yet committed
        {"0200\r", 1, "1,1/2"},             // committed with Enter
        {"0200\rLDA\r#05\r", 3, "1,1/2"},   // three cells, the checker's rewrites with them
        {"0200\r\b\b\bNOP\r", 2, "1,1/2"},  // Backspace in an empty cell changes nothing
        {"\x1b\x1b", 0, "1,1/2"},           // Escape changes no cell: nothing to undo
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.keys);
        Session s;
        const std::string start = Program(s.workspace);
        s.Type(c.keys);
        const std::string typed = Program(s.workspace);
        int steps = 0;
        while (s.history.Undo(s.workspace)) ++steps;
        EXPECT_EQ(steps, c.steps);
        EXPECT_EQ(Program(s.workspace), start);
        EXPECT_EQ(testing::Cursor(s.workspace), c.cursorAfterUndo);
        while (s.history.Redo(s.workspace)) continue;
        EXPECT_EQ(Program(s.workspace), typed);
    }
}

TEST(EditHistoryTest, RandomEditsUndoneToTheStartGiveTheSavedProgramBack) {
    // Keys, the Grid menu's commands, cursor moves and breakpoints in random order on a program
    // read from a file, saved once half way: undone to the start they give the program as read,
    // unchanged; redone, the last program, changed unless it is the saved one.
    const char* const keys[] = {"0", "2", "A", "L", "D", "#", "5", "\r", "\t", "\b", " ", "\x1b"};
    for (unsigned seed = 1; seed <= 40; ++seed) {
        SCOPED_TRACE(seed);
        std::mt19937 random(seed);
        Session s;
        s.workspace = testing::WorkspaceWith(
            {{"", "0200", "LDA", "#05"}, {"L", "0202", "STA", "0300"}, {"", "0205"}});
        s.workspace.caption = "Zorvan-p.zrv";
        s.workspace.filePath = "p.zrv";
        s.history.Reset(s.workspace);
        // Breakpoints set before the first change stay when it is undone.
        const std::string start = Program(s.workspace, Detail::kNoBreakpoints);
        std::string saved = Program(s.workspace, Detail::kAsSaved);
        for (int action = 0; action < 80; ++action) {
            const auto pick = random() % 10;
            if (pick == 0) s.Command(InsertLine);
            if (pick == 1) s.Command([](grid::Workspace& w) { InsertLines(w, "2"); });
            if (pick == 2) s.Command(DeleteLine);
            if (pick == 3) s.Command(ClearGrid);
            if (pick == 4) s.workspace.grid.ToggleBreakpoint(s.workspace.grid.Row());
            if (pick == 5) s.workspace.grid.SetRow(int(random() % 6));
            if (pick > 5) s.Key(keys[random() % std::size(keys)]);
            if (action == 40) {
                s.workspace.changed = false;  // as a save leaves it
                s.Command([](grid::Workspace&) {});
                saved = Program(s.workspace, Detail::kAsSaved);
            }
        }
        s.Command([](grid::Workspace&) {});
        const std::string end = Program(s.workspace);
        const bool endChanged = Program(s.workspace, Detail::kAsSaved) != saved;
        while (s.history.Undo(s.workspace)) {
            EXPECT_EQ(s.workspace.changed, Program(s.workspace, Detail::kAsSaved) != saved);
        }
        EXPECT_EQ(Program(s.workspace, Detail::kNoBreakpoints), start);
        while (s.history.Redo(s.workspace)) continue;
        EXPECT_EQ(Program(s.workspace), end);
        EXPECT_EQ(s.workspace.changed, endChanged);
    }
}

TEST(EditHistoryTest, AnEditAfterUndoForgetsTheRedoAndASaveIsNoStep) {
    Session s;
    s.Type("0200\rNOP\r");
    s.history.Undo(s.workspace);
    EXPECT_TRUE(s.history.CanRedo());
    s.Type("BRK\r");
    EXPECT_FALSE(s.history.CanRedo());
    s.workspace.filePath = "p.zrv";  // saved
    s.workspace.changed = false;
    s.Command([](grid::Workspace&) {});
    ASSERT_TRUE(s.history.Undo(s.workspace));
    EXPECT_EQ(s.workspace.grid.Cell(grid::kInstructionColumn, 1), "") << "the save was not a step";
    EXPECT_TRUE(s.workspace.changed);
    ASSERT_TRUE(s.history.Redo(s.workspace));
    EXPECT_EQ(s.workspace.filePath, "p.zrv");
    EXPECT_FALSE(s.workspace.changed) << "redone to the saved program";
}

TEST(EditHistoryTest, ACellTypedAndUndoneInItsEditorIsPassedOver) {
    Session s;
    s.Type("0200\rLD");
    s.workspace.grid.SetCell(grid::kInstructionColumn, 1, "");  // the editor's own undo
    s.history.Record(s.workspace, grid::CellPosition{grid::kInstructionColumn, 1}, false);
    ASSERT_TRUE(s.history.Undo(s.workspace));
    EXPECT_EQ(s.workspace.grid.Cell(grid::kAddressColumn, 1), "") << "one Ctrl+Z shows a change";
}

}  // namespace
}  // namespace zorvan::app
