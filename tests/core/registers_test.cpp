#include "cpu/registers.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace zorvan::cpu {
namespace {

// Each name reaches its own register or bit, for reading and writing, and gives its name back;
// case and unknown names find nothing.
TEST(Registers, EachNameReachesItsOwnFieldOfTheMachine) {
    const std::pair<const char*, std::int32_t Machine::*> registers[] = {
        {"AC", &Machine::AC}, {"XR", &Machine::XR}, {"YR", &Machine::YR},
        {"SP", &Machine::SP}, {"PC", &Machine::PC}, {"RA", &Machine::returnAddress}};
    const auto all = [](const Machine& m) {
        return std::vector{m.AC, m.XR, m.YR, m.SP, m.PC, m.returnAddress};
    };
    for (const auto& [name, member] : registers) {
        SCOPED_TRACE(name);
        const std::optional<MachineField> field = FieldNamed(name);
        ASSERT_TRUE(field);
        EXPECT_EQ(FieldName(*field), name);
        Machine machine, untouched;
        FieldOf(machine, *field) = 0x1A5;
        EXPECT_EQ(machine.*member, 0x1A5);
        machine.*member = untouched.*member;
        EXPECT_EQ(all(machine), all(untouched));  // no other register written
    }
    const char* const bits[] = {"N", "V", "-", "B", "D", "I", "Z", "C"};
    for (int bit = 0; bit < kStatusBitCount; ++bit) {
        const std::optional<MachineField> field = FieldNamed(bits[bit]);
        ASSERT_TRUE(field) << bits[bit];
        EXPECT_EQ(FieldName(*field), bits[bit]);
        Machine machine;
        FieldOf(machine, *field) = 7;
        std::array<std::int32_t, kStatusBitCount> expected = Machine{}.status;
        expected[static_cast<std::size_t>(bit)] = 7;
        EXPECT_EQ(machine.status, expected) << bits[bit];
        EXPECT_EQ(FieldOf(std::as_const(machine), *field), 7);
    }
    for (const char* name : {"ac", "A", "P", "RET", "", "NV"})
        EXPECT_FALSE(FieldNamed(name)) << name;
}

}  // namespace
}  // namespace zorvan::cpu
