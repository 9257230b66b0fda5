#include "app/breakpoints.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "app/line_editing.h"
#include "app/run_command.h"
#include "cpu/run_loop.h"
#include "cpu/slip_checks.h"
#include "cpu_test_support.h"
#include "editor_fixture.h"
#include "grid/edit_history.h"

namespace zorvan::app {
namespace {

using namespace testing;
using enum cpu::RunEnd;
// A stop before a watched instruction: kStopped, told apart from the user's by AtBreakpoint.
constexpr cpu::RunEnd kBreakpoint = static_cast<cpu::RunEnd>(100);

// 0200 LDX #03 / 0202 DEX / 0203 BNE 0202 / 0205 LDA #07 / 0207 00
constexpr const char* kCountdown = "[0200]=A2,03,CA,D0,FD,A9,07";

// Where a run stops with breakpoints set, and how many instructions it executed by then, in one
// slice and in slices of one instruction.
TEST(Breakpoints, ARunStopsBeforeAWatchedInstructionButNotOnItsFirst) {
    // clang-format off
    const struct { const char* state; std::vector<int> addresses; int start; cpu::RunEnd end; int pc; std::int64_t executed; } cases[] = {
        {kCountdown, {}, 0x0200, kEmptyCell, 0x0208, 8},
        {kCountdown, {0x0300}, 0x0200, kEmptyCell, 0x0208, 8},     // never reached: as without
        {kCountdown, {0x0205}, 0x0200, kBreakpoint, 0x0205, 7},
        {kCountdown, {0x0202}, 0x0200, kBreakpoint, 0x0202, 1},
        {kCountdown, {0x0200}, 0x0200, kEmptyCell, 0x0208, 8},     // only on the start: no stop
        {kCountdown, {0x0207}, 0x0200, kBreakpoint, 0x0207, 8},    // before the empty cell
        {"[0200]=EA,58", {0x0201}, 0x0200, kBreakpoint, 0x0201, 1},  // before an opcode not executed
        {"[FFFD]=EA,EA,EA", {0xFFFF}, 0xFFFD, kBreakpoint, 0xFFFF, 2},  // on the general path
        {"[0200]=4C,FD,00", {0x0200}, 0x0200, kBreakpoint, 0x0200, 1},  // a loop back to the start
        {"[0200]=A2,03,CA,D0,FD,CA", {0x0205}, 0x0200, kBreakpoint, 0x0205, 7},  // its opcode in the loop
        // LDA #E8 / STA 0207 / NOP / NOP / 0207 DEX, which the STA makes an INX
        {"[0200]=A9,E8,8D,07,02,EA,EA,CA", {0x0207}, 0x0200, kBreakpoint, 0x0207, 4},
    };
    // clang-format on
    for (const auto& c : cases) {
        for (const auto& [slice, checks] :
             {std::pair{cpu::kNoLimit, false}, std::pair{std::int64_t{1}, false},
              std::pair{cpu::kNoLimit, true}}) {
            SCOPED_TRACE(std::string(c.state) + " from " + std::to_string(c.start) + " slice " +
                         std::to_string(slice) + (checks ? " checked" : ""));
            cpu::Machine machine;
            cpu::Apply(machine, c.state);
            cpu::AddressSet set;
            for (int address : c.addresses) set.Add(address);
            cpu::NullMachineHost host;
            cpu::SlipChecks slips;
            cpu::Run run(machine, host, c.start);
            run.WatchBreakpoints(&set);
            if (checks) run.WatchSlips(&slips);
            cpu::RunEnd end = kRunning;
            for (int i = 0; i < 100 && end == kRunning; ++i) end = run.Slice(slice);
            EXPECT_EQ(run.AtBreakpoint(), c.end == kBreakpoint);
            EXPECT_EQ(end, c.end == kBreakpoint ? kStopped : c.end);
            EXPECT_EQ(machine.PC, c.pc);
            EXPECT_EQ(run.ExecutedCount(), c.executed);
        }
    }
}

const std::vector<Line> kFourLines = {{"", "0200", "LDX", "#03", "", ""},
                                      {"", "0202", "DEX", "", "", ""},
                                      {"", "0203", "BNE", "0202", "", ""},
                                      {"", "0205", "LDA", "#07", "", ""}};

// Passes at the breakpoints of lines 2 (a, at 0202) and 4 (b, at 0205), each with its count, and
// which stop ('s'); '|' a new session, a digit: line 2's count set to it. Each run takes the grid.
TEST(Breakpoints, EachStopsOnTheNthPassOfItsOwnCount) {
    // clang-format off
    const struct { int a, b; const char* passes; const char* stops; } cases[] = {
        {1, 1, "aab", "sss"}, {-5, 1, "a", "s"}, {3, 1, "aaaaaaa", "..s..s."},
        {2, 3, "ababab", "..s..s"}, {3, 1, "aa|aaa", "..|..s"}, {3, 1, "aa2aa", "..2.s"}};
    // clang-format on
    for (const auto& c : cases) {
        grid::Workspace w = WorkspaceWith(kFourLines);
        for (const auto& [row, every] : {std::pair(2, c.a), {4, c.b}}) {
            w.grid.SetBreakpoint(row, true);
            w.grid.SetBreakpointEvery(row, every);
        }
        BreakpointHits hits;
        std::string stops;
        for (const char pass : std::string_view(c.passes)) {
            if (pass == '|') hits.Reset();
            if (pass >= '1' && pass <= '9') w.grid.SetBreakpointEvery(2, pass - '0');
            hits.Follow(w.grid);
            const bool at = pass == 'a' || pass == 'b';
            stops += !at ? pass : hits.StopsAt(pass == 'a' ? 0x0202 : 0x0205) ? 's' : '.';
        }
        EXPECT_EQ(stops, c.stops) << c.passes;
    }
}

// F9 one run after the other, with counts on DEX (row 2, 2) and BNE (row 3, 3): each run's start,
// then PC and XR where it ended, and its message. A run that goes on from its breakpoint carries
// the other's passes; a run from elsewhere counts afresh; one without the counts stops at each.
TEST(Breakpoints, RunsCountThePassesFromOneRunToTheNext) {
    const std::string kAt2 = BreakpointMessage(2, 0x0202) + " " + HitStopMessage(2);
    const std::string kAt3 = BreakpointMessage(3, 0x0203) + " " + HitStopMessage(3);
    // clang-format off
    const struct { bool counted; std::vector<std::tuple<int, int, int, std::string>> runs; } cases[] = {
        // The last run would stop at once, on DEX, if it carried DEX's pass from the one before.
        {true, {{0x0200, 0x0202, 2, kAt2}, {0x0202, 0x0203, 0, kAt3}, {0x0200, 0x0202, 2, kAt2}}},
        {false, {{0x0200, 0x0202, 3, BreakpointMessage(2, 0x0202)}}},
    };
    // clang-format on
    for (const auto& c : cases) {
        grid::Workspace w = WorkspaceWith(kFourLines);
        cpu::Apply(w.machine, kCountdown);
        for (const auto& [row, every] : {std::pair(2, 2), {3, 3}}) {
            w.grid.SetBreakpoint(row, true);
            w.grid.SetBreakpointEvery(row, every);
        }
        BreakpointHits passes;
        cpu::NullMachineHost host;
        for (const auto& [start, pc, xr, message] : c.runs) {
            SCOPED_TRACE(std::to_string(start) + " " + message);
            RunCommand run(w, host, start, c.counted ? &passes : nullptr);
            // Slices of one instruction: a pass that does not stop spends none of the budget.
            while (run.Slice(1) == kRunning) continue;
            run.Report();
            EXPECT_EQ(std::pair(w.machine.PC, int(w.machine.XR)), std::pair(pc, xr));
            EXPECT_EQ(w.message.text, message);
        }
    }
}

// "2 4*3": the rows with breakpoints, each count other than 1 after a star.
std::string Marked(const grid::Workspace& w) {
    std::string marked;
    for (const auto& [row, every] : w.grid.Breakpoints()) {
        marked += (marked.empty() ? "" : " ") + std::to_string(row);
        if (every != 1) marked += "*" + std::to_string(every);
    }
    return marked;
}

// Breakpoints on rows 2 and 4 (stopping on the 3rd pass); the command runs with the cursor on
// the row given. 'u': the line deleted, then undone; 'k': row 4's count set to 5 before that.
TEST(Breakpoints, TheyMoveWithTheirLinesAndGoWithTheGrid) {
    // clang-format off
    const struct { char command; int row; const char* count; const char* marked; } cases[] = {
        {'t', 3, "", "2 3 4*3"}, {'t', 2, "", "4*3"}, {'t', 4, "", "2"},
        {'i', 1, "", "3 5*3"}, {'i', 2, "", "3 5*3"}, {'i', 3, "", "2 5*3"}, {'i', 4, "", "2 5*3"},
        {'d', 1, "", "1 3*3"}, {'d', 2, "", "3*3"}, {'d', 4, "", "2"},
        {'n', 4, "2", "2 4*3"}, {'n', 4, "-1", "2"},  // rows taken from the end take their marks
        {'c', 2, "", ""},
        {'u', 4, "", "2 4*3"}, {'k', 1, "", "2 4*5"},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(1, c.command) + std::to_string(c.row));
        grid::Workspace w = WorkspaceWith(kFourLines);
        w.grid.SetBreakpoint(2, true);
        w.grid.SetBreakpoint(4, true);
        w.grid.SetBreakpointEvery(4, 3);
        w.grid.SetCurrent(grid::kInstructionColumn, c.row);
        grid::EditHistory history(w);
        if (c.command == 't') ToggleBreakpoint(w);
        if (c.command == 'i') InsertLine(w);
        if (c.command == 'n') InsertLines(w, c.count);
        if (c.command == 'c') ClearGrid(w);
        const bool undone = c.command == 'u' || c.command == 'k';
        if (c.command == 'k') w.grid.SetBreakpointEvery(4, 5);
        history.NoteCursor(w);
        if (c.command == 'd' || undone) DeleteLine(w);
        history.Record(w);
        if (undone) history.Undo(w);
        EXPECT_EQ(Marked(w), c.marked);
    }
}

TEST(Breakpoints, OnlyLinesWithAnAddressGiveOne) {
    grid::Workspace w = WorkspaceWith(kFourLines);
    w.grid.SetCell(grid::kAddressColumn, 3, "ZZ");  // not an address: ignored, no failure
    w.grid.SetCurrent(grid::kInstructionColumn, 3);
    ToggleBreakpoint(w);  // refused from the keyboard, with a notice
    EXPECT_TRUE(Marked(w).empty());
    EXPECT_EQ(w.message.text, kBreakpointNeedsAddressNotice);
    for (int row : {0, 2, 3, 4, 9}) w.grid.SetBreakpoint(row, true);
    EXPECT_EQ(Marked(w), "2 3 4 9");  // the header never carries one
    const cpu::AddressSet set = BreakpointAddresses(w.grid);
    EXPECT_TRUE(set.Contains(0x0202) && set.Contains(0x0205));
    EXPECT_FALSE(set.Contains(0x0200) || set.Contains(0x0203));
    EXPECT_EQ(BreakpointRowAt(w.grid, 0x0205), 4);
    EXPECT_EQ(BreakpointRowAt(w.grid, 0x0200), 0);
}

}  // namespace
}  // namespace zorvan::app
