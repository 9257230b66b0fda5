#include "cpu/step_sentence.h"

#include <vector>

#include "cpu/execution.h"
#include "cpu/instruction_set.h"
#include "cpu/interpreter.h"
#include "cpu/registers.h"
#include "text/hex_text.h"

namespace zorvan::cpu {
namespace {

using text::FormatHex2;
using text::FormatHex4;

std::string OperandText(int mode, int lo, int hi) {
    const std::string byte = FormatHex2(lo & 0xFF);
    const std::string word = FormatHex4((hi & 0xFF) * 256 + (lo & 0xFF));
    switch (mode) {
        case kImmediate:
            return "#" + byte;
        case kZeroPage:
            return byte;
        case kZeroPageX:
            return byte + ",X";
        case kZeroPageY:
            return byte + ",Y";
        case kAbsolute:
            return word;
        case kAbsoluteX:
            return word + ",X";
        case kAbsoluteY:
            return word + ",Y";
        case kIndirectX:
            return "(" + byte + ",X)";
        case kIndirectY:
            return "(" + byte + "),Y";
        case kIndirect:
            return "(" + word + ")";
        case kAccumulator:
            return "A";
        default:  // implied, and relative: the branch's target is told instead
            return "";
    }
}

bool IsMemoryMode(int mode) {
    switch (mode) {
        case kZeroPage:
        case kZeroPageX:
        case kZeroPageY:
        case kAbsolute:
        case kAbsoluteX:
        case kAbsoluteY:
        case kIndirectX:
        case kIndirectY:
            return true;
        default:
            return false;
    }
}

std::string Written(std::int64_t address, std::int64_t value, std::int64_t old) {
    return "διεύθυνση " + FormatHex4(address) + " ← " + FormatHex2(value) + " (ήταν " +
           FormatHex2(old) + ")";
}

// The effective address as the interpreter finds it, from the cells before the instruction.
std::int64_t EffectiveAddress(const StepChange& change, const Machine& after, int mode) {
    return detail::OperandAddress(
        mode, change.address, change.before.XR, change.before.YR,
        [&](std::int64_t address) { return std::int64_t{change.CellBefore(after, address)}; });
}

// The branch condition, on the bits before the instruction.
bool BranchTaken(Operation operation, const RegisterState& r) {
    return cpu::BranchTaken(operation, r.status[kN] == 1, r.status[kV], r.status[kZ] == 1,
                            r.status[kC]);
}

// The status bit a branch tests.
int BranchBit(Operation operation) {
    switch (operation) {
        case Operation::kBcc:
        case Operation::kBcs:
            return kC;
        case Operation::kBeq:
        case Operation::kBne:
            return kZ;
        case Operation::kBmi:
        case Operation::kBpl:
            return kN;
        default:
            return kV;
    }
}

std::string ConsoleShows(const StepChange& change) {
    if (!change.consoleShows) return "η κονσόλα άλλαξε";
    if (change.consoleShows->empty()) return "η κονσόλα άδειασε";
    return "η κονσόλα δείχνει «" + *change.consoleShows + "»";
}

// The parts a sentence is made of, and the cells it has told of already.
struct Parts {
    std::vector<std::string> texts;
    std::vector<std::int64_t> named;

    void Add(std::string text) { texts.push_back(std::move(text)); }
    bool Named(std::int64_t address) const {
        for (std::int64_t cell : named) {
            if (cell == address) return true;
        }
        return false;
    }
};

// The two cells an indirect form reads its pointer from, and the address they make.
void TellPointer(const StepChange& change, const Machine& after, const DecodedOpcode& d,
                 Parts& parts) {
    const auto before = [&](std::int64_t cell) {
        return std::int64_t{change.CellBefore(after, cell)};
    };
    const std::int64_t at = change.address;
    std::int64_t pointer = -1;
    if (d.mode == kIndirectX) pointer = before(at + 1) + change.before.XR;
    if (d.mode == kIndirectY) pointer = before(at + 1);
    if (d.mode == kIndirect) pointer = before(at + 2) * 256 + before(at + 1);
    if (pointer < 0) return;
    parts.Add("ανάγνωση " + FormatHex4(pointer) + "–" + FormatHex4(pointer + 1) + " → " +
              FormatHex4(before(pointer + 1) * 256 + before(pointer)));
}

// The cell a memory mode reads or writes, with its old value, and for a write its new one.
void TellOperandCell(const StepChange& change, const Machine& after, const DecodedOpcode& d,
                     Parts& parts) {
    TellPointer(change, after, d, parts);
    if (!IsMemoryMode(d.mode) || d.operation == Operation::kJmp || d.operation == Operation::kJsr)
        return;
    const std::int64_t ea = EffectiveAddress(change, after, d.mode);
    const std::int64_t old = change.CellBefore(after, ea);
    if (IsStore(d.operation) || ReadsAndWritesCell(d.operation)) {
        parts.Add(Written(ea, after.Read(ea), old));
    } else {
        parts.Add("ανάγνωση " + FormatHex4(ea) + " = " + FormatHex2(old));
    }
    parts.named.push_back(ea);
}

// Where control went: a branch taken or not, a jump, a call and its return address, a return,
// and the stack cell a pull read.
void TellControl(const StepChange& change, const Machine& after, const DecodedOpcode& d,
                 Parts& parts) {
    const RegisterState& before = change.before;
    const RegisterState& now = change.after;
    if (d.mode == kRelative) {
        const int bit = BranchBit(d.operation);
        parts.Add(BranchTaken(d.operation, before)
                      ? "η διακλάδωση έγινε, PC ← " + FormatHex4(now.PC)
                      : "η διακλάδωση δεν έγινε (" + std::string(StatusBitName(bit)) + " = " +
                            std::to_string(before.status[bit]) + ")");
    }
    switch (d.operation) {
        case Operation::kJmp:
            parts.Add("PC ← " + FormatHex4(now.PC));
            break;
        case Operation::kJsr:
            parts.Add("διεύθυνση επιστροφής " + FormatHex4(now.returnAddress) + ", PC ← " +
                      FormatHex4(now.PC));
            if (change.consoleChanged) parts.Add(ConsoleShows(change));
            break;
        case Operation::kRts:
            parts.Add("επιστροφή στη διεύθυνση " + FormatHex4(now.PC));
            break;
        case Operation::kPla:
        case Operation::kPlp:
            if (now.SP != before.SP)
                parts.Add("ανάγνωση " + FormatHex4(kStackPage + now.SP) + " = " +
                          FormatHex2(after.Read(kStackPage + now.SP)));
            break;
        default:
            break;
    }
}

// The stack cell of a push and anything else written that was not told yet, then each register
// and status bit that changed, and a stack found full.
void TellRegisters(const RegisterState& before, const RegisterState& now, Parts& parts) {
    const std::pair<Register, std::pair<std::int32_t, std::int32_t>> registers[] = {
        {Register::kAC, {before.AC, now.AC}},
        {Register::kXR, {before.XR, now.XR}},
        {Register::kYR, {before.YR, now.YR}},
        {Register::kSP, {before.SP, now.SP}}};
    for (const auto& [reg, values] : registers) {
        if (values.first != values.second)
            parts.Add(std::string(RegisterName(reg)) + " " + FormatHex2(values.first) + " → " +
                      FormatHex2(values.second));
    }
    for (int k = 0; k < kStatusBitCount; ++k) {
        if (before.status[k] != now.status[k])
            parts.Add(std::string(StatusBitName(k)) + " " + std::to_string(before.status[k]) +
                      " → " + std::to_string(now.status[k]));
    }
}

void TellChanges(const StepChange& change, Operation operation, Parts& parts) {
    for (int i = 0; i < change.cellCount; ++i) {
        const CellChange& cell = change.cells[i];
        if (!parts.Named(cell.address)) parts.Add(Written(cell.address, cell.after, cell.before));
    }
    const RegisterState& before = change.before;
    const RegisterState& now = change.after;
    TellRegisters(before, now, parts);
    // A push refused again, the stack still full, is told as the first one was.
    const bool push = operation == Operation::kPha || operation == Operation::kPhp;
    if (now.halted && (!before.halted || (push && now.SP == before.SP))) parts.Add("σωρός πλήρης");
}

std::string Joined(const std::string& head, const Parts& parts) {
    std::string sentence = head + ": ";
    for (std::size_t i = 0; i < parts.texts.size(); ++i)
        sentence += (i ? ", " : "") + parts.texts[i];
    return sentence;
}

}  // namespace

std::string DescribeCall(int target, std::int64_t instructions, const Machine& before,
                         const Machine& after) {
    Parts parts;
    parts.Add(std::to_string(instructions) + (instructions == 1 ? " εντολή" : " εντολές"));
    TellRegisters(RegisterState::Of(before), RegisterState::Of(after), parts);
    std::string cells;
    for (int a = 0; a < kMemorySize; ++a) {
        if (before.memory[a] == after.memory[a]) continue;
        int last = a;
        while (last + 1 < kMemorySize && before.memory[last + 1] != after.memory[last + 1]) ++last;
        cells += (cells.empty() ? "" : ", ") + FormatHex4(a) +
                 (last > a ? "–" + FormatHex4(last) : std::string());
        a = last;
    }
    if (!cells.empty()) parts.Add("κελιά " + cells);
    return Joined("JSR " + FormatHex4(target) + " … RTS", parts);
}

std::string DescribeStep(const StepChange& change, const Machine& after) {
    const int a = change.address;
    const int opcode = change.CellBefore(after, a);
    const DecodedOpcode d = Decode(opcode);
    if (!d.known) return FormatHex2(opcode) + ": δεν είναι εντολή, καμία αλλαγή";
    const std::string mnemonic(kInstructionTable[static_cast<std::size_t>(d.operation)].mnemonic);
    const std::string operand =
        d.signedOperand
            ? ""
            : OperandText(d.mode, change.CellBefore(after, a + 1), change.CellBefore(after, a + 2));
    const std::string head = operand.empty() ? mnemonic : mnemonic + " " + operand;
    if (!d.executed) return head + ": η εντολή δεν εκτελείται, καμία αλλαγή";

    Parts parts;
    TellOperandCell(change, after, d, parts);
    TellControl(change, after, d, parts);
    TellChanges(change, d.operation, parts);
    if (parts.texts.empty()) parts.Add("καμία αλλαγή");
    return Joined(head, parts);
}

}  // namespace zorvan::cpu
