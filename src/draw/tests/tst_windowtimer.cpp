#include "draw/qtscheduler.h"
#include "draw/virtualclock.h"
#include "draw/windowtimer.h"

#include <QTest>
#include <QTimer>

#include <vector>

using velmora::QtScheduler;
using velmora::VirtualClock;
using velmora::WindowTimer;

class TestWindowTimer : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void createdEnabledWithIntervalZeroNeverTicks();
    void firstTickOneIntervalAfterEnabling();
    void enablingAnEnabledTimerKeepsItsRhythm();
    void disablingFromItsOwnTickStopsAtOnce();
    void newIntervalRestartsTheCount();
    void ticksDueWhileTheHandlerRunsAreDropped();
    void sameInstantTicksFireInArmingOrder();
    void chainHandsOverWithoutDrift();
    void realSchedulerUsesPreciseTimersAndArmsOnlyEnabledOnes();
};

void TestWindowTimer::createdEnabledWithIntervalZeroNeverTicks() {
    VirtualClock clock;
    WindowTimer timer(clock, QStringLiteral("t"));
    int ticks = 0;
    timer.setHandler([&] { ++ticks; });
    QVERIFY(timer.isEnabled());
    QCOMPARE(timer.interval(), 0);
    clock.advance(1'000'000);
    QCOMPARE(ticks, 0);
    QCOMPARE(clock.armedCount(), 0);
}

void TestWindowTimer::firstTickOneIntervalAfterEnabling() {
    VirtualClock clock;
    WindowTimer timer(clock, QStringLiteral("t"));
    std::vector<qint64> at;
    timer.setHandler([&] { at.push_back(clock.now()); });
    timer.setEnabled(false);
    timer.setInterval(50);
    clock.advance(120);
    QVERIFY(at.empty());
    timer.setEnabled(true);  // at 120
    clock.advance(169);
    QCOMPARE(at, (std::vector<qint64>{170, 220, 270}));
}

void TestWindowTimer::enablingAnEnabledTimerKeepsItsRhythm() {
    VirtualClock clock;
    WindowTimer timer(clock, QStringLiteral("t"));
    std::vector<qint64> at;
    timer.setHandler([&] { at.push_back(clock.now()); });
    timer.setInterval(3000);
    clock.advance(2000);
    timer.setEnabled(true);
    clock.advance(1000);
    QCOMPARE(at, (std::vector<qint64>{3000}));
}

void TestWindowTimer::disablingFromItsOwnTickStopsAtOnce() {
    VirtualClock clock;
    WindowTimer first(clock, QStringLiteral("first"));
    WindowTimer second(clock, QStringLiteral("second"));
    int firstTicks = 0;
    int secondTicks = 0;
    first.setInterval(100);
    second.setInterval(100);
    first.setHandler([&] {
        ++firstTicks;
        first.setEnabled(false);
        second.setEnabled(false);  // due at the same instant: must not run either
    });
    second.setHandler([&] { ++secondTicks; });
    clock.advance(1000);
    QCOMPARE(firstTicks, 1);
    QCOMPARE(secondTicks, 0);
    QCOMPARE(clock.armedCount(), 0);
}

void TestWindowTimer::newIntervalRestartsTheCount() {
    VirtualClock clock;
    WindowTimer timer(clock, QStringLiteral("t"));
    std::vector<qint64> at;
    timer.setHandler([&] { at.push_back(clock.now()); });
    timer.setInterval(100);
    clock.advance(60);
    timer.setInterval(100);  // unchanged: keeps its rhythm
    timer.setInterval(30);   // at 60
    clock.advance(40);
    QCOMPARE(at, (std::vector<qint64>{90}));
    timer.setInterval(0);
    clock.advance(1000);
    QCOMPARE(at.size(), std::size_t{1});
    QVERIFY(timer.isEnabled());
}

void TestWindowTimer::ticksDueWhileTheHandlerRunsAreDropped() {
    // A handler that blocks (a modal box) while its timer falls due again must not be re-entered,
    // and the missed ticks are not made up afterwards.
    VirtualClock clock;
    WindowTimer timer(clock, QStringLiteral("supervisor"));
    WindowTimer other(clock, QStringLiteral("reel"));
    int depth = 0;
    int maxDepth = 0;
    std::vector<qint64> at;
    int otherTicks = 0;
    timer.setInterval(10000);
    other.setInterval(50);
    other.setHandler([&] { ++otherTicks; });
    timer.setHandler([&] {
        ++depth;
        maxDepth = std::max(maxDepth, depth);
        at.push_back(clock.now());
        if (at.size() == 1) {
            clock.advance(35000);  // the box stays open for 35 s
        }
        --depth;
    });
    clock.advance(50000);
    QCOMPARE(maxDepth, 1);
    QCOMPARE(at, (std::vector<qint64>{10000, 50000}));
    QCOMPARE(otherTicks, 1000);  // other timers keep running while the box is open
}

void TestWindowTimer::sameInstantTicksFireInArmingOrder() {
    VirtualClock clock;
    WindowTimer a(clock, QStringLiteral("a"));
    WindowTimer b(clock, QStringLiteral("b"));
    QString order;
    a.setHandler([&] { order += u'a'; });
    b.setHandler([&] { order += u'b'; });
    a.setEnabled(false);
    b.setEnabled(false);
    a.setInterval(100);
    b.setInterval(300);
    b.setEnabled(true);
    a.setEnabled(true);
    clock.advance(300);
    // At 300, b was armed at 0 and a was re-armed at 200 after its tick: b first.
    QCOMPARE(order, QStringLiteral("aaba"));
}

void TestWindowTimer::chainHandsOverWithoutDrift() {
    VirtualClock clock;
    WindowTimer s1(clock, QStringLiteral("s1"));
    WindowTimer s2(clock, QStringLiteral("s2"));
    std::vector<qint64> at;
    for (WindowTimer* t : {&s1, &s2}) {
        t->setInterval(3000);
        t->setEnabled(false);
    }
    s1.setHandler([&] {
        at.push_back(clock.now());
        s1.setEnabled(false);
        s2.setEnabled(true);
    });
    s2.setHandler([&] {
        at.push_back(clock.now());
        s2.setEnabled(false);
    });
    clock.advance(500);
    s1.setEnabled(true);
    clock.advance(100000);
    QCOMPARE(at, (std::vector<qint64>{3500, 6500}));
    QCOMPARE(clock.nextDue(), -1);
}

void TestWindowTimer::realSchedulerUsesPreciseTimersAndArmsOnlyEnabledOnes() {
    QtScheduler scheduler;
    WindowTimer reel(scheduler, QStringLiteral("reel"));
    WindowTimer chain(scheduler, QStringLiteral("chain"));
    QCOMPARE(scheduler.armedCount(), 0);
    reel.setInterval(50);
    chain.setInterval(3000);
    QCOMPARE(scheduler.armedCount(), 2);
    reel.setEnabled(false);
    chain.setEnabled(false);
    QCOMPARE(scheduler.armedCount(), 0);
    chain.setEnabled(true);
    const auto timers = scheduler.findChildren<QTimer*>();
    QCOMPARE(timers.size(), 2);
    for (QTimer* t : timers) {
        QCOMPARE(t->timerType(), Qt::PreciseTimer);
    }
    QCOMPARE(scheduler.armedCount(), 1);
    chain.setEnabled(true);
    QCOMPARE(scheduler.armedCount(), 1);
}

QTEST_GUILESS_MAIN(TestWindowTimer)
#include "tst_windowtimer.moc"
