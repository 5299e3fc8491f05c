// seed_search.exe: what Claverix's clock seed gives away. It counts the distinct seeds of every hour of the
// day and times the benchmarks' own seed search (FindPasswordRun, one core) over the hour that holds the most,
// for passwords it never finds, so that every seed is tried. Prints figures; never fails on a time.
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
    std::printf("Distinct seeds per hour of the day (Reseed of every millisecond)\n");
    int most = 0, mostHour = 0;
    for (int hour = 0; hour < 24; ++hour) {
        const int seeds = DistinctSeeds(hour * Hour, (hour + 1) * Hour - 1);
        std::printf("  %02d:00-%02d:00 %9d\n", hour, hour + 1, seeds);
        if (seeds > most) most = seeds, mostHour = hour;
    }
    std::printf("Most in one hour: %d\n\n", most);

    std::printf("FindPasswordRun over %02d:00-%02d:00, every seed tried, one core\n", mostHour, mostHour + 1);
    const PasswordCounts shapes[] = {{12, 12, 4, 4, 4}, {40, 40, 14, 13, 13}};
    for (const PasswordCounts& counts : shapes) {
        // No run makes this text: the search goes through the whole hour.
        const std::string never(static_cast<std::size_t>(counts.TotalCount), '~');
        const double start = NowMs();
        const bool found = FindPasswordRun(never, counts, GeneratorModes{}, mostHour * Hour, (mostHour + 1) * Hour - 1)
                               .has_value();
        const double seconds = (NowMs() - start) / 1000.0;
        std::printf("  %3d characters (%d digits, %d letters, %d signs): %.1f s, %.2f microseconds per seed%s\n",
                    counts.TotalCount, counts.DigitCount, counts.LetterCount, counts.SignCount, seconds,
                    seconds * 1e6 / most, found ? " (found?)" : "");
    }
    return 0;
}
