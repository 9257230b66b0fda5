#pragma once
// Operand syntax: how the two parameter cells of a line name its addressing mode, which texts the
// line checker accepts for them, and how branch and jump operands resolve to addresses.

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "grid/workspace.h"

namespace zorvan::assembler {

// Operand class: the instruction set table's column plus 1, or -1 when no form fits.
// Classes 6 and 8 stand for both index registers until the second parameter refines them.
inline constexpr int kNoOperandClass = -1;

// The class that names an addressing-mode column of the instruction set table.
constexpr int OperandClassOf(int mode) {
    return mode + 1;
}

int ClassifyOperand(std::string_view firstParameter, std::string_view instruction);

// Bytes the line checker counts for a class: 2, 3, 1, or 0 for any other value (-1, 7 and 9).
int OperandClassByteCount(int operandClass);

// What a parameter check asks the line checker to do.
struct LineOutcome {
    enum class Kind {
        kFinishLine,     // the line is complete and occupies `bytes`
        kNextParameter,  // go on to the second parameter; the line occupies `bytes`
        kMessage,        // show `message` on `column` in `tone`
    };
    Kind kind = Kind::kMessage;
    int bytes = 0;
    std::string message;
    int column = 0;
    grid::Tone tone = grid::Tone::kError;
    bool emptiesSecondParameter = false;  // the refused second parameter cell is emptied

    bool operator==(const LineOutcome&) const = default;
};

// Checks of the first and second parameter cells for an instruction of the table. Every outcome
// that a step yields is returned in order; the line checker applies them all, so the last one
// decides what shows.
std::vector<LineOutcome> CheckFirstParameter(std::string_view instruction,
                                             std::string_view firstParameter);
std::vector<LineOutcome> CheckSecondParameter(std::string_view instruction,
                                              std::string_view firstParameter,
                                              std::string_view secondParameter);

// A hexadecimal text is an address and stands for itself; any other text is a label, looked up in
// the grid's label column from row 1 down (the first row with that label and an address wins).
// The empty text when the label is not found.
std::string ResolveOperand(const grid::ProgramGrid& grid, std::string_view text);

// The same resolution for a grid that does not change while it is used: the labels are read once,
// so a program with many branches resolves in linear time.
class OperandResolver {
  public:
    explicit OperandResolver(const grid::ProgramGrid& grid);
    std::string Resolve(std::string_view text) const;

  private:
    std::unordered_map<std::string, std::string> addressOfLabel_;
};

}  // namespace zorvan::assembler
