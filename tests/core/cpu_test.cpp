#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "cpu/instruction_set.h"
#include "cpu/interpreter.h"
#include "cpu/machine.h"
#include "cpu/registers.h"
#include "cpu/run_loop.h"
#include "cpu/step_history.h"
#include "cpu/step_sentence.h"
#include "cpu_test_support.h"
#include "text/hex_text.h"

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

using enum RunEnd;

// A run from start on a machine whose PC is 1234 and whose halt flag is set (a run clears it): how
// it ends, PC, the instructions executed and the cells that differ afterwards.
struct EndCase {
    const char *name, *before;
    RunEnd end;
    int start, pc, executed;
    const char* cellsAfter = "";
    std::int64_t limit = kNoLimit;
};

// clang-format off
const EndCase kEndings[] = {
    {"an empty start cell: PC + 1", "", kEmptyCell, 0x300, 0x1235, 0},
    {"a start outside memory", "", kEmptyCell, -7, 0x1235, 0},
    {"pushing until full", "[200]=48,4C,FC,00 SP=2", kStackFull, 0x200, 0x201, 5},
    {"a cell that is no opcode", "[200]=1FF", kNotExecuted, 0x200, 0x201, 0},
    {"a negative cell", "[201]=-1", kNotExecuted, 0x201, 0x202, 0},
    // The same after instructions the run executed quickly; a negative cell behind one is raised
    // by 256 as its operand cell, and stays negative.
    {"no opcode after INXs", "[200]=E8,E8,1A9,07", kNotExecuted, 0x200, 0x203, 2},
    {"7FE8 is no INX", "[200]=E8,E8,7FE8,07", kNotExecuted, 0x200, 0x203, 2},
    {"a negative cell after INXs", "[200]=E8,E8,-7F36,07", kNotExecuted, 0x200, 0x203, 2, "[202]=-7E36"},
    {"an endless loop meets the limit", "[200]=EA,4C,FC,00", kLimit, 0x200, 0x201, 1001, "", 1001},
    {"running off the end of memory", "[FFFE]=EA,EA", kEmptyCell, 0xFFFE, 0x10001, 2},
    {"a jump far outside memory", "[200]=4C,0,100", kEmptyCell, 0x200, 0x10204, 1},
    {"a branch at FFFF has no operand", "[FFFF]=D0", kEmptyCell, 0xFFFF, 0x10002, 1},
    {"JSR FFFF comes back by its RTS", "[200]=20,FF,FF,A9,07 [FFFF]=60", kEmptyCell, 0x200, 0x206, 3},
    {"an offset above FF is lowered once", "[200]=D0,1FF [301]=EA", kEmptyCell, 0x200, 0x303, 2, "[201]=FF"},
    {"a negative offset used, then raised", "[200]=A2,02,CA,D0,-3", kEmptyCell, 0x200, 0x206, 5, "[204]=FD"},
    {"any negative operand cell is raised", "[200]=CA,-1", kNotExecuted, 0x200, 0x202, 1, "[201]=FF"},
    {"JMP abs presents its byte signed", "[200]=EA,4C,FA,00 [1FE]=EA", kEmptyCell, 0x200, 0x200, 3, "[202]=FA"},
};
// clang-format on

TEST(RunLoop, Endings) {
    NullMachineHost host;
    for (const EndCase& c : kEndings) {
        SCOPED_TRACE(c.name);
        Machine m;
        Apply(m, "PC=1234 " + std::string(c.before));
        Machine again = m, expected = m;
        Apply(expected, c.cellsAfter);
        m.halted = true;
        cpu::Run run(m, host, c.start);
        EXPECT_EQ(run.Slice(c.limit), c.end == kLimit ? kRunning : c.end);
        if (c.end != kLimit) EXPECT_EQ(run.Slice(kNoLimit), c.end);  // an ended run stays ended
        if (c.end == kNotExecuted) EXPECT_EQ(run.NotExecutedAddress(), c.pc - 1);
        if (c.end != kLimit) EXPECT_EQ(m.PC, c.pc);
        EXPECT_EQ(run.ExecutedCount(), c.executed);
        EXPECT_EQ(m.halted, c.end == kStackFull);
        EXPECT_EQ(m.memory, expected.memory);
        EXPECT_EQ(RunFrom(again, host, c.start, c.limit), c.end);  // the limit reached sets PC
        EXPECT_EQ(again.PC, c.pc);
    }
    EXPECT_EQ(NotExecutedMessage(0xF8, 0x0201),
              "Η εντολή F8 στη διεύθυνση 0201 δεν εκτελείται. Η εκτέλεση σταμάτησε.");
}

TEST(RunLoop, StopBetweenSlicesAndSingleSteps) {
    Machine m;
    NullMachineHost host;
    Apply(m, "[200]=E8,4C,FC,00 [300]=EA");  // INX; JMP back
    cpu::Run run(m, host, 0x0200);
    EXPECT_EQ(std::vector({run.Slice(100), run.Slice(1), run.Stop(), run.Slice(10)}),
              std::vector({kRunning, kRunning, kStopped, kStopped}));
    EXPECT_EQ(std::vector({m.PC, m.XR}), std::vector({0x0201, 51}));  // the JMP not yet executed
    EXPECT_EQ(run.ExecutedCount(), 101);
    cpu::Run atEnd(m, host, 0x0300);  // stopping at an empty cell is the run's own end
    EXPECT_EQ(std::vector({atEnd.Slice(1), atEnd.Stop()}), std::vector({kEmptyCell, kEmptyCell}));
    EXPECT_EQ(m.PC, 0x0302);
    // The random programs check StepAt on every instruction against a run; here what they never
    // meet: cells without an instruction change nothing but PC, and a halted machine steps anyway.
    const Machine before = m;
    for (int at : {0x0400, 0x7FFFFFFF}) {
        StepAt(m, host, at);
        EXPECT_EQ(std::pair(m.PC, m.memory == before.memory), std::pair(at, true));
    }
    m.halted = true;
    StepAt(m, host, 0x0200);
    EXPECT_EQ(std::vector({m.XR, m.PC}), std::vector({52, 0x0201}));
    EXPECT_TRUE(m.halted);
}

// Differential check of the run loop: random small programs and machine states, run whole and in
// random slices, must leave exactly the state that one StepAt per instruction leaves.

// The run's rules spelled out over StepAt, with the count of instructions executed: end at an
// empty cell (PC one past it, or one past PC for an empty start cell), at the limit (PC at the
// next instruction), at an opcode not executed (PC one past it) or at a full stack (PC one past
// the push's next address).
std::pair<RunEnd, std::int64_t> RunByStep(Machine& m, MachineHost& h, int a, std::int64_t limit) {
    for (std::int64_t n = 0;; a = m.PC, ++n) {
        const int opcode = m.Read(a);
        if (opcode != 0 && n == limit) return {RunEnd::kLimit, n};  // PC is at a already
        if (opcode != 0) StepAt(m, h, a);  // an opcode not executed leaves PC at a
        // The run's own PC + 1 wraps as a 32-bit register does.
        if (!Decode(opcode).executed || m.halted)
            m.PC = static_cast<std::int32_t>(std::int64_t{m.PC} + 1);
        if (opcode == 0) return {RunEnd::kEmptyCell, n};
        if (!Decode(opcode).executed) return {RunEnd::kNotExecuted, n};
        if (m.halted) return {RunEnd::kStackFull, n + 1};
    }
}

// A random engine with the draws the programs need.
struct Random : std::mt19937 {
    int Below(int n) { return static_cast<int>((*this)() % static_cast<std::uint32_t>(n)); }
    bool Chance(int percent) { return Below(100) < percent; }
    // Mostly bytes, now and then anything a window could leave in a register or a cell.
    std::int32_t Any() {
        const std::int32_t edges[] = {-1, 256, 0x10000, INT32_MAX, INT32_MIN};
        return Chance(90) ? Below(256) : Chance(50) ? edges[Below(5)] : static_cast<int>((*this)());
    }
};

// Random instructions whose operands point near the program and the zero page, so that loads,
// stores, branches and jumps meet each other (and change their own operand cells); sometimes at
// the end of memory; pushes so that stacks fill; JSRs to the console routines. Returns the start.
int RandomProgram(Random& r, Machine& m) {
    for (std::int32_t* reg : {&m.AC, &m.XR, &m.YR, &m.SP, &m.PC}) *reg = r.Any();
    if (r.Chance(30)) m.SP = r.Chance(50) ? r.Below(3) : 254 + r.Below(2);
    m.UnpackStatus(r.Below(256));
    const int page = r.Chance(15) ? 0xFF : r.Below(3) + 2;
    const int start = page * 256 + r.Below(page == 0xFF ? 256 : 64);
    m.returnAddress = r.Chance(50) ? start + r.Below(40) : r.Any();
    for (int i = 0; i < 48; ++i) m.Write(i < 32 ? i : 0x1D0 + i, r.Any());  // 0000-001F, 01F0-01FF
    for (int a = start, i = 0; i < 40 && a < kMemorySize; ++i) {
        const int often[] = {0x08, 0x48, 0x20},
                  opcode = r.Chance(9) ? often[r.Below(3)] : r.Below(256);
        if (!Decode(opcode).executed && r.Chance(80)) continue;  // mostly real instructions
        const bool console = opcode == 0x20 && r.Chance(40);
        m.Write(a++, opcode);
        for (int k = 1; k < Decode(opcode).length && a < kMemorySize; ++k) {
            const int to[] = {r.Below(32), (r.Below(48) + 232) % 256, (a + r.Below(4)) % 256,
                              r.Any()};
            const int cell = k == 2 && r.Chance(60) ? page : to[r.Below(4)];
            m.Write(a++, console ? (k == 1 ? 0xFC + r.Below(4) : 0xFF) : cell);
        }
    }
    return start;
}

TEST(RunLoop, AgreesWithSteppingOnRandomPrograms) {
    Random r;
    int ended[6] = {}, calls = 0;
    for (int round = 0; round < 1500 && !HasFailure(); ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        Machine expected;
        const int start = RandomProgram(r, expected);
        Machine sliced = expected;
        RecordingHost expectedHost, slicedHost;
        const std::int64_t limit = 1 + r.Below(r.Chance(30) ? 8 : 300);
        const auto [end, count] = RunByStep(expected, expectedHost, start, limit);
        ++ended[static_cast<int>(end)];
        calls += static_cast<int>(expectedHost.calls.size());
        // The same run whole or in slices of a random size up to the same limit, where a run still
        // running is stopped.
        cpu::Run run(sliced, slicedHost, start);
        RunEnd slicedEnd = RunEnd::kRunning;
        const std::int64_t size = r.Chance(20) ? limit : 1 + r.Below(r.Chance(50) ? 3 : 40);
        while (slicedEnd == RunEnd::kRunning && run.ExecutedCount() < limit)
            slicedEnd = run.Slice(std::min(size, limit - run.ExecutedCount()));
        EXPECT_EQ(slicedEnd == RunEnd::kRunning ? run.Stop() : slicedEnd,
                  end == RunEnd::kLimit ? RunEnd::kStopped : end);
        EXPECT_EQ(run.ExecutedCount(), count);
        ExpectSameState(sliced, expected);
        EXPECT_EQ(slicedHost.calls, expectedHost.calls);
    }
    // The programs reach every kind of end (empty cell, stack full, not executed, limit), not just
    // the first empty cell, and call the console routines.
    for (int kind : {1, 2, 3, 5}) EXPECT_GT(ended[kind], 20) << kind;
    EXPECT_GT(calls - ended[static_cast<int>(RunEnd::kStackFull)], 20);
}

void ExpectIdentical(const Machine& actual, const Machine& expected) {
    EXPECT_EQ(RegisterState::Of(actual), RegisterState::Of(expected));
    EXPECT_TRUE(actual.memory == expected.memory) << "memory differs";
}

// One instruction at PC: the sentence that tells what it did, the record's cells, whether it
// changed the program's own cells 0200-0202, and Πίσω puts registers, bits, the halt flag, the
// cells and the console's text back. Every other case starts halted, as a full stack leaves the
// machine: Πίσω puts that flag back too.
TEST(StepHistory, EachStepIsToldAndOneUndoPutsEverythingBack) {
    // clang-format off
    const struct { const char* state; const char* sentence; int cells = 0; bool told = false; } cases[] = {
        {"[0200]=A5,30 [0030]=41", "LDA 30: ανάγνωση 0030 = 41, AC 00 → 41"},
        {"[0200]=95,30 XR=5 AC=41", "STA 30,X: διεύθυνση 0035 ← 41 (ήταν 00)", 1},
        {"[0200]=B6,30 YR=2", "LDX 30,Y: ανάγνωση 0032 = 00, Z 0 → 1"},
        {"[0200]=EE,00,03 [0300]=FF", "INC 0300: διεύθυνση 0300 ← 100 (ήταν FF)", 1},
        {"[0200]=B9,00,03 YR=1 [0301]=80", "LDA 0300,Y: ανάγνωση 0301 = 80, AC 00 → 80, N 0 → 1"},
        {"[0200]=A1,20 XR=2 [0022]=00,04 [0400]=07", "LDA (20,X): ανάγνωση 0022–0023 → 0400, ανάγνωση 0400 = 07, AC 00 → 07"},
        {"[0200]=91,20 YR=3 [0020]=00,04 AC=9", "STA (20),Y: ανάγνωση 0020–0021 → 0400, διεύθυνση 0403 ← 09 (ήταν 00)", 1},
        {"[0200]=8D,01,02 AC=7", "STA 0201: διεύθυνση 0201 ← 07 (ήταν 01)", 1, true},  // its own operand
        {"[0200]=8D,00,02 AC=8D", "STA 0200: διεύθυνση 0200 ← 8D (ήταν 8D)"},  // the same: not told
        {"[0200]=6C,00,03 [0300]=10,02", "JMP (0300): ανάγνωση 0300–0301 → 0210, PC ← 0210"},
        {"[0200]=4C,05,00", "JMP: PC ← 0208"},  // a displacement, told as the target
        {"[0200]=F0,00 P=02", "BEQ: η διακλάδωση έγινε, PC ← 0202"},  // taken, though PC is as if not
        {"[0200]=0A AC=81", "ASL A: AC 81 → 102, N 0 → 1, C 0 → 1"},
        {"[0200]=20,00,03 RA=1234", "JSR 0300: διεύθυνση επιστροφής 0203, PC ← 0300"},
        {"[0200]=20,FF,FF AC=41", "JSR FFFF: διεύθυνση επιστροφής 0203, PC ← FFFF, η κονσόλα άλλαξε"},
        {"[0200]=20,FD,FF", "JSR FFFD: διεύθυνση επιστροφής 0203, PC ← FFFD, η κονσόλα άλλαξε"},
        {"[0200]=20,FC,FF [0000]=10,03 [0310]=41,42,00", "JSR FFFC: διεύθυνση επιστροφής 0203, PC ← FFFC, η κονσόλα άλλαξε"},
        {"[0200]=48 AC=20", "PHA: διεύθυνση 01FF ← 20 (ήταν 00), SP FF → FE", 1},
        {"[0200]=48 SP=0", "PHA: σωρός πλήρης"},  // the machine halts
        {"[0200]=48 SP=0", "PHA: σωρός πλήρης"},  // and a second refused push says so again
        {"[0200]=68 SP=FE [01FF]=33", "PLA: ανάγνωση 01FF = 33, AC 00 → 33, SP FE → FF"},
        {"[0200]=08 P=C3", "PHP: διεύθυνση 01FF ← C3 (ήταν 00), SP FF → FE", 1},
        {"[0200]=00", "BRK: η εντολή δεν εκτελείται, καμία αλλαγή"},
        {"[0200]=02", "02: δεν είναι εντολή, καμία αλλαγή"},
        {"[0200]=EA", "NOP: καμία αλλαγή"},
    };
    // clang-format on
    AddressSet program;
    for (int a = 0x0200; a < 0x0203; ++a) program.Add(a);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.state);
        Machine machine;
        machine.status = {};  // as Clear registers leaves them
        machine.halted = (&c - cases) % 2 == 0;
        Apply(machine, std::string("PC=0200 ") + c.state);
        TextConsole console;
        console.text = "παλιό κείμενο\nδεύτερη";
        const Machine start = machine;
        StepHistory history;
        EXPECT_EQ(history.Step(machine, console, &console, &program), c.told);
        const StepChange change = *history.Last(machine);
        EXPECT_EQ(DescribeStep(change, machine), c.sentence);
        EXPECT_EQ(change.cellCount, c.cells);
        EXPECT_EQ(change.before, RegisterState::Of(start));
        ASSERT_TRUE(history.Undo(machine, &console));
        ExpectIdentical(machine, start);
        EXPECT_EQ(console.text, "παλιό κείμενο\nδεύτερη");
        EXPECT_TRUE(history.Empty());
    }
}

// Each conditional branch, with the status bits that take it and with the others: the sentence
// tells whether it was taken (and by which bit when not), and the interpreter went where the
// sentence says.
TEST(StepSentence, TellsWhetherEachBranchWasTaken) {
    // clang-format off
    const struct { int opcode; const char* taken; const char* notTaken; const char* why; } cases[] = {
        {0x90, "P=00", "P=01", "C = 1"}, {0xB0, "P=01", "P=00", "C = 0"},
        {0xF0, "P=02", "P=00", "Z = 0"}, {0xD0, "P=00", "P=02", "Z = 1"},
        {0x30, "P=80", "P=00", "N = 0"}, {0x10, "P=00", "P=80", "N = 1"},
        {0x50, "P=00", "P=40", "V = 1"}, {0x70, "P=40", "P=00", "V = 0"},
    };
    // clang-format on
    for (const auto& c : cases) {
        for (const bool taken : {true, false}) {
            SCOPED_TRACE(std::to_string(c.opcode) + (taken ? " taken" : " not taken"));
            Machine machine;
            Apply(machine, std::string("PC=0200 [0200]=") + text::FormatHex2(c.opcode) + ",05 " +
                               (taken ? c.taken : c.notTaken));
            NullMachineHost host;
            StepHistory history;
            history.Step(machine, host, nullptr);
            const std::string mnemonic(
                kInstructionTable[static_cast<std::size_t>(Decode(c.opcode).operation)].mnemonic);
            EXPECT_EQ(DescribeStep(*history.Last(machine), machine),
                      mnemonic + (taken ? std::string(": η διακλάδωση έγινε, PC ← 0207")
                                        : std::string(": η διακλάδωση δεν έγινε (") + c.why + ")"));
            EXPECT_EQ(machine.PC, taken ? 0x0207 : 0x0202);
        }
    }
}

// Random memory and registers (cells outside 0-255 included), random console routines and answers
// to their questions: N steps forward and N back leave the machine and the console exactly as they
// were, and so does every undo on the way back (checked every 97 steps).
TEST(StepHistory, StepsForwardThenAsManyBackLeaveTheMachineIdentical) {
    constexpr int kSteps = 3000, kEvery = 97;
    std::vector<int> executedOpcodes;
    for (int opcode = 0; opcode < 256; ++opcode) {
        if (Decode(opcode).executed) executedOpcodes.push_back(opcode);
    }
    for (unsigned seed = 1; seed <= 40; ++seed) {
        SCOPED_TRACE(seed);
        std::mt19937 random(seed);
        Machine machine;
        // Mostly opcodes that execute, so that the steps go far before one that does not.
        for (auto& cell : machine.memory) {
            const unsigned roll = random() % 1000;
            cell = static_cast<std::int16_t>(
                roll < 3    ? -static_cast<int>(random() % 300)
                : roll < 28 ? 0x20
                : roll < 33 ? random() % 256
                            : executedOpcodes[random() % executedOpcodes.size()]);
        }
        for (int i = 0; i < 400; ++i) {  // console calls scattered about
            const auto at = static_cast<std::size_t>(random() % 0xFFF0);
            machine.memory[at] = 0x20;
            machine.memory[at + 1] = static_cast<std::int16_t>(0xFC + random() % 4);
            machine.memory[at + 2] = 0xFF;
        }
        // Mostly routines that return; else the console call leads off the end of memory.
        if (seed % 4 != 0) std::fill(&machine.memory[0xFFFC], &machine.memory[0xFFFF] + 1, 0x60);
        machine.PC = static_cast<std::int32_t>(random() % kMemorySize);
        for (std::int32_t* reg : {&machine.AC, &machine.XR, &machine.YR, &machine.SP})
            *reg = static_cast<std::int32_t>(random() % 256);
        machine.UnpackStatus(random() % 256);
        TextConsole console;
        console.text = "αρχή";
        StepHistory history;
        AddressSet watched;
        for (int i = 0; i < 4000; ++i) watched.Add(random() % kMemorySize);
        std::vector<std::pair<Machine, std::string>> states;
        UnrecordedConsole runHost(history, machine, console, &console);
        for (int i = 0; i < kSteps;) {
            if (i % kEvery == 0) states.emplace_back(machine, console.text);
            // Recorded steps, unrecorded steps and unrecorded runs in turn (a step window's steps
            // and its runs); now and then a recorded copy tells whether a watched cell changed.
            const int mode = i / 150 % 3;
            int executed = 0;
            if (mode == 0) {
                // A run's slice never passes a state kept for the way back.
                cpu::Run run(machine, runHost, machine.PC);
                const auto most = std::min<std::size_t>(
                    {history.OpenStretch(machine), std::size_t{1} + random() % 40,
                     static_cast<std::size_t>(std::min(kEvery - i % kEvery, kSteps - i))});
                if (run.Slice(static_cast<std::int64_t>(most)) != RunEnd::kRunning)
                    machine.PC = run.Address();
                executed = static_cast<int>(run.ExecutedCount());
                history.AddUnrecorded(static_cast<std::size_t>(executed));
            }
            if (executed != 0) {
                i += executed;
            } else if (mode == 1) {
                history.Step(machine, console, &console);
                ++i;
            } else if (i % 13 != 0) {
                history.StepUnrecorded(machine, console, &console, &watched, nullptr,
                                       Decode(machine.Read(machine.PC)));
                ++i;
            } else {
                auto copy = std::make_unique<Machine>(machine);
                TextConsole copyConsole = console;
                const bool wrote = StepHistory().Step(*copy, copyConsole, &copyConsole, &watched);
                EXPECT_EQ(history.StepUnrecorded(machine, console, &console, &watched, nullptr,
                                                 Decode(machine.Read(machine.PC))),
                          wrote);
                ++i;
            }
            // A question answered in the console joins the step that asked it.
            if (machine.PC != kAskForAccumulatorRoutine) continue;
            const auto last = history.Last(machine);
            if (last->before.PC != machine.PC) {
                const RegisterState left = RegisterState::Of(machine);
                machine.AC = static_cast<std::int32_t>(random() % 256);
                console.text += "\nAC:" + std::to_string(machine.AC);
                history.AbsorbIntoLast(machine, left);
            }
        }
        for (int i = kSteps - 1; i >= 0 && !HasFailure(); --i) {
            ASSERT_TRUE(history.Undo(machine, &console));
            if (i % kEvery != 0) continue;
            SCOPED_TRACE("undo back to step " + std::to_string(i));
            ExpectIdentical(machine, states[static_cast<std::size_t>(i / kEvery)].first);
            EXPECT_EQ(console.text, states[static_cast<std::size_t>(i / kEvery)].second);
        }
        EXPECT_FALSE(history.Undo(machine, &console));
    }
}

// The latest steps of a run, told from the end of its stretch, are those of the same steps
// recorded one by one; a group (a call stepped over) counts as one, inside the run or across its
// start.
TEST(StepHistory, TheLatestStepsOfARunAreThoseOfTheSameStepsRecorded) {
    // How many are asked, steps recorded before the run, and where a group of 5 steps ends,
    // counted from the run's start (0: none).
    const struct {
        std::size_t count;
        int before, groupEnd;
    } cases[] = {
        {1, 0, 0},     {10, 0, 147}, {10, 20, 138}, {100, 20, 0},
        {100, 200, 0}, {100, 0, 60}, {100, 40, 3},  {140, 0, 0},
    };
    Machine program;
    // 0200 LDX #00 / INX / STX 0300 / PHA / PLA / JMP 0202
    Apply(program, "PC=0200 [0200]=A2,00,E8,8E,00,03,48,68,4C,02,02");
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.count) + " " + std::to_string(c.groupEnd));
        NullMachineHost host;
        Machine recordedMachine = program, runMachine = program;
        StepHistory recorded, run;
        for (int i = 0; i < c.before; ++i) {
            recorded.Step(recordedMachine, host, nullptr);
            run.Step(runMachine, host, nullptr);
        }
        for (int i = 1; i <= 150; ++i) {
            recorded.Step(recordedMachine, host, nullptr);
            run.StepUnrecorded(runMachine, host, nullptr, nullptr, nullptr,
                               Decode(runMachine.Read(runMachine.PC)));
            if (i == c.groupEnd) {
                recorded.Group(recorded.Position() - 5, 0x0202, "μαζί");
                run.Group(run.Position() - 5, 0x0202, "μαζί");
            }
        }
        const auto told = [&](StepHistory& history, const Machine& machine) {
            std::string text;
            history.VisitLatest(machine, nullptr, c.count,
                                [&](std::size_t position, const StepChange& change,
                                    const StepGroup* group, const Machine&) {
                                    text += std::to_string(position) + ":" +
                                            std::to_string(change.before.PC) +
                                            (group != nullptr ? group->sentence : "") + " ";
                                });
            return text;
        };
        EXPECT_EQ(told(run, runMachine), told(recorded, recordedMachine));
    }
}

TEST(StepHistory, AMillionStepsFitAndUndoToTheStart) {
    Machine machine;
    // 0200 LDX #00 / INX / STX 0300 / PHA / PLA / JMP back to 0202
    Apply(machine, "PC=0200 [0200]=A2,00,E8,8E,00,03,48,68,4C,F7,00");
    const Machine start = machine;
    NullMachineHost host;
    StepHistory history;
    // Recorded steps, then runs that record as they go only where they began, in turn.
    for (int i = 0; i < 2'500'000; ++i) {
        if (i % 700'000 < 200'000) {
            history.Step(machine, host, nullptr);
        } else {
            history.StepUnrecorded(machine, host, nullptr, nullptr, nullptr,
                                   Decode(machine.Read(machine.PC)));
        }
    }
    // The oldest went when twice the depth was reached; the depth is kept.
    EXPECT_GE(history.Size(), StepHistory::kDepth);
    EXPECT_LT(history.Bytes(), std::size_t{48} << 20);
    const std::size_t kept = history.Size();
    for (std::size_t i = 0; i < kept; ++i) ASSERT_TRUE(history.Undo(machine, nullptr));
    EXPECT_FALSE(history.Undo(machine, nullptr));
    // Where the kept part begins: 2,500,000 - kept instructions in, a point of the loop.
    Machine replay = start;
    for (std::size_t i = 0; i < 2'500'000 - kept; ++i) StepAt(replay, host, replay.PC);
    ExpectIdentical(machine, replay);
}

// Printing a long text and clearing it, over and over: each clear keeps the whole text, so the
// budget, not the count, decides how much history is kept; the latest steps still undo.
TEST(StepHistory, TheConsolesTextsKeepTheHistoryWithinItsBudget) {
    Machine machine;
    // 0200 JSR FFFC (print the text at 0310, as cells 0000-0001 say) / 0203 JSR FFFD (clear) /
    // 0206 JMP 0200
    Apply(machine, "PC=0200 [0200]=20,FC,FF,20,FD,FF,4C,F7,00 [FFFC]=60,60 [0000]=10,03");
    for (int i = 0; i < 250; ++i)
        machine.memory[0x0310 + static_cast<std::size_t>(i)] = 'A' + i % 26;
    const Machine start = machine;
    for (const bool recorded : {true, false}) {
        SCOPED_TRACE(recorded ? "recorded" : "unrecorded");
        machine = start;
        TextConsole console;
        StepHistory history;
        std::vector<std::string> texts;
        for (int i = 0; i < 1'500'000; ++i) {
            if (i >= 1'500'000 - 10) texts.push_back(console.text);
            if (recorded) {
                history.Step(machine, console, &console);
            } else {
                history.StepUnrecorded(machine, console, &console, nullptr, nullptr,
                                       Decode(machine.Read(machine.PC)));
            }
        }
        EXPECT_LT(history.Bytes(), std::size_t{64} << 20);
        EXPECT_GT(history.Size(), std::size_t{100'000});
        EXPECT_LT(history.Size(), StepHistory::kDepth);  // the budget, not the count
        for (int i = 9; i >= 0; --i) {
            ASSERT_TRUE(history.Undo(machine, &console));
            EXPECT_EQ(console.text, texts[static_cast<std::size_t>(i)]);
        }
    }
}

}  // namespace
}  // namespace zorvan::cpu
