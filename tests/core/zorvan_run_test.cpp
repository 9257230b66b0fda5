// zorvan-run end to end: the built tool on the sample programs and the examples, its output and
// exit status.

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <tuple>

#include "help_claim_reader.h"
#include "temp_folder.h"

namespace {

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
