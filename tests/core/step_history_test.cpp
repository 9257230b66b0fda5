#include "cpu/step_history.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "cpu/instruction_set.h"
#include "cpu/interpreter.h"
#include "cpu/run_loop.h"
#include "cpu/step_sentence.h"
#include "cpu_test_support.h"
#include "text/hex_text.h"

namespace zorvan::cpu {
namespace {

// A console as text only: the routines change it as the window does.
class TextConsole : public MachineHost, public RestorableConsole {
  public:
    void ShowCharacter(int ac) override {
        text = std::string(1, static_cast<char>('!' + (ac & 63)));
    }
    void AskForAccumulator() override { text = "Δώσε τον AC"; }
    void ClearConsole() override { text.clear(); }
    void PrintText(std::string_view line) override {
        text += (text.empty() ? "" : "\n") + std::string(line);
    }
    void StackFull() override {}
    std::string Text() const override { return text; }
    void SetText(const std::string& t) override { text = t; }

    std::string text;
};

void ExpectIdentical(const Machine& actual, const Machine& expected) {
    EXPECT_EQ(RegisterState::Of(actual), RegisterState::Of(expected));
    EXPECT_TRUE(actual.memory == expected.memory) << "memory differs";
}

// One instruction at PC: the sentence that tells what it did, the record's cells, whether it
// changed the program's own cells 0200-0202, and Πίσω puts registers, bits, the halt flag, the
// cells and the console's text back. Every other case starts halted, as a full stack leaves the
// machine: Πίσω puts that flag back too.
TEST(StepHistory, EachStepIsToldAndOneUndoPutsEverythingBack) {
    // clang-format off
    const struct { const char* state; const char* sentence; int cells = 0; bool told = false; } cases[] = {
        {"[0200]=A5,30 [0030]=41", "LDA 30: ανάγνωση 0030 = 41, AC 00 → 41"},
        {"[0200]=95,30 XR=5 AC=41", "STA 30,X: διεύθυνση 0035 ← 41 (ήταν 00)", 1},
        {"[0200]=B6,30 YR=2", "LDX 30,Y: ανάγνωση 0032 = 00, Z 0 → 1"},
        {"[0200]=EE,00,03 [0300]=FF", "INC 0300: διεύθυνση 0300 ← 100 (ήταν FF)", 1},
        {"[0200]=B9,00,03 YR=1 [0301]=80", "LDA 0300,Y: ανάγνωση 0301 = 80, AC 00 → 80, N 0 → 1"},
        {"[0200]=A1,20 XR=2 [0022]=00,04 [0400]=07", "LDA (20,X): ανάγνωση 0022–0023 → 0400, ανάγνωση 0400 = 07, AC 00 → 07"},
        {"[0200]=91,20 YR=3 [0020]=00,04 AC=9", "STA (20),Y: ανάγνωση 0020–0021 → 0400, διεύθυνση 0403 ← 09 (ήταν 00)", 1},
        {"[0200]=8D,01,02 AC=7", "STA 0201: διεύθυνση 0201 ← 07 (ήταν 01)", 1, true},  // its own operand
        {"[0200]=8D,00,02 AC=8D", "STA 0200: διεύθυνση 0200 ← 8D (ήταν 8D)"},  // the same: not told
        {"[0200]=6C,00,03 [0300]=10,02", "JMP (0300): ανάγνωση 0300–0301 → 0210, PC ← 0210"},
        {"[0200]=4C,05,00", "JMP: PC ← 0208"},  // a displacement, told as the target
        {"[0200]=F0,00 P=02", "BEQ: η διακλάδωση έγινε, PC ← 0202"},  // taken, though PC is as if not
        {"[0200]=0A AC=81", "ASL A: AC 81 → 102, N 0 → 1, C 0 → 1"},
        {"[0200]=20,00,03 RA=1234", "JSR 0300: διεύθυνση επιστροφής 0203, PC ← 0300"},
        {"[0200]=20,FF,FF AC=41", "JSR FFFF: διεύθυνση επιστροφής 0203, PC ← FFFF, η κονσόλα άλλαξε"},
        {"[0200]=20,FD,FF", "JSR FFFD: διεύθυνση επιστροφής 0203, PC ← FFFD, η κονσόλα άλλαξε"},
        {"[0200]=20,FC,FF [0000]=10,03 [0310]=41,42,00", "JSR FFFC: διεύθυνση επιστροφής 0203, PC ← FFFC, η κονσόλα άλλαξε"},
        {"[0200]=48 AC=20", "PHA: διεύθυνση 01FF ← 20 (ήταν 00), SP FF → FE", 1},
        {"[0200]=48 SP=0", "PHA: σωρός πλήρης"},  // the machine halts
        {"[0200]=48 SP=0", "PHA: σωρός πλήρης"},  // and a second refused push says so again
        {"[0200]=68 SP=FE [01FF]=33", "PLA: ανάγνωση 01FF = 33, AC 00 → 33, SP FE → FF"},
        {"[0200]=08 P=C3", "PHP: διεύθυνση 01FF ← C3 (ήταν 00), SP FF → FE", 1},
        {"[0200]=00", "BRK: η εντολή δεν εκτελείται, καμία αλλαγή"},
        {"[0200]=02", "02: δεν είναι εντολή, καμία αλλαγή"},
        {"[0200]=EA", "NOP: καμία αλλαγή"},
    };
    // clang-format on
    AddressSet program;
    for (int a = 0x0200; a < 0x0203; ++a) program.Add(a);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.state);
        Machine machine;
        machine.status = {};  // as Clear registers leaves them
        machine.halted = (&c - cases) % 2 == 0;
        Apply(machine, std::string("PC=0200 ") + c.state);
        TextConsole console;
        console.text = "παλιό κείμενο\nδεύτερη";
        const Machine start = machine;
        StepHistory history;
        EXPECT_EQ(history.Step(machine, console, &console, &program), c.told);
        const StepChange change = *history.Last(machine);
        EXPECT_EQ(DescribeStep(change, machine), c.sentence);
        EXPECT_EQ(change.cellCount, c.cells);
        EXPECT_EQ(change.before, RegisterState::Of(start));
        ASSERT_TRUE(history.Undo(machine, &console));
        ExpectIdentical(machine, start);
        EXPECT_EQ(console.text, "παλιό κείμενο\nδεύτερη");
        EXPECT_TRUE(history.Empty());
    }
}

// Each conditional branch, with the status bits that take it and with the others: the sentence
// tells whether it was taken (and by which bit when not), and the interpreter went where the
// sentence says.
TEST(StepSentence, TellsWhetherEachBranchWasTaken) {
    // clang-format off
    const struct { int opcode; const char* taken; const char* notTaken; const char* why; } cases[] = {
        {0x90, "P=00", "P=01", "C = 1"}, {0xB0, "P=01", "P=00", "C = 0"},
        {0xF0, "P=02", "P=00", "Z = 0"}, {0xD0, "P=00", "P=02", "Z = 1"},
        {0x30, "P=80", "P=00", "N = 0"}, {0x10, "P=00", "P=80", "N = 1"},
        {0x50, "P=00", "P=40", "V = 1"}, {0x70, "P=40", "P=00", "V = 0"},
    };
    // clang-format on
    for (const auto& c : cases) {
        for (const bool taken : {true, false}) {
            SCOPED_TRACE(std::to_string(c.opcode) + (taken ? " taken" : " not taken"));
            Machine machine;
            Apply(machine, std::string("PC=0200 [0200]=") + text::FormatHex2(c.opcode) + ",05 " +
                               (taken ? c.taken : c.notTaken));
            NullMachineHost host;
            StepHistory history;
            history.Step(machine, host, nullptr);
            const std::string mnemonic(
                kInstructionTable[static_cast<std::size_t>(Decode(c.opcode).operation)].mnemonic);
            EXPECT_EQ(DescribeStep(*history.Last(machine), machine),
                      mnemonic + (taken ? std::string(": η διακλάδωση έγινε, PC ← 0207")
                                        : std::string(": η διακλάδωση δεν έγινε (") + c.why + ")"));
            EXPECT_EQ(machine.PC, taken ? 0x0207 : 0x0202);
        }
    }
}

// Random memory and registers (cells outside 0-255 included), random console routines and answers
// to their questions: N steps
// forward and N back leave the machine and the console exactly as they were, and so does every
// undo on the way back (checked every 97 steps).
TEST(StepHistory, StepsForwardThenAsManyBackLeaveTheMachineIdentical) {
    constexpr int kSteps = 3000, kEvery = 97;
    for (unsigned seed = 1; seed <= 40; ++seed) {
        SCOPED_TRACE(seed);
        std::mt19937 random(seed);
        Machine machine;
        for (auto& cell : machine.memory) {
            const unsigned roll = random() % 100;
            cell = static_cast<std::int16_t>(roll < 3   ? -static_cast<int>(random() % 300)
                                             : roll < 6 ? 0x20
                                                        : random() % 256);
        }
        for (int i = 0; i < 40; ++i) {  // console calls scattered about
            const auto at = static_cast<std::size_t>(random() % 0xFFF0);
            machine.memory[at] = 0x20;
            machine.memory[at + 1] = static_cast<std::int16_t>(0xFC + random() % 4);
            machine.memory[at + 2] = 0xFF;
        }
        machine.PC = static_cast<std::int32_t>(random() % kMemorySize);
        for (std::int32_t* reg : {&machine.AC, &machine.XR, &machine.YR, &machine.SP})
            *reg = static_cast<std::int32_t>(random() % 256);
        machine.UnpackStatus(random() % 256);
        TextConsole console;
        console.text = "αρχή";
        StepHistory history;
        std::vector<std::pair<Machine, std::string>> states;
        for (int i = 0; i < kSteps; ++i) {
            if (i % kEvery == 0) states.emplace_back(machine, console.text);
            history.Step(machine, console, &console);
            // A question answered in the console joins the step that asked it.
            const auto last = history.Last(machine);
            if (machine.PC == kAskForAccumulatorRoutine && last->before.PC != machine.PC) {
                const RegisterState left = RegisterState::Of(machine);
                machine.AC = static_cast<std::int32_t>(random() % 256);
                console.text += "\nAC:" + std::to_string(machine.AC);
                history.AbsorbIntoLast(machine, left);
            }
        }
        for (int i = kSteps - 1; i >= 0 && !HasFailure(); --i) {
            ASSERT_TRUE(history.Undo(machine, &console));
            if (i % kEvery != 0) continue;
            SCOPED_TRACE("undo back to step " + std::to_string(i));
            ExpectIdentical(machine, states[static_cast<std::size_t>(i / kEvery)].first);
            EXPECT_EQ(console.text, states[static_cast<std::size_t>(i / kEvery)].second);
        }
        EXPECT_FALSE(history.Undo(machine, &console));
    }
}

TEST(StepHistory, AMillionStepsFitAndUndoToTheStart) {
    Machine machine;
    // 0200 LDX #00 / INX / STX 0300 / PHA / PLA / JMP back to 0202
    Apply(machine, "PC=0200 [0200]=A2,00,E8,8E,00,03,48,68,4C,F7,00");
    const Machine start = machine;
    NullMachineHost host;
    StepHistory history;
    for (int i = 0; i < 2'500'000; ++i) history.Step(machine, host, nullptr);
    // The oldest went when twice the depth was reached; the depth is kept.
    EXPECT_GE(history.Size(), StepHistory::kDepth);
    EXPECT_LT(history.Bytes(), std::size_t{48} << 20);
    const std::size_t kept = history.Size();
    for (std::size_t i = 0; i < kept; ++i) ASSERT_TRUE(history.Undo(machine, nullptr));
    EXPECT_FALSE(history.Undo(machine, nullptr));
    // Where the kept part begins: 2,500,000 - kept instructions in, a point of the loop.
    Machine replay = start;
    for (std::size_t i = 0; i < 2'500'000 - kept; ++i) StepAt(replay, host, replay.PC);
    ExpectIdentical(machine, replay);
}

// Printing a long text and clearing it, over and over: each clear keeps the whole text, so the
// budget, not the count, decides how much history is kept; the latest steps still undo.
TEST(StepHistory, TheConsolesTextsKeepTheHistoryWithinItsBudget) {
    Machine machine;
    // 0200 JSR FFFC (print the text at 0310, as cells 0000-0001 say) / 0203 JSR FFFD (clear) /
    // 0206 JMP 0200
    Apply(machine, "PC=0200 [0200]=20,FC,FF,20,FD,FF,4C,F7,00 [FFFC]=60,60 [0000]=10,03");
    for (int i = 0; i < 250; ++i)
        machine.memory[0x0310 + static_cast<std::size_t>(i)] = 'A' + i % 26;
    TextConsole console;
    StepHistory history;
    std::vector<std::string> texts;
    for (int i = 0; i < 1'500'000; ++i) {
        if (i >= 1'500'000 - 10) texts.push_back(console.text);
        history.Step(machine, console, &console);
    }
    EXPECT_LT(history.Bytes(), std::size_t{64} << 20);
    EXPECT_GT(history.Size(), std::size_t{100'000});
    EXPECT_LT(history.Size(), StepHistory::kDepth);  // the budget, not the count
    for (int i = 9; i >= 0; --i) {
        ASSERT_TRUE(history.Undo(machine, &console));
        EXPECT_EQ(console.text, texts[static_cast<std::size_t>(i)]);
    }
}

}  // namespace
}  // namespace zorvan::cpu
