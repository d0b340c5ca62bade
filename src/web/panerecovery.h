#pragma once

#include <array>
#include <chrono>
#include <cstddef>
#include <optional>

namespace velmora {

// When a pane whose page process ended is made again: at once the first time, later each time the
// process ends again before its page has been up for kHealedAfter, and not after the last try. A
// process that ended normally was not lost.
class PaneRecovery {
public:
    static constexpr std::chrono::milliseconds kHealedAfter{10000};

    // The wait before the pane is made again, or nothing when it is left as it is.
    std::optional<std::chrono::milliseconds> ended(bool normally) {
        static constexpr std::array<std::chrono::milliseconds, 3> kDelays{
            std::chrono::milliseconds(0), std::chrono::milliseconds(1000),
            std::chrono::milliseconds(4000)};
        if (normally || tries_ >= kDelays.size()) {
            return std::nullopt;
        }
        return kDelays[tries_++];
    }

    // The page has been up for kHealedAfter.
    void healed() { tries_ = 0; }

private:
    std::size_t tries_ = 0;
};

}  // namespace velmora
