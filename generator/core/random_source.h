// The generator's single random source: a 32-bit linear congruential generator seeded from the time of day.
#pragma once

#include <cstdint>
#include <functional>

struct TimeOfDay {
    int hours = 0;
    int minutes = 0;
    int seconds = 0;
    int milliseconds = 0;
};

// The local time, asked for whenever the source is reseeded (a fake one in tests).
using Clock = std::function<TimeOfDay()>;

class RandomSource {
public:
    // The seconds since midnight, with milliseconds, as the nearest single-precision value; the state
    // becomes that float's 32 bits.
    void Reseed(const TimeOfDay& time);

    // low <= high; advances the state once.
    int RandomInt(int low, int high);

    std::uint32_t RandomState = 0;
};
