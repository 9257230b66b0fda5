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
// The print routine's text is cut at this many characters.
inline constexpr int kPrintTextLimit = 283;

// Executes the instruction whose opcode is opcode, standing at address, and returns the address of
// the next instruction. Operand cells are taken as the integers they hold (the caller presents a
// branch's operand signed). Opcodes not executed change nothing and return address itself.
// Never throws; does not write PC.
int ExecuteInstruction(Machine& machine, MachineHost& host, int opcode, int address);

}  // namespace zorvan::cpu
