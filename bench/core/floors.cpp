#include "floors.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "dictionary.h"

namespace {
constexpr std::int64_t Day = 24LL * 3600 * 1000;

std::uint32_t SeedAt(std::int64_t ms) {
    RandomSource random;
    random.Reseed(TimeOfDayAt(ms));
    return random.RandomState;
}
}  // namespace

std::int64_t MillisecondsOf(const TimeOfDay& time) {
    return std::int64_t{time.hours} * 3600000 + std::int64_t{time.minutes} * 60000 + std::int64_t{time.seconds} * 1000 +
           time.milliseconds;
}

TimeOfDay TimeOfDayAt(std::int64_t ms) {
    ms = ((ms % Day) + Day) % Day;
    return TimeOfDay{static_cast<int>(ms / 3600000), static_cast<int>(ms / 60000 % 60),
                     static_cast<int>(ms / 1000 % 60), static_cast<int>(ms % 1000)};
}

double ReseedQuantumMs(std::int64_t ms) {
    const float seconds = static_cast<float>(static_cast<double>(((ms % Day) + Day) % Day) / 1000.0);
    const double spacing = (static_cast<double>(std::nextafter(seconds, 1e9f)) - seconds) * 1000.0;
    return std::max(1.0, spacing);
}

std::optional<WordInstant> FirstWordInstant(const std::vector<std::string>& lines, int length, std::int64_t startMs,
                                            std::int64_t limitMs) {
    WordInstant instant;
    std::uint32_t last = 0;
    for (std::int64_t ms = startMs; ms <= limitMs; ++ms) {
        const std::uint32_t seed = SeedAt(ms);
        if (ms != startMs && seed == last) continue;
        last = seed;
        ++instant.seeds;
        RandomSource random;
        const std::string word = ReadWordAt(lines, RandomWordLine(random, [ms] { return TimeOfDayAt(ms); }));
        if (word.size() == static_cast<std::size_t>(length)) {
            instant.ms = ms;
            return instant;
        }
    }
    return std::nullopt;
}

PasswordRun SimulatePassword(const PasswordCounts& counts, const GeneratorModes& modes, std::int64_t seedMs) {
    PasswordRun run;
    run.seedMs = seedMs;
    RandomSource random;
    random.Reseed(TimeOfDayAt(seedMs));
    const Pump countingPump = [&run] {
        ++run.pumpSteps;
        return true;
    };
    PasswordCounts left = counts;
    const auto slots = PlaceClasses(left, modes, random, countingPump);
    if (!slots) return run;
    const auto composed = ComposeCharacters(*slots, modes, BuildCharacterTables(), random, countingPump);
    if (!composed) return run;
    run.password = std::string(composed->view());
    run.pumpSteps += static_cast<long>(CutIntoLines(run.password, counts.PerLineCount).size());
    return run;
}

namespace {
// Calls `visit` with the first clock reading of each distinct seed from fromMs to toMs, the clock moving
// `ticksPerSecond` times a second; stops early when `visit` gives true.
template <typename Visit>
void ForEachSeedReading(std::int64_t fromMs, std::int64_t toMs, int ticksPerSecond, Visit visit) {
    bool first = true;
    std::uint32_t last = 0;
    for (std::int64_t second = fromMs / 1000 * 1000; second <= toMs; second += 1000) {
        for (int tick = 0; tick < ticksPerSecond; ++tick) {
            const std::int64_t ms = second + std::int64_t{tick} * 1000 / ticksPerSecond;
            if (ms < fromMs || ms > toMs) continue;
            const std::uint32_t seed = SeedAt(ms);
            if (!first && seed == last) continue;
            first = false;
            last = seed;
            if (visit(ms)) return;
        }
    }
}
}  // namespace

int DistinctSeeds(std::int64_t fromMs, std::int64_t toMs, int ticksPerSecond) {
    int seeds = 0;
    ForEachSeedReading(fromMs, toMs, ticksPerSecond, [&](std::int64_t) {
        ++seeds;
        return false;
    });
    return seeds;
}

std::optional<PasswordRun> FindPasswordRun(std::string_view password, const PasswordCounts& counts,
                                           const GeneratorModes& modes, std::int64_t fromMs, std::int64_t toMs,
                                           int ticksPerSecond) {
    std::optional<PasswordRun> found;
    ForEachSeedReading(fromMs, toMs, ticksPerSecond, [&](std::int64_t ms) {
        PasswordRun run = SimulatePassword(counts, modes, ms);
        if (run.password == password) found = std::move(run);
        return found.has_value();
    });
    return found;
}

double Median(std::vector<double> values) {
    if (values.empty()) return 0.0;
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 != 0 ? values[middle] : (values[middle - 1] + values[middle]) / 2.0;
}

Spread SpreadOf(const std::vector<double>& values) {
    if (values.empty()) return {};
    const auto [least, greatest] = std::minmax_element(values.begin(), values.end());
    return Spread{*least, Median(values), *greatest};
}

std::optional<double> Ratio(double measured, double floor) {
    if (floor > 0.0) return measured / floor;
    return std::nullopt;
}

std::string FigureLine(std::string_view name, const Spread& values, std::string_view unit, std::optional<double> ratio) {
    char ratioText[32] = "-";
    if (ratio) std::snprintf(ratioText, sizeof ratioText, "%.2f", *ratio);
    const int u = static_cast<int>(unit.size());
    char line[256];
    std::snprintf(line, sizeof line, "%-40.*s %9.1f %.*s %9.1f %.*s %9.1f %.*s %7s", static_cast<int>(name.size()),
                  name.data(), values.min, u, unit.data(), values.median, u, unit.data(), values.max, u, unit.data(),
                  ratioText);
    return line;
}
