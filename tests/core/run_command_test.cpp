#include "app/run_command.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "app/headless_console.h"
#include "cpu_test_support.h"
#include "text/conversion_error.h"
#include "text/hex_text.h"

namespace zorvan::app {
namespace {

TEST(RunCommandTest, OnlyANonZeroAddressStartsARun) {
    const std::pair<const char*, bool> cases[] = {{"0000", false}, {"0", false}, {"c000", true}};
    for (const auto& [text, accepted] : cases)
        EXPECT_EQ(AcceptsStartAddress(text), accepted) << text;
    EXPECT_EQ(StartAddressOf("c000"), 0xC000);
    EXPECT_THROW(AcceptsStartAddress("zz"), text::ConversionError);

    grid::Workspace workspace;
    workspace.grid.SetCol(grid::kFirstParameterColumn);
    ReportRunCancelled(workspace);
    EXPECT_EQ(workspace.message.text, kRunCancelledMessage);
    EXPECT_EQ(std::pair(workspace.message.tone, workspace.grid.Col()),
              std::pair(grid::Tone::kError,
                        int(grid::kFirstParameterColumn)));  // the cursor stays
}

TEST(RunCommandTest, HowARunEndsAndWhatItReports) {
    using enum cpu::RunEnd;
    // The program and SP, whether the user stops it after a slice of 1000 instructions; then
    // how it ends, the message area (the host has already told of a full stack) and PC.
    // clang-format off
    const struct { const char* state; bool stop; cpu::RunEnd end; std::string message; grid::Tone colour; int pc; } cases[] = {
        {"[0200]=A9,05", false, kEmptyCell, std::string(kRunCompletedMessage), grid::Tone::kNotice, 0x0203},
        {"[0200]=A9,05,48 SP=0", false, kStackFull, "kept", grid::Tone::kError, 0x0203},
        {"[0200]=EA,58", false, kNotExecuted, cpu::NotExecutedMessage(0x58, 0x0201), grid::Tone::kError, 0x0202},
        {"[0200]=D0,FE", true, kStopped, std::string(cpu::kStoppedByUserMessage), grid::Tone::kError, 0x0200},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        grid::Workspace workspace;
        workspace.grid.SetCol(grid::kSecondParameterColumn);
        workspace.message.text = "kept";
        cpu::Apply(workspace.machine, c.state);
        cpu::NullMachineHost host;
        RunCommand run(workspace, host, 0x0200);
        cpu::RunEnd end = run.Slice(1000);
        if (c.stop) {
            EXPECT_TRUE(end == kRunning && run.ExecutedCount() == 1000);
            end = run.Stop();
        }
        EXPECT_EQ(end, c.end);
        run.Report();
        EXPECT_EQ(std::pair(workspace.message.text, workspace.message.tone),
                  std::pair(c.message, c.colour));
        EXPECT_EQ(std::pair(workspace.machine.PC, workspace.grid.Col()),
                  std::pair(c.pc, int(grid::kSecondParameterColumn)));
    }
}

// The stop window is looked for after every 20,000 instructions until it shows;
// a run it leaves going on is stopped, one that ends before it never sees it.
TEST(RunCommandTest, TheStopWindowIsConsideredBetweenSlices) {
    using enum cpu::RunEnd;
    // How many instructions the program runs (DEX, BNE counting XR down), after how many checks
    // the run has taken long, whether the window stops it; then the checks made, the end and
    // the instructions executed.
    // clang-format off
    const struct { int xr, longAfter; bool windowStops; int checks; cpu::RunEnd end; std::int64_t executed; } cases[] = {
        {0x10, 1, false, 0, kEmptyCell, 2 * 0x10 + 2},  // short: no check at all
        {0xFF, 1, false, 0, kEmptyCell, 2 * 0xFF + 2},
        {0, 1, true, 1, kStopped, 20'000 + 1},  // the window shows, its slice runs
        {0, 3, false, 3, kStopped, 60'000 + 1},  // then stopped after it
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.checks);
        grid::Workspace workspace;
        // YR = FF: one pass of XR's count. XR = YR = 0: 256 passes of 256, some 131,000
        // instructions.
        cpu::Apply(workspace.machine, "[0200]=CA,D0,FD,C8,D0,FA XR=" + text::FormatHex2(c.xr) +
                                          (c.xr == 0 ? "" : " YR=FF"));
        cpu::NullMachineHost host;
        RunCommand run(workspace, host, 0x0200);
        int checks = 0;
        const cpu::RunEnd end = RunWithStopWindow(
            run, [&] { return ++checks == c.longAfter; },
            [&] {
                run.Slice(1);
                if (c.windowStops) run.Stop();
            });
        EXPECT_EQ(checks, c.checks);
        EXPECT_EQ(end, c.end);
        EXPECT_EQ(run.ExecutedCount(), c.executed);
    }
}

TEST(ConsoleTextTest, CharacterOfAValueAndEnterInTheField) {
    const std::pair<std::int64_t, const char*> characters[] = {
        {0x42, "B"}, {0xE1, "α"}, {0x141, "A"}, {0x00, ""}, {0xAA, "\uFFFD"}};
    for (const auto& [value, text] : characters) EXPECT_EQ(ConsoleCharacter(value), text) << value;

    const std::tuple<const char*, std::optional<std::string>, std::int32_t> cases[] = {
        {"4a", "AC:J", 0x4A},
        {"1C1", "AC:Α", 0x1C1},
        {"zz", std::nullopt, 0x33},
        {"", std::nullopt, 0x33}};
    for (const auto& [text, line, ac] : cases) {  // AC held 0x33 before; not limited to a byte
        cpu::Machine machine;
        machine.AC = 0x33;
        EXPECT_EQ(EnterAccumulator(machine, text), line) << text;
        EXPECT_EQ(machine.AC, ac) << text;
    }
    cpu::Machine machine;
    EXPECT_THROW(EnterAccumulator(machine, "123456789"), text::ConversionError);
}

TEST(ConsoleTextTest, ControlCharactersShowAsTheWindowShowsThem) {
    const std::pair<std::string, std::string> cases[] = {
        {"ΓΕΙΑ\n", "ΓΕΙΑ\n"},
        {std::string("a\0b", 3), "ab"},
        {"a\x0C"
         "b",
         "ab"},
        {"a\tb", "a\tb"},
        {"a\rb\r\nc\n\rd", "a\nb\nc\n\nd"},
        {"\x01\x1B[2J\x7F", "\u25AF\u25AF[2J\u25AF"},
        {"", ""},
    };
    for (const auto& [text, shown] : cases) EXPECT_EQ(ConsoleShownText(text), shown) << text;
}

}  // namespace
}  // namespace zorvan::app
