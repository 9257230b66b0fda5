#include "app/grid_keys.h"

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "asm/line_checker.h"
#include "grid/program_grid.h"
#include "grid/workspace.h"
#include "text/characters.h"
#include "text/conversion_error.h"
#include "text/cp1253.h"
#include "text/hex_text.h"

namespace zorvan::app {
namespace {

inline constexpr char32_t kCharBackspace = 8;
inline constexpr char32_t kCharTab = 9;
inline constexpr char32_t kCharEnter = 13;
inline constexpr char32_t kCharSpace = 32;

// Enter in the comment column of the last row: each column of the last row, tested in turn
// against the row count as it is at that moment, may add one row.
void AppendRowOnEnter(grid::Workspace& workspace) {
    grid::ProgramGrid& grid = workspace.grid;
    for (int column = 0; column < grid::kGridColumnCount; ++column) {
        const int rowCount = grid.RowCount();
        if (!grid.Cell(column, rowCount - 1).empty() && grid.Cell(column, rowCount + 1).empty() &&
            grid.Row() == rowCount - 1) {
            grid.SetRowCount(rowCount + 1);
            grid.SetCurrent(grid::kInstructionColumn, rowCount);
            workspace.ClearMessage();
        }
    }
}

// What the cell editor does with the character once the handlers have run: the caret after an
// edit of the cell, or nothing when the cell was not typed into.
std::optional<int> EditCurrentCell(grid::Workspace& workspace, const GridKey& key,
                                   char32_t character, int arrivalColumn,
                                   std::optional<EditorSelection> selection) {
    grid::ProgramGrid& grid = workspace.grid;
    if (grid.Row() < 1 || grid.Row() > grid.LastRow()) return std::nullopt;  // no data row
    if (character == kCharSpace && arrivalColumn != grid::kLabelColumn &&
        arrivalColumn != grid::kCommentColumn) {
        return std::nullopt;  // the Space committed a checked cell
    }
    const bool deletes = character == 0 && key.code == kKeyDelete && !key.shift;
    const bool types = character >= kCharSpace && character != 0x7F;
    if (!types && character != kCharBackspace && !deletes) {
        return std::nullopt;  // Enter, Tab, Escape and other control characters type nothing
    }
    std::u32string cell = text::ToCharacters(grid.Cell(grid.Col(), grid.Row()));
    const int length = static_cast<int>(cell.size());
    // Without a selection the caret stands at the end, where a key model without one types.
    const EditorSelection at = selection.value_or(EditorSelection{length, length});
    int from = std::clamp(std::min(at.from, at.to), 0, length);
    int to = std::clamp(std::max(at.from, at.to), 0, length);
    if (from == to) {
        if (character == kCharBackspace && from > 0) --from;
        if (deletes && to < length) ++to;
    }
    if (from == to && !types) return std::nullopt;
    cell.erase(static_cast<std::size_t>(from), static_cast<std::size_t>(to - from));
    if (types) cell.insert(cell.begin() + from, character);
    grid.SetCell(grid.Col(), grid.Row(), text::FromCharacters(cell));
    return types ? from + 1 : from;
}

GridKey KeyForCharacter(char32_t character) {
    GridKey key;
    if (character >= 'a' && character <= 'z') {
        key.code = static_cast<int>(character - 'a' + 'A');
    } else if (character >= 'A' && character <= 'Z') {
        key.code = static_cast<int>(character);
        key.shift = true;
    } else if ((character >= '0' && character <= '9') || character == kCharSpace ||
               character == kCharBackspace || character == kCharTab || character == kCharEnter) {
        key.code = static_cast<int>(character);
    }
    // Any other character: a key whose code names no navigation or command key.
    return key;
}

// What is said when the line's address text cannot be read, empty or not.
std::string UnreadableAddressText(int row, bool empty) {
    const std::string line = std::to_string(row);
    return empty ? "Η γραμμή " + line +
                       " δεν έχει διεύθυνση. Γράψτε την στη στήλη «Διευθύνσεις» και πατήστε Enter."
                 : "Η διεύθυνση της γραμμής " + line +
                       " δεν είναι δεκαεξαδικός αριθμός. Διορθώστε την στη στήλη «Διευθύνσεις» "
                       "και πατήστε Enter.";
}

bool IsAddressNotice(std::string_view message) {
    return message.ends_with("στη στήλη «Διευθύνσεις» και πατήστε Enter.");
}

bool AddressReads(const std::string& address) {
    return text::ParseHex(address).has_value();
}

// The current line's address cannot be read: said in red under the grid, so that typing in the
// line, and above all correcting the address itself, goes on without a box on every key.
void ShowAddressNotice(grid::Workspace& workspace, int column) {
    const grid::ProgramGrid& grid = workspace.grid;
    const bool empty = grid.Cell(grid::kAddressColumn, grid.Row()).empty();
    workspace.ShowMessage(UnreadableAddressText(grid.Row(), empty), column, grid::Tone::kError);
}

}  // namespace

bool IsMenuShortcut(const grid::Workspace& workspace, const GridKey& key) {
    const bool plain = !key.shift && !key.ctrl && !key.alt;
    switch (key.code) {
        case kKeyInsert:
        case kKeyF1:
            return plain;
        case kKeyDelete:
            return key.shift && !key.ctrl && !key.alt;
        case kKeyF8:
        case kKeyF9:
        case kKeyF10:
            return plain && workspace.executionEnabled;
        case kKeyF:
        case kKeyK:
            return key.ctrl && !key.shift && !key.alt;
        default:
            return false;
    }
}

void GridKeyDown(grid::Workspace& workspace, const GridKey& key) {
    workspace.executionEnabled = true;
    workspace.changed = true;
    if (key.code == kKeyEnter && workspace.grid.Col() == grid::kCommentColumn) {
        AppendRowOnEnter(workspace);
    }
}

void MoveByGridKey(grid::Workspace& workspace, const GridKey& key) {
    grid::ProgramGrid& grid = workspace.grid;
    if (key.alt || grid.LastRow() < 1) return;
    const int lastColumn = grid::kGridColumnCount - 1;
    int column = grid.Col();
    int row = grid.Row();
    switch (key.code) {
        case kKeyLeft:
            if (column > 0) --column;
            break;
        case kKeyRight:
            if (column < lastColumn) ++column;
            break;
        case kKeyUp:
            if (row > 1) --row;
            break;
        case kKeyDown:
            if (row < grid.LastRow()) ++row;
            break;
        case kKeyTab:
            if (key.shift) {
                if (--column < 0) {
                    column = lastColumn;
                    row = row > 1 ? row - 1 : grid.LastRow();
                }
            } else if (++column > lastColumn) {
                column = 0;
                row = row < grid.LastRow() ? row + 1 : 1;
            }
            break;
        default:
            return;
    }
    grid.SetCurrent(column, row);
}

void GridKeyPress(grid::Workspace& workspace, char32_t character) {
    // Only the current line's address text can fail to convert here; the checks read it before
    // they change anything but the cells right of the cursor.
    if (character == kCharSpace || character == kCharEnter) {
        try {
            // Each block looks at the column as the blocks before it left it, so one key can
            // check the address, the instruction and the first parameter in turn.
            if (workspace.grid.Col() == grid::kSecondParameterColumn) {
                assembler::CheckSecondParameterCell(workspace);
            }
            if (workspace.grid.Col() == grid::kAddressColumn) assembler::CheckAddress(workspace);
            if (workspace.grid.Col() == grid::kInstructionColumn)
                assembler::CheckInstruction(workspace);
            if (workspace.grid.Col() == grid::kFirstParameterColumn) {
                assembler::CheckFirstParameterCell(workspace);
            }
        } catch (const text::ConversionError&) {
            ShowAddressNotice(workspace, grid::kAddressColumn);  // where it must be mended
            return;
        }
    }
    // The line's addresses wait until its own reads; NoteAddressAfterKey says so.
    const grid::ProgramGrid& grid = workspace.grid;
    if (AddressReads(grid.Cell(grid::kAddressColumn, grid.Row())))
        assembler::RecomputeAddresses(workspace);
}

void NoteAddressAfterKey(grid::Workspace& workspace) {
    const grid::ProgramGrid& grid = workspace.grid;
    const int row = grid.Row();
    const bool unreadable = row >= 1 && !grid.Cell(grid::kInstructionColumn, row).empty() &&
                            !AddressReads(grid.Cell(grid::kAddressColumn, row));
    const bool noticeShown = IsAddressNotice(workspace.message.text);
    if (unreadable && (noticeShown || workspace.message.text.empty())) {
        ShowAddressNotice(workspace, grid.Col());
    } else if (!unreadable && noticeShown) {
        workspace.ClearMessage();
    }
}

std::optional<int> TypeKey(grid::Workspace& workspace, const GridKey& key, char32_t character,
                           std::optional<EditorSelection> selection) {
    const int arrivalColumn = workspace.grid.Col();
    const std::pair arrival{arrivalColumn, workspace.grid.Row()};
    GridKeyDown(workspace, key);
    MoveByGridKey(workspace, key);
    // The editor takes only characters of the Greek code page; others never reach the grid.
    if (character != 0 && !text::IsInCp1253(character)) return std::nullopt;
    if (character != 0) GridKeyPress(workspace, character);
    std::optional<int> caret;
    // The editor edits the cell it stands in; a key that moved it (Delete at the grid's own
    // handling included) types into the cell it moved to as the editor would, at its end.
    if (character != 0 || selection) {
        const bool stayed = std::pair(workspace.grid.Col(), workspace.grid.Row()) == arrival;
        caret = EditCurrentCell(workspace, key, character, arrivalColumn,
                                stayed ? selection : std::nullopt);
        if (!stayed) caret.reset();
    }
    NoteAddressAfterKey(workspace);
    return caret;
}

void TypeText(grid::Workspace& workspace, std::string_view utf8) {
    const std::u32string characters = text::ToCharacters(utf8);
    for (std::size_t i = 0; i < characters.size(); ++i) {
        char32_t character = characters[i];
        if (character == '\r' || character == '\n') {
            if (character == '\r' && i + 1 < characters.size() && characters[i + 1] == '\n') ++i;
            character = kCharEnter;
        }
        TypeKey(workspace, KeyForCharacter(character), character);
    }
}

}  // namespace zorvan::app
