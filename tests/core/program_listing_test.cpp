#include "app/program_listing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "text/characters.h"

namespace zorvan::app {
namespace {

ProgramGrid GridOf(const std::vector<std::vector<std::string>>& rows) {
    ProgramGrid grid;
    grid.SetRowCount(static_cast<int>(rows.size()) + 1);
    for (std::size_t r = 0; r < rows.size(); ++r) {
        for (std::size_t c = 0; c < rows[r].size(); ++c) {
            grid.SetCell(static_cast<int>(c), static_cast<int>(r) + 1, rows[r][c]);
        }
    }
    return grid;
}

// The character column at which text starts in line, or -1.
int ColumnOf(const std::string& line, const std::string& text) {
    const std::size_t at = line.find(text);
    return at == std::string::npos ? -1
                                   : static_cast<int>(text::CharacterCount(line.substr(0, at)));
}

TEST(ProgramListing, EveryDataRowInOrderWithCellsLinedUpCountingGreekLettersAsOneColumn) {
    ProgramGrid grid = GridOf({
        {"", "0200", "LDX", "#00", "", "ο μετρητής"},
        {"ΒΡΟΧΟΣ", "0202", "STA", "0300,", "X", "γράψε"},
        {"", "0205", "BNE", "ΒΡΟΧΟΣ", "", "a\tb"},
    });
    grid.SetRowCount(11);           // two-digit line numbers; rows 4-10 empty
    grid.SetCell(2, 11, "HIDDEN");  // stored beyond the row count
    const std::vector<std::string> lines = ListingRows(grid);
    ASSERT_EQ(lines.size(), 10u);
    EXPECT_EQ(lines[0].rfind(" 1:", 0), 0u);
    EXPECT_EQ(lines[3] + lines[9], " 4:10:");
    const std::string order[] = {"ΒΡΟΧΟΣ", "0202", "STA", "0300,", "X", "γράψε"};
    for (int i = 1; i < 6; ++i)
        EXPECT_LT(ColumnOf(lines[1], order[i - 1]), ColumnOf(lines[1], order[i]));
    EXPECT_EQ(ColumnOf(lines[0], "0200"), ColumnOf(lines[1], "0202"));
    EXPECT_EQ(ColumnOf(lines[2], "ΒΡΟΧΟΣ"), ColumnOf(lines[1], "0300,"));
    EXPECT_EQ(ColumnOf(lines[0], "ο μετρητής"), ColumnOf(lines[2], "a b"))
        << "a tab prints as a space";
}

TEST(ProgramListing, PagesRepeatTheHeadingWithAPageNumberOnlyWhenThereAreSeveral) {
    // Ten lines a page: the heading's lines and an empty line come first.
    const std::tuple<int, std::string, std::vector<std::size_t>, std::vector<std::string>> cases[] =
        {
            {8, "", {8}, {""}},
            {20, "a.zrv", {7, 7, 6}, {"a.zrv", "Σελίδα 1 από 3"}},
            {20, "", {8, 8, 4}, {"Σελίδα 1 από 3"}},
            {0, "a.zrv", {0}, {"a.zrv"}},
        };
    for (const auto& [rows, heading, rowsOnPages, firstHeading] : cases) {
        SCOPED_TRACE(rows);
        ProgramGrid grid;
        grid.SetRowCount(rows + 1);
        for (int r = 1; r <= rows; ++r) grid.SetCell(2, r, "NOP");
        const std::vector<ListingPage> pages = PaginateListing(grid, heading, 10, 80);
        ASSERT_EQ(pages.size(), rowsOnPages.size());
        EXPECT_EQ(pages[0].heading, firstHeading);
        std::size_t next = 0;
        for (std::size_t p = 0; p < pages.size(); ++p) {
            EXPECT_EQ(pages[p].lines.size(), rowsOnPages[p]) << "page " << p + 1;
            for (const std::string& line : pages[p].lines)
                EXPECT_EQ(line, ListingRows(grid)[next++]);
        }
        if (pages.size() > 1) EXPECT_EQ(pages.back().heading.back(), PageNumberText(3, 3));
    }
}

TEST(ProgramListing, AWideRowWrapsIndentedWithoutLossAndStartsAFreshPageWhole) {
    const std::string comment = "ένα πολύ μεγάλο σχόλιο που δεν χωράει σε μία γραμμή της σελίδας";
    ProgramGrid grid = GridOf({{"", "", "NOP"},
                               {"", "", "NOP"},
                               {"", "", "NOP"},
                               {"", "", "NOP", "", "", comment},
                               {"", "", "NOP"}});
    // Five lines a page under the page number: rows 1-3; row 4 (four lines) and row 5.
    const std::vector<ListingPage> pages = PaginateListing(grid, "", 7, 30);
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(pages[0].lines.size(), 3u);
    const std::vector<std::string>& lines = pages[1].lines;
    EXPECT_EQ(lines.back(), ListingRows(grid)[4]);
    std::string rejoined;
    for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
        EXPECT_LE(text::CharacterCount(lines[i]), 30u) << lines[i];
        if (i > 0) EXPECT_EQ(lines[i].rfind("    ", 0), 0u) << lines[i];
        rejoined += " " + lines[i].substr(lines[i].find_first_not_of(' '));
    }
    EXPECT_NE(rejoined.find(" " + comment), std::string::npos) << rejoined;

    grid.SetCell(5, 4, std::string(200, 'x'));  // a row taller than a page goes on over pages
    std::string all;
    for (const ListingPage& page : PaginateListing(grid, "", 5, 20)) {
        for (const std::string& line : page.lines) all += line;
    }
    EXPECT_EQ(std::count(all.begin(), all.end(), 'x'), 200);
}

}  // namespace
}  // namespace zorvan::app
