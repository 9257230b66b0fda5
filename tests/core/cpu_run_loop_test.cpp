#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <utility>

#include "cpu/interpreter.h"
#include "cpu/machine.h"
#include "cpu/run_loop.h"
#include "cpu_test_support.h"

namespace zorvan::cpu {
namespace {

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

}  // namespace
}  // namespace zorvan::cpu
