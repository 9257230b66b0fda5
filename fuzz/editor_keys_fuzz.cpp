// Any sequence of keys and commands on the headless editor: typing (Space, Enter, arrows, Tab,
// Backspace, Greek letters), insert and delete lines, clear, assemble. Nothing may crash; after
// every step the grid keeps its header and at least one data row with the current cell inside.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "app/grid_keys.h"
#include "app/line_editing.h"
#include "asm/assembly_pass.h"
#include "grid/workspace.h"
#include "text/conversion_error.h"

namespace {

using namespace zorvan;
using namespace zorvan::app;

// Characters a student types, weighted towards those that build programs.
constexpr char32_t kCharacters[] = {U'0', U'1', U'2', U'3', U'4', U'5', U'6', U'7', U'8', U'9',
                                    U'A', U'B', U'C', U'D', U'E', U'F', U'X', U'Y', U'#', U',',
                                    U'(', U')', U' ', U'L', U'O', U'P', U'N', U'S', U'T', U'J',
                                    U'M', U'R', U'I', U'a', U'_', U'-', U'Ω', U'λ'};
constexpr const char* kMnemonics[] = {"LDA", "STA", "BNE", "JMP", "JSR", "NOP", "ASL", "LDX"};
constexpr const char* kCounts[] = {"0", "1", "3", "-1", "-5", "20", "x", ""};

void CheckInvariants(const grid::Workspace& workspace) {
    const grid::ProgramGrid& grid = workspace.grid;
    if (grid.RowCount() < 2) std::abort();
    if (grid.Row() < 1 || grid.Row() >= grid.RowCount()) std::abort();
    if (grid.Col() < 0 || grid.Col() >= grid::kGridColumnCount) std::abort();
    if (grid.Cell(grid::kAddressColumn, 0) != "Διευθύνσεις") std::abort();
}

void Step(grid::Workspace& workspace, std::uint8_t operation, std::uint8_t argument) {
    switch (operation % 16) {
        case 0:
        case 1:
        case 2:
        case 3:
        case 4:
        case 5:
            TypeKey(workspace, {}, kCharacters[argument % std::size(kCharacters)]);
            break;
        case 6:
            TypeKey(workspace, {kKeyEnter}, U'\r');
            break;
        case 7:
            TypeKey(workspace, {kKeySpace}, U' ');
            break;
        case 8:
            TypeKey(workspace, {kKeyLeft + argument % 4});
            break;
        case 9:
            TypeKey(workspace, {kKeyTab, (argument & 1) != 0});
            break;
        case 10:
            TypeKey(workspace, {kKeyBackspace}, U'\b');
            break;
        case 11:
            TypeText(workspace, kMnemonics[argument % std::size(kMnemonics)]);
            break;
        case 12:
            InsertLine(workspace);
            break;
        case 13:
            InsertLines(workspace, kCounts[argument % std::size(kCounts)]);
            break;
        case 14:
            DeleteLine(workspace);
            break;
        case 15:
            if (argument % 8 == 0) {
                ClearGrid(workspace);
            } else {
                zorvan::assembler::Assemble(workspace.grid, workspace.machine);
            }
            break;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto workspace = std::make_unique<grid::Workspace>();
    for (std::size_t i = 0; i + 1 < size; i += 2) {
        try {
            Step(*workspace, data[i], data[i + 1]);
        } catch (const zorvan::text::ConversionError&) {
            // The window shows it and the student goes on typing.
        }
        CheckInvariants(*workspace);
    }
    return 0;
}
