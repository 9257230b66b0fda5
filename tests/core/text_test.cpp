#include <gtest/gtest.h>

#include <string>

#include "text/characters.h"
#include "text/conversion_error.h"
#include "text/cp1253.h"
#include "text/hex_text.h"

namespace zorvan::text {
namespace {

TEST(HexText, HexAndAlnumMeanAsciiDigitsAndLettersOnly) {
    const struct {
        const char* text;
        bool hex, alnum;
    } cases[] = {{"", true, true},     {"09afAF", true, true}, {"0G", false, true},
                 {" 1", false, false}, {"L-1", false, false},  {"Βρόχος", false, false},
                 {"Α1", false, false}};  // a Greek capital alpha is not the digit A
    for (const auto& c : cases) {
        EXPECT_EQ(IsHexText(c.text), c.hex) << c.text;
        EXPECT_EQ(IsAlnumText(c.text), c.alnum) << c.text;
    }
}

TEST(HexText, ReadsThirtyTwoBitTwosComplement) {
    const char* texts[] = {"0", "ff", "10002", "FFFFFFFF", "7FFFFFFF", "80000000", "000000000001"};
    const std::int32_t values[] = {0, 255, 0x10002, -1, 0x7FFFFFFF, INT32_MIN, 1};
    for (int i = 0; i < 7; ++i) EXPECT_EQ(HexTextToInt(texts[i]), values[i]) << texts[i];
}

TEST(HexText, RefusesWhatIsNotAThirtyTwoBitHexNumber) {
    for (const char* text : {"", "G", "0x10", "100000000", "-1", " 1", "12 "}) {
        try {
            HexTextToInt(text);
            ADD_FAILURE() << "accepted '" << text << "'";
        } catch (const ConversionError& error) {
            const std::string quoted = std::string("'") + text + "'";
            EXPECT_NE(std::string(error.what()).find(quoted), std::string::npos) << error.what();
        }
    }
}

TEST(HexText, DecimalCountsWithSignAndHexFormatsLikePrintf) {
    EXPECT_EQ(DecimalTextToInt("-5") + DecimalTextToInt("+12"), 7);
    for (const char* text : {"", "-", "1a", "2147483648"}) {
        EXPECT_THROW(DecimalTextToInt(text), ConversionError) << text;
    }
    EXPECT_EQ(FormatHex4(0x200) + " " + FormatHex4(0x10002), "0200 10002");
    EXPECT_EQ(FormatHex2(5) + " " + FormatHex2(0x100) + " " + FormatHex2(-1), "05 100 FFFFFFFF");
}

TEST(Characters, CountsCodePointsNotBytes) {
    EXPECT_EQ(CharacterCount("ΑΒΓ"), 3u);
    EXPECT_EQ(ToCharacters("aΩ"), std::u32string(U"aΩ"));
    EXPECT_EQ(FromCharacters(U"Ώx€"), "Ώx€");
    EXPECT_EQ(ToCharacters("\xC3"), std::u32string(U"\uFFFD"));  // a cut sequence is not dropped
}

TEST(Cp1253, EveryDefinedByteRoundTrips) {
    int undefined = 0;
    for (int byte = 0; byte < 256; ++byte) {
        const auto character = Cp1253ToUnicode(static_cast<std::uint8_t>(byte));
        if (character) EXPECT_EQ(UnicodeToCp1253(*character), byte) << byte;
        undefined += !character;
    }
    EXPECT_EQ(undefined, 17);
}

TEST(Cp1253, GreekLettersAndUndefinedBytes) {
    EXPECT_EQ(DecodeCp1253("\xC1\xE1\xFE\x80\xFF\xD2"), "Ααώ€??");
    EXPECT_EQ(EncodeCp1253("Σχόλια"), std::string("\xD3\xF7\xFC\xEB\xE9\xE1"));
    EXPECT_FALSE(EncodeCp1253("ж").has_value());
}

}  // namespace
}  // namespace zorvan::text
