#include "app/program_listing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "text/characters.h"

namespace zorvan::app {
namespace {

using Row = std::vector<std::string>;  // label, address, instruction, parameter 1, 2, comment

ProgramGrid GridOf(const std::vector<Row>& rows) {
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
    if (at == std::string::npos) return -1;
    return static_cast<int>(text::CharacterCount(line.substr(0, at)));
}

std::vector<std::string> AllLines(const std::vector<ListingPage>& pages) {
    std::vector<std::string> lines;
    for (const ListingPage& page : pages)
        lines.insert(lines.end(), page.lines.begin(), page.lines.end());
    return lines;
}

TEST(ProgramListing, EveryDataRowGetsItsLineNumberEmptyRowsIncluded) {
    const ProgramGrid grid = GridOf({{"", "0200", "LDA", "#05"}, {}, {"", "0202", "BRK"}});
    const std::vector<std::string> lines = ListingRows(grid);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].rfind("1:", 0), 0u);
    EXPECT_EQ(lines[1], "2:");
    EXPECT_EQ(lines[2].rfind("3:", 0), 0u);
}

TEST(ProgramListing, FieldsKeepTheirOrderAndLineUpInColumns) {
    const ProgramGrid grid = GridOf({
        {"", "0200", "LDX", "#00", "", "ο μετρητής"},
        {"ΒΡΟΧΟΣ", "0202", "STA", "0300,", "X", "γράψε"},
        {"", "0205", "INX"},
        {"", "0206", "BNE", "ΒΡΟΧΟΣ", "", "ξανά"},
    });
    // Ten rows make the line number two digits wide; pad with empty rows.
    ProgramGrid wide = grid;
    wide.SetRowCount(11);
    const std::vector<std::string> lines = ListingRows(wide);
    ASSERT_EQ(lines.size(), 10u);
    EXPECT_EQ(lines[0].rfind(" 1:", 0), 0u);
    EXPECT_EQ(lines[9], "10:");

    struct Expectation {
        std::string line;
        std::vector<std::string> inOrder;
    };
    const std::vector<Expectation> expectations = {
        {lines[0], {"0200", "LDX", "#00", "ο μετρητής"}},
        {lines[1], {"ΒΡΟΧΟΣ", "0202", "STA", "0300,", "X", "γράψε"}},
        {lines[3], {"0206", "BNE", "ΒΡΟΧΟΣ", "ξανά"}},
    };
    for (const Expectation& e : expectations) {
        int previous = -1;
        for (const std::string& field : e.inOrder) {
            const int at = ColumnOf(e.line, field);
            EXPECT_GT(at, previous) << field << " in " << e.line;
            previous = at;
        }
    }
    // Greek letters take one column each, so the columns after a Greek label still line up.
    for (int row : {0, 1, 2, 3}) {
        EXPECT_EQ(ColumnOf(lines[row], lines[row].substr(lines[row].find("02"), 4)),
                  ColumnOf(lines[1], "0202"))
            << lines[row];
    }
    EXPECT_EQ(ColumnOf(lines[0], "LDX"), ColumnOf(lines[1], "STA"));
    EXPECT_EQ(ColumnOf(lines[3], "ΒΡΟΧΟΣ"), ColumnOf(lines[1], "0300,"));
    EXPECT_EQ(ColumnOf(lines[0], "ο μετρητής"), ColumnOf(lines[1], "γράψε"));
}

TEST(ProgramListing, RowsBeyondTheRowCountAndControlCharactersDoNotPrint) {
    ProgramGrid grid = GridOf({{"", "0200", "NOP", "", "", "a\tb"}});
    grid.SetCell(2, 2, "HIDDEN");  // stored beyond the row count
    const std::vector<std::string> lines = ListingRows(grid);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].find("HIDDEN"), std::string::npos);
    EXPECT_NE(lines[0].find("a b"), std::string::npos);
}

TEST(ProgramListing, HeadingIsTheFileNameAndAPageNumberOnlyWithSeveralPages) {
    struct Case {
        int rows;
        std::string heading;
        int linesPerPage;
        std::vector<std::size_t> linesOnPages;
        std::vector<std::string> firstHeading;
    };
    const std::vector<Case> cases = {
        {3, "", 60, {3}, {""}},
        {3, "/home/μαθητής/loop.zrv", 60, {3}, {"/home/μαθητής/loop.zrv"}},
        // 10 lines a page: the heading, the page number and an empty line leave 7 rows.
        {20, "a.zrv", 10, {7, 7, 6}, {"a.zrv", "Σελίδα 1 από 3"}},
        {20, "", 10, {8, 8, 4}, {"Σελίδα 1 από 3"}},
        // Exactly one page full needs no page number.
        {8, "", 10, {8}, {""}},
        {0, "a.zrv", 10, {0}, {"a.zrv"}},
    };
    for (const Case& c : cases) {
        ProgramGrid grid;
        grid.SetRowCount(c.rows + 1);
        for (int r = 1; r <= c.rows; ++r) grid.SetCell(2, r, "NOP");
        const std::vector<ListingPage> pages = PaginateListing(grid, c.heading, c.linesPerPage, 80);
        ASSERT_EQ(pages.size(), c.linesOnPages.size()) << c.rows << " rows";
        for (std::size_t p = 0; p < pages.size(); ++p) {
            EXPECT_EQ(pages[p].lines.size(), c.linesOnPages[p]) << "page " << p + 1;
            EXPECT_LE(pages[p].heading.size() + 1 + pages[p].lines.size(),
                      static_cast<std::size_t>(c.linesPerPage));
        }
        EXPECT_EQ(pages[0].heading, c.firstHeading);
        if (pages.size() > 1) {
            EXPECT_EQ(pages.back().heading.back(), PageNumberText(static_cast<int>(pages.size()),
                                                                  static_cast<int>(pages.size())));
        }
        // Every row, in order, once.
        const std::vector<std::string> lines = AllLines(pages);
        ASSERT_EQ(lines.size(), static_cast<std::size_t>(c.rows));
        for (int r = 1; r <= c.rows; ++r) {
            EXPECT_EQ(lines[static_cast<std::size_t>(r) - 1].rfind(std::to_string(r) + ":"),
                      lines[static_cast<std::size_t>(r) - 1].find_first_not_of(' '));
        }
    }
}

TEST(ProgramListing, AWideRowContinuesIndentedAndStaysOnOnePage) {
    const std::string comment =
        "αυτό είναι ένα πολύ μεγάλο σχόλιο που δεν χωράει σε μία γραμμή της σελίδας";
    ProgramGrid grid;
    grid.SetRowCount(6);
    for (int r = 1; r <= 5; ++r) grid.SetCell(2, r, "NOP");
    grid.SetCell(5, 4, comment);
    const std::vector<ListingPage> pages = PaginateListing(grid, "", 7, 30);
    // Five body lines a page under the page number: rows 1-3, then row 4 (four lines) does not
    // fit under them and starts a fresh page, followed by row 5.
    ASSERT_EQ(pages.size(), 2u);
    ASSERT_EQ(pages[0].lines.size(), 3u);
    ASSERT_EQ(pages[1].lines.back(), ListingRows(grid)[4]);
    const std::vector<std::string> wide(pages[1].lines.begin(), pages[1].lines.end() - 1);
    ASSERT_GT(wide.size(), 1u);
    EXPECT_EQ(wide[0].rfind("4:", 0), 0u);
    std::string rejoined;
    for (std::size_t i = 0; i < wide.size(); ++i) {
        EXPECT_LE(text::CharacterCount(wide[i]), 30u) << wide[i];
        if (i > 0) EXPECT_EQ(wide[i].rfind("    ", 0), 0u) << "continuation indented: " << wide[i];
        rejoined += " " + wide[i].substr(wide[i].find_first_not_of(' '));
    }
    EXPECT_NE(rejoined.find(" " + comment), std::string::npos) << rejoined;
}

TEST(ProgramListing, ARowLongerThanAPageSplitsAcrossPagesWithoutLoss) {
    ProgramGrid grid;
    grid.SetCell(5, 1, std::string(200, 'x'));
    const std::vector<ListingPage> pages = PaginateListing(grid, "", 5, 20);
    std::string all;
    for (const std::string& line : AllLines(pages)) all += line;
    EXPECT_GT(pages.size(), 1u);
    EXPECT_EQ(std::count(all.begin(), all.end(), 'x'), 200);
}

}  // namespace
}  // namespace zorvan::app
