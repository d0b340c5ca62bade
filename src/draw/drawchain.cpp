#include "draw/drawchain.h"

#include "draw/digitsource.h"

#include <algorithm>

namespace velmora {

DrawChain::DrawChain(Scheduler& scheduler, DigitSource& digits, DrawSlots& slots,
                     std::function<void()> completed)
    : digits_(digits),
      slots_(slots),
      completed_(std::move(completed)),
      steps_{{{scheduler, kStepInterval, [this] { step(0); }},
              {scheduler, kStepInterval, [this] { step(1); }},
              {scheduler, kStepInterval, [this] { step(2); }}}} {}

bool DrawChain::isRunning() const {
    return std::any_of(steps_.begin(), steps_.end(),
                       [](const WindowTimer& step) { return step.isEnabled(); });
}

void DrawChain::step(std::size_t position) {
    slots_[position] = digits_.nextDigit();
    steps_[position].setEnabled(false);
    if (position + 1 < steps_.size()) {
        steps_[position + 1].setEnabled(true);
    } else {
        completed_();
    }
}

}  // namespace velmora
