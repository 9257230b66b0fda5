#include "app/memory_view.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "text/conversion_error.h"

namespace zorvan::app {
namespace {

using cpu::Machine;

TEST(MemoryViewTest, ViewStartsBetweenZeroAndFEFF) {
    const std::tuple<const char*, int, const char*> cases[] = {
        {"0000", 0x0000, "00F0"},  {"12", 0x0012, "0102"},       {"FFFF", 0xFEFF, "FFEF"},
        {"10000", 0xFEFF, "FFEF"}, {"FFFFFFF0", 0x0000, "00F0"},  // eight digits read as a negative
                                                                  // number
    };
    const Machine machine;
    for (const auto& [text, start, lastLine] : cases) {
        const MemoryDump dump = ShowMemoryFrom(machine, text);
        EXPECT_EQ(dump.start, start) << text;
        EXPECT_EQ(dump.lines[15].address, lastLine) << text;
        EXPECT_EQ(dump.lines[15].characters, "................") << text;
    }
    EXPECT_THROW(ShowMemoryFrom(machine, "12G4"), text::ConversionError);
    EXPECT_THROW(ShowMemoryFrom(machine, ""), text::ConversionError);
}

TEST(MemoryViewTest, ByteTextsAndCharacters) {
    const std::tuple<std::int16_t, const char*, const char*> cases[] = {
        {0x41, "41", "A"},
        {0x0A, "0A", "\n"},      // a control code is its own character, not "."
        {0xC1, "C1", "Α"},       // Greek capital alpha in Windows-1253
        {0xAA, "AA", "\uFFFD"},  // undefined in Windows-1253
        {0x141, "141", "A"},     // wider than a byte: all digits, character of the low byte
        {-1, "FFFFFFFF", "\uFFFD"},
    };
    for (const auto& [value, byteText, character] : cases) {
        Machine machine;
        machine.memory[0x0205] = value;
        const MemoryDump dump = ShowMemoryFrom(machine, "0200");
        EXPECT_EQ(dump.lines[0].bytes[5], byteText);
        EXPECT_EQ(dump.lines[0].characters, "....." + std::string(character) + "..........")
            << byteText;
    }
}

TEST(MemoryViewTest, MovesAndTheirLimits) {
    const std::tuple<std::optional<int> (*)(int), int, std::optional<int>> cases[] = {
        {PageDownStart, 0xFE00, std::nullopt}, {PageDownStart, 0xFDFF, 0xFEFF},
        {PageUpStart, 0x0080, std::nullopt},   {PageUpStart, 0x0100, 0x0000},
        {PageUpStart, 0xFEFF, 0xFDFF},
    };
    for (const auto& [move, from, to] : cases) EXPECT_EQ(move(from), to) << from;
    const std::tuple<int (*)(int), int, int> lines[] = {
        {LineUpStart, 0x000F, 0x0000},   {LineUpStart, 0x0018, 0x0008},
        {LineDownStart, 0xFEF0, 0xFEFF}, {LineDownStart, 0xFEFF, 0xFEFF},
        {LineDownStart, 0x0000, 0x0010},
    };
    for (const auto& [move, from, to] : lines) EXPECT_EQ(move(from), to) << from;
}

TEST(MemoryViewTest, FieldChecksAndEnter) {
    const std::pair<const char*, std::optional<std::string_view>> cases[] = {
        {"", kFewerThanFourDigitsWarning},   {"12G4", kWrongAddressWarning},
        {"ΑΒΓΔ", kWrongAddressWarning},  // four characters, though eight bytes
        {"ΑΒ", kFewerThanFourDigitsWarning}, {"ffff", std::nullopt},
    };
    for (const auto& [text, warning] : cases)
        EXPECT_EQ(CheckStartAddressText(text), warning) << text;
    const int enter[][2] = {{0, 1}, {15, 16}, {16, 16}, {17, 17}};  // up to the last byte
    for (const auto& c : enter) EXPECT_EQ(ColumnAfterEnter(c[0]), c[1]) << c[0];
}

TEST(MemoryViewTest, StoringACell) {
    const std::string notHex = "Το 'XY' δεν είναι δεκαεξαδικός αριθμός";
    const std::string wrong(kWrongAddressWarning);
    const struct {
        const char* rowAddress;
        int column;
        const char* text;
        int address;         // the cell to look at afterwards
        std::int16_t value;  // what it holds (it held 0x77 before)
        std::string warning;
    } cases[] = {
        {"0200", 16, "3c", 0x020F, 0x3C, ""},     {"0200", 16, "1FF", 0x020F, 0x1FF, ""},
        {"0200", 3, "12345", 0x0202, 0x2345, ""},  // only the low 16 bits are kept
        {"0200", 0, "3C", 0x0200, 0x77, ""},       // the address column is not stored
        {"0200", 17, "3C", 0x0210, 0x77, ""},      // nor the character column
        {"0200", 2, "XY", 0x0201, 0x00, notHex},   // and the cell becomes zero
        {"FFF8", 9, "XY", 0xFFFF, 0x77, wrong},    // past the end of memory nothing is stored
        {"FFF8", 8, "3C", 0xFFFF, 0x3C, ""},      {"FFFFFFFF", 1, "3C", 0x0000, 0x77, wrong},
    };
    for (const auto& c : cases) {
        Machine machine;
        machine.memory[static_cast<std::size_t>(c.address)] = 0x77;
        const StoreOutcome outcome = StoreMemoryCell(machine, c.rowAddress, c.column, c.text);
        EXPECT_EQ(machine.memory[static_cast<std::size_t>(c.address)], c.value)
            << c.rowAddress << " " << c.column << " " << c.text;
        EXPECT_EQ(outcome.warning, c.warning) << c.text;
        EXPECT_EQ(outcome.cellBecomesZero, c.warning == notHex) << c.text;
    }
    Machine machine;
    EXPECT_THROW(StoreMemoryCell(machine, "0200", 1, ""), text::ConversionError);
    // The row's address is read first, whatever the column.
    EXPECT_THROW(StoreMemoryCell(machine, "02X0", 0, "3C"), text::ConversionError);
}

}  // namespace
}  // namespace zorvan::app
