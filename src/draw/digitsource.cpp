#include "draw/digitsource.h"

#include <chrono>
#include <cmath>

namespace velmora {

ClockSeededDigitSource::ClockSeededDigitSource()
    : ClockSeededDigitSource(static_cast<std::uint64_t>(
          std::chrono::high_resolution_clock::now().time_since_epoch().count())) {}

ClockSeededDigitSource::ClockSeededDigitSource(std::uint64_t seed) : engine_(seed) {}

int ClockSeededDigitSource::nextDigit() {
    // 24 random bits make every float in [0, 1) on a 2^-24 grid equally likely and can never round
    // up to 1.0 (std::generate_canonical<float> could), so the digit is never 10.
    const float r = static_cast<float>(engine_() >> 40) * 0x1p-24f;
    const float scaled = r * 10.0f;
    return static_cast<int>(std::floor(scaled));
}

}  // namespace velmora
