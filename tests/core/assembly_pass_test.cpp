#include "asm/assembly_pass.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/program_grid.h"
#include "cpu/machine.h"
#include "text/conversion_error.h"
#include "text/hex_text.h"

namespace zorvan::assembler {
namespace {

constexpr std::string_view kOutOfRange = "Διεύθυνση μνήμης εκτός ορίου";
constexpr std::string_view kSyntaxError = "Λάθος στην σύνταξη!";
constexpr std::string_view kLabelHead = "Η ετικέτα '";
constexpr std::string_view kLabelTail = "' δεν βρέθηκε";
constexpr std::string_view kExampleSummary =
    "Η Συμβολομετάφραση ολοκληρώθηκε.\nΕπεξεργάστηκαν Συνολικά:3 γραμμές.\nΣυνολικός Αριθμός "
    "Bytes:6\n\nΘέλετε να δείτε τα περιεχόμενα της μνήμης;";
constexpr std::string_view kExampleSummaryLines = "Επεξεργάστηκαν Συνολικά:3 γραμμές.";
constexpr std::string_view kExampleSummaryBytes = "Συνολικός Αριθμός Bytes:6";
constexpr std::string_view kEmptySummary =
    "Η Συμβολομετάφραση ολοκληρώθηκε.\nΕπεξεργάστηκαν Συνολικά:0 γραμμές.\nΣυνολικός Αριθμός "
    "Bytes:0\n\nΘέλετε να δείτε τα περιεχόμενα της μνήμης;";

constexpr int kUntouched = 0x77;

struct Line {
    std::string label, address, instruction, first = "", second = "";
};

// Every line given is a data row; the row after the last one is outside the table.
app::ProgramGrid GridOf(const std::vector<Line>& lines) {
    app::ProgramGrid grid;
    grid.SetRowCount(static_cast<int>(lines.size()) + 1);
    int row = 1;
    for (const Line& line : lines) {
        const std::string* cells[] = {&line.label, &line.address, &line.instruction, &line.first,
                                      &line.second};
        for (int column = 0; column < 5; ++column) grid.SetCell(column, row, *cells[column]);
        ++row;
    }
    return grid;
}

std::unique_ptr<cpu::Machine> FreshMachine() {
    auto machine = std::make_unique<cpu::Machine>();
    machine->memory.fill(kUntouched);
    return machine;
}

std::vector<int> Cells(const cpu::Machine& machine, int from, int count) {
    return {machine.memory.begin() + from, machine.memory.begin() + from + count};
}

std::string KindName(AssemblyResult::Kind kind) {
    const char* names[] = {"summary", "warning", "error"};
    return names[static_cast<int>(kind)];
}

TEST(Assemble, ExampleProgramWritesItsBytesAndReportsThreeLinesAndSixBytes) {
    const auto grid = GridOf({{"", "0200", "LDA", "#05"},
                              {"", "0202", "STA", "0300"},
                              {"", "0205", "BRK"},
                              {"", "0206", ""}});
    auto machine = FreshMachine();
    const AssemblyResult result = Assemble(grid, *machine);

    EXPECT_EQ(KindName(result.kind), "summary");
    EXPECT_EQ(result.lines, 3);
    EXPECT_EQ(result.bytes, 6);
    EXPECT_EQ(result.text, kExampleSummary);
    EXPECT_EQ(Cells(*machine, 0x01FF, 8),
              (std::vector<int>{kUntouched, 0xA9, 0x05, 0x8D, 0x00, 0x03, 0x00, kUntouched}));
    EXPECT_EQ(TranslatedLinesText(3), kExampleSummaryLines);
    EXPECT_EQ(TotalBytesText(6), kExampleSummaryBytes);
}

TEST(Assemble, EachAddressingModeEncodesOpcodeThenOperandLowByteFirst) {
    const struct {
        const char *instruction, *first, *second;
        std::vector<int> bytes;
    } cases[] = {
        {"LDA", "#ff", "", {0xA9, 0xFF}},          {"JSR", "FFD2", "", {0x20, 0xD2, 0xFF}},
        {"LDA", "45", "", {0xA5, 0x45}},           {"NOP", "", "", {0xEA}},
        {"LDA", "12ab,", "", {0xBD, 0xAB, 0x12}},  // an empty index keeps the X form
        {"LDX", "1234,", "Y", {0xBE, 0x34, 0x12}}, {"LDX", "45,", "Y", {0xB6, 0x45}},
        {"STA", "45,", "X", {0x95, 0x45}},         {"LDA", "(45,", "X)", {0xA1, 0x45}},
        {"LDA", "(45),", "Y", {0xB1, 0x45}},       {"ASL", "A", "", {0x0A}},
    };
    for (const auto& c : cases) {
        const int length = static_cast<int>(c.bytes.size());
        const auto grid = GridOf({{"", "02FE", c.instruction, c.first, c.second},
                                  {"", text::FormatHex4(0x2FE + length), ""}});
        auto machine = FreshMachine();
        const AssemblyResult result = Assemble(grid, *machine);
        EXPECT_EQ(KindName(result.kind), "summary") << c.instruction << " " << c.first;
        EXPECT_EQ(result.bytes, length) << c.instruction << " " << c.first;
        std::vector<int> expected = c.bytes;
        expected.push_back(kUntouched);
        EXPECT_EQ(Cells(*machine, 0x2FE, length + 1), expected) << c.instruction << " " << c.first;
    }
}

TEST(Assemble, BranchAndJumpOffsetsCountFromTheNextLine) {
    const struct {
        const char *instruction, *label;
        int distance;
        std::vector<int> bytes;  // empty: out of range
    } cases[] = {
        {"BNE", "LOOP", -13, {0xD0, 0xF3}},
        {"BPL", "LOOP", 127, {0x10, 0x7F}},
        {"BMI", "LOOP", -128, {0x30, 0x80}},
        {"BVS", "LOOP", 128, {}},
        {"BVC", "LOOP", -129, {}},
        {"BCC", "L-1", -1, {0x90, 0xFF}},
        {"JMP", "NEXT", 0, {0x4C, 0x00, 0x00}},
        {"JMP", "LOOP", -128, {0x4C, 0x80, 0x00}},
        {"JMP", "LOOP", 200, {}},
    };
    for (const auto& c : cases) {
        const int next = 0x1000 + (std::string(c.instruction) == "JMP" ? 3 : 2);
        const auto grid = GridOf({{"", "1000", c.instruction, c.label},
                                  {"", text::FormatHex4(next), ""},
                                  {c.label, text::FormatHex4(next + c.distance), ""}});
        auto machine = FreshMachine();
        const AssemblyResult result = Assemble(grid, *machine);
        const std::string name = std::string(c.instruction) + " " + std::to_string(c.distance);
        if (c.bytes.empty()) {
            EXPECT_EQ(KindName(result.kind), "error") << name;
            EXPECT_EQ(result.text, kOutOfRange) << name;
            EXPECT_EQ(machine->memory[0x1000], kUntouched) << name;
        } else {
            EXPECT_EQ(KindName(result.kind), "summary") << name;
            EXPECT_EQ(Cells(*machine, 0x1000, static_cast<int>(c.bytes.size())), c.bytes) << name;
        }
    }
}

// The first line is written before the second one stops the pass.
TEST(Assemble, StopsAtTheFirstLineItCannotTranslate) {
    const auto label = [](const std::string& text) {
        return std::string(kLabelHead) + text + std::string(kLabelTail);
    };
    const struct {
        Line failing;
        std::string kind, text;
    } cases[] = {
        {{"", "0202", "lda", "#05"}, "warning", std::string(kSyntaxError)},
        {{"", "0202", "LDA", "1234567"}, "warning", std::string(kSyntaxError)},
        {{"", "0202", "STA", "#45"}, "warning", std::string(kSyntaxError)},
        {{"", "0202", "LDX", "45,", "X"}, "warning", std::string(kSyntaxError)},
        {{"", "0202", "ASL", "1234,", "Y"}, "warning", std::string(kSyntaxError)},
        {{"", "0202", "JMP", "L-1"}, "warning", std::string(kSyntaxError)},
        {{"", "0202", "BNE", "LOOP"}, "warning", label("LOOP")},
        {{"", "0202", "BNE", ""}, "warning", label("")},
        {{"", "0202", "JMP", "(1234)"}, "warning", label("(1234)")},
    };
    for (const auto& c : cases) {
        const auto grid = GridOf({{"", "0200", "LDA", "#01"}, c.failing, {"L-1", "0205", ""}});
        auto machine = FreshMachine();
        const AssemblyResult result = Assemble(grid, *machine);
        const std::string name = c.failing.instruction + " " + c.failing.first;
        EXPECT_EQ(KindName(result.kind), c.kind) << name;
        EXPECT_EQ(result.text, c.text) << name;
        EXPECT_EQ(Cells(*machine, 0x200, 4), (std::vector<int>{0xA9, 0x01, kUntouched, kUntouched}))
            << name;
    }
}

// Nothing of the failing line is written, not even its opcode.
TEST(Assemble, TextThatMustBeHexThrowsAfterTheEarlierLinesAreWritten) {
    const std::vector<std::vector<Line>> programs = {
        {{"", "", "NOP"}, {"", "0203", ""}},
        {{"", "0202", "JSR", "LOOP"}, {"LOOP", "0205", ""}},
        {{"", "0202", "LDA", "(4G),", "Y"}, {"", "0204", ""}},
        {{"", "0202", "BNE", "0300"}, {"", "", ""}},
        {{"", "0202", "BNE", "LOOP"}, {"LOOP", "XYZ", ""}},
    };
    for (const std::vector<Line>& program : programs) {
        std::vector<Line> lines = {{"", "0200", "LDA", "#01"}};
        lines.insert(lines.end(), program.begin(), program.end());
        auto machine = FreshMachine();
        EXPECT_THROW(Assemble(GridOf(lines), *machine), text::ConversionError)
            << program[0].instruction << " " << program[0].first;
        EXPECT_EQ(Cells(*machine, 0x200, 5),
                  (std::vector<int>{0xA9, 0x01, kUntouched, kUntouched, kUntouched}))
            << program[0].instruction << " " << program[0].first;
    }
}

TEST(Assemble, NeverWritesPastTheTopOfMemory) {
    const struct {
        const char *address, *instruction, *first;
        bool fits;
    } cases[] = {
        {"FFFD", "LDA", "EA12", true},  {"FFFF", "NOP", "", true},
        {"FFFE", "LDA", "1234", false}, {"10002", "NOP", "", false},
        {"FFFFFFFF", "NOP", "", false},
    };
    for (const auto& c : cases) {
        const auto grid =
            GridOf({{"", "0200", "NOP"}, {"", c.address, c.instruction, c.first}, {"", "", ""}});
        auto machine = FreshMachine();
        const AssemblyResult result = Assemble(grid, *machine);
        EXPECT_EQ(machine->memory[0x200], 0xEA) << c.address;
        EXPECT_EQ(KindName(result.kind), c.fits ? "summary" : "error") << c.address;
        EXPECT_EQ(result.bytes, c.fits ? 0x10000 - 0x200 : 0) << c.address;
        EXPECT_EQ(machine->memory[0xFFFF], c.fits ? 0xEA : kUntouched) << c.address;
        if (!c.fits) EXPECT_EQ(result.text, kOutOfRange) << c.address;
    }
}

TEST(Assemble, TheProgramEndsAtTheFirstRowWithoutAnInstruction) {
    const struct {
        std::vector<Line> lines;
        int rowCount, translated, bytes;
    } cases[] = {
        {{{"", "", ""}}, 2, 0, 0},
        {{{"", "0200", "NOP"}, {"", "0201", ""}, {"", "0201", "NOP"}}, 4, 1, 1},
        {{{"", "0200", "NOP"}, {"", "0201", "NOP"}}, 2, 1, 1},  // row 2 lies outside the table
        {{{"", "0200", "NOP"}, {"", "0300", "NOP"}, {"", "0301", ""}}, 4, 2, 0x101},
    };
    for (const auto& c : cases) {
        auto grid = GridOf(c.lines);
        grid.SetRowCount(c.rowCount);
        auto machine = FreshMachine();
        const AssemblyResult result = Assemble(grid, *machine);
        EXPECT_EQ(result.lines, c.translated);
        EXPECT_EQ(result.bytes, c.bytes);
        EXPECT_EQ(result.text, SummaryText(c.translated, c.bytes));
        EXPECT_EQ(machine->memory[0x201], kUntouched);
    }
    EXPECT_EQ(SummaryText(0, 0), kEmptySummary);
}

}  // namespace
}  // namespace zorvan::assembler
