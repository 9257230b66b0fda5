#include <gtest/gtest.h>

#include <set>

#include "asm/instruction_set.h"

namespace zorvan::assembler {
namespace {

TEST(InstructionSet, FindsMnemonicsExactly) {
    EXPECT_EQ(FindMnemonic("ADC"), 0);
    EXPECT_EQ(FindMnemonic("JMP"), kRowJmp);
    EXPECT_EQ(FindMnemonic("JSR"), kRowJsr);
    EXPECT_EQ(FindMnemonic("TYA"), 55);
    for (const char* text : {"", "adc", "LD", "LDA ", "LDAX"}) EXPECT_EQ(FindMnemonic(text), -1);
}

TEST(InstructionSet, HoldsEachOf151OpcodesOnce) {
    std::set<int> opcodes;
    int count = 0;
    for (const InstructionRow& row : kInstructionTable) {
        for (int opcode : row.opcodes) {
            if (opcode == kNoOpcode) continue;
            ++count;
            opcodes.insert(opcode);
        }
    }
    EXPECT_EQ(count, 151);
    EXPECT_EQ(opcodes.size(), 151u);
}

TEST(InstructionSet, KnownEntries) {
    struct Case {
        const char* mnemonic;
        int mode;
        int opcode;
    };
    const Case cases[] = {
        {"ASL", kAccumulator, 0x0A}, {"CLC", kImplied, 0x18},  {"ORA", kAbsolute, 0x0D},
        {"ORA", kAbsoluteX, 0x1D},   {"ORA", kAbsoluteY, 0x19}, {"ROR", kAbsoluteX, 0x7E},
        {"LDX", kAbsoluteY, 0xBE},   {"LDX", kZeroPageY, 0xB6}, {"LDX", kAbsoluteX, kNoOpcode},
        {"STX", kZeroPageY, 0x96},   {"STY", kZeroPageX, 0x94}, {"JMP", kIndirect, 0x6C},
        {"SBC", kZeroPage, 0xE5},    {"BRK", kImplied, 0x00},   {"LDA", kIndirectY, 0xB1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(OpcodeOf(FindMnemonic(c.mnemonic), c.mode), c.opcode) << c.mnemonic;
    }
}

TEST(InstructionSet, ColumnsHoldTheirFamilies) {
    int branches = 0, implied = 0, accumulator = 0, zeroPageY = 0, indirect = 0;
    for (int row = 0; row < kMnemonicCount; ++row) {
        branches += IsBranch(row);
        implied += HasMode(row, kImplied);
        accumulator += HasMode(row, kAccumulator);
        zeroPageY += HasMode(row, kZeroPageY);
        indirect += HasMode(row, kIndirect);
        if (HasMode(row, kImplied)) {
            for (int mode = 0; mode < kModeCount; ++mode) {
                if (mode != kImplied) EXPECT_FALSE(HasMode(row, mode)) << row;
            }
        }
    }
    EXPECT_EQ(branches, 8);
    EXPECT_EQ(implied, 25);
    EXPECT_EQ(accumulator, 4);
    EXPECT_EQ(zeroPageY, 2);
    EXPECT_EQ(indirect, 1);
}

}  // namespace
}  // namespace zorvan::assembler
