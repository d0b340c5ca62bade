#include "draw/qtscheduler.h"

#include <QTimer>

namespace velmora {

QtScheduler::QtScheduler(QObject* parent) : QObject(parent) {}

QtScheduler::~QtScheduler() = default;

void QtScheduler::arm(WindowTimer& timer) {
    auto [it, inserted] = timers_.try_emplace(&timer, nullptr);
    if (inserted) {
        auto* qtimer = new QTimer(this);
        qtimer->setTimerType(Qt::PreciseTimer);
        connect(qtimer, &QTimer::timeout, this, [&timer] { timer.tick(); });
        it->second = qtimer;
    }
    it->second->start(timer.interval());
}

void QtScheduler::disarm(WindowTimer& timer) {
    if (auto it = timers_.find(&timer); it != timers_.end()) {
        it->second->stop();
    }
}

int QtScheduler::armedCount() const {
    int count = 0;
    for (const auto& [timer, qtimer] : timers_) {
        count += qtimer->isActive() ? 1 : 0;
    }
    return count;
}

}  // namespace velmora
