#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "cpu/machine.h"
#include "cpu/run_loop.h"
#include "cpu_fake_host.h"

namespace zorvan::cpu {
namespace {

using Cells = std::vector<std::pair<int, std::vector<int>>>;  // address, consecutive cells

void Place(Machine& m, const Cells& cells) {
    for (const auto& [address, values] : cells) {
        for (std::size_t i = 0; i < values.size(); ++i)
            m.Write(address + static_cast<int>(i), values[i]);
    }
}

struct EndCase {
    const char* name;
    Cells program;
    int start;
    std::int64_t limit;
    int sp;
    RunEnd end;
    int pc;
    bool halted;
    std::int64_t executed;
    Cells expectedCells = {};
};

const EndCase kEndCases[] = {
    {"LDA then an empty cell",
     {{0x0200, {0xA9, 0x05, 0x00}}},
     0x0200,
     kNoLimit,
     0xFF,
     RunEnd::kEmptyCell,
     0x0203,
     false,
     1},
    {"DEX/BNE loop restores its offset",
     {{0x0200, {0xA2, 0x03, 0xCA, 0xD0, 0xFD, 0x00}}},
     0x0200,
     kNoLimit,
     0xFF,
     RunEnd::kEmptyCell,
     0x0206,
     false,
     7,
     {{0x0204, {0xFD}}}},
    {"empty start cell: PC grows by one",
     {},
     0x0300,
     kNoLimit,
     0xFF,
     RunEnd::kEmptyCell,
     0x1235,
     false,
     0},
    {"PHA with a full stack stops behind the PHA",
     {{0x0200, {0xA9, 0x01, 0x48, 0xEA}}},
     0x0200,
     kNoLimit,
     0x00,
     RunEnd::kStackFull,
     0x0203,
     true,
     2},
    {"PHP with a full stack stops two behind it",
     {{0x0200, {0x08, 0xEA}}},
     0x0200,
     kNoLimit,
     0x00,
     RunEnd::kStackFull,
     0x0202,
     true,
     1},
    {"pushes until the stack is full",
     {{0x0200, {0x48, 0x4C, 0xFC, 0x00}}},
     0x0200,
     kNoLimit,
     0x02,
     RunEnd::kStackFull,
     0x0201,
     true,
     5},
    {"an opcode that does nothing ends the run",
     {{0x0200, {0xA9, 0x01, 0x78, 0xEA}}},
     0x0200,
     kNoLimit,
     0xFF,
     RunEnd::kNotExecuted,
     0x0203,
     false,
     1},
    {"a value that is no opcode ends the run",
     {{0x0200, {0x1FF}}},
     0x0200,
     kNoLimit,
     0xFF,
     RunEnd::kNotExecuted,
     0x0201,
     false,
     0},
    {"a negative cell is no opcode",
     {{0x0200, {0xEA, -1}}},
     0x0200,
     kNoLimit,
     0xFF,
     RunEnd::kNotExecuted,
     0x0202,
     false,
     1},
    {"an endless loop stops at the limit",
     {{0x0200, {0xEA, 0x4C, 0xFC, 0x00}}},
     0x0200,
     1001,
     0xFF,
     RunEnd::kLimit,
     0x0201,
     false,
     1001},
    {"a run ending exactly at the limit ends at its empty cell",
     {{0x0200, {0xEA, 0xEA}}},
     0x0200,
     2,
     0xFF,
     RunEnd::kEmptyCell,
     0x0203,
     false,
     2},
    {"running off the end of memory meets an empty cell",
     {{0xFFFE, {0xEA, 0xEA}}},
     0xFFFE,
     kNoLimit,
     0xFF,
     RunEnd::kEmptyCell,
     0x10001,
     false,
     2},
    {"a start outside memory is an empty cell",
     {},
     -7,
     kNoLimit,
     0xFF,
     RunEnd::kEmptyCell,
     0x1235,
     false,
     0},
    {"a jump far outside memory ends there",
     {{0x0200, {0x4C, 0x00, 0x7F}}},
     0x0200,
     kNoLimit,
     0xFF,
     RunEnd::kEmptyCell,
     0x0203 + 0x7F00 + 1,
     false,
     1},
    {"a branch at FFFF has no operand cell",
     {{0xFFFF, {0xD0}}},
     0xFFFF,
     kNoLimit,
     0xFF,
     RunEnd::kEmptyCell,
     0x10002,
     false,
     1},
    {"JSR to a console routine continues at the routine's cell",
     {{0x0200, {0x20, 0xFF, 0xFF, 0xA9, 0x07, 0x00}}, {0xFFFF, {0x60}}},
     0x0200,
     kNoLimit,
     0xFF,
     RunEnd::kEmptyCell,
     0x0206,
     false,
     3},
    {"JSR to a console routine without RTS ends there",
     {{0x0200, {0x20, 0xFC, 0xFF}}},
     0x0200,
     kNoLimit,
     0xFF,
     RunEnd::kEmptyCell,
     0xFFFD,
     false,
     1},
    // The offset cell 01FF lies outside -128..127: it is lowered once to FF and stays FF.
    {"a branch offset above FF is lowered by 256 once",
     {{0x0200, {0xD0, 0x1FF}}, {0x0301, {0xEA}}},
     0x0200,
     kNoLimit,
     0xFF,
     RunEnd::kEmptyCell,
     0x0303,
     false,
     2,
     {{0x0201, {0xFF}}}},
    {"a negative branch offset is used, then raised by 256",
     {{0x0200, {0xA2, 0x02, 0xCA, 0xD0, -3}}},
     0x0200,
     kNoLimit,
     0xFF,
     RunEnd::kEmptyCell,
     0x0206,
     false,
     5,
     {{0x0204, {0xFD}}}},
    {"any instruction's negative operand cell is raised by 256",
     {{0x0200, {0xCA, -1}}},
     0x0200,
     kNoLimit,
     0xFF,
     RunEnd::kNotExecuted,
     0x0202,
     false,
     1,
     {{0x0201, {0xFF}}}},
    {"JMP absolute presents its low byte signed",
     {{0x0200, {0xEA, 0x4C, 0xFA, 0x00}}, {0x01FE, {0xEA}}},
     0x0200,
     kNoLimit,
     0xFF,
     RunEnd::kEmptyCell,
     0x0200,
     false,
     3,
     {{0x0202, {0xFA}}}},
};

TEST(RunLoop, Endings) {
    for (const EndCase& c : kEndCases) {
        SCOPED_TRACE(c.name);
        Machine m;
        RecordingHost host;
        Place(m, c.program);
        m.SP = c.sp;
        m.PC = 0x1234;
        m.halted = true;  // a run clears it first
        cpu::Run run(m, host, c.start);
        RunEnd end = run.Slice(c.limit);
        if (end == RunEnd::kRunning) end = RunFrom(m, host, c.start, c.limit);  // for kLimit
        EXPECT_EQ(end, c.end);
        EXPECT_EQ(m.PC, c.pc);
        EXPECT_EQ(m.halted, c.halted);
        if (c.end != RunEnd::kLimit) EXPECT_EQ(run.ExecutedCount(), c.executed);
        for (const auto& [address, values] : c.expectedCells) {
            for (std::size_t i = 0; i < values.size(); ++i) {
                EXPECT_EQ(m.Read(address + static_cast<int>(i)), values[i]) << address;
            }
        }
        // RunFrom gives the same from the same start.
        Machine again;
        RecordingHost againHost;
        Place(again, c.program);
        again.SP = c.sp;
        again.PC = 0x1234;
        EXPECT_EQ(RunFrom(again, againHost, c.start, c.limit), c.end);
        EXPECT_EQ(again.memory, m.memory);
        EXPECT_EQ(again.PC, m.PC);
    }
}

TEST(RunLoop, ReportsTheOpcodeNotExecuted) {
    Machine m;
    NullMachineHost host;
    Place(m, {{0x0200, {0xEA, 0xF8}}});
    cpu::Run run(m, host, 0x0200);
    ASSERT_EQ(run.Slice(kNoLimit), RunEnd::kNotExecuted);
    EXPECT_EQ(run.NotExecutedOpcode(), 0xF8);
    EXPECT_EQ(run.NotExecutedAddress(), 0x0201);
    EXPECT_EQ(NotExecutedMessage(run.NotExecutedOpcode(), run.NotExecutedAddress()),
              "Η εντολή F8 στη διεύθυνση 0201 δεν εκτελείται. Η εκτέλεση σταμάτησε.");
    EXPECT_EQ(run.Slice(kNoLimit), RunEnd::kNotExecuted);  // an ended run stays ended
    EXPECT_EQ(run.ExecutedCount(), 1);
}

TEST(RunLoop, StopBetweenSlicesLeavesPcAtTheNextInstruction) {
    Machine m;
    NullMachineHost host;
    Place(m, {{0x0200, {0xE8, 0x4C, 0xFC, 0x00}}});  // INX; JMP back
    cpu::Run run(m, host, 0x0200);
    EXPECT_EQ(run.Slice(100), RunEnd::kRunning);
    EXPECT_EQ(run.Slice(1), RunEnd::kRunning);
    EXPECT_EQ(run.ExecutedCount(), 101);
    EXPECT_EQ(run.Stop(), RunEnd::kStopped);
    EXPECT_EQ(m.PC, 0x0201);  // the JMP, not yet executed
    EXPECT_EQ(m.XR, 51);
    EXPECT_EQ(run.Slice(10), RunEnd::kStopped);
    EXPECT_EQ(run.ExecutedCount(), 101);
}

TEST(RunLoop, StopAtAnEmptyCellIsTheRunsOwnEnd) {
    Machine m;
    NullMachineHost host;
    Place(m, {{0x0200, {0xEA}}});
    cpu::Run run(m, host, 0x0200);
    EXPECT_EQ(run.Slice(0), RunEnd::kRunning);
    EXPECT_EQ(run.Slice(1), RunEnd::kEmptyCell);
    EXPECT_EQ(run.Stop(), RunEnd::kEmptyCell);
    EXPECT_EQ(m.PC, 0x0202);
}

// The spec-literal loop, one StepAt per instruction, against which the run's fast paths are
// checked: same registers, memory and PC for the same program.
void RunByStepping(Machine& m, MachineHost& host, int start) {
    m.halted = false;
    int a = start;
    while (m.Read(a) != 0 && !m.halted) {
        StepAt(m, host, a);
        a = m.PC;
    }
    m.PC += 1;
}

TEST(RunLoop, SlicesAndStepsAgreeWithAWholeRun) {
    const Cells programs[] = {
        // nested DEX/BNE
        {{0x0200, {0xA0, 0x03, 0xA2, 0x00, 0xCA, 0xD0, 0xFD, 0x88, 0xD0, 0xF8}}},
        // memory loop with ADC and indexed stores
        {{0x0200, {0xA2, 0x00, 0xBD, 0x00, 0x30, 0x69, 0x81, 0x9D, 0x00, 0x40, 0xE8, 0xD0, 0xF5}},
         {0x3000, {0x7F, 0x80, 0xFF, 0x01}}},
        // subroutine and stack, with PHP/PLP and a console routine
        {{0x0200,
          {0xA0, 0x05, 0x98, 0x48, 0x08, 0x20, 0x00, 0x03, 0x28, 0x68, 0x88, 0xD0, 0xF5, 0x20, 0xFF,
           0xFF}},
         {0x0300, {0x69, 0x03, 0x8D, 0x00, 0x40, 0x2A, 0x6A, 0x60}},
         {0xFFFF, {0x60}}},
        // odd operand cells: a branch offset above FF, a negative one, DEC to -1 of an operand
        {{0x0200, {0xC6, 0x05, 0xD0, 0x1FF}},
         {0x0301, {0xEA, 0x38, 0xB0, -0x7E}},
         {0x0005, {0x00}}},
        // JMP indirect and absolute, and the stack filling up
        {{0x0200, {0x6C, 0x10, 0x00, 0x00}}, {0x0010, {0x00, 0x05}}, {0x0500, {0x48, 0x4C, 0xFC}}},
    };
    for (std::size_t i = 0; i < std::size(programs); ++i) {
        SCOPED_TRACE(i);
        Machine loaded;
        Place(loaded, programs[i]);
        loaded.SP = 0x40;

        Machine whole = loaded;
        RecordingHost wholeHost;
        const RunEnd end = RunFrom(whole, wholeHost, 0x0200);

        Machine stepped = loaded;
        RecordingHost steppedHost;
        RunByStepping(stepped, steppedHost, 0x0200);

        for (std::int64_t slice : {1, 2, 7}) {
            Machine sliced = loaded;
            RecordingHost slicedHost;
            cpu::Run run(sliced, slicedHost, 0x0200);
            RunEnd slicedEnd;
            while ((slicedEnd = run.Slice(slice)) == RunEnd::kRunning) {
            }
            EXPECT_EQ(slicedEnd, end);
            EXPECT_EQ(sliced.memory, whole.memory);
            EXPECT_EQ(sliced.PC, whole.PC);
            EXPECT_EQ(slicedHost.calls, wholeHost.calls);
        }
        for (const Machine* other : {&stepped}) {
            EXPECT_EQ(other->memory, whole.memory);
            EXPECT_EQ(other->PC, whole.PC);
            EXPECT_EQ(other->status, whole.status);
            EXPECT_EQ(
                std::vector({other->AC, other->XR, other->YR, other->SP, other->returnAddress}),
                std::vector({whole.AC, whole.XR, whole.YR, whole.SP, whole.returnAddress}));
            EXPECT_EQ(other->halted, whole.halted);
        }
        EXPECT_EQ(steppedHost.calls, wholeHost.calls);
    }
}

TEST(StepAt, ExecutesOneInstructionWhateverItIs) {
    struct Case {
        const char* name;
        Cells program;
        int at;
        bool halted;
        int pc;
        Cells expectedCells;
    };
    const Case cases[] = {
        {"an empty cell changes nothing", {}, 0x0200, false, 0x0200, {}},
        {"an opcode not executed leaves PC", {{0x0200, {0xD8, 0x7F}}}, 0x0200, false, 0x0200, {}},
        {"steps after a stack-full stop", {{0x0200, {0xE8}}}, 0x0200, true, 0x0201, {}},
        {"presents and restores a branch offset",
         {{0x0200, {0xF0, 0xFE}}},
         0x0200,
         false,
         0x0202,
         {{0x0201, {0xFE}}}},
        {"raises a negative operand cell of any instruction",
         {{0x0200, {0xEA, -2}}},
         0x0200,
         false,
         0x0201,
         {{0x0201, {0xFE}}}},
        {"a branch at FFFF touches nothing past the end",
         {{0xFFFF, {0xF0}}},
         0xFFFF,
         false,
         0x10001,
         {}},
        {"an address outside memory is an empty cell", {}, 0x7FFFFFFF, false, 0x7FFFFFFF, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Machine m;
        NullMachineHost host;
        Place(m, c.program);
        m.halted = c.halted;
        StepAt(m, host, c.at);
        EXPECT_EQ(m.PC, c.pc);
        EXPECT_EQ(m.halted, c.halted);
        for (const auto& [address, values] : c.expectedCells) {
            for (std::size_t i = 0; i < values.size(); ++i) {
                EXPECT_EQ(m.Read(address + static_cast<int>(i)), values[i]);
            }
        }
    }
}

}  // namespace
}  // namespace zorvan::cpu
