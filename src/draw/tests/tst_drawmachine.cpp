#include "drawrig.h"

#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;
using velmora::DrawLog;
using velmora::Module1;
using velmora::test::DrawRig;

namespace {

QString Blanks() {
    return QString(21, u' ');
}

// The manual chain as a click starts it, without the click's bookkeeping.
void StartManual(DrawRig& rig) {
    rig.machine.ResetSlots();
    rig.machine.ClearDisplay();
    rig.machine.StartReels();
    rig.machine.StartManualChain();
}

}  // namespace

class TestDrawMachine : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void reelsCountFromEmptyAndWrapNineToZero();
    void digitsLandEveryThreeSecondsAndReelsStopOnThem();
    void drawnZeroCountsAsDrawn();
    void reelOnAlreadyDrawnSlotStopsAtFirstTick();
    void manualChainLogsAndGivesCommandsBack();
    void automaticChainLogsButLeavesCommandsAndReportsCompletion();
    void automaticReelsCountOnFromTheDigitsShown();
    void recordFormat();
    void trimLogBoundary();
    void counterCountsWithoutLimit();
    void clearingDuringADrawKeepsCounterAndRecord();
    void caretMovesToTheEnd();
};

void TestDrawMachine::reelsCountFromEmptyAndWrapNineToZero() {
    DrawRig rig;
    StartManual(rig);
    QStringList seen;
    for (int tick = 1; tick <= 12; ++tick) {
        rig.clock.advance(50);
        seen << rig.Text1->text();
        QCOMPARE(rig.Text2->text(), rig.Text1->text());
        QCOMPARE(rig.Text3->text(), rig.Text1->text());
    }
    QCOMPARE(seen.join(u','), u"1,2,3,4,5,6,7,8,9,0,1,2"_s);
}

void TestDrawMachine::digitsLandEveryThreeSecondsAndReelsStopOnThem() {
    DrawRig rig;
    rig.digits.push({4, 7, 2});
    StartManual(rig);
    rig.clock.advanceTo(2999);
    QVERIFY(!rig.slots.DrawnDigit1);
    rig.clock.advanceTo(3000);
    QCOMPARE(rig.slots.DrawnDigit1, 4);
    QVERIFY(!rig.slots.DrawnDigit2);
    rig.clock.advanceTo(3050);
    QCOMPARE(rig.Text1->text(), u"4"_s);
    QVERIFY(!rig.Timer1.isEnabled());
    QVERIFY(rig.Timer2.isEnabled());

    rig.clock.advanceTo(5999);
    QVERIFY(!rig.slots.DrawnDigit2);
    rig.clock.advanceTo(6050);
    QCOMPARE(rig.slots.DrawnDigit2, 7);
    QCOMPARE(rig.Text2->text(), u"7"_s);
    QVERIFY(!rig.Timer2.isEnabled());

    rig.clock.advanceTo(8999);
    QVERIFY(rig.Text4->toPlainText().isEmpty());
    rig.clock.advanceTo(9000);
    QCOMPARE(rig.slots.DrawnDigit3, 2);
    QCOMPARE(rig.log.text(), u"第0次开奖结果:472"_s + Blanks());
    rig.clock.advanceTo(9050);
    QCOMPARE(rig.display(), u"472"_s);
    QCOMPARE(rig.clock.armedCount(), 0);
    rig.clock.advance(60000);
    QCOMPARE(rig.display(), u"472"_s);  // the digits stay after the draw
    QCOMPARE(rig.digits.drawn(), 3);
}

void TestDrawMachine::drawnZeroCountsAsDrawn() {
    DrawRig rig;
    rig.digits.push({0, 0, 0});
    StartManual(rig);
    rig.clock.advance(9050);
    QCOMPARE(rig.display(), u"000"_s);
    QCOMPARE(rig.clock.armedCount(), 0);
    QVERIFY(rig.log.text().startsWith(u"第0次开奖结果:000 "_s));
}

void TestDrawMachine::reelOnAlreadyDrawnSlotStopsAtFirstTick() {
    DrawRig rig;
    rig.digits.push({5, 6, 8});
    StartManual(rig);
    rig.clock.advance(9050);
    rig.Text1->clear();
    rig.Timer1.setEnabled(true);
    rig.clock.advance(50);
    QCOMPARE(rig.Text1->text(), u"5"_s);
    QVERIFY(!rig.Timer1.isEnabled());
}

void TestDrawMachine::manualChainLogsAndGivesCommandsBack() {
    DrawRig rig;
    rig.digits.push({1, 2, 3});
    rig.Command1->setEnabled(false);
    rig.Command11->setEnabled(false);
    StartManual(rig);
    rig.clock.advance(8999);
    QVERIFY(!rig.Command1->isEnabled());
    QVERIFY(!rig.Command11->isEnabled());
    rig.clock.advance(1);
    QVERIFY(rig.Command1->isEnabled());
    QVERIFY(rig.Command11->isEnabled());
    QVERIFY(!rig.machine.manualChainRunning());
}

void TestDrawMachine::automaticChainLogsButLeavesCommandsAndReportsCompletion() {
    DrawRig rig;
    rig.digits.push({9, 0, 9});
    rig.Command1->setEnabled(false);
    rig.Command11->setEnabled(false);
    int finished = 0;
    QString logAtFinish;
    rig.machine.setAutomaticDrawFinished([&] {
        ++finished;
        logAtFinish = rig.log.text();
    });
    rig.machine.ResetSlots();
    rig.machine.StartReels();
    rig.machine.StartAutomaticChain();
    QVERIFY(rig.machine.automaticChainRunning());
    rig.clock.advance(8999);
    QCOMPARE(finished, 0);
    rig.clock.advance(1);
    QCOMPARE(finished, 1);
    QCOMPARE(logAtFinish, u"第0次开奖结果:909"_s + Blanks());
    QVERIFY(!rig.machine.automaticChainRunning());
    QVERIFY(!rig.Command1->isEnabled());
    QVERIFY(!rig.Command11->isEnabled());
}

void TestDrawMachine::automaticReelsCountOnFromTheDigitsShown() {
    DrawRig rig;
    rig.Text1->setText(u"8"_s);
    rig.Text2->setText(u"9"_s);
    rig.Text3->setText(u"3"_s);
    rig.machine.ResetSlots();
    rig.machine.StartReels();
    rig.machine.StartAutomaticChain();
    rig.clock.advance(50);
    QCOMPARE(rig.display(), u"904"_s);
}

void TestDrawMachine::recordFormat() {
    Module1 slots;
    slots.DrawnDigit1 = 3;
    slots.DrawnDigit2 = 0;
    slots.DrawnDigit3 = 8;
    const QString record = DrawLog::DrawRecord(u"5"_s, slots);
    QCOMPARE(record, u"第5次开奖结果:308                     "_s);
    QCOMPARE(record.size(), 32);
    slots.DrawnDigit2.reset();
    QCOMPARE(DrawLog::DrawRecord(u"12"_s, slots), u"第12次开奖结果:38"_s + Blanks());
}

void TestDrawMachine::trimLogBoundary() {
    DrawRig rig;
    rig.Text4->setText(QString(58000, u'x'));
    rig.log.TrimLog();
    QCOMPARE(rig.log.length(), 58000);
    rig.Text4->setText(QString(58001, u'x'));
    rig.log.TrimLog();
    QCOMPARE(rig.log.length(), 0);
    QCOMPARE(rig.log.text(), QString());

    // Records each get a line of their own on screen; that must not count towards the limit.
    rig.log.Clear();
    rig.slots.DrawnDigit1 = 1;
    rig.slots.DrawnDigit2 = 2;
    rig.slots.DrawnDigit3 = 3;
    for (int n = 0; n < 1813; ++n) {
        rig.log.AppendDrawRecord();  // 32 characters each
    }
    QCOMPARE(rig.log.length(), 1813 * 32);  // 58016
    QCOMPARE(rig.log.text().size(), 1813 * 32);
    rig.Text4->setText(rig.log.text().left(58000));
    rig.log.TrimLog();
    QCOMPARE(rig.log.length(), 58000);
}

void TestDrawMachine::counterCountsWithoutLimit() {
    DrawRig rig;
    rig.log.CountDraw();
    QCOMPARE(rig.Label4->text(), u"1"_s);
    rig.Label4->setText(u"999999"_s);
    rig.log.CountDraw();
    QCOMPARE(rig.Label4->text(), u"1000000"_s);
}

void TestDrawMachine::clearingDuringADrawKeepsCounterAndRecord() {
    DrawRig rig;
    rig.digits.push({2, 4, 6, 1, 3, 5});
    StartManual(rig);
    rig.log.CountDraw();
    rig.clock.advance(9050);
    StartManual(rig);
    rig.log.CountDraw();
    rig.clock.advance(4000);
    rig.log.Clear();
    QCOMPARE(rig.Label4->text(), u"2"_s);
    rig.clock.advance(5050);
    QCOMPARE(rig.log.text(), u"第2次开奖结果:135"_s + Blanks());
}

void TestDrawMachine::caretMovesToTheEnd() {
    DrawRig rig;
    rig.window.resize(400, 300);
    rig.Text4->setGeometry(0, 0, 156, 100);
    rig.window.show();
    for (int i = 0; i < 40; ++i) {
        rig.digits.push({1, 2, 3});
        StartManual(rig);
        rig.log.CountDraw();
        rig.Text4->moveCursor(QTextCursor::Start);
        rig.clock.advance(9050);
        QVERIFY(rig.Text4->textCursor().atEnd());
    }
    // The newest record is in view.
    QVERIFY(rig.Text4->verticalScrollBar()->maximum() > 0);
    QVERIFY(rig.Text4->viewport()->rect().contains(rig.Text4->cursorRect()));
}

QTEST_MAIN(TestDrawMachine)
#include "tst_drawmachine.moc"
