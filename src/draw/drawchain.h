#pragma once

#include "draw/drawslots.h"
#include "draw/windowtimer.h"

#include <array>
#include <functional>

namespace velmora {

class DigitSource;

// Draws the three digits of one result, 3 s apart, each step handing over to the next; the last
// step then does what its kind of draw does on completion.
class DrawChain {
public:
    static constexpr int kStepInterval = 3000;

    DrawChain(Scheduler& scheduler, DigitSource& digits, DrawSlots& slots,
              std::function<void()> completed);

    void start() { steps_[0].setEnabled(true); }
    bool isRunning() const;

private:
    void step(std::size_t position);

    DigitSource& digits_;
    DrawSlots& slots_;
    std::function<void()> completed_;
    std::array<WindowTimer, 3> steps_;
};

}  // namespace velmora
