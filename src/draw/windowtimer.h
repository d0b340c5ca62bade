#pragma once

#include <functional>

namespace velmora {

class WindowTimer;

// Where a window timer's ticks come from. The program uses QtScheduler; tests use VirtualClock
// and advance time by hand.
class Scheduler {
public:
    virtual ~Scheduler() = default;
    // Ticks start one interval from now and repeat every interval.
    virtual void arm(WindowTimer& timer) = 0;
    virtual void disarm(WindowTimer& timer) = 0;
};

// A timer with the semantics the draws are built on: it ticks every interval while enabled, the
// first tick one interval after enabling; enabling an enabled timer keeps its rhythm; disabling
// stops it at once, also from its own tick; and a tick that falls due while the handler still
// runs (a modal box is open in it) is dropped rather than run re-entrantly or queued.
class WindowTimer {
public:
    WindowTimer(Scheduler& scheduler, int interval, std::function<void()> handler);
    ~WindowTimer();
    WindowTimer(const WindowTimer&) = delete;
    WindowTimer& operator=(const WindowTimer&) = delete;

    int interval() const { return interval_; }
    // A new interval on a running timer starts its count afresh.
    void setInterval(int milliseconds);
    bool isEnabled() const { return enabled_; }
    void setEnabled(bool enabled);

    // Called by the scheduler when a tick is due.
    void tick();

private:
    Scheduler& scheduler_;
    std::function<void()> handler_;
    int interval_;
    bool enabled_ = false;
    bool inHandler_ = false;
};

}  // namespace velmora
