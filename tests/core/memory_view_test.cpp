#include "app/memory_view.h"

#include <gtest/gtest.h>

#include "text/conversion_error.h"

namespace zorvan::app {
namespace {

using cpu::Machine;

TEST(MemoryViewTest, StartUpViewShowsZeroToFFWithDots) {
    const Machine machine;
    const MemoryDump dump = ShowMemoryFrom(machine, "0000");
    EXPECT_EQ(dump.lines[0].address, "0000");
    EXPECT_EQ(dump.lines[15].address, "00F0");
    for (const MemoryLine& line : dump.lines) {
        for (const std::string& byte : line.bytes) EXPECT_EQ(byte, "00");
        EXPECT_EQ(line.characters, "................");
    }
}

TEST(MemoryViewTest, ViewStartsBetweenZeroAndFEFF) {
    const struct {
        const char* text;
        int start;
        const char* lastLine;
    } cases[] = {
        {"0400", 0x0400, "04F0"},
        {"12", 0x0012, "0102"},
        {"FEFF", 0xFEFF, "FFEF"},
        {"FFFF", 0xFEFF, "FFEF"},
        {"10000", 0xFEFF, "FFEF"},
        // Eight digits read as a negative number: the view does not go below 0000.
        {"FFFFFFF0", 0x0000, "00F0"},
    };
    const Machine machine;
    for (const auto& c : cases) {
        const MemoryDump dump = ShowMemoryFrom(machine, c.text);
        EXPECT_EQ(dump.start, c.start) << c.text;
        EXPECT_EQ(dump.lines[15].address, c.lastLine) << c.text;
    }
}

TEST(MemoryViewTest, ViewFromNonHexTextFails) {
    const Machine machine;
    EXPECT_THROW(ShowMemoryFrom(machine, "12G4"), text::ConversionError);
    EXPECT_THROW(ShowMemoryFrom(machine, ""), text::ConversionError);
}

TEST(MemoryViewTest, ByteTextsAndCharacters) {
    const struct {
        std::int16_t value;
        const char* byteText;
        const char* character;
    } cases[] = {
        {0x41, "41", "A"},          {0x00, "00", "."},
        {0x0A, "0A", "\n"},  // a control code is its own character, not "."
        {0x3C, "3C", "<"},          {0xC1, "C1", "Α"},  // Greek capital alpha in Windows-1253
        {0xAA, "AA", "\uFFFD"},                         // undefined in Windows-1253
        {0x141, "141", "A"},  // wider than a byte: all digits, character of the low byte
        {-1, "FFFFFFFF", "\uFFFD"},
    };
    for (const auto& c : cases) {
        Machine machine;
        machine.memory[0x0205] = c.value;
        const MemoryDump dump = ShowMemoryFrom(machine, "0200");
        EXPECT_EQ(dump.lines[0].bytes[5], c.byteText);
        EXPECT_EQ(dump.lines[0].characters, "....." + std::string(c.character) + "..........")
            << c.byteText;
    }
}

TEST(MemoryViewTest, MovesAndTheirLimits) {
    enum Move { kDown, kUp, kPageDown, kPageUp };
    const struct {
        Move move;
        int from;
        std::optional<int> to;
    } cases[] = {
        {kPageDown, 0xFE00, std::nullopt},
        {kPageDown, 0xFD00, 0xFE00},
        {kPageDown, 0xFDFF, 0xFEFF},
        {kPageUp, 0x0080, std::nullopt},
        {kPageUp, 0x0000, 0x0000},
        {kPageUp, 0x0100, 0x0000},
        {kPageUp, 0xFEFF, 0xFDFF},
        {kUp, 0x0008, 0x0000},
        {kUp, 0x000F, 0x0000},
        {kUp, 0x0010, 0x0000},
        {kUp, 0x0018, 0x0008},
        {kDown, 0xFEF0, 0xFEFF},
        {kDown, 0xFEFF, 0xFEFF},
        {kDown, 0x0000, 0x0010},
    };
    for (const auto& c : cases) {
        std::optional<int> to;
        switch (c.move) {
            case kDown:
                to = LineDownStart(c.from);
                break;
            case kUp:
                to = LineUpStart(c.from);
                break;
            case kPageDown:
                to = PageDownStart(c.from);
                break;
            case kPageUp:
                to = PageUpStart(c.from);
                break;
        }
        EXPECT_EQ(to, c.to) << "move " << c.move << " from " << c.from;
    }
}

TEST(MemoryViewTest, StartAddressFieldChecks) {
    const struct {
        const char* text;
        std::optional<std::string_view> warning;
    } cases[] = {
        {"12", kFewerThanFourDigitsWarning},
        {"", kFewerThanFourDigitsWarning},
        {"12G4", kWrongAddressWarning},
        {"ΑΒΓΔ", kWrongAddressWarning},  // four characters, though eight bytes
        {"ΑΒ", kFewerThanFourDigitsWarning},
        {"0400", std::nullopt},
        {"ffff", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(CheckStartAddressText(c.text), c.warning) << c.text;
}

TEST(MemoryViewTest, StoringACell) {
    const struct {
        const char* rowAddress;
        int column;
        const char* text;
        int address;         // the cell to look at afterwards
        std::int16_t value;  // what it holds (it held 0x77 before)
        std::string warning;
        bool cellBecomesZero;
    } cases[] = {
        {"0200", 1, "3C", 0x0200, 0x3C, "", false},
        {"0200", 16, "3c", 0x020F, 0x3C, "", false},
        {"0200", 16, "1FF", 0x020F, 0x1FF, "", false},
        {"0200", 3, "12345", 0x0202, 0x2345, "", false},  // only the low 16 bits are kept
        {"0200", 0, "3C", 0x0200, 0x77, "", false},       // the address column is not stored
        {"0200", 17, "3C", 0x0210, 0x77, "", false},      // nor the character column
        {"0200", 17, "..X.", 0x0210, 0x77, "", false},
        {"0200", 2, "XY", 0x0201, 0x00, "Το 'XY' δεν είναι δεκαεξαδικός αριθμός", true},
        {"0200", 2, "G1", 0x0201, 0x00, "Το 'G1' δεν είναι δεκαεξαδικός αριθμός", true},
        // A row address edited past the end of memory stores nothing.
        {"FFF8", 9, "3C", 0xFFFF, 0x77, std::string(kWrongAddressWarning), false},
        {"FFF8", 9, "XY", 0xFFFF, 0x77, std::string(kWrongAddressWarning), false},
        {"FFF8", 8, "3C", 0xFFFF, 0x3C, "", false},
        {"FFFFFFFF", 1, "3C", 0x0000, 0x77, std::string(kWrongAddressWarning), false},
    };
    for (const auto& c : cases) {
        Machine machine;
        machine.memory[static_cast<std::size_t>(c.address)] = 0x77;
        const StoreOutcome outcome = StoreMemoryCell(machine, c.rowAddress, c.column, c.text);
        EXPECT_EQ(machine.memory[static_cast<std::size_t>(c.address)], c.value)
            << c.rowAddress << " " << c.column << " " << c.text;
        EXPECT_EQ(outcome.warning, c.warning) << c.text;
        EXPECT_EQ(outcome.cellBecomesZero, c.cellBecomesZero) << c.text;
    }
}

TEST(MemoryViewTest, StoringFailsOnNonNumbers) {
    Machine machine;
    machine.memory[0x0200] = 0x77;
    EXPECT_THROW(StoreMemoryCell(machine, "0200", 1, ""), text::ConversionError);
    // The row's address is read first, whatever the column.
    EXPECT_THROW(StoreMemoryCell(machine, "02X0", 0, "3C"), text::ConversionError);
    EXPECT_THROW(StoreMemoryCell(machine, "02X0", 1, "3C"), text::ConversionError);
    EXPECT_EQ(machine.memory[0x0200], 0x77);
}

TEST(MemoryViewTest, EnterMovesOneColumnRightUpToTheLastByte) {
    const int cases[][2] = {{0, 1}, {1, 2}, {15, 16}, {16, 16}, {17, 17}};
    for (const auto& c : cases) EXPECT_EQ(ColumnAfterEnter(c[0]), c[1]) << c[0];
}

}  // namespace
}  // namespace zorvan::app
