#pragma once
// The instruction set table: 56 mnemonics by 13 addressing modes, an opcode or -1 in each entry.
// The line checker, the assembly pass and the interpreter's decode table all derive from it.
//
//   int row = FindMnemonic("LDA");                       // 29
//   int opcode = OpcodeOf(row, kImmediate);              // 0xA9

#include <array>
#include <string_view>

namespace zorvan::cpu {

// Addressing-mode columns of the table, in column order.
enum AddressingMode : int {
    kImmediate = 0,
    kAbsolute = 1,
    kZeroPage = 2,
    kImplied = 3,
    kIndirect = 4,
    kAbsoluteX = 5,
    kAbsoluteY = 6,
    kZeroPageX = 7,
    kZeroPageY = 8,
    kIndirectX = 9,
    kIndirectY = 10,
    kRelative = 11,
    kAccumulator = 12,
};

inline constexpr int kMnemonicCount = 56;
inline constexpr int kModeCount = 13;
inline constexpr int kNoOpcode = -1;

struct InstructionRow {
    std::string_view mnemonic;
    std::array<int, kModeCount> opcodes;
};

extern const std::array<InstructionRow, kMnemonicCount> kInstructionTable;

// The rows of JMP and JSR in kInstructionTable, whose rows run in alphabetical order (the
// instruction set test holds them to their mnemonics).
inline constexpr int kRowJmp = 27;
inline constexpr int kRowJsr = 28;

// The row 0-55 whose mnemonic equals the text exactly (case-sensitive), or -1.
int FindMnemonic(std::string_view text);
// The opcode 0-255, or -1 when the mnemonic has no such mode. row must be 0-55, mode 0-12.
int OpcodeOf(int row, int mode);
bool HasMode(int row, int mode);
// True when the row's relative column holds an opcode: the eight conditional branches.
bool IsBranch(int row);

// Bytes an instruction occupies in each addressing mode: the opcode and its operand bytes. The
// assembler, the line checker, the decode table and the run loop's hot path all take it from here.
constexpr int ModeLength(int mode) {
    switch (mode) {
        case kImplied:
        case kAccumulator:
            return 1;
        case kAbsolute:
        case kAbsoluteX:
        case kAbsoluteY:
        case kIndirect:
            return 3;
        default:
            return 2;
    }
}

}  // namespace zorvan::cpu
