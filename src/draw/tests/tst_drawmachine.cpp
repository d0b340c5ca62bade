#include "draw/val.h"
#include "enginetest.h"

#include <QSignalSpy>
#include <QTest>

#include <cmath>

using namespace Qt::StringLiterals;
using namespace velmora;
using velmora::test::Record;
using velmora::test::Recorder;
using velmora::test::ScriptedDigits;

namespace {

struct Machine {
    explicit Machine(std::initializer_list<int> digits) : digits(digits) {}
    VirtualClock clock;
    ScriptedDigits digits;
    DrawMachine machine{clock, digits};
    Recorder recorder{machine, clock};
};

// What a reel shows from a cleared display: 1, 2, … 9, 0, 1 … one step per tick.
QString Counting(int from, int ticks) {
    QString shown;
    for (int i = 0; i < ticks; ++i) {
        shown += QString::number((from + i) % 10);
    }
    return shown;
}

}  // namespace

class TestDrawMachine : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void valReadsTheLeadingNumber_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        QTest::newRow("empty is 0") << QString() << 0.0;
        QTest::newRow("blank is 0") << u" "_s << 0.0;
        QTest::newRow("letter is 0") << u"a"_s << 0.0;
        QTest::newRow("digits") << u"70"_s << 70.0;
        QTest::newRow("blanks inside") << u" 1\t2\n3"_s << 123.0;
        QTest::newRow("rest ignored") << u"-2.5e1x9"_s << -25.0;
        QTest::newRow("overflow") << u"1e400"_s << HUGE_VAL;
    }
    void valReadsTheLeadingNumber() {
        QFETCH(QString, text);
        QFETCH(double, value);
        QCOMPARE(Val(text), value);
    }

    void digitTextWritesWholeNumbersOut() {
        QCOMPARE(DigitText(10), u"10"_s);
        QCOMPARE(DigitText(1e6), u"1000000"_s);
    }

    void clockSeededDigitsCoverZeroToNineEvenly() {
        ClockSeededDigitSource digits(20261206);
        int counts[10] = {};
        for (int i = 0; i < 100000; ++i) {
            const int digit = digits.nextDigit();
            QVERIFY2(digit >= 0 && digit <= 9, qPrintable(QString::number(digit)));
            ++counts[digit];
        }
        for (int count : counts) {
            QVERIFY2(std::abs(count - 10000) < 500, qPrintable(QString::number(count)));
        }
    }

    void aDrawFillsASlotEveryThreeSecondsAndReelsStopOnTheirDigits_data() {
        QTest::addColumn<bool>("automatic");
        QTest::addColumn<QString>("firstReel");
        QTest::addColumn<QStringList>("events");
        QStringList events{u"3000 reel 1 stops on 0"_s, u"6000 reel 2 stops on 5"_s,
                           u"9000 log 第0次开奖结果:058"_s, u"9000 caret to end"_s,
                           u"9000 reel 3 stops on 8"_s};
        // A step and a reel tick due together: the step draws first and the reel stops at once.
        QTest::newRow("automatic: counts on from the digits shown, leaves the commands")
            << true << Counting(4, 59) + u'0' << events;
        events.insert(3, u"9000 manual draw on"_s);
        events.insert(4, u"9000 automatic draw on"_s);
        QTest::newRow("manual: from an emptied display, gives the commands back")
            << false << u'_' + Counting(1, 59) + u'0' << events;
    }
    void aDrawFillsASlotEveryThreeSecondsAndReelsStopOnTheirDigits() {
        QFETCH(bool, automatic);
        QFETCH(QString, firstReel);
        QFETCH(QStringList, events);
        Machine m{3, 6, 9, 0, 5, 8};
        m.machine.startManualDraw();
        m.clock.advance(9000);
        m.machine.setManualDrawEnabled(false);
        m.machine.setAutomaticDrawEnabled(false);
        m.recorder.take();
        m.recorder.reels[0].clear();
        if (automatic) {
            m.machine.startAutomaticDraw();
        } else {
            m.machine.clearDisplay();
            m.machine.startManualDraw();
        }
        m.clock.advance(8999);
        QCOMPARE(m.recorder.events.size(), 2);
        m.clock.advance(1000);
        QCOMPARE(m.recorder.take(), events);
        QCOMPARE(m.recorder.reels[0], firstReel);
        QCOMPARE(m.machine.log().text(), Record(0, u"369"_s) + Record(0, u"058"_s));
        QCOMPARE(m.clock.nextDue(), -1);
    }

    void trimLogEmptiesOnlyALogOverTheLimit_data() {
        QTest::addColumn<int>("oneDigitRecords");
        QTest::addColumn<qsizetype>("length");
        QTest::newRow("58000 survives") << 0 << qsizetype{58000};
        QTest::newRow("58001 is emptied") << 1 << qsizetype{58001};
    }
    void trimLogEmptiesOnlyALogOverTheLimit() {
        QFETCH(int, oneDigitRecords);
        QFETCH(qsizetype, length);
        DrawLog log;
        // Records of "0" draws are 32 characters with three digits and 29 with none.
        for (int i = 0; i < 1798; ++i) {
            log.AppendDrawRecord({1, 2, 3});
        }
        for (int i = 0; i < 16; ++i) {
            log.AppendDrawRecord(i < oneDigitRecords ? DrawSlots{1, {}, {}} : DrawSlots{});
        }
        QCOMPARE(log.text().size(), length);
        QSignalSpy cleared(&log, &DrawLog::cleared);
        log.TrimLog();
        QCOMPARE(log.text().isEmpty(), length > DrawLog::kLimit);
        QCOMPARE(cleared.size(), length > DrawLog::kLimit ? 1 : 0);
    }
};

QTEST_GUILESS_MAIN(TestDrawMachine)
#include "tst_drawmachine.moc"
