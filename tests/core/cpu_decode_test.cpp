#include <gtest/gtest.h>

#include <vector>

#include "asm/instruction_set.h"
#include "cpu/interpreter.h"

namespace zorvan::cpu {
namespace {

using assembler::kInstructionTable;

TEST(Decode, EveryOpcodeOfTheTableDecodesToItsInstructionAndMode) {
    int known = 0;
    for (int row = 0; row < assembler::kMnemonicCount; ++row) {
        for (int mode = 0; mode < assembler::kModeCount; ++mode) {
            const int opcode = assembler::OpcodeOf(row, mode);
            if (opcode == assembler::kNoOpcode) continue;
            SCOPED_TRACE(kInstructionTable[row].mnemonic);
            const DecodedOpcode d = Decode(opcode);
            ++known;
            EXPECT_TRUE(d.known);
            EXPECT_EQ(static_cast<int>(d.operation), row);
            EXPECT_EQ(d.mode, mode);
            EXPECT_EQ(d.length, assembler::ModeLength(mode));
        }
    }
    EXPECT_EQ(known, 151);
    int unknown = 0;
    for (int opcode = -1; opcode <= 0x100; ++opcode) unknown += Decode(opcode).known ? 0 : 1;
    EXPECT_EQ(unknown, 256 - 151 + 2);
}

TEST(Decode, FlagsTheSixThatDoNothingAndTheSignedOperands) {
    std::vector<int> notExecuted;
    std::vector<int> signedOperand;
    for (int opcode = 0; opcode < 256; ++opcode) {
        const DecodedOpcode d = Decode(opcode);
        if (d.known && !d.executed) notExecuted.push_back(opcode);
        if (d.signedOperand) signedOperand.push_back(opcode);
    }
    EXPECT_EQ(notExecuted, (std::vector<int>{0x00, 0x40, 0x58, 0x78, 0xD8, 0xF8}));
    EXPECT_EQ(signedOperand,
              (std::vector<int>{0x10, 0x30, 0x4C, 0x50, 0x70, 0x90, 0xB0, 0xD0, 0xF0}));
}

}  // namespace
}  // namespace zorvan::cpu
