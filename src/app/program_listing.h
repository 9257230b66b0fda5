#pragma once
// The printed listing of the program grid, as text for a fixed-pitch font: a heading (the name of
// the file last opened), then one line per data row with its line number ("12:"), label, address,
// instruction, first and second parameter and comment in aligned columns, split into pages.
//
//   for (const ListingPage& page : PaginateListing(grid, workspace.openDialogFileName, 60, 80)) {
//       // draw page.heading, an empty line, then page.lines, one text line each
//   }
//
// Nothing is cut: a line wider than the page continues on the next line, indented past the line
// numbers, and rows that do not fit go on further pages.

#include <string>
#include <string_view>
#include <vector>

#include "grid/program_grid.h"

namespace zorvan::app {

struct ListingPage {
    // The heading's lines; with several pages the last one is "Σελίδα n από N". A page of a
    // listing without a file name and with a single page has one empty heading line.
    std::vector<std::string> heading;
    // The listing's lines on this page, in order (a wide row's continuation lines included).
    std::vector<std::string> lines;
};

// One line per data row (1 to RowCount()-1), in grid order: the right-aligned line number with its
// colon, then the six cells, each column as wide as its widest cell, two spaces apart. A column
// that is empty in every row takes no room. Control characters in a cell print as spaces.
std::vector<std::string> ListingRows(const grid::ProgramGrid& grid);

// "Σελίδα 2 από 5".
std::string PageNumberText(int page, int pageCount);

// The listing laid out on pages of linesPerPage text lines (heading and the empty line under it
// included) of charactersPerLine characters. A row is not split across pages unless it is longer
// than a page by itself. There is always at least one page.
std::vector<ListingPage> PaginateListing(const grid::ProgramGrid& grid, std::string_view heading,
                                         int linesPerPage, int charactersPerLine);

// The assembled program as a teacher hands it out: one line per data row with its address, the
// bytes it assembles to in hexadecimal, then label, instruction, parameters and comment, in
// aligned columns as ListingRows has them. The assembly pass's lines (row 1 down to the first row
// without an instruction) are each translated as the pass translates them; one that does not
// translate shows no bytes and is followed by a line with its error under its label.
struct AssembledListing {
    std::vector<std::string> lines;
    int failedLines = 0;
};
AssembledListing ListAssembledProgram(const grid::ProgramGrid& grid);

}  // namespace zorvan::app
