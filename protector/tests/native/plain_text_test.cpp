// The line rules of the plain-file reader.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "plain_text.h"

TEST(PlainText, JoinPlainLines_LineRules) {
    struct Case {
        std::string content;
        std::string text;
    } cases[] = {
        {"", ""},
        {"abc", "abc"},
        {"abc\r\n", "abc"},
        {"abc\r\ndef", "abcdef"},
        {"abc\rdef\r", "abcdef"},               // CR alone ends a line too
        {"abc\ndef", "abc\ndef"},               // a lone LF stays a character
        {"abc\r\n\ndef", "abc\ndef"},           // only the LF right after the CR belongs to the line end
        {"pass1\r\r\npass2\r\r\n", "pass1pass2"},  // the generator's CR CR LF: the empty line adds nothing
        {"\r\n\r\n", ""},
        {"abc\x1A" "def", "abc"},               // 0x1A ends the reading
        {"\x1A" "abc", ""},
        {"ab\r\x1A\r\ncd", "ab"},
    };
    for (const Case& c : cases) EXPECT_EQ(JoinPlainLines(c.content), c.text) << c.content;
}

TEST(PlainText, Joiner_LineEndSplitAcrossBlocks) {
    PlainTextJoiner joiner;
    joiner.Feed("1234567890\r");
    joiner.Feed("\n123456789012345\r");
    joiner.Feed("\r");
    joiner.Feed("\n");
    EXPECT_FALSE(joiner.Done());
    EXPECT_EQ(joiner.Text(), "1234567890123456789012345");
    joiner.Feed("\x1A" "more");
    EXPECT_TRUE(joiner.Done());
    EXPECT_EQ(joiner.Text(), "1234567890123456789012345");
}

TEST(PlainText, Joiner_StopsOnceLongerThanTheLimit) {
    PlainTextJoiner joiner(50);
    joiner.Feed(std::string(50, 'a'));
    EXPECT_FALSE(joiner.Done());
    joiner.Feed(std::string(1000, 'b'));
    EXPECT_TRUE(joiner.Done());
    EXPECT_EQ(joiner.Text().size(), 51u);  // enough to know it is too long, no more
}

TEST(PlainText, JoinPlainLines_CutAt2049Characters) {
    EXPECT_EQ(JoinPlainLines(std::string(3000, 'z')), std::string(2049, 'z'));
    EXPECT_EQ(JoinPlainLines(std::string(2049, 'y')), std::string(2049, 'y'));
    EXPECT_EQ(JoinPlainLines(std::string(2000, 'a') + "\r\n" + std::string(2000, 'b')),
              std::string(2000, 'a') + std::string(49, 'b'));
    // A limit of SIZE_MAX means "never stop early": the text is still cut to 2049 characters.
    EXPECT_EQ(JoinPlainLines("\nI", SIZE_MAX), "\nI");
    EXPECT_EQ(JoinPlainLines(std::string(3000, 'x'), SIZE_MAX), std::string(2049, 'x'));
    PlainTextJoiner joiner(SIZE_MAX);
    joiner.Feed("abc\r\n");
    EXPECT_FALSE(joiner.Done());
    EXPECT_EQ(joiner.Text(), "abc");
}
