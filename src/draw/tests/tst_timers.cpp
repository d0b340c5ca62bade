#include "draw/virtualclock.h"
#include "draw/windowtimer.h"

#include <QTest>

#include <functional>

using velmora::VirtualClock;
using velmora::WindowTimer;

namespace {

// A 50 ms timer on a virtual clock that notes the time of every tick its handler runs.
struct Ticking {
    VirtualClock clock;
    QList<qint64> ticks;
    std::function<void()> during = [] {};
    WindowTimer timer{clock, 50, [this] {
                          ticks.append(clock.now());
                          during();
                      }};
};

}  // namespace

class TestTimers : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void enablingKeepsTheRhythmAndDisablingFromTheTickStopsAtOnce() {
        Ticking t;
        t.during = [&t] { t.timer.setEnabled(t.ticks.size() != 2); };
        t.clock.advance(1000);  // created disabled
        t.timer.setEnabled(true);
        t.clock.advance(70);
        t.timer.setEnabled(true);  // already enabled: the count goes on
        t.clock.advance(500);
        t.timer.setEnabled(true);  // disabled by its second tick: counts afresh
        t.clock.advance(120);
        QCOMPARE(t.ticks, (QList<qint64>{1050, 1100, 1620, 1670}));
    }

    void ticksDueWhileTheHandlerRunsAreDroppedNotQueued() {
        Ticking t;
        // The first tick opens a "modal box" for 260 ms, during which the clock runs on.
        t.during = [&t] {
            if (t.ticks.size() == 1) {
                t.clock.advance(260);
            }
        };
        t.timer.setEnabled(true);
        t.clock.advanceTo(400);
        QCOMPARE(t.ticks, (QList<qint64>{50, 350, 400}));
    }
};

QTEST_GUILESS_MAIN(TestTimers)
#include "tst_timers.moc"
