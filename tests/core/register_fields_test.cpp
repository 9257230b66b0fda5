#include "app/register_fields.h"

#include <gtest/gtest.h>

namespace zorvan::app {
namespace {

using cpu::Machine;

TEST(RegisterFieldsTest, StartUpValues) {
    const Machine machine;
    const std::array<std::string, kRegisterFieldCount> expected{
        "0000", "0", "0", "0", "0", "0", "0", "0", "00", "00", "00", "FF"};
    EXPECT_EQ(ShowRegisters(machine), expected);
}

TEST(RegisterFieldsTest, WideValuesShowAllTheirDigits) {
    Machine machine;
    machine.PC = 0x10000;
    machine.AC = 0x1FF;
    machine.XR = 0x100;
    machine.status[cpu::kC] = 1;
    machine.status[cpu::kN] = 1;
    const auto texts = ShowRegisters(machine);
    EXPECT_EQ(texts[kPcField], "10000");
    EXPECT_EQ(texts[kAcField], "1FF");
    EXPECT_EQ(texts[kXrField], "100");
    EXPECT_EQ(texts[1], "1");  // N
    EXPECT_EQ(texts[7], "1");  // C
    // A shown value is accepted back unchanged when its field is left.
    EXPECT_EQ(ExitRegisterField(machine, kAcField, texts[kAcField]), std::nullopt);
    EXPECT_EQ(ExitRegisterField(machine, kPcField, texts[kPcField]), std::nullopt);
    EXPECT_EQ(machine.AC, 0x1FF);
    EXPECT_EQ(machine.PC, 0x10000);
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
    const struct {
        int field;
        const char* text;
        std::optional<std::string_view> warning;
        std::int32_t Machine::*reg;  // nullptr: a status bit, checked through bit
        std::int32_t value;          // afterwards (the register held 0x33, the bit 0)
    } cases[] = {
        {kPcField, "0200", std::nullopt, &Machine::PC, 0x0200},
        {kPcField, "c0de", std::nullopt, &Machine::PC, 0xC0DE},
        {kPcField, "12", kFewerThanFourRegisterDigitsWarning, &Machine::PC, 0x33},
        {kPcField, "", kFewerThanFourRegisterDigitsWarning, &Machine::PC, 0x33},
        {kPcField, "12G4", kWrongProgramCounterWarning, &Machine::PC, 0x33},
        {kAcField, "2A", std::nullopt, &Machine::AC, 0x2A},
        {kAcField, "A", kFewerThanTwoDigitsWarning, &Machine::AC, 0x33},
        {kAcField, "ZZ", kWrongAccumulatorWarning, &Machine::AC, 0x33},
        {kXrField, "ff", std::nullopt, &Machine::XR, 0xFF},
        {kXrField, "", kFewerThanTwoDigitsWarning, &Machine::XR, 0x33},
        {kXrField, "G0", kWrongIndexOrStackWarning, &Machine::XR, 0x33},
        {kYrField, "0G", kWrongIndexOrStackWarning, &Machine::YR, 0x33},
        {kSpField, "Α1", kWrongIndexOrStackWarning, &Machine::SP, 0x33},
        {kSpField, "10", std::nullopt, &Machine::SP, 0x10},
        {2, "1", std::nullopt, nullptr, 1},  // V
        {2, "2", kWrongBitWarning, nullptr, 0},
        {2, "", kWrongBitWarning, nullptr, 0},
        {2, "01", kWrongBitWarning, nullptr, 0},
        {2, "0", std::nullopt, nullptr, 0},
    };
    for (const auto& c : cases) {
        Machine machine;
        machine.PC = machine.AC = machine.XR = machine.YR = machine.SP = 0x33;
        EXPECT_EQ(ExitRegisterField(machine, c.field, c.text), c.warning)
            << c.field << " " << c.text;
        if (c.reg != nullptr) {
            EXPECT_EQ(machine.*c.reg, c.value) << c.field << " " << c.text;
        } else {
            EXPECT_EQ(machine.status[cpu::kV], c.value) << c.text;
        }
    }
}

}  // namespace
}  // namespace zorvan::app
