#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "cpu/interpreter.h"
#include "cpu_test_support.h"

namespace zorvan::cpu {

// JSR at 0200 to a routine; the text's address lies in cells 0000 (low) and 0001 (high). Cells from
// 0400 to the end of memory hold 'A'.
TEST(ConsoleRoutines, JsrReachesTheHost) {
    const std::string A283(kPrintTextLimit, 'A');
    // clang-format off
    const std::pair<std::string, std::vector<std::string>> kCases[] = {
        {"[201]=FF,FF AC=1FF", {"char 511"}},                              // AC passed whole
        {"[201]=FE,FF", {"ask"}},
        {"[201]=FD,FF", {"clear"}},
        {"[201]=FB,FF", {}},                                               // no routine
        {"[201]=FC,FF [0]=00,03 [300]=48,49,0,4A", {"print HI"}},          // up to the 0 cell
        {"[201]=FC,FF [0]=00,03 [300]=0,48", {"print "}},                  // an empty text
        {"[201]=FC,FF [0]=10,03 [310]=C1,E2", {"print \xC1\xE2"}},         // Greek bytes as they are
        {"[201]=FC,FF [0]=00,03 [300]=141,42,100,43", {"print AB"}},       // low bytes; 100 ends it
        {"[201]=FC,FF [0]=00,04", {"print " + A283}},                      // cut after 283
        {"[201]=FC,FF [0]=F0,FF", {"print " + A283.substr(0, 16)}},        // up to the end of memory
        {"[201]=FC,FF [0]=FF,1FF", {"print "}},                            // a pointer past the end
        {"[201]=FC,FF [0]=FF,-1", {"print "}},                             // a negative pointer
    };
    // clang-format on
    for (const auto& [before, calls] : kCases) {
        SCOPED_TRACE(before);
        Machine m;
        RecordingHost host;
        std::fill(m.memory.begin() + 0x400, m.memory.end(), 'A');
        Apply(m, "[200]=20 " + before);
        EXPECT_EQ(ExecuteInstruction(m, host, 0x20, 0x0200), m.Read(0x202) * 256 + m.Read(0x201));
        EXPECT_EQ(m.returnAddress, 0x0203);
        EXPECT_EQ(host.calls, calls);
    }
}

}  // namespace zorvan::cpu
