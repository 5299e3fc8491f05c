// The floors the benchmarks divide by: what the generator's own rules allow at best (its pump steps, the
// clock quantum of its reseeding), worked out with the generator's computing code, and the figure lines.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "composition.h"
#include "random_source.h"

// Milliseconds since midnight, and back (wrapping at midnight).
std::int64_t MillisecondsOf(const TimeOfDay& time);
TimeOfDay TimeOfDayAt(std::int64_t ms);

// How often, near the time, Reseed gives a new state: the spacing of single-precision seconds there
// (3.9 ms at noon, 7.8 ms in the evening), never less than the clock's 1 ms.
double ReseedQuantumMs(std::int64_t ms);

struct WordInstant {
    std::int64_t ms = 0;  // the first clock reading, from the start on, whose draw is a word of the length
    int seeds = 0;        // distinct seeds an infinitely fast search tries up to it, that one included
};

// Where a dictionary search started at startMs ends at the earliest: every draw reseeds from the clock, so
// one clock reading gives one line however often it is drawn. Nothing when no reading up to limitMs does.
std::optional<WordInstant> FirstWordInstant(const std::vector<std::string>& lines, int length, std::int64_t startMs,
                                            std::int64_t limitMs);

struct PasswordRun {
    std::string password;
    long pumpSteps = 0;  // one per placement draw, per composed character and per written line
    std::int64_t seedMs = 0;
};

// What "Crear" makes in the normal mode when the dialog reseeded at seedMs.
PasswordRun SimulatePassword(const PasswordCounts& counts, const GeneratorModes& modes, std::int64_t seedMs);

// How often a second the local time's milliseconds move. Wine's clock moves every millisecond; Windows' moves
// at the system tick, 64 times a second (15.625 ms) unless some program holds a finer timer period, so an idle
// Windows never shows most milliseconds. Ticks are taken to fall on whole seconds; a search that knows where
// a machine's ticks fall tries that machine's readings, as many.
constexpr int EveryMillisecond = 1000;
constexpr int WindowsDefaultTicks = 64;

// The distinct states Reseed gives for the clock readings fromMs to toMs of a clock that moves `ticksPerSecond`
// times a second: what a search that knows the time to within that span has to try.
int DistinctSeeds(std::int64_t fromMs, std::int64_t toMs, int ticksPerSecond = EveryMillisecond);

// The run, seeded at one of those readings, that made the password; nothing when none did.
std::optional<PasswordRun> FindPasswordRun(std::string_view password, const PasswordCounts& counts,
                                           const GeneratorModes& modes, std::int64_t fromMs, std::int64_t toMs,
                                           int ticksPerSecond = EveryMillisecond);

double Median(std::vector<double> values);

// The least, the middle and the greatest of a figure's runs (all 0 for none).
struct Spread {
    double min = 0;
    double median = 0;
    double max = 0;
};
Spread SpreadOf(const std::vector<double>& values);

// measured / floor; nothing for a floor that is not above 0.
std::optional<double> Ratio(double measured, double floor);

// "name   min   median   max   ratio": one line of the report, the values in `unit`; "-" for no ratio.
std::string FigureLine(std::string_view name, const Spread& values, std::string_view unit, std::optional<double> ratio);
