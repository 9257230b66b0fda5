#include <gtest/gtest.h>

#include <climits>
#include <utility>
#include <vector>

#include "cpu/interpreter.h"
#include "cpu/machine.h"
#include "cpu_fake_host.h"

namespace zorvan::cpu {
namespace {

// Registers, the packed status byte (N V - B D I Z C) and chosen cells.
struct State {
    int ac = 0;
    int xr = 0;
    int yr = 0;
    int sp = 0xFF;
    int p = 0x20;
    int ret = 0;
    std::vector<std::pair<int, int>> cells = {};
};

struct Case {
    const char* name;
    std::vector<int> code;  // opcode and operand cells, placed at `at`
    State before;
    State after;  // cells: those checked afterwards
    int next;
    int at = 0x0200;
};

const Case kCases[] = {
    {"LDA #00 sets Z", {0xA9, 0x00}, {.ac = 5}, {.p = 0x22}, 0x0202},
    {"LDA #80 sets N", {0xA9, 0x80}, {}, {.ac = 0x80, .p = 0xA0}, 0x0202},
    {"LDA reads a cell above FF as it is",
     {0xA5, 0x10},
     {.cells = {{0x10, 0x1FF}}},
     {.ac = 0x1FF, .p = 0xA0},
     0x0202},
    {"LDX and LDY set Z/N", {0xA2, 0x00}, {.xr = 3, .p = 0xA0}, {.xr = 0, .p = 0x22}, 0x0202},
    {"LDY abs", {0xAC, 0x34, 0x12}, {.cells = {{0x1234, 0x7F}}}, {.yr = 0x7F}, 0x0203},
    {"ADC overflow into the sign", {0x69, 0x01}, {.ac = 0x7F}, {.ac = 0x80, .p = 0xE0}, 0x0202},
    {"ADC carry out", {0x69, 0x01}, {.ac = 0xFF}, {.ac = 0x00, .p = 0x23}, 0x0202},
    {"ADC keeps a set carry",
     {0x69, 0x01},
     {.ac = 0x01, .p = 0x21},
     {.ac = 0x03, .p = 0x21},
     0x0202},
    {"ADC two negatives", {0x69, 0x80}, {.ac = 0x80}, {.ac = 0x00, .p = 0x63}, 0x0202},
    {"SBC to zero keeps C", {0xE9, 0x05}, {.ac = 5, .p = 0x21}, {.ac = 0, .p = 0x23}, 0x0202},
    {"SBC borrowing to zero keeps C clear", {0xE9, 0x04}, {.ac = 5}, {.ac = 0, .p = 0x22}, 0x0202},
    {"SBC below zero", {0xE9, 0x06}, {.ac = 5, .p = 0x21}, {.ac = 0xFF, .p = 0xA0}, 0x0202},
    {"SBC positive sets C", {0xE9, 0x01}, {.ac = 5}, {.ac = 3, .p = 0x21}, 0x0202},
    {"SBC overflow", {0xE9, 0x01}, {.ac = 0x80, .p = 0x21}, {.ac = 0x7F, .p = 0x61}, 0x0202},
    {"CMP less", {0xC9, 0x20}, {.ac = 0x10}, {.ac = 0x10, .p = 0xA0}, 0x0202},
    {"CMP equal", {0xC9, 0x10}, {.ac = 0x10}, {.ac = 0x10, .p = 0x23}, 0x0202},
    {"CMP greater", {0xC9, 0x05}, {.ac = 0x10, .p = 0xA2}, {.ac = 0x10, .p = 0x21}, 0x0202},
    {"CMP N is less-than, not bit 7", {0xC9, 0x10}, {.ac = 0xF0}, {.ac = 0xF0, .p = 0x21}, 0x0202},
    {"CMP keeps V", {0xC9, 0x10}, {.ac = 0x10, .p = 0x60}, {.ac = 0x10, .p = 0x63}, 0x0202},
    {"CPX zero page", {0xE4, 0x10}, {.xr = 3, .cells = {{0x10, 4}}}, {.xr = 3, .p = 0xA0}, 0x0202},
    {"CPY abs",
     {0xCC, 0x00, 0x30},
     {.yr = 9, .cells = {{0x3000, 4}}},
     {.yr = 9, .p = 0x21},
     0x0203},
    {"INC is not reduced and sets no flags",
     {0xE6, 0x10},
     {.p = 0xA2, .cells = {{0x10, 0xFF}}},
     {.p = 0xA2, .cells = {{0x10, 0x100}}},
     0x0202},
    {"DEC of 00 leaves -1", {0xC6, 0x10}, {}, {.cells = {{0x10, -1}}}, 0x0202},
    {"INC of 7FFF wraps as a 16-bit cell",
     {0xEE, 0x00, 0x30},
     {.cells = {{0x3000, 0x7FFF}}},
     {.cells = {{0x3000, -32768}}},
     0x0203},
    {"INX wraps above FF", {0xE8}, {.xr = 0xFF}, {.xr = 0, .p = 0x22}, 0x0201},
    {"INX of a value far above FF gives 0", {0xE8}, {.xr = 0x1000}, {.xr = 0, .p = 0x22}, 0x0201},
    {"INY", {0xC8}, {.yr = 0x7F}, {.yr = 0x80, .p = 0xA0}, 0x0201},
    {"DEX wraps below 0", {0xCA}, {}, {.xr = 0xFF, .p = 0xA0}, 0x0201},
    {"DEX of a negative gives FF", {0xCA}, {.xr = -5}, {.xr = 0xFF, .p = 0xA0}, 0x0201},
    {"DEX of INT_MIN gives FF", {0xCA}, {.xr = INT_MIN}, {.xr = 0xFF, .p = 0xA0}, 0x0201},
    {"DEY to zero", {0x88}, {.yr = 1}, {.yr = 0, .p = 0x22}, 0x0201},
    {"ASL A is not reduced and never clears Z",
     {0x0A},
     {.ac = 0x80, .p = 0x22},
     {.ac = 0x100, .p = 0xA3},
     0x0201},
    {"ASL A never clears N", {0x0A}, {.ac = 0x01, .p = 0xA3}, {.ac = 0x02, .p = 0xA2}, 0x0201},
    {"ASL A of 00 sets Z", {0x0A}, {.ac = 0}, {.ac = 0, .p = 0x22}, 0x0201},
    {"ASL A wraps as a 32-bit register",
     {0x0A},
     {.ac = 0x40000000},
     {.ac = INT_MIN, .p = 0x21},
     0x0201},
    {"ASL zp changes only the cell and C",
     {0x06, 0x10},
     {.ac = 7, .p = 0x22, .cells = {{0x10, 0xC0}}},
     {.ac = 7, .p = 0x23, .cells = {{0x10, 0x180}}},
     0x0202},
    {"LSR A", {0x4A}, {.ac = 0x03, .p = 0x80}, {.ac = 0x01, .p = 0x01}, 0x0201},
    {"LSR zp keeps Z/N",
     {0x46, 0x10},
     {.p = 0x80, .cells = {{0x10, 1}}},
     {.p = 0x81, .cells = {{0x10, 0}}},
     0x0202},
    {"ROL A puts the bit shifted out into bit 0",
     {0x2A},
     {.ac = 0x80},
     {.ac = 0x101, .p = 0xA1},
     0x0201},
    {"ROL A ignores the old carry",
     {0x2A},
     {.ac = 0x01, .p = 0x21},
     {.ac = 0x02, .p = 0x20},
     0x0201},
    {"ROL abs,X leaves AC",
     {0x3E, 0x00, 0x30},
     {.ac = 9, .xr = 1, .cells = {{0x3001, 0x81}}},
     {.ac = 9, .xr = 1, .p = 0x21, .cells = {{0x3001, 0x103}}},
     0x0203},
    {"ROR A adds the bit shifted out at bit 0",
     {0x6A},
     {.ac = 0x03},
     {.ac = 0x02, .p = 0x21},
     0x0201},
    {"ROR A of 01 stays 01", {0x6A}, {.ac = 0x01}, {.ac = 0x01, .p = 0x21}, 0x0201},
    {"ROR A never clears Z or N", {0x6A}, {.ac = 0x04, .p = 0xA2}, {.ac = 0x02, .p = 0xA2}, 0x0201},
    {"ROR zp",
     {0x66, 0x10},
     {.cells = {{0x10, 0x05}}},
     {.p = 0x21, .cells = {{0x10, 0x03}}},
     0x0202},
    {"ORA # uses the operand, not the cell it names",
     {0x09, 0x05},
     {.ac = 0x10, .cells = {{0x05, 0xFF}}},
     {.ac = 0x15},
     0x0202},
    {"AND", {0x29, 0x0F}, {.ac = 0x3C}, {.ac = 0x0C}, 0x0202},
    {"EOR", {0x49, 0xFF}, {.ac = 0x0F}, {.ac = 0xF0, .p = 0xA0}, 0x0202},
    {"BIT sets only Z",
     {0x24, 0x10},
     {.ac = 0x0F, .cells = {{0x10, 0xF0}}},
     {.ac = 0x0F, .p = 0x22},
     0x0202},
    {"BIT clears Z, keeps N and V",
     {0x2C, 0x00, 0x30},
     {.ac = 0x01, .p = 0xE2, .cells = {{0x3000, 0x01}}},
     {.ac = 0x01, .p = 0xE0},
     0x0203},
    {"TAX", {0xAA}, {.ac = 0x80}, {.ac = 0x80, .xr = 0x80, .p = 0xA0}, 0x0201},
    {"TAY of 0", {0xA8}, {.yr = 4}, {.p = 0x22}, 0x0201},
    {"TXA", {0x8A}, {.xr = 1}, {.ac = 1, .xr = 1}, 0x0201},
    {"TYA", {0x98}, {.yr = 0x90}, {.ac = 0x90, .yr = 0x90, .p = 0xA0}, 0x0201},
    {"TXS unpacks XR into the status bits, SP untouched",
     {0x9A},
     {.xr = 0x81, .sp = 0x40, .p = 0x3E},
     {.xr = 0x81, .sp = 0x40, .p = 0x81},
     0x0201},
    {"TSX packs the status bits into XR", {0xBA}, {.p = 0x81}, {.xr = 0x81, .p = 0x81}, 0x0201},
    {"TSX of 00", {0xBA}, {.xr = 5, .p = 0x00}, {.xr = 0, .p = 0x02}, 0x0201},
    {"CLC", {0x18}, {.p = 0xFF}, {.p = 0xFE}, 0x0201},
    {"SEC", {0x38}, {}, {.p = 0x21}, 0x0201},
    {"CLV", {0xB8}, {.p = 0x60}, {.p = 0x20}, 0x0201},
    {"NOP", {0xEA}, {.ac = 1, .p = 0xFF}, {.ac = 1, .p = 0xFF}, 0x0201},
    {"STA abs,Y",
     {0x99, 0x00, 0x30},
     {.ac = 0x42, .yr = 2},
     {.ac = 0x42, .yr = 2, .cells = {{0x3002, 0x42}}},
     0x0203},
    {"STA keeps the low 16 bits of AC",
     {0x85, 0x10},
     {.ac = 0x12345},
     {.ac = 0x12345, .cells = {{0x10, 0x2345}}},
     0x0202},
    {"STX zp,Y",
     {0x96, 0x10},
     {.xr = 7, .yr = 1},
     {.xr = 7, .yr = 1, .cells = {{0x11, 7}}},
     0x0202},
    {"STY zp,X",
     {0x94, 0x10},
     {.xr = 2, .yr = 9},
     {.xr = 2, .yr = 9, .cells = {{0x12, 9}}},
     0x0202},
    {"JMP absolute is a displacement back", {0x4C, -3, 0x00}, {}, {}, 0x0200},
    {"JMP absolute with a high byte", {0x4C, 0x10, 0x01}, {}, {}, 0x0200 + 3 + 0x0110},
    {"JMP indirect", {0x6C, 0x34, 0x12}, {.cells = {{0x1234, 0x78}, {0x1235, 0x56}}}, {}, 0x5678},
    {"JMP indirect through FFFF reads 0 past the end",
     {0x6C, 0xFF, 0xFF},
     {.cells = {{0xFFFF, 0x34}}},
     {},
     0x0034},
    {"JSR sets the return address", {0x20, 0x00, 0x04}, {}, {.ret = 0x0203}, 0x0400},
    {"RTS returns and keeps the return address", {0x60}, {.ret = 0x1234}, {.ret = 0x1234}, 0x1234},
    {"PHA", {0x48}, {.ac = 0x42}, {.ac = 0x42, .sp = 0xFE, .cells = {{0x01FF, 0x42}}}, 0x0201},
    {"PHP pushes the packed status",
     {0x08},
     {.sp = 0x80, .p = 0xC3},
     {.sp = 0x7F, .p = 0xC3, .cells = {{0x0180, 0xC3}}},
     0x0201},
    {"PLA keeps N and Z",
     {0x68},
     {.sp = 0xFE, .p = 0x22, .cells = {{0x01FF, 0x99}}},
     {.ac = 0x99, .sp = 0xFF, .p = 0x22},
     0x0201},
    {"PLA from an empty stack does nothing",
     {0x68},
     {.ac = 3, .cells = {{0x0100, 9}}},
     {.ac = 3},
     0x0201},
    {"PLP unpacks all eight bits",
     {0x28},
     {.sp = 0xFE, .p = 0x00, .cells = {{0x01FF, 0xFF}}},
     {.sp = 0xFF, .p = 0xFF},
     0x0201},
    {"PLP from an empty stack does nothing", {0x28}, {.p = 0x81}, {.p = 0x81}, 0x0201},
    {"PHA with SP outside memory writes nothing",
     {0x48},
     {.ac = 1, .sp = 0x10000},
     {.ac = 1, .sp = 0xFFFF},
     0x0201},
    {"ADC past INT_MAX wraps as a 32-bit register",
     {0x65, 0x10},
     {.ac = INT_MAX, .cells = {{0x10, 0x1FF}}},
     {.ac = INT_MIN + 254, .p = 0x21},
     0x0202},
};

void Apply(Machine& m, const State& s) {
    m.AC = s.ac;
    m.XR = s.xr;
    m.YR = s.yr;
    m.SP = s.sp;
    m.UnpackStatus(s.p);
    m.returnAddress = s.ret;
    for (const auto& [address, value] : s.cells) m.Write(address, value);
}

TEST(Interpreter, ExecutesByTheSystemsRules) {
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        Machine m;
        RecordingHost host;
        for (std::size_t i = 0; i < c.code.size(); ++i)
            m.Write(c.at + static_cast<int>(i), c.code[i]);
        Apply(m, c.before);
        const int next = ExecuteInstruction(m, host, c.code[0], c.at);
        EXPECT_EQ(next, c.next);
        EXPECT_EQ(m.AC, c.after.ac);
        EXPECT_EQ(m.XR, c.after.xr);
        EXPECT_EQ(m.YR, c.after.yr);
        EXPECT_EQ(m.SP, c.after.sp);
        EXPECT_EQ(m.PackStatus(), c.after.p);
        EXPECT_EQ(m.returnAddress, c.after.ret);
        for (const auto& [address, value] : c.after.cells) {
            EXPECT_EQ(m.Read(address), value) << "cell " << address;
        }
        EXPECT_EQ(m.PC, 0);
        EXPECT_FALSE(m.halted);
        EXPECT_TRUE(host.calls.empty());
    }
}

TEST(Interpreter, BranchesOnTheirFlag) {
    struct Branch {
        int opcode;
        int takenWhen;  // status byte that takes the branch
        int notTakenWhen;
    };
    const Branch branches[] = {
        {0x90, 0x00, 0x01}, {0xB0, 0x01, 0x00}, {0xF0, 0x02, 0x00}, {0xD0, 0x00, 0x02},
        {0x30, 0x80, 0x00}, {0x10, 0x00, 0x80}, {0x50, 0x00, 0x40}, {0x70, 0x40, 0x00},
    };
    for (const Branch& b : branches) {
        SCOPED_TRACE(b.opcode);
        Machine m;
        NullMachineHost host;
        m.Write(0x0300, b.opcode);
        m.Write(0x0301, -2);  // as the run loop presents FE
        m.UnpackStatus(b.takenWhen);
        EXPECT_EQ(ExecuteInstruction(m, host, b.opcode, 0x0300), 0x0300);
        m.UnpackStatus(b.notTakenWhen);
        EXPECT_EQ(ExecuteInstruction(m, host, b.opcode, 0x0300), 0x0302);
        m.Write(0x0301, 0x7F);
        m.UnpackStatus(b.takenWhen);
        EXPECT_EQ(ExecuteInstruction(m, host, b.opcode, 0x0300), 0x0302 + 0x7F);
    }
}

TEST(Interpreter, NestedSubroutinesShareOneReturnAddress) {
    Machine m;
    NullMachineHost host;
    // 0200 JSR 0300; 0300 JSR 0400; 0400 RTS; 0303 RTS
    m.Write(0x0201, 0x00), m.Write(0x0202, 0x03);
    m.Write(0x0301, 0x00), m.Write(0x0302, 0x04);
    EXPECT_EQ(ExecuteInstruction(m, host, 0x20, 0x0200), 0x0300);
    EXPECT_EQ(ExecuteInstruction(m, host, 0x20, 0x0300), 0x0400);
    EXPECT_EQ(ExecuteInstruction(m, host, 0x60, 0x0400), 0x0303);
    EXPECT_EQ(ExecuteInstruction(m, host, 0x60, 0x0303), 0x0303);
}

TEST(Interpreter, StackFullStopsPushes) {
    struct Push {
        int opcode;
        int next;
    };
    for (const Push push : {Push{0x48, 0x0200}, Push{0x08, 0x0201}}) {
        SCOPED_TRACE(push.opcode);
        Machine m;
        RecordingHost host;
        m.SP = 0;
        m.AC = 0x55;
        const Machine before = m;
        EXPECT_EQ(ExecuteInstruction(m, host, push.opcode, 0x0200), push.next);
        EXPECT_TRUE(m.halted);
        EXPECT_EQ(m.SP, 0);
        EXPECT_EQ(m.memory, before.memory);
        EXPECT_EQ(host.calls, std::vector<std::string>{"stack full"});
    }
}

TEST(Interpreter, OpcodesNotExecutedChangeNothing) {
    for (int opcode : {0x00, 0x40, 0x58, 0x78, 0xD8, 0xF8, 0x02, 0xFF, 0x100, -1, 0x7FFF}) {
        SCOPED_TRACE(opcode);
        Machine m;
        RecordingHost host;
        m.AC = 1, m.XR = 2, m.YR = 3, m.SP = 4, m.returnAddress = 5;
        m.UnpackStatus(0x5A);
        m.Write(0x0201, 0x80);
        const Machine before = m;
        EXPECT_EQ(ExecuteInstruction(m, host, opcode, 0x0200), 0x0200);
        EXPECT_EQ(m.memory, before.memory);
        EXPECT_EQ(m.status, before.status);
        EXPECT_EQ(std::vector({m.AC, m.XR, m.YR, m.SP, m.returnAddress, m.PC}),
                  std::vector({1, 2, 3, 4, 5, 0}));
        EXPECT_TRUE(host.calls.empty());
    }
}

}  // namespace
}  // namespace zorvan::cpu
