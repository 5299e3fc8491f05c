// The benchmark floors: clock arithmetic, the reseed quantum, the earliest dictionary hit and the recovery of
// a normal-mode run from the password it wrote.
#include <gtest/gtest.h>

#include <algorithm>

#include "dictionary.h"
#include "floors.h"

namespace {

constexpr std::int64_t Hour = 3600LL * 1000;
constexpr std::int64_t Noon = 12 * Hour;
constexpr std::int64_t Evening = 21LL * 3600 * 1000 + 30 * 60 * 1000;

int Draw(std::int64_t ms) {
    RandomSource random;
    return RandomWordLine(random, [ms] { return TimeOfDayAt(ms); });
}

std::vector<std::string> ListOf(std::size_t count, std::size_t length) {
    return std::vector<std::string>(count, std::string(length, 'a'));
}

int CountOf(std::string_view text, char low, char high) {
    return static_cast<int>(std::count_if(text.begin(), text.end(), [&](char c) { return c >= low && c <= high; }));
}

}  // namespace

TEST(Clock, TimeOfDayAt_RoundTripsAndWrapsAtMidnight) {
    struct Case {
        std::int64_t ms;
        TimeOfDay time;
    } cases[] = {
        {0, {0, 0, 0, 0}},
        {Noon + 1, {12, 0, 0, 1}},
        {Evening + 59999, {21, 30, 59, 999}},
        {24LL * 3600 * 1000 + 5, {0, 0, 0, 5}},
        {-1, {23, 59, 59, 999}},
    };
    for (const auto& c : cases) {
        const TimeOfDay t = TimeOfDayAt(c.ms);
        EXPECT_EQ((std::vector<int>{t.hours, t.minutes, t.seconds, t.milliseconds}),
                  (std::vector<int>{c.time.hours, c.time.minutes, c.time.seconds, c.time.milliseconds})) << c.ms;
        EXPECT_EQ(MillisecondsOf(t), ((c.ms % 86400000) + 86400000) % 86400000);
    }
}

TEST(Clock, ReseedQuantumMs_FollowsTheFloatSpacing) {
    EXPECT_DOUBLE_EQ(ReseedQuantumMs(1000), 1.0);                      // far finer than a millisecond
    EXPECT_DOUBLE_EQ(ReseedQuantumMs(5LL * 3600 * 1000), 1.953125);     // 18,000 s
    EXPECT_DOUBLE_EQ(ReseedQuantumMs(Noon), 3.90625);                   // 43,200 s
    EXPECT_DOUBLE_EQ(ReseedQuantumMs(Evening), 7.8125);                 // 77,400 s
}

TEST(Clock, ReseedQuantumMs_MatchesHowOftenTheSeedChanges) {
    for (std::int64_t start : {Noon, Evening}) {
        RandomSource random;
        std::uint32_t last = 0;
        int changes = 0;
        for (std::int64_t ms = start; ms < start + 1000; ++ms) {
            random.Reseed(TimeOfDayAt(ms));
            if (ms != start && random.RandomState != last) ++changes;
            last = random.RandomState;
        }
        EXPECT_NEAR(changes, 1000.0 / ReseedQuantumMs(start), 1.0) << start;
    }
}

TEST(WordFloor, FirstWordInstant_EveryLineFitsAtOnce) {
    auto instant = FirstWordInstant(ListOf(WordListLines, 6), 6, Noon, Noon + 1000);
    ASSERT_TRUE(instant.has_value());
    EXPECT_EQ(instant->ms, Noon);
    EXPECT_EQ(instant->seeds, 1);
}

TEST(WordFloor, FirstWordInstant_NothingWhenNoLineHasTheLength) {
    EXPECT_FALSE(FirstWordInstant(ListOf(WordListLines, 6), 7, Noon, Noon + 2000).has_value());
    // Draws past the end of a list give empty words, never a hit.
    EXPECT_FALSE(FirstWordInstant({}, 6, Noon, Noon + 2000).has_value());
}

TEST(WordFloor, FirstWordInstant_IsTheFirstReadingThatDrawsARareWord) {
    // One line in a hundred has the length: the hit lies some seeds away, and no earlier reading draws it.
    std::vector<std::string> lines = ListOf(WordListLines, 5);
    for (std::size_t i = 0; i < lines.size(); i += 100) lines[i] = std::string(18, 'z');
    for (std::int64_t start : {Noon + 123, Evening + 456}) {
        auto instant = FirstWordInstant(lines, 18, start, start + 60000);
        ASSERT_TRUE(instant.has_value());
        EXPECT_EQ(ReadWordAt(lines, Draw(instant->ms)).size(), 18u);
        for (std::int64_t ms = start; ms < instant->ms; ++ms) ASSERT_NE(ReadWordAt(lines, Draw(ms)).size(), 18u) << ms;
        const double spanQuanta = static_cast<double>(instant->ms - start) / ReseedQuantumMs(start);
        EXPECT_NEAR(instant->seeds, spanQuanta + 1, 2.0);
    }
}

TEST(PasswordFloor, SimulatePassword_HasTheCountsAndOneStepPerDrawCharacterAndLine) {
    PasswordCounts counts{12, 5, 4, 4, 4};
    const PasswordRun run = SimulatePassword(counts, GeneratorModes{}, Noon);
    ASSERT_EQ(run.password.size(), 12u);
    EXPECT_EQ(CountOf(run.password, '0', '9'), 4);
    EXPECT_EQ(CountOf(run.password, 'a', 'z'), 4);
    // Placement needs at least one draw per position; then 12 characters and 3 lines.
    EXPECT_GE(run.pumpSteps, 12 + 12 + 3);
    EXPECT_EQ(SimulatePassword(counts, GeneratorModes{}, Noon).password, run.password);
    EXPECT_NE(SimulatePassword(counts, GeneratorModes{}, Noon + 10).password, run.password);
}

TEST(PasswordFloor, SimulatePassword_LongPasswordNeedsAboutTheCouponCollectorDraws) {
    const PasswordRun run = SimulatePassword(PasswordCounts{999, 999, 333, 333, 333}, GeneratorModes{}, Evening);
    ASSERT_EQ(run.password.size(), 999u);
    // About 999 x (ln 999 + 0.58) = 7,480 placement draws, give or take a few standard deviations.
    const long placement = run.pumpSteps - 999 - 1;
    EXPECT_GT(placement, 4500);
    EXPECT_LT(placement, 14000);
}

TEST(PasswordFloor, FindPasswordRun_RecoversTheSeedOfAWrittenPassword) {
    PasswordCounts counts{40, 40, 10, 20, 10};
    GeneratorModes mixed;
    mixed.LowerMode = 0;
    mixed.MixedMode = 1;
    const PasswordRun made = SimulatePassword(counts, mixed, Evening + 2500);
    auto found = FindPasswordRun(made.password, counts, mixed, Evening, Evening + 5000);
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(found->pumpSteps, made.pumpSteps);
    EXPECT_LE(std::abs(found->seedMs - made.seedMs), 8);  // the same seed, at the start of its quantum
    EXPECT_FALSE(FindPasswordRun(made.password, counts, mixed, Evening + 3000, Evening + 5000).has_value());
    EXPECT_FALSE(FindPasswordRun(std::string(40, '#'), counts, mixed, Evening, Evening + 5000).has_value());
}

TEST(Report, MedianOfOddEvenAndEmpty) {
    EXPECT_DOUBLE_EQ(Median({5, 1, 3}), 3);
    EXPECT_DOUBLE_EQ(Median({4, 1, 3, 2}), 2.5);
    EXPECT_DOUBLE_EQ(Median({}), 0);
}

TEST(Report, SpreadOf_LeastMiddleAndGreatestInAnyOrder) {
    const Spread spread = SpreadOf({7, 2, 9, 4});
    EXPECT_DOUBLE_EQ(spread.min, 2);
    EXPECT_DOUBLE_EQ(spread.median, 5.5);
    EXPECT_DOUBLE_EQ(spread.max, 9);
    const Spread one = SpreadOf({3});
    EXPECT_DOUBLE_EQ(one.min, 3);
    EXPECT_DOUBLE_EQ(one.max, 3);
    EXPECT_DOUBLE_EQ(SpreadOf({}).max, 0);
}

TEST(Report, FigureLine_GivesTheSpreadAndTheRatioOrADashForNoFloor) {
    const std::string line = FigureLine("Claverix start", Spread{280, 300, 350}, "ms", Ratio(300, 150));
    EXPECT_NE(line.find("Claverix start"), std::string::npos);
    const std::size_t min = line.find("280.0 ms"), median = line.find("300.0 ms"), max = line.find("350.0 ms");
    ASSERT_NE(min, std::string::npos);
    ASSERT_NE(median, std::string::npos);
    ASSERT_NE(max, std::string::npos);
    EXPECT_LT(min, median);
    EXPECT_LT(median, max);
    EXPECT_EQ(line.substr(line.size() - 4), "2.00");
    EXPECT_NE(FigureLine("memoria", Spread{9.5, 9.5, 9.5}, "MB", std::nullopt).find("9.5 MB"), std::string::npos);
    EXPECT_EQ(FigureLine("x", Spread{10, 10, 10}, "ms", Ratio(10, 0)).back(), '-');
}

TEST(PasswordFloor, DistinctSeeds_EveryMillisecondAtNightOneInEightInTheEvening) {
    // Below 8192 seconds a float step is under a millisecond; above 65536 it is 1/128 second.
    EXPECT_EQ(DistinctSeeds(0, Hour - 1), 3600000);
    const int evening = DistinctSeeds(20 * Hour, 21 * Hour - 1);
    EXPECT_GE(evening, 460800 - 1);
    EXPECT_LE(evening, 460800 + 1);
}

TEST(PasswordFloor, DistinctSeeds_AtWindowsTickEveryHourHasAsManyAsItsTicks) {
    // 64 readings a second, 230,400 an hour, each its own seed: a float step is at most 7.8 ms.
    EXPECT_EQ(DistinctSeeds(0, Hour - 1, WindowsDefaultTicks), 230400);
    EXPECT_EQ(DistinctSeeds(20 * Hour, 21 * Hour - 1, WindowsDefaultTicks), 230400);
    // A search that knows where the ticks fall finds the password of a start at one of them.
    const PasswordCounts counts{12, 12, 4, 4, 4};
    const PasswordRun made = SimulatePassword(counts, GeneratorModes{}, 10 * Hour + 20 * 1000 + 46);  // tick 3
    const auto found = FindPasswordRun(made.password, counts, GeneratorModes{}, 10 * Hour, 10 * Hour + 60 * 1000,
                                       WindowsDefaultTicks);
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(found->password, made.password);
}
