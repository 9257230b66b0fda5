#pragma once
// Operand syntax: how the two parameter cells of a line name its addressing mode, which texts the
// line checker accepts for them, and how branch and jump operands resolve to addresses.

#include <string>
#include <string_view>
#include <vector>

#include "grid/program_lines.h"
#include "grid/workspace.h"

namespace zorvan::assembler {

// Operand class: the addressing mode that the first parameter's form names, numbered as the
// checking rules number the instruction set table's columns, from 1 (1 immediate ... 13
// accumulator); -1 when no form fits. The classes of abs,X and zp,X stand for both index
// registers until the second parameter refines them. Convert with the two functions below
// rather than by adding or taking 1.
inline constexpr int kNoOperandClass = -1;

// The class that names an addressing mode, and the mode a class names.
constexpr int OperandClassOf(int mode) {
    return mode + 1;
}
constexpr int ModeOfOperandClass(int operandClass) {
    return operandClass - 1;
}

int ClassifyOperand(std::string_view firstParameter, std::string_view instruction);

// Bytes the line checker counts for a class ClassifyOperand gives: its mode's length; 0 for any
// other value (-1, and the classes of abs,Y and zp,Y, which it never gives).
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

// The same resolution for lines that do not change while it is used (and outlive it): the labels
// are read once, so a program with many branches resolves in linear time.
class OperandResolver {
  public:
    explicit OperandResolver(const grid::ProgramLines& lines);
    std::string Resolve(std::string_view text) const;

  private:
    // Where the label's row is, or would go: from where its hash points, the first slot that is
    // free or holds a row with that label.
    std::size_t SlotOf(std::string_view label) const;

    const grid::ProgramLines& lines_;
    // Rows by their label's hash, -1 for a free slot: rows, not copies of their texts, so that a
    // file of many labels costs little more than its text.
    std::vector<int> rows_;
};

}  // namespace zorvan::assembler
