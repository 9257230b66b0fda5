#include "asm/operand_syntax.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/program_grid.h"

namespace zorvan::assembler {
namespace {

constexpr std::string_view kInvalidAccessMethod = "Άκυρη Μέθοδος Προσπέλασης.";
constexpr std::string_view kGiveFirstParameter = "Δώστε την πρώτη παράμετρο.";
constexpr std::string_view kOnlyAccumulator =
    "Λάθος Σύνταξη. Δεκτός μόνο ο καταχωρητής Α(english).";
constexpr std::string_view kNoAccumulator =
    "Λάθος Σύνταξη. Η εντολή αυτή δεν δέχεται καταχωρητή Α.";
constexpr std::string_view kZeroPageWrong = "Μη δεκαεξαδικό ψηφίο ή Λάθος διευθυνσιοδότηση.";
constexpr std::string_view kHexAfterHash =
    "Λάθος σύνταξη! Μετα την δίεση '#' δεκτά μόνο δεκαεξαδικά ψηφία.";
constexpr std::string_view kWrongAddressing = "Λάθος διευθυνσιοδότηση.";
constexpr std::string_view kHashNeeded = "Λάθος σύνταξη! Χρειάζεται δίεση '#'.";
constexpr std::string_view kExamples =
    "Λάθος σύνταξη! Παραδείγματα σύνταξης '#45' '#6C' 'B5,' '90,'";
constexpr std::string_view kHexBeforeComma =
    "Λάθος σύνταξη εντολής, ή πριν το κόμμα ',' δεκτά μόνο δεκαεξαδικά ψηφία.";
constexpr std::string_view kCommaNeeded = "Λάθος σύνταξη! Χρειάζεται κόμμα ','.";
constexpr std::string_view kExamplesSpaced =
    "Λάθος σύνταξη! Παραδείγματα σύνταξης '#45' '#6C' 'B5,' '90,' ";
constexpr std::string_view kFourHexDigits = "Λάθος σύνταξη! Δεκτά μόνο 4 δεκαεξαδικά ψηφία.";
constexpr std::string_view kHexBetweenParenthesisAndComma =
    "Λάθος σύνταξη! Ανάμεσα σε παρένθεση και κόμμα δεκτά μόνο δεκαεξαδικά ψηφία.";
constexpr std::string_view kIndirectXForm = "Λάθος σύνταξη! Σωστή σύνταξη (aa, και μετά Χ).";
constexpr std::string_view kFourHexBeforeComma =
    "Λάθος σύνταξη! Πριν το κόμμα ',' δεκτά μόνο 4 δεκαεξαδικά ψηφία.";
constexpr std::string_view kIndexedWrong = "Μη Δεκαεξαδικά ψηφία ή Λάθος Διευθυνσιοδότηση.";
constexpr std::string_view kHexBetweenParentheses =
    "Μη Δεκαεξαδικά ψηφία ανάμεσα στις παρενθέσεις ή Λάθος Διευθυνσιοδότηση.";
constexpr std::string_view kParenthesesNeeded =
    "Λάθος σύνταξη! Χρειάζονται παρενθέσεις στην πρώτη και τρίτη θέση.";
constexpr std::string_view kIndexedForms =
    "Λάθος σύνταξη! Σωστές μορφές σύνταξης aaaa, X ή (aa), X. Όπου a->Δεκαεξαδικά Ψηφία.";
constexpr std::string_view kIndirectForm =
    "Λάθος σύνταξη! Σωστή σύνταξη: (aaaa) Όπου a->Δεκαεξαδικά Ψηφία.";
constexpr std::string_view kIndexAfterFour =
    "Αναμένεται Χ ή Υ (english) μετά τα τέσσερα δεκαεξαδικά.";
constexpr std::string_view kIndexAfterTwo = "Αναμένεται Χ ή Υ (english) μετά τα δύο δεκαεξαδικά.";
constexpr std::string_view kIndexXParenthesis = "Αναμένεται Χ) (english) μετά τα δύο δεκαεξαδικά.";
constexpr std::string_view kIndexY = "Αναμένεται Υ) (english) μετά τα δύο δεκαεξαδικά.";
constexpr std::string_view kInvalidAddressing = "Άκυρη διευθυνσιοδότηση.";
constexpr std::string_view kNoSuchInstruction = " Εντολή Ανύπαρκτη.";

using Kind = LineOutcome::Kind;

LineOutcome F(int bytes) {
    return {Kind::kFinishLine, bytes, "", 0, 'r', false};
}
LineOutcome N(int bytes) {
    return {Kind::kNextParameter, bytes, "", 0, 'r', false};
}
LineOutcome Red(std::string_view message, int column = app::kFirstParameterColumn) {
    return {Kind::kMessage, 0, std::string(message), column, 'r', false};
}
LineOutcome Blue(std::string_view message) {
    return {Kind::kMessage, 0, std::string(message), app::kFirstParameterColumn, 'b', false};
}

std::string Describe(const std::vector<LineOutcome>& outcomes) {
    std::string text;
    for (const LineOutcome& o : outcomes) {
        switch (o.kind) {
            case Kind::kFinishLine:
                text += "[finish " + std::to_string(o.bytes) + "]";
                break;
            case Kind::kNextParameter:
                text += "[next " + std::to_string(o.bytes) + "]";
                break;
            case Kind::kMessage:
                text += "[" + std::string(1, o.colour) + std::to_string(o.column) + " '" +
                        o.message + "'" + (o.emptiesSecondParameter ? " empties" : "") + "]";
                break;
        }
    }
    return text.empty() ? "[nothing]" : text;
}

struct FirstParameterCase {
    const char* instruction;
    const char* parameter;
    std::vector<LineOutcome> outcomes;  // every outcome in order: the last one decides
};

TEST(CheckFirstParameter, YieldsEveryStepsOutcomeInOrder) {
    const std::vector<FirstParameterCase> cases = {
        // Branch and jump operands may be labels of any spelling; empty does nothing.
        {"BNE", "LOOP", {F(2)}},
        {"BNE", "L-1", {F(2)}},
        {"BEQ", "", {}},
        {"JMP", "LOOP", {F(3)}},
        {"JMP", "(1234)", {F(3)}},
        {"JMP", "", {}},
        // JSR takes only four hex digits.
        {"JSR", "LOOP", {Red(kFourHexDigits)}},
        {"JSR", "FFD2", {F(3)}},
        // Seven characters or more, counted as characters, not bytes.
        {"LDA", "1234567", {Red(kInvalidAccessMethod)}},
        {"LDA", "ΑΒΓΔΕΖΗ", {Red(kInvalidAccessMethod)}},
        {"LDA", "(ΑΒΓΔ)", {Red(kHexBetweenParentheses)}},
        // No operand.
        {"NOP", "", {F(1)}},
        {"LDA", "", {Blue(kGiveFirstParameter)}},
        // One character: only the Latin A, and only where the accumulator form exists.
        {"ASL", "A", {F(1)}},
        {"LDA", "A", {Red(kNoAccumulator)}},
        {"ASL", "B", {Red(kOnlyAccumulator)}},
        {"LDA", "B", {Red(kOnlyAccumulator), Red(kNoAccumulator)}},
        {"ROR", "Α", {Red(kOnlyAccumulator)}},  // Greek capital alpha
        // Two characters: zero page.
        {"LDA", "45", {F(2)}},
        {"LDA", "4g", {Red(kZeroPageWrong)}},
        {"JSR", "45", {Red(kZeroPageWrong)}},
        // Three characters.
        {"LDA", "#ff", {F(2)}},
        {"LDA", "#4G", {Red(kHexAfterHash)}},
        {"LDA", "#G1", {Red(kHexAfterHash), Red(kExamplesSpaced)}},
        {"STA", "#45", {Red(kHexAfterHash), Red(kWrongAddressing)}},
        {"LDA", "456", {Red(kHashNeeded), Red(kCommaNeeded)}},
        {"STA", "45,", {Red(kWrongAddressing), Red(kExamples), N(2)}},
        {"LDA", "4G,", {Red(kExamples), Red(kHexBeforeComma)}},
        {"LDX", "45,", {Red(kExamples), N(2)}},
        {"CPX", "45,", {Red(kExamples), Red(kHexBeforeComma)}},
        {"LDY", "ZZZ", {Red(kExamples), Red(kExamplesSpaced)}},
        {"STX", "456", {Red(kWrongAddressing)}},
        // Four characters.
        {"LDA", "12ab", {F(3)}},
        {"LDA", "12G4", {Red(kFourHexDigits)}},
        {"CLC", "1234", {Red(kWrongAddressing)}},
        {"LDA", "(45,", {Red(kFourHexDigits), N(2)}},
        {"LDA", "(4G,", {Red(kFourHexDigits), Red(kHexBetweenParenthesisAndComma)}},
        {"STX", "(45,", {Red(kFourHexDigits), Red(kHexBetweenParenthesisAndComma)}},
        {"LDA", "[45]", {Red(kFourHexDigits), Red(kIndirectXForm)}},
        // Five characters.
        {"LDA", "1234,", {N(3)}},
        {"LDX", "1234,", {N(3)}},
        {"STY", "1234,", {Red(kIndexedWrong)}},
        {"LDA", "1G34,", {Red(kFourHexBeforeComma)}},
        {"LDA", "(45),", {Red(kIndexedWrong), N(2)}},
        {"LDA", "(4G),", {Red(kFourHexBeforeComma), Red(kHexBetweenParentheses)}},
        {"STX", "(45),", {Red(kIndexedWrong), Red(kHexBetweenParentheses)}},
        {"LDA", "[45],", {Red(kIndexedWrong), Red(kParenthesesNeeded)}},
        {"LDA", "GHIJK", {Red(kIndexedForms)}},
        {"LDA", "12345", {}},
        // Six characters: indirect belongs to JMP alone, which never gets here.
        {"LDA", "(1234)", {Red(kHexBetweenParentheses)}},
        {"LDA", "123456", {Red(kIndirectForm)}},
        {"LDA", "GGGGGG", {}},
        // A row whose instruction is not in the table is refused on the instruction column.
        {"lda", "#05", {Red("'lda'" + std::string(kNoSuchInstruction), app::kInstructionColumn)}},
        {"", "#05", {Red("''" + std::string(kNoSuchInstruction), app::kInstructionColumn)}},
    };
    for (const FirstParameterCase& c : cases) {
        EXPECT_EQ(Describe(CheckFirstParameter(c.instruction, c.parameter)), Describe(c.outcomes))
            << c.instruction << " " << c.parameter;
    }
}

TEST(CheckFirstParameter, TheTwoExampleMessagesDifferOnlyByTheFinalSpace) {
    EXPECT_EQ(std::string(kExamples) + " ", std::string(kExamplesSpaced));
    EXPECT_EQ(CheckFirstParameter("LDY", "ZZZ").back().message.back(), ' ');
}

struct SecondParameterCase {
    const char* instruction;
    const char* first;
    const char* second;
    LineOutcome outcome;
};

LineOutcome Emptied(std::string_view message) {
    LineOutcome outcome = Red(message, app::kSecondParameterColumn);
    outcome.emptiesSecondParameter = true;
    return outcome;
}

TEST(CheckSecondParameter, AcceptsTheIndexThatTheFirstParameterCallsFor) {
    constexpr int kColumn = app::kSecondParameterColumn;
    const std::vector<SecondParameterCase> cases = {
        {"LDA", "1234,", "X", F(3)},
        {"LDX", "1234,", "Y", F(3)},
        {"ASL", "1234,", "Y", F(3)},  // whether the form exists is the assembly pass's concern
        {"LDA", "1234,", "x", Red(kIndexAfterFour, kColumn)},
        {"LDA", "1234,", "Χ", Red(kIndexAfterFour, kColumn)},  // Greek chi
        {"LDA", "1234,", "", Red(kIndexAfterFour, kColumn)},
        {"LDX", "45,", "Y", F(2)},
        {"STA", "45,", "X", F(2)},
        {"LDA", "45,", "Z", Red(kIndexAfterTwo, kColumn)},
        {"LDA", "(45,", "X)", F(2)},
        {"LDA", "(45,", "X", Red(kIndexXParenthesis, kColumn)},
        {"LDA", "(45),", "Y", F(2)},
        {"LDA", "(45),", "Y)", Red(kIndexY, kColumn)},
        {"LDA", "#05", "X", Emptied(kInvalidAddressing)},
        {"LDA", "1234", "X", Emptied(kInvalidAddressing)},
        {"LDA", "1234567", "X", Emptied(kInvalidAddressing)},
        {"BNE", "LOOP", "X", Emptied(kInvalidAddressing)},
        {"ASL", "A", "", Emptied(kInvalidAddressing)},
        {"XYZ", "45,", "X",
         Red("'XYZ'" + std::string(kNoSuchInstruction), app::kInstructionColumn)},
    };
    for (const SecondParameterCase& c : cases) {
        EXPECT_EQ(Describe(CheckSecondParameter(c.instruction, c.first, c.second)),
                  Describe({c.outcome}))
            << c.instruction << " " << c.first << " " << c.second;
    }
}

TEST(ClassifyOperand, NamesTheAddressingModeFromTheFirstParameter) {
    struct Case {
        const char* first;
        const char* instruction;
        int operandClass;
    };
    const Case cases[] = {
        // Branches, JMP and JSR: hex head or an alphanumeric label.
        {"", "BNE", 12},
        {"LOOP", "BNE", 12},
        {"0210", "BCC", 12},
        {"1234-", "BPL", 12},
        {"L-1", "BNE", -1},
        {"Βρόχος", "BNE", -1},
        {"", "JMP", 2},
        {"LOOP", "JMP", 2},
        {"(1234)", "JMP", -1},
        {"", "JSR", 2},
        {"L-1", "JSR", -1},
        // Everything else by length and one character, digits untested.
        {"", "NOP", 4},
        {"A", "ASL", 13},
        {"ZZ", "LDA", 3},
        {"ΑΒ", "LDA", 3},
        {"#05", "LDA", 1},
        {"45,", "LDA", 8},
        {"(45,", "LDA", 10},
        {"(ΑΒ,", "LDA", 10},
        {"1234", "LDA", 2},
        {"(45),", "LDA", 11},
        {"1234,", "LDA", 6},
        {"(1234)", "LDA", 5},
        {"1234567", "LDA", -1},
        {"#05", "lda", 1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ClassifyOperand(c.first, c.instruction), c.operandClass)
            << c.instruction << " " << c.first;
    }
}

TEST(ClassifyOperand, ByteCountsOfTheLineChecker) {
    const int expected[] = {0, 0, 2, 3, 2, 1, 3, 3, 0, 2, 0, 2, 2, 2, 1, 0};
    for (int operandClass = -1; operandClass <= 14; ++operandClass) {
        EXPECT_EQ(OperandClassByteCount(operandClass), expected[operandClass + 1]) << operandClass;
    }
}

TEST(ResolveOperand, HexIsAnAddressAndAnythingElseTheFirstLabelWithAnAddress) {
    app::ProgramGrid grid;
    grid.SetRowCount(6);
    grid.SetCell(app::kLabelColumn, 0, "HEAD");  // the header row is never a label
    grid.SetCell(app::kAddressColumn, 0, "0100");
    grid.SetCell(app::kLabelColumn, 1, "CAFE");
    grid.SetCell(app::kAddressColumn, 1, "0200");
    grid.SetCell(app::kLabelColumn, 2, "LOOP");  // no address: skipped
    grid.SetCell(app::kLabelColumn, 3, "LOOP");
    grid.SetCell(app::kAddressColumn, 3, "0203");
    grid.SetCell(app::kLabelColumn, 4, "LOOP");
    grid.SetCell(app::kAddressColumn, 4, "0205");
    grid.SetCell(app::kLabelColumn, 5, "Βρόχος");
    grid.SetCell(app::kAddressColumn, 5, "0207");
    grid.SetCell(app::kLabelColumn, 6, "END");  // beyond the row count
    grid.SetCell(app::kAddressColumn, 6, "0209");

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
