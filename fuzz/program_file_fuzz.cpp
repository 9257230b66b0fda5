// Any bytes read as a program file: nothing may crash, the grid keeps its header and at least one
// data row with the current cell inside the table, and what was read saves and reads back the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "app/program_file.h"
#include "grid/program_grid.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace zorvan;
    using namespace zorvan::app;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    grid::ProgramGrid grid;
    grid.SetCurrent(grid::kCommentColumn, 1);
    const auto rows = ReadProgramText(bytes);
    PlaceProgramRows(grid, rows);

    if (grid.RowCount() < 2) std::abort();
    if (grid.Row() < 1 || grid.Row() >= grid.RowCount()) std::abort();
    if (grid.Col() < 0 || grid.Col() >= grid::kGridColumnCount) std::abort();
    if (grid.Cell(grid::kAddressColumn, 0) != "Διευθύνσεις") std::abort();

    // Cells that came from a file can always be written back faithfully.
    if (!rows.empty() && FindUnfaithfulCell(grid)) std::abort();
    if (!rows.empty() && ReadProgramText(WriteProgramText(grid)) != rows) std::abort();
    return 0;
}
