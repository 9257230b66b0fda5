#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <set>

#include "app/program_file.h"
#include "temp_folder.h"
#include "text/characters.h"
#include "text/conversion_error.h"
#include "text/cp1253.h"
#include "text/hex_text.h"
#include "text/os_error.h"

namespace zorvan::text {
namespace {

// Hex and alphanumeric mean ASCII digits and letters only; hex reads as 32-bit two's complement,
// decimal with a sign; anything else is refused.
TEST(HexText, ReadsAndWritesNumbers) {
    const std::tuple<const char*, bool, bool>
        cases[] = {{"", true, true},     {"09afAF", true, true}, {"0G", false, true},
                   {" 1", false, false}, {"L-1", false, false},  {"Βρόχος", false, false},
                   {"Α1", false, false}};  // a Greek capital alpha is not the digit A
    for (const auto& [text, hex, alnum] : cases) {
        EXPECT_EQ(IsHexText(text), hex) << text;
        EXPECT_EQ(IsAlnumText(text), alnum) << text;
    }
    const std::pair<const char*, std::int32_t> values[] = {
        {"0", 0}, {"ff", 255}, {"FFFFFFFF", -1}, {"80000000", INT32_MIN}, {"000000000001", 1}};
    for (const auto& [text, value] : values) EXPECT_EQ(HexTextToInt(text), value) << text;
    for (const char* text : {"", "G", "0x10", "100000000", "-1", " 1", "12 "})
        EXPECT_THROW(HexTextToInt(text), ConversionError) << text;
    try {
        HexTextToInt("0x10");
    } catch (const ConversionError& error) {  // the message names the text it refused
        EXPECT_NE(std::string(error.what()).find("'0x10'"), std::string::npos) << error.what();
    }
    EXPECT_EQ(IntegerTextToInt("-5") + IntegerTextToInt("+12"), 7);
    EXPECT_EQ(IntegerTextToInt("0x3") + IntegerTextToInt("0X1f") + IntegerTextToInt("-0x2"), 32);
    EXPECT_EQ(IntegerTextToInt("0xFFFFFFFF"), -1);
    for (const char* text : {"", "-", "1a", "2147483648", "0x", "0xG", "x3", "0x100000000"})
        EXPECT_THROW(IntegerTextToInt(text), ConversionError) << text;
    EXPECT_EQ(FormatHex4(0x200) + " " + FormatHex4(0x10002), "0200 10002");
    EXPECT_EQ(FormatHex2(5) + " " + FormatHex2(0x100) + " " + FormatHex2(-1), "05 100 FFFFFFFF");
}

TEST(Characters, CountsCodePointsAndConvertsCp1253) {
    EXPECT_EQ(CharacterCount("ΑΒΓ"), 3u);
    // A cut sequence stays, as a replacement character.
    EXPECT_EQ(FromCharacters(ToCharacters("aΏ€\xC3")), "aΏ€\uFFFD");
    int undefined = 0;
    for (int byte = 0; byte < 256; ++byte) {
        const auto character = Cp1253ToUnicode(static_cast<std::uint8_t>(byte));
        if (character) EXPECT_EQ(UnicodeToCp1253(*character), byte) << byte;
        undefined += !character;
    }
    EXPECT_EQ(undefined, 17);
    EXPECT_EQ(DecodeCp1253("\xC1\xE1\xFE\x80\xFF\xD2"), "Ααώ€??");
    EXPECT_EQ(EncodeCp1253("Σχόλια"), std::string("\xD3\xF7\xFC\xEB\xE9\xE1"));
    EXPECT_FALSE(EncodeCp1253("ж").has_value());
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
        const HeldText result = HoldableText(c.pasted, c.cellText);
        EXPECT_EQ(result.held, c.held) << c.pasted;
        EXPECT_EQ(result.leftOut, c.leftOut) << c.pasted;
    }
    EXPECT_NE(LeftOutNotice("→\t").find("«→ ␉»"), std::string::npos);
}

// The reasons a student meets most are each told in a Greek sentence of their own, never the
// English one nor the number; any other reason names its number.
TEST(GreekSystemErrorTest, EachKnownReasonHasItsOwnSentenceAndOthersTheirNumber) {
    std::set<std::string> seen;
    for (int errnum : {ENOENT, ENOTDIR, EACCES, EPERM, ENOSPC, EROFS, EIO, EISDIR, EFBIG, EMFILE,
                       ENAMETOOLONG, ENXIO, ELOOP, EBUSY, EEXIST, EDQUOT, EINVAL}) {
        const std::string sentence = GreekSystemError(errnum);
        EXPECT_TRUE(seen.insert(sentence).second) << errnum << " " << sentence;
        EXPECT_EQ(sentence.find("αριθμός"), std::string::npos) << errnum;
    }
    EXPECT_EQ(GreekSystemError(EPROTO), "Σφάλμα συστήματος αριθμός 71");
    EXPECT_EQ(GreekSystemError(-5), "Σφάλμα συστήματος αριθμός -5");
}

TEST(GreekSystemErrorTest, FileMessagesCarryTheGreekReason) {
    app::FileStore store;
    const auto result = store.ReadAll("/no/such/folder/program.zrv");
    ASSERT_TRUE(std::holds_alternative<app::FileFailure>(result));
    const std::string& message = std::get<app::FileFailure>(result).message;
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
    ASSERT_TRUE(std::holds_alternative<app::FileFailure>(fromSocket));
    EXPECT_NE(std::get<app::FileFailure>(fromSocket).message.find("υποδοχή"), std::string::npos);
#endif
    EXPECT_NE(app::SaveFailureMessage("/x", std::make_error_code(std::errc::no_space_on_device))
                  .find("Δεν υπάρχει ελεύθερος χώρος στη συσκευή"),
              std::string::npos);
}

}  // namespace
}  // namespace zorvan::text
