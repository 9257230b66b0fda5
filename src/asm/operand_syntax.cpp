#include "asm/operand_syntax.h"

#include <algorithm>
#include <functional>
#include <string>

#include "cpu/instruction_set.h"
#include "grid/program_grid.h"
#include "text/characters.h"
#include "text/hex_text.h"

namespace zorvan::assembler {
namespace {

constexpr std::string_view kInvalidAccessMethod = "Άκυρη Μέθοδος Προσπέλασης.";
constexpr std::string_view kGiveFirstParameter = "Δώστε την πρώτη παράμετρο.";
constexpr std::string_view kOnlyAccumulator =
    "Λάθος Σύνταξη. Δεκτός μόνο ο καταχωρητής Α(english).";
constexpr std::string_view kNoAccumulator =
    "Λάθος Σύνταξη. Η εντολή αυτή δεν δέχεται καταχωρητή Α.";
constexpr std::string_view kZeroPageWrong = "Μη δεκαεξαδικό ψηφίο ή Λάθος διευθυνσιοδότηση.";
constexpr std::string_view kHexAfterHash =
    "Λάθος σύνταξη! Μετα την δίεση '#' δεκτά μόνο δεκαεξαδικά ψηφία.";
constexpr std::string_view kWrongAddressing = "Λάθος διευθυνσιοδότηση.";
constexpr std::string_view kHashNeeded = "Λάθος σύνταξη! Χρειάζεται δίεση '#'.";
constexpr std::string_view kExamples =
    "Λάθος σύνταξη! Παραδείγματα σύνταξης '#45' '#6C' 'B5,' '90,'";
constexpr std::string_view kHexBeforeComma =
    "Λάθος σύνταξη εντολής, ή πριν το κόμμα ',' δεκτά μόνο δεκαεξαδικά ψηφία.";
constexpr std::string_view kCommaNeeded = "Λάθος σύνταξη! Χρειάζεται κόμμα ','.";
constexpr std::string_view kExamplesSpaced =
    "Λάθος σύνταξη! Παραδείγματα σύνταξης '#45' '#6C' 'B5,' '90,' ";
constexpr std::string_view kFourHexDigits = "Λάθος σύνταξη! Δεκτά μόνο 4 δεκαεξαδικά ψηφία.";
constexpr std::string_view kHexBetweenParenthesisAndComma =
    "Λάθος σύνταξη! Ανάμεσα σε παρένθεση και κόμμα δεκτά μόνο δεκαεξαδικά ψηφία.";
constexpr std::string_view kIndirectXForm = "Λάθος σύνταξη! Σωστή σύνταξη (aa, και μετά Χ).";
constexpr std::string_view kFourHexBeforeComma =
    "Λάθος σύνταξη! Πριν το κόμμα ',' δεκτά μόνο 4 δεκαεξαδικά ψηφία.";
constexpr std::string_view kIndexedWrong = "Μη Δεκαεξαδικά ψηφία ή Λάθος Διευθυνσιοδότηση.";
constexpr std::string_view kHexBetweenParentheses =
    "Μη Δεκαεξαδικά ψηφία ανάμεσα στις παρενθέσεις ή Λάθος Διευθυνσιοδότηση.";
constexpr std::string_view kParenthesesNeeded =
    "Λάθος σύνταξη! Χρειάζονται παρενθέσεις στην πρώτη και τρίτη θέση.";
constexpr std::string_view kIndexedForms =
    "Λάθος σύνταξη! Σωστές μορφές σύνταξης aaaa, X ή (aa), X. Όπου a->Δεκαεξαδικά Ψηφία.";
constexpr std::string_view kIndirectForm =
    "Λάθος σύνταξη! Σωστή σύνταξη: (aaaa) Όπου a->Δεκαεξαδικά Ψηφία.";
constexpr std::string_view kIndexAfterFour =
    "Αναμένεται Χ ή Υ (english) μετά τα τέσσερα δεκαεξαδικά.";
constexpr std::string_view kIndexAfterTwo = "Αναμένεται Χ ή Υ (english) μετά τα δύο δεκαεξαδικά.";
constexpr std::string_view kIndexXParenthesis = "Αναμένεται Χ) (english) μετά τα δύο δεκαεξαδικά.";
constexpr std::string_view kIndexY = "Αναμένεται Υ) (english) μετά τα δύο δεκαεξαδικά.";
constexpr std::string_view kInvalidAddressing = "Άκυρη διευθυνσιοδότηση.";
constexpr std::string_view kNoSuchInstruction = " Εντολή Ανύπαρκτη.";

LineOutcome Finish(int bytes) {
    LineOutcome outcome;
    outcome.kind = LineOutcome::Kind::kFinishLine;
    outcome.bytes = bytes;
    return outcome;
}

LineOutcome Next(int bytes) {
    LineOutcome outcome;
    outcome.kind = LineOutcome::Kind::kNextParameter;
    outcome.bytes = bytes;
    return outcome;
}

LineOutcome Message(std::string_view message, int column, grid::Tone tone = grid::Tone::kError) {
    LineOutcome outcome;
    outcome.kind = LineOutcome::Kind::kMessage;
    outcome.message = std::string(message);
    outcome.column = column;
    outcome.tone = tone;
    return outcome;
}

// A row that names no instruction of the table is refused the way the instruction cell would be.
LineOutcome NoSuchInstruction(std::string_view instruction) {
    return Message("'" + std::string(instruction) + "'" + std::string(kNoSuchInstruction),
                   grid::kInstructionColumn);
}

// The first parameter as characters c1..c6, read 1-based as the rules name them.
class Characters {
  public:
    explicit Characters(std::string_view utf8) : characters_(text::ToCharacters(utf8)) {}

    int Count() const { return static_cast<int>(characters_.size()); }
    bool Is(int position, char32_t character) const { return At(position) == character; }
    bool Hex(int position) const { return text::IsHexDigit(At(position)); }
    bool AllHex(int from, int to) const {
        for (int position = from; position <= to; ++position) {
            if (!Hex(position)) return false;
        }
        return true;
    }

  private:
    // Positions past the end read as a character that matches nothing.
    char32_t At(int position) const {
        return position >= 1 && position <= Count()
                   ? characters_[static_cast<std::size_t>(position - 1)]
                   : U'\0';
    }

    std::u32string characters_;
};

// The checks of a first parameter, one function per length in characters, each trying the forms
// of that length. The bytes a line takes come from its mode's length.
class FirstParameterCheck {
  public:
    FirstParameterCheck(int row, std::string_view p, std::vector<LineOutcome>& out)
        : row_(row), p_(p), c_(p), out_(out) {}

    void Run() {
        switch (c_.Count()) {
            case 0:
                Add(Has(cpu::kImplied)
                        ? Finish(Bytes(cpu::kImplied))
                        : Message(kGiveFirstParameter, kColumn, grid::Tone::kNotice));
                break;
            case 1:
                Accumulator();
                break;
            case 2:
                Add(c_.AllHex(1, 2) && Has(cpu::kZeroPage) ? Finish(Bytes(cpu::kZeroPage))
                                                           : Message(kZeroPageWrong, kColumn));
                break;
            case 3:
                ImmediateOrZeroPageIndexed();
                break;
            case 4:
                AbsoluteOrIndirectX();
                break;
            case 5:
                AbsoluteIndexedOrIndirectY();
                break;
            case 6:
                Indirect();
                break;
            default:
                Add(Message(kInvalidAccessMethod, kColumn));
                break;
        }
    }

  private:
    static constexpr int kColumn = grid::kFirstParameterColumn;

    bool Has(cpu::AddressingMode mode) const { return cpu::HasMode(row_, mode); }
    static int Bytes(cpu::AddressingMode mode) { return cpu::ModeLength(mode); }
    void Add(LineOutcome outcome) { out_.push_back(std::move(outcome)); }

    // "A".
    void Accumulator() {
        if (p_ == "A") {
            if (Has(cpu::kAccumulator)) Add(Finish(Bytes(cpu::kAccumulator)));
        } else {
            Add(Message(kOnlyAccumulator, kColumn));
        }
        if (!Has(cpu::kAccumulator)) Add(Message(kNoAccumulator, kColumn));
    }

    // "#hh" or "hh," (the index follows in the second parameter).
    void ImmediateOrZeroPageIndexed() {
        if (c_.Is(1, U'#')) {
            Add(c_.AllHex(2, 3) && Has(cpu::kImmediate) ? Finish(Bytes(cpu::kImmediate))
                                                        : Message(kHexAfterHash, kColumn));
        }
        if (!Has(cpu::kImmediate)) Add(Message(kWrongAddressing, kColumn));
        if (!c_.Is(1, U'#')) {
            if (c_.AllHex(2, 3) && Has(cpu::kImmediate)) {
                Add(Message(kHashNeeded, kColumn));
            } else if (!c_.AllHex(2, 3)) {
                Add(Message(kExamples, kColumn));
            }
        }
        if (c_.Is(3, U',')) {
            Add(c_.AllHex(1, 2) && (Has(cpu::kZeroPageX) || Has(cpu::kZeroPageY))
                    ? Next(Bytes(cpu::kZeroPageX))
                    : Message(kHexBeforeComma, kColumn));
        } else if (c_.AllHex(1, 2) && Has(cpu::kZeroPageX)) {
            Add(Message(kCommaNeeded, kColumn));
        } else if (!c_.Hex(1) && !c_.Hex(2)) {
            Add(Message(kExamplesSpaced, kColumn));
        }
    }

    // "hhhh" or "(hh," (X) follows in the second parameter).
    void AbsoluteOrIndirectX() {
        if (Has(cpu::kAbsolute)) {
            Add(c_.AllHex(1, 4) ? Finish(Bytes(cpu::kAbsolute)) : Message(kFourHexDigits, kColumn));
        } else {
            Add(Message(kWrongAddressing, kColumn));
        }
        if (c_.Is(1, U'(') && c_.Is(4, U',')) {
            Add(c_.AllHex(2, 3) && Has(cpu::kIndirectX)
                    ? Next(Bytes(cpu::kIndirectX))
                    : Message(kHexBetweenParenthesisAndComma, kColumn));
        } else if (!c_.Hex(1) && !c_.Hex(4) && c_.AllHex(2, 3)) {
            Add(Message(kIndirectXForm, kColumn));
        }
    }

    // "hhhh," or "(hh)" (the index follows in the second parameter).
    void AbsoluteIndexedOrIndirectY() {
        if (c_.Is(5, U',')) {
            if (!c_.AllHex(2, 3)) {
                Add(Message(kFourHexBeforeComma, kColumn));
            } else if (c_.Hex(1) && c_.Hex(4) && (Has(cpu::kAbsoluteX) || Has(cpu::kAbsoluteY))) {
                Add(Next(Bytes(cpu::kAbsoluteX)));
            } else {
                Add(Message(kIndexedWrong, kColumn));
            }
        }
        if (c_.Is(1, U'(') && c_.Is(4, U')')) {
            Add(c_.AllHex(2, 3) && Has(cpu::kIndirectY) ? Next(Bytes(cpu::kIndirectY))
                                                        : Message(kHexBetweenParentheses, kColumn));
        } else if (!(c_.Hex(1) && c_.Hex(4))) {
            Add(Message(c_.AllHex(2, 3) ? kParenthesesNeeded : kIndexedForms, kColumn));
        }
    }

    // "(hhhh)".
    void Indirect() {
        if (c_.Is(1, U'(') && c_.Is(6, U')')) {
            Add(c_.AllHex(2, 5) && Has(cpu::kIndirect) ? Finish(Bytes(cpu::kIndirect))
                                                       : Message(kHexBetweenParentheses, kColumn));
        } else if (c_.AllHex(2, 5)) {
            Add(Message(kIndirectForm, kColumn));
        }
    }

    int row_;
    std::string_view p_;
    Characters c_;
    std::vector<LineOutcome>& out_;
};

}  // namespace

int ClassifyOperand(std::string_view firstParameter, std::string_view instruction) {
    const int row = cpu::FindMnemonic(instruction);
    const std::u32string characters = text::ToCharacters(firstParameter);

    if (row != -1 && (cpu::IsBranch(row) || row == cpu::kRowJmp || row == cpu::kRowJsr)) {
        const std::string head = text::FromCharacters(std::u32string_view(characters).substr(0, 4));
        if (!text::IsHexText(head) && !text::IsAlnumText(firstParameter)) return kNoOperandClass;
        return cpu::IsBranch(row) ? OperandClassOf(cpu::kRelative) : OperandClassOf(cpu::kAbsolute);
    }

    switch (characters.size()) {
        case 0:
            return OperandClassOf(cpu::kImplied);
        case 1:
            return OperandClassOf(cpu::kAccumulator);
        case 2:
            return OperandClassOf(cpu::kZeroPage);
        case 3:
            return characters[0] == U'#' ? OperandClassOf(cpu::kImmediate)
                                         : OperandClassOf(cpu::kZeroPageX);
        case 4:
            return characters[3] == U',' ? OperandClassOf(cpu::kIndirectX)
                                         : OperandClassOf(cpu::kAbsolute);
        case 5:
            return characters[0] == U'(' ? OperandClassOf(cpu::kIndirectY)
                                         : OperandClassOf(cpu::kAbsoluteX);
        case 6:
            return OperandClassOf(cpu::kIndirect);
        default:
            return kNoOperandClass;
    }
}

int OperandClassByteCount(int operandClass) {
    const int mode = ModeOfOperandClass(operandClass);
    if (mode < 0 || mode >= cpu::kModeCount || mode == cpu::kAbsoluteY || mode == cpu::kZeroPageY)
        return 0;
    return cpu::ModeLength(mode);
}

std::vector<LineOutcome> CheckFirstParameter(std::string_view instruction,
                                             std::string_view firstParameter) {
    std::vector<LineOutcome> outcomes;
    const int row = cpu::FindMnemonic(instruction);
    if (row == -1) {
        outcomes.push_back(NoSuchInstruction(instruction));
        return outcomes;
    }
    // Branch and jump operands may be labels: any text is taken here and resolved when assembled.
    if (cpu::IsBranch(row)) {
        if (!firstParameter.empty()) outcomes.push_back(Finish(cpu::ModeLength(cpu::kRelative)));
        return outcomes;
    }
    if (row == cpu::kRowJmp) {
        if (!firstParameter.empty()) outcomes.push_back(Finish(cpu::ModeLength(cpu::kAbsolute)));
        return outcomes;
    }
    FirstParameterCheck(row, firstParameter, outcomes).Run();
    // A JSR takes only an address: a label such as PRINTS, which no form of its length takes,
    // is refused rather than left waiting at the prompt.
    if (row == cpu::kRowJsr && outcomes.empty() && !firstParameter.empty()) {
        outcomes.push_back(Message(kFourHexDigits, grid::kFirstParameterColumn));
    }
    return outcomes;
}

std::vector<LineOutcome> CheckSecondParameter(std::string_view instruction,
                                              std::string_view firstParameter,
                                              std::string_view secondParameter) {
    if (cpu::FindMnemonic(instruction) == -1) return {NoSuchInstruction(instruction)};

    constexpr int kColumn = grid::kSecondParameterColumn;
    const std::string_view q = secondParameter;
    const bool xOrY = q == "X" || q == "Y";
    switch (ClassifyOperand(firstParameter, instruction)) {
        case OperandClassOf(cpu::kAbsoluteX):
            return {xOrY ? Finish(cpu::ModeLength(cpu::kAbsoluteX))
                         : Message(kIndexAfterFour, kColumn)};
        case OperandClassOf(cpu::kZeroPageX):
            return {xOrY ? Finish(cpu::ModeLength(cpu::kZeroPageX))
                         : Message(kIndexAfterTwo, kColumn)};
        case OperandClassOf(cpu::kIndirectX):
            return {q == "X)" ? Finish(cpu::ModeLength(cpu::kIndirectX))
                              : Message(kIndexXParenthesis, kColumn)};
        case OperandClassOf(cpu::kIndirectY):
            return {q == "Y" ? Finish(cpu::ModeLength(cpu::kIndirectY))
                             : Message(kIndexY, kColumn)};
        default: {
            LineOutcome refused = Message(kInvalidAddressing, kColumn);
            refused.emptiesSecondParameter = true;
            return {refused};
        }
    }
}

std::string ResolveOperand(const grid::ProgramGrid& grid, std::string_view text) {
    if (text::IsHexText(text)) return std::string(text);
    for (int row = 1; row < grid.RowCount(); ++row) {
        if (grid.Cell(grid::kLabelColumn, row) == text &&
            !grid.Cell(grid::kAddressColumn, row).empty()) {
            return grid.Cell(grid::kAddressColumn, row);
        }
    }
    return {};
}

OperandResolver::OperandResolver(const grid::ProgramLines& lines) : lines_(lines) {
    std::size_t slots = 16;
    while (slots < 2 * static_cast<std::size_t>(std::max(lines.RowCount(), 0))) slots *= 2;
    rows_.assign(slots, -1);
    for (int row = 1; row < lines.RowCount(); ++row) {
        // The first row with the label and an address wins: later ones never replace it.
        if (lines.Text(grid::kAddressColumn, row).empty()) continue;
        int& slot = rows_[SlotOf(lines.Text(grid::kLabelColumn, row))];
        if (slot == -1) slot = row;
    }
}

std::size_t OperandResolver::SlotOf(std::string_view label) const {
    const std::size_t mask = rows_.size() - 1;
    std::size_t at = std::hash<std::string_view>()(label) & mask;
    while (rows_[at] != -1 && lines_.Text(grid::kLabelColumn, rows_[at]) != label)
        at = (at + 1) & mask;
    return at;
}

std::string OperandResolver::Resolve(std::string_view text) const {
    if (text::IsHexText(text)) return std::string(text);
    const int row = rows_[SlotOf(text)];
    return row == -1 ? std::string() : std::string(lines_.Text(grid::kAddressColumn, row));
}

}  // namespace zorvan::assembler
