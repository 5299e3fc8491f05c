#include "random_source.h"

#include <bit>
#include <cmath>

void RandomSource::Reseed(const TimeOfDay& time) {
    const std::int64_t ms = std::int64_t{time.hours} * 3600000 + std::int64_t{time.minutes} * 60000 +
                            std::int64_t{time.seconds} * 1000 + time.milliseconds;
    // The division is done in double first so that the one rounding is the final one to float.
    const float seconds = static_cast<float>(static_cast<double>(ms) / 1000.0);
    RandomState = std::bit_cast<std::uint32_t>(seconds);
}

int RandomSource::RandomInt(int low, int high) {
    RandomState = RandomState * 134775813u + 1u;  // unsigned: wraps modulo 2^32
    const double u = static_cast<double>(RandomState >> 1) / 2147483648.0;
    return static_cast<int>(std::floor(u * (static_cast<double>(high) - low + 1))) + low;
}
