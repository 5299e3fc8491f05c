// Windows-1252 conversions, case pairs and trimming.
#include <gtest/gtest.h>

#include "text1252.h"

using namespace cp1252;

TEST(Text1252, EveryByteRoundTripsThroughUtf16) {
    for (int b = 1; b < 256; ++b) {
        std::string one(1, static_cast<char>(b));
        auto back = NarrowExact(Widen(one));
        ASSERT_TRUE(back.has_value()) << b;
        EXPECT_EQ(*back, one) << b;
    }
}

TEST(Text1252, HighControlRangeIsNotLatin1) {
    // 0x80 to 0x9F, the five bytes Windows leaves undefined as the C1 controls of the same value.
    const std::u16string high = u"\u20AC\u0081\u201A\u0192\u201E\u2026\u2020\u2021\u02C6\u2030\u0160\u2039\u0152\u008D\u017D"
                                u"\u008F\u0090\u2018\u2019\u201C\u201D\u2022\u2013\u2014\u02DC\u2122\u0161\u203A\u0153\u009D"
                                u"\u017E\u0178";
    for (int b = 0x80; b <= 0x9F; ++b) EXPECT_EQ(ToUnicode(static_cast<unsigned char>(b)), high[b - 0x80]) << b;
    EXPECT_EQ(ToUnicode(0xAE), u'\u00AE');  // registered sign, as Latin-1
    EXPECT_EQ(ToUnicode(0xF1), u'\u00F1');  // n tilde
    EXPECT_EQ(FromUnicode(u'\u20AC'), 0x80);
    EXPECT_EQ(FromUnicode(u'\u0080'), std::nullopt);  // the C1 control 0x80 is not the euro byte
}

TEST(Text1252, UnrepresentableCharactersAreRefusedOrReplaced) {
    std::u16string path = u"C:\\caf\u00E9\\\u65E5\u672C";
    EXPECT_EQ(NarrowExact(path), std::nullopt);
    EXPECT_EQ(NarrowLossy(path), "C:\\caf\xE9\\??");
    // A surrogate pair is one character, hence one '?'.
    EXPECT_EQ(NarrowLossy(u"a\U0001F511b"), "a?b");
}

TEST(Text1252, CaseFollowsTheCodePageLetterPairs) {
    EXPECT_EQ(Upper("cami\xF3n"), "CAMI\xD3N");
    EXPECT_EQ(Lower("\xC1rbol \xD1"), "\xE1rbol \xF1");
    EXPECT_EQ(Upper("\x9A\x9C\x9E\xFF"), "\x8A\x8C\x8E\x9F");
    EXPECT_EQ(Lower("\x8A\x8C\x8E\x9F"), "\x9A\x9C\x9E\xFF");
    // Multiplication and division signs, sharp s and digits have no other case.
    EXPECT_EQ(Upper("\xF7\xDF" "09_"), "\xF7\xDF" "09_");
    EXPECT_EQ(Lower("\xD7"), "\xD7");
    for (int b = 0; b < 256; ++b) {
        auto c = static_cast<unsigned char>(b);
        if (ToUpper(c) != c) {
            EXPECT_EQ(ToLower(ToUpper(c)), c) << b;
        }
        if (ToLower(c) != c) {
            EXPECT_EQ(ToUpper(ToLower(c)), c) << b;
        }
    }
}

TEST(Text1252, TrimSpacesOnlyRemovesCode32AtBothEnds) {
    EXPECT_EQ(TrimSpaces("  abc def  "), "abc def");
    EXPECT_EQ(TrimSpaces("   "), "");
    EXPECT_EQ(TrimSpaces(""), "");
    EXPECT_EQ(TrimSpaces("\tabc\t"), "\tabc\t");
    EXPECT_EQ(CutTo("abcdef", 4), "abcd");
    EXPECT_EQ(CutTo("ab", 4), "ab");
}
