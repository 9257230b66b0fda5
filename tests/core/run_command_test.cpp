#include "app/run_command.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "app/headless_console.h"
#include "cpu/step_history.h"
#include "cpu_test_support.h"
#include "editor_fixture.h"
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
        // A JSR to a console routine whose cell holds no RTS ends the run there: it says so.
        {"[0200]=20,FE,FF", false, kEmptyCell, std::string(kRunCompletedMessage) + " " + ConsoleWithoutRtsNotice(0xFFFE), grid::Tone::kNotice, 0xFFFF},
        {"[0200]=20,FE,FF [FFFE]=60", false, kEmptyCell, std::string(kRunCompletedMessage), grid::Tone::kNotice, 0x0204},
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

// A run that writes over a byte of the program's own lines says so after its end message.
TEST(RunCommandTest, TellsThatTheProgramWroteOverItself) {
    for (const char* store : {"8D,01,02", "8D,00,03"}) {
        SCOPED_TRACE(store);
        grid::Workspace workspace =
            testing::WorkspaceWith({{"", "0200", "STA", "0201"}, {"", "0203"}});
        cpu::Apply(workspace.machine, std::string("AC=7 [0200]=") + store);
        cpu::NullMachineHost host;
        RunCommand run(workspace, host, 0x0200);
        run.Slice(100);
        run.Report();
        EXPECT_EQ(workspace.message.text,
                  std::string(kRunCompletedMessage) +
                      (store[4] == '1' ? " " + OverwroteItselfNotice(0x0201) : ""));
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
        {"a\fb", "ab"},
        {"a\tb", "a\tb"},
        {"a\rb\r\nc\n\rd", "a\nb\nc\n\nd"},
        {"\x01\x1B[2J\x7F", "\u25AF\u25AF[2J\u25AF"},
        {"", ""},
    };
    for (const auto& [text, shown] : cases) EXPECT_EQ(ConsoleShownText(text), shown) << text;
    // The kept text takes the window's line breaks too, whether replaced or appended to.
    ConsoleText kept;
    kept.Replace("a\rb");
    kept.AppendLine("c\r\nd");
    kept.AppendLine("e");
    EXPECT_EQ(kept.Text(), "a\nb\nc\nd\ne");
}

// A console that keeps its lines bounded, as the window does.
class BoundedConsole : public cpu::NullMachineHost, public cpu::RestorableConsole {
  public:
    void PrintText(std::string_view line) override { text.AppendLine(line); }
    std::string Text() const override { return text.Text(); }
    void SetText(const std::string& t) override { text.Replace(t); }
    std::size_t Size() const override { return text.Text().size(); }
    void KeepDropped() override { text.KeepDropped(); }
    std::string TakeDropped() override { return text.TakeDropped(); }
    ConsoleText text;
};

// However many lines a program prints, the console keeps the last kConsoleLines of them, the
// history's records stay small, and undoing every print gives each earlier text back exactly.
TEST(ConsoleTextTest, KeepsItsLastLinesAndUndoesEveryPrint) {
    cpu::Machine machine;
    cpu::Apply(machine, "[0200]=20,FC,FF [0000]=10,03 [0310]=41,42,00");
    BoundedConsole console;
    console.text.Replace("πρώτη");
    cpu::StepHistory history;
    const std::size_t prints = kConsoleLines * 3 / 2;
    std::vector<std::string> texts;
    for (std::size_t i = 0; i < prints; ++i) {
        if (i % 1000 == 999) texts.push_back(console.Text());
        machine.PC = 0x0200;
        history.Step(machine, console, &console);
    }
    EXPECT_EQ(std::count(console.text.Shown().begin(), console.text.Shown().end(), '\n') + 1,
              static_cast<long>(kConsoleLines));
    EXPECT_LT(console.Text().size(), 4 * (kConsoleLines + kConsoleLines / 4));
    EXPECT_LT(history.Bytes(), std::size_t{8} << 20);
    for (std::size_t i = prints; i-- > 0;) {
        ASSERT_TRUE(history.Undo(machine, &console));
        if (i % 1000 == 999) ASSERT_EQ(console.Text(), texts[i / 1000]) << i;
    }
    EXPECT_EQ(console.Text(), "πρώτη");

    // A run without the history (the Run command's) keeps none of what the bound drops.
    for (std::size_t i = 0; i < prints; ++i) console.PrintText("AB");
    EXPECT_EQ(console.TakeDropped(), "");
}

}  // namespace
}  // namespace zorvan::app
