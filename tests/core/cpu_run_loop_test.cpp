#include <gtest/gtest.h>

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
    {"LDA then an empty cell", "[200]=A9,05", kEmptyCell, 0x200, 0x203, 1},
    {"an empty start cell: PC + 1", "", kEmptyCell, 0x300, 0x1235, 0},
    {"a start outside memory", "", kEmptyCell, -7, 0x1235, 0},
    {"PHA on a full stack: behind it", "[200]=A9,01,48,EA SP=0", kStackFull, 0x200, 0x203, 2},
    {"PHP on a full stack: two behind", "[200]=08,EA SP=0", kStackFull, 0x200, 0x202, 1},
    {"pushing until full", "[200]=48,4C,FC,00 SP=2", kStackFull, 0x200, 0x201, 5},
    {"an opcode that does nothing", "[200]=A9,01,78,EA", kNotExecuted, 0x200, 0x203, 1},
    {"a cell that is no opcode", "[200]=1FF", kNotExecuted, 0x200, 0x201, 0},
    {"a negative cell", "[201]=-1", kNotExecuted, 0x201, 0x202, 0},
    // The same after instructions the run executed quickly; a negative cell behind one is raised
    // by 256 as its operand cell, and stays negative.
    {"no opcode after INXs", "[200]=E8,E8,1A9,07", kNotExecuted, 0x200, 0x203, 2},
    {"7FE8 is no INX", "[200]=E8,E8,7FE8,07", kNotExecuted, 0x200, 0x203, 2},
    {"a negative cell after INXs", "[200]=E8,E8,-7F36,07", kNotExecuted, 0x200, 0x203, 2, "[202]=-7E36"},
    {"an endless loop meets the limit", "[200]=EA,4C,FC,00", kLimit, 0x200, 0x201, 1001, "", 1001},
    {"ending exactly at the limit", "[200]=EA,EA", kEmptyCell, 0x200, 0x203, 2, "", 2},
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

}  // namespace
}  // namespace zorvan::cpu
