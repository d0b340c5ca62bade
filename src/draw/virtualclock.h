#pragma once

#include "draw/windowtimer.h"

#include <QtGlobal>

#include <vector>

namespace velmora {

// A clock that only moves when a test advances it. Due ticks fire in time order; ticks due at the
// same instant fire in the order their timers were (re)armed, as Qt's timer list orders them.
class VirtualClock final : public Scheduler {
public:
    void arm(WindowTimer& timer) override;
    void disarm(WindowTimer& timer) override;

    qint64 now() const { return now_; }
    void advance(qint64 milliseconds);
    void advanceTo(qint64 time);
    int armedCount() const { return static_cast<int>(armed_.size()); }

private:
    struct Entry {
        WindowTimer* timer;
        qint64 due;
        quint64 order;
    };
    std::vector<Entry> armed_;
    qint64 now_ = 0;
    quint64 nextOrder_ = 0;
};

}  // namespace velmora
