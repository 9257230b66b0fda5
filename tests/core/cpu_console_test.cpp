#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "cpu/interpreter.h"
#include "cpu/machine.h"
#include "cpu/run_loop.h"
#include "cpu_test_support.h"

namespace zorvan::cpu {
namespace {

std::string Letters(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text.push_back(static_cast<char>('A' + i % 26));
    return text;
}

// "[address]=41,42,..." with count letters A-Z over and over.
std::string LetterCells(int address, int count) {
    std::ostringstream cells;
    cells << std::hex << "[" << address << "]=";
    for (int i = 0; i < count; ++i) cells << (i ? "," : "") << 'A' + i % 26;
    return cells.str();
}

// JSR at 0200 to a routine; the text's address lies in cells 0000 (low) and 0001 (high).
struct Case {
    const char* name;
    std::string before;
    std::vector<std::string> calls;
};

const Case kCases[] = {
    {"FFFF shows AC's character", "[201]=FF,FF AC=41", {"char 65"}},
    {"FFFF passes AC whole", "[201]=FF,FF AC=1FF", {"char 511"}},
    {"FFFE asks for AC", "[201]=FE,FF", {"ask"}},
    {"FFFD clears", "[201]=FD,FF", {"clear"}},
    {"FFFB is no routine", "[201]=FB,FF", {}},
    {"FFFC prints up to the 0 cell", "[201]=FC,FF [0]=00,03 [300]=48,49,0,4A", {"print HI"}},
    {"an empty text", "[201]=FC,FF [0]=00,03 [300]=0,48", {"print "}},
    {"Greek bytes as they are", "[201]=FC,FF [0]=10,03 [310]=C1,E2", {"print \xC1\xE2"}},
    {"the low byte of each cell", "[201]=FC,FF [0]=00,03 [300]=141,42", {"print AB"}},
    {"a low byte 0 ends the text", "[201]=FC,FF [0]=00,03 [300]=41,100,42", {"print A"}},
    {"cut after 283 characters",
     "[201]=FC,FF [0]=00,04 " + LetterCells(0x400, 400),
     {"print " + Letters(kPrintTextLimit)}},
    {"a text running to the end",
     "[201]=FC,FF [0]=F0,FF " + LetterCells(0xFFF0, 16),
     {"print " + Letters(16)}},
    {"a pointer past the end", "[201]=FC,FF [0]=FF,1FF [300]=41", {"print "}},
    {"a negative pointer", "[201]=FC,FF [0]=FF,-1", {"print "}},
};

TEST(ConsoleRoutines, JsrReachesTheHost) {
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        Machine m;
        RecordingHost host;
        Apply(m, "[200]=20 " + c.before);
        const int target = m.Read(0x0202) * 256 + m.Read(0x0201);
        EXPECT_EQ(ExecuteInstruction(m, host, 0x20, 0x0200), target);
        EXPECT_EQ(m.returnAddress, 0x0203);
        EXPECT_EQ(host.calls, c.calls);
    }
}

TEST(ConsoleRoutines, ARunComesBackThroughAnRtsAtTheRoutine) {
    Machine m;
    RecordingHost host;
    Apply(m, "[200]=A9,48,20,FF,FF,A9,49,20,FF,FF [FFFF]=60");
    EXPECT_EQ(RunFrom(m, host, 0x0200), RunEnd::kEmptyCell);
    EXPECT_EQ(host.calls, (std::vector<std::string>{"char 72", "char 73"}));
    EXPECT_EQ(m.PC, 0x020B);
}

}  // namespace
}  // namespace zorvan::cpu
