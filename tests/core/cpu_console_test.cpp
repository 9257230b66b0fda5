#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cpu/interpreter.h"
#include "cpu/machine.h"
#include "cpu/run_loop.h"
#include "cpu_fake_host.h"

namespace zorvan::cpu {
namespace {

// JSR to each routine address: the host is asked once, the return address is set and the run
// would go on at the routine's own address.
TEST(ConsoleRoutines, JsrReachesTheHost) {
    struct Case {
        int target;
        std::vector<std::string> calls;
    };
    const Case cases[] = {
        {0xFFFF, {"char 65"}}, {0xFFFE, {"ask"}}, {0xFFFD, {"clear"}},
        {0xFFFC, {"print"}},   {0xFFFB, {}},      {0x0300, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.target);
        Machine m;
        RecordingHost host;
        m.AC = 0x41;
        m.Write(0x0201, c.target & 0xFF);
        m.Write(0x0202, c.target >> 8);
        EXPECT_EQ(ExecuteInstruction(m, host, 0x20, 0x0200), c.target);
        EXPECT_EQ(m.returnAddress, 0x0203);
        EXPECT_EQ(host.calls, c.calls);
        EXPECT_EQ(m.AC, 0x41);  // asking for AC does not wait for it
    }
}

TEST(ConsoleRoutines, ShowCharacterPassesAcWhole) {
    Machine m;
    RecordingHost host;
    m.AC = 0x1FF;
    m.Write(0x0201, 0xFF);
    m.Write(0x0202, 0xFF);
    ExecuteInstruction(m, host, 0x20, 0x0200);
    EXPECT_EQ(host.calls, std::vector<std::string>{"char 511"});
}

// The text's address lies in cells 0000 (low) and 0001 (high).
struct PrintCase {
    const char* name;
    int pointerLow;
    int pointerHigh;
    int textAt;
    std::vector<int> cells;
    std::string text;
};

std::vector<int> Letters(int count) {
    std::vector<int> letters;
    for (int i = 0; i < count; ++i) letters.push_back('A' + i % 26);
    return letters;
}

std::string LetterText(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text.push_back(static_cast<char>('A' + i % 26));
    return text;
}

const PrintCase kPrintCases[] = {
    {"stops before the 0 cell", 0x00, 0x03, 0x0300, {0x48, 0x49, 0x00, 0x4A}, "HI"},
    {"an empty text", 0x00, 0x03, 0x0300, {0x00, 0x48}, ""},
    {"Greek bytes pass as they are", 0x10, 0x03, 0x0310, {0xC1, 0xE2, 0x00}, "\xC1\xE2"},
    {"one character from the low byte of each cell", 0x00, 0x03, 0x0300, {0x141, 0x42, 0x00}, "AB"},
    {"a cell whose low byte is 0 ends the text",
     0x00,
     0x03,
     0x0300,
     {0x41, 0x100, 0x42, 0x00},
     "A"},
    {"cut after 283 characters", 0x00, 0x04, 0x0400, Letters(400), LetterText(283)},
    {"exactly 283 characters", 0x00, 0x04, 0x0400, Letters(283), LetterText(283)},
    {"a text running to the end of memory", 0xF0, 0xFF, 0xFFF0, Letters(16), LetterText(16)},
    {"a pointer past the end of memory prints nothing", 0xFF, 0x1FF, 0x0300, {0x41, 0x00}, ""},
    {"a negative pointer prints nothing", 0xFF, -1, 0x0300, {0x41, 0x00}, ""},
    {"a pointer to 0000 meets its own 0 cell", 0x00, 0x00, 0x0002, {0x5A, 0x00}, ""},
};

TEST(ConsoleRoutines, PrintText) {
    for (const PrintCase& c : kPrintCases) {
        SCOPED_TRACE(c.name);
        Machine m;
        RecordingHost host;
        for (std::size_t i = 0; i < c.cells.size(); ++i)
            m.Write(c.textAt + static_cast<int>(i), c.cells[i]);
        m.Write(0x0000, c.pointerLow);
        m.Write(0x0001, c.pointerHigh);
        m.Write(0x0201, 0xFC);
        m.Write(0x0202, 0xFF);
        ExecuteInstruction(m, host, 0x20, 0x0200);
        ASSERT_EQ(host.texts.size(), 1u);
        EXPECT_EQ(host.texts[0], c.text);
    }
}

TEST(ConsoleRoutines, ARunPrintsAndComesBackThroughAnRtsAtTheRoutine) {
    Machine m;
    RecordingHost host;
    // 0200 LDA #48; JSR FFFF; LDA #49; JSR FFFF; 00, with RTS at FFFF
    const int program[] = {0xA9, 0x48, 0x20, 0xFF, 0xFF, 0xA9, 0x49, 0x20, 0xFF, 0xFF};
    for (int i = 0; i < 10; ++i) m.Write(0x0200 + i, program[i]);
    m.Write(0xFFFF, 0x60);
    EXPECT_EQ(RunFrom(m, host, 0x0200), RunEnd::kEmptyCell);
    EXPECT_EQ(host.calls, (std::vector<std::string>{"char 72", "char 73"}));
    EXPECT_EQ(m.PC, 0x020B);
}

}  // namespace
}  // namespace zorvan::cpu
