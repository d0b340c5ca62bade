#pragma once

#include <cstdint>
#include <random>

namespace velmora {

// Where drawn digits come from; tests script them.
class DigitSource {
public:
    virtual ~DigitSource() = default;
    // A digit 0-9.
    virtual int nextDigit() = 0;
};

// Uniform digits from a generator seeded once from the clock: a single-precision r in [0, 1),
// times 10, floored, like the lottery machine's original formula.
class ClockSeededDigitSource final : public DigitSource {
public:
    ClockSeededDigitSource();
    explicit ClockSeededDigitSource(std::uint64_t seed);
    int nextDigit() override;

private:
    std::mt19937_64 engine_;
};

}  // namespace velmora
