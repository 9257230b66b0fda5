#include <gtest/gtest.h>

#include <set>
#include <tuple>
#include <vector>

#include "asm/instruction_set.h"

namespace zorvan::assembler {
namespace {

TEST(InstructionSet, FindsMnemonicsExactlyAndTheirOpcodes) {
    EXPECT_EQ(std::pair(FindMnemonic("JMP"), FindMnemonic("JSR")), std::pair(kRowJmp, kRowJsr));
    for (const char* text : {"", "adc", "LD", "LDA ", "LDAX"}) EXPECT_EQ(FindMnemonic(text), -1);
    const std::tuple<const char*, int, int> cases[] = {
        {"ASL", kAccumulator, 0x0A}, {"ORA", kAbsolute, 0x0D},  {"ORA", kAbsoluteY, 0x19},
        {"LDX", kAbsoluteY, 0xBE},   {"LDX", kZeroPageY, 0xB6}, {"LDX", kAbsoluteX, kNoOpcode},
        {"STX", kZeroPageY, 0x96},   {"STY", kZeroPageX, 0x94}, {"JMP", kIndirect, 0x6C},
        {"SBC", kZeroPage, 0xE5},    {"BRK", kImplied, 0x00},   {"LDA", kIndirectY, 0xB1},
    };
    for (const auto& [mnemonic, mode, opcode] : cases)
        EXPECT_EQ(OpcodeOf(FindMnemonic(mnemonic), mode), opcode) << mnemonic;
}

TEST(InstructionSet, HoldsEachOf151OpcodesOnceAndColumnsHoldTheirFamilies) {
    // Rows that branch, are implied only, take the accumulator, zero page Y, indirect.
    int counts[5] = {};
    std::set<int> opcodes;
    for (int row = 0; row < kMnemonicCount; ++row) {
        int modes = 0;
        for (int mode = 0; mode < kModeCount; ++mode) modes += HasMode(row, mode);
        for (int opcode : kInstructionTable[row].opcodes)
            if (opcode != kNoOpcode) EXPECT_TRUE(opcodes.insert(opcode).second) << opcode;
        counts[0] += IsBranch(row);
        counts[1] += HasMode(row, kImplied) && modes == 1;
        counts[2] += HasMode(row, kAccumulator);
        counts[3] += HasMode(row, kZeroPageY);
        counts[4] += HasMode(row, kIndirect);
    }
    EXPECT_EQ(opcodes.size(), 151u);
    EXPECT_EQ(std::vector<int>(counts, counts + 5), (std::vector<int>{8, 25, 4, 2, 1}));
}

}  // namespace
}  // namespace zorvan::assembler
