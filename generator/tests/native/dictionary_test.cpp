#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "dictionary.h"

namespace {

// A clock that moves on by one millisecond per reading, as a pumping loop's clock does.
Clock SteppingClock(int startMs) {
    return [ms = startMs]() mutable {
        const int now = ms++;
        return TimeOfDay{now / 3600000, now / 60000 % 60, now / 1000 % 60, now % 1000};
    };
}

Clock FixedClock(TimeOfDay time) {
    return [time] { return time; };
}

using Lines = std::vector<std::string>;

}  // namespace

TEST(Dictionary, WordListLinesOf_LineEndsAndEndOfText) {
    struct Case {
        std::string_view name;
        std::string bytes;
        Lines lines;
    };
    const Case cases[] = {
        {"crlf", "casa\r\nperro\r\n", {"casa", "perro"}},
        {"no final end", "casa\r\nperro", {"casa", "perro"}},
        {"lone cr", "casa\rperro\r", {"casa", "perro"}},
        {"lone lf stays in the line", "casa\nperro\r\ngato", {"casa\nperro", "gato"}},
        {"cr cr lf", "casa\r\r\nperro", {"casa", "", "perro"}},
        {"empty lines count", "\r\n\r\nsol\r\n", {"", "", "sol"}},
        {"blanks count", " sol \r\n", {" sol "}},
        {"1A ends the reading", "casa\r\nper\x1Aro\r\ngato\r\n", {"casa", "per"}},
        {"1A right after a line end", "casa\r\n\x1A" "perro", {"casa"}},
        {"empty file", "", {""}},
        {"windows-1252 bytes", "\xC1rbol\r\ncami\xF3n\r\n", {"\xC1rbol", "cami\xF3n"}},
    };
    for (const Case& c : cases) EXPECT_EQ(WordListLinesOf(c.bytes), c.lines) << c.name;
}

TEST(Dictionary, WordListLinesOf_CutsLongLinesAndStopsAtTheLastDrawableLine) {
    const std::string longLine(130, 'x');
    const Lines cut = WordListLinesOf(longLine + "\r\nsol\r\n");
    ASSERT_EQ(cut.size(), 2u);
    EXPECT_EQ(cut[0], std::string(122, 'x'));
    EXPECT_EQ(cut[1], "sol");

    std::string many;
    for (int i = 1; i <= 88040; ++i) many += "w" + std::to_string(i) + "\r\n";
    const Lines capped = WordListLinesOf(many);
    ASSERT_EQ(capped.size(), 88036u);
    EXPECT_EQ(capped.back(), "w88036");
}

TEST(Dictionary, ReadWordAt_EmptyPastTheEnd) {
    EXPECT_EQ(WordListName, "le.txt");
    const Lines lines{"uno", "dos", "tres"};
    EXPECT_EQ(ReadWordAt(lines, 1), "uno");
    EXPECT_EQ(ReadWordAt(lines, 3), "tres");
    EXPECT_EQ(ReadWordAt(lines, 4), "");
    EXPECT_EQ(ReadWordAt(lines, 88036), "");
    EXPECT_EQ(ReadWordAt({}, 1), "");
}

TEST(Dictionary, RandomWordLine_ReseedsBeforeEveryDraw) {
    RandomSource random;
    random.RandomState = 0x12345678u;
    const Clock noon = FixedClock({12, 0, 0, 0});
    EXPECT_EQ(RandomWordLine(random, noon), 35351);
    // The same time of day gives the same line again, whatever was drawn in between.
    random.RandomInt(1, 10);
    EXPECT_EQ(RandomWordLine(random, noon), 35351);
}

TEST(Dictionary, DictionaryError_LengthThenName) {
    const std::string_view length =
        "La cantidad de letras de la palabra debe ser mayor o igual a 4 y menor o igual a 18 ...";
    const std::string_view name = "Tienes que escribir un nombre de fichero";
    struct Case {
        int total;
        std::string_view fileName;
        std::optional<std::string_view> message;
    };
    const Case cases[] = {
        {0, "", length},  {3, "abc", length}, {19, "abc", length},       {999, "a.txt", length},
        {5, "ab", name},  {5, "", name},      {4, "abc", std::nullopt}, {18, "abc", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DictionaryError(c.total, c.fileName), c.message) << c.total << " '" << c.fileName << "'";
    // The normal mode takes the same two-character name.
    EXPECT_EQ(CountsError({5, 5, 5, 0, 0}, "ab"), std::nullopt);
}

TEST(Dictionary, SearchWord_DrawsUntilALineOfTheLengthComesUp) {
    // Every tenth line has five characters; the rest have other lengths.
    Lines lines;
    for (int i = 1; i <= 1000; ++i) lines.push_back(i % 10 == 0 ? "p" + std::to_string(10000 + i / 10).substr(1) : "xy");
    RandomSource random;
    int pumps = 0;
    const WordSearchResult found =
        SearchWord(lines, 5, random, SteppingClock(12 * 3600000), [&] { return ++pumps, true; });
    ASSERT_EQ(found.outcome, WordSearch::Found);
    EXPECT_EQ(found.word.size(), 5u);
    EXPECT_NE(std::find(lines.begin(), lines.end(), found.word.view()), lines.end()) << found.word.view();
    EXPECT_EQ(found.draws, pumps);

    // Reseeded at noon before every draw, each draw names line 35351: the word is that line, at once.
    lines.assign(40000, "xy");
    lines[35350] = "hueso";
    int noonPumps = 0;
    const WordSearchResult atNoon =
        SearchWord(lines, 5, random, FixedClock({12, 0, 0, 0}), [&] { return ++noonPumps < 100; });
    ASSERT_EQ(atNoon.outcome, WordSearch::Found);
    EXPECT_EQ(atNoon.word, "hueso");
    EXPECT_EQ(atNoon.draws, 1);
}

TEST(Dictionary, SearchWord_NoWordOfTheLengthGivesUpAtOnce) {
    RandomSource random;
    const Clock clock = SteppingClock(0);
    int pumps = 0;
    const Pump counting = [&] { return ++pumps, true; };
    EXPECT_EQ(SearchWord({"casa", "perros"}, 5, random, clock, counting).outcome, WordSearch::NoSuchWord);
    EXPECT_EQ(SearchWord({}, 4, random, clock, counting).outcome, WordSearch::NoSuchWord);  // unreadable list
    EXPECT_EQ(SearchWord({""}, 4, random, clock, counting).outcome, WordSearch::NoSuchWord);
    EXPECT_EQ(pumps, 0);
}

TEST(Dictionary, SearchWord_StopsWhenThePumpSaysSo) {
    // The one five-letter line is reachable, but at noon every draw names line 35351.
    Lines lines(40000, "xy");
    lines.push_back("hueso");
    RandomSource random;
    int pumps = 0;
    const WordSearchResult stopped =
        SearchWord(lines, 5, random, FixedClock({12, 0, 0, 0}), [&] { return ++pumps < 50; });
    EXPECT_EQ(stopped.outcome, WordSearch::Stopped);
    EXPECT_EQ(stopped.draws, 50);
    EXPECT_EQ(pumps, 50);
}

TEST(Dictionary, FoldAccents_OnlyLowerCaseGraveAndAcuteVowels) {
    EXPECT_EQ(FoldAccents("\xE1\xE0\xE9\xE8\xED\xEC\xF3\xF2\xFA\xF9"), "aaeeiioouu");
    // Upper-case accented vowels, ñ, ü, circumflex vowels and plain text stay as they are.
    const std::string kept = "\xC1\xC9\xCD\xD3\xDA\xC0\xF1\xD1\xFC\xDC\xE2\xEA casa-1";
    EXPECT_EQ(FoldAccents(kept), kept);
    EXPECT_EQ(FoldAccents(std::string(130, '\xE1')), std::string(122, 'a'));
}

TEST(Dictionary, FinishWord_CaseBeforeFolding) {
    GeneratorModes lower;
    GeneratorModes upper;
    upper.LowerMode = 0;
    upper.UpperMode = 1;
    RandomSource random;
    const Clock clock = SteppingClock(0);
    struct Case {
        const GeneratorModes& modes;
        std::string_view word;
        std::string_view result;
    };
    const Case cases[] = {
        {lower, "\xC1rbol", "arbol"},              // Árbol
        {upper, "cami\xF3n", "CAMI\xD3N"},         // camión -> CAMIÓN
        {upper, "canci\xF3n", "CANCI\xD3N"},       // canción keeps its accent in upper case
        {lower, "CANCI\xD3N", "cancion"},          // CANCIÓN loses it in lower case
        {lower, "A\xD1O", "a\xF1o"},               // AÑO -> año: ñ is not folded
        {upper, "ping\xFCino", "PING\xDCINO"},     // pingüino
    };
    for (const Case& c : cases) EXPECT_EQ(FinishWord(c.word, c.modes, random, clock), c.result) << c.word;
}

TEST(Dictionary, FinishWord_MixedCaseFoldsOnlyVowelsThatComeOutLower) {
    GeneratorModes mixed;
    mixed.LowerMode = 0;
    mixed.MixedMode = 1;
    const std::string word = "\xC1rbol cami\xF3n \xE9xito";  // Árbol camión éxito
    // Reseeded at noon, the first draw of 1 or 2 is 1 (lower case); the rest follow the formula.
    RandomSource random;
    EXPECT_EQ(FinishWord(word, mixed, random, FixedClock({12, 0, 0, 0})), "arbOL cAMI\xD3N eXIto");
    EXPECT_EQ(FinishWord(word, mixed, random, FixedClock({16, 0, 0, 2})), "aRboL cAMion eXiTO");

    // Every character comes out in one case or the other, independently; in lower case without its accent.
    const std::string lower = "arbol camion exito", upper = "\xC1RBOL CAMI\xD3N \xC9XITO";
    bool sawAccentKept = false, sawAccentFolded = false;
    for (int ms = 0; ms < 100; ++ms) {
        const SecretText result = FinishWord(word, mixed, random, FixedClock({16, 0, 0, ms}));
        ASSERT_EQ(result.size(), word.size());
        for (std::size_t i = 0; i < word.size(); ++i) {
            EXPECT_TRUE(result[i] == lower[i] || result[i] == upper[i]) << "ms " << ms << " position " << i;
            if (word[i] != lower[i]) {
                sawAccentFolded |= result[i] == lower[i];
                sawAccentKept |= result[i] == upper[i];
            }
        }
    }
    EXPECT_TRUE(sawAccentKept && sawAccentFolded);
}
