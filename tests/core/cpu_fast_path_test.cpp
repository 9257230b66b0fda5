// Differential check of the run loop: random small programs and machine states, run whole and in
// random slices, must leave exactly the state that one StepAt per instruction leaves.

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <utility>

#include "cpu/interpreter.h"
#include "cpu/run_loop.h"
#include "cpu_test_support.h"

namespace zorvan::cpu {

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

}  // namespace zorvan::cpu
