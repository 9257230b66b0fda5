#include "cpu/instruction_set.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "cpu/interpreter.h"

namespace zorvan::cpu {
namespace {

// The table holds each opcode once; they are the only values Decode knows (none outside 0-255),
// each as long as its mode makes it (opcode and operand bytes), and all are executed but the six
// that do nothing. A mnemonic is found only as written.
TEST(InstructionSet, EachOpcodeOnceDecodedAndExecutedButSix) {
    std::set<int> opcodes;
    for (const InstructionRow& row : kInstructionTable) {
        for (int opcode : row.opcodes)
            if (opcode != kNoOpcode) EXPECT_TRUE(opcodes.insert(opcode).second) << opcode;
    }
    EXPECT_EQ(opcodes.size(), 151u);
    // imm, abs, zp, impl, ind, abs,X, abs,Y, zp,X, zp,Y, (zp,X), (zp),Y, rel, acc
    constexpr int kBytes[kModeCount] = {2, 3, 2, 1, 3, 3, 3, 2, 2, 2, 2, 2, 1};
    std::vector<int> known, knownNotExecuted;
    for (int opcode = -1; opcode <= 0x100; ++opcode) {
        const DecodedOpcode d = Decode(opcode);
        if (d.known) known.push_back(opcode);
        if (d.known) EXPECT_EQ(d.length, kBytes[d.mode]) << opcode;
        if (d.known != d.executed) knownNotExecuted.push_back(opcode);
    }
    EXPECT_EQ(known, std::vector<int>(opcodes.begin(), opcodes.end()));
    EXPECT_EQ(knownNotExecuted, (std::vector<int>{0x00, 0x40, 0x58, 0x78, 0xD8, 0xF8}));
    EXPECT_EQ(FindMnemonic("JMP"), kRowJmp);
    EXPECT_EQ(FindMnemonic("JSR"), kRowJsr);
    for (const char* text : {"", "adc", "LD", "LDA ", "LDAX"}) EXPECT_EQ(FindMnemonic(text), -1);
}

}  // namespace
}  // namespace zorvan::cpu
