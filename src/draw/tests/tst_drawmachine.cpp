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
        QTest::newRow("digit") << u"7"_s << 7.0;
        QTest::newRow("blanks inside") << u" 1\t2\n3"_s << 123.0;
        QTest::newRow("rest ignored") << u"-2.5e1x9"_s << -25.0;
        QTest::newRow("fraction") << u".5"_s << 0.5;
        QTest::newRow("overflow") << u"1e400"_s << HUGE_VAL;
    }
    void valReadsTheLeadingNumber() {
        QFETCH(QString, text);
        QFETCH(double, value);
        QCOMPARE(Val(text), value);
    }

    void digitTextIsShortest_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("zero") << 0.0 << u"0"_s;
        QTest::newRow("ten") << 10.0 << u"10"_s;
        QTest::newRow("a million, not 1e+06") << 1e6 << u"1000000"_s;
        QTest::newRow("fraction") << 0.5 << u"0.5"_s;
    }
    void digitTextIsShortest() {
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(DigitText(value), text);
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

    void manualDrawFillsASlotEveryThreeSecondsAndGivesTheCommandsBack() {
        Machine m{3, 6, 9};
        m.machine.setManualDrawEnabled(false);
        m.machine.setAutomaticDrawEnabled(false);
        m.recorder.take();
        m.machine.startManualDraw();
        m.clock.advance(8999);
        QCOMPARE(m.recorder.events.size(), 2);
        QCOMPARE(m.machine.log().text(), QString());
        m.clock.advance(1000);
        QCOMPARE(m.recorder.take(), (QStringList{
                                        u"3000 reel 1 stops on 3"_s,
                                        u"6000 reel 2 stops on 6"_s,
                                        u"9000 第0次开奖结果:369"_s,
                                        u"9000 manual draw on"_s,
                                        u"9000 automatic draw on"_s,
                                        u"9000 caret to end"_s,
                                        u"9000 reel 3 stops on 9"_s,
                                    }));
        QCOMPARE(m.machine.log().text(), Record(0, u"369"_s));
        // A step and a reel tick due together: the step draws first, the reel stops at once.
        QCOMPARE(m.recorder.reels[0], Counting(1, 59) + u'3');
        QCOMPARE(m.recorder.reels[2], Counting(1, 179));  // already on 9 when it stops
        QCOMPARE(m.clock.nextDue(), -1);
    }

    void automaticDrawLeavesTheCommandsAndReelsCountOnFromTheDigitsShown() {
        Machine m{0, 5, 9, 0, 5, 8};
        m.machine.startManualDraw();
        m.clock.advance(9050);
        m.machine.setManualDrawEnabled(false);
        m.machine.setAutomaticDrawEnabled(false);
        m.recorder.take();
        QSignalSpy completed(&m.machine, &DrawMachine::automaticDrawCompleted);
        m.machine.startAutomaticDraw();
        m.clock.advance(100);
        QCOMPARE(m.recorder.reels[0], Counting(1, 59) + u"012"_s);
        QCOMPARE(m.recorder.reels[2].right(2), u"01"_s);
        m.clock.advance(9000);
        QCOMPARE(m.recorder.take(), (QStringList{
                                        u"3000 reel 1 stops on 0"_s,
                                        u"6000 reel 2 stops on 5"_s,
                                        u"9000 第0次开奖结果:058"_s,
                                        u"9000 caret to end"_s,
                                        u"9000 reel 3 stops on 8"_s,
                                    }));
        QCOMPARE(completed.size(), 1);
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
