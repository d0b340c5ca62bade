#include "draw/virtualclock.h"

#include <algorithm>

namespace velmora {

void VirtualClock::arm(WindowTimer& timer) {
    disarm(timer);
    armed_.push_back({&timer, now_ + timer.interval(), nextOrder_++});
}

void VirtualClock::disarm(WindowTimer& timer) {
    std::erase_if(armed_, [&timer](const Entry& e) { return e.timer == &timer; });
}

void VirtualClock::advance(qint64 milliseconds) {
    advanceTo(now_ + milliseconds);
}

void VirtualClock::advanceTo(qint64 time) {
    for (;;) {
        auto next =
            std::min_element(armed_.begin(), armed_.end(), [](const Entry& a, const Entry& b) {
                return a.due != b.due ? a.due < b.due : a.order < b.order;
            });
        if (next == armed_.end() || next->due > time) {
            break;
        }
        now_ = next->due;
        WindowTimer* timer = next->timer;
        next->due += timer->interval();
        next->order = nextOrder_++;
        timer->tick();  // may arm or disarm anything, so `next` is stale from here
    }
    now_ = std::max(now_, time);
}

}  // namespace velmora
