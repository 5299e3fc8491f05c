// seed_search.exe: what Claverix's clock seed gives away. It counts the distinct seeds of every hour of the
// day, for a clock that moves every millisecond and for Windows' default one that moves 64 times a second, and
// times the benchmarks' own seed search (FindPasswordRun, one core) through both over the hour that holds the
// most, for passwords it never finds, so that every seed is tried. Prints figures; never fails on a time.
#include <windows.h>

#include <cstdio>
#include <string>

#include "floors.h"

namespace {

constexpr std::int64_t Hour = 3600LL * 1000;

double NowMs() {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

}  // namespace

int wmain() {
    std::printf("Distinct seeds per hour of the day: a clock of every millisecond (Wine's, or Windows' while a\n"
                "program holds a 1 ms timer period), and Windows' default clock of 64 ticks a second\n");
    std::printf("  %-11s %12s %12s\n", "hour", "every ms", "64 ticks/s");
    int most = 0, mostHour = 0, mostTicks = 0;
    for (int hour = 0; hour < 24; ++hour) {
        const int seeds = DistinctSeeds(hour * Hour, (hour + 1) * Hour - 1);
        const int ticks = DistinctSeeds(hour * Hour, (hour + 1) * Hour - 1, WindowsDefaultTicks);
        std::printf("  %02d:00-%02d:00 %12d %12d\n", hour, hour + 1, seeds, ticks);
        if (seeds > most) most = seeds, mostHour = hour, mostTicks = ticks;
    }
    std::printf("Most in one hour: %d (every ms), %d (64 ticks/s)\n\n", most, mostTicks);

    const PasswordCounts shapes[] = {{12, 12, 4, 4, 4}, {40, 40, 14, 13, 13}};
    for (const int ticksPerSecond : {EveryMillisecond, WindowsDefaultTicks}) {
        const int seeds = ticksPerSecond == EveryMillisecond ? most : mostTicks;
        std::printf("FindPasswordRun over %02d:00-%02d:00, %s, one core\n", mostHour, mostHour + 1,
                    ticksPerSecond == EveryMillisecond ? "every millisecond's seed tried"
                                                       : "the seed of each of the 64 ticks a second tried");
        for (const PasswordCounts& counts : shapes) {
            // No run makes this text: the search goes through the whole hour.
            const std::string never(static_cast<std::size_t>(counts.TotalCount), '~');
            const double start = NowMs();
            const bool found = FindPasswordRun(never, counts, GeneratorModes{}, mostHour * Hour,
                                               (mostHour + 1) * Hour - 1, ticksPerSecond)
                                   .has_value();
            const double seconds = (NowMs() - start) / 1000.0;
            std::printf("  %3d characters (%d digits, %d letters, %d signs): %.2f s, %.2f microseconds per seed%s\n",
                        counts.TotalCount, counts.DigitCount, counts.LetterCount, counts.SignCount, seconds,
                        seconds * 1e6 / seeds, found ? " (found?)" : "");
        }
    }
    return 0;
}
