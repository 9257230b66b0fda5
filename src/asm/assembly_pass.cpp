#include "asm/assembly_pass.h"

#include <array>
#include <cstdint>
#include <string_view>
#include <utility>

#include "asm/operand_syntax.h"
#include "cpu/instruction_set.h"
#include "cpu/machine.h"
#include "grid/program_grid.h"
#include "text/characters.h"
#include "text/hex_text.h"

namespace zorvan::assembler {
namespace {

constexpr std::string_view kLabelHead = "Η ετικέτα '";
constexpr std::string_view kLabelTail = "' δεν βρέθηκε";
constexpr std::string_view kOutOfRange = "Διεύθυνση μνήμης εκτός ορίου";
constexpr std::string_view kSyntaxError = "Λάθος στην σύνταξη!";
constexpr std::string_view kSummaryDone = "Η Συμβολομετάφραση ολοκληρώθηκε.";
constexpr std::string_view kLinesHead = "Επεξεργάστηκαν Συνολικά:";
constexpr std::string_view kLinesTail = " γραμμές.";
constexpr std::string_view kBytesHead = "Συνολικός Αριθμός Bytes:";
constexpr std::string_view kShowMemoryQuestion = "Θέλετε να δείτε τα περιεχόμενα της μνήμης;";

AssemblyResult Dialog(AssemblyResult::Kind kind, std::string text, int row, int column) {
    AssemblyResult result;
    result.kind = kind;
    result.text = std::move(text);
    result.row = row;
    result.column = column;
    return result;
}

// Characters from..to (1-based, clipped at the end of the text) read as hexadecimal.
int HexCharacters(std::string_view parameter, std::size_t from, std::size_t to) {
    const std::u32string characters = text::ToCharacters(parameter);
    const std::u32string_view part =
        from <= characters.size() ? std::u32string_view(characters).substr(from - 1, to - from + 1)
                                  : std::u32string_view();
    return text::HexTextToInt(text::FromCharacters(part));
}

}  // namespace

std::string TranslatedLinesText(int lines) {
    return std::string(kLinesHead) + std::to_string(lines) + std::string(kLinesTail);
}

std::string TotalBytesText(int bytes) {
    return std::string(kBytesHead) + std::to_string(bytes);
}

std::string SummaryText(int lines, int bytes) {
    return std::string(kSummaryDone) + "\n" + TranslatedLinesText(lines) + "\n" +
           TotalBytesText(bytes) + "\n\n" + std::string(kShowMemoryQuestion);
}

std::string StoppedAssemblyNotice(int row) {
    return "Η συμβολομετάφραση σταμάτησε στη γραμμή " + std::to_string(row) +
           ", που δεν έχει εντολή· οι γραμμές από κάτω δεν μεταφράστηκαν.";
}

namespace {

// The mode a line assembles in, from its parameters; -1 when the row has no such mode.
int AssembledMode(const grid::ProgramLines& grid, int row, int i) {
    const std::string_view first = grid.Text(grid::kFirstParameterColumn, i);
    int operandClass = ClassifyOperand(first, grid.Text(grid::kInstructionColumn, i));
    // A branch to a label that exists but is not alphanumeric still assembles.
    if (cpu::IsBranch(row) &&
        (operandClass == kNoOperandClass || operandClass == OperandClassOf(cpu::kAbsolute))) {
        operandClass = OperandClassOf(cpu::kRelative);
    }
    const bool indexY = grid.Text(grid::kSecondParameterColumn, i) == "Y";
    if (operandClass == OperandClassOf(cpu::kAbsoluteX) && indexY)
        operandClass = OperandClassOf(cpu::kAbsoluteY);
    if (operandClass == OperandClassOf(cpu::kZeroPageX) && indexY)
        operandClass = OperandClassOf(cpu::kZeroPageY);
    if (operandClass == kNoOperandClass) return -1;
    const int mode = ModeOfOperandClass(operandClass);
    return cpu::HasMode(row, mode) ? mode : -1;
}

// The operand bytes of a line in mode; false for a mode whose operand is never written so.
// offset is a branch's or JMP's byte.
bool PutOperandBytes(std::string_view first, int row, int mode, int offset,
                     std::array<int, 3>& bytes) {
    switch (mode) {
        case cpu::kImmediate:
        case cpu::kIndirectX:
        case cpu::kIndirectY:
            bytes[1] = HexCharacters(first, 2, 3);
            return true;
        case cpu::kAbsolute:
            if (row == cpu::kRowJmp) {
                bytes[1] = offset;
                return true;
            }
            [[fallthrough]];
        case cpu::kAbsoluteX:
        case cpu::kAbsoluteY:
            bytes[1] = HexCharacters(first, 3, 4);
            bytes[2] = HexCharacters(first, 1, 2);
            return true;
        case cpu::kZeroPage:
        case cpu::kZeroPageX:
        case cpu::kZeroPageY:
            bytes[1] = HexCharacters(first, 1, 2);
            return true;
        case cpu::kRelative:
            bytes[1] = offset;
            return true;
        case cpu::kImplied:
        case cpu::kAccumulator:
            return true;
        default:
            // Indirect: only JMP has it, and its operand is always read as a label or address.
            return false;
    }
}

}  // namespace

LineTranslation TranslateLine(const grid::ProgramLines& grid, const OperandResolver& resolver,
                              int i) {
    const std::string_view first = grid.Text(grid::kFirstParameterColumn, i);
    LineTranslation line;
    const auto fail = [&line, i](AssemblyResult::Kind kind, std::string text, int column) {
        line.failure = Dialog(kind, std::move(text), i, column);
        return line;
    };
    line.address = text::HexTextToInt(grid.Text(grid::kAddressColumn, i));

    const int row = cpu::FindMnemonic(grid.Text(grid::kInstructionColumn, i));
    if (row == -1) {
        return fail(AssemblyResult::Kind::kWarning, std::string(kSyntaxError),
                    grid::kInstructionColumn);
    }

    // Branches and JMP are both assembled as one signed byte counted from the next line.
    int offset = 0;
    if (cpu::IsBranch(row) || row == cpu::kRowJmp) {
        const std::int64_t next =
            text::HexTextToInt(resolver.Resolve(grid.Text(grid::kAddressColumn, i + 1)));
        const std::string target = resolver.Resolve(first);
        if (target.empty()) {
            return fail(AssemblyResult::Kind::kWarning,
                        std::string(kLabelHead) + std::string(first) + std::string(kLabelTail),
                        grid::kFirstParameterColumn);
        }
        const std::int64_t distance = text::HexTextToInt(target) - next;
        if (distance < -128 || distance > 127) {
            return fail(AssemblyResult::Kind::kError, std::string(kOutOfRange),
                        grid::kFirstParameterColumn);
        }
        offset = static_cast<int>(distance < 0 ? distance + 256 : distance);
    }

    const int mode = AssembledMode(grid, row, i);
    if (mode == -1) {
        return fail(AssemblyResult::Kind::kWarning, std::string(kSyntaxError),
                    grid::kFirstParameterColumn);
    }
    const int length = cpu::ModeLength(mode);
    // Nothing is ever written outside the 65536 cells.
    if (line.address < 0 || line.address + length > cpu::kMemorySize) {
        return fail(AssemblyResult::Kind::kError, std::string(kOutOfRange), grid::kAddressColumn);
    }

    // Every operand byte is converted before the first write, so a line that fails to convert
    // leaves memory as the lines before it left it.
    line.bytes = {cpu::OpcodeOf(row, mode), 0, 0};
    if (!PutOperandBytes(first, row, mode, offset, line.bytes)) {
        return fail(AssemblyResult::Kind::kWarning, std::string(kSyntaxError),
                    grid::kFirstParameterColumn);
    }
    line.length = length;
    return line;
}

AssemblyResult Assemble(const grid::ProgramLines& grid, cpu::Machine& machine,
                        int* lineInProgress) {
    const OperandResolver resolver(grid);
    int i = 1;
    std::int64_t end = 0;  // the address after the last line translated
    for (; i < grid.RowCount() && !grid.Text(grid::kInstructionColumn, i).empty(); ++i) {
        if (lineInProgress != nullptr) *lineInProgress = i;
        const LineTranslation line = TranslateLine(grid, resolver, i);
        if (line.failure) return *line.failure;
        for (int j = 0; j < line.length; ++j)
            machine.Write(line.address + j, line.bytes[static_cast<std::size_t>(j)]);
        end = line.address + line.length;
    }

    AssemblyResult result;
    result.kind = AssemblyResult::Kind::kSummary;
    result.lines = i - 1;
    if (result.lines > 0) {
        result.bytes =
            static_cast<int>(end - text::HexTextToInt(grid.Text(grid::kAddressColumn, 1)));
    }
    result.text = SummaryText(result.lines, result.bytes);
    for (int below = i + 1; below < grid.RowCount(); ++below) {
        if (!grid.Text(grid::kInstructionColumn, below).empty()) {
            result.notice = StoppedAssemblyNotice(i);
            break;
        }
    }
    return result;
}

void GoToCellAtFault(grid::ProgramGrid& grid, int lineInProgress) {
    if (lineInProgress <= 0) return;
    const std::string& address = grid.Cell(grid::kAddressColumn, lineInProgress);
    const bool addressIsHex = !address.empty() && text::IsHexText(address);
    grid.SetCurrent(addressIsHex ? grid::kFirstParameterColumn : grid::kAddressColumn,
                    lineInProgress);
}

}  // namespace zorvan::assembler
