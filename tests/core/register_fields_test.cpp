#include "app/register_fields.h"

#include <gtest/gtest.h>

#include <tuple>

#include "cpu/step_history.h"
#include "cpu_test_support.h"

namespace zorvan::app {
namespace {

TEST(RegisterFieldsTest, BitFieldsSkipTheUnusedBit) {
    const int packed[] = {0x80, 0x40, 0x10, 0x08, 0x04, 0x02, 0x01};  // N V B D I Z C
    for (int field = kFirstBitField; field <= kLastBitField; ++field) {
        cpu::Machine machine;
        machine.status = {};
        EXPECT_EQ(ExitRegisterField(machine, field, "1"), std::nullopt);
        EXPECT_EQ(machine.PackStatus() & ~0x20, packed[field - kFirstBitField]) << field;
    }
}

TEST(RegisterFieldsTest, LeavingAFieldChecksAndStoresAndShowsAllTheDigits) {
    // The field, its text, the warning, then what the field shows afterwards.
    const std::tuple<int, const char*, std::optional<std::string_view>, const char*> cases[] = {
        {kPcField, "c0de", std::nullopt, "C0DE"},
        {kPcField, "10000", std::nullopt, "10000"},
        {kPcField, "12", kFewerThanFourRegisterDigitsWarning, "0033"},
        {kPcField, "12G4", kWrongProgramCounterWarning, "0033"},
        {kAcField, "1FF", std::nullopt, "1FF"},
        {kAcField, "ZZ", kWrongAccumulatorWarning, "44"},
        {kXrField, "", kFewerThanTwoDigitsWarning, "55"},
        {kYrField, "0G", kWrongIndexOrStackWarning, "66"},
        {kSpField, "Α1", kWrongIndexOrStackWarning, "77"},
        {kSpField, "10", std::nullopt, "10"},
        {2, "1", std::nullopt, "1"},  // V
        {2, "2", kWrongBitWarning, "0"},
        {2, "01", kWrongBitWarning, "0"},
    };
    for (const auto& [field, text, warning, shown] : cases) {
        cpu::Machine machine;
        cpu::Apply(machine, "PC=33 AC=44 XR=55 YR=66 SP=77 P=00");
        EXPECT_EQ(ExitRegisterField(machine, field, text), warning) << field << " " << text;
        EXPECT_EQ(ShowRegisters(machine)[field], shown) << field << " " << text;
        EXPECT_EQ(ExitRegisterField(machine, field, shown), std::nullopt) << "accepted back";
    }
}

// A step that changes one register or bit highlights its own field and no other.
TEST(RegisterFieldsTest, EachFieldShowsTheChangeOfItsOwnRegister) {
    const cpu::Machine before;
    for (int field = 0; field < kRegisterFieldCount; ++field) {
        cpu::Machine after = before;
        ExitRegisterField(after, field,
                          field >= kFirstBitField && field <= kLastBitField ? "1"
                          : field == kPcField                               ? "0201"
                                                                            : "21");
        grid::ChangeMarks marks;
        marks.SetRegisters(cpu::RegisterState::Of(before), cpu::RegisterState::Of(after));
        for (int shown = 0; shown < kRegisterFieldCount; ++shown)
            EXPECT_EQ(FieldChanged(marks, shown), shown == field) << field << " " << shown;
    }
}

}  // namespace
}  // namespace zorvan::app
