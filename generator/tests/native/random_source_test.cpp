#include <gtest/gtest.h>

#include <bit>

#include "random_source.h"

TEST(RandomSource, Reseed_NoonGivesTheBitsOf43200) {
    RandomSource random;
    random.Reseed({12, 0, 0, 0});
    EXPECT_EQ(random.RandomState, 0x4728C000u);
}

TEST(RandomSource, RandomInt_WorkedExampleAtNoon) {
    RandomSource random;
    random.Reseed({12, 0, 0, 0});
    EXPECT_EQ(random.RandomInt(1, 10), 5);
    EXPECT_EQ(random.RandomState, 0x66CBC001u);
    random.Reseed({12, 0, 0, 0});
    EXPECT_EQ(random.RandomInt(1, 88036), 35351);
}

TEST(RandomSource, Reseed_RoundsSecondsToNearestFloat) {
    struct Case {
        TimeOfDay time;
        float seconds;
    };
    const Case cases[] = {
        {{0, 0, 0, 0}, 0.0f},
        {{0, 0, 0, 1}, 0.001f},
        {{0, 1, 2, 345}, 62.345f},
        {{23, 59, 59, 999}, 86399.999f},
        {{9, 30, 15, 250}, 34215.25f},
    };
    for (const Case& c : cases) {
        RandomSource random;
        random.Reseed(c.time);
        EXPECT_EQ(random.RandomState, std::bit_cast<std::uint32_t>(c.seconds))
            << c.time.hours << ":" << c.time.minutes << ":" << c.time.seconds << "." << c.time.milliseconds;
    }
}

TEST(RandomSource, RandomInt_AdvancesTheLinearCongruentialState) {
    RandomSource random;
    random.RandomState = 0xFFFFFFFFu;
    random.RandomInt(0, 1);
    EXPECT_EQ(random.RandomState, 0xF7F77BFCu);  // the product's top bits dropped

    // State 0 gives u = 0 after the step to 1, so the lowest value comes out; the top half of the range
    // comes from a state whose top bit is set.
    random.RandomState = 0;
    EXPECT_EQ(random.RandomInt(7, 9), 7);
    EXPECT_EQ(random.RandomState, 1u);
}

TEST(RandomSource, RandomInt_StaysInRangeAndReachesBothEnds) {
    struct Range {
        int low, high;
    };
    for (Range r : {Range{1, 2}, Range{0, 9}, Range{1, 6}, Range{1, 26}, Range{1, 999}, Range{5, 5}}) {
        RandomSource random;
        random.Reseed({8, 15, 0, 500});
        bool sawLow = false, sawHigh = false;
        for (int i = 0; i < 20000; ++i) {
            const int v = random.RandomInt(r.low, r.high);
            ASSERT_GE(v, r.low);
            ASSERT_LE(v, r.high);
            sawLow |= v == r.low;
            sawHigh |= v == r.high;
        }
        EXPECT_TRUE(sawLow && sawHigh) << r.low << ".." << r.high;
    }
}
