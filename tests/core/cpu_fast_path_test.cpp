// Differential check of the run loop: random small programs and machine states, run whole and in
// random slices, must leave exactly the state that one StepAt per instruction leaves.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>

#include "cpu/interpreter.h"
#include "cpu/machine.h"
#include "cpu/run_loop.h"
#include "cpu_test_support.h"

namespace zorvan::cpu {
namespace {

// The run's rules spelled out over StepAt: end at an empty cell, at an opcode not executed, at a
// full stack or after limit instructions.
RunEnd RunByStepping(Machine& m, MachineHost& host, int start, std::int64_t limit,
                     std::int64_t& executed) {
    m.halted = false;
    executed = 0;
    for (int a = start;; a = m.PC) {
        const int opcode = m.Read(a);
        if (opcode == 0) {
            m.PC += 1;
            return RunEnd::kEmptyCell;
        }
        if (executed == limit) {
            m.PC = a;
            return RunEnd::kLimit;
        }
        if (!Decode(opcode).executed) {
            StepAt(m, host, a);  // changes nothing but a negative operand cell
            m.PC = a + 1;
            return RunEnd::kNotExecuted;
        }
        StepAt(m, host, a);
        ++executed;
        if (m.halted) {
            m.PC += 1;
            return RunEnd::kStackFull;
        }
    }
}

class Random {
  public:
    explicit Random(std::uint32_t seed) : engine_(seed) {}
    std::uint32_t Below(std::uint32_t n) { return engine_() % n; }
    bool Chance(std::uint32_t percent) { return Below(100) < percent; }
    std::int32_t Any32() { return static_cast<std::int32_t>(engine_()); }
    std::int16_t Any16() { return static_cast<std::int16_t>(engine_()); }

  private:
    std::mt19937 engine_;
};

// Registers hold bytes most of the time, now and then anything a window could leave in them.
std::int32_t RandomRegister(Random& random) {
    if (!random.Chance(10)) return static_cast<std::int32_t>(random.Below(256));
    const std::int32_t edges[] = {-1, 256, 0x7FFFFFFF, -0x7FFFFFFF - 1, 0x10000};
    return random.Chance(50) ? edges[random.Below(5)] : random.Any32();
}

std::int16_t RandomCell(Random& random) {
    return random.Chance(4) ? random.Any16() : static_cast<std::int16_t>(random.Below(256));
}

struct Scenario {
    Machine machine;
    int start = 0;
};

// A program of random instructions whose operands point near the program and the zero page, so
// that loads, stores, branches and jumps meet each other; sometimes at the end of memory.
Scenario RandomScenario(Random& random) {
    Scenario s;
    Machine& m = s.machine;
    m.AC = RandomRegister(random);
    m.XR = RandomRegister(random);
    m.YR = RandomRegister(random);
    const std::int32_t stackPointers[] = {0, 1, 2, 254, 255};
    m.SP = random.Chance(30) ? stackPointers[random.Below(5)] : RandomRegister(random);
    m.UnpackStatus(random.Below(256));
    m.PC = RandomRegister(random);
    const int page = random.Chance(15) ? 0xFF : static_cast<int>(random.Below(3)) + 2;
    s.start = page * 256 + static_cast<int>(random.Below(page == 0xFF ? 256 : 64));
    m.returnAddress =
        random.Chance(50) ? s.start + static_cast<int>(random.Below(40)) : RandomRegister(random);
    for (int i = 0; i < 32; ++i) m.memory[static_cast<std::size_t>(i)] = RandomCell(random);
    for (int i = 0x1F0; i < 0x200; ++i) m.memory[static_cast<std::size_t>(i)] = RandomCell(random);
    // Operand bytes: a zero-page cell, an offset back or forward, the low byte of a cell near the
    // instruction itself (with the page as high byte: instructions that change their own operand
    // cells), or anything.
    auto operand = [&random](int at) -> std::int16_t {
        switch (random.Below(5)) {
            case 0:
                return static_cast<std::int16_t>(random.Below(32));
            case 1:
                return static_cast<std::int16_t>(random.Chance(50) ? 256 - random.Below(24)
                                                                   : random.Below(24));
            case 2:
                return static_cast<std::int16_t>((at + random.Below(4)) & 0xFF);
            default:
                return RandomCell(random);
        }
    };
    int a = s.start;
    for (int i = 0; i < 40 && a < kMemorySize; ++i) {
        const std::int16_t pushes[] = {0x48, 0x08};  // so that stacks fill up now and then
        const auto opcode = static_cast<std::int16_t>(
            random.Chance(3)   ? random.Any16()
            : random.Chance(5) ? pushes[random.Below(2)]
                               : static_cast<std::int16_t>(random.Below(256)));
        if (!Decode(opcode).executed && random.Chance(80)) continue;  // mostly real instructions
        const int at = a;
        m.memory[static_cast<std::size_t>(a++)] = opcode;
        for (int k = 1; k < Decode(opcode).length && a < kMemorySize; ++k) {
            const bool high = k == 2 && random.Chance(60);
            m.memory[static_cast<std::size_t>(a++)] =
                high ? static_cast<std::int16_t>(page) : operand(at);
        }
    }
    return s;
}

TEST(RunLoop, AgreesWithSteppingOnRandomPrograms) {
    Random random(20240611);
    int ended[6] = {};
    for (int round = 0; round < 1500; ++round) {
        const Scenario scenario = RandomScenario(random);
        const std::int64_t limit = 1 + random.Below(random.Chance(30) ? 8 : 300);
        SCOPED_TRACE("round " + std::to_string(round));

        Machine expected = scenario.machine;
        RecordingHost expectedHost;
        std::int64_t expectedCount = 0;
        const RunEnd expectedEnd =
            RunByStepping(expected, expectedHost, scenario.start, limit, expectedCount);
        ++ended[static_cast<int>(expectedEnd)];

        Machine whole = scenario.machine;
        RecordingHost wholeHost;
        ASSERT_EQ(RunFrom(whole, wholeHost, scenario.start, limit), expectedEnd);
        ExpectSameState(whole, expected);
        ASSERT_EQ(whole.halted, expected.halted);
        ASSERT_EQ(wholeHost.calls, expectedHost.calls);

        // The same run cut into slices of random sizes, up to the same limit.
        Machine sliced = scenario.machine;
        RecordingHost slicedHost;
        cpu::Run run(sliced, slicedHost, scenario.start);
        RunEnd end = RunEnd::kRunning;
        while (end == RunEnd::kRunning && run.ExecutedCount() < limit) {
            const std::int64_t budget = std::min<std::int64_t>(
                1 + random.Below(random.Chance(50) ? 3 : 40), limit - run.ExecutedCount());
            end = run.Slice(budget);
        }
        if (end == RunEnd::kRunning) end = run.Slice(0);  // an end right at the limit
        if (end == RunEnd::kRunning) {
            EXPECT_EQ(run.Stop(), RunEnd::kStopped);
            end = RunEnd::kLimit;
        }
        ASSERT_EQ(end, expectedEnd);
        EXPECT_EQ(run.ExecutedCount(), expectedCount);
        ExpectSameState(sliced, expected);
        ASSERT_EQ(slicedHost.calls, expectedHost.calls);
        if (HasFailure()) return;
    }
    // The programs reach every kind of end, not just the first empty cell.
    for (RunEnd kind :
         {RunEnd::kEmptyCell, RunEnd::kStackFull, RunEnd::kNotExecuted, RunEnd::kLimit}) {
        EXPECT_GT(ended[static_cast<int>(kind)], 20) << static_cast<int>(kind);
    }
}

}  // namespace
}  // namespace zorvan::cpu
