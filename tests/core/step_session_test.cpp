#include "app/step_session.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <tuple>
#include <vector>

#include "text/conversion_error.h"

namespace zorvan::app {
namespace {

struct Line {
    const char* address;
    const char* instruction;
    const char* first;
    std::vector<int> bytes;
};

class RecordingPeers : public StepPeers {
  public:
    void SetProgramGridEnabled(bool enabled) override { gridEnabled = enabled; }
    void ShowRegisterWindow() override { ++registerWindowShown; }
    void RefillRegisters() override { ++registersRefilled; }
    void RedrawMemory() override { ++memoryRedrawn; }
    void RepaintMemory() override {}

    bool gridEnabled = true;
    int registerWindowShown = 0, registersRefilled = 0, memoryRedrawn = 0;
};

class StepSessionTest : public ::testing::Test {
  protected:
    // Writes the lines into the grid from row 1 and their bytes into memory, then the line just
    // past the program with only its address, and leaves one empty line in the table.
    void Load(std::initializer_list<Line> lines, const char* nextAddress) {
        int row = 1;
        for (const Line& line : lines) {
            workspace.grid.SetCell(kAddressColumn, row, line.address);
            workspace.grid.SetCell(kInstructionColumn, row, line.instruction);
            workspace.grid.SetCell(kFirstParameterColumn, row++, line.first);
            int address = std::stoi(line.address, nullptr, 16);
            for (int byte : line.bytes) workspace.machine.Write(address++, byte);
        }
        workspace.grid.SetCell(kAddressColumn, row, nextAddress);
        workspace.grid.SetRowCount(row + 1);
        workspace.grid.SetCurrent(kAddressColumn, 1);
    }
    void StartAt(const char* address) {
        session.State().startAddress = address;
        session.Start();
    }
    // The addresses of the lines shown as executed and to execute.
    std::string Shown() const {
        return session.State().rows[0][1] + " " + session.State().rows[1][1];
    }

    Workspace workspace;
    cpu::NullMachineHost host;
    RecordingPeers peers;
    StepSession session{workspace, host, peers};
};

TEST_F(StepSessionTest, FindGridRowSearchesTheAddressColumnUpToTheFirstGap) {
    ProgramGrid grid;
    grid.SetCell(kAddressColumn, 1, "0200");
    grid.SetCell(kAddressColumn, 2, "0202");
    grid.SetCell(kAddressColumn, 3, "0203");  // beyond the row count, still searched
    grid.SetCell(kAddressColumn, 5, "0300");  // below a gap, never found
    grid.SetRowCount(3);
    const int cases[][2] = {{0x0202, 2}, {0x0203, 3}, {0x0300, 0}, {0x0201, 0}};
    for (const auto& c : cases) EXPECT_EQ(FindGridRow(grid, c[0]), c[1]) << c[0];
    grid.SetCell(kAddressColumn, 2, "X2");
    EXPECT_EQ(FindGridRow(grid, 0x0200), 1);
    EXPECT_THROW(FindGridRow(grid, 0x0203), text::ConversionError);
}

TEST_F(StepSessionTest, StepThroughACountingLoop) {
    Load({{"0200", "LDX", "#03", {0xA2, 0x03}},
          {"0202", "DEX", "", {0xCA}},
          {"0203", "BNE", "0202", {0xD0, 0xFD}}},
         "0205");
    session.FormShow();
    StartAt("0200");
    EXPECT_EQ(workspace.message.text, "Η έναρξη της εκτέλεσης έγινε από την διεύθυνση 0200");
    EXPECT_EQ(workspace.message.colour, MessageColour::kBlue);
    EXPECT_EQ(Shown(), "0200 0202");
    EXPECT_EQ(session.State().rows[0][2] + session.State().rows[0][3], "LDX#03");
    EXPECT_EQ(workspace.grid.Col(), kInstructionColumn);
    EXPECT_EQ(workspace.machine.XR, 3);
    EXPECT_FALSE(peers.gridEnabled);
    EXPECT_EQ(peers.registerWindowShown, 1);
    EXPECT_TRUE(session.State().nextEnabled && session.State().stopEnabled);
    EXPECT_EQ(session.State().status, kStepRunningStatus);

    // After each Next: the grid's row, the two shown lines, XR. BNE back shows the line above its
    // target as executed.
    const std::tuple<int, const char*, int> steps[] = {
        {3, "0202 0203", 2}, {2, "0200 0202", 2}, {3, "0202 0203", 1},
        {2, "0200 0202", 1}, {3, "0202 0203", 0},
    };
    for (const auto& [gridRow, shown, xr] : steps) {
        session.Next();
        EXPECT_EQ(workspace.grid.Row(), gridRow);
        EXPECT_EQ(Shown(), shown);
        EXPECT_EQ(workspace.machine.XR, xr);
    }
    EXPECT_EQ(peers.registersRefilled, 5);
    EXPECT_EQ(peers.memoryRedrawn, 5);

    session.Next();  // BNE falls through to the empty cell after the last line: the end
    EXPECT_EQ(session.State().status, kStepEndedStatus);
    EXPECT_FALSE(session.State().nextEnabled || session.State().stopEnabled);
    EXPECT_TRUE(peers.gridEnabled);
    EXPECT_EQ(workspace.machine.memory[0x0204], 0xFD);  // the offset is stored back
}

TEST_F(StepSessionTest, JumpToTheFirstLineMovesTheNextLineUp) {
    Load({{"0200", "INX", "", {0xE8}}, {"0201", "BNE", "0200", {0xD0, 0xFD}}}, "0203");
    StartAt("0200");
    session.Next();  // BNE taken back to row 1
    EXPECT_EQ(workspace.grid.Row(), 1);
    EXPECT_EQ(Shown(), "0201 0200");
    EXPECT_EQ(session.State().rows[0][2], "BNE");
}

TEST_F(StepSessionTest, AddressesOutsideTheGrid) {
    Load({{"0200", "LDA", "#05", {0xA9, 0x05}}, {"0202", "JMP", "0300", {0x4C, 0xFB, 0x01}}},
         "0205");
    workspace.machine.Write(0x0300, 0xE8);  // INX, in no line of the grid
    StartAt("0300");
    EXPECT_EQ(workspace.message.text, kStepAddressNotInGridMessage);
    EXPECT_EQ(workspace.message.colour, MessageColour::kRed);
    EXPECT_EQ(workspace.machine.XR, 1);  // still executed
    EXPECT_EQ(Shown(), " ");
    EXPECT_EQ(workspace.grid.Row(), 1);

    StartAt("200");
    session.Next();  // JMP to 0300
    EXPECT_EQ(workspace.machine.PC, 0x0300);
    EXPECT_EQ(workspace.message.text, kStepPossibleAddressErrorMessage);
    EXPECT_EQ(workspace.grid.Col(), kLabelColumn);
    EXPECT_EQ(workspace.grid.Row(), 2);  // the cursor and the rows stay
    EXPECT_EQ(Shown(), "0200 0202");
}

TEST_F(StepSessionTest, NonHexStartExecutesNothing) {
    Load({{"0200", "INX", "", {0xE8}}}, "0201");
    workspace.machine.PC = 0x1234;
    EXPECT_THROW(StartAt("12G4"), text::ConversionError);
    EXPECT_EQ(workspace.machine.PC + workspace.machine.XR, 0x1234);
    EXPECT_TRUE(peers.gridEnabled);
}

TEST_F(StepSessionTest, StopCloseAndShowAgain) {
    Load({{"0200", "INX", "", {0xE8}}, {"0201", "INX", "", {0xE8}}}, "0202");
    StartAt("0200");
    session.Stop();
    EXPECT_EQ(session.State().status, kStepStoppedStatus);
    EXPECT_FALSE(session.State().nextEnabled);
    EXPECT_TRUE(session.State().stopEnabled);
    EXPECT_FALSE(peers.gridEnabled);
    session.Close();
    EXPECT_TRUE(peers.gridEnabled);

    session.FormShow();
    const StepWindowState& state = session.State();
    EXPECT_EQ(state.startAddress, "0000");
    EXPECT_EQ(state.rows[0][0] + state.rows[1][0],
              std::string(kExecutedCaption) + std::string(kToExecuteCaption));
    EXPECT_EQ(Shown() + state.rows[0][2] + state.rows[1][4], " ");
    EXPECT_FALSE(state.statusVisible || state.nextVisible || state.stopVisible);
}

}  // namespace
}  // namespace zorvan::app
