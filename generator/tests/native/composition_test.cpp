#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "composition.h"

namespace {

const Pump NoPump = [] { return true; };

std::size_t CountIf(std::string_view text, bool (*test)(unsigned char)) {
    return static_cast<std::size_t>(
        std::count_if(text.begin(), text.end(), [test](char c) { return test(static_cast<unsigned char>(c)); }));
}

bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }
bool IsLowerLetter(unsigned char c) { return c >= 'a' && c <= 'z'; }
bool IsUpperLetter(unsigned char c) { return c >= 'A' && c <= 'Z'; }
bool IsLetter(unsigned char c) { return IsLowerLetter(c) || IsUpperLetter(c); }
// The inverted question and exclamation marks are the single bytes BF and A1.
constexpr std::string_view Signs = "_-#$&\xBF?\xA1!@";
bool IsSign(unsigned char c) { return Signs.find(static_cast<char>(c)) != std::string_view::npos; }
bool IsHex(unsigned char c) { return (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

RandomSource SeededAt(int hours, int minutes, int seconds, int ms) {
    RandomSource random;
    random.Reseed({hours, minutes, seconds, ms});
    return random;
}

std::string MakePassword(PasswordCounts counts, const GeneratorModes& modes, RandomSource& random) {
    auto slots = PlaceClasses(counts, modes, random, NoPump);
    EXPECT_TRUE(slots.has_value());
    auto composed = ComposeCharacters(*slots, modes, BuildCharacterTables(), random, NoPump);
    EXPECT_TRUE(composed.has_value());
    return composed ? std::string(composed->view()) : std::string();
}

}  // namespace

TEST(Composition, BuildCharacterTables_HoldsLettersHexAndSignsInOrder) {
    const CharacterTables t = BuildCharacterTables();
    EXPECT_EQ(std::string(t.LetterTable.begin(), t.LetterTable.end()), "abcdefghijklmnopqrstuvwxyz");
    EXPECT_EQ(std::string(t.HexTable.begin(), t.HexTable.end()), "abcdef");
    EXPECT_EQ(std::string(t.SignTable.begin(), t.SignTable.end()), Signs);
}

TEST(Composition, CountsError_ReportsTheFirstFailingCheck) {
    const std::string_view total = "La cantidad de Digitos totales debe ser como minimo 1";
    const std::string_view sum =
        "La cantidad de Numeros y/o Letras y/o Signos debe ser igual al numero de Digitos totales ";
    const std::string_view perLine = "La cantidad de Digitos por linea debe ser mayor o igual a 1";
    const std::string_view name = "Tienes que escribir un nombre de fichero";
    struct Case {
        PasswordCounts counts;  // total, per line, digits, letters, signs
        std::string_view fileName;
        std::optional<std::string_view> message;
    };
    const Case cases[] = {
        {{0, 0, 0, 0, 0}, "", total},             // nothing selected
        {{0, 5, 3, 0, 0}, "a.txt", total},        // the total comes first even when the rest is wrong
        {{10, 0, 4, 4, 1}, "", sum},              // sum before per-line and name
        {{10, 3, 4, 4, 3}, "a.txt", sum},
        {{10, 0, 4, 4, 2}, "", perLine},          // per-line before the name
        {{10, 3, 4, 4, 2}, "", name},
        {{10, 3, 4, 4, 2}, "a", name},
        {{10, 3, 4, 4, 2}, "ab", std::nullopt},  // two characters are enough
        {{12, 12, 12, 0, 0}, "a.txt", std::nullopt},
        {{999, 999, 0, 0, 999}, "a.txt", std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CountsError(c.counts, c.fileName), c.message)
            << c.counts.TotalCount << "/" << c.counts.PerLineCount << " name '" << c.fileName << "'";
    }
}

TEST(Composition, PlaceClasses_GivesExactCountsForManySettings) {
    RandomSource settings = SeededAt(7, 0, 0, 0);
    for (int run = 0; run < 300; ++run) {
        const int total = settings.RandomInt(1, 120);
        const int digits = settings.RandomInt(0, total);
        const int letters = settings.RandomInt(0, total - digits);
        const int signs = total - digits - letters;
        GeneratorModes modes;
        modes.HexLetters = settings.RandomInt(0, 1);
        modes.LowerMode = modes.UpperMode = modes.MixedMode = 0;
        switch (settings.RandomInt(1, 3)) {
            case 1: modes.LowerMode = 1; break;
            case 2: modes.UpperMode = 1; break;
            default: modes.MixedMode = 1; break;
        }
        PasswordCounts counts{static_cast<std::int16_t>(total), 1, static_cast<std::int16_t>(digits),
                              static_cast<std::int16_t>(letters), static_cast<std::int16_t>(signs)};
        RandomSource random = SeededAt(10, run % 60, 0, run);
        const std::string password = MakePassword(counts, modes, random);
        ASSERT_EQ(password.size(), static_cast<std::size_t>(total)) << "run " << run;
        EXPECT_EQ(CountIf(password, IsDigit), static_cast<std::size_t>(digits)) << "run " << run;
        EXPECT_EQ(CountIf(password, IsLetter), static_cast<std::size_t>(letters)) << "run " << run;
        EXPECT_EQ(CountIf(password, IsSign), static_cast<std::size_t>(signs)) << "run " << run;
        if (modes.HexLetters != 0) {
            EXPECT_EQ(CountIf(password, IsHex), static_cast<std::size_t>(letters));
        }
        if (modes.LowerMode != 0) {
            EXPECT_EQ(CountIf(password, IsUpperLetter), 0u) << password;
        }
        if (modes.UpperMode != 0) {
            EXPECT_EQ(CountIf(password, IsLowerLetter), 0u) << password;
        }
    }
}

// At noon the first draw of 1 to 10 is 5 and of 1 to 88036 is 35351 (u just above 0.4015): so the first
// placement draw of ten positions is the fifth, and a first digit, sign or letter drawn is 4, "&", k or c.
// The longer results follow from those states by the formula, worked out apart from the program.
TEST(Composition, PlaceClasses_FirstDistinctDrawsBecomeDigitsThenLettersThenSignsUsingUpTheCounts) {
    struct Case {
        PasswordCounts counts;
        std::string_view slots;
        int pumps;
        std::uint32_t stateAfter;
    };
    const Case cases[] = {
        {{10, 10, 1, 9, 0}, "LLLLNLLLLL", 33, 0x44C02B61u},
        {{10, 3, 4, 4, 2}, "NLSLNNLNLS", 33, 0x44C02B61u},
        {{8, 8, 3, 3, 2}, "NSLNLLNS", 23, 0xFD47797Bu},
    };
    for (Case c : cases) {
        RandomSource random = SeededAt(12, 0, 0, 0);
        int pumps = 0;
        const auto slots = PlaceClasses(c.counts, GeneratorModes{}, random, [&] { return ++pumps, true; });
        ASSERT_TRUE(slots.has_value());
        EXPECT_EQ(*slots, c.slots);
        EXPECT_EQ(pumps, c.pumps) << "one pump per draw";
        EXPECT_EQ(random.RandomState, c.stateAfter) << "one draw per pump";
        EXPECT_EQ(c.counts.DigitCount + c.counts.LetterCount + c.counts.SignCount, 0);
        EXPECT_EQ(c.counts.TotalCount, static_cast<std::int16_t>(c.slots.size()));
    }
}

TEST(Composition, ComposeCharacters_DrawsPerPositionInOrderCaseBeforeLetter) {
    const CharacterTables tables = BuildCharacterTables();
    const GeneratorModes lower;
    GeneratorModes mixed;
    mixed.LowerMode = 0;
    mixed.MixedMode = 1;
    GeneratorModes upper;
    upper.LowerMode = 0;
    upper.UpperMode = 1;
    struct Case {
        std::string_view slots;
        const GeneratorModes& modes;
        TimeOfDay seed;
        std::string_view password;
    };
    const Case cases[] = {
        {"N", lower, {12, 0, 0, 0}, "4"},
        {"S", lower, {12, 0, 0, 0}, "&"},
        {"L", lower, {12, 0, 0, 0}, "k"},
        {"H", upper, {12, 0, 0, 0}, "C"},
        // Drawing the letter before its case would give 4cE?CD5 and 9ZC\xA1Ic3.
        {"NLHSLHN", mixed, {12, 0, 0, 0}, "4mD?rD5"},
        {"NLHSLHN", mixed, {9, 0, 0, 1}, "9Rd\xA1zc3"},
    };
    for (const Case& c : cases) {
        RandomSource random = SeededAt(c.seed.hours, c.seed.minutes, c.seed.seconds, c.seed.milliseconds);
        const auto composed = ComposeCharacters(c.slots, c.modes, tables, random, NoPump);
        ASSERT_TRUE(composed.has_value());
        EXPECT_EQ(composed->view(), c.password) << c.slots;
    }
}

TEST(Composition, ComposeCharacters_HexLettersAreAToFInTheChosenCase) {
    GeneratorModes modes;
    modes.HexLetters = 1;
    PasswordCounts lowerCounts{12, 12, 0, 12, 0};
    RandomSource random = SeededAt(11, 11, 11, 111);
    const std::string lower = MakePassword(lowerCounts, modes, random);
    EXPECT_EQ(lower.find_first_not_of("abcdef"), std::string::npos) << lower;

    modes.LowerMode = 0;
    modes.UpperMode = 1;
    PasswordCounts upperCounts{999, 999, 0, 999, 0};
    const std::string upper = MakePassword(upperCounts, modes, random);
    EXPECT_EQ(upper.find_first_not_of("ABCDEF"), std::string::npos);
    for (char c : std::string("ABCDEF")) EXPECT_NE(upper.find(c), std::string::npos) << c;
}

TEST(Composition, ComposeCharacters_AllSignsUsesOnlyTheTenSigns) {
    PasswordCounts counts{999, 999, 0, 0, 999};
    RandomSource random = SeededAt(23, 59, 59, 999);
    const std::string password = MakePassword(counts, GeneratorModes{}, random);
    ASSERT_EQ(password.size(), 999u);
    EXPECT_EQ(CountIf(password, IsSign), 999u);
    for (char sign : Signs) EXPECT_NE(password.find(sign), std::string::npos) << sign;
}

TEST(Composition, ComposeCharacters_MixedCaseGivesBothCases) {
    GeneratorModes modes;
    modes.LowerMode = 0;
    modes.MixedMode = 1;
    PasswordCounts counts{200, 200, 0, 200, 0};
    RandomSource random = SeededAt(1, 2, 3, 4);
    const std::string password = MakePassword(counts, modes, random);
    EXPECT_GT(CountIf(password, IsLowerLetter), 50u);
    EXPECT_GT(CountIf(password, IsUpperLetter), 50u);
}

TEST(Composition, ModeChangesWhileRunningApplyToWhatIsNotDoneYet) {
    // A click on an option or on the hexadecimal box arrives through the pump, between two positions.
    GeneratorModes modes;
    PasswordCounts counts{40, 40, 0, 40, 0};
    RandomSource random = SeededAt(14, 0, 0, 0);
    int pumps = 0;
    const auto slots = PlaceClasses(counts, modes, random, [&] {
        // Each iteration pumps between its draw and its assignment: the first one is assigned as before.
        if (++pumps == 2) modes.HexLetters = 1;
        return true;
    });
    ASSERT_TRUE(slots.has_value());
    EXPECT_EQ(std::count(slots->begin(), slots->end(), 'L'), 1);
    EXPECT_EQ(std::count(slots->begin(), slots->end(), 'H'), 39);

    int position = 0;
    const auto composed = ComposeCharacters(*slots, modes, BuildCharacterTables(), random, [&] {
        if (position++ == 20) {
            modes.LowerMode = 0;
            modes.UpperMode = 1;
        }
        return true;
    });
    ASSERT_TRUE(composed.has_value());
    EXPECT_EQ(CountIf(composed->view().substr(0, 20), IsUpperLetter), 0u) << composed->view();
    EXPECT_EQ(CountIf(composed->view().substr(20), IsLowerLetter), 0u) << composed->view();
}

TEST(Composition, Runs_StopWhenThePumpSaysSo) {
    GeneratorModes modes;
    PasswordCounts counts{50, 5, 50, 0, 0};
    RandomSource random = SeededAt(12, 0, 0, 0);
    int pumps = 0;
    EXPECT_FALSE(PlaceClasses(counts, modes, random, [&] { return ++pumps < 3; }).has_value());
    EXPECT_EQ(pumps, 3);
    pumps = 0;
    EXPECT_FALSE(ComposeCharacters("NNNN", modes, BuildCharacterTables(), random, [&] { return ++pumps < 2; }));
    EXPECT_EQ(pumps, 2);
}

TEST(Composition, PlaceClasses_RefusesCountsThatWouldNeverEnd) {
    GeneratorModes modes;
    RandomSource random;
    for (PasswordCounts counts : {PasswordCounts{5, 1, 3, 3, 0}, PasswordCounts{5, 1, 1, 1, 1},
                                  PasswordCounts{0, 1, 0, 0, 0}, PasswordCounts{2, 1, 3, -1, 0}}) {
        EXPECT_FALSE(PlaceClasses(counts, modes, random, NoPump).has_value()) << counts.TotalCount;
    }
}

TEST(Composition, CutIntoLines_PerLineCount) {
    struct Case {
        std::string_view password;
        int perLine;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"ab3#", 2, {"ab", "3#"}},
        {"0123456789", 3, {"012", "345", "678", "9"}},
        {"0123456789", 10, {"0123456789"}},
        {"0123456789", 999, {"0123456789"}},
        {"x", 1, {"x"}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> lines;
        for (const SecretText& line : CutIntoLines(c.password, c.perLine)) lines.emplace_back(line.view());
        EXPECT_EQ(lines, c.lines) << c.password;
    }
}
