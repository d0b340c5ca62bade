#include "draw/windowtimer.h"

namespace velmora {

WindowTimer::WindowTimer(Scheduler& scheduler, int interval, std::function<void()> handler)
    : scheduler_(scheduler), handler_(std::move(handler)), interval_(interval) {}

WindowTimer::~WindowTimer() {
    scheduler_.disarm(*this);
}

void WindowTimer::setInterval(int milliseconds) {
    interval_ = milliseconds;
    if (enabled_) {
        scheduler_.arm(*this);
    }
}

void WindowTimer::setEnabled(bool enabled) {
    if (enabled == enabled_) {
        return;
    }
    enabled_ = enabled;
    if (enabled_) {
        scheduler_.arm(*this);
    } else {
        scheduler_.disarm(*this);
    }
}

void WindowTimer::tick() {
    if (inHandler_ || !enabled_) {
        return;
    }
    inHandler_ = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{inHandler_};
    handler_();
}

}  // namespace velmora
