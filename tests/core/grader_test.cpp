#include "app/grader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "editor_fixture.h"
#include "temp_folder.h"

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
        {"each miss, in order", kStore, "0300: 05 01\nAC=06 XR=01\nZ=1\nPC=0207\nend stack full", "empty cell", 2,
         "0301 = 00, αναμενόταν 01; AC = 05, αναμενόταν 06; XR = 00, αναμενόταν 01; Z = 0, αναμενόταν 1; PC = 0206, αναμενόταν 0207; τέλος = κενό κελί, αναμενόταν μνήμη σωρού πλήρης"},
        {"set and poke before the run", kStore, "set AC=07 XR=02 C=1\npoke 0201: 09\nAC=09 XR=02 C=1\n0300: 09", "empty cell", 2, ""},
        {"each register by its name", {{"", "0200", "TXA"}, {"", "0201", "INY"}, {"", "0202", "DEX"}, {"", "0203", ""}},
         "set XR=07 YR=03 SP=40 RA=1234\nAC=07 XR=06 YR=04 SP=40 RA=1234 PC=0204", "empty cell", 3, ""},
        {"start address", kStore, "from 0202\nset AC=07\n0300: 07\nAC=07", "empty cell", 1, ""},
        {"a cell's 16 bits", kStore, "poke 0300: FFFF\nfrom 0205\n0300: FFFF", "empty cell", 0, ""},
        {"limit reached, asked", kStore, "limit 1\nend limit\nPC=0202", "limit", 1, ""},
        {"ends exactly at the limit", kStore, "limit 2\nend empty cell", "empty cell", 2, ""},
        {"default limit", kForever, "AC=01", "limit", kDefaultInstructionLimit, "έφτασε το όριο των 10000000 εντολών; AC = 00, αναμενόταν 01"},
        {"limit expected, not met", kStore, "end limit", "empty cell", 2, "τέλος = κενό κελί, αναμενόταν όριο εντολών"},
        {"stack full", kPush, "set SP=00\nend stack full\nSP=00", "stack full", 1, ""},
        {"stack full unasked passes", kPush, "set SP=00", "stack full", 1, ""},
        {"not executed", kSei, "end not executed\nPC=0201", "not executed", 0, ""},
        {"not executed, expected normal", kSei, "end empty cell", "not executed", 0, "τέλος = εντολή που δεν εκτελείται, αναμενόταν κενό κελί"},
        {"answer shown", kAskAndShow, kRts + "input 41\nconsole \"A\"\nAC=41", "empty cell", 4, ""},
        {"answer echoed", kAsk, kRts + "input 4a 42\nconsole \"Δώσε τον AC\\nAC:J\"", "empty cell", 2, ""},
        {"no answer left", kAsk, kRts + "console \"\"\nAC=01", "empty cell", 2,
         "κονσόλα = \"Δώσε τον AC\", αναμενόταν \"\"; AC = 00, αναμενόταν 01"},
        {"does not assemble", {{"", "0200", "LDA", "#05"}, {"", "0202", "BNE", "NOWHERE"}, {"", "0204", ""}}, "end empty cell", "", 0,
         "γραμμή 2: Η ετικέτα 'NOWHERE' δεν βρέθηκε"},
        {"address does not convert", {{"", "0200", "LDA", "#05"}, {"", "02G2", "NOP"}, {"", "0203", ""}}, "", "", 0,
         "γραμμή 2: Το '02G2' δεν είναι έγκυρος δεκαεξαδικός αριθμός."},
        {"no start address", {{"", "", ""}}, "end empty cell", "", 0,
         "δεν υπάρχει διεύθυνση έναρξης στη γραμμή 1· δώστε from στο αρχείο ελέγχου"},
        {"empty start cell: PC one past its old value", {{"", "", ""}}, "from 0300\nend empty cell\nPC=0001", "empty cell", 0, ""},
    };
    // clang-format on
    for (const Case& c : cases) {
        const Verdict verdict = GradeProgram(Read(c.expect), "p.zrv", ProgramBytes(c.program));
        std::string report = verdict.problem;
        for (const Mismatch& mismatch : verdict.mismatches)
            report += (report.empty() ? "" : "; ") + mismatch.message;
        EXPECT_EQ(report.substr(0, c.report.size()), c.report) << c.name;
        if (verdict.problem.empty()) EXPECT_EQ(report, c.report) << c.name;
        EXPECT_EQ(verdict.passed, c.report.empty()) << c.name;
        EXPECT_EQ(verdict.end ? std::string(EndKeyword(*verdict.end)) : "", c.end) << c.name;
        EXPECT_EQ(verdict.executed, c.executed) << c.name;
    }
}

TEST(Grader, FailuresSayWhatWasExpectedAndFoundAsTheFileWritesIt) {
    const Verdict verdict =
        GradeProgram(Read("limit 1\nAC=0c\nC=1\n0300: 05\nconsole \"x\\n\"\nPC=206"), "p.zrv",
                     ProgramBytes(kStore));
    std::vector<std::string> fields;
    for (const Mismatch& m : verdict.mismatches)
        fields.push_back(m.what + "@" + std::to_string(m.line) + ":" + m.expected + "/" + m.found);
    EXPECT_EQ(fields,
              std::vector<std::string>({"end@0:not limit/limit", "AC@2:0C/05", "C@3:1/0",
                                        "0300@4:05/00", "console@5:x\n/", "PC@6:0206/0202"}));
}

TEST(Grader, FoldersGiveTheirProgramsSortedAndEveryFileIsGradedInTheOrderGivenOnOneLine) {
    const zorvan::testing::TempFolder folder;
    const std::string good = ProgramBytes(kStore);
    std::filesystem::create_directory(folder / "ask1");
    std::filesystem::create_directory(folder / "ask1/old.zrv");  // a folder, not a program
    for (const char* name : {"ask1/b.zrv", "ask1/a.ZRV", "ask1/c.txt", "ask1/ab.zrv", "x.zrv"})
        zorvan::testing::PutFile(folder / name, good);
    zorvan::testing::PutFile(folder / "ask1/bad.zrv", ProgramBytes(kForever));
    std::filesystem::create_directory(folder / "empty");

    const std::vector<std::string> paths =
        ProgramPaths({folder / "x.zrv", folder / "ask1", folder / "missing.zrv", folder / "empty"});
    EXPECT_EQ(paths, std::vector<std::string>({folder / "x.zrv", folder / "ask1/a.ZRV",
                                               folder / "ask1/ab.zrv", folder / "ask1/b.zrv",
                                               folder / "ask1/bad.zrv", folder / "missing.zrv"}));

    // Many files on several threads come back in the order given.
    std::vector<std::string> many;
    for (int k = 0; k < 40; ++k) many.insert(many.end(), paths.begin(), paths.end());
    const Expectations expectations = Read("limit 100\nAC=05");
    const std::vector<Verdict> verdicts = GradeFiles(expectations, many, 4);
    ASSERT_EQ(verdicts.size(), many.size());
    for (std::size_t i = 0; i < many.size(); ++i) {
        EXPECT_EQ(verdicts[i].name, many[i]);
        EXPECT_EQ(verdicts[i].passed, i % 6 < 4) << many[i];
    }
    EXPECT_EQ(VerdictLine(verdicts[4]), "ΑΠΟΤΥΧΙΑ " + folder / "ask1/bad.zrv" +
                                            ": έφτασε το όριο των 100 εντολών; AC = 00, "
                                            "αναμενόταν 05");
    // The reason a file cannot be read, on the verdict's one line.
    const std::string missing = VerdictLine(verdicts[5]);
    const std::string opening = "ΑΠΟΤΥΧΙΑ " + folder / "missing.zrv" +
                                ": Δεν ήταν δυνατό να ανοιχτεί το αρχείο «" +
                                folder / "missing.zrv" + "».";
    EXPECT_EQ(missing.substr(0, opening.size()), opening);
    EXPECT_EQ(missing.find('\n'), std::string::npos);
    // Nor does any name or problem bring a control character into it.
    Verdict failed;
    failed.name = "odd\x1B[2Jname\n.zrv";
    failed.problem = "first line\nsecond\tline";
    EXPECT_EQ(VerdictLine(failed), "ΑΠΟΤΥΧΙΑ odd?[2Jname .zrv: first line second?line");
    EXPECT_EQ(SummaryLine(verdicts), "160 passed, 80 failed");
}

// The quoted words a pattern's first group holds, all matches taken.
std::set<std::string> QuotedWords(const std::string& text, const std::regex& pattern) {
    std::set<std::string> words;
    const std::regex quoted("\"(\\w+)\"");
    for (std::sregex_iterator m(text.begin(), text.end(), pattern), end; m != end; ++m) {
        const std::string group = (*m)[1];
        for (std::sregex_iterator w(group.begin(), group.end(), quoted); w != end; ++w)
            words.insert((*w)[1]);
    }
    return words;
}

TEST(Grader, TheJsonReportCarriesTheVerdictsWithItsTextsEscaped) {
    const Expectations expectations = Read("limit 5\nconsole \"\\x01\\\"Α\"");
    const std::string json = VerdictsJson({
        GradeProgram(expectations, "ask1/nikos.zrv", ProgramBytes(kStore)),
        GradeProgram(expectations, "ask1/λάθος.zrv", ProgramBytes(kForever)),
        GradeProgram(Read(""), "ask1/maria.zrv", ProgramBytes(kStore)),
        GradeProgram(expectations, "ask1/\x7F\xFF.zrv", ProgramBytes({{"", "0200", "LDQ"}})),
    });
    // Control characters escaped and a byte that is not UTF-8 replaced keep the document valid.
    EXPECT_EQ(
        json,
        R"({
  "files": [
    {"name": "ask1/nikos.zrv", "passed": false, "end": "empty cell", "instructions": 2, "problem": null, "failures": [
      {"what": "console", "line": 2, "expected": "\u0001\"Α", "found": "", "message": "κονσόλα = \"\", αναμενόταν \"\\x01\\\"Α\""}
    ]},
    {"name": "ask1/λάθος.zrv", "passed": false, "end": "limit", "instructions": 5, "problem": null, "failures": [
      {"what": "end", "line": null, "expected": "not limit", "found": "limit", "message": "έφτασε το όριο των 5 εντολών"},
      {"what": "console", "line": 2, "expected": "\u0001\"Α", "found": "", "message": "κονσόλα = \"\", αναμενόταν \"\\x01\\\"Α\""}
    ]},
    {"name": "ask1/maria.zrv", "passed": true, "end": "empty cell", "instructions": 2, "problem": null, "failures": []},
    {"name": "ask1/\u007F)"
        "\uFFFD"
        R"(.zrv", "passed": false, "end": null, "instructions": 0, "problem": "γραμμή 1: Λάθος στην σύνταξη!", "failures": []}
  ],
  "passed": 1,
  "failed": 3
}
)");

    // The schema the README shows requires every key the report writes, and no other.
    const std::string schema =
        zorvan::testing::FileBytes(ZORVAN_SOURCE_DIR "/docs/check-report.schema.json");
    EXPECT_NE(zorvan::testing::FileBytes(ZORVAN_SOURCE_DIR "/README.md").find(schema),
              std::string::npos);
    EXPECT_EQ(QuotedWords(schema, std::regex("\"required\": \\[([^\\]]*)\\]")),
              QuotedWords(json, std::regex("(\"\\w+\"): ")));
}

}  // namespace
}  // namespace zorvan::app
