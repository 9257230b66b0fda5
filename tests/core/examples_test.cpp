// The example programs in examples/, also shown in the help: program files exactly as Save writes
// them, that run through zorvan-run to their documented result.

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/program_file.h"
#include "app/program_grid.h"

namespace {

using namespace zorvan;

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct Example {
    std::string file;
    std::string output;  // what zorvan-run prints: summary, console, end, registers
};

const std::vector<Example> kExamples = {
    {"hello.zrv",
     "Επεξεργάστηκαν Συνολικά:17 γραμμές.\nΣυνολικός Αριθμός Bytes:40\nΓΕΙΑ\nend: empty cell\n"
     "PC=0228 AC=60 XR=00 YR=00 SP=FF\n"},
    {"count.zrv",
     "Επεξεργάστηκαν Συνολικά:17 γραμμές.\nΣυνολικός Αριθμός Bytes:35\n0123456789\n"
     "end: empty cell\nPC=0223 AC=60 XR=0A YR=00 SP=FF\n"},
    {"subroutine.zrv",
     "Επεξεργάστηκαν Συνολικά:21 γραμμές.\nΣυνολικός Αριθμός Bytes:47\n6502\nend: empty cell\n"
     "PC=022A AC=60 XR=05 YR=00 SP=FF\n"},
};

std::string ExamplePath(const std::string& file) {
    return std::string(ZORVAN_SOURCE_DIR) + "/examples/" + file;
}

app::ProgramGrid Open(const std::string& bytes) {
    app::ProgramGrid grid;
    app::PlaceProgramRows(grid, app::ReadProgramText(bytes));
    return grid;
}

TEST(Examples, AreExactlyWhatSaveWritesForTheTypedProgramAndTheHelpShowsThem) {
    const std::string help =
        Slurp(std::string(ZORVAN_SOURCE_DIR) + "/resources/help/examples.html");
    for (const Example& example : kExamples) {
        SCOPED_TRACE(example.file);
        const std::string bytes = Slurp(ExamplePath(example.file));
        ASSERT_FALSE(bytes.empty());
        EXPECT_EQ(bytes.find("\xCE"), std::string::npos) << "UTF-8, not Windows-1253";
        app::ProgramGrid grid = Open(bytes);
        // As typed: the empty line after the program, with its address filled in.
        EXPECT_EQ(grid.Cell(app::kInstructionColumn, grid.LastRow()), "");
        EXPECT_NE(grid.Cell(app::kAddressColumn, grid.LastRow()), "");
        std::string helpRows;
        for (int row = 1; row < grid.RowCount(); ++row) {
            // An empty comment reads back as one space by design; typed, it was empty.
            if (grid.Cell(app::kCommentColumn, row) == " ")
                grid.SetCell(app::kCommentColumn, row, "");
            std::string cells;
            for (int column = app::kAddressColumn; column <= app::kSecondParameterColumn;
                 ++column) {
                cells += "<td>" + grid.Cell(column, row) + "</td>";
            }
            EXPECT_NE(help.find(cells), std::string::npos) << "row " << row << " in the help";
        }
        EXPECT_EQ(app::WriteProgramText(grid), bytes);
    }
}

#ifdef ZORVAN_RUN_PATH
TEST(Examples, RunFrom0200ToTheirDocumentedResult) {
    for (const Example& example : kExamples) {
        const std::string command =
            std::string("'") + ZORVAN_RUN_PATH + "' '" + ExamplePath(example.file) + "' 2>&1";
        FILE* pipe = ::popen(command.c_str(), "r");
        ASSERT_NE(pipe, nullptr);
        std::string out;
        char buffer[256];
        while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) out += buffer;
        EXPECT_EQ(::pclose(pipe), 0) << example.file;
        EXPECT_EQ(out.rfind(example.output, 0), 0u) << example.file << ":\n" << out;
    }
}
#endif

}  // namespace
