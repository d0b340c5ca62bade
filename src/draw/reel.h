#pragma once

#include "draw/drawslots.h"
#include "draw/windowtimer.h"

#include <QObject>
#include <QString>

namespace velmora {

// One position on display: while running it counts 1, 2, … 9, 0, 1 … every 50 ms, and it stops
// on its slot's digit at the first tick after the digit is drawn.
class Reel final : public QObject {
    Q_OBJECT
public:
    static constexpr int kInterval = 50;

    Reel(Scheduler& scheduler, const DrawSlot& slot);

    QString text() const;
    bool isRolling() const { return timer_.isEnabled(); }

    void start();
    void clear() { show(std::nullopt); }

Q_SIGNALS:
    void textChanged(const QString& text);
    void started();
    void stopped(const QString& digit);

private:
    void tick();
    void show(std::optional<int> digit);

    const DrawSlot& slot_;
    std::optional<int> shown_;
    WindowTimer timer_;
};

}  // namespace velmora
