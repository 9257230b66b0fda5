// The example programs shipped in examples/ and shown in the help: each is a program file that
// opens, assembles and runs to its documented result, and the help shows the same lines.

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/program_file.h"
#include "app/program_grid.h"
#include "asm/assembly_pass.h"
#include "cpu/machine.h"
#include "cpu/machine_host.h"
#include "cpu/run_loop.h"
#include "text/cp1253.h"

namespace {

using namespace zorvan;

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Records the console as the window would show it: one entry per line.
class ConsoleRecorder final : public cpu::MachineHost {
  public:
    std::vector<std::string> lines;
    void ShowCharacter(int ac) override {
        lines = {text::DecodeCp1253(std::string(1, static_cast<char>(ac & 0xFF)))};
    }
    void AskForAccumulator() override { lines = {"Δώσε τον AC"}; }
    void ClearConsole() override { lines.clear(); }
    void PrintText(std::string_view bytes) override { lines.push_back(text::DecodeCp1253(bytes)); }
    void StackFull() override { lines.push_back("stack full"); }
};

struct Example {
    std::string file;
    int lines;  // the assembly summary
    int bytes;
    std::vector<std::string> console;
    int pc;
    int ac;
    int xr;
};

const std::vector<Example>& Examples() {
    static const std::vector<Example> examples = {
        {"hello.zrv", 17, 0x28, {"ΓΕΙΑ"}, 0x0228, 0x60, 0x00},
        {"count.zrv", 17, 0x23, {"0123456789"}, 0x0223, 0x60, 0x0A},
        {"subroutine.zrv", 21, 0x2F, {"6502"}, 0x022A, 0x60, 0x05},
    };
    return examples;
}

std::string ExamplePath(const std::string& file) {
    return std::string(ZORVAN_SOURCE_DIR) + "/examples/" + file;
}

app::ProgramGrid Open(const std::string& bytes) {
    app::ProgramGrid grid;
    app::PlaceProgramRows(grid, app::ReadProgramText(bytes));
    return grid;
}

TEST(Examples, AreExactlyWhatSaveWritesForTheTypedProgram) {
    for (const Example& example : Examples()) {
        const std::string bytes = Slurp(ExamplePath(example.file));
        ASSERT_FALSE(bytes.empty()) << example.file;
        // Every line ends in CR LF and the text is Windows-1253, not UTF-8.
        EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n") << example.file;
        EXPECT_EQ(bytes.find("\xCE"), std::string::npos) << example.file << " looks like UTF-8";
        // Saved from the grid as typed: an empty comment reads back as one space by design, so
        // empty it again before writing.
        app::ProgramGrid grid = Open(bytes);
        for (int row = 1; row < grid.RowCount(); ++row) {
            if (grid.Cell(app::kCommentColumn, row) == " ")
                grid.SetCell(app::kCommentColumn, row, "");
        }
        EXPECT_EQ(app::WriteProgramText(grid), bytes) << example.file;
    }
}

TEST(Examples, AssembleAndRunFrom0200ToTheirDocumentedResult) {
    for (const Example& example : Examples()) {
        SCOPED_TRACE(example.file);
        const app::ProgramGrid grid = Open(Slurp(ExamplePath(example.file)));
        // The grid ends, as after typing, with an empty line that holds the next address.
        EXPECT_EQ(grid.Cell(app::kInstructionColumn, grid.LastRow()), "");
        EXPECT_FALSE(grid.Cell(app::kAddressColumn, grid.LastRow()).empty());

        cpu::Machine machine;
        const assembler::AssemblyResult result = assembler::Assemble(grid, machine);
        ASSERT_EQ(result.kind, assembler::AssemblyResult::Kind::kSummary) << result.text;
        EXPECT_EQ(result.lines, example.lines);
        EXPECT_EQ(result.bytes, example.bytes);

        ConsoleRecorder console;
        EXPECT_EQ(cpu::RunFrom(machine, console, 0x0200, 1'000'000), cpu::RunEnd::kEmptyCell);
        EXPECT_EQ(console.lines, example.console);
        EXPECT_EQ(machine.PC, example.pc);
        EXPECT_EQ(machine.AC, example.ac);
        EXPECT_EQ(machine.XR, example.xr);
        EXPECT_EQ(machine.SP, 0xFF);
    }
}

TEST(Examples, WithoutTheRtsAtFFFCTheGreetingStopsInsideTheRoutine) {
    // What the help invites the student to try: delete the two lines that store the RTS.
    app::ProgramGrid grid = Open(Slurp(ExamplePath("hello.zrv")));
    cpu::Machine machine;
    ASSERT_EQ(assembler::Assemble(grid, machine).kind, assembler::AssemblyResult::Kind::kSummary);
    machine.Write(0x021F, 0xEA);  // NOP over LDA #60
    machine.Write(0x0220, 0xEA);
    machine.Write(0x0221, 0xEA);  // NOP over STA FFFC
    machine.Write(0x0222, 0xEA);
    machine.Write(0x0223, 0xEA);
    ConsoleRecorder console;
    EXPECT_EQ(cpu::RunFrom(machine, console, 0x0200, 1'000'000), cpu::RunEnd::kEmptyCell);
    EXPECT_EQ(console.lines, std::vector<std::string>{"ΓΕΙΑ"});
    EXPECT_EQ(machine.PC, 0xFFFD);
}

TEST(Examples, TheHelpShowsTheSameLines) {
    const std::string help =
        Slurp(std::string(ZORVAN_SOURCE_DIR) + "/resources/help/examples.html");
    ASSERT_FALSE(help.empty());
    for (const Example& example : Examples()) {
        EXPECT_NE(help.find("(" + example.file + ")"), std::string::npos) << example.file;
        const app::ProgramGrid grid = Open(Slurp(ExamplePath(example.file)));
        for (int row = 1; row < grid.RowCount(); ++row) {
            std::string cells;
            for (int column = app::kAddressColumn; column <= app::kSecondParameterColumn;
                 ++column) {
                cells += "<td>" + grid.Cell(column, row) + "</td>";
            }
            EXPECT_NE(help.find(cells), std::string::npos) << example.file << " row " << row;
        }
    }
}

#ifdef ZORVAN_RUN_PATH
TEST(Examples, RunThroughTheCommandLineRunner) {
    for (const Example& example : Examples()) {
        const std::string command =
            std::string("'") + ZORVAN_RUN_PATH + "' '" + ExamplePath(example.file) + "'";
        FILE* pipe = ::popen(command.c_str(), "r");
        ASSERT_NE(pipe, nullptr);
        std::string out;
        char buffer[256];
        while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) out += buffer;
        const int status = ::pclose(pipe);
        EXPECT_EQ(status, 0) << out;
        EXPECT_NE(out.find(example.console.front() + "\n"), std::string::npos) << out;
        EXPECT_NE(out.find("end: empty cell"), std::string::npos) << out;
    }
}
#endif

}  // namespace
