// Any text through the operand checks and the assembly pass: the text is cut into grid rows
// (lines) and cells (tabs). Nothing may crash and nothing may be written outside the memory.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

#include "asm/assembly_pass.h"
#include "asm/operand_syntax.h"
#include "cpu/machine.h"
#include "grid/program_grid.h"
#include "text/conversion_error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace zorvan;
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    grid::ProgramGrid grid;
    int row = 1;
    int column = 0;
    std::string cell;
    for (char c : text) {
        if (c == '\t' || c == '\n') {
            grid.SetCell(column, row, cell);
            cell.clear();
            if (c == '\n' || ++column == grid::kGridColumnCount) {
                column = 0;
                ++row;
            }
        } else {
            cell.push_back(c);
        }
    }
    grid.SetCell(column, row, cell);
    grid.SetRowCount(row + 2);

    for (int r = 1; r < grid.RowCount(); ++r) {
        const std::string& instruction = grid.Cell(grid::kInstructionColumn, r);
        const std::string& first = grid.Cell(grid::kFirstParameterColumn, r);
        const std::string& second = grid.Cell(grid::kSecondParameterColumn, r);
        const int operandClass = assembler::ClassifyOperand(first, instruction);
        if (operandClass != -1 && (operandClass < 1 || operandClass > 13)) std::abort();
        for (const auto& outcome : assembler::CheckFirstParameter(instruction, first)) {
            if (outcome.bytes < 0 || outcome.bytes > 3) std::abort();
        }
        for (const auto& outcome : assembler::CheckSecondParameter(instruction, first, second)) {
            if (outcome.bytes < 0 || outcome.bytes > 3) std::abort();
        }
        assembler::ResolveOperand(grid, first);
    }

    auto machine = std::make_unique<cpu::Machine>();
    try {
        const auto result = assembler::Assemble(grid, *machine);
        if (result.lines < 0) std::abort();
    } catch (const text::ConversionError&) {
        // Shown by the window; the lines before stay written.
    }
    return 0;
}
