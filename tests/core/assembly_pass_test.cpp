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
    std::string label;
    std::string address;
    std::string instruction;
    std::string first = "";
    std::string second = "";
};

// Every line given is a data row; the row after the last one is outside the table.
app::ProgramGrid GridOf(const std::vector<Line>& lines) {
    app::ProgramGrid grid;
    grid.SetRowCount(static_cast<int>(lines.size()) + 1);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const int row = static_cast<int>(i) + 1;
        grid.SetCell(app::kLabelColumn, row, lines[i].label);
        grid.SetCell(app::kAddressColumn, row, lines[i].address);
        grid.SetCell(app::kInstructionColumn, row, lines[i].instruction);
        grid.SetCell(app::kFirstParameterColumn, row, lines[i].first);
        grid.SetCell(app::kSecondParameterColumn, row, lines[i].second);
    }
    return grid;
}

std::unique_ptr<cpu::Machine> FreshMachine() {
    auto machine = std::make_unique<cpu::Machine>();
    machine->memory.fill(kUntouched);
    return machine;
}

std::vector<int> Cells(const cpu::Machine& machine, int from, int count) {
    std::vector<int> cells;
    for (int address = from; address < from + count; ++address) {
        cells.push_back(machine.memory[static_cast<std::size_t>(address)]);
    }
    return cells;
}

std::string KindName(AssemblyResult::Kind kind) {
    switch (kind) {
        case AssemblyResult::Kind::kSummary:
            return "summary";
        case AssemblyResult::Kind::kWarning:
            return "warning";
        case AssemblyResult::Kind::kError:
            return "error";
    }
    return "?";
}

TEST(Assemble, ExampleProgramWritesItsBytesAndReportsThreeLinesAndSixBytes) {
    const auto grid = GridOf({{"", "0200", "LDA", "#05"},
                              {"", "0202", "STA", "0300"},
                              {"", "0205", "BRK"},
                              {"", "0206", ""}});
    auto machine = FreshMachine();
    const AssemblyResult result = Assemble(grid, *machine);

    EXPECT_EQ(result.kind, AssemblyResult::Kind::kSummary);
    EXPECT_EQ(result.lines, 3);
    EXPECT_EQ(result.bytes, 6);
    EXPECT_EQ(result.text, kExampleSummary);
    EXPECT_EQ(Cells(*machine, 0x01FF, 8),
              (std::vector<int>{kUntouched, 0xA9, 0x05, 0x8D, 0x00, 0x03, 0x00, kUntouched}));
    EXPECT_EQ(TranslatedLinesText(3), kExampleSummaryLines);
    EXPECT_EQ(TotalBytesText(6), kExampleSummaryBytes);
}

TEST(Assemble, EachAddressingModeEncodesOpcodeThenOperandLowByteFirst) {
    struct Case {
        const char* instruction;
        const char* first;
        const char* second;
        std::vector<int> bytes;
    };
    const std::vector<Case> cases = {
        {"LDA", "#ff", "", {0xA9, 0xFF}},
        {"LDA", "12ab", "", {0xAD, 0xAB, 0x12}},
        {"JSR", "FFD2", "", {0x20, 0xD2, 0xFF}},
        {"LDA", "45", "", {0xA5, 0x45}},
        {"NOP", "", "", {0xEA}},
        {"LDA", "1234,", "X", {0xBD, 0x34, 0x12}},
        {"LDA", "1234,", "", {0xBD, 0x34, 0x12}},
        {"LDA", "1234,", "Y", {0xB9, 0x34, 0x12}},
        {"LDX", "1234,", "Y", {0xBE, 0x34, 0x12}},
        {"LDA", "45,", "X", {0xB5, 0x45}},
        {"LDX", "45,", "Y", {0xB6, 0x45}},
        {"STX", "45,", "Y", {0x96, 0x45}},
        {"LDA", "(45,", "X)", {0xA1, 0x45}},
        {"LDA", "(45),", "Y", {0xB1, 0x45}},
        {"ASL", "A", "", {0x0A}},
        {"BNE", "0300", "", {0xD0, 0x00}},
    };
    for (const Case& c : cases) {
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
    struct Case {
        const char* instruction;
        int opcode;
        int distance;
        int offset;  // -1: out of range
    };
    const Case cases[] = {
        {"BNE", 0xD0, -13, 0xF3}, {"BEQ", 0xF0, 0, 0x00},    {"BCC", 0x90, -1, 0xFF},
        {"BPL", 0x10, 127, 0x7F}, {"BMI", 0x30, -128, 0x80}, {"BVS", 0x70, 128, -1},
        {"BVC", 0x50, -129, -1},  {"JMP", 0x4C, 127, 0x7F},  {"JMP", 0x4C, -128, 0x80},
        {"JMP", 0x4C, 200, -1},   {"JMP", 0x4C, -129, -1},
    };
    for (const Case& c : cases) {
        const bool jump = std::string(c.instruction) == "JMP";
        const int next = 0x1000 + (jump ? 3 : 2);
        const auto grid = GridOf({{"", "1000", c.instruction, "LOOP"},
                                  {"", text::FormatHex4(next), ""},
                                  {"LOOP", text::FormatHex4(next + c.distance), ""}});
        auto machine = FreshMachine();
        const AssemblyResult result = Assemble(grid, *machine);
        if (c.offset < 0) {
            EXPECT_EQ(KindName(result.kind), "error") << c.instruction << " " << c.distance;
            EXPECT_EQ(result.text, kOutOfRange);
            EXPECT_EQ(Cells(*machine, 0x1000, 1), std::vector<int>{kUntouched});
            continue;
        }
        EXPECT_EQ(KindName(result.kind), "summary") << c.instruction << " " << c.distance;
        const std::vector<int> expected = jump ? std::vector<int>{c.opcode, c.offset, 0x00}
                                               : std::vector<int>{c.opcode, c.offset};
        EXPECT_EQ(Cells(*machine, 0x1000, jump ? 3 : 2), expected)
            << c.instruction << " " << c.distance;
    }
}

TEST(Assemble, JumpToTheNextLineIsAZeroOffset) {
    const auto grid =
        GridOf({{"", "0200", "JMP", "NEXT"}, {"NEXT", "0203", "NOP"}, {"", "0204", ""}});
    auto machine = FreshMachine();
    const AssemblyResult result = Assemble(grid, *machine);
    EXPECT_EQ(result.lines, 2);
    EXPECT_EQ(result.bytes, 4);
    EXPECT_EQ(Cells(*machine, 0x200, 4), (std::vector<int>{0x4C, 0x00, 0x00, 0xEA}));
}

TEST(Assemble, BranchToALabelThatIsNotAlphanumericStillAssembles) {
    const auto grid =
        GridOf({{"L-1", "0200", "NOP"}, {"", "0201", "BNE", "L-1"}, {"", "0203", ""}});
    auto machine = FreshMachine();
    const AssemblyResult result = Assemble(grid, *machine);
    EXPECT_EQ(KindName(result.kind), "summary");
    EXPECT_EQ(Cells(*machine, 0x200, 3), (std::vector<int>{0xEA, 0xD0, 0xFD}));
}

// Each program's first line is written before the second one stops the pass.
TEST(Assemble, StopsAtTheFirstLineItCannotTranslate) {
    struct Case {
        Line failing;
        std::string kind;
        std::string text;
    };
    const std::string labelMissing = std::string(kLabelHead) + "LOOP" + std::string(kLabelTail);
    const std::vector<Case> cases = {
        {{"", "0202", "lda", "#05"}, "warning", std::string(kSyntaxError)},
        {{"", "0202", "LDA", "1234567"}, "warning", std::string(kSyntaxError)},
        {{"", "0202", "STA", "#45"}, "warning", std::string(kSyntaxError)},
        {{"", "0202", "LDX", "45,", "X"}, "warning", std::string(kSyntaxError)},
        {{"", "0202", "ASL", "1234,", "Y"}, "warning", std::string(kSyntaxError)},
        {{"", "0202", "LDA", "(1234)"}, "warning", std::string(kSyntaxError)},
        {{"", "0202", "JMP", "L-1"}, "warning", std::string(kSyntaxError)},
        {{"", "0202", "BNE", "LOOP"}, "warning", labelMissing},
        {{"", "0202", "BNE", "loop"},
         "warning",
         std::string(kLabelHead) + "loop" + std::string(kLabelTail)},
        {{"", "0202", "BNE", ""}, "warning", std::string(kLabelHead) + std::string(kLabelTail)},
        {{"", "0202", "JMP", "(1234)"},
         "warning",
         std::string(kLabelHead) + "(1234)" + std::string(kLabelTail)},
    };
    for (const Case& c : cases) {
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

TEST(Assemble, TextThatMustBeHexThrowsAfterTheEarlierLinesAreWritten) {
    const std::vector<std::vector<Line>> programs = {
        {{"", "", "NOP"}, {"", "0203", ""}},
        {{"", "0202", "JSR", "LOOP"}, {"LOOP", "0205", ""}},
        {{"", "0202", "LDA", "ZZ"}, {"", "0204", ""}},
        {{"", "0202", "LDA", "#G1"}, {"", "0204", ""}},
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
    struct Case {
        const char* address;
        const char* instruction;
        const char* first;
        int bytes;  // from 0200 to the end of the line; -1: refused as out of range
    };
    const Case cases[] = {
        {"FFFD", "LDA", "1234", 0x10000 - 0x200},
        {"FFFF", "NOP", "", 0x10000 - 0x200},
        {"FFFE", "LDA", "1234", -1},
        {"FFFF", "LDA", "#05", -1},
        {"10000", "NOP", "", -1},
        {"10002", "NOP", "", -1},
        {"FFFFFFFF", "NOP", "", -1},
    };
    for (const Case& c : cases) {
        const auto grid =
            GridOf({{"", "0200", "NOP"}, {"", c.address, c.instruction, c.first}, {"", "", ""}});
        auto machine = FreshMachine();
        const AssemblyResult result = Assemble(grid, *machine);
        EXPECT_EQ(machine->memory[0x200], 0xEA) << c.address;
        if (c.bytes < 0) {
            EXPECT_EQ(KindName(result.kind), "error") << c.address;
            EXPECT_EQ(result.text, kOutOfRange) << c.address;
            EXPECT_EQ(Cells(*machine, 0xFFFD, 3),
                      (std::vector<int>{kUntouched, kUntouched, kUntouched}))
                << c.address;
        } else {
            EXPECT_EQ(KindName(result.kind), "summary") << c.address;
            EXPECT_EQ(result.bytes, c.bytes) << c.address;
            EXPECT_EQ(machine->memory[0xFFFF], std::string(c.instruction) == "NOP" ? 0xEA : 0x12)
                << c.address;
        }
    }
}

TEST(Assemble, TheProgramEndsAtTheFirstRowWithoutAnInstruction) {
    struct Case {
        std::vector<Line> lines;
        int rowCount;
        int translated;
        int bytes;
    };
    const std::vector<Case> cases = {
        {{{"", "", ""}}, 2, 0, 0},
        {{{"", "0200", ""}, {"", "0200", "NOP"}}, 3, 0, 0},
        {{{"", "0200", "NOP"}, {"", "0201", ""}, {"", "0201", "NOP"}}, 4, 1, 1},
        {{{"", "0200", "NOP"}, {"", "0201", "NOP"}}, 2, 1, 1},  // row 2 lies outside the table
        {{{"", "0200", "NOP"}, {"", "0300", "NOP"}, {"", "0301", ""}}, 4, 2, 0x101},
    };
    for (const Case& c : cases) {
        auto grid = GridOf(c.lines);
        grid.SetRowCount(c.rowCount);
        auto machine = FreshMachine();
        const AssemblyResult result = Assemble(grid, *machine);
        EXPECT_EQ(KindName(result.kind), "summary");
        EXPECT_EQ(result.lines, c.translated);
        EXPECT_EQ(result.bytes, c.bytes);
        EXPECT_EQ(result.text, SummaryText(c.translated, c.bytes));
        EXPECT_EQ(machine->memory[0x200], c.translated > 0 ? 0xEA : kUntouched);
        EXPECT_EQ(machine->memory[0x201], kUntouched);
    }
    EXPECT_EQ(SummaryText(0, 0), kEmptySummary);
}

}  // namespace
}  // namespace zorvan::assembler
