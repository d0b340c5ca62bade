#pragma once

#include "draw/windowtimer.h"

#include <QObject>

#include <unordered_map>

class QTimer;

namespace velmora {

// The real clock: one precise QTimer per window timer. The default coarse timers may fire up to
// 5% early, which would let a 10 s supervisor tick overtake a 9 s draw.
class QtScheduler final : public QObject, public Scheduler {
public:
    explicit QtScheduler(QObject* parent = nullptr);
    ~QtScheduler() override;

    void arm(WindowTimer& timer) override;
    void disarm(WindowTimer& timer) override;

    int armedCount() const;

private:
    std::unordered_map<WindowTimer*, QTimer*> timers_;
};

}  // namespace velmora
