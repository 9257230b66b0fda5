#pragma once
// The memory window's arithmetic, without a window: the 16 x 16 dump with its address and
// character columns, the limits of moving the view, the start-address field's checks and the
// storing of one edited byte. The window keeps the texts of its grid; the view's start address is
// always the text of the first address cell, so these functions take texts and give texts.

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "cpu/machine.h"
#include "grid/workspace.h"

namespace zorvan::app {

inline constexpr int kMemoryGridColumns = 18;  // address, 16 bytes, characters
inline constexpr int kMemoryGridRows = 17;     // header row and 16 lines
inline constexpr int kMemoryLines = 16;
inline constexpr int kBytesPerLine = 16;
inline constexpr int kCharacterColumn = 17;
// The view never shows past FFFE, so the last start is FEFF.
inline constexpr int kLastMemoryViewStart = 0xFEFF;

inline constexpr std::string_view kFewerThanFourDigitsWarning =
    "Όχι λιγότερα από τέσσερα δεκαεξαδικά ψηφία.";
inline constexpr std::string_view kWrongAddressWarning =
    "Λάθος διεύθυνση. Δεκτά μόνο τέσσερα δεκαεξαδικά ψηφία.";

// One line of the dump: its address, sixteen byte texts and the character rendering.
struct MemoryLine {
    std::string address;
    std::array<std::string, kBytesPerLine> bytes;
    std::string characters;
};

struct MemoryDump {
    int start = 0;
    std::array<MemoryLine, kMemoryLines> lines;
};

// The start that a view asked for with this text really gets: between 0000 and FEFF.
// Throws ConversionError when the text is not hexadecimal.
int MemoryViewStart(std::string_view startText);

// The dump from the start given as text. Throws ConversionError when it is not hexadecimal.
MemoryDump ShowMemoryFrom(const cpu::Machine& machine, std::string_view startText);

// The character column for sixteen byte texts: "." for a text "00", else the Windows-1253
// character of the value's low byte, with U+FFFD for the bytes the code page leaves undefined.
std::string MemoryCharacters(const std::array<std::string, kBytesPerLine>& byteTexts);
// The same for one byte text.
std::string CellCharacter(std::string_view byteText);

// Moving the view from start S. Down and Up move one line and always give a start; Page Down and
// Page Up give nothing when the move would cross the ends of memory.
int LineDownStart(int start);
int LineUpStart(int start);
std::optional<int> PageDownStart(int start);
std::optional<int> PageUpStart(int start);

// Enter in the start-address field: the warning to show, or nothing when the text is an address.
std::optional<std::string_view> CheckStartAddressText(std::string_view text);

// What storing a cell asks the window to do afterwards.
struct StoreOutcome {
    std::string warning;           // empty when there is nothing to show
    bool cellBecomesZero = false;  // the cell's text is to read "00"
    int written = -1;              // the cell stored, or -1 for none
};

// Stores the text of the cell in the given grid column of a line whose address cell holds
// rowAddressText. Only the byte columns 1 to 16 are stored; a non-hexadecimal text stores 0 after
// its warning; a cell whose address would fall outside memory is refused with a warning.
// Throws ConversionError when the row's address, or a byte text that is empty, is not a number.
StoreOutcome StoreMemoryCell(cpu::Machine& machine, std::string_view rowAddressText, int column,
                             std::string_view cellText);
// The same on the workspace's machine: the cell stored counts as written, by the student, for
// the checks of slips.
StoreOutcome StoreMemoryCell(grid::Workspace& workspace, std::string_view rowAddressText,
                             int column, std::string_view cellText);

// The column that Enter in the grid moves to: one to the right, up to the last byte column.
int ColumnAfterEnter(int column);

}  // namespace zorvan::app
