#include "draw/windowtimer.h"

namespace velmora {

WindowTimer::WindowTimer(Scheduler& scheduler, QString name)
    : scheduler_(scheduler), name_(std::move(name)) {}

WindowTimer::~WindowTimer() {
    scheduler_.disarm(*this);
}

void WindowTimer::setInterval(int milliseconds) {
    if (milliseconds < 0) {
        milliseconds = 0;
    }
    if (milliseconds == interval_) {
        return;
    }
    const bool wasArmed = isArmed();
    interval_ = milliseconds;
    // A new interval on a running timer starts its count afresh, as the window platform does.
    if (wasArmed) {
        scheduler_.disarm(*this);
    }
    if (isArmed()) {
        scheduler_.arm(*this);
    }
}

void WindowTimer::setEnabled(bool enabled) {
    if (enabled == enabled_) {
        return;
    }
    enabled_ = enabled;
    if (interval_ == 0) {
        return;
    }
    if (enabled_) {
        scheduler_.arm(*this);
    } else {
        scheduler_.disarm(*this);
    }
}

void WindowTimer::tick() {
    if (inHandler_ || !isArmed() || !handler_) {
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
