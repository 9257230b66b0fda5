#include <gtest/gtest.h>

#include <cstdint>

#include "cpu/machine.h"
#include "cpu/machine_host.h"
#include "cpu/run_loop.h"

namespace zorvan::cpu {
namespace {

// A cell whose low byte is an opcode but whose value lies outside 0-255 is no opcode: a run stops
// there, whether the cell is met first or after instructions that the run executed quickly. (A
// negative cell behind an instruction is first raised by 256 as that instruction's operand cell,
// so those cells stay negative even then.)
TEST(RunLoopDispatch, CellsOutsideByteRangeAreNoOpcode) {
    struct Case {
        std::int16_t cell;
        int inxBefore;
    };
    const Case cases[] = {
        {0x01A9, 0}, {0x01A9, 2}, {0x7FE8, 2}, {-0x57, 0}, {static_cast<std::int16_t>(0x80CA), 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "cell " << c.cell << " after " << c.inxBefore);
        Machine m;
        NullMachineHost host;
        for (int i = 0; i < c.inxBefore; ++i) m.memory[0x200 + i] = 0xE8;  // INX
        m.memory[0x200 + c.inxBefore] = c.cell;
        m.memory[0x201 + c.inxBefore] = 0x07;
        EXPECT_EQ(RunFrom(m, host, 0x200), RunEnd::kNotExecuted);
        EXPECT_EQ(m.PC, 0x201 + c.inxBefore);
        EXPECT_EQ(m.AC, 0);
        EXPECT_EQ(m.XR, c.inxBefore);
    }
}

}  // namespace
}  // namespace zorvan::cpu
