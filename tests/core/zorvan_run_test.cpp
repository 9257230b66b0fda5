// zorvan-run end to end: the built tool on the sample programs, its output and exit status.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

namespace {

#ifdef ZORVAN_RUN_PATH

struct ToolResult {
    int status = -1;
    std::string out;
    std::string err;
};

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Runs the tool with these arguments (split at spaces; a bare name is a file in the test data),
// standard output and error caught in files.
ToolResult RunTool(const std::string& arguments) {
    std::vector<std::string> words{ZORVAN_RUN_PATH};
    std::istringstream split(arguments);
    for (std::string word; split >> word;) {
        if (word.ends_with(".zrv")) word = std::string(ZORVAN_TEST_DATA) + "/" + word;
        words.push_back(word);
    }
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);

    std::string folder = (std::filesystem::temp_directory_path() / "zorvan-run-XXXXXX").string();
    EXPECT_NE(::mkdtemp(folder.data()), nullptr);
    const std::string outPath = folder + "/out";
    const std::string errPath = folder + "/err";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT, 0600);
    pid_t pid = 0;
    ToolResult result;
    if (::posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
        int wstatus = 0;
        ::waitpid(pid, &wstatus, 0);
        result.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    result.out = Slurp(outPath);
    result.err = Slurp(errPath);
    std::filesystem::remove_all(folder);
    return result;
}

const std::string kRegistersAtStart = "AC=00 XR=00 YR=00 SP=FF\nNV-BDIZC=00100000\n";

TEST(ZorvanRun, RunsSavedProgramsAndReportsTheEnd) {
    struct Case {
        std::string arguments;
        int status;
        std::string out;
    };
    const std::string sumSummary =
        "Επεξεργάστηκαν Συνολικά:3 γραμμές.\nΣυνολικός Αριθμός Bytes:6\n";
    const std::string countdownSummary =
        "Επεξεργάστηκαν Συνολικά:4 γραμμές.\nΣυνολικός Αριθμός Bytes:6\n";
    const Case cases[] = {
        {"sum.zrv --dump 0200:6", 0,
         sumSummary + "end: empty cell\nPC=0206 AC=05 XR=00 YR=00 SP=FF\nNV-BDIZC=00100000\n"
                      "0200: A9 05 8D 00 03 00\n"},
        {"countdown.zrv --dump 0203:3", 0,
         countdownSummary + "end: empty cell\nPC=0206 AC=00 XR=00 YR=00 SP=FF\nNV-BDIZC=00100010\n"
                            "0203: D0 FD 00\n"},
        {"countdown.zrv --steps 2", 0,
         countdownSummary + "end: steps\nPC=0203 AC=00 XR=02 YR=00 SP=FF\nNV-BDIZC=00100000\n"},
        {"countdown.zrv --from 0202 --set XR=02 --set P=FF", 0,
         countdownSummary +
             "end: empty cell\nPC=0206 AC=00 XR=00 YR=00 SP=FF\nNV-BDIZC=01111111\n"},
        {"sum.zrv --assemble-only --dump 0200:12", 0,
         sumSummary + "end: assembled\nPC=0000 " + kRegistersAtStart +
             "0200: A9 05 8D 00 03 00 00 00 00 00 00 00 00 00 00 00\n0210: 00 00\n"},
        {"console.zrv --poke FFFC:60,60,60,60 --poke 0300:48,49,00 --input 4A", 0,
         "Επεξεργάστηκαν Συνολικά:10 γραμμές.\nΣυνολικός Αριθμός Bytes:23\n"
         "HI\nαΔώσε τον AC\n"
         "end: empty cell\nPC=0217 AC=4A XR=00 YR=00 SP=FF\nNV-BDIZC=10100000\n"},
        {"console.zrv", 0,  // no routine at FFFC: the run ends there
         "Επεξεργάστηκαν Συνολικά:10 γραμμές.\nΣυνολικός Αριθμός Bytes:23\n"
         "\nend: empty cell\nPC=FFFD AC=03 XR=00 YR=00 SP=FF\nNV-BDIZC=00100000\n"},
        {"push.zrv --set SP=0", 3,
         "Επεξεργάστηκαν Συνολικά:2 γραμμές.\nΣυνολικός Αριθμός Bytes:2\n"
         "end: stack full\nPC=0201 AC=00 XR=00 YR=00 SP=00\nNV-BDIZC=00100000\n"},
        {"forever.zrv --limit 1000", 4,
         "Επεξεργάστηκαν Συνολικά:1 γραμμές.\nΣυνολικός Αριθμός Bytes:3\n"
         "end: limit\nPC=0400 " +
             kRegistersAtStart},
        {"--from 0000 --poke 0000:78", 4, "end: not executed\nPC=0001 " + kRegistersAtStart},
        {"--from 0300 --set RA=1234 --poke 0300:60,00", 0,
         "end: empty cell\nPC=1235 " + kRegistersAtStart},
    };
    for (const Case& c : cases) {
        const ToolResult result = RunTool(c.arguments);
        EXPECT_EQ(result.status, c.status) << c.arguments << "\n" << result.err;
        EXPECT_EQ(result.out, c.out) << c.arguments;
        EXPECT_EQ(result.err, "") << c.arguments;
    }
}

TEST(ZorvanRun, ReportsFailuresOnStandardError) {
    struct Case {
        std::string arguments;
        int status;
        std::string errStart;
    };
    const Case cases[] = {
        {"missing_label.zrv", 2, "Η ετικέτα 'NOWHERE' δεν βρέθηκε\n"},
        {"bad_address.zrv", 2, "Το '02G2'"},
        {"no_such_program.zrv", 1, "zorvan-run: Δεν ήταν δυνατό να ανοιχτεί το αρχείο «"},
        {"--from 0200 --bogus", 1, "zorvan-run: άγνωστη επιλογή «--bogus»"},
        {"--from 10000", 1, "zorvan-run: --from"},
        {"--set Q=1", 1, "zorvan-run: --set"},
        {"--poke 0200:4G", 1, "zorvan-run: --poke"},
        {"--limit 10 --steps 10", 1, "zorvan-run:"},
        {"--input", 1, "zorvan-run: --input"},
        {"sum.zrv countdown.zrv", 1, "zorvan-run:"},
        {"", 1, "zorvan-run: δεν υπάρχει διεύθυνση έναρξης"},
    };
    for (const Case& c : cases) {
        const ToolResult result = RunTool(c.arguments);
        EXPECT_EQ(result.status, c.status) << c.arguments;
        EXPECT_EQ(result.err.rfind(c.errStart, 0), 0u) << c.arguments << ": " << result.err;
        EXPECT_EQ(result.out.find("end:"), std::string::npos) << c.arguments;
    }
}

#else

TEST(ZorvanRun, NotBuilt) {
    GTEST_SKIP() << "zorvan-run is not part of this build";
}

#endif

}  // namespace
