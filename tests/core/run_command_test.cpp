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
    const std::pair<const char*, bool> cases[] = {{"0000", false}, {"0", false}, {"c000", true}};
    for (const auto& [text, accepted] : cases)
        EXPECT_EQ(AcceptsStartAddress(text), accepted) << text;
    EXPECT_EQ(StartAddressOf("c000"), 0xC000);
    EXPECT_THROW(AcceptsStartAddress("zz"), text::ConversionError);

    Workspace workspace;
    workspace.grid.SetCol(kFirstParameterColumn);
    ReportRunCancelled(workspace);
    EXPECT_EQ(workspace.message.text, kRunCancelledMessage);
    EXPECT_EQ(workspace.message.colour, MessageColour::kRed);
    EXPECT_EQ(workspace.grid.Col(), kFirstParameterColumn);
}

TEST(RunCommandTest, HowARunEndsAndWhatItReports) {
    using enum cpu::RunEnd;
    const struct {
        std::vector<int> program;  // at 0200
        int sp;
        bool stop;  // stop after one slice of 1000 instructions
        cpu::RunEnd end;
        std::string message;  // what the message area holds afterwards
        MessageColour colour;
        int pc;
    } cases[] = {
        // clang-format off
        {{0xA9, 0x05}, 255, false, kEmptyCell, std::string(kRunCompletedMessage), MessageColour::kBlue, 0x0203},
        {{0xA9, 0x05, 0x48}, 0, false, kStackFull, std::string(cpu::kStackFullMessage), MessageColour::kRed, 0x0203},
        {{0xEA, 0x58}, 255, false, kNotExecuted, cpu::NotExecutedMessage(0x58, 0x0201), MessageColour::kRed, 0x0202},
        {{0xD0, 0xFE}, 255, true, kStopped, std::string(cpu::kStoppedByUserMessage), MessageColour::kRed, 0x0200},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        Workspace workspace;
        workspace.machine.SP = c.sp;
        workspace.grid.SetCol(kSecondParameterColumn);
        int address = 0x0200;
        for (int byte : c.program) workspace.machine.Write(address++, byte);
        MessageHost host(workspace);

        RunCommand run(workspace, host, 0x0200);
        cpu::RunEnd end = run.Slice(1000);
        if (c.stop) {
            EXPECT_EQ(end, kRunning);
            EXPECT_EQ(run.ExecutedCount(), 1000);
            end = run.Stop();
        }
        EXPECT_EQ(end, c.end);
        run.Report();
        EXPECT_EQ(workspace.message.text, c.message);
        EXPECT_EQ(workspace.message.colour, c.colour);
        EXPECT_EQ(workspace.machine.PC, c.pc);
        if (c.end != kStackFull) EXPECT_EQ(workspace.grid.Col(), kSecondParameterColumn);
    }
}

}  // namespace
}  // namespace zorvan::app
