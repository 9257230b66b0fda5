#include <gtest/gtest.h>

#include <climits>
#include <string_view>
#include <utility>
#include <vector>

#include "asm/instruction_set.h"
#include "cpu/interpreter.h"
#include "cpu/machine.h"

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

TEST(Decode, OperationsFollowTheMnemonicRows) {
    const std::pair<Operation, std::string_view> names[] = {
        {Operation::kAdc, "ADC"}, {Operation::kAsl, "ASL"}, {Operation::kBit, "BIT"},
        {Operation::kBrk, "BRK"}, {Operation::kCmp, "CMP"}, {Operation::kDex, "DEX"},
        {Operation::kInc, "INC"}, {Operation::kJmp, "JMP"}, {Operation::kJsr, "JSR"},
        {Operation::kLda, "LDA"}, {Operation::kNop, "NOP"}, {Operation::kPha, "PHA"},
        {Operation::kPlp, "PLP"}, {Operation::kRti, "RTI"}, {Operation::kRts, "RTS"},
        {Operation::kSbc, "SBC"}, {Operation::kSed, "SED"}, {Operation::kSta, "STA"},
        {Operation::kSty, "STY"}, {Operation::kTsx, "TSX"}, {Operation::kTya, "TYA"},
    };
    for (const auto& [operation, name] : names) {
        EXPECT_EQ(static_cast<int>(operation), assembler::FindMnemonic(name)) << name;
    }
}

TEST(Decode, FlagsTheSixThatDoNothingAndTheSignedOperands) {
    std::vector<int> notExecuted;
    std::vector<int> signedOperand;
    for (int opcode = 0; opcode < 256; ++opcode) {
        const DecodedOpcode d = Decode(opcode);
        if (d.known && !d.executed) notExecuted.push_back(opcode);
        if (d.signedOperand) signedOperand.push_back(opcode);
        if (d.plain)
            EXPECT_TRUE(d.executed && !d.signedOperand && opcode != 0x48 && opcode != 0x08);
    }
    EXPECT_EQ(notExecuted, (std::vector<int>{0x00, 0x40, 0x58, 0x78, 0xD8, 0xF8}));
    EXPECT_EQ(signedOperand,
              (std::vector<int>{0x10, 0x30, 0x4C, 0x50, 0x70, 0x90, 0xB0, 0xD0, 0xF0}));
}

// Each case loads AC (or X) through one addressing mode; the cell it should read holds 5A.
struct AddressCase {
    const char* name;
    int at;
    std::vector<int> code;
    int xr;
    int yr;
    std::vector<std::pair<int, int>> cells;
    int expectedAc;
    int expectedXr;
};

const AddressCase kAddressCases[] = {
    {"zero page,X does not wrap",
     0x0200,
     {0xB5, 0xF0},
     0x20,
     0,
     {{0x0110, 0x5A}, {0x0010, 1}},
     0x5A,
     0x20},
    {"zero page,Y does not wrap (LDX)", 0x0200, {0xB6, 0xF0}, 0, 0x20, {{0x0110, 0x5A}}, 0, 0x5A},
    {"absolute", 0x0200, {0xAD, 0x34, 0x12}, 0, 0, {{0x1234, 0x5A}}, 0x5A, 0},
    {"absolute,Y", 0x0200, {0xB9, 0x34, 0x12}, 0, 1, {{0x1235, 0x5A}}, 0x5A, 0},
    {"absolute,X past FFFF reads 0",
     0x0200,
     {0xBD, 0xF0, 0xFF},
     0x20,
     0,
     {{0x0010, 0x5A}},
     0,
     0x20},
    {"(zero page,X) takes the high byte from 0100",
     0x0200,
     {0xA1, 0xFF},
     0,
     0,
     {{0x00FF, 0x34}, {0x0100, 0x12}, {0x1234, 0x5A}},
     0x5A,
     0},
    {"(zero page,X) adds X without wrapping",
     0x0200,
     {0xA1, 0xF0},
     0x20,
     0,
     {{0x0110, 0x34}, {0x0111, 0x12}, {0x1234, 0x5A}},
     0x5A,
     0x20},
    {"(zero page),Y takes the high byte from 0100",
     0x0200,
     {0xB1, 0xFF},
     0,
     5,
     {{0x00FF, 0x00}, {0x0100, 0x30}, {0x3005, 0x5A}},
     0x5A,
     0},
    {"(zero page),Y past FFFF reads 0",
     0x0200,
     {0xB1, 0x10},
     0,
     0x20,
     {{0x0010, 0xF0}, {0x0011, 0xFF}, {0x0010 + 0xF0 + 0x20 - 0x100, 0x5A}},
     0,
     0},
    {"a pointer cell above FF is used as it is",
     0x0200,
     {0xA1, 0x10},
     0,
     0,
     {{0x0010, 0x134}, {0x0011, 0x11}, {0x1234, 0x5A}},
     0x5A,
     0},
    {"an index register above FF is used as it is",
     0x0200,
     {0xBD, 0x00, 0x10},
     0x234,
     0,
     {{0x1234, 0x5A}},
     0x5A,
     0x234},
    {"a huge index register reads 0", 0x0200, {0xBD, 0xFF, 0xFF}, INT_MAX, 0, {}, 0, INT_MAX},
    {"a negative index register reads 0", 0x0200, {0xB5, 0x02}, -5, 0, {{0x0000, 0x5A}}, 0, -5},
    {"(zero page,X) with a negative X reads the pointer as 0",
     0x0200,
     {0xA1, 0x02},
     -5,
     0,
     {{0x0000, 0x5A}},
     0x5A,
     -5},
    {"immediate at FFFF: the operand past the end is 0", 0xFFFF, {0xA9}, 0, 0, {}, 0, 0},
    {"absolute at FFFE: the high byte past the end is 0",
     0xFFFE,
     {0xAD, 0x34},
     0,
     0,
     {{0x0034, 0x5A}},
     0x5A,
     0},
};

TEST(AddressingModes, ReachTheRightCell) {
    for (const AddressCase& c : kAddressCases) {
        SCOPED_TRACE(c.name);
        Machine m;
        NullMachineHost host;
        for (std::size_t i = 0; i < c.code.size(); ++i)
            m.Write(c.at + static_cast<int>(i), c.code[i]);
        for (const auto& [address, value] : c.cells) m.Write(address, value);
        m.XR = c.xr;
        m.YR = c.yr;
        ExecuteInstruction(m, host, c.code[0], c.at);
        EXPECT_EQ(m.AC, c.expectedAc);
        EXPECT_EQ(m.XR, c.expectedXr);
    }
}

// Stores and read-modify-writes aimed past the end of memory change no cell.
TEST(AddressingModes, WritesPastTheEndAreDropped) {
    struct Case {
        const char* name;
        int at;
        std::vector<int> code;
        int xr;
        int yr;
    };
    const Case cases[] = {
        {"STA abs,X", 0x0200, {0x9D, 0xF0, 0xFF}, 0x20, 0},
        {"STA abs,Y", 0x0200, {0x99, 0xFF, 0xFF}, 0, 0xFF},
        {"STA (zp),Y", 0x0200, {0x91, 0x10}, 0, 0x7F},
        {"STX zp,Y with a huge Y", 0x0200, {0x96, 0x10}, 0, INT_MAX},
        {"INC abs,X", 0x0200, {0xFE, 0xFF, 0xFF}, 1, 0},
        {"DEC zp,X with a negative X", 0x0200, {0xD6, 0x00}, -1, 0},
        {"ASL abs,X", 0x0200, {0x1E, 0xFF, 0xFF}, 1, 0},
        {"ROR abs,X", 0x0200, {0x7E, 0xFF, 0xFF}, 0x7FFFFFFF, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Machine m;
        NullMachineHost host;
        for (std::size_t i = 0; i < c.code.size(); ++i)
            m.Write(c.at + static_cast<int>(i), c.code[i]);
        m.Write(0x0010, 0xF0);
        m.Write(0x0011, 0xFF);
        m.AC = 0x5A;
        m.XR = c.xr;
        m.YR = c.yr;
        const Machine before = m;
        ExecuteInstruction(m, host, c.code[0], c.at);
        EXPECT_EQ(m.memory, before.memory);
    }
}

}  // namespace
}  // namespace zorvan::cpu
