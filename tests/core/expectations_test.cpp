#include "app/expectations.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <tuple>
#include <vector>

#include "temp_folder.h"
#include "text/hex_text.h"

namespace zorvan::app {
namespace {

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
    for (const auto& [text, description] : cases) {
        const auto read = ReadExpectations(text);
        ASSERT_TRUE(std::holds_alternative<Expectations>(read))
            << text << "\n"
            << std::get<ExpectationError>(read).message;
        EXPECT_EQ(Describe(std::get<Expectations>(read)), description) << text;
    }
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
        const auto read = ReadExpectations("console " + quoted);
        ASSERT_TRUE(std::holds_alternative<Expectations>(read)) << quoted;
        EXPECT_EQ(std::get<Expectations>(read).cases.front().checks.front().console, text);
    }
}

}  // namespace
}  // namespace zorvan::app
