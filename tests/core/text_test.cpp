#include <gtest/gtest.h>

#include "text/characters.h"
#include "text/conversion_error.h"
#include "text/cp1253.h"
#include "text/hex_text.h"

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

}  // namespace
}  // namespace zorvan::text
