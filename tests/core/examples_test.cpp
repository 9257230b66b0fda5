// The example programs in examples/, also shown in the help: program files exactly as Save writes
// them. How they run is checked by the help's claims.

#include <gtest/gtest.h>

#include <string>

#include "app/program_file.h"
#include "grid/program_grid.h"
#include "temp_folder.h"

namespace {

using namespace zorvan;
using zorvan::testing::FileBytes;

TEST(Examples, AreExactlyWhatSaveWritesForTheTypedProgramAndTheHelpShowsThem) {
    const std::string help = FileBytes(ZORVAN_SOURCE_DIR "/resources/help/examples.html");
    for (const std::string file : {"hello.zrv", "count.zrv", "subroutine.zrv"}) {
        SCOPED_TRACE(file);
        const std::string bytes = FileBytes(ZORVAN_SOURCE_DIR "/examples/" + file);
        ASSERT_FALSE(bytes.empty());
        EXPECT_EQ(bytes.find("\xCE"), std::string::npos) << "UTF-8, not Windows-1253";
        grid::ProgramGrid grid;
        app::PlaceProgramRows(grid, app::ReadProgramText(bytes));
        // As typed: the empty line after the program, with its address filled in.
        EXPECT_EQ(grid.Cell(grid::kInstructionColumn, grid.LastRow()), "");
        EXPECT_NE(grid.Cell(grid::kAddressColumn, grid.LastRow()), "");
        for (int row = 1; row < grid.RowCount(); ++row) {
            // An empty comment reads back as one space by design; typed, it was empty.
            if (grid.Cell(grid::kCommentColumn, row) == " ")
                grid.SetCell(grid::kCommentColumn, row, "");
            std::string cells;
            for (int column = grid::kAddressColumn; column <= grid::kSecondParameterColumn;
                 ++column)
                cells += "<td>" + grid.Cell(column, row) + "</td>";
            EXPECT_NE(help.find(cells), std::string::npos) << "row " << row << " in the help";
        }
        EXPECT_EQ(app::WriteProgramText(grid), bytes);
    }
}

}  // namespace
