// The example programs in examples/, also shown in the help: program files exactly as Save writes
// them, that run through zorvan-run to their documented result.

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <utility>

#include "app/program_file.h"
#include "app/program_grid.h"
#include "temp_folder.h"

namespace {

using namespace zorvan;
using zorvan::testing::FileBytes;

// Each example and what zorvan-run prints for it: summary, console, end, registers.
const std::pair<std::string, std::string> kExamples[] = {
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

const std::string kExamplesFolder = std::string(ZORVAN_SOURCE_DIR) + "/examples/";

TEST(Examples, AreExactlyWhatSaveWritesForTheTypedProgramAndTheHelpShowsThem) {
    const std::string help =
        FileBytes(std::string(ZORVAN_SOURCE_DIR) + "/resources/help/examples.html");
    for (const auto& [file, output] : kExamples) {
        SCOPED_TRACE(file);
        const std::string bytes = FileBytes(kExamplesFolder + file);
        ASSERT_FALSE(bytes.empty());
        EXPECT_EQ(bytes.find("\xCE"), std::string::npos) << "UTF-8, not Windows-1253";
        app::ProgramGrid grid;
        app::PlaceProgramRows(grid, app::ReadProgramText(bytes));
        // As typed: the empty line after the program, with its address filled in.
        EXPECT_EQ(grid.Cell(app::kInstructionColumn, grid.LastRow()), "");
        EXPECT_NE(grid.Cell(app::kAddressColumn, grid.LastRow()), "");
        for (int row = 1; row < grid.RowCount(); ++row) {
            // An empty comment reads back as one space by design; typed, it was empty.
            if (grid.Cell(app::kCommentColumn, row) == " ")
                grid.SetCell(app::kCommentColumn, row, "");
            std::string cells;
            for (int column = app::kAddressColumn; column <= app::kSecondParameterColumn; ++column)
                cells += "<td>" + grid.Cell(column, row) + "</td>";
            EXPECT_NE(help.find(cells), std::string::npos) << "row " << row << " in the help";
        }
        EXPECT_EQ(app::WriteProgramText(grid), bytes);
    }
}

#ifdef ZORVAN_RUN_PATH
TEST(Examples, RunFrom0200ToTheirDocumentedResult) {
    for (const auto& [file, output] : kExamples) {
        const std::string command = "'" ZORVAN_RUN_PATH "' '" + kExamplesFolder + file + "' 2>&1";
        FILE* pipe = ::popen(command.c_str(), "r");
        ASSERT_NE(pipe, nullptr);
        std::string out;
        char buffer[256];
        while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) out += buffer;
        EXPECT_EQ(::pclose(pipe), 0) << file;
        EXPECT_EQ(out.rfind(output, 0), 0u) << file << ":\n" << out;
    }
}
#endif

}  // namespace
