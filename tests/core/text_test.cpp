#include <gtest/gtest.h>

#include <string>

#include "text/characters.h"
#include "text/conversion_error.h"
#include "text/cp1253.h"
#include "text/hex_text.h"

namespace zorvan::text {
namespace {

TEST(HexText, AcceptsDigitsOfEitherCaseAndTheEmptyText) {
    EXPECT_TRUE(IsHexText(""));
    EXPECT_TRUE(IsHexText("09afAF"));
    EXPECT_FALSE(IsHexText("0G"));
    EXPECT_FALSE(IsHexText(" 1"));
    EXPECT_FALSE(IsHexText("Α1"));  // a Greek capital alpha is not the digit A
}

TEST(HexText, AlnumMeansAsciiLettersAndDigitsOnly) {
    EXPECT_TRUE(IsAlnumText(""));
    EXPECT_TRUE(IsAlnumText("Loop1"));
    EXPECT_FALSE(IsAlnumText("L-1"));
    EXPECT_FALSE(IsAlnumText("Βρόχος"));
}

TEST(HexText, ReadsThirtyTwoBitTwosComplement) {
    struct Case {
        const char* text;
        std::int32_t value;
    };
    const Case cases[] = {{"0", 0},          {"00FF", 255},       {"ff", 255},
                          {"10002", 0x10002}, {"7FFFFFFF", 0x7FFFFFFF}, {"FFFFFFFF", -1},
                          {"000000000001", 1}, {"80000000", INT32_MIN}};
    for (const Case& c : cases) EXPECT_EQ(HexTextToInt(c.text), c.value) << c.text;
}

TEST(HexText, RefusesWhatIsNotAThirtyTwoBitHexNumber) {
    for (const char* text : {"", "G", "0x10", "100000000", "-1", " 1", "12 "}) {
        try {
            HexTextToInt(text);
            ADD_FAILURE() << "accepted '" << text << "'";
        } catch (const ConversionError& error) {
            EXPECT_NE(std::string(error.what()).find(std::string("'") + text + "'"),
                      std::string::npos)
                << "the message quotes the text: " << error.what();
        }
    }
}

TEST(HexText, DecimalCountsWithSign) {
    EXPECT_EQ(DecimalTextToInt("3"), 3);
    EXPECT_EQ(DecimalTextToInt("-5"), -5);
    EXPECT_EQ(DecimalTextToInt("+12"), 12);
    for (const char* text : {"", "-", "1a", "abc", "2147483648"}) {
        EXPECT_THROW(DecimalTextToInt(text), ConversionError) << text;
    }
}

TEST(HexText, FormatsLikePrintf) {
    EXPECT_EQ(FormatHex4(0x200), "0200");
    EXPECT_EQ(FormatHex4(0x10002), "10002");
    EXPECT_EQ(FormatHex2(5), "05");
    EXPECT_EQ(FormatHex2(0x100), "100");
    EXPECT_EQ(FormatHex2(-1), "FFFFFFFF");
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
        if (!character) {
            ++undefined;
            continue;
        }
        EXPECT_EQ(UnicodeToCp1253(*character), byte) << byte;
    }
    EXPECT_EQ(undefined, 17);
}

TEST(Cp1253, GreekLettersAndUndefinedBytes) {
    EXPECT_EQ(DecodeCp1253("\xC1\xE1\xFE\x80"), "Ααώ€");
    EXPECT_EQ(DecodeCp1253("\xFF\xD2"), "??");
    EXPECT_EQ(EncodeCp1253("Σχόλια"), std::string("\xD3\xF7\xFC\xEB\xE9\xE1"));
    EXPECT_FALSE(EncodeCp1253("ж").has_value());
}

}  // namespace
}  // namespace zorvan::text
