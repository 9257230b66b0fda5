#include <gtest/gtest.h>

#include <vector>

#include "cpu/instruction_set.h"
#include "cpu/interpreter.h"

namespace zorvan::cpu {

TEST(Decode, AgreesWithTheInstructionTable) {
    for (int row = 0; row < cpu::kMnemonicCount; ++row) {
        for (int mode = 0; mode < cpu::kModeCount; ++mode) {
            const int opcode = cpu::OpcodeOf(row, mode);
            if (opcode == cpu::kNoOpcode) continue;
            const DecodedOpcode d = Decode(opcode);
            EXPECT_TRUE(d.known && static_cast<int>(d.operation) == row && d.mode == mode &&
                        d.length == cpu::ModeLength(mode))
                << cpu::kInstructionTable[row].mnemonic << " mode " << mode;
        }
    }
    // The table's opcodes are the only known values (none outside 0-255); all are executed but the
    // six that do nothing, and no unknown value is; branches and JMP abs take their operand signed.
    int known = 0;
    std::vector<int> knownNotExecuted, signedOperand;
    for (int opcode = -1; opcode <= 0x100; ++opcode) {
        const DecodedOpcode d = Decode(opcode);
        known += d.known ? 1 : 0;
        if (d.known != d.executed) knownNotExecuted.push_back(opcode);
        if (d.signedOperand) signedOperand.push_back(opcode);
    }
    EXPECT_EQ(known, 151);
    EXPECT_EQ(knownNotExecuted, (std::vector<int>{0x00, 0x40, 0x58, 0x78, 0xD8, 0xF8}));
    EXPECT_EQ(signedOperand,
              (std::vector<int>{0x10, 0x30, 0x4C, 0x50, 0x70, 0x90, 0xB0, 0xD0, 0xF0}));
}

}  // namespace zorvan::cpu
