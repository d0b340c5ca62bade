#pragma once

#include <QString>

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

// A window timer as the draw handlers know it: an interval in milliseconds and an enabled flag.
// Interval 0 never ticks, enabling an enabled timer keeps its rhythm, disabling stops it at once
// (also from its own tick), and a tick that falls due while the handler still runs (a modal box
// is open in it) is dropped rather than run re-entrantly or queued.
class WindowTimer {
public:
    WindowTimer(Scheduler& scheduler, QString name);
    ~WindowTimer();
    WindowTimer(const WindowTimer&) = delete;
    WindowTimer& operator=(const WindowTimer&) = delete;

    const QString& objectName() const { return name_; }

    int interval() const { return interval_; }
    void setInterval(int milliseconds);
    bool isEnabled() const { return enabled_; }
    void setEnabled(bool enabled);
    bool isArmed() const { return enabled_ && interval_ > 0; }

    void setHandler(std::function<void()> handler) { handler_ = std::move(handler); }

    // Called by the scheduler when a tick is due.
    void tick();

private:
    Scheduler& scheduler_;
    QString name_;
    std::function<void()> handler_;
    int interval_ = 0;
    bool enabled_ = true;  // window timers are created enabled, with interval 0
    bool inHandler_ = false;
};

}  // namespace velmora
