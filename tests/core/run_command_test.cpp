#include "app/run_command.h"

#include <gtest/gtest.h>

#include <vector>

#include "text/conversion_error.h"

namespace zorvan::app {
namespace {

// Shows the stack-full message as the main window's host does.
class MessageHost : public cpu::NullMachineHost {
  public:
    explicit MessageHost(Workspace& workspace) : workspace_(workspace) {}
    void StackFull() override {
        workspace_.ShowDebuggerMessage(cpu::kStackFullMessage, kInstructionColumn, 'r');
    }

  private:
    Workspace& workspace_;
};

TEST(RunCommandTest, OnlyANonZeroAddressStartsARun) {
    const struct {
        const char* text;
        bool accepted;
    } cases[] = {{"0000", false}, {"0", false}, {"200", true}, {"c000", true}, {"FFFF", true}};
    for (const auto& c : cases) EXPECT_EQ(AcceptsStartAddress(c.text), c.accepted) << c.text;
    EXPECT_EQ(StartAddressOf("c000"), 0xC000);
    EXPECT_THROW(AcceptsStartAddress(""), text::ConversionError);
    EXPECT_THROW(AcceptsStartAddress("zz"), text::ConversionError);
}

TEST(RunCommandTest, CancelledRunIsReportedInRed) {
    Workspace workspace;
    workspace.grid.SetCol(kFirstParameterColumn);
    ReportRunCancelled(workspace);
    EXPECT_EQ(workspace.message.text, kRunCancelledMessage);
    EXPECT_EQ(workspace.message.colour, MessageColour::kRed);
    EXPECT_EQ(workspace.grid.Col(), kFirstParameterColumn);
}

TEST(RunCommandTest, HowARunEndsAndWhatItReports) {
    const struct {
        const char* name;
        std::vector<int> program;  // at 0200
        int sp;
        bool stop;  // stop after one slice of 1000 instructions
        cpu::RunEnd end;
        std::string message;  // what the message area holds afterwards
        MessageColour colour;
        int pc;
    } cases[] = {
        {"LDA #05, BRK",
         {0xA9, 0x05},
         255,
         false,
         cpu::RunEnd::kEmptyCell,
         std::string(kRunCompletedMessage),
         MessageColour::kBlue,
         0x0203},
        {"PHA with a full stack",
         {0xA9, 0x05, 0x48},
         0,
         false,
         cpu::RunEnd::kStackFull,
         std::string(cpu::kStackFullMessage),
         MessageColour::kRed,
         0x0203},
        {"CLI",
         {0xEA, 0x58},
         255,
         false,
         cpu::RunEnd::kNotExecuted,
         cpu::NotExecutedMessage(0x58, 0x0201),
         MessageColour::kRed,
         0x0202},
        {"BNE to itself, stopped",
         {0xD0, 0xFE},
         255,
         true,
         cpu::RunEnd::kStopped,
         std::string(cpu::kStoppedByUserMessage),
         MessageColour::kRed,
         0x0200},
    };
    for (const auto& c : cases) {
        Workspace workspace;
        workspace.message.text = "before";
        workspace.machine.SP = c.sp;
        workspace.grid.SetCol(kSecondParameterColumn);
        int address = 0x0200;
        for (int byte : c.program) workspace.machine.Write(address++, byte);
        MessageHost host(workspace);

        RunCommand run(workspace, host, 0x0200);
        cpu::RunEnd end = run.Slice(1000);
        if (c.stop) {
            EXPECT_EQ(end, cpu::RunEnd::kRunning) << c.name;
            EXPECT_EQ(run.ExecutedCount(), 1000) << c.name;
            end = run.Stop();
        }
        EXPECT_EQ(end, c.end) << c.name;
        run.Report();
        EXPECT_EQ(workspace.message.text, c.message) << c.name;
        EXPECT_EQ(workspace.message.colour, c.colour) << c.name;
        EXPECT_EQ(workspace.machine.PC, c.pc) << c.name;
        if (c.end != cpu::RunEnd::kStackFull) {
            EXPECT_EQ(workspace.grid.Col(), kSecondParameterColumn) << c.name;
        }
    }
}

}  // namespace
}  // namespace zorvan::app
