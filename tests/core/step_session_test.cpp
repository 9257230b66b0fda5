#include "app/step_session.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "cpu_test_support.h"
#include "editor_fixture.h"
#include "text/conversion_error.h"

namespace zorvan::app {
namespace {

// The fixture stands in for the windows that stepping redraws.
class StepSessionTest : public ::testing::Test, public StepPeers {
  protected:
    void SetProgramGridEnabled(bool enabled) override { gridEnabled = enabled; }
    void ShowRegisterWindow() override { ++registerWindowShown; }
    void RefillRegisters() override { ++refills; }
    void RedrawMemory() override { ++refills; }
    void RepaintMemory() override {}
    // A counting loop from row 1, then the line just past it with only its address; memory holds
    // its bytes and an INX, INX in no line of the grid. The window is shown afresh.
    void Load() {
        workspace = testing::WorkspaceWith(
            {{"", "0200", "DEX"}, {"", "0201", "BNE", "0200"}, {"", "0203"}});
        cpu::Apply(workspace.machine, "[0200]=CA,D0,FD [0300]=E8,E8 XR=3 PC=1234");
        session.FormShow();
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

    grid::Workspace workspace;
    cpu::NullMachineHost host;
    bool gridEnabled = true;
    int registerWindowShown = 0, refills = 0;
    StepSession session{workspace, host, *this};
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
    EXPECT_EQ(workspace.message.colour, grid::MessageColour::kBlue);
    EXPECT_EQ(session.State().rows[0][2] + session.State().rows[1][2] + session.State().rows[1][3],
              "DEXBNE0200");
    // A show per Start, a refill and a redraw per Next.
    EXPECT_EQ(registerWindowShown * 100 + refills, 412);
    EXPECT_EQ(workspace.machine.memory[0x0202], 0xFD);  // the offset is stored back
}

TEST_F(StepSessionTest, NonHexAddressesThrowBeforeAnythingRuns) {
    EXPECT_THROW(Start("12G4"), text::ConversionError);
    EXPECT_EQ(Seen(), "1,1 > X3 grid 4");
    EXPECT_EQ(workspace.machine.PC, 0x1234);
    workspace.grid.SetCell(grid::kAddressColumn, 2, "X2");  // searched from row 1
    EXPECT_THROW(FindGridRow(workspace.grid, 0x0300), text::ConversionError);
}

}  // namespace
}  // namespace zorvan::app
