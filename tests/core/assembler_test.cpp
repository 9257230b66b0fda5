#include "asm/assembly_pass.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <tuple>
#include <vector>

#include "asm/line_checker.h"
#include "asm/operand_syntax.h"
#include "cpu/machine.h"
#include "editor_fixture.h"
#include "grid/program_grid.h"
#include "text/conversion_error.h"

namespace zorvan::assembler {

// Readable failures: kind, bytes, tone and column, message.
void PrintTo(const LineOutcome& o, std::ostream* out) {
    *out << static_cast<int>(o.kind) << o.bytes << (o.tone == grid::Tone::kNotice ? 'b' : 'r')
         << o.column << (o.emptiesSecondParameter ? "e '" : " '") << o.message << "'";
}

namespace {

constexpr std::string_view kExampleSummary =
    "Η Συμβολομετάφραση ολοκληρώθηκε.\nΕπεξεργάστηκαν Συνολικά:3 γραμμές.\nΣυνολικός Αριθμός "
    "Bytes:6\n\nΘέλετε να δείτε τα περιεχόμενα της μνήμης;";
constexpr int U = 0x77;  // a cell the pass never wrote

using namespace app::testing;

const std::string kSyntax = "Λάθος στην σύνταξη!", kRange = "Διεύθυνση μνήμης εκτός ορίου",
                  kThrows = "throws";
const Line kFirstLine = {"", "0200", "LDA", "#01"};

// Each case: the program's rows (row count covering them unless given), the dialog or a
// conversion error, memory from `at` afterwards, and the line at fault with the cell the student
// is taken to after the box (the operand for a distance or operand syntax error, the address for
// an address out of range); a line that fails to convert is told, its cell is not.
TEST(Assemble, TranslatesUpToTheFirstFaultAndWritesNothingPastIt) {
    constexpr int I = grid::kInstructionColumn, P = grid::kFirstParameterColumn,
                  A = grid::kAddressColumn;
    struct Case {
        const char* name;
        std::vector<Line> rows;
        std::string kind, text;
        int at;
        std::vector<int> memory;
        int faultRow = 0, faultColumn = 0, rowCount = 0;
    };
    // clang-format off
    const Case cases[] = {
        {"example", {{"", "0200", "LDA", "#05"}, {"", "0202", "STA", "0300"}, {"", "0205", "BRK"}, {"", "0206", ""}}, "summary", std::string(kExampleSummary), 0x1FF, {U, 0xA9, 0x05, 0x8D, 0x00, 0x03, 0x00, U}},
        {"empty index is X", {{"", "0200", "LDA", "12ab,"}, {"", "0203", ""}}, "summary", SummaryText(1, 3), 0x200, {0xBD, 0xAB, 0x12, U}},
        {"absolute Y", {{"", "0200", "LDX", "1234,", "Y"}, {"", "0203", ""}}, "summary", SummaryText(1, 3), 0x200, {0xBE, 0x34, 0x12, U}},
        {"zero page Y", {{"", "0200", "LDX", "45,", "Y"}, {"", "0202", ""}}, "summary", SummaryText(1, 2), 0x200, {0xB6, 0x45, U}},
        {"zero page X", {{"", "0200", "STA", "45,", "X"}, {"", "0202", ""}}, "summary", SummaryText(1, 2), 0x200, {0x95, 0x45, U}},
        {"indirect X", {{"", "0200", "LDA", "(45,", "X)"}, {"", "0202", ""}}, "summary", SummaryText(1, 2), 0x200, {0xA1, 0x45, U}},
        {"accumulator", {{"", "0200", "ASL", "A"}, {"", "0201", ""}}, "summary", SummaryText(1, 1), 0x200, {0x0A, U}},
        {"branch +127", {{"", "1000", "BPL", "LOOP"}, {"", "1002", ""}, {"LOOP", "1081", ""}}, "summary", SummaryText(1, 2), 0x1000, {0x10, 0x7F}},
        {"branch -128", {{"", "1000", "BMI", "LOOP"}, {"", "1002", ""}, {"LOOP", "0F82", ""}}, "summary", SummaryText(1, 2), 0x1000, {0x30, 0x80}},
        {"branch +128", {{"", "1000", "BVS", "LOOP"}, {"", "1002", ""}, {"LOOP", "1082", ""}}, "error", kRange, 0x1000, {U}, 1, P},
        {"branch -129", {{"", "1000", "BVC", "LOOP"}, {"", "1002", ""}, {"LOOP", "0F81", ""}}, "error", kRange, 0x1000, {U}, 1, P},
        {"branch to L-1", {{"", "1000", "BCC", "L-1"}, {"", "1002", ""}, {"L-1", "1001", ""}}, "summary", SummaryText(1, 2), 0x1000, {0x90, 0xFF}},
        {"jump -128", {{"", "1000", "JMP", "LOOP"}, {"", "1003", ""}, {"LOOP", "0F83", ""}}, "summary", SummaryText(1, 3), 0x1000, {0x4C, 0x80, 0x00}},
        {"jump +200", {{"", "1000", "JMP", "LOOP"}, {"", "1003", ""}, {"LOOP", "10CB", ""}}, "error", kRange, 0x1000, {U}, 1, P},
        {"lower case", {kFirstLine, {"", "0202", "lda", "#05"}, {"", "0204", ""}}, "warning", kSyntax, 0x200, {0xA9, 0x01, U, U}, 2, I},
        {"no such mode", {kFirstLine, {"", "0202", "STA", "#45"}, {"", "0204", ""}}, "warning", kSyntax, 0x200, {0xA9, 0x01, U, U}, 2, P},
        {"jump to L-1", {kFirstLine, {"", "0202", "JMP", "L-1"}, {"L-1", "0205", ""}}, "warning", kSyntax, 0x200, {0xA9, 0x01, U, U}, 2, P},
        {"no label", {kFirstLine, {"", "0202", "BNE", "LOOP"}, {"", "0204", ""}}, "warning", "Η ετικέτα 'LOOP' δεν βρέθηκε", 0x200, {0xA9, 0x01, U, U}, 2, P},
        {"empty label", {kFirstLine, {"", "0202", "BNE", ""}, {"", "0204", ""}}, "warning", "Η ετικέτα '' δεν βρέθηκε", 0x200, {0xA9, 0x01, U, U}, 2, P},
        {"no address", {kFirstLine, {"", "", "NOP"}, {"", "0203", ""}}, kThrows, "", 0x200, {0xA9, 0x01, U}, 2},
        {"label as hex", {kFirstLine, {"", "0202", "JSR", "LOOP"}, {"LOOP", "0205", ""}}, kThrows, "", 0x200, {0xA9, 0x01, U}, 2},
        {"no next address", {kFirstLine, {"", "0202", "BNE", "0300"}, {"", "", ""}}, kThrows, "", 0x200, {0xA9, 0x01, U}, 2},
        {"bad label address", {kFirstLine, {"", "0202", "BNE", "LOOP"}, {"LOOP", "XYZ", ""}}, kThrows, "", 0x200, {0xA9, 0x01, U}, 2},
        {"ends at FFFF", {{"", "FFFD", "LDA", "EA12"}, {"", "", ""}}, "summary", SummaryText(1, 3), 0xFFFD, {0xAD, 0x12, 0xEA}},
        {"past FFFF", {{"", "FFFE", "LDA", "1234"}, {"", "", ""}}, "error", kRange, 0xFFFE, {U, U}, 1, A},
        {"past 10000", {{"", "10002", "NOP"}, {"", "", ""}}, "error", kRange, 0, {U, U, U}, 1, A},
        {"FFFFFFFF", {{"", "FFFFFFFF", "NOP"}, {"", "", ""}}, "error", kRange, 0xFFFF, {U}, 1, A},
        {"nothing", {{"", "", ""}}, "summary", SummaryText(0, 0), 0x200, {U}},
        {"stops at empty row", {{"", "0200", "NOP"}, {"", "0201", ""}, {"", "0201", "NOP"}}, "summary", SummaryText(1, 1), 0x200, {0xEA, U}},
        {"stops at table end", {{"", "0200", "NOP"}, {"", "0201", "NOP"}}, "summary", SummaryText(1, 1), 0x200, {0xEA, U}, 0, 0, 2},
        {"bytes span the gap", {{"", "0200", "NOP"}, {"", "0300", "NOP"}, {"", "0301", ""}}, "summary", SummaryText(2, 0x101), 0x200, {0xEA, U}},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        grid::Workspace workspace = app::testing::WorkspaceWith(c.rows);
        if (c.rowCount) workspace.grid.SetRowCount(c.rowCount);
        cpu::Machine& machine = workspace.machine;
        machine.memory.fill(U);
        std::string kind = kThrows;
        AssemblyResult result;
        int line = 0;
        try {
            result = Assemble(workspace.grid, machine, &line);
            const char* kinds[] = {"summary", "warning", "error"};
            kind = kinds[static_cast<int>(result.kind)];
            EXPECT_EQ(std::pair(result.row, result.column), std::pair(c.faultRow, c.faultColumn));
        } catch (const text::ConversionError&) {
            EXPECT_EQ(line, c.faultRow);
        }
        EXPECT_EQ(kind, c.kind);
        EXPECT_EQ(result.text, c.text);
        if (kind == "summary") EXPECT_EQ(SummaryText(result.lines, result.bytes), c.text);
        // Only a line without an instruction above lines that have one is told in blue.
        const bool stopped = std::string_view(c.name) == "stops at empty row";
        EXPECT_EQ(result.notice, stopped
                                     ? "Η συμβολομετάφραση σταμάτησε στη γραμμή 2, που δεν έχει "
                                       "εντολή· οι γραμμές από κάτω δεν μεταφράστηκαν."
                                     : "");
        const auto from = machine.memory.begin() + c.at;
        EXPECT_EQ(std::vector<int>(from, from + static_cast<long>(c.memory.size())), c.memory);
    }
}

TEST(LineChecker, AddressCheckGivesThreeDifferentRefusalsAndNeverChangesTheAddress) {
    // clang-format off
    const std::pair<const char*, const char*> cases[] = {  // address, refusal ("": accepted)
        {"ffFF", ""},
        {"02000", "Η διεύθυνση δέχεται μόνο τέσσερα δεκαεξαδικά ψηφία."},
        {"02G0", "Λάθος διεύθυνση. Δεκτά μόνο τέσσερα δεκαεξαδικά ψηφ'ια."},
        {"ΑΒΓΔ", "Λάθος διεύθυνση. Δεκτά μόνο τέσσερα δεκαεξαδικά ψηφ'ια."},  // four characters (eight bytes): not too long
    };
    // clang-format on
    for (const auto& [address, message] : cases) {
        grid::Workspace workspace = WorkspaceWith({{"", address, "", "", "", ""}});
        CheckAddress(workspace);
        EXPECT_EQ(workspace.message.text, message) << address;
        EXPECT_EQ(workspace.grid.Col(), *message ? grid::kAddressColumn : grid::kInstructionColumn);
        EXPECT_EQ(workspace.grid.Cell(grid::kAddressColumn, 1), address);
    }
}

// The parameters right of the cursor are emptied; a row is added only on the last row.
TEST(LineChecker, FinishLineWritesTheNextAddressAndMovesToItsInstruction) {
    // clang-format off
    const struct { const char* address; int bytes, column, row; const char* line; const char* nextAddress; const char* cursor; } cases[] = {
        {"0200", 3, 3, 1, "|0200|LDA|#05||", "0203", "2,2/3"},
        {"0200", 1, 2, 1, "|0200|LDA|||", "0201", "2,2/3"},  // as for an implied instruction
        {"FFFF", 3, 4, 2, "|FFFF|LDA|#05|X|", "10002", "2,3/4"},  // five digits past FFFF
        {"FFFFFFFF", 1, 3, 2, "|FFFFFFFF|LDA|#05||", "0000", "2,3/4"},  // the platform's 32-bit arithmetic wraps
    };
    // clang-format on
    for (const auto& c : cases) {
        const Line line = {"", c.address, "LDA", "#05", "X", ""};
        grid::Workspace workspace = WorkspaceWith({line, line});
        workspace.grid.SetCurrent(c.column, c.row);
        FinishLine(workspace, c.bytes);
        EXPECT_EQ(RowText(workspace, c.row), c.line) << c.address;
        EXPECT_EQ(workspace.grid.Cell(grid::kAddressColumn, c.row + 1), c.nextAddress) << c.address;
        EXPECT_EQ(Cursor(workspace), c.cursor) << c.address;
    }
}

TEST(LineChecker, RecomputeRewritesFromTheCursorDownToTheFirstLineWithoutInstruction) {
    // Row 2 is the cursor's; LDA 1234567 has no form (0 bytes); the rows below the gap stay.
    // clang-format off
    grid::Workspace workspace = WorkspaceWith({
        {"", "0100", "LDA", "#05", "", ""}, {"", "0200", "LDA", "1234", "", ""}, {"", "9999", "STA", "45,", "X", ""},
        {"", "9999", "ASL", "A", "", ""}, {"", "9999", "LDA", "1234567", "", ""}, {"", "9999", "BNE", "LOOP", "", ""},
        {"", "9999", "", "", "", ""}, {"", "7777", "NOP", "", "", ""}, {"", "7777", "", "", "", ""},
    });
    const std::vector<std::string> expected = {"0100", "0200", "0203", "0205", "0206", "0206", "0208", "7777", "7777"};
    // clang-format on
    workspace.grid.SetRow(2);
    RecomputeAddresses(workspace);
    EXPECT_EQ(AddressColumn(workspace, 1, 9), expected);
    // A line without address fails before writing anything below it.
    workspace.grid.SetCell(grid::kAddressColumn, 2, "");
    EXPECT_THROW(RecomputeAddresses(workspace), text::ConversionError);
    EXPECT_EQ(workspace.grid.Cell(grid::kAddressColumn, 3), "0203");
}

constexpr std::string_view kFourHexDigits = "Λάθος σύνταξη! Δεκτά μόνο 4 δεκαεξαδικά ψηφία.";
constexpr std::string_view kIndexedWrong = "Μη Δεκαεξαδικά ψηφία ή Λάθος Διευθυνσιοδότηση.";
constexpr std::string_view kNoSuchInstruction = " Εντολή Ανύπαρκτη.";

using Kind = LineOutcome::Kind;

const auto F = [](int b) {
    return LineOutcome{Kind::kFinishLine, b, "", 0, grid::Tone::kError, false};
};
const auto N = [](int b) {
    return LineOutcome{Kind::kNextParameter, b, "", 0, grid::Tone::kError, false};
};
LineOutcome Red(std::string_view message, int column = grid::kFirstParameterColumn,
                bool empties = false, grid::Tone tone = grid::Tone::kError) {
    return {Kind::kMessage, 0, std::string(message), column, tone, empties};
}

TEST(CheckParameters, YieldEveryStepsOutcomeInOrder) {
    const int kInstruction = grid::kInstructionColumn, kFirst = grid::kFirstParameterColumn,
              k = grid::kSecondParameterColumn;
    // clang-format off
    const struct {
        const char *instruction, *first, *second;  // no second: the first parameter's check
        std::vector<LineOutcome> outcomes;         // in order: the last one decides
    } cases[] = {
        {"BNE", "L-1", nullptr, {F(2)}},
        {"BEQ", "", nullptr, {}},
        {"JMP", "(1234)", nullptr, {F(3)}},
        {"JSR", "LOOP", nullptr, {Red(kFourHexDigits)}},
        {"JSR", "PRINTS", nullptr, {Red(kFourHexDigits)}},
        {"JSR", "DELAY", nullptr, {Red(kFourHexDigits)}},
        {"LDA", "1234567", nullptr, {Red("Άκυρη Μέθοδος Προσπέλασης.")}},
        {"LDA", "(ΑΒΓΔ)", nullptr, {Red("Μη Δεκαεξαδικά ψηφία ανάμεσα στις παρενθέσεις ή Λάθος Διευθυνσιοδότηση.")}},  // six characters, not six bytes
        {"NOP", "", nullptr, {F(1)}},
        {"LDA", "", nullptr, {Red("Δώστε την πρώτη παράμετρο.", kFirst, false, grid::Tone::kNotice)}},
        {"ASL", "A", nullptr, {F(1)}},
        {"LDA", "A", nullptr, {Red("Λάθος Σύνταξη. Η εντολή αυτή δεν δέχεται καταχωρητή Α.")}},
        {"LDA", "Α", nullptr, {Red("Λάθος Σύνταξη. Δεκτός μόνο ο καταχωρητής Α(english)."), Red("Λάθος Σύνταξη. Η εντολή αυτή δεν δέχεται καταχωρητή Α.")}},  // Greek alpha
        {"LDA", "4g", nullptr, {Red("Μη δεκαεξαδικό ψηφίο ή Λάθος διευθυνσιοδότηση.")}},
        {"LDA", "#ff", nullptr, {F(2)}},
        {"LDA", "#G1", nullptr, {Red("Λάθος σύνταξη! Μετα την δίεση '#' δεκτά μόνο δεκαεξαδικά ψηφία."), Red("Λάθος σύνταξη! Παραδείγματα σύνταξης '#45' '#6C' 'B5,' '90,' ")}},
        {"STA", "#45", nullptr, {Red("Λάθος σύνταξη! Μετα την δίεση '#' δεκτά μόνο δεκαεξαδικά ψηφία."), Red("Λάθος διευθυνσιοδότηση.")}},
        {"LDA", "456", nullptr, {Red("Λάθος σύνταξη! Χρειάζεται δίεση '#'."), Red("Λάθος σύνταξη! Χρειάζεται κόμμα ','.")}},
        {"STA", "45,", nullptr, {Red("Λάθος διευθυνσιοδότηση."), Red("Λάθος σύνταξη! Παραδείγματα σύνταξης '#45' '#6C' 'B5,' '90,'"), N(2)}},
        {"LDA", "4G,", nullptr, {Red("Λάθος σύνταξη! Παραδείγματα σύνταξης '#45' '#6C' 'B5,' '90,'"), Red("Λάθος σύνταξη εντολής, ή πριν το κόμμα ',' δεκτά μόνο δεκαεξαδικά ψηφία.")}},
        {"LDA", "12ab", nullptr, {F(3)}},
        {"LDA", "(45,", nullptr, {Red(kFourHexDigits), N(2)}},
        {"STX", "(45,", nullptr, {Red(kFourHexDigits), Red("Λάθος σύνταξη! Ανάμεσα σε παρένθεση και κόμμα δεκτά μόνο δεκαεξαδικά ψηφία.")}},
        {"LDA", "[45]", nullptr, {Red(kFourHexDigits), Red("Λάθος σύνταξη! Σωστή σύνταξη (aa, και μετά Χ).")}},
        {"LDX", "1234,", nullptr, {N(3)}},
        {"LDA", "1G34,", nullptr, {Red("Λάθος σύνταξη! Πριν το κόμμα ',' δεκτά μόνο 4 δεκαεξαδικά ψηφία.")}},
        {"LDA", "(45),", nullptr, {Red(kIndexedWrong), N(2)}},
        {"STX", "(45),", nullptr, {Red(kIndexedWrong), Red("Μη Δεκαεξαδικά ψηφία ανάμεσα στις παρενθέσεις ή Λάθος Διευθυνσιοδότηση.")}},
        {"LDA", "[45],", nullptr, {Red(kIndexedWrong), Red("Λάθος σύνταξη! Χρειάζονται παρενθέσεις στην πρώτη και τρίτη θέση.")}},
        {"LDA", "GHIJK", nullptr, {Red("Λάθος σύνταξη! Σωστές μορφές σύνταξης aaaa, X ή (aa), X. Όπου a->Δεκαεξαδικά Ψηφία.")}},
        {"LDA", "12345", nullptr, {}},
        {"LDA", "123456", nullptr, {Red("Λάθος σύνταξη! Σωστή σύνταξη: (aaaa) Όπου a->Δεκαεξαδικά Ψηφία.")}},
        {"ASL", "1234,", "Y", {F(3)}},  // whether the form exists is the assembly pass's concern
        {"LDA", "1234,", "Χ", {Red("Αναμένεται Χ ή Υ (english) μετά τα τέσσερα δεκαεξαδικά.", k)}},  // Greek chi
        {"LDA", "45,", "", {Red("Αναμένεται Χ ή Υ (english) μετά τα δύο δεκαεξαδικά.", k)}},
        {"LDA", "(45,", "X)", {F(2)}},
        {"LDA", "(45),", "Y", {F(2)}},
        {"LDA", "(45),", "Y)", {Red("Αναμένεται Υ) (english) μετά τα δύο δεκαεξαδικά.", k)}},
        {"XYZ", "45,", "X", {Red("'XYZ'" + std::string(kNoSuchInstruction), kInstruction)}},
    };
    // clang-format on
    for (const auto& c : cases) {
        EXPECT_EQ(c.second ? CheckSecondParameter(c.instruction, c.first, c.second)
                           : CheckFirstParameter(c.instruction, c.first),
                  c.outcomes)
            << c.instruction << " " << c.first << " " << (c.second ? c.second : "");
    }
}

TEST(ClassifyOperand, NamesTheAddressingModeFromTheFirstParameter) {
    const std::tuple<const char*, const char*, int> cases[] = {
        {"", "BNE", 12},       {"LOOP", "BNE", 12},  {"1234-", "BPL", 12},   {"L-1", "BNE", -1},
        {"Βρόχος", "BNE", -1}, {"", "JMP", 2},       {"(1234)", "JMP", -1},  {"L-1", "JSR", -1},
        {"", "NOP", 4},        {"A", "ASL", 13},     {"ΑΒ", "LDA", 3},       {"#05", "LDA", 1},
        {"45,", "LDA", 8},     {"(ΑΒ,", "LDA", 10},  {"1234", "LDA", 2},     {"(45),", "LDA", 11},
        {"1234,", "LDA", 6},   {"(1234)", "LDA", 5}, {"1234567", "LDA", -1}, {"#05", "lda", 1}};
    for (const auto& [first, instruction, operandClass] : cases)
        EXPECT_EQ(ClassifyOperand(first, instruction), operandClass) << first;
}

TEST(ResolveOperand, HexIsAnAddressAndAnythingElseTheFirstLabelWithAnAddress) {
    grid::ProgramGrid grid;
    grid.SetRowCount(6);
    const char* cells[][2] = {{"HEAD", "0100"}, {"CAFE", "0200"}, {"LOOP", ""},
                              {"LOOP", "0203"}, {"LOOP", "0205"}, {"Βρόχος", "0207"},
                              {"END", "0209"}};  // row 0 is the header, row 6 beyond the table
    for (int row = 0; row < 7; ++row) {
        grid.SetCell(grid::kLabelColumn, row, cells[row][0]);
        grid.SetCell(grid::kAddressColumn, row, cells[row][1]);
    }
    const std::pair<const char*, const char*> cases[] = {
        {"CAFE", "CAFE"}, {"0300", "0300"}, {"", ""},           {"LOOP", "0203"},
        {"loop", ""},     {"HEAD", ""},     {"Βρόχος", "0207"}, {"END", ""}};
    for (const auto& [text, address] : cases) {
        EXPECT_EQ(ResolveOperand(grid, text), address) << text;
        EXPECT_EQ(OperandResolver(grid).Resolve(text), address) << text;
    }
}

}  // namespace
}  // namespace zorvan::assembler
