#include "app/program_file.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <variant>
#include <vector>

#include "temp_folder.h"

namespace zorvan::app {
namespace {

namespace fs = std::filesystem;
using testing::FileBytes;
using testing::PutFile;
using testing::TempFolder;

ProgramGrid GridOf(const std::vector<ProgramRow>& rows) {
    ProgramGrid grid;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        for (int c = 0; c < kGridColumnCount; ++c) {
            grid.SetCell(c, static_cast<int>(r) + 1, rows[r][static_cast<std::size_t>(c)]);
        }
    }
    grid.SetRowCount(static_cast<int>(rows.size()) + 1);
    return grid;
}

TEST(ProgramFileWriting, WritesEachRowAsSixTokensByteForByte) {
    struct Case {
        const char* name;
        std::vector<ProgramRow> rows;
        std::string bytes;
    };
    const Case cases[] = {
        {"a line with an empty label and second parameter",
         {{"", "0200", "LDA", "#45", "", "load the value"}},
         "_ 0200 LDA #45 _ load_the_value\r\n"},
        {"an empty comment is a placeholder followed by a space",
         {{"", "0200", "LDA", "#45", "", ""}},
         "_ 0200 LDA #45 _ _ \r\n"},
        {"a full row, then an empty row",
         {{"L1", "0200", "STA", "0300,", "X", "two words"}, {"", "", "", "", "", ""}},
         "L1 0200 STA 0300, X two_words\r\n_ _ _ _ _ _ \r\n"},
        {"a comment of one space is a lone underscore",
         {{"", "", "", "", "", " "}},
         "_ _ _ _ _ _\r\n"},
        {"underscores in a comment are written as they are",
         {{"", "", "", "", "", "a_b c"}},
         "_ _ _ _ _ a_b_c\r\n"},
        {"Greek text becomes Windows-1253 bytes",
         {{"Αρχή", "", "", "", "", "τέλος ώρας"}},
         "\xC1\xF1\xF7\xDE _ _ _ _ \xF4\xDD\xEB\xEF\xF2_\xFE\xF1\xE1\xF2\r\n"},
        {"a comment is written whole however long",
         {{"", "", "", "", "", std::string(300, 'x')}},
         "_ _ _ _ _ " + std::string(300, 'x') + "\r\n"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(WriteProgramText(GridOf(c.rows)), c.bytes) << c.name;
    }
}

TEST(ProgramFileWriting, SavesOnlyTheRowsOfTheTable) {
    ProgramGrid grid = GridOf({{"", "0200", "NOP", "", "", ""}, {"", "0201", "NOP", "", "", ""}});
    grid.SetRowCount(2);  // the second line is stored but no longer part of the table
    EXPECT_EQ(WriteProgramText(grid), "_ 0200 NOP _ _ _ \r\n");
    grid.SetRowCount(1);
    EXPECT_EQ(WriteProgramText(grid), "");
}

TEST(ProgramFileReading, PlacesTokensByCount) {
    struct Case {
        const char* name;
        std::string bytes;
        std::vector<ProgramRow> rows;
    };
    const ProgramRow lda = {"", "0200", "LDA", "#45", "", "load the value"};
    const ProgramRow brk = {"", "0202", "BRK", "", "", " "};
    const std::string ldaLine = "_ 0200 LDA #45 _ load_the_value";
    const std::string brkLine = "_ 0202 BRK _ _ _ ";
    const Case cases[] = {
        {"as written", ldaLine + "\r\n" + brkLine + "\r\n", {lda, brk}},
        {"no line end after the last row", ldaLine + "\r\n" + brkLine, {lda, brk}},
        {"extra blank lines at the end", ldaLine + "\r\n" + brkLine + "\r\n\r\n\r\n\n", {lda, brk}},
        {"line ends carry no meaning",
         "_ 0200\tLDA\n#45 _\r\nload_the_value\v_\f0202 BRK _ _ _",
         {lda, brk}},
        {"13 tokens give two rows", ldaLine + " " + brkLine + " extra", {lda, brk}},
        {"fewer than six tokens give no row", "_ 0200 LDA #45 _", {}},
        {"an empty file", "", {}},
        {"whatever follows a leading underscore, the cell is empty",
         "_x __ _LDA _1 _ _\r\n",
         {{"", "", "", "", "", " "}}},
        {"a comment's underscores all become spaces",
         "a b c d e __x_\r\n",
         {{"a", "b", "c", "d", "e", "  x "}}},
        {"Windows-1253 bytes become Greek",
         "\xC1\xF1\xF7\xDE _ _ _ _ \xF4\xDD\xEB\xEF\xF2\r\n",
         {{"Αρχή", "", "", "", "", "τέλος"}}},
        {"bytes the code page leaves undefined read as a question mark",
         "\xAA\x81 _ _ _ _ \xFF\r\n",
         {{"??", "", "", "", "", "?"}}},
        {"a token of any length",
         std::string(1000, 'A') + " _ _ _ _ _",
         {{std::string(1000, 'A'), "", "", "", "", " "}}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ReadProgramText(c.bytes), c.rows) << c.name;
    }
}

TEST(ProgramFileReading, ReadsPastFiveHundredTokens) {
    std::string bytes;
    for (int row = 0; row < 100; ++row) bytes += "_ " + std::to_string(row) + " NOP _ _ _\r\n";
    const auto rows = ReadProgramText(bytes);
    ASSERT_EQ(rows.size(), 100u);
    EXPECT_EQ(rows[99][1], "99");
}

TEST(ProgramFileReading, RoundTripKeepsColumnsZeroToFourAndTheCommentsWords) {
    const std::vector<ProgramRow> rows = {
        {"LOOP", "0200", "LDA", "#45", "", "load the value"},
        {"", "0202", "STA", "0300,", "X", ""},
        {"", "", "", "", "", ""},
        {"Βρόχος", "0205", "BNE", "Βρόχος", "", "πίσω στην αρχή"},
        {"", "0207", "LDA", "(20,", "X)", "with_underscores"},
        {"x", "10002", "JMP", "(0300)", "Y", "  two leading spaces"},
    };
    ProgramGrid read;
    PlaceProgramRows(read, ReadProgramText(WriteProgramText(GridOf(rows))));
    ASSERT_EQ(read.RowCount(), static_cast<int>(rows.size()) + 1);
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const int row = static_cast<int>(r) + 1;
        for (int c = 0; c < kCommentColumn; ++c) {
            EXPECT_EQ(read.Cell(c, row), rows[r][static_cast<std::size_t>(c)]) << c << "," << row;
        }
    }
    EXPECT_EQ(read.Cell(kCommentColumn, 1), "load the value");
    EXPECT_EQ(read.Cell(kCommentColumn, 2), " ");  // an empty comment comes back as one space
    EXPECT_EQ(read.Cell(kCommentColumn, 4), "πίσω στην αρχή");
    EXPECT_EQ(read.Cell(kCommentColumn, 5), "with underscores");
    EXPECT_EQ(read.Cell(kCommentColumn, 6), "  two leading spaces");
    // from then on the file is stable: the saved single-space comment reads back the same
    const std::string again = WriteProgramText(read);
    ProgramGrid readAgain;
    PlaceProgramRows(readAgain, ReadProgramText(again));
    EXPECT_EQ(WriteProgramText(readAgain), again);
}

TEST(ProgramFileReading, UndefinedBytesCanBeSavedAgain) {
    ProgramGrid grid;
    PlaceProgramRows(grid, ReadProgramText("A\xAA _ _ _ _ _\r\n"));
    EXPECT_FALSE(FindUnfaithfulCell(grid).has_value());
    EXPECT_EQ(WriteProgramText(grid), "A? _ _ _ _ _\r\n");
}

TEST(ProgramFilePlacing, EmptiesWhatLingersBeyondTheNewTable) {
    ProgramGrid grid;
    for (int row = 1; row <= 60; ++row) grid.SetCell(kInstructionColumn, row, "NOP");
    grid.SetRowCount(61);
    grid.SetCurrent(3, 40);

    // two whole rows and an incomplete third
    PlaceProgramRows(grid, ReadProgramText("a b c d e f g h i j k l m n"));
    EXPECT_EQ(grid.RowCount(), 3);
    EXPECT_EQ(grid.Cell(0, 2), "g");
    for (int row = 3; row <= 60; ++row) {
        for (int c = 0; c < kGridColumnCount; ++c) EXPECT_EQ(grid.Cell(c, row), "") << row;
    }
    EXPECT_EQ(grid.Col(), 3);
    EXPECT_EQ(grid.Cell(0, 0), "Ετικέτες");
}

TEST(ProgramFilePlacing, AFileWithoutAWholeRowLeavesOneEmptyLine) {
    ProgramGrid grid = GridOf({{"L", "0200", "NOP", "", "", "c"}});
    PlaceProgramRows(grid, ReadProgramText("a b c"));
    EXPECT_EQ(grid.RowCount(), 2);
    EXPECT_EQ(grid.ContentCount(), 0);
    EXPECT_EQ(grid.Row(), 1);
}

TEST(ProgramFileChecking, FindsCellsThatWouldNotReadBackTheSame) {
    using Reason = UnfaithfulCell::Reason;
    struct Case {
        int column;
        std::string cell;
        std::optional<Reason> reason;
    };
    const Case cases[] = {
        {kLabelColumn, "_start", Reason::kLeadingUnderscore},
        {kAddressColumn, "02 00", Reason::kWhitespace},
        {kInstructionColumn, " LDA", Reason::kWhitespace},
        {kFirstParameterColumn, "#4\t5", Reason::kWhitespace},
        {kSecondParameterColumn, "X\n", Reason::kWhitespace},
        {kFirstParameterColumn, "Δ€", std::nullopt},
        {kFirstParameterColumn, "a_b", std::nullopt},
        {kLabelColumn, "日", Reason::kUnsavableCharacter},
        {kCommentColumn, "spaces and _underscores_", std::nullopt},
        {kCommentColumn, "_", std::nullopt},
        {kCommentColumn, "tab\there", Reason::kWhitespace},
        {kCommentColumn, "line\r\nend", Reason::kWhitespace},
        {kCommentColumn, "ok ☺", Reason::kUnsavableCharacter},
    };
    for (const Case& c : cases) {
        ProgramGrid grid;
        grid.SetRowCount(4);
        grid.SetCell(kCommentColumn, 1, "fine");
        grid.SetCell(c.column, 3, c.cell);
        const auto found = FindUnfaithfulCell(grid);
        ASSERT_EQ(found.has_value(), c.reason.has_value()) << c.cell;
        if (!found) continue;
        EXPECT_EQ(found->column, c.column) << c.cell;
        EXPECT_EQ(found->row, 3) << c.cell;
        EXPECT_EQ(found->reason, *c.reason) << c.cell;
    }
}

TEST(ProgramFileChecking, NamesTheFirstCellByRowAndColumn) {
    ProgramGrid grid = GridOf({{"", "0200", "NOP", "", "", ""},
                               {"", "0201", "LDA", "#4 5", "", ""},
                               {"_x", "", "", "", "", ""}});
    const auto found = FindUnfaithfulCell(grid);
    ASSERT_TRUE(found.has_value());
    const std::string text = DescribeUnfaithfulCell(grid, *found);
    EXPECT_NE(text.find("γραμμής 2, στήλη 3 (Παράμετρος 1)"), std::string::npos) << text;
}

TEST(FileStoreTest, ReplacesAFileWholeAndLeavesNothingBeside) {
    TempFolder folder;
    const std::string path = folder / "prog.zrv";
    PutFile(path, "an old, longer program file");
    ::chmod(path.c_str(), 0640);
    FileStore files;
    EXPECT_FALSE(files.ReplaceAll(path, "_ _ _ _ _ _ \r\n").has_value());
    EXPECT_EQ(FileBytes(path), "_ _ _ _ _ _ \r\n");
    EXPECT_EQ(folder.Names(), std::vector<std::string>{"prog.zrv"});
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);

    const auto read = files.ReadAll(path);
    ASSERT_TRUE(std::holds_alternative<std::string>(read));
    EXPECT_EQ(std::get<std::string>(read), "_ _ _ _ _ _ \r\n");
}

TEST(FileStoreTest, SavingThroughALinkReplacesTheFileItNames) {
    TempFolder folder;
    PutFile(folder / "real.zrv", "old");
    fs::create_symlink(folder / "real.zrv", folder / "link.zrv");
    EXPECT_FALSE(FileStore().ReplaceAll(folder / "link.zrv", "new").has_value());
    EXPECT_TRUE(fs::is_symlink(folder / "link.zrv"));
    EXPECT_EQ(FileBytes(folder / "real.zrv"), "new");
}

TEST(FileStoreTest, ReportsFilesThatCannotBeReadOrWritten) {
    TempFolder folder;
    PutFile(folder / "plain", "x");
    fs::create_directory(folder / "folder.zrv");
    struct Case {
        const char* name;
        bool write;
        std::string path;
    };
    const Case cases[] = {
        {"reading a missing file", false, folder / "missing.zrv"},
        {"reading a folder", false, folder / "folder.zrv"},
        {"writing under a missing folder", true, folder / "no/such/folder/p.zrv"},
        {"writing under a plain file", true, folder / "plain/p.zrv"},
        {"writing over a folder", true, folder / "folder.zrv"},
        {"writing to a folder's name", true, folder / "folder.zrv/"},
    };
    FileStore files;
    for (const Case& c : cases) {
        std::string message;
        if (c.write) {
            const auto failure = files.ReplaceAll(c.path, "bytes");
            ASSERT_TRUE(failure.has_value()) << c.name;
            message = failure->message;
            EXPECT_EQ(
                message.rfind("Δεν ήταν δυνατό να αποθηκευτεί το αρχείο «" + c.path + "».\n", 0),
                0u)
                << c.name << ": " << message;
        } else {
            const auto read = files.ReadAll(c.path);
            ASSERT_TRUE(std::holds_alternative<FileFailure>(read)) << c.name;
            message = std::get<FileFailure>(read).message;
            EXPECT_EQ(message.rfind("Δεν ήταν δυνατό να ανοιχτεί το αρχείο «" + c.path + "».\n", 0),
                      0u)
                << c.name << ": " << message;
        }
        EXPECT_GT(message.size(), message.find('\n') + 1) << c.name << ": the reason is given";
    }
    std::vector<std::string> names = folder.Names();
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"folder.zrv", "plain"}));
    EXPECT_TRUE(fs::is_empty(folder / "folder.zrv"));
}

}  // namespace
}  // namespace zorvan::app
