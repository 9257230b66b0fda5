#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cpu/machine.h"
#include "cpu/run_loop.h"
#include "cpu_test_support.h"

namespace zorvan::cpu {
namespace {

struct EndCase {
    const char* name;
    const char* before;  // PC is 1234 and the halt flag set unless said otherwise
    int start;
    std::int64_t limit;
    RunEnd end;
    int pc;
    std::int64_t executed;
    const char* cellsAfter = "";
};

// clang-format off
const EndCase kEndings[] = {
    {"LDA then an empty cell", "[200]=A9,05", 0x200, kNoLimit, RunEnd::kEmptyCell, 0x203, 1},
    {"DEX/BNE restores its offset", "[200]=A2,03,CA,D0,FD", 0x200, kNoLimit, RunEnd::kEmptyCell,
     0x206, 7, "[204]=FD"},
    {"an empty start cell: PC + 1", "", 0x300, kNoLimit, RunEnd::kEmptyCell, 0x1235, 0},
    {"a start outside memory", "", -7, kNoLimit, RunEnd::kEmptyCell, 0x1235, 0},
    {"PHA on a full stack: behind it", "[200]=A9,01,48,EA SP=0", 0x200, kNoLimit,
     RunEnd::kStackFull, 0x203, 2},
    {"PHP on a full stack: two behind", "[200]=08,EA SP=0", 0x200, kNoLimit, RunEnd::kStackFull,
     0x202, 1},
    {"pushing until full", "[200]=48,4C,FC,00 SP=2", 0x200, kNoLimit, RunEnd::kStackFull, 0x201, 5},
    {"an opcode that does nothing", "[200]=A9,01,78,EA", 0x200, kNoLimit, RunEnd::kNotExecuted,
     0x203, 1},
    {"a cell that is no opcode", "[200]=1FF", 0x200, kNoLimit, RunEnd::kNotExecuted, 0x201, 0},
    {"a negative cell", "[201]=-1", 0x201, kNoLimit, RunEnd::kNotExecuted, 0x202, 0},
    {"an endless loop meets the limit", "[200]=EA,4C,FC,00", 0x200, 1001, RunEnd::kLimit, 0x201,
     1001},
    {"ending exactly at the limit", "[200]=EA,EA", 0x200, 2, RunEnd::kEmptyCell, 0x203, 2},
    {"running off the end of memory", "[FFFE]=EA,EA", 0xFFFE, kNoLimit, RunEnd::kEmptyCell,
     0x10001, 2},
    {"a jump far outside memory", "[200]=4C,0,100", 0x200, kNoLimit, RunEnd::kEmptyCell, 0x10204,
     1},
    {"a branch at FFFF has no operand", "[FFFF]=D0", 0xFFFF, kNoLimit, RunEnd::kEmptyCell,
     0x10002, 1},
    {"JSR FFFF comes back by its RTS", "[200]=20,FF,FF,A9,07 [FFFF]=60", 0x200, kNoLimit,
     RunEnd::kEmptyCell, 0x206, 3},
    {"JSR FFFC without RTS ends there", "[200]=20,FC,FF", 0x200, kNoLimit, RunEnd::kEmptyCell,
     0xFFFD, 1},
    {"an offset above FF is lowered once", "[200]=D0,1FF [301]=EA", 0x200, kNoLimit,
     RunEnd::kEmptyCell, 0x303, 2, "[201]=FF"},
    {"a negative offset is used, then raised", "[200]=A2,02,CA,D0,-3", 0x200, kNoLimit,
     RunEnd::kEmptyCell, 0x206, 5, "[204]=FD"},
    {"any negative operand cell is raised", "[200]=CA,-1", 0x200, kNoLimit,
     RunEnd::kNotExecuted, 0x202, 1, "[201]=FF"},
    {"JMP abs presents its byte signed", "[200]=EA,4C,FA,00 [1FE]=EA", 0x200, kNoLimit,
     RunEnd::kEmptyCell, 0x200, 3, "[202]=FA"},
};
// clang-format on

TEST(RunLoop, Endings) {
    for (const EndCase& c : kEndings) {
        SCOPED_TRACE(c.name);
        Machine m;
        RecordingHost host;
        Apply(m, "PC=1234 " + std::string(c.before));
        m.halted = true;  // a run clears it first
        Machine expected = m;
        Apply(expected, c.cellsAfter);
        cpu::Run run(m, host, c.start);
        const RunEnd sliceEnd = run.Slice(c.limit);
        EXPECT_EQ(sliceEnd, c.end == RunEnd::kLimit ? RunEnd::kRunning : c.end);
        EXPECT_EQ(run.ExecutedCount(), c.executed);
        EXPECT_EQ(m.halted, c.end == RunEnd::kStackFull);
        EXPECT_EQ(m.memory, expected.memory);
        if (c.end != RunEnd::kLimit) EXPECT_EQ(m.PC, c.pc);

        Machine again;
        Apply(again, "PC=1234 " + std::string(c.before));
        EXPECT_EQ(RunFrom(again, host, c.start, c.limit), c.end);
        EXPECT_EQ(again.PC, c.pc);
    }
}

TEST(RunLoop, ReportsTheOpcodeNotExecuted) {
    Machine m;
    NullMachineHost host;
    Apply(m, "[200]=EA,F8");
    cpu::Run run(m, host, 0x0200);
    ASSERT_EQ(run.Slice(kNoLimit), RunEnd::kNotExecuted);
    EXPECT_EQ(NotExecutedMessage(run.NotExecutedOpcode(), run.NotExecutedAddress()),
              "Η εντολή F8 στη διεύθυνση 0201 δεν εκτελείται. Η εκτέλεση σταμάτησε.");
    EXPECT_EQ(run.Slice(kNoLimit), RunEnd::kNotExecuted);  // an ended run stays ended
}

TEST(RunLoop, StopBetweenSlices) {
    Machine m;
    NullMachineHost host;
    Apply(m, "[200]=E8,4C,FC,00 [300]=EA");  // INX; JMP back
    cpu::Run run(m, host, 0x0200);
    EXPECT_EQ(run.Slice(100), RunEnd::kRunning);
    EXPECT_EQ(run.Slice(1), RunEnd::kRunning);
    EXPECT_EQ(run.Stop(), RunEnd::kStopped);
    EXPECT_EQ(m.PC, 0x0201);  // the JMP, not yet executed
    EXPECT_EQ(m.XR, 51);
    EXPECT_EQ(run.Slice(10), RunEnd::kStopped);
    EXPECT_EQ(run.ExecutedCount(), 101);

    cpu::Run atEnd(m, host, 0x0300);  // stopping at an empty cell is the run's own end
    EXPECT_EQ(atEnd.Slice(1), RunEnd::kEmptyCell);
    EXPECT_EQ(atEnd.Stop(), RunEnd::kEmptyCell);
    EXPECT_EQ(m.PC, 0x0302);
}

// The plain loop, one StepAt per instruction, against which a run and its slices are checked.
void RunByStepping(Machine& m, MachineHost& host, int start) {
    m.halted = false;
    for (int a = start; m.Read(a) != 0 && !m.halted; a = m.PC) StepAt(m, host, a);
    m.PC += 1;
}

TEST(RunLoop, SlicesAndStepsAgreeWithAWholeRun) {
    const char* programs[] = {
        "[200]=A0,03,A2,00,CA,D0,FD,88,D0,F8",                             // nested DEX/BNE
        "[200]=A2,00,BD,00,30,69,81,9D,00,40,E8,D0,F5 [3000]=7F,80,FF,1",  // memory loop
        // subroutine, stack and console
        "[200]=A0,5,98,48,8,20,0,3,28,68,88,D0,F5,20,FF,FF [FFFF]=60 [300]=69,3,8D,0,40,2A,6A,60",
        "[200]=C6,05,D0,1FF [301]=EA,38,B0,-7E [5]=0",  // odd operand cells
        "[200]=6C,10,00 [10]=00,05 [500]=48,4C,FC",     // JMP, then the stack fills
    };
    for (const char* program : programs) {
        SCOPED_TRACE(program);
        Machine loaded;
        Apply(loaded, std::string(program) + " SP=40");
        Machine whole = loaded;
        RecordingHost wholeHost;
        const RunEnd end = RunFrom(whole, wholeHost, 0x0200);

        Machine stepped = loaded;
        RecordingHost steppedHost;
        RunByStepping(stepped, steppedHost, 0x0200);
        ExpectSameState(stepped, whole);
        EXPECT_EQ(stepped.halted, whole.halted);
        EXPECT_EQ(steppedHost.calls, wholeHost.calls);

        for (std::int64_t budget : {1, 7}) {
            Machine sliced = loaded;
            RecordingHost slicedHost;
            cpu::Run run(sliced, slicedHost, 0x0200);
            RunEnd slicedEnd;
            while ((slicedEnd = run.Slice(budget)) == RunEnd::kRunning) {
            }
            EXPECT_EQ(slicedEnd, end);
            ExpectSameState(sliced, whole);
            EXPECT_EQ(slicedHost.calls, wholeHost.calls);
        }
    }
}

TEST(StepAt, ExecutesOneInstructionWhateverItIs) {
    struct Case {
        const char* name;
        const char* before;
        int at;
        int pc;
        const char* cellsAfter;
    };
    const Case cases[] = {
        {"an empty cell changes nothing", "", 0x200, 0x200, ""},
        {"an opcode not executed leaves PC", "[200]=D8,7F", 0x200, 0x200, ""},
        {"presents and restores an offset", "[200]=F0,FE", 0x200, 0x202, ""},
        {"raises any negative operand cell", "[200]=EA,-2", 0x200, 0x201, "[201]=FE"},
        {"a branch at FFFF: nothing past the end", "[FFFF]=F0", 0xFFFF, 0x10001, ""},
        {"an address outside memory", "", 0x7FFFFFFF, 0x7FFFFFFF, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Machine m;
        NullMachineHost host;
        Apply(m, c.before);
        Machine expected = m;
        Apply(expected, c.cellsAfter);
        StepAt(m, host, c.at);
        EXPECT_EQ(m.PC, c.pc);
        EXPECT_EQ(m.memory, expected.memory);
    }
    Machine halted;  // a step after a stack-full stop executes anyway
    NullMachineHost host;
    Apply(halted, "[200]=E8");
    halted.halted = true;
    StepAt(halted, host, 0x0200);
    EXPECT_EQ(halted.XR, 1);
    EXPECT_TRUE(halted.halted);
}

}  // namespace
}  // namespace zorvan::cpu
