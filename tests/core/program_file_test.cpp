#include "app/program_file.h"

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <set>
#include <tuple>
#include <variant>

#include "app/program_listing.h"
#include "editor_fixture.h"
#include "temp_folder.h"
#include "text/characters.h"
#include "text/conversion_error.h"
#include "text/cp1253.h"
#include "text/hex_text.h"
#include "text/os_error.h"

namespace zorvan::app {
namespace {

namespace fs = std::filesystem;

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

grid::ProgramGrid GridOf(const std::string& text) {
    grid::ProgramGrid grid;
    PlaceProgramRows(grid, RowsOf(text));
    return grid;
}

// Every byte that is not white space or "_" comes back from opening and saving as it was, the
// 17 that Windows-1253 leaves undefined included.
TEST(ProgramFileText, EveryByteSurvivesOpeningAndSaving) {
    std::string label;
    for (int byte = 0x21; byte < 0x100; ++byte) {
        if (byte != '_') label.push_back(static_cast<char>(byte));
    }
    const std::string file = label +
                             " 0200 NOP _ _ \x81\x88\x8A\x8C\x8D\x8E\x8F\x90\x98\x9A\x9C"
                             "\x9D\x9E\x9F\xAA\xD2\xFF\r\n";
    grid::ProgramGrid grid;
    PlaceProgramRows(grid, ReadProgramText(file));
    EXPECT_FALSE(FindUnfaithfulCell(grid).has_value());
    EXPECT_EQ(WriteProgramText(grid), file);
}

// A UTF-8 file keeps its Greek letters and is saved as Windows-1253; characters that no byte
// stands for are named in one warning, each once.
TEST(ProgramFileText, AUtf8FileOpensWithItsLettersAndNamesWhatCannotBeSaved) {
    const auto rows = ReadProgramText("Λ\xC5\x91 0200 NOP _ _ ώρα_ő_ж_Λ\r\n");
    EXPECT_EQ(rows, RowsOf("Λő|0200|NOP|||ώρα ő ж Λ;"));
    EXPECT_EQ(DescribeUnsavableCharacters(rows),
              "Το αρχείο έχει χαρακτήρες που δεν χωρούν στην κωδικοσελίδα Windows-1253 των "
              "αρχείων προγράμματος: «ő», «ж».\nΑν το πρόγραμμα αποθηκευτεί, θα γραφτούν ως «?».");
    EXPECT_EQ(DescribeUnsavableCharacters(RowsOf("Αρχή|||||⢁;")), std::nullopt);
    EXPECT_EQ(WriteProgramText(GridOf("Λő|0200|NOP|||ώρα;")),
              "\xCB? 0200 NOP _ _ \xFE\xF1\xE1\r\n");
}

TEST(ProgramFileText, WritesEachRowOfTheTableAsSixTokensAndReadsThemByCount) {
    const std::pair<std::string, std::string> cases[] = {
        {"L1|0200|STA|0300,|X|a_b c;|||||;", "L1 0200 STA 0300, X a_b_c\r\n_ _ _ _ _ _ \r\n"},
        {"||||| ;", "_ _ _ _ _ _\r\n"},  // a one-space comment
        {"Αρχή|||||τέλος ώρας;",
         "\xC1\xF1\xF7\xDE _ _ _ _ \xF4\xDD\xEB\xEF\xF2_\xFE\xF1\xE1\xF2\r\n"}};
    for (const auto& [rows, bytes] : cases)
        EXPECT_EQ(WriteProgramText(GridOf(rows)), bytes) << rows;
    grid::ProgramGrid grid = GridOf("|0200|NOP|||;|0201|NOP|||;");
    grid.SetRowCount(2);  // the second line is stored but no longer part of the table
    EXPECT_EQ(WriteProgramText(grid), "_ 0200 NOP _ _ _ \r\n");
    // Reading places the tokens by their count, six to a row.
    const std::string two = "|0200|LDA|#45||load the value;|0202|BRK||| ;";
    const std::string ldaLine = "_ 0200 LDA #45 _ load_the_value";
    const std::pair<std::string, std::string> read[] = {
        // Blank lines and part of a row at the end.
        {ldaLine + " _ 0202 BRK _ _ _ extra\r\n\r\n\n", two},
        {"_ 0200\tLDA\n#45 _\r\nload_the_value\v_\f0202 BRK _ _ _", two},  // any white space
        {"_x __ _LDA _1 _ _", "||||| ;"},  // a leading underscore empties the cell
        {"a b c d e __x_", "a|b|c|d|e|  x ;"},
        {"\xC1\xF1\xF7\xDE _ _ _ _ \xF4\xDD\xEB\xEF\xF2", "Αρχή|||||τέλος;"},
        {"\xAA\x81 _ _ _ _ \xFF", "⢪⢁|||||⣿;"},  // undefined bytes: visible stand-ins
        {"\xEF\xBB\xBF\xCE\x91\xCF\x81\xCF\x87\xCE\xAE _ _ _ _ \xE2\x82\xAC",
         "Αρχή|||||€;"},                                      // UTF-8
        {"caf\xC3\xA9 _ _ _ _ \xE2\x86\x92", "café|||||→;"},  // UTF-8 without Greek
    };
    for (const auto& [bytes, rows] : read) {
        const std::vector<ProgramRow> expected = RowsOf(rows);
        EXPECT_EQ(ReadProgramText(bytes), expected) << bytes;
        // A program read only to be run has the same cells, comments aside.
        const PackedProgram packed(bytes);
        EXPECT_EQ(packed.RowCount(), static_cast<int>(expected.size()) + 1) << bytes;
        for (std::size_t row = 0; row < expected.size(); ++row)
            for (int column = 0; column < grid::kCommentColumn; ++column)
                EXPECT_EQ(packed.Text(column, static_cast<int>(row) + 1),
                          expected[row][static_cast<std::size_t>(column)])
                    << bytes;
    }
    std::string many;  // more than 500 tokens
    for (int row = 0; row < 100; ++row) many += "_ " + std::to_string(row) + " NOP _ _ _\r\n";
    EXPECT_EQ(ReadProgramText(many).size(), 100u);
    // What was read saves again unchanged: an empty comment comes back as one space, underscores
    // as spaces, undefined bytes as themselves.
    grid::ProgramGrid again = GridOf("Βρόχος||||X|πίσω στην αρχή;|||||;x|10002|JMP|(20,|X)|  a_b;");
    PlaceProgramRows(again, ReadProgramText(WriteProgramText(again) + "A\xAA _ _ _ _ _"));
    EXPECT_FALSE(FindUnfaithfulCell(again).has_value());
    EXPECT_EQ(ReadProgramText(WriteProgramText(again)),
              RowsOf("Βρόχος||||X|πίσω στην αρχή;||||| ;x|10002|JMP|(20,|X)|  a b;A⢪||||| ;"));
    // Placing what was read empties whatever lingers beyond the new table.
    PlaceProgramRows(grid, std::vector<ProgramRow>(60, ProgramRow{"", "", "NOP"}));
    grid.SetCurrent(3, 40);
    PlaceProgramRows(grid, ReadProgramText("a b c d e f g h i j k l m n"));  // two rows and a bit
    EXPECT_EQ(std::pair(grid.RowCount(), grid.Col()), std::pair(3, 3));  // the current cell stays
    grid.SetRowCount(61);  // nothing of the earlier program lingers beyond the table
    EXPECT_EQ(grid.ContentCount(), 12);
    PlaceProgramRows(grid, ReadProgramText("a b c"));  // no whole row: one empty line
    EXPECT_EQ(std::pair(grid.RowCount(), grid.ContentCount()), std::pair(2, 0));
}

TEST(ProgramFileChecking, FindsTheFirstCellThatWouldNotReadBackTheSame) {
    using R = UnfaithfulCell::Reason;
    const std::tuple<std::string, int, R> cases[] = {
        {"_start|||||;", grid::kLabelColumn, R::kLeadingUnderscore},
        {"|02 00||||;", grid::kAddressColumn, R::kWhitespace},
        {"||||X\n|;", grid::kSecondParameterColumn, R::kWhitespace},
        {"日|||||;", grid::kLabelColumn, R::kUnsavableCharacter},
        {"|||||tab\there;", grid::kCommentColumn, R::kWhitespace},
        {"|||||ok ☺;", grid::kCommentColumn, R::kUnsavableCharacter}};
    for (const auto& [rows, column, reason] : cases) {
        const auto cell = FindUnfaithfulCell(GridOf("|||Δ€|a_b|spaces and _underscores_;" + rows));
        ASSERT_TRUE(cell) << rows;
        EXPECT_EQ(std::tuple(cell->column, cell->row, cell->reason), std::tuple(column, 2, reason));
    }
    grid::ProgramGrid grid = GridOf("|0201|LDA|#4 5||;_x|||||;");
    const std::string text = DescribeUnfaithfulCell(grid, *FindUnfaithfulCell(grid));
    EXPECT_NE(text.find("γραμμής 1, στήλη 3 (Παράμετρος 1)"), std::string::npos) << text;
}

TEST(FileStoreTest, ReplacesAFileWholeInPlaceEvenThroughALinkAndLeavesNothingBehind) {
    zorvan::testing::TempFolder folder;
    const std::string path = folder / "prog.zrv";
    zorvan::testing::PutFile(path, "an old, longer program file");
    fs::permissions(path, fs::perms(0640));
    fs::create_symlink(path, folder / "link.zrv");
    FileStore files;
    EXPECT_FALSE(files.ReplaceAll(folder / "link.zrv", "_ _ _ _ _ _ \r\n").has_value());
    EXPECT_TRUE(fs::is_symlink(folder / "link.zrv"));
    EXPECT_EQ(std::get<std::string>(files.ReadAll(path)), "_ _ _ _ _ _ \r\n");
    EXPECT_EQ(fs::status(path).permissions(), fs::perms(0640));
    // Where no file can be written: a missing folder, a file as a folder.
    for (const std::string name : {"no/such/p.zrv", "prog.zrv/p.zrv"})
        EXPECT_TRUE(files.ReplaceAll(folder / name, "bytes").has_value()) << name;
    EXPECT_EQ(folder.Names().size(), 2u);
}

// The example programs in examples/, also shown in the help: program files exactly as Save writes
// them. How they run is checked by the help's claims.
TEST(Examples, AreExactlyWhatSaveWritesForTheTypedProgramAndTheHelpShowsThem) {
    const std::string help =
        zorvan::testing::FileBytes(ZORVAN_SOURCE_DIR "/resources/help/examples.html");
    for (const std::string file : {"hello.zrv", "count.zrv", "subroutine.zrv"}) {
        SCOPED_TRACE(file);
        const std::string bytes = zorvan::testing::FileBytes(ZORVAN_SOURCE_DIR "/examples/" + file);
        ASSERT_FALSE(bytes.empty());
        EXPECT_EQ(bytes.find("\xCE"), std::string::npos) << "UTF-8, not Windows-1253";
        grid::ProgramGrid grid;
        PlaceProgramRows(grid, ReadProgramText(bytes));
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
        EXPECT_EQ(WriteProgramText(grid), bytes);
    }
}

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

// Hex and alphanumeric mean ASCII digits and letters only; hex reads as 32-bit two's complement,
// decimal with a sign; anything else is refused.
TEST(HexText, ReadsAndWritesNumbers) {
    const std::tuple<const char*, bool, bool>
        cases[] = {{"", true, true},     {"09afAF", true, true}, {"0G", false, true},
                   {" 1", false, false}, {"L-1", false, false},  {"Βρόχος", false, false},
                   {"Α1", false, false}};  // a Greek capital alpha is not the digit A
    for (const auto& [text, hex, alnum] : cases) {
        EXPECT_EQ(text::IsHexText(text), hex) << text;
        EXPECT_EQ(text::IsAlnumText(text), alnum) << text;
    }
    const std::pair<const char*, std::int32_t> values[] = {
        {"0", 0}, {"ff", 255}, {"FFFFFFFF", -1}, {"80000000", INT32_MIN}, {"000000000001", 1}};
    for (const auto& [text, value] : values) EXPECT_EQ(text::HexTextToInt(text), value) << text;
    for (const char* text : {"", "G", "0x10", "100000000", "-1", " 1", "12 "})
        EXPECT_THROW(text::HexTextToInt(text), text::ConversionError) << text;
    try {
        text::HexTextToInt("0x10");
    } catch (const text::ConversionError& error) {  // the message names the text it refused
        EXPECT_NE(std::string(error.what()).find("'0x10'"), std::string::npos) << error.what();
    }
    EXPECT_EQ(text::IntegerTextToInt("-5") + text::IntegerTextToInt("+12"), 7);
    EXPECT_EQ(text::IntegerTextToInt("0x3") + text::IntegerTextToInt("0X1f") +
                  text::IntegerTextToInt("-0x2"),
              32);
    EXPECT_EQ(text::IntegerTextToInt("0xFFFFFFFF"), -1);
    for (const char* text : {"", "-", "1a", "2147483648", "0x", "0xG", "x3", "0x100000000"})
        EXPECT_THROW(text::IntegerTextToInt(text), text::ConversionError) << text;
    EXPECT_EQ(text::FormatHex4(0x200) + " " + text::FormatHex4(0x10002), "0200 10002");
    EXPECT_EQ(text::FormatHex2(5) + " " + text::FormatHex2(0x100) + " " + text::FormatHex2(-1),
              "05 100 FFFFFFFF");
}

TEST(Characters, CountsCodePointsAndConvertsCp1253) {
    EXPECT_EQ(text::CharacterCount("ΑΒΓ"), 3u);
    // A cut sequence stays, as a replacement character.
    EXPECT_EQ(text::FromCharacters(text::ToCharacters("aΏ€\xC3")), "aΏ€\uFFFD");
    int undefined = 0;
    for (int byte = 0; byte < 256; ++byte) {
        const auto character = text::Cp1253ToUnicode(static_cast<std::uint8_t>(byte));
        if (character) EXPECT_EQ(text::UnicodeToCp1253(*character), byte) << byte;
        undefined += !character;
    }
    EXPECT_EQ(undefined, 17);
    EXPECT_EQ(text::DecodeCp1253("\xC1\xE1\xFE\x80\xFF\xD2"), "Ααώ€??");
    EXPECT_EQ(text::EncodeCp1253("Σχόλια"), std::string("\xD3\xF7\xFC\xEB\xE9\xE1"));
    EXPECT_FALSE(text::EncodeCp1253("ж").has_value());
}

// A paste keeps what a cell can hold, in order, and names each character it left out once.
TEST(Characters, APasteHoldsWhatWindows1253HasAndNamesTheRest) {
    const struct {
        const char* pasted;
        const char* cellText;
        const char* held;
        const char* leftOut;
    } cases[] = {
        {"LDA #05", "", "LDA #05", ""},
        {"ώρα → τέλος →☺\r\n", "", "ώρα  τέλος ", "→☺"},
        {"a\tb", "", "ab", "\t"},
        {"⢁x", "⢁", "⢁x", ""},  // a stand-in the cell already holds
    };
    for (const auto& c : cases) {
        const text::HeldText result = text::HoldableText(c.pasted, c.cellText);
        EXPECT_EQ(result.held, c.held) << c.pasted;
        EXPECT_EQ(result.leftOut, c.leftOut) << c.pasted;
    }
    EXPECT_NE(text::LeftOutNotice("→\t").find("«→ ␉»"), std::string::npos);
}

// The reasons a student meets most are each told in a Greek sentence of their own, never the
// English one nor the number; any other reason names its number.
TEST(GreekSystemErrorTest, EachKnownReasonHasItsOwnSentenceAndOthersTheirNumber) {
    std::set<std::string> seen;
    for (int errnum : {ENOENT, ENOTDIR, EACCES, EPERM, ENOSPC, EROFS, EIO, EISDIR, EFBIG, EMFILE,
                       ENAMETOOLONG, ENXIO, ELOOP, EBUSY, EEXIST, EDQUOT, EINVAL}) {
        const std::string sentence = text::GreekSystemError(errnum);
        EXPECT_TRUE(seen.insert(sentence).second) << errnum << " " << sentence;
        EXPECT_EQ(sentence.find("αριθμός"), std::string::npos) << errnum;
    }
    EXPECT_EQ(text::GreekSystemError(EPROTO), "Σφάλμα συστήματος αριθμός 71");
    EXPECT_EQ(text::GreekSystemError(-5), "Σφάλμα συστήματος αριθμός -5");
}

TEST(GreekSystemErrorTest, FileMessagesCarryTheGreekReason) {
    FileStore store;
    const auto result = store.ReadAll("/no/such/folder/program.zrv");
    ASSERT_TRUE(std::holds_alternative<FileFailure>(result));
    const std::string& message = std::get<FileFailure>(result).message;
    EXPECT_NE(message.find("«/no/such/folder/program.zrv»"), std::string::npos) << message;
    EXPECT_NE(message.find("Δεν υπάρχει τέτοιο αρχείο ή κατάλογος"), std::string::npos) << message;
    EXPECT_EQ(message.find("No such"), std::string::npos) << message;
#ifndef __EMSCRIPTEN__  // the page's file system has no sockets
    // A socket cannot even be opened; it is named as one.
    const ::zorvan::testing::TempFolder folder;
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string socketPath = folder / "socket";
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", socketPath.c_str());
    const int listening = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_EQ(::bind(listening, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    const auto fromSocket = store.ReadAll(socketPath);
    ::close(listening);
    ASSERT_TRUE(std::holds_alternative<FileFailure>(fromSocket));
    EXPECT_NE(std::get<FileFailure>(fromSocket).message.find("υποδοχή"), std::string::npos);
#endif
    EXPECT_NE(SaveFailureMessage("/x", std::make_error_code(std::errc::no_space_on_device))
                  .find("Δεν υπάρχει ελεύθερος χώρος στη συσκευή"),
              std::string::npos);
}

}  // namespace
}  // namespace zorvan::app
