#pragma once
// The program grid's keys. A key reaches the grid as three events, always in this order: key-down
// (every key), the grid's own movement (arrows, Tab), and key-press for a key that produces a
// character, with the current cell as key-down left it. The line checker runs on key-press.
//
//   grid::Workspace workspace;                  // cursor on the first line's address
//   app::TypeText(workspace, "0200\rLDA\r#05\r"); // the grid now holds LDA #05 at 0200

#include <optional>
#include <string_view>

namespace zorvan::grid {
struct Workspace;
}  // namespace zorvan::grid

namespace zorvan::app {

// A key as the grid's rules name it. The codes are the virtual-key codes of the platform the
// program came from (Backspace 8, Enter 13, the arrows 37-40, F1 112: kKey* below); the windows
// layer maps its own key codes to them.
struct GridKey {
    int code = 0;
    bool shift = false;
    bool ctrl = false;
    bool alt = false;
};

inline constexpr int kKeyBackspace = 8;
inline constexpr int kKeyTab = 9;
inline constexpr int kKeyEnter = 13;
inline constexpr int kKeyShift = 16;
inline constexpr int kKeyControl = 17;
inline constexpr int kKeyAlt = 18;
inline constexpr int kKeyEscape = 27;
inline constexpr int kKeySpace = 32;
inline constexpr int kKeyPageUp = 33;
inline constexpr int kKeyPageDown = 34;
inline constexpr int kKeyEnd = 35;
inline constexpr int kKeyHome = 36;
inline constexpr int kKeyLeft = 37;
inline constexpr int kKeyUp = 38;
inline constexpr int kKeyRight = 39;
inline constexpr int kKeyDown = 40;
inline constexpr int kKeyInsert = 45;
inline constexpr int kKeyDelete = 46;
inline constexpr int kKeyF = 70;
inline constexpr int kKeyK = 75;
inline constexpr int kKeyF1 = 112;
inline constexpr int kKeyF8 = 119;
inline constexpr int kKeyF9 = 120;
inline constexpr int kKeyF10 = 121;

// True when the key is the shortcut of an enabled menu item (Ins, Shift+Del, F1, F8, F9, F10,
// Ctrl+F, Ctrl+K): the menu takes it and the grid never sees it. A disabled item's key reaches
// the grid like any other.
bool IsMenuShortcut(const grid::Workspace& workspace, const GridKey& key);

// Key-down, for every key: enables Assemble, Run and Step, sets the changed flag, and Enter in
// the comment column of the last row appends a row and moves to its instruction cell.
void GridKeyDown(grid::Workspace& workspace, const GridKey& key);

// The grid's own movement: arrows by one cell, Tab and Shift+Tab to the next and previous cell
// in reading order (wrapping round the table). The cursor never leaves the data rows.
void MoveByGridKey(grid::Workspace& workspace, const GridKey& key);

// Key-press: Space and Enter run the cell checks of the current column, then the addresses are
// recomputed from the current row for every character. A line whose address is not hexadecimal
// (or is empty) throws nothing: its addresses wait, and Enter on its cells goes to the address.
void GridKeyPress(grid::Workspace& workspace, char32_t character);

// After the key has reached its cell: a line with an instruction whose address cannot be read
// is said once in red under the grid (unless another message stands), and the notice goes as
// soon as the address reads.
void NoteAddressAfterKey(grid::Workspace& workspace);

// Where the cell editor's caret stands in the current cell's text, in characters: a selection
// from `from` to `to`, or the caret alone when they are equal.
struct EditorSelection {
    int from = 0;
    int to = 0;
};

// One whole key as the window sees it, for a key that reaches the grid: key-down, movement,
// key-press, then the character into the current cell as the cell editor does it. Space and Enter
// that arrive in columns 1 to 4 commit the cell and are not inserted; Space in columns 0 and 5
// types a space; Enter and Tab never insert. Without a selection the caret stands at the end:
// Backspace deletes the last character and any other character of the Greek code page is
// appended. With one, a character replaces the selection, Backspace and Delete remove it or the
// character before or after the caret. `character` is 0 for a key without one. Gives where the
// caret stands after a key that changed the cell it arrived in, in characters.
std::optional<int> TypeKey(grid::Workspace& workspace, const GridKey& key, char32_t character = 0,
                           std::optional<EditorSelection> selection = std::nullopt);

// Each character of the UTF-8 text as one key: '\r', '\n' and "\r\n" as Enter, '\t' as Tab,
// '\b' as Backspace.
void TypeText(grid::Workspace& workspace, std::string_view utf8);

}  // namespace zorvan::app
