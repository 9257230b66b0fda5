#include "app/program_listing.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "editor_fixture.h"

namespace zorvan::app {
namespace {

using Lines = std::vector<std::string>;

grid::ProgramGrid NopRows(int count) {
    return testing::WorkspaceWith(std::vector<testing::Line>(count, {"", "", "NOP"})).grid;
}

// The pages' sizes, and all their lines in order.
std::pair<std::vector<std::size_t>, Lines> Flatten(const std::vector<ListingPage>& pages) {
    std::pair<std::vector<std::size_t>, Lines> flat;
    for (const ListingPage& page : pages) {
        flat.first.push_back(page.lines.size());
        flat.second.insert(flat.second.end(), page.lines.begin(), page.lines.end());
    }
    return flat;
}

// Every data row in order, with cells lined up counting a Greek letter as one column.
TEST(ProgramListing, RowsLineUpAndPagesHoldThemAllWithTheirHeadings) {
    grid::Workspace workspace =
        testing::WorkspaceWith({{"", "0200", "LDX", "#00", "", "ο μετρητής"},
                                {"ΒΡΟΧΟΣ", "0202", "STA", "0300,", "X", "γράψε"},
                                {"", "0205", "BNE", "ΒΡΟΧΟΣ", "", "a\tb"}});
    grid::ProgramGrid& grid = workspace.grid;
    grid.SetRowCount(11);           // two-digit line numbers; rows 4-10 empty
    grid.SetCell(2, 11, "HIDDEN");  // stored beyond the row count
    // A tab prints as a space.
    EXPECT_EQ(ListingRows(grid), Lines({" 1:          0200  LDX  #00        ο μετρητής",
                                        " 2:  ΒΡΟΧΟΣ  0202  STA  0300,   X  γράψε",
                                        " 3:          0205  BNE  ΒΡΟΧΟΣ     a b",
                                        " 4:", " 5:", " 6:", " 7:", " 8:", " 9:", "10:"}));
    // Pages repeat the heading, with a page number only when there are several.
    // Ten lines a page: the heading's lines and an empty line come first.
    // clang-format off
    const std::tuple<int, std::string, std::vector<std::size_t>, Lines> cases[] = {
        {8, "", {8}, {""}}, {20, "a.zrv", {7, 7, 6}, {"a.zrv", "Σελίδα 1 από 3"}},
        {20, "", {8, 8, 4}, {"Σελίδα 1 από 3"}}, {0, "a.zrv", {0}, {"a.zrv"}}};
    // clang-format on
    for (const auto& [rows, heading, sizes, firstHeading] : cases) {
        const std::vector<ListingPage> pages = PaginateListing(NopRows(rows), heading, 10, 80);
        EXPECT_EQ(Flatten(pages), std::pair(sizes, ListingRows(NopRows(rows)))) << rows;
        EXPECT_EQ(pages[0].heading, firstHeading) << rows;
        if (pages.size() > 1) EXPECT_EQ(pages.back().heading.back(), PageNumberText(3, 3));
    }
    // A wide row wraps indented without loss, and starts a fresh page whole.
    grid = NopRows(5);
    grid.SetCell(grid::kCommentColumn, 4,
                 "ένα πολύ μεγάλο σχόλιο που δεν χωράει σε μία γραμμή της σελίδας");
    // Five lines a page of 30 characters under the page number: rows 1-3; row 4 and row 5.
    EXPECT_EQ(Flatten(PaginateListing(grid, "", 7, 30)),
              std::pair(std::vector<std::size_t>({3, 4}),
                        Lines({"1:  NOP", "2:  NOP", "3:  NOP", "4:  NOP  ένα πολύ μεγάλο",
                               "    σχόλιο που δεν χωράει σε", "    μία γραμμή της σελίδας",
                               "5:  NOP"})));
    grid.SetCell(grid::kCommentColumn, 4,
                 std::string(200, 'x'));  // taller than a page: on over pages
    std::string all;
    for (const std::string& line : Flatten(PaginateListing(grid, "", 5, 20)).second) all += line;
    EXPECT_EQ(std::count(all.begin(), all.end(), 'x'), 200);
}

// Address, bytes, then the grid's columns; a line that does not translate is followed by its error.
TEST(ProgramListing, AssembledLinesShowTheirBytesAndTheirErrors) {
    const grid::Workspace workspace =
        testing::WorkspaceWith({{"", "0200", "LDX", "#05", "", "ο μετρητής"},
                                {"LOOP", "0202", "STA", "0300,", "X", "γράψε"},
                                {"", "0205", "DEX"},
                                {"", "0206", "BNE", "LOOP"},
                                {"", "0208", "JMP", "NOWHERE"},
                                {"", "020B", "LDQ", "#01"},
                                {"", "020D", "LDA", "#0G"},
                                {"", "020F", "JMP", "LOOP"},
                                {"", "0212", ""},
                                {"", "", "NOP", "", "", "after the end"}});
    const AssembledListing listing = ListAssembledProgram(workspace.grid);
    EXPECT_EQ(listing.lines,
              Lines({"0200  A2 05           LDX  #05         ο μετρητής",
                     "0202  9D 00 03  LOOP  STA  0300,    X  γράψε", "0205  CA              DEX",
                     "0206  D0 FA           BNE  LOOP", "0208                  JMP  NOWHERE",
                     "                ^ Η ετικέτα 'NOWHERE' δεν βρέθηκε",
                     "020B                  LDQ  #01", "                ^ Λάθος στην σύνταξη!",
                     "020D                  LDA  #0G",
                     "                ^ Το '0G' δεν είναι έγκυρος δεκαεξαδικός αριθμός.",
                     "020F  4C F0 00        JMP  LOOP", "0212",
                     "                      NOP              after the end",
                     "                ^ δεν συμβολομεταφράζεται: η συμβολομετάφραση σταματά στην "
                     "πρώτη γραμμή χωρίς εντολή"}));
    EXPECT_EQ(listing.failedLines, 3);
}

}  // namespace
}  // namespace zorvan::app
