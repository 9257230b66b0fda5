#include <gtest/gtest.h>

#include <set>
#include <tuple>
#include <vector>

#include "cpu/instruction_set.h"

namespace zorvan::assembler {
namespace {

TEST(InstructionSet, FindsMnemonicsExactlyAndTheirOpcodes) {
    EXPECT_EQ(std::pair(cpu::FindMnemonic("JMP"), cpu::FindMnemonic("JSR")),
              std::pair(cpu::kRowJmp, cpu::kRowJsr));
    for (const char* text : {"", "adc", "LD", "LDA ", "LDAX"})
        EXPECT_EQ(cpu::FindMnemonic(text), -1);
    const std::tuple<const char*, int, int> cases[] = {
        {"ASL", cpu::kAccumulator, 0x0A}, {"ORA", cpu::kAbsolute, 0x0D},
        {"ORA", cpu::kAbsoluteY, 0x19},   {"LDX", cpu::kAbsoluteY, 0xBE},
        {"LDX", cpu::kZeroPageY, 0xB6},   {"LDX", cpu::kAbsoluteX, cpu::kNoOpcode},
        {"STX", cpu::kZeroPageY, 0x96},   {"STY", cpu::kZeroPageX, 0x94},
        {"JMP", cpu::kIndirect, 0x6C},    {"SBC", cpu::kZeroPage, 0xE5},
        {"BRK", cpu::kImplied, 0x00},     {"LDA", cpu::kIndirectY, 0xB1},
    };
    for (const auto& [mnemonic, mode, opcode] : cases)
        EXPECT_EQ(cpu::OpcodeOf(cpu::FindMnemonic(mnemonic), mode), opcode) << mnemonic;
}

TEST(InstructionSet, HoldsEachOf151OpcodesOnceAndColumnsHoldTheirFamilies) {
    // Rows that branch, are implied only, take the accumulator, zero page Y, indirect.
    int counts[5] = {};
    std::set<int> opcodes;
    for (int row = 0; row < cpu::kMnemonicCount; ++row) {
        int modes = 0;
        for (int mode = 0; mode < cpu::kModeCount; ++mode) modes += cpu::HasMode(row, mode);
        for (int opcode : cpu::kInstructionTable[row].opcodes)
            if (opcode != cpu::kNoOpcode) EXPECT_TRUE(opcodes.insert(opcode).second) << opcode;
        counts[0] += cpu::IsBranch(row);
        counts[1] += cpu::HasMode(row, cpu::kImplied) && modes == 1;
        counts[2] += cpu::HasMode(row, cpu::kAccumulator);
        counts[3] += cpu::HasMode(row, cpu::kZeroPageY);
        counts[4] += cpu::HasMode(row, cpu::kIndirect);
    }
    EXPECT_EQ(opcodes.size(), 151u);
    EXPECT_EQ(std::vector<int>(counts, counts + 5), (std::vector<int>{8, 25, 4, 2, 1}));
}

}  // namespace
}  // namespace zorvan::assembler
