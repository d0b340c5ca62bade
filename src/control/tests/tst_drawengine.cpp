#include "control/drawengine.h"
#include "control/messages.h"
#include "enginetest.h"

#include <QRegularExpression>
#include <QTest>

#include <functional>

using namespace Qt::StringLiterals;
using namespace velmora;
using velmora::test::Record;
using velmora::test::Recorder;
using velmora::test::ScriptedDigits;

namespace {

const QString kFound = u"box 找到昨天开奖号码 | 摇奖提示框"_s;
const QString kCancelled = u"box 本次摇奖结束后，将停止继续摇奖 | 摇奖提示框"_s;

// Notes each box among the engine's events; `whileOpen` runs while the box is open.
struct Boxes final : Messages {
    Recorder* recorder = nullptr;
    std::function<void()> whileOpen = [] {};
    int shown = 0;
    void show(const QString& text, const QString& title) override {
        ++shown;
        recorder->note(u"box "_s + text + u" | "_s + title);
        whileOpen();
    }
};

struct Engine {
    explicit Engine(std::initializer_list<int> digits = {}, int fallback = 0)
        : digits(digits, fallback) {
        boxes.recorder = &recorder;
        QObject::connect(&engine.search(), &AutomaticSearch::cancelEnabledChanged,
                         [this](bool on) { recorder.note(on ? u"cancel on"_s : u"cancel off"_s); });
    }
    void targets(const QString& a, const QString& b, const QString& c) {
        engine.search().setTarget(0, a);
        engine.search().setTarget(1, b);
        engine.search().setTarget(2, c);
    }
    QString counter() { return engine.machine().log().counter(); }
    const QString& log() { return engine.machine().log().text(); }

    VirtualClock clock;
    ScriptedDigits digits;
    Boxes boxes;
    DrawEngine engine{clock, digits, boxes};
    Recorder recorder{engine.machine(), clock};
};

}  // namespace

class TestDrawEngine : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void drawByHandCountsAtOnceAndLogsNineSecondsLater() {
        Engine e{3, 6, 9, 0, 1, 2};
        e.engine.drawByHand();
        e.engine.drawByHand();  // a second quick click finds the command closed
        QCOMPARE(e.recorder.take(),
                 (QStringList{u"0 manual draw off"_s, u"0 automatic draw off"_s, u"0 count 1"_s}));
        e.clock.advance(9050);
        QCOMPARE(e.log(), Record(1, u"369"_s));
        QCOMPARE(e.recorder.events.filter(u"draw on"_s).size(), 2);
        e.engine.drawByHand();  // the next draw starts from an empty display
        e.clock.advance(50);
        const QString* reels = e.recorder.reels;
        QCOMPARE((QStringList{reels[0].right(3), reels[1].right(3), reels[2].right(3)}),
                 (QStringList{u"3_1"_s, u"6_1"_s, u"9_1"_s}));
        e.clock.advance(9000);
        QCOMPARE(e.log(), Record(1, u"369"_s) + Record(2, u"012"_s));
    }

    void aDrawEmptiesAnOverlongLogBeforeCounting() {
        Engine e;
        for (int n = 0; n < 1813; ++n) {  // 1813 records of 32 characters: 58016
            e.engine.machine().log().AppendDrawRecord({1, 2, 3});
        }
        e.recorder.take();
        e.engine.drawByHand();
        QCOMPARE(e.recorder.take().mid(0, 2),
                 (QStringList{u"0 log cleared"_s, u"0 manual draw off"_s}));
        e.engine.clearLog();  // clearing an empty log during a draw changes nothing
        e.clock.advance(9000);
        QCOMPARE(e.log(), Record(1, u"000"_s));
    }

    void searchRefusesAnEmptyTarget_data() {
        QTest::addColumn<QStringList>("targets");
        QTest::newRow("first empty") << QStringList{{}, u"1"_s, u"2"_s};
        QTest::newRow("last empty") << QStringList{u"1"_s, u"2"_s, {}};
    }
    void searchRefusesAnEmptyTarget() {
        QFETCH(QStringList, targets);
        Engine e;
        e.targets(targets[0], targets[1], targets[2]);
        e.engine.search().start();
        e.clock.advance(60000);
        QCOMPARE(e.recorder.take(),
                 QStringList{u"0 box 请按照出球顺序填全上期开奖结果，以便于系统进行对比自动摇号 | "
                             u"自动摇奖提示框"_s});
    }

    void searchComparesTheDisplayByNumericValue_data() {
        QTest::addColumn<QStringList>("targets");
        QTest::addColumn<bool>("match");
        QTest::newRow("empty display is 0 0 0") << QStringList{u"0"_s, u"0"_s, u"0"_s} << true;
        QTest::newRow("blank and letter are 0") << QStringList{u" "_s, u"a"_s, u"0"_s} << true;
        QTest::newRow("one position differs") << QStringList{u"0"_s, u"0"_s, u"1"_s} << false;
    }
    void searchComparesTheDisplayByNumericValue() {
        QFETCH(QStringList, targets);
        QFETCH(bool, match);
        Engine e;
        e.targets(targets[0], targets[1], targets[2]);
        e.engine.search().start();
        QCOMPARE(e.recorder.take(), (QStringList{u"0 manual draw off"_s, u"0 automatic draw off"_s,
                                                 u"0 cancel on"_s}));
        e.clock.advance(10000);
        const QStringList found{u"10000 manual draw on"_s, u"10000 automatic draw on"_s,
                                u"10000 cancel off"_s, u"10000 "_s + kFound};
        QCOMPARE(e.recorder.take(), match ? found : QStringList{u"10000 count 1"_s});
    }

    void searchDrawsEveryTenSecondsUntilTheDisplayMatches() {
        Engine e({1, 1, 1, 2, 2, 2, 3, 3, 3}, 9);
        e.targets(u"3"_s, u"3"_s, u"3"_s);
        e.engine.search().start();
        e.recorder.take();
        // While the box is open, further ticks must neither stack boxes nor start draws.
        e.boxes.whileOpen = [&e] { e.clock.advance(60000); };
        e.clock.advance(40000);
        QCOMPARE(e.boxes.shown, 1);
        QCOMPARE(e.log(), Record(1, u"111"_s) + Record(2, u"222"_s) + Record(3, u"333"_s));
        QVERIFY(!e.engine.search().isSearching());
        QCOMPARE(e.recorder.take().filter(u"count"_s),
                 (QStringList{u"10000 count 1"_s, u"20000 count 2"_s, u"30000 count 3"_s}));
    }

    void cancelBetweenDrawsGivesTheCommandsBackAfterTheBox() {
        Engine e;
        e.targets(u"9"_s, u"9"_s, u"9"_s);
        e.engine.search().start();
        e.clock.advance(19500);
        e.recorder.take();
        e.engine.search().cancel();
        e.clock.advance(100000);
        QCOMPARE(e.recorder.take(), (QStringList{u"0 "_s + kCancelled, u"0 manual draw on"_s,
                                                 u"0 automatic draw on"_s, u"0 cancel off"_s}));
    }

    void cancelDuringADrawKeepsTheCommandsUntilItsRecord() {
        Engine e{1, 2, 3, 4, 5, 6};
        e.targets(u"9"_s, u"9"_s, u"9"_s);
        e.engine.search().start();
        e.clock.advance(14000);  // draw 1 started at 10000
        e.recorder.take();
        e.engine.search().cancel();
        e.engine.drawByHand();  // refused: the automatic draw is still under way
        e.clock.advance(5000);
        QCOMPARE(e.recorder.take().filter(QRegularExpression(u"^\\d+ [^r]"_s)),
                 (QStringList{u"0 "_s + kCancelled, u"0 cancel off"_s, u"5000 第1次开奖结果:123"_s,
                              u"5000 caret to end"_s, u"5000 manual draw on"_s,
                              u"5000 automatic draw on"_s}));
        e.engine.drawByHand();
        e.clock.advance(9050);
        QCOMPARE(e.log(), Record(1, u"123"_s) + Record(2, u"456"_s));
    }

    void aSupervisorTickThatOvertakesItsDrawWaitsForTheNext() {
        Engine e{1, 1, 1, 2, 2, 2};
        e.targets(u"9"_s, u"9"_s, u"9"_s);
        e.engine.search().start();
        e.engine.search().supervisor().setInterval(4000);  // as on a stalled machine
        e.clock.advance(12000);  // draw 1 at 4000; ticks at 8000 and 12000 find it running
        QCOMPARE(e.counter(), u"1"_s);
        e.clock.advanceTo(25050);
        QCOMPARE(e.log(), Record(1, u"111"_s) + Record(2, u"222"_s));
    }

    void aLongSearchKeepsCounterAndRecordsConsistent() {
        Engine e({}, 4);
        e.targets(u"9"_s, u"9"_s, u"9"_s);
        e.engine.search().start();
        static const QRegularExpression records(u"^(第\\d+次开奖结果:444 {21})*$"_s);
        int trims = 0;
        QObject::connect(&e.engine.machine().log(), &DrawLog::cleared, [&trims] { ++trims; });
        for (int n = 1; n <= 6000; ++n) {
            e.clock.advance(10000);
            QCOMPARE(e.counter(), QString::number(n));
            QVERIFY(e.log().isEmpty() || e.log().endsWith(Record(n - 1, u"444"_s)));
        }
        QVERIFY(records.match(e.log()).hasMatch());
        QCOMPARE(trims, 3);
    }
};

QTEST_GUILESS_MAIN(TestDrawEngine)
#include "tst_drawengine.moc"
