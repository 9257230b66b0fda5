#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "cpu/instruction_set.h"
#include "cpu/interpreter.h"
#include "cpu/registers.h"
#include "cpu_test_support.h"

namespace zorvan::cpu {
namespace {

// One instruction executed at `at`: the state before (code included), what differs afterwards
// (everything else must be unchanged, memory included; "full": a push that finds the stack full
// stops the machine and changes nothing) and the next address. A branch's or JMP's operand cell is
// given as the run loop presents it (FE as -2).
struct Case {
    const char *name, *before, *changes;
    int next, at = 0x0200;
};

// clang-format off
const Case kCases[] = {
    {"LDA #00 sets Z", "[200]=A9,00 AC=5", "AC=0 P=22", 0x202},
    {"LDA takes a cell above FF as it is", "[200]=A5,10 [10]=1FF", "AC=1FF P=A0", 0x202},
    {"ADC into the sign sets V", "[200]=69,01 AC=7F", "AC=80 P=E0", 0x202},
    {"ADC keeps a set carry", "[200]=69,01 AC=1 P=21", "AC=3", 0x202},
    {"ADC of two negatives", "[200]=69,80 AC=80", "AC=0 P=63", 0x202},
    {"ADC past INT_MAX wraps", "[200]=65,10 [10]=1FF AC=7FFFFFFF", "AC=-7FFFFF02 P=21", 0x202},
    {"SBC to zero keeps C set", "[200]=E9,05 AC=5 P=21", "AC=0 P=23", 0x202},
    {"SBC to zero keeps C clear", "[200]=E9,04 AC=5", "AC=0 P=22", 0x202},
    {"SBC below zero", "[200]=E9,06 AC=5 P=21", "AC=FF P=A0", 0x202},
    {"SBC above zero sets C", "[200]=E9,01 AC=5", "AC=3 P=21", 0x202},
    {"CMP less: N", "[200]=C9,20 AC=10", "P=A0", 0x202},
    {"CMP equal", "[200]=C9,10 AC=10", "P=23", 0x202},
    {"CMP greater keeps V", "[200]=C9,05 AC=10 P=E2", "P=61", 0x202},
    {"CMP N is less-than, not bit 7", "[200]=C9,10 AC=F0", "P=21", 0x202},
    {"CPY abs", "[200]=CC,00,30 [3000]=4 YR=9", "P=21", 0x203},
    {"INC is not reduced, no flags", "[200]=E6,10 [10]=FF P=A2", "[10]=100", 0x202},
    {"INC of 7FFF wraps as a cell", "[200]=EE,00,30 [3000]=7FFF", "[3000]=-8000", 0x203},
    {"INX far above FF gives 0", "[200]=E8 XR=1000", "XR=0 P=22", 0x201},
    {"DEX of INT_MIN gives FF", "[200]=CA XR=-80000000", "XR=FF P=A0", 0x201},
    {"ASL A not reduced, Z kept", "[200]=0A AC=80 P=22", "AC=100 P=A3", 0x201},
    {"ASL A never clears N", "[200]=0A AC=1 P=A3", "AC=2 P=A2", 0x201},
    {"ASL A wraps as a register", "[200]=0A AC=40000000", "AC=-80000000 P=21", 0x201},
    {"ASL zp: cell and C only", "[200]=06,10 [10]=C0 AC=7 P=22", "[10]=180 P=23", 0x202},
    {"LSR A", "[200]=4A AC=3 P=80", "AC=1 P=01", 0x201},
    {"ROL A ignores the old carry", "[200]=2A AC=1 P=21", "AC=2 P=20", 0x201},
    {"ROR A adds bit out at bit 0", "[200]=6A AC=3", "AC=2 P=21", 0x201},
    {"ROR A never clears Z or N", "[200]=6A AC=4 P=A2", "AC=2", 0x201},
    {"ORA # uses the operand itself", "[200]=09,05 [5]=FF AC=10", "AC=15", 0x202},
    {"AND", "[200]=29,0F AC=3C", "AC=0C", 0x202},
    {"EOR", "[200]=49,FF AC=0F", "AC=F0 P=A0", 0x202},
    {"BIT sets only Z", "[200]=24,10 [10]=F0 AC=0F", "P=22", 0x202},
    {"BIT clears Z, keeps N and V", "[200]=2C,00,30 [3000]=1 AC=1 P=E2", "P=E0", 0x203},
    {"TXS unpacks XR, SP untouched", "[200]=9A XR=81 SP=40 P=3E", "P=81", 0x201},
    {"STA keeps the low 16 bits", "[200]=85,10 AC=12345", "[10]=2345", 0x202},
    {"BNE taken back", "[300]=D0,-2", "", 0x300, 0x300},
    {"JMP abs is a displacement", "[200]=4C,-3,00", "", 0x200},
    {"JMP far past the end", "[FFF0]=4C,7F,7F", "", 0xFFF3 + 0x7F7F, 0xFFF0},
    {"JMP indirect", "[200]=6C,34,12 [1234]=78,56", "", 0x5678},
    {"JMP indirect at FFFF: 0 past", "[200]=6C,FF,FF [FFFF]=34", "", 0x34},
    {"RTS keeps the return address", "[200]=60 RA=1234", "", 0x1234},
    {"PHA", "[200]=48 AC=42", "SP=FE [1FF]=42", 0x201},
    {"PHP pushes the packed status", "[200]=08 SP=80 P=C3", "SP=7F [180]=C3", 0x201},
    {"PLA keeps N and Z", "[200]=68 SP=FE [1FF]=99 P=22", "SP=FF AC=99", 0x201},
    {"PLA from an empty stack", "[200]=68 AC=3 [100]=9", "", 0x201},
    {"PLP unpacks all eight bits", "[200]=28 SP=FE [1FF]=FF P=0", "SP=FF P=FF", 0x201},
    {"PHP on a full stack stops", "[200]=08 SP=0", "full", 0x201},
    {"PHA with SP outside memory", "[200]=48 AC=1 SP=10000", "SP=FFFF", 0x201},
    {"BRK does nothing", "[200]=00,80 AC=1 P=5A", "", 0x200},
    {"CLI does nothing", "[200]=58 P=FF", "", 0x200},
    {"no opcode: above FF", "[200]=1A9,00 AC=5", "", 0x200},
    {"no opcode: negative", "[200]=-57,00", "", 0x200},
    // Loads through each addressing mode; the cell they should reach holds 5A.
    {"zp,X does not wrap", "[200]=B5,F0 XR=20 [110]=5A [10]=1", "AC=5A", 0x202},
    {"zp,Y does not wrap", "[200]=B6,F0 YR=20 [110]=5A", "XR=5A", 0x202},
    {"(zp,X) high byte from 0100", "[200]=A1,FF [FF]=34,12 [1234]=5A", "AC=5A", 0x202},
    {"(zp,X) does not wrap", "[200]=A1,F0 XR=20 [110]=34,12 [1234]=5A", "AC=5A", 0x202},
    {"(zp),Y high byte from 0100", "[200]=B1,FF [FF]=0,30 YR=5 [3005]=5A", "AC=5A", 0x202},
    {"(zp),Y past FFFF reads 0", "[200]=B1,10 [10]=F0,FF YR=20 AC=1", "AC=0 P=22", 0x202},
    {"a pointer cell above FF", "[200]=A1,10 [10]=134,11 [1234]=5A", "AC=5A", 0x202},
    {"an index above FF", "[200]=BD,00,10 XR=234 [1234]=5A", "AC=5A", 0x203},
    {"a huge index reads 0", "[200]=BD,FF,FF XR=7FFFFFFF AC=1", "AC=0 P=22", 0x203},
    {"a negative index reads 0", "[200]=B5,02 XR=-5 [0]=5A AC=1", "AC=0 P=22", 0x202},
    {"(zp,X) negative X: pointer 0", "[200]=A1,02 XR=-5 [0]=5A", "AC=5A", 0x202},
    {"immediate at FFFF reads 0", "[FFFF]=A9 AC=1", "AC=0 P=22", 0x10001, 0xFFFF},
    {"abs at FFFE: high byte 0", "[FFFE]=AD,34 [34]=5A", "AC=5A", 0x10001, 0xFFFE},
    // Stores and read-modify-writes aimed outside memory change no cell.
    {"STA abs,X past the end", "[200]=9D,F0,FF XR=20 AC=5A", "", 0x203},
    {"ROR abs,X past the end", "[200]=7E,FF,FF XR=7FFFFFFF", "P=20", 0x203},
};
// clang-format on

TEST(Interpreter, ExecutesByTheSystemsRules) {
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        Machine m;
        RecordingHost host;
        Apply(m, c.before);
        Machine expected = m;
        const bool full = std::string(c.changes) == "full";
        if (!full) Apply(expected, c.changes);
        EXPECT_EQ(ExecuteInstruction(m, host, m.Read(c.at), c.at), c.next);
        ExpectSameState(m, expected);
        EXPECT_EQ(m.halted, full);
        EXPECT_EQ(host.calls, std::vector<std::string>(full ? 1 : 0, "stack full"));
    }
}

// JSR at 0200 to a routine; the text's address lies in cells 0000 (low) and 0001 (high). Cells from
// 0400 to the end of memory hold 'A'.
TEST(ConsoleRoutines, JsrReachesTheHost) {
    const std::string A283(kPrintTextLimit, 'A');
    // clang-format off
    const std::pair<std::string, std::vector<std::string>> kRoutineCases[] = {
        {"[201]=FF,FF AC=1FF", {"char 511"}},                              // AC passed whole
        {"[201]=FE,FF", {"ask"}},
        {"[201]=FD,FF", {"clear"}},
        {"[201]=FB,FF", {}},                                               // no routine
        {"[201]=FC,FF [0]=00,03 [300]=48,49,0,4A", {"print HI"}},          // up to the 0 cell
        {"[201]=FC,FF [0]=00,03 [300]=0,48", {"print "}},                  // an empty text
        {"[201]=FC,FF [0]=10,03 [310]=C1,E2", {"print \xC1\xE2"}},         // Greek bytes as they are
        {"[201]=FC,FF [0]=00,03 [300]=141,42,100,43", {"print AB"}},       // low bytes; 100 ends it
        {"[201]=FC,FF [0]=00,04", {"print " + A283}},                      // cut after 283
        {"[201]=FC,FF [0]=F0,FF", {"print " + A283.substr(0, 16)}},        // up to the end of memory
        {"[201]=FC,FF [0]=FF,1FF", {"print "}},                            // a pointer past the end
        {"[201]=FC,FF [0]=FF,-1", {"print "}},                             // a negative pointer
    };
    // clang-format on
    for (const auto& [before, calls] : kRoutineCases) {
        SCOPED_TRACE(before);
        Machine m;
        RecordingHost host;
        std::fill(m.memory.begin() + 0x400, m.memory.end(), 'A');
        Apply(m, "[200]=20 " + before);
        EXPECT_EQ(ExecuteInstruction(m, host, 0x20, 0x0200), m.Read(0x202) * 256 + m.Read(0x201));
        EXPECT_EQ(m.returnAddress, 0x0203);
        EXPECT_EQ(host.calls, calls);
    }
}

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

// Each bit's name reaches its own bit, for reading and writing, and gives its name back (the
// registers' names are what every state above is written in); case and unknown names find nothing.
TEST(Registers, EachNameReachesItsOwnFieldOfTheMachine) {
    const char* const bits[] = {"N", "V", "-", "B", "D", "I", "Z", "C"};
    for (int bit = 0; bit < kStatusBitCount; ++bit) {
        const std::optional<MachineField> field = FieldNamed(bits[bit]);
        ASSERT_TRUE(field) << bits[bit];
        EXPECT_EQ(FieldName(*field), bits[bit]);
        Machine machine;
        FieldOf(machine, *field) = 7;
        std::array<std::int32_t, kStatusBitCount> expected = Machine{}.status;
        expected[static_cast<std::size_t>(bit)] = 7;
        EXPECT_EQ(machine.status, expected) << bits[bit];
        EXPECT_EQ(FieldOf(std::as_const(machine), *field), 7);
    }
    for (const char* name : {"ac", "A", "P", "RET", "", "NV"})
        EXPECT_FALSE(FieldNamed(name)) << name;
}

}  // namespace
}  // namespace zorvan::cpu
