#pragma once
// The assembly pass: translates the program grid, row 1 down to the first row without an
// instruction, into the machine's memory at each line's own address, and tells the window which
// dialog to show at the end.
//
//   AssemblyResult result = Assemble(grid, machine);
//   if (result.kind == AssemblyResult::Kind::kSummary) { /* ask, maybe show the memory */ }

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace zorvan::grid {
class ProgramGrid;
class ProgramLines;
}  // namespace zorvan::grid
namespace zorvan::cpu {
struct Machine;
}

namespace zorvan::assembler {

struct AssemblyResult {
    enum class Kind {
        kSummary,  // information box with Yes and No: Yes shows the memory window
        kWarning,  // warning box with OK
        kError,    // error box with OK
    };
    Kind kind = Kind::kSummary;
    std::string text;  // the dialog's text exactly; the summary's five lines joined with "\n"
    int lines = 0;     // summary: lines translated
    int bytes = 0;     // summary: bytes from the first line's address to the end of the last line
    // Warning and error: the cell at fault, where the student goes once the box is closed.
    int row = 0;
    int column = 0;
    // Summary: a blue notice for the message area when the pass stopped at a line without an
    // instruction while lines below it have one; empty otherwise.
    std::string notice;
};

class OperandResolver;

// Lines before a failing line stay written; the failing line and those after it are not written.
// Throws text::ConversionError where a text that must be hexadecimal is not (an address cell, a
// parameter's digits), with the lines before it written.
// When lineInProgress is given, it holds the row being translated, so that the caller can point
// at the line a conversion failure came from.
AssemblyResult Assemble(const grid::ProgramLines& grid, cpu::Machine& machine,
                        int* lineInProgress = nullptr);

// After an Assemble that threw on the line in progress, the cell at fault: the line's address
// when that does not read as hexadecimal, else its first parameter. The cursor goes there.
void GoToCellAtFault(grid::ProgramGrid& grid, int lineInProgress);

// One line of the program as the pass translates it, without writing it.
struct LineTranslation {
    std::int64_t address = 0;
    int length = 0;  // bytes the line assembles to
    std::array<int, 3> bytes{};
    // The dialog that stops the pass at this line; then nothing else here is meaningful.
    std::optional<AssemblyResult> failure;
};

// The line in row of the grid, with labels as the resolver finds them (built on the same grid).
// The pass translates rows 1 down to the first row without an instruction, stopping at the first
// failure. Throws text::ConversionError as Assemble does.
LineTranslation TranslateLine(const grid::ProgramLines& grid, const OperandResolver& resolver,
                              int row);

// The summary's second and third lines on their own: "...Συνολικά:3 γραμμές." and "...Bytes:6".
std::string TranslatedLinesText(int lines);
std::string TotalBytesText(int bytes);
std::string SummaryText(int lines, int bytes);
// The notice of a pass that stopped at row, which has no instruction, above lines that have one.
std::string StoppedAssemblyNotice(int row);

}  // namespace zorvan::assembler
