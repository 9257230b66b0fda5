#include "app/memory_view.h"

#include <gtest/gtest.h>

#include <tuple>

#include "app/register_fields.h"
#include "cpu/step_history.h"
#include "cpu_test_support.h"
#include "text/conversion_error.h"

namespace zorvan::app {
namespace {

using cpu::Machine;

// The view starts and moves between 0000 and FEFF, and its start field is checked before it is
// read.
TEST(MemoryViewTest, ViewStartsAndMovesWithinMemoryAndShowsBytesAndCharacters) {
    // Eight digits may read as a negative number.
    const std::pair<const char*, int> cases[] = {
        {"0000", 0x0000}, {"12", 0x0012}, {"FFFF", 0xFEFF}, {"10000", 0xFEFF}, {"FFFFFFF0", 0}};
    Machine machine;
    for (const auto& [text, start] : cases)
        EXPECT_EQ(ShowMemoryFrom(machine, text).start, start) << text;
    EXPECT_EQ(ShowMemoryFrom(machine, "FFFF").lines[15].address, "FFEF");
    for (const char* bad : {"12G4", ""})
        EXPECT_THROW(ShowMemoryFrom(machine, bad), text::ConversionError) << bad;
    // A control code is its own character, not "."; C1 is Greek capital alpha in Windows-1253, AA
    // is undefined there; a cell wider than a byte shows all digits and the low byte's character.
    int address = 0x0200;
    for (const std::int16_t value : {0x41, 0x0A, 0xC1, 0xAA, 0x141, -1})
        machine.memory[address++] = value;
    const MemoryLine line = ShowMemoryFrom(machine, "0200").lines[0];
    EXPECT_EQ(std::vector(line.bytes.begin(), line.bytes.begin() + 7),
              std::vector<std::string>({"41", "0A", "C1", "AA", "141", "FFFFFFFF", "00"}));
    EXPECT_EQ(line.characters, "A\nΑ\uFFFDA\uFFFD..........");
    const auto pageDown = [](int start) { return PageDownStart(start).value_or(-1); };
    const auto pageUp = [](int start) { return PageUpStart(start).value_or(-1); };
    // clang-format off
    const std::tuple<int (*)(int), int, int> moves[] = {  // -1: the page does not move
        {pageDown, 0xFE00, -1}, {pageDown, 0xFDFF, 0xFEFF}, {pageUp, 0x0080, -1}, {pageUp, 0x0100, 0x0000},
        {pageUp, 0xFEFF, 0xFDFF}, {LineUpStart, 0x000F, 0x0000}, {LineUpStart, 0x0018, 0x0008},
        {LineDownStart, 0xFEF0, 0xFEFF}, {LineDownStart, 0xFEFF, 0xFEFF}, {LineDownStart, 0x0000, 0x0010}};
    // clang-format on
    for (const auto& [move, from, to] : moves) EXPECT_EQ(move(from), to) << from;
    const std::pair<const char*, std::optional<std::string_view>> fields[] = {
        {"", kFewerThanFourDigitsWarning},   {"12G4", kWrongAddressWarning},
        {"ΑΒΓΔ", kWrongAddressWarning},  // four characters, though eight bytes
        {"ΑΒ", kFewerThanFourDigitsWarning}, {"ffff", std::nullopt},
    };
    for (const auto& [text, warning] : fields)
        EXPECT_EQ(CheckStartAddressText(text), warning) << text;
    const int enter[][2] = {{0, 1}, {15, 16}, {16, 16}, {17, 17}};  // up to the last byte
    for (const auto& c : enter) EXPECT_EQ(ColumnAfterEnter(c[0]), c[1]) << c[0];
}

TEST(MemoryViewTest, StoringACell) {
    const std::string notHex = "Το 'XY' δεν είναι δεκαεξαδικός αριθμός";
    const std::string wrong(kWrongAddressWarning);
    // The row's address, the column and the text typed; then the cell to look at, what it holds
    // (0x77 before), and the warning.
    // clang-format off
    const struct { const char* row; int column; const char* text; int address; std::int16_t value; std::string warning; } cases[] = {
        {"0200", 16, "1ff", 0x020F, 0x1FF, ""},
        {"0200", 3, "12345", 0x0202, 0x2345, ""},  // only the low 16 bits are kept
        // Neither the address column nor the character column is stored.
        {"0200", 0, "3C", 0x0200, 0x77, ""}, {"0200", 17, "3C", 0x0210, 0x77, ""},
        {"0200", 2, "XY", 0x0201, 0x00, notHex},   // and the cell becomes zero
        {"FFF8", 9, "XY", 0xFFFF, 0x77, wrong},    // past the end of memory nothing is stored
        {"FFF8", 8, "3C", 0xFFFF, 0x3C, ""}, {"FFFFFFFF", 1, "3C", 0x0000, 0x77, wrong}};
    // clang-format on
    Machine machine;
    for (const auto& c : cases) {
        machine.memory[static_cast<std::size_t>(c.address)] = 0x77;
        const StoreOutcome outcome = StoreMemoryCell(machine, c.row, c.column, c.text);
        EXPECT_EQ(machine.memory[static_cast<std::size_t>(c.address)], c.value) << c.row << c.text;
        EXPECT_EQ(std::pair(outcome.warning, outcome.cellBecomesZero),
                  std::pair(c.warning, c.warning == notHex));
    }
    EXPECT_THROW(StoreMemoryCell(machine, "0200", 1, ""), text::ConversionError);
    // The row's address is read first, whatever the column.
    EXPECT_THROW(StoreMemoryCell(machine, "02X0", 0, "3C"), text::ConversionError);
}

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
