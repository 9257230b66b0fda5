// Any bytes read as a program file: nothing may crash, the grid keeps its header and at least one
// data row with the current cell inside the table, what was read saves and reads back the same, and
// a program read only to be run reads as the grid does.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "app/program_file.h"
#include "grid/program_grid.h"
#include "text/file_encoding.h"

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

    // A program read only to be run holds the same rows and cells, comments aside.
    const PackedProgram packed{std::string(bytes)};
    if (packed.RowCount() != grid.RowCount()) std::abort();
    for (int row = 1; row < grid.RowCount(); ++row)
        for (int column = 0; column < grid::kCommentColumn; ++column)
            if (packed.Text(column, row) != grid.Cell(column, row)) std::abort();

    // Cells that came from a Windows-1253 file can always be written back faithfully, byte for
    // byte. A UTF-8 file can be, unless its one warning named characters that saving loses. The
    // second reading is asked only of written bytes that cannot pass for Greek UTF-8 (the one
    // ambiguity of a format without an encoding mark: "ΞΈ" written alone reads back as "θ").
    if (rows.empty()) return 0;
    if (text::IsUtf8Text(bytes)) {
        if (!DescribeUnsavableCharacters(rows) && FindUnfaithfulCell(grid)) std::abort();
        return 0;
    }
    if (FindUnfaithfulCell(grid)) std::abort();
    const std::string written = WriteProgramText(grid);
    if (!text::IsUtf8Text(written) && ReadProgramText(written) != rows) std::abort();
    return 0;
}
