#include "asm/operand_syntax.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/program_grid.h"

namespace zorvan::assembler {
namespace {

constexpr std::string_view kOnlyAccumulator =
    "Λάθος Σύνταξη. Δεκτός μόνο ο καταχωρητής Α(english).";
constexpr std::string_view kNoAccumulator =
    "Λάθος Σύνταξη. Η εντολή αυτή δεν δέχεται καταχωρητή Α.";
constexpr std::string_view kHexAfterHash =
    "Λάθος σύνταξη! Μετα την δίεση '#' δεκτά μόνο δεκαεξαδικά ψηφία.";
constexpr std::string_view kWrongAddressing = "Λάθος διευθυνσιοδότηση.";
constexpr std::string_view kExamples =
    "Λάθος σύνταξη! Παραδείγματα σύνταξης '#45' '#6C' 'B5,' '90,'";
constexpr std::string_view kHexBeforeComma =
    "Λάθος σύνταξη εντολής, ή πριν το κόμμα ',' δεκτά μόνο δεκαεξαδικά ψηφία.";
constexpr std::string_view kExamplesSpaced =
    "Λάθος σύνταξη! Παραδείγματα σύνταξης '#45' '#6C' 'B5,' '90,' ";
constexpr std::string_view kFourHexDigits = "Λάθος σύνταξη! Δεκτά μόνο 4 δεκαεξαδικά ψηφία.";
constexpr std::string_view kIndexedWrong = "Μη Δεκαεξαδικά ψηφία ή Λάθος Διευθυνσιοδότηση.";
constexpr std::string_view kHexBetweenParentheses =
    "Μη Δεκαεξαδικά ψηφία ανάμεσα στις παρενθέσεις ή Λάθος Διευθυνσιοδότηση.";
constexpr std::string_view kNoSuchInstruction = " Εντολή Ανύπαρκτη.";

using Kind = LineOutcome::Kind;

const auto F = [](int bytes) { return LineOutcome{Kind::kFinishLine, bytes, "", 0, 'r', false}; };
const auto N = [](int bytes) {
    return LineOutcome{Kind::kNextParameter, bytes, "", 0, 'r', false};
};
LineOutcome Red(std::string_view message, int column = app::kFirstParameterColumn,
                bool empties = false, char colour = 'r') {
    return {Kind::kMessage, 0, std::string(message), column, colour, empties};
}

// Readable failures: one bracket per outcome.
std::string Describe(const std::vector<LineOutcome>& outcomes) {
    const char* kinds[] = {"finish ", "next ", "message "};
    std::string text;
    for (const LineOutcome& o : outcomes) {
        text += "[" + std::string(kinds[static_cast<int>(o.kind)]) + std::to_string(o.bytes) + " " +
                o.colour + std::to_string(o.column) + " '" + o.message + "'" +
                (o.emptiesSecondParameter ? " empties]" : "]");
    }
    return text;
}

TEST(CheckFirstParameter, YieldsEveryStepsOutcomeInOrder) {
    const std::string noSuchLda = "'lda'" + std::string(kNoSuchInstruction);
    const struct {
        const char* instruction;
        const char* parameter;
        std::vector<LineOutcome> outcomes;  // in order: the last one decides
    } cases[] = {
        {"BNE", "L-1", {F(2)}},
        {"BEQ", "", {}},
        {"JMP", "(1234)", {F(3)}},
        {"JMP", "", {}},
        {"JSR", "LOOP", {Red(kFourHexDigits)}},
        {"JSR", "FFD2", {F(3)}},
        {"LDA", "1234567", {Red("Άκυρη Μέθοδος Προσπέλασης.")}},
        {"LDA", "(ΑΒΓΔ)", {Red(kHexBetweenParentheses)}},  // six characters, not six bytes
        {"NOP", "", {F(1)}},
        {"LDA", "", {Red("Δώστε την πρώτη παράμετρο.", app::kFirstParameterColumn, false, 'b')}},
        {"ASL", "A", {F(1)}},
        {"LDA", "A", {Red(kNoAccumulator)}},
        {"ASL", "B", {Red(kOnlyAccumulator)}},
        {"LDA", "Α", {Red(kOnlyAccumulator), Red(kNoAccumulator)}},  // Greek capital alpha
        {"LDA", "4g", {Red("Μη δεκαεξαδικό ψηφίο ή Λάθος διευθυνσιοδότηση.")}},
        {"LDA", "#ff", {F(2)}},
        {"LDA", "#4G", {Red(kHexAfterHash)}},
        {"LDA", "#G1", {Red(kHexAfterHash), Red(kExamplesSpaced)}},
        {"STA", "#45", {Red(kHexAfterHash), Red(kWrongAddressing)}},
        {"LDA",
         "456",
         {Red("Λάθος σύνταξη! Χρειάζεται δίεση '#'."),
          Red("Λάθος σύνταξη! Χρειάζεται κόμμα ','.")}},
        {"STA", "45,", {Red(kWrongAddressing), Red(kExamples), N(2)}},
        {"LDA", "4G,", {Red(kExamples), Red(kHexBeforeComma)}},
        {"CPX", "45,", {Red(kExamples), Red(kHexBeforeComma)}},
        {"LDY", "ZZZ", {Red(kExamples), Red(kExamplesSpaced)}},
        {"LDA", "12ab", {F(3)}},
        {"CLC", "1234", {Red(kWrongAddressing)}},
        {"LDA", "(45,", {Red(kFourHexDigits), N(2)}},
        {"STX",
         "(45,",
         {Red(kFourHexDigits),
          Red("Λάθος σύνταξη! Ανάμεσα σε παρένθεση και κόμμα δεκτά μόνο δεκαεξαδικά ψηφία.")}},
        {"LDA",
         "[45]",
         {Red(kFourHexDigits), Red("Λάθος σύνταξη! Σωστή σύνταξη (aa, και μετά Χ).")}},
        {"LDX", "1234,", {N(3)}},
        {"STY", "1234,", {Red(kIndexedWrong)}},
        {"LDA", "1G34,", {Red("Λάθος σύνταξη! Πριν το κόμμα ',' δεκτά μόνο 4 δεκαεξαδικά ψηφία.")}},
        {"LDA", "(45),", {Red(kIndexedWrong), N(2)}},
        {"STX", "(45),", {Red(kIndexedWrong), Red(kHexBetweenParentheses)}},
        {"LDA",
         "[45],",
         {Red(kIndexedWrong),
          Red("Λάθος σύνταξη! Χρειάζονται παρενθέσεις στην πρώτη και τρίτη θέση.")}},
        {"LDA",
         "GHIJK",
         {Red("Λάθος σύνταξη! Σωστές μορφές σύνταξης aaaa, X ή (aa), X. Όπου a->Δεκαεξαδικά "
              "Ψηφία.")}},
        {"LDA", "12345", {}},
        {"LDA", "(1234)", {Red(kHexBetweenParentheses)}},
        {"LDA", "123456", {Red("Λάθος σύνταξη! Σωστή σύνταξη: (aaaa) Όπου a->Δεκαεξαδικά Ψηφία.")}},
        {"lda", "#05", {Red(noSuchLda, app::kInstructionColumn)}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Describe(CheckFirstParameter(c.instruction, c.parameter)), Describe(c.outcomes))
            << c.instruction << " " << c.parameter;
    }
}

TEST(CheckSecondParameter, AcceptsTheIndexThatTheFirstParameterCallsFor) {
    constexpr int kColumn = app::kSecondParameterColumn;
    const LineOutcome refused = Red("Άκυρη διευθυνσιοδότηση.", kColumn, true);
    const struct {
        const char* instruction;
        const char* first;
        const char* second;
        LineOutcome outcome;
    } cases[] = {
        {"ASL", "1234,", "Y", F(3)},  // whether the form exists is the assembly pass's concern
        {"LDA", "1234,", "Χ",
         Red("Αναμένεται Χ ή Υ (english) μετά τα τέσσερα δεκαεξαδικά.", kColumn)},  // Greek chi
        {"LDX", "45,", "Y", F(2)},
        {"LDA", "45,", "", Red("Αναμένεται Χ ή Υ (english) μετά τα δύο δεκαεξαδικά.", kColumn)},
        {"LDA", "(45,", "X)", F(2)},
        {"LDA", "(45,", "X", Red("Αναμένεται Χ) (english) μετά τα δύο δεκαεξαδικά.", kColumn)},
        {"LDA", "(45),", "Y", F(2)},
        {"LDA", "(45),", "Y)", Red("Αναμένεται Υ) (english) μετά τα δύο δεκαεξαδικά.", kColumn)},
        {"LDA", "#05", "X", refused},
        {"LDA", "1234567", "X", refused},
        {"BNE", "LOOP", "X", refused},
        {"XYZ", "45,", "X", Red("'XYZ'" + std::string(kNoSuchInstruction), 2)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Describe(CheckSecondParameter(c.instruction, c.first, c.second)),
                  Describe({c.outcome}))
            << c.instruction << " " << c.first << " " << c.second;
    }
}

TEST(ClassifyOperand, NamesTheAddressingModeFromTheFirstParameter) {
    const struct {
        const char* first;
        const char* instruction;
        int operandClass;
    } cases[] = {
        {"", "BNE", 12},       {"LOOP", "BNE", 12},  {"1234-", "BPL", 12},   {"L-1", "BNE", -1},
        {"Βρόχος", "BNE", -1}, {"", "JMP", 2},       {"(1234)", "JMP", -1},  {"L-1", "JSR", -1},
        {"", "NOP", 4},        {"A", "ASL", 13},     {"ΑΒ", "LDA", 3},       {"#05", "LDA", 1},
        {"45,", "LDA", 8},     {"(ΑΒ,", "LDA", 10},  {"1234", "LDA", 2},     {"(45),", "LDA", 11},
        {"1234,", "LDA", 6},   {"(1234)", "LDA", 5}, {"1234567", "LDA", -1}, {"#05", "lda", 1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ClassifyOperand(c.first, c.instruction), c.operandClass)
            << c.instruction << " " << c.first;
    }
    const int bytes[] = {0, 0, 2, 3, 2, 1, 3, 3, 0, 2, 0, 2, 2, 2, 1, 0};  // classes -1 to 14
    for (int operandClass = -1; operandClass <= 14; ++operandClass) {
        EXPECT_EQ(OperandClassByteCount(operandClass), bytes[operandClass + 1]) << operandClass;
    }
}

TEST(ResolveOperand, HexIsAnAddressAndAnythingElseTheFirstLabelWithAnAddress) {
    app::ProgramGrid grid;
    grid.SetRowCount(6);
    const char* cells[][2] = {{"HEAD", "0100"}, {"CAFE", "0200"}, {"LOOP", ""},
                              {"LOOP", "0203"}, {"LOOP", "0205"}, {"Βρόχος", "0207"},
                              {"END", "0209"}};  // row 0 is the header, row 6 beyond the table
    for (int row = 0; row < 7; ++row) {
        grid.SetCell(app::kLabelColumn, row, cells[row][0]);
        grid.SetCell(app::kAddressColumn, row, cells[row][1]);
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
