#include "app/register_fields.h"

#include <gtest/gtest.h>

#include <tuple>

namespace zorvan::app {
namespace {

using cpu::Machine;

TEST(RegisterFieldsTest, ShownValuesKeepAllTheirDigitsAndAreAcceptedBack) {
    Machine machine;
    EXPECT_EQ(ShowRegisters(machine)[kPcField] + ShowRegisters(machine)[kSpField], "0000FF");
    machine.PC = 0x10000;
    machine.AC = 0x1FF;
    machine.status[cpu::kN] = 1;
    const auto texts = ShowRegisters(machine);
    const std::array<std::string, kRegisterFieldCount> expected{
        "10000", "1", "0", "0", "0", "0", "0", "0", "1FF", "00", "00", "FF"};
    EXPECT_EQ(texts, expected);
    EXPECT_EQ(ExitRegisterField(machine, kAcField, texts[kAcField]), std::nullopt);
    EXPECT_EQ(ExitRegisterField(machine, kPcField, texts[kPcField]), std::nullopt);
    EXPECT_EQ(machine.AC + machine.PC, 0x1FF + 0x10000);
}

TEST(RegisterFieldsTest, BitFieldsSkipTheUnusedBit) {
    const cpu::StatusBit expected[] = {cpu::kN, cpu::kV, cpu::kB, cpu::kD,
                                       cpu::kI, cpu::kZ, cpu::kC};
    for (int field = kFirstBitField; field <= kLastBitField; ++field) {
        Machine machine;
        machine.status = {0, 0, 0, 0, 0, 0, 0, 0};
        ASSERT_EQ(ExitRegisterField(machine, field, "1"), std::nullopt);
        std::array<std::int32_t, cpu::kStatusBitCount> bits{};
        bits[expected[field - kFirstBitField]] = 1;
        EXPECT_EQ(machine.status, bits) << "field " << field;
    }
}

TEST(RegisterFieldsTest, LeavingAFieldChecksAndStores) {
    const std::tuple<int, const char*, std::optional<std::string_view>, std::int32_t> cases[] = {
        // the field, its text, the warning, then the register (or V) afterwards; it held 0x33
        {kPcField, "c0de", std::nullopt, 0xC0DE},
        {kPcField, "12", kFewerThanFourRegisterDigitsWarning, 0x33},
        {kPcField, "12G4", kWrongProgramCounterWarning, 0x33},
        {kAcField, "2A", std::nullopt, 0x2A},
        {kAcField, "A", kFewerThanTwoDigitsWarning, 0x33},
        {kAcField, "ZZ", kWrongAccumulatorWarning, 0x33},
        {kXrField, "", kFewerThanTwoDigitsWarning, 0x33},
        {kYrField, "0G", kWrongIndexOrStackWarning, 0x33},
        {kSpField, "Α1", kWrongIndexOrStackWarning, 0x33},
        {kSpField, "10", std::nullopt, 0x10},
        {2, "1", std::nullopt, 1},  // V
        {2, "2", kWrongBitWarning, 0x33},
        {2, "01", kWrongBitWarning, 0x33},
    };
    for (const auto& [field, text, warning, value] : cases) {
        Machine machine;
        machine.PC = machine.AC = machine.XR = machine.YR = machine.SP = 0x33;
        machine.status[cpu::kV] = 0x33;
        EXPECT_EQ(ExitRegisterField(machine, field, text), warning) << field << " " << text;
        const std::int32_t* reg[] = {&machine.PC, &machine.status[cpu::kV],
                                     &machine.AC, &machine.XR,
                                     &machine.YR, &machine.SP};
        const int which = field == 2 ? 1 : field == kPcField ? 0 : 2 + field - kAcField;
        EXPECT_EQ(*reg[which], value) << field << " " << text;
    }
}

}  // namespace
}  // namespace zorvan::app
