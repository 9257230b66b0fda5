#include "asm/operand_syntax.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <tuple>
#include <vector>

#include "grid/program_grid.h"

namespace zorvan::assembler {

// Readable failures: kind, bytes, tone and column, message.
void PrintTo(const LineOutcome& o, std::ostream* out) {
    *out << static_cast<int>(o.kind) << o.bytes << (o.tone == grid::Tone::kNotice ? 'b' : 'r')
         << o.column << (o.emptiesSecondParameter ? "e '" : " '") << o.message << "'";
}

namespace {

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
        {"1234,", "LDA", 6},   {"(1234)", "LDA", 5}, {"1234567", "LDA", -1}, {"#05", "lda", 1},
    };
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
        {"loop", ""},     {"HEAD", ""},     {"Βρόχος", "0207"}, {"END", ""},
    };
    for (const auto& [text, address] : cases) {
        EXPECT_EQ(ResolveOperand(grid, text), address) << text;
        EXPECT_EQ(OperandResolver(grid).Resolve(text), address) << text;
    }
}

}  // namespace
}  // namespace zorvan::assembler
