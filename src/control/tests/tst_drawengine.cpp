#include "control/drawengine.h"
#include "control/messages.h"
#include "enginetest.h"

#include <QRegularExpression>
#include <QTest>

#include <functional>

using namespace Qt::StringLiterals;
using namespace velmora;
using velmora::test::Record;
using velmora::test::ScriptedDigits;

namespace {

const QString kFound = u"box 找到昨天开奖号码 | 摇奖提示框"_s;

// The engine on a virtual clock; its boxes go among the recorded events, and `whileOpen` runs
// while a box is open.
struct Engine final : Messages {
    explicit Engine(std::initializer_list<int> digits = {}) : digits(digits) {
        recorder.hear(&engine.search(), &AutomaticSearch::cancelEnabledChanged, u"cancel"_s);
    }
    void show(const QString& text, const QString& title) override {
        recorder.note(u"box "_s + text + u" | "_s + title);
        whileOpen();
    }
    void search(const QString& targets) {
        for (std::size_t i = 0; i < 3; ++i) {
            engine.search().setTarget(i, targets.mid(qsizetype(i), 1));
        }
        engine.search().start();
    }
    const QString& log() { return engine.machine().log().text(); }
    // Which draw commands are open: 手动摇奖, 自动摇奖, 取消自动 (清空记录 always is).
    QString commands() {
        const auto open = [](bool on) { return on ? u'+' : u'-'; };
        return QString(open(engine.machine().manualDrawEnabled())) +
               open(engine.machine().automaticDrawEnabled()) +
               open(engine.search().cancelEnabled());
    }

    VirtualClock clock;
    ScriptedDigits digits;
    std::function<void()> whileOpen = [] {};
    DrawEngine engine{clock, digits, *this};
    test::Recorder recorder{engine.machine(), clock};
};

}  // namespace

class TestDrawEngine : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void drawByHandFillsASlotEveryThreeSecondsThenGivesTheCommandsBack() {
        Engine e{3, 6, 9, 0, 1, 2};
        for (int n = 0; n < 1813; ++n) {  // 1813 records of 32 characters: 58016, over the limit
            e.engine.machine().log().AppendDrawRecord({1, 2, 3});
        }
        e.recorder.take();
        e.engine.drawByHand();
        e.engine.drawByHand();  // a second quick click finds the command closed
        e.clock.advance(9000);
        // A step and a reel tick due together: the step draws first and the reel stops at once.
        QCOMPARE(e.recorder.take(),
                 (QStringList{u"0 log cleared"_s, u"0 manual draw off"_s, u"0 automatic draw off"_s,
                              u"0 count 1"_s, u"3000 reel 1 stops on 3"_s,
                              u"6000 reel 2 stops on 6"_s, u"9000 log 第1次开奖结果:369"_s,
                              u"9000 manual draw on"_s, u"9000 automatic draw on"_s,
                              u"9000 caret to end"_s, u"9000 reel 3 stops on 9"_s}));
        QCOMPARE(e.clock.armedCount(), 0);  // every reel stopped, the chain idle
        // Reel 1 counted 1, 2, … 9, 0, 1 … every 50 ms for 59 ticks, then stopped on its digit.
        QCOMPARE(e.recorder.reels[0], u"1234567890"_s.repeated(6).left(59) + u'3');
        e.engine.drawByHand();  // the next draw starts from an emptied display
        e.clock.advance(50);
        const QString* reels = e.recorder.reels;
        QCOMPARE((QStringList{reels[0].right(3), reels[1].right(3), reels[2].right(3)}),
                 (QStringList{u"3_1"_s, u"6_1"_s, u"9_1"_s}));
        e.engine.clearLog();  // during a draw: the counter stays, the record comes later
        QCOMPARE(e.commands(), u"---"_s);
        e.clock.advance(9000);
        QCOMPARE(e.log(), Record(2, u"012"_s));
    }

    void searchComparesTheTargetsWithTheDisplayEveryTenSeconds_data() {
        QTest::addColumn<QString>("targets");
        QTest::addColumn<QString>("events");
        const QString start = u"0 manual draw off|0 automatic draw off|0 cancel on|"_s;
        const QString found =
            u"10000 manual draw on|10000 automatic draw on|10000 cancel off|10000 "_s + kFound;
        QTest::newRow("empty display is 0 0 0") << u"000"_s << start + found;
        QTest::newRow("blank and letter are 0") << u" a0"_s << start + found;
        QTest::newRow("one position differs") << u"001"_s << start + u"10000 count 1"_s;
    }
    void searchComparesTheTargetsWithTheDisplayEveryTenSeconds() {
        QFETCH(QString, targets);
        Engine e;
        e.search(targets);
        e.clock.advance(10001);
        QTEST(e.recorder.take().filter(QRegularExpression(u"^\\d+ [^r]"_s)).join(u'|'), "events");
    }

    void searchDrawsUntilTheDisplayMatchesAndReportsItOnce() {
        Engine e{1, 1, 1, 2, 2, 2, 3, 3, 3};
        for (int n = 0; n < 1813; ++n) {  // over the limit: emptied before the first draw
            e.engine.machine().log().AppendDrawRecord({1, 2, 3});
        }
        e.search(u"333"_s);
        // Ticks due while the box is open are dropped: they neither stack boxes nor start draws.
        e.whileOpen = [&e] { e.clock.advance(60000); };
        e.clock.advance(40000);
        QCOMPARE(e.log(), Record(1, u"111"_s) + Record(2, u"222"_s) + Record(3, u"333"_s));
        // Automatic draws leave the commands closed and count on from the digits shown.
        QCOMPARE(e.recorder.take().filter(QRegularExpression(u"count|box|draw|cleared"_s)),
                 (QStringList{u"0 manual draw off"_s, u"0 automatic draw off"_s,
                              u"10000 log cleared"_s, u"10000 count 1"_s, u"20000 count 2"_s,
                              u"30000 count 3"_s, u"40000 manual draw on"_s,
                              u"40000 automatic draw on"_s, u"40000 "_s + kFound}));
        QVERIFY(!e.recorder.reels[0].contains(u'_') && e.recorder.reels[0].contains(u"12"_s));
        QVERIFY(!e.engine.search().isSearching());
    }

    void cancelGivesTheCommandsBackOnceNoDrawIsUnderWay_data() {
        QTest::addColumn<int>("cancelAt");
        QTest::addColumn<QString>("commandsBackAfter");
        QTest::addColumn<QString>("commands");  // right after the cancel
        QTest::newRow("between draws") << 19500 << u"0"_s << u"++-"_s;
        QTest::newRow("during a draw, after its record") << 14000 << u"5000"_s << u"---"_s;
    }
    void cancelGivesTheCommandsBackOnceNoDrawIsUnderWay() {
        QFETCH(int, cancelAt);
        QFETCH(QString, commandsBackAfter);
        Engine e{1, 2, 3, 4, 5, 6};
        e.search(u"999"_s);
        e.clock.advanceTo(cancelAt);
        e.recorder.take();
        e.engine.search().cancel();
        QTEST(e.commands(), "commands");
        e.clock.advanceTo(100000);
        QCOMPARE(e.commands(), u"++-"_s);
        QCOMPARE(e.recorder.take().filter(u"draw on"_s),
                 (QStringList{commandsBackAfter + u" manual draw on"_s,
                              commandsBackAfter + u" automatic draw on"_s}));
        QCOMPARE(e.log(), Record(1, u"123"_s));
    }

    // A stalled machine delivers its overdue ticks together. A supervisor tick that comes before
    // the draw has finished on screen, its chain still running or a reel not yet stopped on its
    // digit, waits for the next tick.
    void aSupervisorTickThatOvertakesItsDrawWaitsForTheNext_data() {
        QTest::addColumn<QString>("targets");
        QTest::addColumn<int>("movedAt");
        QTest::addColumn<int>("interval");
        QTest::addColumn<QString>("firstRecord");
        QTest::addColumn<int>("secondDrawAt");
        // Every 4 s: ticks at 8000 and 12000 find draw 1 (4000 to 13000) running.
        QTest::newRow("chain running") << u"999"_s << 0 << 4000 << u"111"_s << 16000;
        // Draw 1 runs from 10000; moved at 17000 to 19000, the tick comes after step 3 logged
        // 115 and before reel 3, counting on since 10000, steps from 9 to its digit 5.
        QTest::newRow("reel 3 rolling") << u"119"_s << 17000 << 2000 << u"115"_s << 21000;
    }
    void aSupervisorTickThatOvertakesItsDrawWaitsForTheNext() {
        QFETCH(QString, targets);
        QFETCH(int, movedAt);
        QFETCH(int, interval);
        QFETCH(QString, firstRecord);
        QFETCH(int, secondDrawAt);
        Engine e;
        e.digits.play(firstRecord + u"222"_s);
        e.search(targets);
        e.clock.advanceTo(movedAt);
        e.engine.search().supervisor().setInterval(interval);
        e.clock.advanceTo(secondDrawAt + 9050);
        // The second draw starts at its tick, and no box is shown.
        QCOMPARE(e.recorder.take().filter(QRegularExpression(u"count 2|box"_s)),
                 QStringList{QString::number(secondDrawAt) + u" count 2"_s});
        QCOMPARE(e.log(), Record(1, firstRecord) + Record(2, u"222"_s));
        QCOMPARE(e.commands(), u"--+"_s);
    }
};

QTEST_GUILESS_MAIN(TestDrawEngine)
#include "tst_drawengine.moc"
