#pragma once
// The instruction interpreter: one instruction on the machine state, by the system's own rules
// (which differ from the 6502 hardware in places: unreduced shifts and INC/DEC, ADC/SBC carry
// rules, JMP absolute as a displacement, JSR/RTS through one return-address field).
//
//   Machine machine;
//   NullMachineHost host;
//   int next = ExecuteInstruction(machine, host, machine.memory[a], a);

#include <array>
#include <cstdint>

#include "cpu/machine.h"
#include "cpu/machine_host.h"

namespace zorvan::cpu {

// What the interpreter does, one per mnemonic of the instruction set table, in its row order
// (kAdc is row 0, kTya row 55).
// clang-format off
enum class Operation : std::uint8_t {
    kAdc, kAnd, kAsl, kBcc, kBcs, kBeq, kBit, kBmi, kBne, kBpl, kBrk, kBvc, kBvs, kClc,
    kCld, kCli, kClv, kCmp, kCpx, kCpy, kDec, kDex, kDey, kEor, kInc, kInx, kIny, kJmp,
    kJsr, kLda, kLdx, kLdy, kLsr, kNop, kOra, kPha, kPhp, kPla, kPlp, kRol, kRor, kRti,
    kRts, kSbc, kSec, kSed, kSei, kSta, kStx, kSty, kTax, kTay, kTsx, kTxa, kTxs, kTya,
};
// clang-format on

// One entry of the decode table.
struct DecodedOpcode {
    // False for values that are no opcode of the table and for the six opcodes that do nothing
    // (BRK, RTI, CLI, SEI, CLD, SED).
    bool executed = false;
    // True for an opcode of the table (executed or not); then operation and mode are valid.
    bool known = false;
    // The relative branches and JMP absolute: the run loop presents their operand byte signed.
    bool signedOperand = false;
    Operation operation = Operation::kBrk;
    std::uint8_t mode = 0;    // AddressingMode
    std::uint8_t length = 1;  // bytes the instruction occupies
};

// The decode table, built once from the instruction set table.
const std::array<DecodedOpcode, 256>& DecodeTable();
// The entry for any cell value; values outside 0-255 decode as unknown. Inline: every step
// decodes its opcode more than once.
inline DecodedOpcode Decode(int opcode) {
    static const std::array<DecodedOpcode, 256>& table = DecodeTable();
    return opcode >= 0 && opcode < 256 ? table[static_cast<std::size_t>(opcode)] : DecodedOpcode{};
}

// Console routine addresses, reached by JSR.
inline constexpr int kPrintTextRoutine = 0xFFFC;
inline constexpr int kClearConsoleRoutine = 0xFFFD;
inline constexpr int kAskForAccumulatorRoutine = 0xFFFE;
inline constexpr int kShowCharacterRoutine = 0xFFFF;
// JSR to this address runs a console routine (before going on at the address itself).
constexpr bool IsConsoleRoutine(std::int64_t address) {
    return address >= kPrintTextRoutine && address <= kShowCharacterRoutine;
}
// The longest text the print routine shows, as the console's help page tells the students: a
// text whose closing 0 is missing is cut there instead of filling the console with memory.
inline constexpr int kPrintTextLimit = 283;

constexpr bool IsStore(Operation operation) {
    return operation == Operation::kSta || operation == Operation::kStx ||
           operation == Operation::kSty;
}
// The shifts and steps of a cell (in their forms with an address): they read it and write it.
constexpr bool ReadsAndWritesCell(Operation operation) {
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

// Whether a conditional branch is taken, given the status bits before it: in order of BCC, BCS,
// BEQ, BNE, BMI, BPL, BVC, BVS, when C = 0, C = 1, Z = 1, Z = 0, N = 1, N = 0, V = 0, V = 1.
// n and z say whether N and Z are 1 (the machine takes any other value as 0 for them); false for
// an operation that is no branch.
constexpr bool BranchTaken(Operation operation, bool n, std::int32_t v, bool z, std::int32_t c) {
    switch (operation) {
        case Operation::kBcc:
            return c == 0;
        case Operation::kBcs:
            return c == 1;
        case Operation::kBeq:
            return z;
        case Operation::kBne:
            return !z;
        case Operation::kBmi:
            return n;
        case Operation::kBpl:
            return !n;
        case Operation::kBvc:
            return v == 0;
        case Operation::kBvs:
            return v == 1;
        default:
            return false;
    }
}

// Executes the instruction whose opcode is opcode, standing at address, and returns the address of
// the next instruction. Operand cells are taken as the integers they hold (the caller presents a
// branch's operand signed). Opcodes not executed change nothing and return address itself.
// Never throws; does not write PC. slips, when given, hears of what the instruction does.
class SlipChecks;
int ExecuteInstruction(Machine& machine, MachineHost& host, int opcode, int address,
                       SlipChecks* slips = nullptr);

}  // namespace zorvan::cpu
