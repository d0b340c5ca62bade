#include "draw/reel.h"

#include "draw/val.h"

namespace velmora {

Reel::Reel(Scheduler& scheduler, const DrawSlot& slot)
    : slot_(slot), timer_(scheduler, kInterval, [this] { tick(); }) {}

QString Reel::text() const {
    return shown_ ? DigitText(*shown_) : QString();
}

void Reel::start() {
    if (!timer_.isEnabled()) {
        timer_.setEnabled(true);
        Q_EMIT started();
    }
}

void Reel::tick() {
    if (slot_) {
        show(slot_);
        timer_.setEnabled(false);
        Q_EMIT stopped(text());
    } else {
        // An empty box counts as 0, so the first step after a cleared display shows 1.
        show(shown_ == 9 ? 0 : shown_.value_or(0) + 1);
    }
}

void Reel::show(std::optional<int> digit) {
    if (digit != shown_) {
        shown_ = digit;
        Q_EMIT textChanged(text());
    }
}

}  // namespace velmora
