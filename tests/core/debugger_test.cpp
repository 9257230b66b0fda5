#include "app/step_session.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <map>
#include <sstream>
#include <string>
#include <tuple>

#include "app/breakpoints.h"
#include "app/memory_view.h"
#include "app/register_fields.h"
#include "app/run_command.h"
#include "cpu/slip_checks.h"
#include "cpu/step_history.h"
#include "cpu_test_support.h"
#include "editor_fixture.h"
#include "text/conversion_error.h"
#include "text/hex_text.h"

namespace zorvan::app {
namespace {

// The fixture stands in for the windows that stepping redraws.
class StepWindowTest : public ::testing::Test, public StepPeers {
  protected:
    void SetProgramGridEnabled(bool enabled) override { gridEnabled = enabled; }
    void ShowRegisterWindow() override { ++registerWindowShown; }
    void RefillRegisters() override { ++refills; }
    void RedrawMemory() override { ++refills; }
    void RepaintMemory() override {}

    grid::Workspace workspace;
    cpu::NullMachineHost host;
    bool gridEnabled = true;
    int registerWindowShown = 0, refills = 0;
    StepSession session{workspace, host, *this};
};

class StepSessionTest : public StepWindowTest {
  protected:
    // A counting loop from row 1, then the line just past it with only its address; memory holds
    // its bytes and an INX, INX in no line of the grid. The window is shown afresh.
    void Load() {
        workspace = testing::WorkspaceWith(
            {{"", "0200", "DEX"}, {"", "0201", "BNE", "0200"}, {"", "0203"}});
        cpu::Apply(workspace.machine, "[0200]=CA,D0,FD [0300]=E8,E8 XR=3 PC=1234");
        session.ResetForNewSession();
    }
    void Start(const std::string& address) {
        Load();
        session.State().startAddress = address;
        session.Start();
    }
    // The grid's row and column, the addresses shown as executed > to execute, XR, what is
    // enabled, and the status: 1 running, 2 ended, 3 stopped by the user, 4 none.
    std::string Seen() const {
        const StepWindowState& s = session.State();
        const std::string_view statuses[] = {kStepRunningStatus, kStepEndedStatus,
                                             kStepStoppedStatus, s.status};
        return std::to_string(workspace.grid.Row()) + "," + std::to_string(workspace.grid.Col()) +
               " " + s.rows[0][1] + ">" + s.rows[1][1] + " X" +
               std::to_string(workspace.machine.XR) + (s.nextEnabled ? " next" : "") +
               (s.stopEnabled ? " stop" : "") + (gridEnabled ? " grid " : " ") +
               std::to_string(std::find(statuses, statuses + 3, s.status) - statuses + 1);
    }
};

TEST_F(StepSessionTest, StartNextStopAndClose) {
    // Each case goes on from where the previous one left the session, or loads the program afresh
    // and starts at the address given; then Next, Stop or closing the window.
    // clang-format off
    const struct { const char* start; const char* action; const char* seen; std::string_view message; } cases[] = {
        {"0300", "", "1,2 > X4 next stop 1", kStepAddressNotInGridMessage},  // executed all the same
        {"", "next", "1,0 > X5 next stop 1", kStepPossibleAddressErrorMessage},  // the rows stay
        {"200", "stop", "2,2 0200>0201 X2 stop 3", kStepStartedMessage},
        {"200", "close", "2,2 0200>0201 X2 next stop grid 1", kStepStartedMessage},
        // A step-by-step walk through the loop. BNE back to the first line moves the line to
        // execute up; the last BNE falls through to the empty cell after the program: the end.
        {"0200", "", "2,2 0200>0201 X2 next stop 1", kStepStartedMessage},
        {"", "next", "1,2 0201>0200 X2 next stop 1", kStepStartedMessage},
        {"", "next", "2,2 0200>0201 X1 next stop 1", kStepStartedMessage},
        {"", "next", "1,2 0201>0200 X1 next stop 1", kStepStartedMessage},
        {"", "next", "2,2 0200>0201 X0 next stop 1", kStepStartedMessage},
        {"", "next", "2,2 0200>0201 X0 grid 2", kStepStartedMessage},
    };
    // clang-format on
    const std::map<std::string, void (StepSession::*)()> actions = {
        {"next", &StepSession::Next}, {"stop", &StepSession::Stop}, {"close", &StepSession::Close}};
    for (const auto& c : cases) {
        if (*c.start) Start(c.start);
        if (*c.action) (session.*actions.at(c.action))();
        EXPECT_EQ(Seen(), c.seen);
        EXPECT_EQ(workspace.message.text.substr(0, c.message.size()), c.message) << c.seen;
    }
    EXPECT_EQ(workspace.message.text, "Η έναρξη της εκτέλεσης έγινε από την διεύθυνση 0200");
    EXPECT_EQ(workspace.message.tone, grid::Tone::kNotice);
    // A show per Start, a refill and a redraw per Next.
    EXPECT_EQ(registerWindowShown * 100 + refills, 412);
    EXPECT_EQ(workspace.machine.memory[0x0202], 0xFD);  // the offset is stored back
}

// A jump back to the first line: the row above it is the header, whose captions must never show
// as the instruction executed, not even in a column the line leaves empty.
TEST_F(StepSessionTest, TheExecutedRowNeverShowsTheHeader) {
    using Row = std::array<std::string, kStepGridColumns>;
    const auto shown = [this](int row) {
        Row cells = session.State().rows[static_cast<std::size_t>(row)];
        cells[0].clear();
        return cells;
    };
    // BNE back to row 1: the BNE line moves up whole, its empty second parameter too.
    Start("0200");
    EXPECT_EQ(shown(0), (Row{"", "0200", "DEX", "", ""}));
    session.Next();
    EXPECT_EQ(shown(0), (Row{"", "0201", "BNE", "0200", ""}));
    EXPECT_EQ(shown(1), (Row{"", "0200", "DEX", "", ""}));
    // Started in no line, the rows show nothing; the BNE then executed is found by its address.
    Start("0300");
    workspace.machine.PC = 0x0201;
    session.Next();
    EXPECT_EQ(shown(0), (Row{"", "0201", "BNE", "0200", ""}));
    // Started again while the cursor is on row 1: the start line, not what was shown before.
    session.Next();
    workspace.grid.SetRow(1);
    session.State().startAddress = "0201";
    session.Start();
    EXPECT_EQ(shown(0), (Row{"", "0201", "BNE", "0200", ""}));
    EXPECT_EQ(shown(1), (Row{"", "0203", "", "", ""}));
}

TEST_F(StepSessionTest, NonHexAddressesThrowBeforeAnythingRuns) {
    EXPECT_THROW(Start("12G4"), text::ConversionError);
    EXPECT_EQ(Seen(), "1,1 > X3 grid 4");
    EXPECT_EQ(workspace.machine.PC, 0x1234);
    workspace.grid.SetCell(grid::kAddressColumn, 2, "X2");  // searched from row 1
    EXPECT_THROW(FindGridRow(workspace.grid, 0x0300), text::ConversionError);
}

// A program with a subroutine: 0200 LDX #02 / 0202 JSR 0300 / 0205 DEX / 0206 BNE 0202 /
// 0208 STA 0201 (over its own operand) / 020B BRK; 0300 INY / 0301 RTS.
const std::vector<testing::Line> kSubroutineRows = {
    {"", "0200", "LDX", "#02"},  {"", "0202", "JSR", "0300"}, {"", "0205", "DEX"},
    {"", "0206", "BNE", "0202"}, {"", "0208", "STA", "0201"}, {"", "020B", "BRK"},
    {"", "0300", "INY"},         {"", "0301", "RTS"}};
class StepCommandsTest : public StepWindowTest {
  protected:
    void SetUp() override {
        workspace = testing::WorkspaceWith(kSubroutineRows);
        cpu::Apply(workspace.machine,
                   "[0200]=A2,02,20,00,03,CA,D0,FA,8D,01,02,00 [0300]=C8,60 AC=5");
        session.ResetForNewSession();
        session.Start();  // from 0000, in no line: LDX is not executed there
        workspace.machine.PC = 0x0200;
        session.Next();  // LDX #02
    }
    // Runs a command as the window does: to its end in one go.
    void Do(char command) {
        std::unique_ptr<RecordedRun> run;
        if (command == 'c') run = session.Continue();
        if (command == 'o') run = session.StepOverJsr();
        if (command == 'k') run = session.RunToCursor();
        if (command == 'b') return session.Back();
        if (command == 'B') return session.BackToBreakpoint();
        if (command == 'n' || !run) return session.Next();
        while (run->Slice(1000) == cpu::RunEnd::kRunning) continue;
        session.FinishRun(*run);
    }
    std::string Seen() const {
        const StepWindowState& s = session.State();
        return text::FormatHex4(workspace.machine.PC) + " " + s.rows[0][1] + ">" + s.rows[1][1] +
               " row" + std::to_string(workspace.grid.Row()) + " X" +
               std::to_string(workspace.machine.XR) + " Y" + std::to_string(workspace.machine.YR);
    }
};

TEST_F(StepCommandsTest, ContinueStepOverRunToCursorAndBack) {
    // Each row goes on from the previous one: a breakpoint row (0: none) is set first, the cursor
    // row (0: where it is), then the command: c Συνέχεια, o Παράκαμψη JSR, k Έως τον κέρσορα,
    // b Πίσω, B Πίσω ως το σημείο διακοπής, n Next. Then what is seen, the message area and the
    // sentence.
    // clang-format off
    const struct { int breakpoint, cursor; char command; const char* seen; std::string message, sentence; } cases[] = {
        // The call stepped over is one step: the JSR's line, one sentence, one Πίσω.
        {0, 0, 'o', "0205 0202>0205 row3 X2 Y1", "", "JSR 0300 … RTS: 3 εντολές, YR 00 → 01"},
        {0, 0, 'o', "0206 0205>0206 row4 X1 Y1", "", "DEX: XR 02 → 01"},  // not a JSR: Next
        {0, 0, 'b', "0205 0202>0205 row3 X2 Y1", "", "JSR 0300 … RTS: 3 εντολές, YR 00 → 01"},
        {0, 0, 'b', "0202 0200>0202 row2 X2 Y0", "", "LDX #02: XR 00 → 02"},
        {0, 5, 'k', "0208 0206>0208 row5 X0 Y2", "", "BNE: η διακλάδωση δεν έγινε (Z = 1)"},
        {0, 0, 'b', "0206 0205>0206 row4 X0 Y2", "", "DEX: XR 01 → 00, Z 0 → 1"},
        // On its breakpoint: goes on, and tells that the program wrote over its own byte.
        {4, 0, 'c', "020B 0208>020B row6 X0 Y2",
         std::string(kRunCompletedMessage) + " " + std::string(kProgramOverwroteItselfNotice) + "0201).", "STA 0201: διεύθυνση 0201 ← 05 (ήταν 02)"},
        {0, 0, 'c', "020B 0208>020B row6 X0 Y2", std::string(kRunCompletedMessage), "STA 0201: διεύθυνση 0201 ← 05 (ήταν 02)"},  // at the end: the end again
        {0, 0, 'b', "0208 0206>0208 row5 X0 Y2", "", "BNE: η διακλάδωση δεν έγινε (Z = 1)"},
        {3, 2, 'b', "0206 0205>0206 row4 X0 Y2", "", "DEX: XR 01 → 00, Z 0 → 1"},
        // B Πίσω ως το σημείο διακοπής: to the latest instruction on row 3 or 4, then to the start.
        {0, 0, 'B', "0205 0301>0205 row3 X1 Y2", BreakpointMessage(3, 0x0205), "RTS: επιστροφή στη διεύθυνση 0205"},
        {0, 0, 'B', "0206 0205>0206 row4 X1 Y1", BreakpointMessage(4, 0x0206), "DEX: XR 02 → 01"},
        {-1, 0, 'B', "0000 > row4 X0 Y0", std::string(kBackAtHistoryStartMessage), ""},  // -1: none
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(1, c.command) + " " + c.seen);
        if (c.breakpoint > 0) workspace.grid.SetBreakpoint(c.breakpoint, true);
        for (const int row : {3, 4}) {
            if (c.breakpoint < 0) workspace.grid.SetBreakpoint(row, false);
        }
        if (c.cursor) workspace.grid.SetRow(c.cursor);
        workspace.message.text.clear();
        Do(c.command);
        EXPECT_EQ(Seen(), c.seen);
        EXPECT_EQ(workspace.message.text, c.message);
        EXPECT_EQ(session.State().sentence, c.sentence);
        if (&c == cases) {  // the run marks the registers it changed, and only those
            EXPECT_TRUE(workspace.marks.registers[grid::ChangeMarks::kYR]);
            EXPECT_FALSE(workspace.marks.registers[grid::ChangeMarks::kAC]);
        }
    }
}

// The list of the latest steps: a call stepped over is one row; a double click goes back to the
// point just after a row's step; what the history no longer holds is not listed.
TEST_F(StepCommandsTest, TheLatestStepsListGoesBackToAnyOfThem) {
    const auto listed = [this] {
        std::string text;
        for (const PastStepRow& row : session.RecentSteps())
            text += std::to_string(row.position) + ":" + std::to_string(row.row) + " ";
        return text;
    };
    Do('o');
    Do('n');
    EXPECT_EQ(listed(), "1:0 2:1 5:2 6:3 ");
    EXPECT_EQ(session.RecentSteps()[2].sentence, "JSR 0300 … RTS: 3 εντολές, YR 00 → 01");
    EXPECT_EQ(session.RecentSteps().back().sentence, session.State().sentence);
    session.BackTo(2);
    EXPECT_EQ(Seen(), "0202 0200>0202 row2 X2 Y0");
    EXPECT_EQ(listed(), "1:0 2:1 ");
    // An ended history lists nothing, and a call stepped over before it is no step after it.
    workspace.EndHistory();
    EXPECT_EQ(listed(), "");
    session.Start();
    workspace.machine.PC = 0x0200;
    for (int i = 0; i < 4; ++i) session.Next();
    EXPECT_EQ(listed(), "1:0 2:1 3:2 4:7 5:8 ");
}

// Each sentence of the list is the one the step showed when it was the latest, for the last 100.
TEST_F(StepSessionTest, TheLatestStepsListKeepsTheLast100Sentences) {
    Start("0200");
    workspace.machine.XR = 0xC8;
    std::vector<std::string> shown{session.State().sentence};
    for (int i = 0; i < 150; ++i) {
        session.Next();
        shown.push_back(session.State().sentence);
    }
    const std::vector<PastStepRow> rows = session.RecentSteps();
    ASSERT_EQ(rows.size(), kRecentStepCount);
    for (std::size_t i = 0; i < rows.size(); ++i) EXPECT_EQ(rows[i].sentence, shown[51 + i]);
}

// A console routine's sentence in the list tells what the console showed after it, for older
// steps too.
TEST_F(StepWindowTest, TheLatestStepsTellWhatTheConsoleShowedThen) {
    cpu::TextConsole console;
    StepSession stepping{workspace, console, *this};
    stepping.SetConsole(&console);
    // 0200 LDA #60 / STA FFFF / LDA #C2 / JSR FFFF / LDA #C3 / JSR FFFF.
    workspace = testing::WorkspaceWith({{"", "0200", "LDA", "#60"}});
    cpu::Apply(workspace.machine, "[0200]=A9,60,8D,FF,FF,A9,C2,20,FF,FF,A9,C3,20,FF,FF");
    stepping.State().startAddress = "0200";
    stepping.Start();
    std::vector<std::string> shown;
    for (int i = 0; i < 7; ++i) {
        stepping.Next();
        shown.push_back(stepping.State().sentence);
    }
    const std::vector<PastStepRow> rows = stepping.RecentSteps();
    ASSERT_EQ(rows.size(), 8u);
    EXPECT_NE(rows[3].sentence.find("«#»"), std::string::npos) << rows[3].sentence;
    for (std::size_t i = 0; i < shown.size(); ++i) EXPECT_EQ(rows[i + 1].sentence, shown[i]);
}

// Pinned cells: only an address of one to four hexadecimal digits, once each; their values and
// characters after a run, marked when it changed them.
TEST_F(StepCommandsTest, PinnedCellsShowTheirValuesAndChanges) {
    // clang-format off
    const struct { const char* text; std::string notice; } cases[] = {
        {"0201", ""}, {"300", ""},
        {"0300", "Το κελί 0300 είναι ήδη καρφιτσωμένο."},
        {"XYZ", "«XYZ»: " + std::string(kPinNeedsAddressMessage)},
        {"12345", "«12345»: " + std::string(kPinNeedsAddressMessage)},
        {"", "(κενό): " + std::string(kPinNeedsAddressMessage)},
        {"ffff", ""},
    };
    // clang-format on
    for (const auto& c : cases) {
        session.PinCell(c.text);
        EXPECT_EQ(session.State().pinNotice, c.notice) << c.text;
    }
    session.UnpinCell(2);
    session.UnpinCell(9);  // no such row: nothing
    Do('c');
    std::string seen;
    for (const PinnedCellRow& row : session.PinnedRows())
        seen += row.address + "=" + row.value + row.character + (row.changed ? "* " : " ");
    EXPECT_EQ(seen, "0201=05\u0005* 0300=C8Θ ");
}

// A watched cell stops Συνέχεια after the instruction that changes it, to the value given if any;
// with a count, a breakpoint (on DEX, line 3, and on INY, line 7) stops it on its every-th pass,
// and passes counted before a new session do not count in it.
TEST_F(StepCommandsTest, AWatchedCellOrACountedBreakpointStopsTheRun) {
    const std::string completed(kRunCompletedMessage), watched(kWatchStopMessage);
    // clang-format off
    const struct { const char* watch; int every3, every7; bool startAgain; const char* seen; std::string message; } cases[] = {
        // The run writes over its own byte 0201; without a stop it ends at 020B all the same.
        {"", 0, 0, false, "020B 0208>020B row6 X0 Y2", watched},
        {"05", 0, 0, false, "020B 0208>020B row6 X0 Y2", watched},
        {"99", 0, 0, false, "020B 0208>020B row6 X0 Y2", completed},
        {nullptr, 3, 0, false, "020B 0208>020B row6 X0 Y2", completed},  // two passes only
        // The first run wrote LDX #05 over its own operand: the third pass of the new session.
        {nullptr, 3, 0, true, "0205 0301>0205 row3 X3 Y5", BreakpointMessage(3, 0x0205) + " Στάση στο 3ο πέρασμα."},
        // Each breakpoint on its own passes: INY and DEX are passed in turn, INY stops first.
        {nullptr, 3, 2, false, "0300 0202>0300 row7 X1 Y1", BreakpointMessage(7, 0x0300) + " Στάση στο 2ο πέρασμα."},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.watch ? c.watch : "-") + " " + c.seen);
        SetUp();
        if (c.watch) session.SetWatch("0201", c.watch);
        for (const auto& [row, every] : {std::pair(3, c.every3), {7, c.every7}}) {
            if (every == 0) continue;
            workspace.grid.SetBreakpoint(row, true);
            session.SetBreakpointEvery(row, every);
        }
        if (c.startAgain) {  // two passes counted, then a new session
            Do('c');
            ASSERT_EQ(session.Hits().Passes(0x0205), 2);
            session.State().startAddress = "0200";
            session.Start();
        }
        Do('c');
        EXPECT_EQ(Seen(), c.seen);
        EXPECT_EQ(workspace.message.text.substr(0, c.message.size()), c.message);
        EXPECT_EQ(session.State().nextEnabled, c.message != completed);
    }
    EXPECT_THROW(session.SetWatch("XYZ", ""), text::ConversionError);
}

// A recorded run ends on the push that finds the stack full (the one that halts the machine),
// whether or not an earlier push had halted it, and not on a push that still finds room.
TEST(RecordedRunTest, EndsOnTheRefusedPush) {
    using enum cpu::RunEnd;
    // clang-format off
    const struct { const char* state; bool haltedBefore; cpu::RunEnd end; int executed, pc; } cases[] = {
        {"[0200]=48,48,48 SP=1", false, kStackFull, 2, 0x0201},  // PHA stays on itself
        {"[0200]=08,08,EA SP=1", false, kStackFull, 2, 0x0202},  // PHP goes on past itself
        {"[0200]=48,48 SP=1", true, kStackFull, 2, 0x0201},
        {"[0200]=48,48 SP=2", true, kEmptyCell, 2, 0x0202},
        {"[0200]=68,48 SP=0", false, kEmptyCell, 2, 0x0202},     // PLA makes room first
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.state);
        grid::Workspace workspace;
        cpu::Apply(workspace.machine, std::string("PC=0200 ") + c.state);
        workspace.machine.halted = c.haltedBefore;
        cpu::NullMachineHost host;
        const cpu::AddressSet program;
        RecordedRun run(workspace, host, nullptr, program, -1);
        EXPECT_EQ(run.Slice(100), c.end);
        EXPECT_EQ(run.ExecutedCount(), c.executed);
        EXPECT_EQ(workspace.machine.PC, c.pc);
    }
}

// An answer typed into the console joins the step that asked for it, so that Πίσω undoes it too;
// typed after another step, it ends the history, and Πίσω says why.
TEST_F(StepWindowTest, AConsoleAnswerIsUndoneWithItsQuestion) {
    for (const bool atOnce : {true, false}) {
        SCOPED_TRACE(atOnce);
        workspace = testing::WorkspaceWith({{"", "0200", "LDA", "#60"},
                                            {"", "0202", "STA", "FFFE"},
                                            {"", "0205", "LDA", "#11"},
                                            {"", "0207", "JSR", "FFFE"},
                                            {"", "020A", "STA", "0300"}});
        cpu::Apply(workspace.machine, "[0200]=A9,60,8D,FE,FF,A9,11,20,FE,FF,8D,00,03");
        session.ResetForNewSession();
        session.State().startAddress = "0200";
        session.Start();
        for (int i = 0; i < 3; ++i) session.Next();
        if (!atOnce) session.Next();  // the RTS first
        workspace.machine.AC = 0x4A;
        session.AnswerEntered(0x11);
        if (atOnce) {
            EXPECT_EQ(session.State().sentence,
                      "JSR FFFE: διεύθυνση επιστροφής 020A, PC ← FFFE, AC 11 → 4A");
            session.Next();
        }
        session.Next();
        for (int i = 0; i < 3; ++i) session.Back();
        if (atOnce) {
            EXPECT_EQ(workspace.machine.AC, 0x11);
            EXPECT_EQ(session.State().sentence, "LDA #11: AC 60 → 11");
        } else {
            EXPECT_EQ(workspace.message.text,
                      std::string(kHistoryEndedMessage) + std::string(kAnswerEndedHistoryMessage));
            EXPECT_EQ(session.State().sentence, "");
        }
    }
}

// Runs of short programs at 0200 (line 1 of the grid) and the notice each leaves in the message
// area, once, or none. The script: f9 (a run), start/next/back/continue (the step window),
// edit (the student stores 00 at 0300), clear (Clear memory, the program put back), offK (check
// K switched off).
TEST(SlipChecksTest, EachCheckTellsItsSlipOnceAndOnlyThen) {
    // clang-format off
    const struct { const char* program; const char* script; std::string notice; } cases[] = {
        // The JSR at 0210 overwrites the return address of the JSR at 0200.
        {"[0200]=20,10,02 [0210]=20,20,02 [0220]=60", "f9", "Προσοχή: JSR μέσα σε υπορουτίνα (0210): η διεύθυνση επιστροφής 0203 χάθηκε."},
        {"[0200]=20,10,02 [0210]=20,20,02 [0220]=60", "off0 f9", ""},
        // A console routine returns through its RTS: the call after it is not inside it.
        {"[0200]=20,FF,FF,20,10,02 [0210]=60 [FFFF]=60", "f9", ""},
        {"[0200]=E8,60", "f9", "Προσοχή: RTS χωρίς JSR πριν από αυτό (0201): επιστρέφει στη 0000."},
        {"[0200]=E8,60", "start next", "Προσοχή: RTS χωρίς JSR πριν από αυτό (0201): επιστρέφει στη 0000."},
        {"[0200]=E8,60", "off1 f9", ""},
        // Πίσω takes the call back with the step, over the RTS and over the JSR.
        {"[0200]=20,10,02 [0210]=60", "start next back next", ""},
        {"[0200]=20,10,02 [0210]=60", "start back next next", ""},
        // And so does a run's: back into the second call, its RTS returns from it.
        {"[0200]=20,10,02,20,10,02 [0210]=E8,60", "start continue back back next next", ""},
        {"[0200]=20,00,03", "f9", "Προσοχή: το PC βγήκε από το πρόγραμμα στο κελί 0300, που δεν γράφτηκε ποτέ."},
        {"[0200]=20,00,03", "start", "Προσοχή: το PC βγήκε από το πρόγραμμα στο κελί 0300, που δεν γράφτηκε ποτέ."},
        {"[0200]=20,00,03", "off2 f9", ""},
        {"[0200]=A9,00,8D,00,03,20,00,03", "f9", ""},
        {"[0200]=E8", "f9", ""},
        // Three passes of the loop, one notice.
        {"[0200]=AD,00,03,CA,D0,FA XR=3", "f9", "Προσοχή: η εντολή (γραμμή 1, 0200) διάβασε το κελί 0300, που δεν γράφτηκε ποτέ."},
        {"[0200]=AD,00,03", "off3 f9", ""},
        {"[0200]=AD,00,03", "edit f9", ""},
        {"[0200]=AD,00,03", "edit clear f9", "Προσοχή: η εντολή (γραμμή 1, 0200) διάβασε το κελί 0300, που δεν γράφτηκε ποτέ."},
        {"[0200]=A9,00,8D,00,03,AD,00,03", "f9", ""},
        {"[0200]=B1,40 [0041]=03", "f9", "Προσοχή: η εντολή (γραμμή 1, 0200) διάβασε το κελί 0040, που δεν γράφτηκε ποτέ."},
        // PHA writes 00 and PLA reads it back.
        {"[0200]=48,68", "f9", ""},
        {"[0200]=48,68", "start next", ""},
        {"[0200]=20,10,02 [0210]=48,60", "f9", "Προσοχή: RTS (0211) με SP = FE, ενώ στο JSR ήταν FF: η υπορουτίνα δεν άφησε τον σωρό όπως τον βρήκε."},
        {"[0200]=20,10,02 [0210]=48,60", "start continue", "Προσοχή: RTS (0211) με SP = FE, ενώ στο JSR ήταν FF: η υπορουτίνα δεν άφησε τον σωρό όπως τον βρήκε."},
        {"[0200]=20,10,02 [0210]=48,60", "off4 f9", ""},
        {"[0200]=20,10,02 [0210]=48,68,60", "f9", ""},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.program) + " / " + c.script);
        grid::Workspace workspace = testing::WorkspaceWith({{"", "0200", "NOP"}});
        cpu::Apply(workspace.machine, c.program);
        cpu::NullMachineHost host;
        testing::NoWindows windows;
        StepSession session(workspace, host, windows);
        std::istringstream script(c.script);
        for (std::string word; script >> word;) {
            if (word == "f9") {
                RunCommand run(workspace, host, 0x0200);
                if (run.Slice(1000) == cpu::RunEnd::kRunning) run.Stop();
                run.Report();
            } else if (word == "start") {
                session.State().startAddress = "0200";
                session.Start();
            } else if (word == "next") {
                session.Next();
            } else if (word == "back") {
                session.Back();
            } else if (word == "continue") {
                const auto run = session.Continue();
                if (run->Slice(1000) == cpu::RunEnd::kRunning) run->Stop();
                session.FinishRun(*run);
            } else if (word == "edit") {
                StoreMemoryCell(workspace, "0300", 1, "00");
            } else if (word == "clear") {
                workspace.ClearMemory();
                cpu::Apply(workspace.machine, c.program);
            } else if (word.starts_with("off")) {
                workspace.slips.on[std::stoul(word.substr(3))] = false;
            }
        }
        const std::string& message = workspace.message.text;
        if (c.notice.empty()) {
            EXPECT_EQ(message.find("Προσοχή"), std::string::npos) << message;
            continue;
        }
        const std::size_t at = message.find(c.notice);
        EXPECT_NE(at, std::string::npos) << message;
        EXPECT_EQ(message.find(c.notice, at + 1), std::string::npos) << message;
        EXPECT_EQ(workspace.message.tone, grid::Tone::kNotice);
    }
}

using cpu::Machine;

// The view starts and moves between 0000 and FEFF, and its start field is checked before it is
// read.
TEST(MemoryViewTest, ViewStartsAndMovesWithinMemoryAndShowsBytesAndCharacters) {
    // Eight digits may read as a negative number.
    const std::pair<const char*, int> cases[] = {
        {"0000", 0x0000}, {"12", 0x0012}, {"FFFF", 0xFEFF}, {"10000", 0xFEFF}, {"FFFFFFF0", 0}};
    Machine machine;
    for (const auto& [text, start] : cases)
        EXPECT_EQ(ShowMemoryFrom(machine, text).start, start) << text;
    EXPECT_EQ(ShowMemoryFrom(machine, "FFFF").lines[15].address, "FFEF");
    for (const char* bad : {"12G4", ""})
        EXPECT_THROW(ShowMemoryFrom(machine, bad), text::ConversionError) << bad;
    // A control code is its own character, not "."; C1 is Greek capital alpha in Windows-1253, AA
    // is undefined there; a cell wider than a byte shows all digits and the low byte's character.
    int address = 0x0200;
    for (const std::int16_t value : {0x41, 0x0A, 0xC1, 0xAA, 0x141, -1})
        machine.memory[address++] = value;
    const MemoryLine line = ShowMemoryFrom(machine, "0200").lines[0];
    EXPECT_EQ(std::vector(line.bytes.begin(), line.bytes.begin() + 7),
              std::vector<std::string>({"41", "0A", "C1", "AA", "141", "FFFFFFFF", "00"}));
    EXPECT_EQ(line.characters, "A\nΑ\uFFFDA\uFFFD..........");
    const auto pageDown = [](int start) { return PageDownStart(start).value_or(-1); };
    const auto pageUp = [](int start) { return PageUpStart(start).value_or(-1); };
    // clang-format off
    const std::tuple<int (*)(int), int, int> moves[] = {  // -1: the page does not move
        {pageDown, 0xFE00, -1}, {pageDown, 0xFDFF, 0xFEFF}, {pageUp, 0x0080, -1}, {pageUp, 0x0100, 0x0000},
        {pageUp, 0xFEFF, 0xFDFF}, {LineUpStart, 0x000F, 0x0000}, {LineUpStart, 0x0018, 0x0008},
        {LineDownStart, 0xFEF0, 0xFEFF}, {LineDownStart, 0xFEFF, 0xFEFF}, {LineDownStart, 0x0000, 0x0010}};
    // clang-format on
    for (const auto& [move, from, to] : moves) EXPECT_EQ(move(from), to) << from;
    const std::pair<const char*, std::optional<std::string_view>> fields[] = {
        {"", kFewerThanFourDigitsWarning},   {"12G4", kWrongAddressWarning},
        {"ΑΒΓΔ", kWrongAddressWarning},  // four characters, though eight bytes
        {"ΑΒ", kFewerThanFourDigitsWarning}, {"ffff", std::nullopt},
    };
    for (const auto& [text, warning] : fields)
        EXPECT_EQ(CheckStartAddressText(text), warning) << text;
    const int enter[][2] = {{0, 1}, {15, 16}, {16, 16}, {17, 17}};  // up to the last byte
    for (const auto& c : enter) EXPECT_EQ(ColumnAfterEnter(c[0]), c[1]) << c[0];
}

TEST(MemoryViewTest, StoringACell) {
    const std::string notHex = "Το 'XY' δεν είναι δεκαεξαδικός αριθμός";
    const std::string wrong(kWrongAddressWarning);
    // The row's address, the column and the text typed; then the cell to look at, what it holds
    // (0x77 before), and the warning.
    // clang-format off
    const struct { const char* row; int column; const char* text; int address; std::int16_t value; std::string warning; } cases[] = {
        {"0200", 16, "1ff", 0x020F, 0x1FF, ""},
        {"0200", 3, "12345", 0x0202, 0x2345, ""},  // only the low 16 bits are kept
        // Neither the address column nor the character column is stored.
        {"0200", 0, "3C", 0x0200, 0x77, ""}, {"0200", 17, "3C", 0x0210, 0x77, ""},
        {"0200", 2, "XY", 0x0201, 0x00, notHex},   // and the cell becomes zero
        {"FFF8", 9, "XY", 0xFFFF, 0x77, wrong},    // past the end of memory nothing is stored
        {"FFF8", 8, "3C", 0xFFFF, 0x3C, ""}, {"FFFFFFFF", 1, "3C", 0x0000, 0x77, wrong}};
    // clang-format on
    Machine machine;
    for (const auto& c : cases) {
        machine.memory[static_cast<std::size_t>(c.address)] = 0x77;
        const StoreOutcome outcome = StoreMemoryCell(machine, c.row, c.column, c.text);
        EXPECT_EQ(machine.memory[static_cast<std::size_t>(c.address)], c.value) << c.row << c.text;
        EXPECT_EQ(std::pair(outcome.warning, outcome.cellBecomesZero),
                  std::pair(c.warning, c.warning == notHex));
    }
    EXPECT_THROW(StoreMemoryCell(machine, "0200", 1, ""), text::ConversionError);
    // The row's address is read first, whatever the column.
    EXPECT_THROW(StoreMemoryCell(machine, "02X0", 0, "3C"), text::ConversionError);
}

TEST(RegisterFieldsTest, BitFieldsSkipTheUnusedBit) {
    const int packed[] = {0x80, 0x40, 0x10, 0x08, 0x04, 0x02, 0x01};  // N V B D I Z C
    for (int field = kFirstBitField; field <= kLastBitField; ++field) {
        cpu::Machine machine;
        machine.status = {};
        EXPECT_EQ(ExitRegisterField(machine, field, "1"), std::nullopt);
        EXPECT_EQ(machine.PackStatus() & ~0x20, packed[field - kFirstBitField]) << field;
    }
}

TEST(RegisterFieldsTest, LeavingAFieldChecksAndStoresAndShowsAllTheDigits) {
    // The field, its text, the warning, then what the field shows afterwards.
    const std::tuple<int, const char*, std::optional<std::string_view>, const char*> cases[] = {
        {kPcField, "c0de", std::nullopt, "C0DE"},
        {kPcField, "10000", std::nullopt, "10000"},
        {kPcField, "12", kFewerThanFourRegisterDigitsWarning, "0033"},
        {kPcField, "12G4", kWrongProgramCounterWarning, "0033"},
        {kAcField, "1FF", std::nullopt, "1FF"},
        {kAcField, "ZZ", kWrongAccumulatorWarning, "44"},
        {kXrField, "", kFewerThanTwoDigitsWarning, "55"},
        {kYrField, "0G", kWrongIndexOrStackWarning, "66"},
        {kSpField, "Α1", kWrongIndexOrStackWarning, "77"},
        {kSpField, "10", std::nullopt, "10"},
        {2, "1", std::nullopt, "1"},  // V
        {2, "2", kWrongBitWarning, "0"},
        {2, "01", kWrongBitWarning, "0"},
    };
    for (const auto& [field, text, warning, shown] : cases) {
        cpu::Machine machine;
        cpu::Apply(machine, "PC=33 AC=44 XR=55 YR=66 SP=77 P=00");
        EXPECT_EQ(ExitRegisterField(machine, field, text), warning) << field << " " << text;
        EXPECT_EQ(ShowRegisters(machine)[field], shown) << field << " " << text;
        EXPECT_EQ(ExitRegisterField(machine, field, shown), std::nullopt) << "accepted back";
    }
}

// A step that changes one register or bit highlights its own field and no other.
TEST(RegisterFieldsTest, EachFieldShowsTheChangeOfItsOwnRegister) {
    const cpu::Machine before;
    for (int field = 0; field < kRegisterFieldCount; ++field) {
        cpu::Machine after = before;
        ExitRegisterField(after, field,
                          field >= kFirstBitField && field <= kLastBitField ? "1"
                          : field == kPcField                               ? "0201"
                                                                            : "21");
        grid::ChangeMarks marks;
        marks.SetRegisters(cpu::RegisterState::Of(before), cpu::RegisterState::Of(after));
        for (int shown = 0; shown < kRegisterFieldCount; ++shown)
            EXPECT_EQ(FieldChanged(marks, shown), shown == field) << field << " " << shown;
    }
}

}  // namespace
}  // namespace zorvan::app
