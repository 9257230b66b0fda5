#include "app/program_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <optional>
#include <string>
#include <tuple>
#include <variant>
#include <vector>

#include "temp_folder.h"

namespace zorvan::app {
namespace {

namespace fs = std::filesystem;
using testing::FileBytes;
using testing::PutFile;
using testing::TempFolder;

// Rows as text: cells split by '|', rows ended by ';'.
std::vector<ProgramRow> RowsOf(const std::string& text) {
    std::vector<ProgramRow> rows(1);
    std::size_t cell = 0;
    for (char ch : text) {
        if (ch == '|') ++cell;
        if (ch == ';') rows.emplace_back(), cell = 0;
        if (ch != '|' && ch != ';') rows.back()[cell] += ch;
    }
    rows.pop_back();
    return rows;
}

ProgramGrid GridOf(const std::string& text) {
    ProgramGrid grid;
    PlaceProgramRows(grid, RowsOf(text));
    return grid;
}

TEST(ProgramFileWriting, WritesEachRowOfTheTableAsSixTokens) {
    const std::pair<std::string, std::string> cases[] = {
        {"L1|0200|STA|0300,|X|a_b c;|||||;", "L1 0200 STA 0300, X a_b_c\r\n_ _ _ _ _ _ \r\n"},
        {"||||| ;", "_ _ _ _ _ _\r\n"},  // a one-space comment
        {"Αρχή|||||τέλος ώρας;",
         "\xC1\xF1\xF7\xDE _ _ _ _ \xF4\xDD\xEB\xEF\xF2_\xFE\xF1\xE1\xF2\r\n"},
    };
    for (const auto& [rows, bytes] : cases)
        EXPECT_EQ(WriteProgramText(GridOf(rows)), bytes) << rows;
    ProgramGrid grid = GridOf("|0200|NOP|||;|0201|NOP|||;");
    grid.SetRowCount(2);  // the second line is stored but no longer part of the table
    EXPECT_EQ(WriteProgramText(grid), "_ 0200 NOP _ _ _ \r\n");
}

TEST(ProgramFileReading, PlacesTokensByCount) {
    const std::string two = "|0200|LDA|#45||load the value;|0202|BRK||| ;";
    const std::string ldaLine = "_ 0200 LDA #45 _ load_the_value";
    const std::pair<std::string, std::string> cases[] = {
        {ldaLine + "\r\n_ 0202 BRK _ _ _ \r\n\r\n\n", two},                // blank lines at the end
        {"_ 0200\tLDA\n#45 _\r\nload_the_value\v_\f0202 BRK _ _ _", two},  // any white space
        {ldaLine + " _ 0202 BRK _ _ _ extra", two},  // 13 tokens give two rows
        {"_ 0200 LDA #45 _", ""},
        {"_x __ _LDA _1 _ _", "||||| ;"},  // a leading underscore empties the cell
        {"a b c d e __x_", "a|b|c|d|e|  x ;"},
        {"\xC1\xF1\xF7\xDE _ _ _ _ \xF4\xDD\xEB\xEF\xF2", "Αρχή|||||τέλος;"},
        {"\xAA\x81 _ _ _ _ \xFF", "??|||||?;"},  // bytes the code page leaves undefined
    };
    for (const auto& [bytes, rows] : cases)
        EXPECT_EQ(ReadProgramText(bytes), RowsOf(rows)) << bytes;

    std::string many;  // more than 500 tokens
    for (int row = 0; row < 100; ++row) many += "_ " + std::to_string(row) + " NOP _ _ _\r\n";
    EXPECT_EQ(ReadProgramText(many).size(), 100u);
}

TEST(ProgramFileReading, RoundTripKeepsTheCellsAndTheCommentsWords) {
    ProgramGrid read;
    PlaceProgramRows(read, ReadProgramText(WriteProgramText(
                               GridOf("Βρόχος|0205|BNE|Βρόχος||πίσω στην αρχή;|0202|STA|0300,|X|;"
                                      "x|10002|JMP|(20,|X)|  a_b;"))));
    // An empty comment comes back as one space, underscores as spaces; from then on the file is
    // stable, and undefined bytes, read as '?', save again.
    const std::string again = WriteProgramText(read);
    EXPECT_EQ(ReadProgramText(again), RowsOf("Βρόχος|0205|BNE|Βρόχος||πίσω στην αρχή;"
                                             "|0202|STA|0300,|X| ;x|10002|JMP|(20,|X)|  a b;"));
    PlaceProgramRows(read, ReadProgramText(again + "A\xAA _ _ _ _ _"));
    EXPECT_FALSE(FindUnfaithfulCell(read).has_value());
    EXPECT_EQ(WriteProgramText(read), again + "A? _ _ _ _ _\r\n");
}

TEST(ProgramFilePlacing, EmptiesWhatLingersBeyondTheNewTable) {
    ProgramGrid grid;
    for (int row = 1; row <= 60; ++row) grid.SetCell(kInstructionColumn, row, "NOP");
    grid.SetRowCount(61);
    grid.SetCurrent(3, 40);
    PlaceProgramRows(grid, ReadProgramText("a b c d e f g h i j k l m n"));  // two rows and a bit
    EXPECT_EQ(grid.RowCount(), 3);
    EXPECT_EQ(grid.Cell(0, 2), "g");
    for (int row = 3; row <= 60; ++row) EXPECT_EQ(grid.Cell(kInstructionColumn, row), "") << row;
    EXPECT_EQ(grid.Col(), 3);

    PlaceProgramRows(grid, ReadProgramText("a b c"));  // no whole row: one empty line
    EXPECT_EQ(grid.RowCount(), 2);
    EXPECT_EQ(grid.ContentCount(), 0);
    EXPECT_EQ(grid.Row(), 1);
}

TEST(ProgramFileChecking, FindsTheFirstCellThatWouldNotReadBackTheSame) {
    using R = UnfaithfulCell::Reason;
    const std::tuple<std::string, int, R> cases[] = {
        {"_start|||||;", kLabelColumn, R::kLeadingUnderscore},
        {"|02 00||||;", kAddressColumn, R::kWhitespace},
        {"||||X\n|;", kSecondParameterColumn, R::kWhitespace},
        {"日|||||;", kLabelColumn, R::kUnsavableCharacter},
        {"|||||tab\there;", kCommentColumn, R::kWhitespace},
        {"|||||ok ☺;", kCommentColumn, R::kUnsavableCharacter},
    };
    for (const auto& [rows, column, reason] : cases) {
        const auto found = FindUnfaithfulCell(GridOf("|||Δ€|a_b|spaces and _underscores_;" + rows));
        ASSERT_TRUE(found.has_value()) << rows;
        EXPECT_EQ(std::make_tuple(found->column, found->row, found->reason),
                  std::make_tuple(column, 2, reason))
            << rows;
    }
    ProgramGrid grid = GridOf("|0201|LDA|#4 5||;_x|||||;");
    const std::string text = DescribeUnfaithfulCell(grid, *FindUnfaithfulCell(grid));
    EXPECT_NE(text.find("γραμμής 1, στήλη 3 (Παράμετρος 1)"), std::string::npos) << text;
}

TEST(FileStoreTest, ReplacesAFileWholeInPlaceEvenThroughALink) {
    TempFolder folder;
    const std::string path = folder / "prog.zrv";
    PutFile(path, "an old, longer program file");
    ::chmod(path.c_str(), 0640);
    fs::create_symlink(path, folder / "link.zrv");
    FileStore files;
    EXPECT_FALSE(files.ReplaceAll(folder / "link.zrv", "_ _ _ _ _ _ \r\n").has_value());
    EXPECT_TRUE(fs::is_symlink(folder / "link.zrv"));
    EXPECT_EQ(std::get<std::string>(files.ReadAll(path)), "_ _ _ _ _ _ \r\n");
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    EXPECT_EQ(folder.Names().size(), 2u);
}

TEST(FileStoreTest, ReportsFilesThatCannotBeReadOrWritten) {
    TempFolder folder;
    PutFile(folder / "plain", "x");
    fs::create_directory(folder / "folder.zrv");
    const std::string open = "Δεν ήταν δυνατό να ανοιχτεί το αρχείο «";
    const std::string save = "Δεν ήταν δυνατό να αποθηκευτεί το αρχείο «";
    const std::pair<bool, std::string> cases[] = {
        // writing?, path
        {false, folder / "missing.zrv"},         {false, folder / "folder.zrv"},
        {true, folder / "no/such/folder/p.zrv"}, {true, folder / "plain/p.zrv"},
        {true, folder / "folder.zrv"},           {true, folder / "folder.zrv/"},
    };
    FileStore files;
    for (const auto& [write, path] : cases) {
        std::optional<FileFailure> failure;
        if (write) {
            failure = files.ReplaceAll(path, "bytes");
        } else if (auto read = files.ReadAll(path); std::holds_alternative<FileFailure>(read)) {
            failure = std::get<FileFailure>(read);
        }
        ASSERT_TRUE(failure.has_value()) << path;
        const std::string& message = failure->message;
        EXPECT_EQ(message.rfind((write ? save : open) + path + "».\n", 0), 0u) << message;
        EXPECT_GT(message.size(), message.find('\n') + 1) << message << ": the reason is given";
    }
    EXPECT_TRUE(fs::is_empty(folder / "folder.zrv"));
    EXPECT_EQ(folder.Names().size(), 2u);
}

}  // namespace
}  // namespace zorvan::app
