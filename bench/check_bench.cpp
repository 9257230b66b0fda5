// What a teacher waits for: a class's worth of programs graded many times over. 1,000 generated
// program files of about 100 lines each, in one folder, checked against one expectation file, as
// zorvan-run --check does it: the folder listed, every file read, assembled on a fresh machine,
// run and compared, on a thread per core; the same with three cases each; and a class of 30 of
// which 5 print in an endless loop until the default limit, with the process's peak memory; and
// zorvan-run's peak memory on an 18 MB program file.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <variant>
#include <vector>

#include "app/expectations.h"
#include "app/grader.h"
#include "app/program_file.h"
#include "grid/program_grid.h"
#include "text/hex_text.h"

namespace {

using namespace zorvan;

constexpr int kPrograms = 1000;

// Sums the table at 0300-030F into 0310, counts a delay loop of 255 x 8 in XR and YR, stores 80
// more cells one by one and prints "OK" on the console: 100 lines, about 4,500 instructions.
// Every tenth program adds one number too few, so that it fails.
std::string Program(int k) {
    grid::ProgramGrid grid;
    int row = 0;
    int address = 0x0200;
    const auto line = [&](const std::string& label, const std::string& instruction,
                          const std::string& first = "", const std::string& second = "",
                          int size = 2) {
        ++row;
        grid.SetCell(grid::kLabelColumn, row, label);
        grid.SetCell(grid::kAddressColumn, row, text::FormatHex4(address));
        grid.SetCell(grid::kInstructionColumn, row, instruction);
        grid.SetCell(grid::kFirstParameterColumn, row, first);
        grid.SetCell(grid::kSecondParameterColumn, row, second);
        grid.SetCell(grid::kCommentColumn, row, "γραμμή " + std::to_string(row));
        address += size;
    };
    line("", "LDX", "#00");
    line("", "LDA", "#00");
    line("SUM", "CLC", "", "", 1);
    line("", "ADC", "0300,", "X", 3);
    line("", "INX", "", "", 1);
    line("", "CPX", k % 10 == 9 ? "#0F" : "#10");
    line("", "BNE", "SUM");
    line("", "STA", "0310", "", 3);
    line("", "LDY", "#08");
    line("OUTER", "LDX", "#FF");
    line("INNER", "DEX", "", "", 1);
    line("", "BNE", "INNER");
    line("", "DEY", "", "", 1);
    line("", "BNE", "OUTER");
    for (int cell = 0; cell < 40; ++cell) {
        line("", "LDA", "#" + text::FormatHex2((k + cell) & 0xFF));
        line("", "STA", text::FormatHex4(0x0400 + cell), "", 3);
    }
    line("", "LDA", "#4F");
    line("", "STA", "0320", "", 3);
    line("", "LDA", "#4B");
    line("", "STA", "0321", "", 3);
    line("", "LDA", "#20");
    line("", "STA", "00");
    line("", "LDA", "#03");
    line("", "STA", "01");
    line("", "LDA", "#60");
    line("", "STA", "FFFC", "", 3);
    line("", "JSR", "FFFC", "", 3);
    line("", "BRK", "", "", 1);
    grid.SetCell(grid::kAddressColumn, row + 1, text::FormatHex4(address));
    grid.SetRowCount(row + 2);
    return app::WriteProgramText(grid);
}

constexpr std::string_view kExpectations =
    "poke 0300: 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F 10\n"
    "end empty cell\n"
    "0310: 88\n"
    "XR=00 YR=00\n"
    "console \"OK\"\n";

// The programs, written once into a temporary folder that lives as long as the process.
const std::string& ProgramFolder() {
    static const std::string kFolder = [] {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "zorvan-check-bench-XXXXXX").string();
        const std::string path = ::mkdtemp(pattern.data());
        for (int k = 0; k < kPrograms; ++k) {
            std::ofstream(path + "/student" + std::to_string(1000 + k) + ".zrv", std::ios::binary)
                << Program(k);
        }
        return path;
    }();
    return kFolder;
}

// Three cases, each with its own table; the generated programs pass only the first.
constexpr std::string_view kThreeCases =
    "end empty cell\nXR=00 YR=00\nconsole \"OK\"\n"
    "case \"1..16\"\npoke 0300: 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F 10\n0310: 88\n"
    "case \"ones\"\npoints 2\npoke 0300: 01 01 01 01 01 01 01 01 01 01 01 01 01 01 01 01\n"
    "0310: 10\n"
    "case \"zeros\"\n0310: 00\n";

// Prints a 250-letter text on every pass of an endless loop.
constexpr std::string_view kEndlessPrinter =
    "_ 0200 LDA #00 _ _\r\n_ 0202 STA 00 _ _\r\n_ 0204 LDA #04 _ _\r\n_ 0206 STA 01 _ _\r\n"
    "_ 0208 LDA #60 _ _\r\n_ 020A STA FFFC _ _\r\nLOOP 020D JSR FFFC _ _\r\n"
    "_ 0210 JMP LOOP _ _\r\n_ 0213 _ _ _ _\r\n";

// 25 of the generated programs and 5 endless printers, whose text the expectations poke at 0400.
const std::string& ClassFolder() {
    static const std::string kFolder = [] {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "zorvan-class-bench-XXXXXX").string();
        const std::string path = ::mkdtemp(pattern.data());
        for (int k = 0; k < 30; ++k) {
            std::ofstream(path + "/student" + std::to_string(10 + k) + ".zrv", std::ios::binary)
                << (k % 6 == 5 ? std::string(kEndlessPrinter) : Program(k));
        }
        return path;
    }();
    return kFolder;
}

double PeakMegabytes() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// First of the benchmarks, so that the peak is this one's.
void CheckClassWithEndlessPrinters(benchmark::State& state) {
    const std::string& folder = ClassFolder();
    std::string letters;
    for (int k = 0; k < 250; ++k) letters += " C1";
    const auto read = app::ReadExpectations(std::string(kExpectations) + "poke 0400:" + letters);
    const app::Expectations& expectations = std::get<app::Expectations>(read);
    std::size_t passed = 0;
    for (auto _ : state) {
        const std::vector<app::Verdict> verdicts =
            app::GradeFiles(expectations, app::ProgramPaths({folder}));
        passed = 0;
        for (const app::Verdict& verdict : verdicts) passed += verdict.passed ? 1 : 0;
        benchmark::DoNotOptimize(passed);
    }
    state.counters["peak_MB"] = PeakMegabytes();
    state.SetLabel("30 files, 5 endless printers, " + std::to_string(passed) + " passed");
}
BENCHMARK(CheckClassWithEndlessPrinters)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1);

void CheckThousandPrograms(benchmark::State& state) {
    const std::string& folder = ProgramFolder();
    const auto read = app::ReadExpectations(kExpectations);
    const app::Expectations& expectations = std::get<app::Expectations>(read);
    std::size_t passed = 0;
    for (auto _ : state) {
        const std::vector<app::Verdict> verdicts =
            app::GradeFiles(expectations, app::ProgramPaths({folder}));
        passed = 0;
        for (const app::Verdict& verdict : verdicts) passed += verdict.passed ? 1 : 0;
        benchmark::DoNotOptimize(passed);
    }
    state.SetLabel("1,000 files of 100 lines, " + std::to_string(passed) + " passed");
}
BENCHMARK(CheckThousandPrograms)->Unit(benchmark::kMillisecond)->UseRealTime();

void CheckThousandProgramsOfThreeCases(benchmark::State& state) {
    const std::string& folder = ProgramFolder();
    const auto read = app::ReadExpectations(kThreeCases);
    const app::Expectations& expectations = std::get<app::Expectations>(read);
    std::int64_t score = 0;
    for (auto _ : state) {
        score = 0;
        for (const app::Verdict& verdict :
             app::GradeFiles(expectations, app::ProgramPaths({folder})))
            score += verdict.score;
        benchmark::DoNotOptimize(score);
    }
    state.SetLabel("1,000 files x 3 cases, " + std::to_string(score) + " points in all");
}
BENCHMARK(CheckThousandProgramsOfThreeCases)->Unit(benchmark::kMillisecond)->UseRealTime();

#ifdef ZORVAN_RUN_PATH
// A huge program file, written a row at a time: 18 MB of 27-byte rows, each an instruction with
// a label of its own, or the same size in three rows with cells of 6 MB.
void WriteHugeProgram(const std::string& path, bool longCells) {
    std::ofstream file(path, std::ios::binary);
    if (longCells) {
        const std::string cell(6 << 20, 'x');
        file << "_ 0200 BRK _ _ " << cell << "\r\n"
             << cell << " 0201 _ _ _ _\r\n_ 0202 _ _ _ " << cell << "\r\n";
        return;
    }
    char row[32];
    for (int k = 0; k < (18 << 20) / 27; ++k) {
        std::snprintf(row, sizeof row, "L%07d 0200 LDA #00 _ _\r\n", k);
        file << row;
    }
}

// The peak memory of zorvan-run, in a process of its own, on a huge program file: run as a
// program (0) or graded with --check (1); many short rows (0) or a few very long ones (1).
void HugeProgramFile(benchmark::State& state) {
    const bool check = state.range(0) == 1, longCells = state.range(1) == 1;
    std::string pattern =
        (std::filesystem::temp_directory_path() / "zorvan-huge-bench-XXXXXX").string();
    const std::string folder = ::mkdtemp(pattern.data());
    const std::string program = folder + "/huge.zrv", expectations = folder + "/e.expect";
    WriteHugeProgram(program, longCells);
    std::ofstream(expectations) << "end empty cell\n";
    std::vector<std::string> arguments = {ZORVAN_RUN_PATH, program};
    if (check) arguments = {ZORVAN_RUN_PATH, "--check", expectations, program};
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t quiet;
    posix_spawn_file_actions_init(&quiet);
    posix_spawn_file_actions_addopen(&quiet, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&quiet, 2, "/dev/null", O_WRONLY, 0);
    double peak = 0;
    for (auto _ : state) {
        pid_t child = 0;
        int status = 0;
        rusage usage{};
        if (::posix_spawn(&child, argv[0], &quiet, nullptr, argv.data(), environ) != 0 ||
            ::wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) ||
            WEXITSTATUS(status) != 0) {
            state.SkipWithError("zorvan-run failed");
            break;
        }
        peak = static_cast<double>(usage.ru_maxrss) / 1024.0;
    }
    posix_spawn_file_actions_destroy(&quiet);
    const double size = static_cast<double>(std::filesystem::file_size(program)) / (1 << 20);
    state.counters["file_MB"] = size;
    state.counters["peak_MB"] = peak;
    state.counters["peak_per_file_size"] = peak / size;
    state.SetLabel(std::string(check ? "--check, " : "run, ") +
                   (longCells ? "3 rows of 6 MB cells" : "27-byte rows"));
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}
BENCHMARK(HugeProgramFile)
    ->ArgsProduct({{0, 1}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1);
#endif

// The folder goes when the benchmarks are done.
struct RemoveFolderAtExit {
    ~RemoveFolderAtExit() {
        std::error_code ignored;
        std::filesystem::remove_all(ProgramFolder(), ignored);
        std::filesystem::remove_all(ClassFolder(), ignored);
    }
} removeFolderAtExit;

}  // namespace
