#include "cpu/interpreter.h"

#include <string>

#include "cpu/execution.h"
#include "cpu/instruction_set.h"

namespace zorvan::cpu {

namespace {

static_assert(static_cast<int>(Operation::kTya) == kMnemonicCount - 1,
              "one operation per row of the instruction set table");

std::array<DecodedOpcode, 256> BuildDecodeTable() {
    std::array<DecodedOpcode, 256> table{};
    for (int row = 0; row < kMnemonicCount; ++row) {
        const auto operation = static_cast<Operation>(row);
        const bool doesNothing = operation == Operation::kBrk || operation == Operation::kRti ||
                                 operation == Operation::kCli || operation == Operation::kSei ||
                                 operation == Operation::kCld || operation == Operation::kSed;
        for (int mode = 0; mode < kModeCount; ++mode) {
            const int opcode = OpcodeOf(row, mode);
            if (opcode == kNoOpcode) continue;
            DecodedOpcode& entry = table[static_cast<std::size_t>(opcode)];
            entry.known = true;
            entry.executed = !doesNothing;
            entry.operation = operation;
            entry.mode = static_cast<std::uint8_t>(mode);
            entry.length = static_cast<std::uint8_t>(ModeLength(mode));
            entry.signedOperand = mode == kRelative || (row == kRowJmp && mode == kAbsolute);
        }
    }
    return table;
}

}  // namespace

const std::array<DecodedOpcode, 256>& DecodeTable() {
    static const std::array<DecodedOpcode, 256> kTable = BuildDecodeTable();
    return kTable;
}

int ExecuteInstruction(Machine& machine, MachineHost& host, int opcode, int address,
                       SlipChecks* slips) {
    const DecodedOpcode decoded = Decode(opcode);
    if (!decoded.executed) return address;
    if (slips != nullptr) {
        detail::TrackedCore core(machine, host, *slips);
        const int next = detail::Execute(core, decoded.operation, decoded.mode, address);
        core.Store();
        return next;
    }
    detail::Core core(machine, host);
    const int next = detail::Execute(core, decoded.operation, decoded.mode, address);
    core.Store();
    return next;
}

namespace detail {

// The text's address lies in cells 0000 and 0001, low byte first. The text ends before the first
// cell whose byte is 0 (a console line cannot hold a NUL), at the end of memory, or after
// kPrintTextLimit characters, whichever comes first.
void PrintTextRoutine(Machine& m, MachineHost& host) {
    if (!host.WantsPrintedText()) return;
    const std::int64_t start = std::int64_t{m.Read(1)} * 256 + m.Read(0);
    std::string text;
    for (std::int64_t p = start; Machine::IsAddress(p) && text.size() < kPrintTextLimit; ++p) {
        const auto byte = static_cast<char>(static_cast<std::uint8_t>(m.Read(p)));
        if (byte == '\0') break;
        text.push_back(byte);
    }
    host.PrintText(text);
}

}  // namespace detail

}  // namespace zorvan::cpu
