#include "cpu/step_sentence.h"

#include <vector>

#include "cpu/instruction_set.h"
#include "cpu/interpreter.h"
#include "text/hex_text.h"

namespace zorvan::cpu {
namespace {

using text::FormatHex2;
using text::FormatHex4;

const char* const kBitNames[kStatusBitCount] = {"N", "V", "-", "B", "D", "I", "Z", "C"};

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

bool IsStore(Operation operation) {
    return operation == Operation::kSta || operation == Operation::kStx ||
           operation == Operation::kSty;
}

bool ReadsAndWrites(Operation operation) {
    switch (operation) {
        case Operation::kInc:
        case Operation::kDec:
        case Operation::kAsl:
        case Operation::kLsr:
        case Operation::kRol:
        case Operation::kRor:
            return true;
        default:
            return false;
    }
}

// The branch condition on the bits before the instruction.
bool BranchTaken(Operation operation, const RegisterState& r) {
    switch (operation) {
        case Operation::kBcc:
            return r.status[kC] == 0;
        case Operation::kBcs:
            return r.status[kC] == 1;
        case Operation::kBeq:
            return r.status[kZ] == 1;
        case Operation::kBne:
            return r.status[kZ] == 0;
        case Operation::kBmi:
            return r.status[kN] == 1;
        case Operation::kBpl:
            return r.status[kN] == 0;
        case Operation::kBvc:
            return r.status[kV] == 0;
        default:  // BVS
            return r.status[kV] == 1;
    }
}

// The effective address as the interpreter finds it, from the cells before the instruction.
std::int64_t EffectiveAddress(const StepChange& change, const Machine& after, int mode) {
    const auto before = [&](std::int64_t address) {
        return std::int64_t{change.CellBefore(after, address)};
    };
    const std::int64_t a = change.address;
    const std::int64_t lo = before(a + 1);
    const RegisterState& r = change.before;
    switch (mode) {
        case kZeroPage:
            return lo;
        case kZeroPageX:
            return lo + r.XR;
        case kZeroPageY:
            return lo + r.YR;
        case kAbsolute:
            return before(a + 2) * 256 + lo;
        case kAbsoluteX:
            return before(a + 2) * 256 + lo + r.XR;
        case kAbsoluteY:
            return before(a + 2) * 256 + lo + r.YR;
        case kIndirectX:
            return before(lo + r.XR + 1) * 256 + before(lo + r.XR);
        default:  // (zero page),Y
            return before(lo + 1) * 256 + before(lo) + r.YR;
    }
}

std::string Written(std::int64_t address, std::int64_t value, std::int64_t old) {
    return "διεύθυνση " + FormatHex4(address) + " ← " + FormatHex2(value) + " (ήταν " +
           FormatHex2(old) + ")";
}

}  // namespace

std::string DescribeStep(const StepChange& change, const Machine& after) {
    const int a = change.address;
    const int opcode = change.CellBefore(after, a);
    const int lo = change.CellBefore(after, a + 1);
    const int hi = change.CellBefore(after, a + 2);
    const DecodedOpcode d = Decode(opcode);
    if (!d.known) return FormatHex2(opcode) + ": δεν είναι εντολή, καμία αλλαγή";
    const std::string mnemonic(kInstructionTable[static_cast<std::size_t>(d.operation)].mnemonic);
    const bool signedJump =
        d.mode == kRelative || (d.operation == Operation::kJmp && d.mode == kAbsolute);
    const std::string operand = signedJump ? "" : OperandText(d.mode, lo, hi);
    const std::string head = operand.empty() ? mnemonic : mnemonic + " " + operand;
    if (!d.executed) return head + ": η εντολή δεν εκτελείται, καμία αλλαγή";

    const RegisterState& before = change.before;
    const RegisterState& now = change.after;
    std::vector<std::string> parts;
    std::vector<int> named;  // cells already told of

    if (IsMemoryMode(d.mode) && d.operation != Operation::kJmp && d.operation != Operation::kJsr) {
        const std::int64_t ea = EffectiveAddress(change, after, d.mode);
        const std::int64_t old = change.CellBefore(after, ea);
        const std::int64_t value = after.Read(ea);
        if (IsStore(d.operation) || ReadsAndWrites(d.operation)) {
            parts.push_back(Written(ea, value, old));
        } else {
            parts.push_back("ανάγνωση " + FormatHex4(ea) + " = " + FormatHex2(old));
        }
        named.push_back(static_cast<int>(ea));
    }
    if (d.mode == kRelative) {
        if (BranchTaken(d.operation, before)) {
            parts.push_back("η διακλάδωση έγινε, PC ← " + FormatHex4(now.PC));
        } else {
            parts.push_back("η διακλάδωση δεν έγινε");
        }
    }
    switch (d.operation) {
        case Operation::kJmp:
            parts.push_back("PC ← " + FormatHex4(now.PC));
            break;
        case Operation::kJsr:
            parts.push_back("διεύθυνση επιστροφής " + FormatHex4(now.returnAddress) + ", PC ← " +
                            FormatHex4(now.PC));
            if (change.consoleChanged) parts.push_back("η κονσόλα άλλαξε");
            break;
        case Operation::kRts:
            parts.push_back("επιστροφή στη διεύθυνση " + FormatHex4(now.PC));
            break;
        case Operation::kPla:
        case Operation::kPlp:
            if (now.SP != before.SP)
                parts.push_back("ανάγνωση " + FormatHex4(kStackPage + now.SP) + " = " +
                                FormatHex2(after.Read(kStackPage + now.SP)));
            break;
        default:
            break;
    }
    // The stack cell of a push, and anything else written that was not named yet.
    for (int i = 0; i < change.cellCount; ++i) {
        const CellChange& cell = change.cells[i];
        bool told = false;
        for (int address : named) told = told || address == cell.address;
        if (!told) parts.push_back(Written(cell.address, cell.after, cell.before));
    }
    const std::pair<const char*, std::pair<std::int32_t, std::int32_t>> registers[] = {
        {"AC", {before.AC, now.AC}},
        {"XR", {before.XR, now.XR}},
        {"YR", {before.YR, now.YR}},
        {"SP", {before.SP, now.SP}}};
    for (const auto& [name, values] : registers) {
        if (values.first != values.second)
            parts.push_back(std::string(name) + " " + FormatHex2(values.first) + " → " +
                            FormatHex2(values.second));
    }
    for (int k = 0; k < kStatusBitCount; ++k) {
        if (before.status[k] != now.status[k])
            parts.push_back(std::string(kBitNames[k]) + " " + std::to_string(before.status[k]) +
                            " → " + std::to_string(now.status[k]));
    }
    if (now.halted && !before.halted) parts.push_back("σωρός πλήρης");
    if (parts.empty()) parts.push_back("καμία αλλαγή");

    std::string sentence = head + ": ";
    for (std::size_t i = 0; i < parts.size(); ++i) sentence += (i ? ", " : "") + parts[i];
    return sentence;
}

}  // namespace zorvan::cpu
