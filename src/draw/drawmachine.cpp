#include "draw/drawmachine.h"

#include <algorithm>

namespace velmora {

DrawMachine::DrawMachine(Scheduler& scheduler, DigitSource& digits)
    : reels_{{{scheduler, slots_[0]}, {scheduler, slots_[1]}, {scheduler, slots_[2]}}},
      manualChain_(scheduler, digits, slots_,
                   [this] {
                       log_.AppendDrawRecord(slots_);
                       Q_EMIT drawCompleted(slots_);
                       setManualDrawEnabled(true);
                       setAutomaticDrawEnabled(true);
                       log_.MoveCaretToEnd();
                   }),
      automaticChain_(scheduler, digits, slots_, [this] {
          log_.AppendDrawRecord(slots_);
          Q_EMIT drawCompleted(slots_);
          log_.MoveCaretToEnd();
          Q_EMIT automaticDrawCompleted();
      }) {}

void DrawMachine::setManualDrawEnabled(bool enabled) {
    if (enabled != manualDrawEnabled_) {
        manualDrawEnabled_ = enabled;
        Q_EMIT manualDrawEnabledChanged(enabled);
    }
}

void DrawMachine::setAutomaticDrawEnabled(bool enabled) {
    if (enabled != automaticDrawEnabled_) {
        automaticDrawEnabled_ = enabled;
        Q_EMIT automaticDrawEnabledChanged(enabled);
    }
}

bool DrawMachine::reelsRolling() const {
    return std::any_of(reels_.begin(), reels_.end(), [](const Reel& r) { return r.isRolling(); });
}

void DrawMachine::clearDisplay() {
    for (Reel& reel : reels_) {
        reel.clear();
    }
}

void DrawMachine::startDraw(DrawChain& chain) {
    slots_.fill(std::nullopt);
    for (Reel& reel : reels_) {
        reel.start();
    }
    chain.start();
}

}  // namespace velmora
