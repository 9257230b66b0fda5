#include "app/grader.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "app/exercise_check.h"
#include "app/expectations.h"
#include "app/grade_reports.h"
#include "app/program_file.h"
#include "editor_fixture.h"
#include "help_claim_reader.h"
#include "temp_folder.h"
#include "text/hex_text.h"

namespace zorvan::app {
namespace {

using testing::Line;

std::string ProgramBytes(const std::vector<Line>& lines) {
    return WriteProgramText(testing::WorkspaceWith(lines).grid);
}

Expectations Read(const std::string& text) {
    auto read = ReadExpectations(text);
    if (const auto* error = std::get_if<ExpectationError>(&read)) {
        ADD_FAILURE() << text << ": " << error->message;
        return {};
    }
    return std::get<Expectations>(read);
}

// The problem, or every case's failures' messages joined with "; ".
std::string Report(const Verdict& verdict) {
    std::string report = verdict.problem;
    for (const CaseVerdict& run : verdict.cases)
        for (const Mismatch& mismatch : run.mismatches)
            report += (report.empty() ? "" : "; ") + mismatch.message;
    return report;
}

// Values in hexadecimal, a space before each.
std::string Hex(const std::vector<std::int32_t>& values) {
    std::string text;
    for (std::int32_t value : values) text += " " + text::FormatHex2(value);
    return text;
}

// A case read, in one comparable line.
std::string Describe(const ExpectationCase& e) {
    std::string text;
    if (!e.name.empty()) text += "case " + e.name + " @" + std::to_string(e.line) + "; ";
    if (e.points != 1) text += "points " + std::to_string(e.points) + "; ";
    if (e.from) text += "from " + text::FormatHex4(*e.from) + "; ";
    if (e.limit != kDefaultInstructionLimit) text += "limit " + std::to_string(e.limit) + "; ";
    for (const std::string& input : e.inputs) text += "input " + input + "; ";
    for (const MachineSetting& s : e.settings)
        text += "@" + std::to_string(s.line) + " set " +
                (s.isMemory ? text::FormatHex4(s.address) + ":"
                            : std::string(FieldName(s.field)) + "=") +
                Hex(s.values) + "; ";
    // Each kind's words, in the order of its enumeration, before what it checks.
    // clang-format off
    static const std::array<std::string, 8> kWords = {"end ", "", "", "console ", "console contains ", "console starts ", "max instructions ", "max bytes "};
    // clang-format on
    using enum Expectation::Kind;
    for (const Expectation& check : e.checks) {
        text += "@" + std::to_string(check.line) + " " +
                kWords.at(static_cast<std::size_t>(check.kind));
        if (check.kind == kEnd)
            text += EndKeyword(check.end);
        else if (check.kind == kField)
            text +=
                std::string(FieldName(check.field)) + "=" + text::FormatHex2(check.values.front());
        else if (check.kind == kMemory)
            text += text::FormatHex4(check.address) + ":" + Hex(check.values);
        else if (check.kind >= kMaxInstructions)
            text += std::to_string(check.count);
        else
            text += "[" + check.console + "]";
        text += "; ";
    }
    if (e.endStated) text += "(end stated)";
    return text;
}

// Every case, " | " between them.
std::string Describe(const Expectations& e) {
    std::string text;
    for (const ExpectationCase& c : e.cases) text += (text.empty() ? "" : " | ") + Describe(c);
    return text;
}

TEST(Expectations, EveryStatementReadsWithItsLineAndInFileOrderAsTheReadmesExampleSays) {
    const std::string readme = zorvan::testing::FileBytes(ZORVAN_SOURCE_DIR "/README.md");
    const std::size_t example = readme.find("```\nfrom 0200"), start = example + 4;
    ASSERT_NE(example, std::string::npos);
    // clang-format off
    const std::pair<std::string, std::string> cases[] = {
        {readme.substr(start, readme.find("```", start) - start), "from 0200; limit 1000000; input 41; input 0A; @4 set 0300: 05 07; @5 set XR= 03; " "@6 end empty cell; @7 AC=0C; @7 XR=05; @8 N=00; @8 Z=01; @8 C=00; " "@9 0400: 0C 0D 0E; @10 console [ΑΘΡΟΙΣΜΑ 12\n]; @11 console contains [12]; " "@12 console starts [ΑΘ]; @13 max instructions 500; @14 max bytes 40; (end stated)"},
        {"", ""},
        {"# only a comment\n\n   \t\n", ""},
        {"FROM c000   # start", "from C000; "},
        {"limit 0", "limit 0; "},
        {"input 41 0A\ninput 1ff", "input 41; input 0A; input 1ff; "},
        {"poke 0300 :5 1FF\n poke FFFF: FFFF", "@1 set 0300: 05 1FF; @2 set FFFF: FFFF; "},
        {"set XR=03 C=1\nset sp = 10 PC=0300 RA=1234", "@1 set XR= 03; @1 set C= 01; @2 set SP= 10; @2 set PC= 300; @2 set RA= 1234; "},
        {"end  Stack   FULL", "@1 end stack full; (end stated)"},
        {"ac = c  yr=FF sp=0 pc=0206 ra=1", "@1 AC=0C; @1 YR=FF; @1 SP=00; @1 PC=206; @1 RA=01; "},
        {"N=0 V=1 B=0 D=0 I=1 Z=1 C=0", "@1 N=00; @1 V=01; @1 B=00; @1 D=00; @1 I=01; @1 Z=01; @1 C=00; "},
        {"0c :0   # zero page", "@1 000C: 00; "},
        {"console \"\"", "@1 console []; "},
        {"console \"\\x00a\\x0D\tb\"", "@1 console [a\n\tb]; "},
        {"console \"a\\nb\\t\\\"#\\\\\\x1B\\xC1\" # # inside quotes is text", "@1 console [a\nb\t\"#\\\x1B" "Α]; "},
        {"\xEF\xBB\xBF" "from 0200\r\nend empty cell\r\n", "from 0200; @2 end empty cell; (end stated)"},
        {"console contains \"a\"\nconsole contains \"b\"\nCONSOLE Starts \"c\"\nmax instructions 10\nMAX bytes 65536", "@1 console contains [a]; @2 console contains [b]; @3 console starts [c]; @4 max instructions 10; @5 max bytes 65536; "},
        // Shared statements come first in every case; a case's own limit and points replace them.
        {"limit 9\nend empty cell\ninput 41\ncase \"ένα\"\npoints 3\nlimit 5\ninput 42\nAC=42\ncase \"δύο\"\nAC=41", "case ένα @4; points 3; limit 5; input 41; input 42; @2 end empty cell; @8 AC=42; (end stated) | " "case δύο @9; limit 9; input 41; @2 end empty cell; @10 AC=41; (end stated)"},
        {"AC=01\npoke 0300: 01\nconsole \"x\"\nend limit\n0300: 01\nset AC=02", "@2 set 0300: 01; @6 set AC= 02; @1 AC=01; @3 console [x]; @4 end limit; @5 0300: 01; (end stated)"},
    };
    // clang-format on
    for (const auto& [text, description] : cases)
        EXPECT_EQ(Describe(Read(text)), description) << text;
}

TEST(Expectations, AMalformedLineIsNamedWithItsReason) {
    // clang-format off
    const std::tuple<std::string, int, std::string> cases[] = {
        {"end empty cell\n\nAC", 3, "άγνωστη δήλωση «AC» (case, points, from, limit, input, poke, set, end, console, max, AC=05, 0300: 05)"},
        {"from", 1, "from: λείπει η τιμή"},
        {"from 0200 0300", 1, "from: περισσεύει το «0300»"},
        {"from 10000", 1, "from: η διεύθυνση «10000» είναι έξω από 0000-FFFF"},
        {"from 0200\nfrom 0300", 2, "from: δίνεται δεύτερη φορά (πρώτη στη γραμμή 1)"},
        {"limit -5", 1, "limit: «-5» δεν είναι μη αρνητικός δεκαδικός αριθμός"},
        {"limit 99999999999999999999", 1, "limit: «99999999999999999999» δεν είναι μη αρνητικός δεκαδικός αριθμός"},
        {"limit", 1, "limit: «» δεν είναι μη αρνητικός δεκαδικός αριθμός"},
        {"input", 1, "input: λείπουν οι απαντήσεις (input 41 0A)"},
        {"AC=FFFFFFFFF", 1, "«FFFFFFFFF» είναι πολύ μεγάλος αριθμός (το πολύ 8 δεκαεξαδικά ψηφία)"},
        {"AC=#0C", 1, "«#0C»: η τιμή γράφεται χωρίς «#» (0C)"},
        {"=05", 1, "λείπει το όνομα του καταχωρητή πριν από το «=» (AC=05)"},
        {"ΑC=05", 1, "άγνωστος καταχωρητής ή bit κατάστασης «ΑC» (καταχωρητές: AC XR YR SP PC RA, bit: N V B D I Z C)· τα Α είναι ελληνικά γράμματα: γράψτε AC με λατινικά"},
        {"ΧR: 05", 1, "άγνωστη δήλωση «ΧR: 05» (case, points, from, limit, input, poke, set, end, console, max, AC=05, 0300: 05)· τα Χ είναι ελληνικά γράμματα: γράψτε XR με λατινικά"},
        {"set Ζ=1 ΧR=00", 1, "set: άγνωστος καταχωρητής ή bit κατάστασης «Ζ» (καταχωρητές: AC XR YR SP PC RA, bit: N V B D I Z C)· τα Ζ είναι ελληνικά γράμματα: γράψτε Z με λατινικά"},
        {std::string("frm\x01\x00 ", 6) + std::string(60, 'x'), 1, "άγνωστη δήλωση «frm\\x01\\x00 xxxxxxxxxxxxxxxxxxxxxxxxxxxx…» (case"},
        {"AC=01\nXR=02 ac=01", 2, "το AC ελέγχεται δύο φορές (γραμμές 1 και 2)"},
        {"0300: 01 02\n0301: 02", 2, "το 0301 ελέγχεται δύο φορές (γραμμές 1 και 2)"},
        {"end limit\ncase \"a\"\nend limit", 3, "το end ελέγχεται δύο φορές (γραμμές 1 και 3)"},
        {"console \"ab\"\nconsole contains \"c\"", 2, "η κονσόλα δεν μπορεί να ισχύουν και οι δύο έλεγχοι (γραμμές 1 και 2)"},
        {"console starts \"a\"\nconsole starts \"ab\"\nconsole starts \"b\"", 3, "η κονσόλα δεν μπορεί να ισχύουν και οι δύο έλεγχοι (γραμμές 1 και 3)"},
        {"console starts \"b\"\nconsole \"ab\"", 2, "η κονσόλα δεν μπορεί να ισχύουν και οι δύο έλεγχοι (γραμμές 1 και 2)"},
        {"case \"a\"\ncase \"a\"", 2, "case: το όνομα «a» δίνεται δεύτερη φορά (πρώτη στη γραμμή 1)"},
        {"case \"\"", 1, "case: λείπει το όνομα (case \"άθροισμα 1..5\")"},
        {"points 1000001", 1, "points: «1000001» είναι πάνω από 1000000"},
        {"max bytes 65537", 1, "max bytes: «65537» είναι πάνω από 65536"},
        {"max cycles 5", 1, "max: γράψτε max instructions N ή max bytes N"},
        {"AC=01\xED\xA0\x80", 1, "το κείμενο δεν είναι σε κωδικοποίηση UTF-8 (το byte ED)"},
        {std::string("f\0r\0o\0m\0", 8), 1, "το αρχείο είναι σε κωδικοποίηση UTF-16 (το «Unicode» του Σημειωματαρίου)· αποθηκεύστε το ως UTF-8"},
        {"poke 0300 05", 1, "poke: λείπει το «:» μετά τη διεύθυνση"},
        {"poke 0300:", 1, "poke: λείπουν οι τιμές μετά το «:»"},
        {"poke : 05", 1, "poke: «» δεν είναι δεκαεξαδικός αριθμός"},
        {"poke 0300: 10000", 1, "poke: η τιμή «10000» δεν χωράει σε κελί (00-FFFF)"},
        {"poke FFFF: 01 02", 1, "poke: τα κελιά περνούν πέρα από το FFFF"},
        {"set", 1, "set: λείπει ένας καταχωρητής με την τιμή του (AC=05)"},
        {"set AC=", 1, "set: λείπει η τιμή του «AC»"},
        {"set QQ=01", 1, "set: άγνωστος καταχωρητής ή bit κατάστασης «QQ» (καταχωρητές: AC XR YR SP PC RA, bit: N V B D I Z C)"},
        {"end", 1, "end: λείπει το τέλος (γράψτε empty cell, stack full, limit ή not executed)"},
        {"end empty", 1, "end: άγνωστο τέλος «empty» (γράψτε empty cell, stack full, limit ή not executed)"},
        {"AC=0C XR", 1, "λείπει το «=» μετά το «XR»"},
        {"C=01", 1, "το bit C είναι 0 ή 1, όχι «01»"},
        {"0400: 0C 0G", 1, "«0G» δεν είναι δεκαεξαδικός αριθμός"},
        {"c :0", 1, "το «c» μοιάζει με καταχωρητή ή bit: γράψτε c=… για αυτό ή 00c: … για το κελί μνήμης"},
        {"console", 1, "console: το κείμενο γράφεται σε διπλά εισαγωγικά"},
        {"console \"abc", 1, "console: τα εισαγωγικά δεν κλείνουν"},
        {"console \"abc\\\"", 1, "console: τα εισαγωγικά δεν κλείνουν"},
        {"console \"a\" b", 1, "console: περισσεύει το «b» μετά τα εισαγωγικά"},
        {"console \"a\\q\"", 1, "console: άγνωστη ακολουθία «\\q» (γράψτε \\n, \\t, \\\", \\\\ ή \\xHH)"},
        {"console \"a\x01\"", 1, "console: ο χαρακτήρας ελέγχου 01 γράφεται \\x01"},
        {"console \"a\rb\"", 1, "console: ο χαρακτήρας ελέγχου 0D γράφεται \\x0D"},
        {"console \"\\x4\"", 1, "console: μετά το «\\x» ακολουθούν δύο δεκαεξαδικά ψηφία"},
        {"from 0200\nAC=\xC1", 2, "το κείμενο δεν είναι σε κωδικοποίηση UTF-8 (το byte C1)"},
    };
    // clang-format on
    for (const auto& [text, line, message] : cases) {
        const auto read = ReadExpectations(text);
        ASSERT_TRUE(std::holds_alternative<ExpectationError>(read)) << text;
        const ExpectationError& error = std::get<ExpectationError>(read);
        EXPECT_EQ(error.line, line) << text;
        // Only the start of the unknown statement's long list.
        EXPECT_EQ(error.message.substr(0, message.size()), message) << text;
        if (!message.ends_with("(case")) EXPECT_EQ(error.message, message) << text;
    }
}

TEST(Expectations, ConsoleTextsQuoteAsTheFilesWriteThemAndReadBackTheSame) {
    // clang-format off
    const std::pair<std::string, std::string> cases[] = {
        {"ΑΘΡΟΙΣΜΑ 12", "\"ΑΘΡΟΙΣΜΑ 12\""}, {"a\nb\tc", "\"a\\nb\\tc\""}, {"\"\\", "\"\\\"\\\\\""},
        {"\x03" "7\x7F", "\"\\x037\\x7F\""},
    };
    // clang-format on
    for (const auto& [text, quoted] : cases) {
        EXPECT_EQ(QuotedConsoleText(text), quoted);
        EXPECT_EQ(Describe(Read("console " + quoted)), "@1 console [" + text + "]; ");
    }
}

// LDA #05, STA 0300, and the empty cell after them.
const std::vector<Line> kStore = {
    {"", "0200", "LDA", "#05"}, {"", "0202", "STA", "0300"}, {"", "0205", "BRK"}, {"", "0206", ""}};
const std::vector<Line> kForever = {{"LOOP", "0200", "JMP", "LOOP"}, {"", "0203", ""}};
const std::vector<Line> kPush = {{"", "0200", "PHA"}, {"", "0201", ""}};
const std::vector<Line> kSei = {{"", "0200", "SEI"}, {"", "0201", ""}};
// Asks for AC, then shows its character; the routines return through RTS cells set by poke.
const std::vector<Line> kAskAndShow = {
    {"", "0200", "JSR", "FFFE"}, {"", "0203", "JSR", "FFFF"}, {"", "0206", ""}};
const std::vector<Line> kAsk = {{"", "0200", "JSR", "FFFE"}, {"", "0203", ""}};
const std::string kRts = "poke FFFC: 60 60 60 60\n";

TEST(Grader, ARunMeetsOrMissesEachExpectationInTheFileOrder) {
    struct Case {
        const char* name;
        std::vector<Line> program;
        std::string expect;
        std::string end;  // "" when it did not run
        std::int64_t executed;
        std::string report;  // the problem, or the failures' messages joined with "; "
    };
    // clang-format off
    const Case cases[] = {
        {"all met", kStore, "end empty cell\nAC=05 XR=00 PC=0206 RA=0000 SP=FF\n0300: 05 00\nN=0 Z=0 C=0 D=0 B=0 I=0 V=0", "empty cell", 2, ""},
        {"each miss, in order", kStore, "0300: 05 01\nAC=06 XR=01\nZ=1\nPC=0207\nend stack full", "empty cell", 2, "0301 = 00, αναμενόταν 01; AC = 05, αναμενόταν 06; XR = 00, αναμενόταν 01; Z = 0, αναμενόταν 1; PC = 0206, αναμενόταν 0207; τέλος = κενό κελί, αναμενόταν μνήμη σωρού πλήρης"},
        {"set and poke before the run", kStore, "set AC=07 XR=02 C=1\npoke 0201: 09\nAC=09 XR=02 C=1\n0300: 09", "empty cell", 2, ""},
        {"each register by its name", {{"", "0200", "TXA"}, {"", "0201", "INY"}, {"", "0202", "DEX"}, {"", "0203", ""}}, "set XR=07 YR=03 SP=40 RA=1234\nAC=07 XR=06 YR=04 SP=40 RA=1234 PC=0204", "empty cell", 3, ""},
        {"start address", kStore, "from 0202\nset AC=07\n0300: 07\nAC=07", "empty cell", 1, ""},
        {"a cell's 16 bits", kStore, "poke 0300: FFFF\nfrom 0205\n0300: FFFF", "empty cell", 0, ""},
        {"limit reached, asked", kStore, "limit 1\nend limit\nPC=0202", "limit", 1, ""},
        {"ends exactly at the limit", kStore, "limit 2\nend empty cell", "empty cell", 2, ""},
        {"default limit", kForever, "AC=01", "limit", kDefaultInstructionLimit, "έφτασε το όριο των 10000000 εντολών; AC = 00, αναμενόταν 01"},
        {"default limit, case's own", kForever, "limit 5\ncase \"a\"\nlimit 7", "limit", 7, "έφτασε το όριο των 7 εντολών"},
        {"limit expected, not met", kStore, "end limit", "empty cell", 2, "τέλος = κενό κελί, αναμενόταν όριο εντολών"},
        {"stack full", kPush, "set SP=00\nend stack full\nSP=00", "stack full", 1, ""},
        {"not executed unasked fails", kSei, "", "not executed", 0, "τέλος = εντολή που δεν εκτελείται, αναμενόταν κενό κελί"},
        {"console parts", kAsk, kRts + "console contains \"τον\"\nconsole starts \"Δώσε\"\nconsole contains \"x\"\nconsole starts \"Δώσε τ\"\nconsole starts \"Δώσε τη\"", "empty cell", 2, "η κονσόλα δεν περιέχει \"x\" (κονσόλα = \"Δώσε τον AC\"); η κονσόλα δεν αρχίζει με \"Δώσε τη\" (κονσόλα = \"Δώσε τον AC\")"},
        {"maxima met", kStore, "max instructions 2\nmax bytes 6", "empty cell", 2, ""},
        {"maxima exceeded", kStore, "max instructions 1\nmax bytes 5", "empty cell", 2, "εκτελέστηκαν 2 εντολές, το πολύ 1; το πρόγραμμα έχει 6 bytes, το πολύ 5"},
        {"empty address cell", {{"", "0200", "NOP"}, {"", "", "NOP"}, {"", "0202", ""}}, "", "", 0, "γραμμή 2: το κελί διεύθυνσης είναι κενό"},
        {"not executed", kSei, "end not executed\nPC=0201", "not executed", 0, ""},
        {"answer shown", kAskAndShow, kRts + "input 41\nconsole \"A\"\nAC=41", "empty cell", 4, ""},
        {"answer echoed", kAsk, kRts + "input 4a 42\nconsole \"Δώσε τον AC\\nAC:J\"", "empty cell", 2, ""},
        {"no answer left", kAsk, kRts + "console \"\"\nAC=01", "empty cell", 2, "κονσόλα = \"Δώσε τον AC\", αναμενόταν \"\"; AC = 00, αναμενόταν 01"},
        {"does not assemble", {{"", "0200", "LDA", "#05"}, {"", "0202", "BNE", "NOWHERE"}, {"", "0204", ""}}, "end empty cell", "", 0, "γραμμή 2: Η ετικέτα 'NOWHERE' δεν βρέθηκε"},
        {"address does not convert", {{"", "0200", "LDA", "#05"}, {"", "02G2", "NOP"}, {"", "0203", ""}}, "", "", 0, "γραμμή 2: Το '02G2' δεν είναι έγκυρος δεκαεξαδικός αριθμός."},
        {"no start address", {{"", "", ""}}, "end empty cell", "", 0, "το κελί διεύθυνσης της γραμμής 1 είναι κενό· δώστε from στο αρχείο ελέγχου"},
        {"empty start cell: PC one past its old value", {{"", "", ""}}, "from 0300\nend empty cell\nPC=0001", "empty cell", 0, ""},
    };
    // clang-format on
    for (const Case& c : cases) {
        const Verdict verdict = GradeProgram(Read(c.expect), "p.zrv", ProgramBytes(c.program));
        const std::string report = Report(verdict);
        EXPECT_EQ(report.substr(0, c.report.size()), c.report) << c.name;
        if (verdict.problem.empty()) EXPECT_EQ(report, c.report) << c.name;
        EXPECT_EQ(verdict.passed, c.report.empty()) << c.name;
        ASSERT_EQ(verdict.cases.size(), 1U) << c.name;
        const CaseVerdict& run = verdict.cases.front();
        EXPECT_EQ(run.end ? std::string(EndKeyword(*run.end)) : "", c.end) << c.name;
        EXPECT_EQ(run.executed, c.executed) << c.name;
    }
}

TEST(Grader, FailuresSayWhatWasExpectedAndFoundAsTheFileWritesIt) {
    const Verdict verdict =
        GradeProgram(Read("limit 1\nAC=0c\nC=1\n0300: 05\nconsole \"x\\n\"\nPC=206"), "p.zrv",
                     ProgramBytes(kStore));
    std::vector<std::string> fields;
    for (const Mismatch& m : verdict.cases.front().mismatches)
        fields.push_back(m.what + "@" + std::to_string(m.line) + ":" + m.expected + "/" + m.found);
    EXPECT_EQ(fields,
              std::vector<std::string>({"end@0:empty cell/limit", "AC@2:0C/05", "C@3:1/0",
                                        "0300@4:05/00", "console@5:x\\n/", "PC@6:0206/0202"}));
}

TEST(Grader, EachCaseRunsOnAFreshMachineAndScoresItsPoints) {
    // A hard-coded answer: AC=05 whatever the case pokes.
    const Expectations expectations = Read(
        "end empty cell\nset XR=01\n"
        "case \"five\"\npoke 0300: 09\n0300: 05\nXR=01\n"
        "case \"seven\"\npoints 3\n0300: 07\n"
        "case \"untouched\"\npoints 2\n0301: 00\n");
    const Verdict verdict = GradeProgram(expectations, "k.zrv", ProgramBytes(kStore));
    EXPECT_EQ(VerdictLine(verdict), "ΑΠΟΤΥΧΙΑ k.zrv 3/6: «seven»: 0300 = 05, αναμενόταν 07");
    EXPECT_EQ(SummaryLine({verdict, GradeProgram(expectations, "m.zrv", "")}),
              "0 passed, 2 failed, average 1.50/6");
    EXPECT_EQ(GradeProgram(expectations, "m.zrv", " \r\n").problem,
              "το αρχείο του μαθητή είναι κενό");
    EXPECT_TRUE(GradeProgram(expectations, "u.zrv", std::string("_\0 \0", 4))
                    .problem.starts_with("το αρχείο είναι σε κωδικοποίηση UTF-16"));
}

TEST(Grader, AnEndlessPrintingLoopKeepsOnlyWhatTheChecksNeedAndTheTimeoutStopsAnyLoop) {
    // Prints "ΑΑ...Α" (250 letters) again and again until the limit.
    const std::vector<Line> printing = {
        {"LOOP", "0200", "JSR", "FFFC"}, {"", "0203", "JMP", "LOOP"}, {"", "0206", ""}};
    std::string setup = "poke FFFC: 60\npoke 0000: 00 03\npoke 0300:";
    for (int k = 0; k < 250; ++k) setup += " C1";
    setup += "\nend limit\nlimit 3000000\n";
    const Verdict verdict = GradeProgram(
        Read(setup + "console starts \"Α\"\nconsole contains \"Α\\nΑ\"\nconsole \"Α\\nΑ\""),
        "p.zrv", ProgramBytes(printing));
    ASSERT_EQ(verdict.cases.size(), 1U);
    const CaseVerdict& run = verdict.cases.front();
    EXPECT_TRUE(run.consoleLonger);
    ASSERT_EQ(run.mismatches.size(), 1U) << Report(verdict);
    EXPECT_NE(run.mismatches.front().message.find("(η κονσόλα είχε κι άλλο κείμενο)"),
              std::string::npos);
    EXPECT_LE(run.mismatches.front().found.size(), 2 * 256U);

    GradeOptions brief;
    brief.timeoutSeconds = 0.001;
    brief.explain = true;
    const Verdict stopped = GradeProgram(Read("end limit"), "f.zrv", ProgramBytes(kForever), brief);
    EXPECT_EQ(Report(stopped), "ξεπέρασε το χρονικό όριο των 0 δευτερολέπτων");
    EXPECT_FALSE(stopped.passed);
}

TEST(Grader, ExplainNamesTheFailedChecksThingsAndTheLastInstructionsWithTheirSentences) {
    GradeOptions explain;
    explain.explain = true;
    std::vector<Line> counting = {{"", "0200", "LDX", "#00"}};
    for (int k = 0; k < 25; ++k) counting.push_back({"", text::FormatHex4(0x0202 + k), "INX"});
    counting.push_back({"", "021B", ""});
    const Verdict verdict =
        GradeProgram(Read("XR=01 AC=00\n0300: 01"), "p.zrv", ProgramBytes(counting), explain);
    const std::vector<std::string>& lines = verdict.cases.front().explanation;
    ASSERT_EQ(lines.size(), 2U + kExplainedInstructions);
    EXPECT_EQ(lines[0], "στο τέλος: XR=19 0300=00");
    EXPECT_EQ(lines[2].substr(0, 13), "  0207  INX: ");
    EXPECT_EQ(lines.back().substr(0, 13), "  021A  INX: ");
    // A passed case has nothing to explain.
    const Verdict passed = GradeProgram(Read("XR=19"), "p.zrv", ProgramBytes(counting), explain);
    EXPECT_TRUE(passed.cases.front().explanation.empty());
}

TEST(Grader, FoldersGiveEveryPossibleSubmissionSortedAndEachGetsItsLineInTheOrderGiven) {
    const zorvan::testing::TempFolder folder;
    const std::string good = ProgramBytes(kStore);
    std::filesystem::create_directory(folder / "ask1");
    std::filesystem::create_directory(folder / "ask1/old.zrv");  // a folder, not a program
    for (const char* name :
         {"ask1/b.zrv", "ask1/a.ZRV", "ask1/c.txt", "ask1/ab.zrv", "x.zrv", "ask1/notes.md"})
        zorvan::testing::PutFile(folder / name, good);
    zorvan::testing::PutFile(folder / "ask1/bad.zrv", ProgramBytes(kForever));
    std::filesystem::create_symlink(folder / "nowhere.zrv", folder / "ask1/link.zrv");
    std::filesystem::create_directory(folder / "empty");

    const std::vector<std::string> paths =
        ProgramPaths({folder / "x.zrv", folder / "ask1", folder / "missing.zrv", folder / "empty"});
    std::vector<std::string> expected = {folder / "x.zrv"};
    for (const char* name : {"a.ZRV", "ab.zrv", "b.zrv", "bad.zrv", "c.txt", "link.zrv"})
        expected.push_back(folder / (std::string("ask1/") + name));
    expected.push_back(folder / "missing.zrv");
    EXPECT_EQ(paths, expected);

    // Many files on several threads come back in the order given.
    std::vector<std::string> many;
    for (int k = 0; k < 20; ++k) many.insert(many.end(), paths.begin(), paths.end());
    const Expectations expectations = Read("limit 100\nAC=05");
    GradeOptions threads;
    threads.threads = 4;
    const std::vector<Verdict> verdicts = GradeFiles(expectations, many, threads);
    ASSERT_EQ(verdicts.size(), many.size());
    for (std::size_t i = 0; i < many.size(); ++i) {
        EXPECT_EQ(verdicts[i].name, many[i]);
        EXPECT_EQ(verdicts[i].passed, i % 8 < 4 || i % 8 == 5) << many[i];
    }
    // A link to nothing says so on its one line (zorvan-run's runs below show a missing file's).
    EXPECT_EQ(VerdictLine(verdicts[6]), "ΑΠΟΤΥΧΙΑ " + many[6] + " 0/1: ο σύνδεσμος δείχνει στο «" +
                                            folder / "nowhere.zrv" + "», που δεν υπάρχει");
    // Nor does any name or problem bring a control character into it, nor lose what follows one.
    Verdict failed;
    failed.name = std::string("odd\x1B[2Jna\0me\n.zrv", 17);
    failed.problem = "first line\nsecond\tline";
    EXPECT_EQ(VerdictLine(failed),
              "ΑΠΟΤΥΧΙΑ odd\\x1B[2Jna\\x00me .zrv 0/0: first line second\\x09line");

    // A roster's students with no file fail as not handed in; "Maria.zrv" is maria's.
    const std::vector<std::string> roster =
        RosterNames("\xEF\xBB\xBF# τμήμα Α\nmaria\n x \n\nnikos.zrv\nx\n");
    EXPECT_EQ(roster, std::vector<std::string>({"maria", "x", "nikos", "x"}));
    const std::vector<Verdict> missing = NotSubmitted(expectations, roster, {"ask1/Maria.zrv"});
    ASSERT_EQ(missing.size(), 2U);
    EXPECT_EQ(VerdictLine(missing[0]), "ΑΠΟΤΥΧΙΑ x 0/1: δεν παραδόθηκε");
    EXPECT_EQ(missing[1].name, "nikos");
}

TEST(Grader, APipeInAFolderGetsItsLineWithoutBeingRead) {
    const zorvan::testing::TempFolder folder;
    ASSERT_EQ(::mkfifo((folder / "pipe.zrv").c_str(), 0600), 0);
    const std::vector<Verdict> verdicts = GradeFiles(Read(""), ProgramPaths({folder / ""}));
    ASSERT_EQ(verdicts.size(), 1U);
    EXPECT_EQ(verdicts.front().problem, "είναι σωλήνας (pipe), όχι αρχείο προγράμματος");
}

// A file that opens but cannot be read, and a folder named as a program, fail with the system's
// reason on their one line.
TEST(Grader, AFileThatCannotBeReadFailsWithTheSystemsReason) {
    struct FailingDisk : FileStore {
        bool outOfMemory = false;
        std::error_code ReadContents(int, std::string&) override {
            if (outOfMemory) throw std::bad_alloc();
            return std::make_error_code(std::errc::io_error);
        }
    } failingDisk;
    FileStore disk;
    const zorvan::testing::TempFolder folder;
    zorvan::testing::PutFile(folder / "a.zrv", ProgramBytes(kStore));
    std::filesystem::create_directory(folder / "b.zrv");
    const std::pair<Verdict, std::string> cases[] = {
        {GradeFile(Read(""), folder / "a.zrv", failingDisk), "Σφάλμα εισόδου/εξόδου"},
        {GradeFile(Read(""), folder / "b.zrv", disk), "Είναι κατάλογος"}};
    for (const auto& [verdict, reason] : cases)
        EXPECT_EQ(VerdictLine(verdict), "ΑΠΟΤΥΧΙΑ " + verdict.name +
                                            " 0/1: Δεν ήταν δυνατό να ανοιχτεί το αρχείο «" +
                                            verdict.name + "». " + reason);
#ifndef __EMSCRIPTEN__  // the page's file system shows no process's open files
    // Running out of memory on the way leaves no file open.
    const auto openFiles = [] {
        return std::distance(std::filesystem::directory_iterator("/proc/self/fd"), {});
    };
    const auto before = openFiles();
    failingDisk.outOfMemory = true;
    EXPECT_THROW(GradeFile(Read(""), folder / "a.zrv", failingDisk), std::bad_alloc);
    EXPECT_EQ(openFiles(), before);
#endif
}

// Each key of a JSON text with the types of its values ("string", "null", "integer", ...) and the
// words of its "end"; or, read from a schema, the types and enum words each key allows.
std::map<std::string, std::set<std::string>> KeyTypes(const std::string& text, bool schema) {
    static const std::regex value(
        "\"(\\w+)\": "
        "(?:\"((?:[^\"\\\\]|\\\\.)*)\"|(\\[)|(\\{)|(true|false)|(null)|(-?\\d+\\.\\d+)|(-?\\d+))");
    static const std::regex allows("\"(\\w+)\": \\{\"(type|enum)\": (\\[[^\\]]*\\]|\"\\w+\")");
    static const std::regex word("\"([^\"]*)\"|null");
    static const std::array<const char*, 7> kTypes = {"string", "array",  "object", "boolean",
                                                      "null",   "number", "integer"};
    std::map<std::string, std::set<std::string>> types;
    for (std::sregex_iterator m(text.begin(), text.end(), schema ? allows : value), end; m != end;
         ++m) {
        std::set<std::string>& allowed = types[(*m)[1]];
        if (!schema) {
            for (std::size_t group = 2; group < 9; ++group)
                if ((*m)[group].matched) allowed.insert(kTypes.at(group - 2));
            if ((*m)[1] == "end" && (*m)[2].matched) allowed.insert((*m)[2].str());
            continue;
        }
        const std::string items = (*m)[3];
        for (std::sregex_iterator w(items.begin(), items.end(), word); w != end; ++w) {
            allowed.insert((*w)[1].matched ? (*w)[1].str() : "null");
            if ((*m)[2] == "enum" && (*w)[1].matched) allowed.insert("string");
        }
    }
    return types;
}

TEST(Grader, TheJsonReportCarriesCasesScoresAndEscapedTextsAsItsSchemaTypesThem) {
    const Expectations expectations = Read("limit 5\nconsole \"\\x01\\\"Α\"");
    const std::string json = VerdictsJson({
        GradeProgram(expectations, "ask1/nikos.zrv", ProgramBytes(kStore)),
        GradeProgram(Read("case \"a\"\npoints 2\ncase \"b\"\nAC=01"), "ask1/maria.zrv",
                     ProgramBytes(kStore)),
        GradeProgram(expectations, "ask1/\x7F\xFF.zrv", ProgramBytes({{"", "0200", "LDQ"}})),
    });
    // Control characters and a byte that is not UTF-8 shown as \xHH keep the document valid.
    EXPECT_EQ(json, R"({
  "files": [
    {"name": "ask1/nikos.zrv", "passed": false, "score": 0, "points": 1, "problem": null, "cases": [
      {"name": null, "points": 1, "passed": false, "end": "empty cell", "instructions": 2, "console_longer": false, "failures": [
        {"what": "console", "line": 2, "expected": "\\x01\\\"Α", "found": "", "message": "κονσόλα = \"\", αναμενόταν \"\\x01\\\"Α\""}
      ]}
    ]},
    {"name": "ask1/maria.zrv", "passed": false, "score": 2, "points": 3, "problem": null, "cases": [
      {"name": "a", "points": 2, "passed": true, "end": "empty cell", "instructions": 2, "console_longer": false, "failures": []},
      {"name": "b", "points": 1, "passed": false, "end": "empty cell", "instructions": 2, "console_longer": false, "failures": [
        {"what": "AC", "line": 4, "expected": "01", "found": "05", "message": "AC = 05, αναμενόταν 01"}
      ]}
    ]},
    {"name": "ask1/\\x7F\\xFF.zrv", "passed": false, "score": 0, "points": 1, "problem": "γραμμή 1: Λάθος στην σύνταξη!", "cases": [
      {"name": null, "points": 1, "passed": false, "end": null, "instructions": 0, "console_longer": false, "failures": []}
    ]}
  ],
  "passed": 0,
  "failed": 3,
  "average": 0.67
}
)");

    // The schema the README shows allows each key's types and values, and names every key.
    const std::string schema =
        zorvan::testing::FileBytes(ZORVAN_SOURCE_DIR "/docs/check-report.schema.json");
    EXPECT_NE(zorvan::testing::FileBytes(ZORVAN_SOURCE_DIR "/README.md").find(schema),
              std::string::npos);
    auto allowed = KeyTypes(schema, true);
    for (const char* key : {"files", "cases", "failures"}) allowed[key] = {"array"};
    const auto found = KeyTypes(json, false);
    for (const auto& [key, types] : found) {
        for (const std::string& type : types)
            EXPECT_TRUE(allowed[key].contains(type) ||
                        (type == "integer" && allowed[key].contains("number")))
                << key << ": " << type;
    }
    EXPECT_EQ(found.size(), allowed.size());
}

// Doubles the cell 0300 into 0301: right for any data. (The window's own test has a program that
// passes one case only.)
// clang-format off
const std::vector<Line> kDoubles = {
    {"", "0200", "LDA", "0300"}, {"", "0203", "ASL", "A"}, {"", "0204", "STA", "0301"}, {"", "0207", ""}};
// clang-format on

TEST(ExerciseCheck, EachCaseRunsOnItsOwnMachineAndTheScoreAddsItsPoints) {
    const std::string_view kTwoCases =
        "case \"δύο\"\npoke 0300: 02\n0301: 04\ncase \"πέντε\"\npoints 2\npoke 0300: 05\n0301: "
        "0A\n";
    // clang-format off
    const struct {
        std::vector<Line> program;
        std::string_view expectations;
        std::string score;
        std::vector<bool> casesPassed;
        int problemRow;
    } cases[] = {
        {kDoubles, kTwoCases, "Βαθμός: 3/3", {true, true}, 0},
        {{{"", "0200", "NOP"}, {"", "", "NOP"}, {"", "0202", ""}}, kTwoCases, "Βαθμός: 0/3", {false, false}, 2},
        {kDoubles, "0301 04\n", "Βαθμός: 0/0", {}, 0},  // the file does not read
    };
    // clang-format on
    for (const auto& c : cases) {
        const ExerciseResult result =
            CheckExercise(testing::WorkspaceWith(c.program).grid, "ask.expect", c.expectations);
        EXPECT_EQ(ExerciseScoreText(result), c.score);
        std::vector<bool> passed;
        for (const ExerciseLine& line : result.lines)
            if (line.isCase) passed.push_back(line.passed);
        EXPECT_EQ(passed, c.casesPassed) << c.score;
        EXPECT_EQ(result.problemRow, c.problemRow) << c.score;
        EXPECT_EQ(result.problem.empty(), c.score == "Βαθμός: 3/3") << c.score;
        EXPECT_EQ(result.passed, c.score == "Βαθμός: 3/3") << c.score;
    }
}

// The lessons' exercises: each model answer passes its own expectation file, and an empty grid
// passes none, so a file that checks nothing is caught.
TEST(ExerciseCheck, EveryShippedExercisePassesWithItsModelAnswerOnly) {
    namespace fs = std::filesystem;
    int count = 0;
    for (const auto& entry :
         fs::directory_iterator(fs::path(ZORVAN_SOURCE_DIR) / "examples" / "exercises")) {
        if (entry.path().extension() != ".expect") continue;
        fs::path answer = entry.path();
        answer.replace_extension(".zrv");
        const std::string expectations = zorvan::testing::FileBytes(entry.path().string());
        grid::ProgramGrid grid;
        const ExerciseResult empty = CheckExercise(grid, "", expectations);
        PlaceProgramRows(grid, ReadProgramText(zorvan::testing::FileBytes(answer.string())));
        const ExerciseResult result = CheckExercise(grid, "", expectations);
        EXPECT_TRUE(result.passed && result.problem.empty()) << answer << result.problem;
        EXPECT_FALSE(empty.passed) << entry.path();
        ++count;
    }
    EXPECT_GE(count, 9);
}

// zorvan-run end to end: the built tool on the sample programs and the examples, its output and
// exit status.
#ifdef ZORVAN_RUN_PATH

struct ToolResult {
    int status = -1;
    std::string out, err;
};

// Runs the tool in a folder with these arguments, its output caught in files.
ToolResult RunToolIn(const std::string& folderPath, const std::string& arguments) {
    const zorvan::testing::TempFolder folder;
    const int status = std::system(("cd '" + folderPath + "' && " ZORVAN_RUN_PATH " " + arguments +
                                    " >'" + (folder / "out") + "' 2>'" + (folder / "err") + "'")
                                       .c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1,
            zorvan::testing::FileBytes(folder / "out"), zorvan::testing::FileBytes(folder / "err")};
}

std::string Summary(int lines, int bytes) {
    return "Επεξεργάστηκαν Συνολικά:" + std::to_string(lines) +
           " γραμμές.\nΣυνολικός Αριθμός Bytes:" + std::to_string(bytes) + "\n";
}

TEST(ZorvanRun, RunsGradesAndListsProgramsAndReportsHowTheyEndOrWhyNot) {
    const std::string samples = ZORVAN_TEST_DATA "/",
                      atStart = "AC=00 XR=00 YR=00 SP=FF\nNV-BDIZC=00100000\n";
    const zorvan::testing::TempFolder folder;
    zorvan::testing::PutFile(folder / "bad.expect", "end empty cell\n\nAC=0G\n");
    zorvan::testing::PutFile(folder / "empty.expect", "");
    zorvan::testing::PutFile(folder / "bad.zrv", "_ 0200 LDQ #01 _ _\r\n_ 0202 _ _ _ _\r\n");
    zorvan::testing::PutFile(folder / "endless.expect",
                             "limit 100000000000\npoke 026B: 4C FA 00\n");
    std::filesystem::create_directory(folder / "none");  // no programs in it
    // Run in the example exercise's folder (samples: the sample programs'): the arguments, the exit
    // status, the standard output (only its start when it ends in …) and how standard error starts.
    // clang-format off
    const std::tuple<std::string, int, std::string, std::string> cases[] = {
        {samples + "sum.zrv --dump 0200:6", 0, Summary(3, 6) + "end: empty cell\nPC=0206 AC=05 XR=00 YR=00 SP=FF\nNV-BDIZC=00100000\n0200: A9 05 8D 00 03 00\n", ""},
        {samples + "countdown.zrv --steps 2", 0, Summary(4, 6) + "end: steps\nPC=0203 AC=00 XR=02 YR=00 SP=FF\nNV-BDIZC=00100000\n", ""},
        {samples + "countdown.zrv --from 0202 --set XR=02 --set P=FF", 0, Summary(4, 6) + "end: empty cell\nPC=0206 AC=00 XR=00 YR=00 SP=FF\nNV-BDIZC=01111111\n", ""},
        {samples + "sum.zrv --assemble-only --dump 0200:12", 0, Summary(3, 6) + "end: assembled\nPC=0000 " + atStart + "0200: A9 05 8D 00 03 00 00 00 00 00 00 00 00 00 00 00\n0210: 00 00\n", ""},
        {samples + "console.zrv --poke FFFC:60,60,60,60 --poke 0300:48,49,00 --input 4A", 0, Summary(10, 23) + "HI\nαΔώσε τον AC\nend: empty cell\nPC=0217 AC=4A XR=00 YR=00 SP=FF\nNV-BDIZC=10100000\n", ""},
        {samples + "push.zrv --set SP=0", 3, Summary(2, 2) + "Μνήμη σωρού πλήρης.\nend: stack full\nPC=0201 AC=00 XR=00 YR=00 SP=00\nNV-BDIZC=00100000\n", ""},
        {samples + "forever.zrv --limit 1000", 4, Summary(1, 3) + "end: limit\nPC=0400 " + atStart, ""},
        {"--from 0000 --poke 0000:78", 4, "end: not executed\nPC=0001 " + atStart, ""},
        {"--from=0300 --set=RA=1234 --poke 0300:60,00", 0, "end: empty cell\nPC=1235 " + atStart, ""},
        {samples + "missing_label.zrv", 1, "", "Η ετικέτα 'NOWHERE' δεν βρέθηκε\n"},
        {samples + "no_such_program.zrv", 1, "", "zorvan-run: Δεν ήταν δυνατό να ανοιχτεί το αρχείο «"},
        {"--from 0200 --bogus", 2, "", "zorvan-run: άγνωστη επιλογή «--bogus»"},
        {"--poke 0200:4G", 2, "", "zorvan-run: --poke"},
        {"--set PC=0200", 2, "", "zorvan-run: --set: άγνωστος καταχωρητής «PC»\n"},
        {"--limit 0 --steps 1", 2, "", "zorvan-run: --limit και --steps δεν δίνονται μαζί\n"},
        {"a.zrv b.zrv", 2, "", "zorvan-run: δόθηκαν δύο αρχεία: «a.zrv» και «b.zrv»\n"},
        {"--from 0200 --help", 0, "χρήση: zorvan-run [FILE]…", ""},
        {"", 1, "", "zorvan-run: δεν υπάρχει διεύθυνση έναρξης"},
        // Control characters as the console window shows them: 00 and 0C nothing, 0D a line
        // break, 01 an empty box; the report starts on a line of its own after the box.
        {"--from 0300 --poke FFFF:60 --poke 0300:20,FF,FF,A9,0C,20,FF,FF,A9,0D,20,FF,FF,A9,01,20,FF,FF,00", 0,
         "\n\u25AF\nend: empty cell\nPC=0313 AC=01 XR=00 YR=00 SP=FF\nNV-BDIZC=00100000\n", ""},
        {"--check ask1.expect --junit ask1/maria.zrv", 0, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<testsuites name=\"zorvan-run --check\" tests=\"2\" failures=\"0\">\n  <testsuite name=\"ask1/maria.zrv\" tests=\"2\" failures=\"0\">\n…", ""},
        {"--check - ask1/maria.zrv < ask1.expect", 0, "ΕΠΙΤΥΧΙΑ ask1/maria.zrv 3/3\n1 passed, 0 failed, average 3.00/3\n", ""},
        {"--check /dev/stdin --timeout 1 ask1/maria.zrv < " + folder / "endless.expect", 1, "ΑΠΟΤΥΧΙΑ ask1/maria.zrv 0/1: ξεπέρασε το χρονικό όριο του 1 δευτερολέπτου\n0 passed, 1 failed, average 0.00/1\n", ""},
        {"--check ask1.expect --explain ask1/nikos.zrv", 1, "ΑΠΟΤΥΧΙΑ ask1/nikos.zrv 0/3: «ο πίνακας της εκφώνησης»: 0310 = 19, αναμενόταν 25; κονσόλα = \"ΑΘΡΟΙΣΜΑ 25\", αναμενόταν \"ΑΘΡΟΙΣΜΑ 37\"; «άλλοι αριθμοί»: 0310 = 0A, αναμενόταν 0F; κονσόλα = \"ΑΘΡΟΙΣΜΑ 10\", αναμενόταν \"ΑΘΡΟΙΣΜΑ 15\"\n  «ο πίνακας της εκφώνησης»:\n    στο τέλος: 0310=19\n    οι τελευταίες 20 εντολές:\n…", ""},
        {"--CHEK ask1.expect ask1", 2, "", "zorvan-run: άγνωστη επιλογή «--CHEK» (μήπως --check;)\n"},
        {"--check ask1.expect --jobs 99999999999 ask1", 2, "", "zorvan-run: --jobs: «99999999999» είναι πάρα πολλές· το πολύ 256\n"},
        {"--check ask1.expect --timeout 0 ask1", 2, "", "zorvan-run: --timeout: «0» δεν είναι δευτερόλεπτα από 1 έως 86400\n"},
        {"--check ask1.expect --json --csv ask1", 2, "", "zorvan-run: οι επιλογές --json, --csv και --junit δεν δίνονται μαζί (--csv)\n"},
        {"--check ask1.expect -- --json", 1, "ΑΠΟΤΥΧΙΑ --json 0/3: Δεν ήταν δυνατό να ανοιχτεί το αρχείο «--json».…", ""},
        {"ask1/maria.zrv --check=ask1.expect", 0, "ΕΠΙΤΥΧΙΑ ask1/maria.zrv 3/3\n1 passed, 0 failed, average 3.00/3\n", ""},
        {"--check= ask1/maria.zrv", 2, "", "zorvan-run: --check: λείπει το αρχείο ελέγχου\n"},
        {"--jobs 1 ask1/maria.zrv --check " + folder / "empty.expect" + " ask1/nikos.zrv", 0, "ΕΠΙΤΥΧΙΑ ask1/maria.zrv 1/1\nΕΠΙΤΥΧΙΑ ask1/nikos.zrv 1/1\n2 passed, 0 failed, average 1.00/1\n", ""},
        {"--check " + folder / "bad.expect" + " ask1", 2, "", "zorvan-run: " + folder / "bad.expect" + ", γραμμή 3: «0G» δεν είναι δεκαεξαδικός αριθμός\n"},
        {"--check none.expect ask1", 2, "", "zorvan-run: Δεν ήταν δυνατό να ανοιχτεί το αρχείο «none.expect»."},
        {"--check ask1.expect", 2, "", "zorvan-run: --check: λείπουν τα προγράμματα για έλεγχο\n"},
        {"--check ask1.expect ask1 --limit 5", 2, "", "zorvan-run: η επιλογή «--limit» δεν δίνεται μαζί με --check (ένα αρχείο που αρχίζει με «-» δίνεται μετά το --)\n"},
        {"--check ask1.expect ask1 --jobs 0", 2, "", "zorvan-run: --jobs: «0» δεν είναι θετικός δεκαδικός αριθμός\n"},
        {"--check ask1.expect " + folder / "none", 2, "", "zorvan-run: δεν βρέθηκε κανένα πρόγραμμα (.zrv ή .txt) για έλεγχο\n"},
        {"--check ask1.expect ask1 --json", 1, "{\n  \"files\": [\n    {\"name\": \"ask1/eleni.zrv\", \"passed\": false, \"score\": 0, \"points\": 3, \"problem\": null, \"cases\": [\n      {\"name\": \"ο πίνακας της εκφώνησης\", \"points\": 1, \"passed\": false, \"end\": \"empty cell\", \"instructions\": 79,…", ""},
        {"--listing ask1/maria.zrv", 0, "0200  A2 00            LDX  #00       ο δείκτης του πίνακα\n0202  A9 00            LDA  #00       το άθροισμα ξεκινά από 0\n0204  18        LOOP   CLC\n…", ""},
        {"--listing ask1/none.zrv", 1, "", "zorvan-run: Δεν ήταν δυνατό να ανοιχτεί το αρχείο «ask1/none.zrv»."},
        {"--listing", 2, "", "zorvan-run: --listing: λείπει το αρχείο ή δόθηκε δύο φορές\n"},
        {"--listing ask1/maria.zrv ask1/nikos.zrv", 2, "", "zorvan-run: --listing: περισσεύει το «ask1/nikos.zrv»\n"},
        // A line that does not assemble is marked under it, and the listing fails.
        {"--listing " + folder / "bad.zrv", 1, "0200  LDQ  #01\n      ^ Λάθος στην σύνταξη!\n0202\n", ""},
    };
    // clang-format on
    for (auto [arguments, status, out, err] : cases) {
        const ToolResult result = RunToolIn(ZORVAN_SOURCE_DIR "/examples/grading", arguments);
        EXPECT_EQ(result.status, status) << arguments << "\n" << result.err;
        const bool start = out.ends_with("…");
        if (start) out.resize(out.size() - std::string_view("…").size());
        EXPECT_EQ(start ? result.out.substr(0, out.size()) : result.out, out) << arguments;
        EXPECT_EQ(result.err.substr(0, err.empty() ? std::string::npos : err.size()), err)
            << arguments;
    }
}

// Every "$ cd examples/grading && zorvan-run ..." that the README and the teacher's help page show
// prints what they show under it (the CSV's byte-order mark and carriage returns aside); and the
// page shows the expectation file those runs read as it is: its statements, comments aside.
TEST(ZorvanRun, TheDocumentsShowTheExampleFileAndWhatItsGradingRunsPrint) {
    const auto statements = [](const std::string& text) {
        std::string kept;
        std::istringstream lines(text);
        for (std::string line; std::getline(lines, line);) {
            line = zorvan::testing::Trim(line.substr(0, line.find('#')));
            if (!line.empty()) kept += line + "\n";
        }
        return kept;
    };
    int runs = 0;
    for (const char* document : {"/README.md", "/resources/help/teacher.html"}) {
        const std::string text = zorvan::testing::Decoded(
            zorvan::testing::FileBytes(std::string(ZORVAN_SOURCE_DIR) + document));
        const std::string prompt = "$ cd examples/grading && zorvan-run ";
        for (std::size_t at = text.find(prompt); at != std::string::npos;
             at = text.find(prompt, at + 1)) {
            const std::size_t start = text.find('\n', at) + 1;
            const std::size_t end = std::min(text.find("```", start), text.find("</pre>", start));
            const std::string arguments =
                text.substr(at + prompt.size(), start - 1 - at - prompt.size());
            std::string out = RunToolIn(ZORVAN_SOURCE_DIR "/examples/grading", arguments).out;
            if (out.starts_with("\xEF\xBB\xBF")) out.erase(0, 3);
            std::erase(out, '\r');  // the CSV's line ends
            EXPECT_EQ(out, text.substr(start, end - start)) << document << ": " << arguments;
            ++runs;
        }
        if (!std::string_view(document).ends_with(".html")) continue;
        const std::size_t shown =
            text.find("<pre>", text.find("<code>examples/grading/ask1.expect"));
        ASSERT_NE(shown, std::string::npos);
        EXPECT_EQ(statements(text.substr(shown + 5, text.find("</pre>", shown) - shown - 5)),
                  statements(zorvan::testing::FileBytes(ZORVAN_SOURCE_DIR
                                                        "/examples/grading/ask1.expect")));
    }
    EXPECT_EQ(runs, 4);
}

// AddressSanitizer reserves more address space than the limit below allows.
#if !defined(__has_feature) || !__has_feature(address_sanitizer)
// A program file bigger than the memory there is fails in Greek, as that file's failure alone.
TEST(ZorvanRun, AFileBiggerThanTheMemoryFailsInGreek) {
    const zorvan::testing::TempFolder folder;
    zorvan::testing::PutFile(folder / "e.expect", "");
    zorvan::testing::PutFile(folder / "huge.zrv", "");
    std::filesystem::resize_file(folder / "huge.zrv", std::uintmax_t{4} << 30);  // sparse
    rlimit limit{}, before{};
    ASSERT_EQ(::getrlimit(RLIMIT_AS, &before), 0);
    limit = {rlim_t{1} << 30, before.rlim_max};
    ASSERT_EQ(::setrlimit(RLIMIT_AS, &limit), 0);  // for the tool, which inherits it
    const ToolResult run = RunToolIn(folder / "", "huge.zrv");
    const ToolResult check = RunToolIn(folder / "", "--check e.expect huge.zrv");
    ::setrlimit(RLIMIT_AS, &before);
    EXPECT_EQ(
        std::pair(run.status, run.err),
        std::pair(1, std::string("zorvan-run: δεν υπάρχει αρκετή μνήμη για αυτό το αρχείο\n")));
    EXPECT_EQ(std::pair(check.status, check.out),
              std::pair(1, std::string("ΑΠΟΤΥΧΙΑ huge.zrv 0/1: δεν υπάρχει αρκετή μνήμη για τον "
                                       "έλεγχο αυτού του αρχείου\n0 passed, 1 failed, average "
                                       "0.00/1\n")));
}
#endif

#endif

}  // namespace
}  // namespace zorvan::app
