#include "draw/val.h"
#include "draw/virtualclock.h"
#include "draw/windowtimer.h"
#include "enginetest.h"

#include <QTest>

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;
using namespace velmora;

class TestDraw : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void enablingKeepsTheRhythmAndDisablingFromTheTickStopsAtOnce() {
        // A 50 ms timer that notes the time of each tick and disables itself at its second.
        VirtualClock clock;
        QList<qint64> ticks;
        WindowTimer timer(clock, 50, [&] {
            ticks.append(clock.now());
            timer.setEnabled(ticks.size() != 2);
        });
        clock.advance(1000);  // created disabled
        timer.setEnabled(true);
        clock.advance(70);
        timer.setEnabled(true);  // already enabled: the count goes on
        clock.advance(500);
        timer.setEnabled(true);  // disabled by its second tick: counts afresh
        clock.advance(120);
        QCOMPARE(ticks, (QList<qint64>{1050, 1100, 1620, 1670}));
    }

    void valReadsTheLeadingNumber_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        QTest::newRow("empty is 0") << QString() << 0.0;
        QTest::newRow("digits") << u"70"_s << 70.0;
        QTest::newRow("blanks inside") << u" 1\t2\n3"_s << 123.0;
        QTest::newRow("blanks anywhere, rest ignored") << u" -2.5 e +1x9"_s << -25.0;
        QTest::newRow("overflow") << u"1e400"_s << HUGE_VAL;
        QTest::newRow("exponent mark at the end") << u"7e "_s << 7.0;
    }
    void valReadsTheLeadingNumber() {
        QFETCH(QString, text);
        QTEST(Val(text), "value");
    }

    void digitTextWritesACounterOut() { QCOMPARE(DigitText(1e6), u"1000000"_s); }

    void clockSeededDigitsCoverZeroToNineEvenly() {
        ClockSeededDigitSource digits(20261206);
        QList<int> counts(11);
        for (int i = 0; i < 100000; ++i) {
            ++counts[std::clamp(digits.nextDigit(), 0, 10)];
        }
        QCOMPARE(counts.takeLast(), 0);  // r < 1, so never 10
        QVERIFY(
            std::all_of(counts.begin(), counts.end(), [](int n) { return n > 9500 && n < 10500; }));
    }

    void trimLogEmptiesOnlyALogOverTheLimit() {
        for (int over : {0, 1}) {  // 58000 characters survive, 58001 are emptied
            DrawLog log;
            // Records of "0" draws are 32 characters with three digits, 30 with one, 29 with none.
            for (int i = 0; i < 1814; ++i) {
                log.AppendDrawRecord(i < 1798          ? DrawSlots{1, 2, 3}
                                     : i < 1798 + over ? DrawSlots{1, {}, {}}
                                                       : DrawSlots{});
            }
            QCOMPARE(log.text().size(), 58000 + over);
            log.TrimLog();
            QCOMPARE(log.text().isEmpty(), over == 1);
        }
    }
};

QTEST_GUILESS_MAIN(TestDraw)
#include "tst_draw.moc"
