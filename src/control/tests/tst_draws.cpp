#include "control/draws.h"
#include "drawrig.h"
#include "recordingmessages.h"

#include <QRegularExpression>
#include <QTest>

using namespace Qt::StringLiterals;
using velmora::AutomaticDraw;
using velmora::AutomaticDrawControls;
using velmora::ManualDraw;
using velmora::WindowTimer;
using velmora::test::DrawRig;
using velmora::test::RecordingMessages;

namespace {

const QString kEmptyTarget = u"请按照出球顺序填全上期开奖结果，以便于系统进行对比自动摇号"_s;
const QString kEmptyTargetTitle = u"自动摇奖提示框"_s;
const QString kFound = u"找到昨天开奖号码"_s;
const QString kCancel = u"本次摇奖结束后，将停止继续摇奖"_s;
const QString kTitle = u"摇奖提示框"_s;

QString Record(int n, const QString& digits) {
    return u"第"_s + QString::number(n) + u"次开奖结果:"_s + digits + QString(21, u' ');
}

const QRegularExpression kRecords(u"^(第(\\d+)次开奖结果:\\d\\d\\d {21})*$"_s);

struct Rig : DrawRig {
    QLineEdit* Text5 = new QLineEdit(&window);
    QLineEdit* Text6 = new QLineEdit(&window);
    QLineEdit* Text7 = new QLineEdit(&window);
    QPushButton* Command13 = new QPushButton(&window);
    WindowTimer Timer7{clock, u"Timer7"_s};
    RecordingMessages messages;
    ManualDraw manual{controls, machine, log};
    AutomaticDraw automatic{controls,
                            AutomaticDrawControls{*Text5, *Text6, *Text7, *Command13, Timer7},
                            machine, log, messages};

    Rig() {
        Timer7.setInterval(10000);
        Timer7.setEnabled(false);
        Command13->setEnabled(false);
    }
    void targets(const QString& a, const QString& b, const QString& c) {
        Text5->setText(a);
        Text6->setText(b);
        Text7->setText(c);
    }
    // Command states as "1/11/13", e.g. "001" while a search runs.
    QString commands() const {
        return QString::number(int(Command1->isEnabled())) +
               QString::number(int(Command11->isEnabled())) +
               QString::number(int(Command13->isEnabled()));
    }
};

}  // namespace

class TestDraws : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void manualDrawEndToEnd();
    void twoQuickClicksMakeOneDraw();
    void clickTrimsAnOverlongLogBeforeCounting();
    void emptyTargetIsRefusedAndNothingChanges_data();
    void emptyTargetIsRefusedAndNothingChanges();
    void searchStartsTenSecondsAfterTheClick();
    void displayAlreadyEqualToTargetsMatchesWithoutDrawing();
    void targetsCompareByNumericValue_data();
    void targetsCompareByNumericValue();
    void searchMatchingOnTheNthDraw();
    void matchMessageIsShownOnceWhileTimePasses();
    void cancelBetweenDrawsGivesCommandsBackAtOnce();
    void cancelDuringADrawKeepsCommandsUntilItsRecord();
    void supervisorTickThatOvertakesItsDrawWaits();
    void longSearchKeepsCounterAndRecordsConsistent();
};

void TestDraws::manualDrawEndToEnd() {
    Rig rig;
    rig.digits.push({3, 6, 9});
    rig.Text1->setText(u"5"_s);
    rig.manual.Command1_Click();
    QCOMPARE(rig.Label4->text(), u"1"_s);
    QCOMPARE(rig.display(), QString());
    QCOMPARE(rig.commands(), u"000"_s);

    rig.clock.advance(50);
    QCOMPARE(rig.display(), u"111"_s);
    rig.clock.advanceTo(3050);
    QCOMPARE(rig.Text1->text(), u"3"_s);
    rig.clock.advanceTo(6050);
    QCOMPARE(rig.Text2->text(), u"6"_s);
    rig.clock.advanceTo(8999);
    QCOMPARE(rig.commands(), u"000"_s);
    QVERIFY(rig.log.text().isEmpty());
    rig.clock.advanceTo(9000);
    QCOMPARE(rig.log.text(), Record(1, u"369"_s));
    QCOMPARE(rig.commands(), u"110"_s);
    rig.clock.advanceTo(9050);
    QCOMPARE(rig.display(), u"369"_s);
    QCOMPARE(rig.clock.armedCount(), 0);

    rig.digits.push({0, 1, 2});
    rig.manual.Command1_Click();
    QCOMPARE(rig.display(), QString());  // the next click clears the last digits
    rig.clock.advance(9050);
    QCOMPARE(rig.log.text(), Record(1, u"369"_s) + Record(2, u"012"_s));
}

void TestDraws::twoQuickClicksMakeOneDraw() {
    Rig rig;
    rig.digits.push({1, 1, 1});
    connect(rig.Command1, &QPushButton::clicked, &rig.window, [&] { rig.manual.Command1_Click(); });
    rig.window.show();
    QTest::mouseClick(rig.Command1, Qt::LeftButton);
    rig.clock.advance(20);
    QTest::mouseClick(rig.Command1, Qt::LeftButton);
    rig.clock.advance(20000);
    QCOMPARE(rig.Label4->text(), u"1"_s);
    QCOMPARE(rig.log.text(), Record(1, u"111"_s));
}

void TestDraws::clickTrimsAnOverlongLogBeforeCounting() {
    Rig rig;
    rig.Text4->setText(QString(58000, u'x'));
    rig.manual.Command1_Click();
    rig.clock.advance(9050);
    QCOMPARE(rig.log.length(), 58000 + Record(1, u"000"_s).size());
    rig.manual.Command1_Click();
    QCOMPARE(rig.log.length(), 0);
    QCOMPARE(rig.Label4->text(), u"2"_s);
    rig.clock.advance(9050);
    QCOMPARE(rig.log.text(), Record(2, u"000"_s));
}

void TestDraws::emptyTargetIsRefusedAndNothingChanges_data() {
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<QString>("c");
    QTest::newRow("first") << QString() << u"1"_s << u"2"_s;
    QTest::newRow("second") << u"1"_s << QString() << u"2"_s;
    QTest::newRow("third") << u"1"_s << u"2"_s << QString();
    QTest::newRow("all") << QString() << QString() << QString();
}

void TestDraws::emptyTargetIsRefusedAndNothingChanges() {
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(QString, c);
    Rig rig;
    rig.targets(a, b, c);
    rig.automatic.Command11_Click();
    QCOMPARE(rig.messages.shown.size(), std::size_t{1});
    QCOMPARE(rig.messages.shown[0].text, kEmptyTarget);
    QCOMPARE(rig.messages.shown[0].title, kEmptyTargetTitle);
    QCOMPARE(rig.commands(), u"110"_s);
    QVERIFY(!rig.Timer7.isEnabled());
    rig.clock.advance(60000);
    QCOMPARE(rig.Label4->text(), u"0"_s);
    QCOMPARE(rig.messages.shown.size(), std::size_t{1});
}

void TestDraws::searchStartsTenSecondsAfterTheClick() {
    Rig rig;
    rig.targets(u"1"_s, u"2"_s, u"3"_s);
    rig.automatic.Command11_Click();
    QVERIFY(rig.Timer7.isEnabled());
    QCOMPARE(rig.commands(), u"001"_s);
    rig.clock.advance(9999);
    QCOMPARE(rig.Label4->text(), u"0"_s);
    rig.clock.advance(1);
    QCOMPARE(rig.Label4->text(), u"1"_s);
    QVERIFY(rig.machine.automaticChainRunning());
    QCOMPARE(rig.commands(), u"001"_s);
}

void TestDraws::displayAlreadyEqualToTargetsMatchesWithoutDrawing() {
    Rig rig;
    rig.digits.push({4, 5, 6});
    rig.manual.Command1_Click();
    rig.clock.advance(9050);
    rig.targets(u"4"_s, u"5"_s, u"6"_s);
    QString commandsWhileOpen;
    bool supervisorWhileOpen = false;
    rig.messages.whileOpen = [&](const RecordingMessages::Shown&) {
        commandsWhileOpen = rig.commands();
        supervisorWhileOpen = rig.Timer7.isEnabled();
    };
    rig.automatic.Command11_Click();
    rig.clock.advance(10000);
    QCOMPARE(rig.messages.shown.size(), std::size_t{1});
    QCOMPARE(rig.messages.shown[0].text, kFound);
    QCOMPARE(rig.messages.shown[0].title, kTitle);
    QCOMPARE(commandsWhileOpen, u"110"_s);
    QVERIFY(supervisorWhileOpen);
    QVERIFY(!rig.Timer7.isEnabled());
    QCOMPARE(rig.Label4->text(), u"1"_s);
    QCOMPARE(rig.log.text(), Record(1, u"456"_s));
}

void TestDraws::targetsCompareByNumericValue_data() {
    QTest::addColumn<QString>("display");
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<QString>("c");
    QTest::addColumn<bool>("match");
    QTest::newRow("empty display is 000") << QString() << u"0"_s << u"0"_s << u"0"_s << true;
    QTest::newRow("blank and letter are 0") << u"000"_s << u" "_s << u"a"_s << u"0"_s << true;
    QTest::newRow("letter is not 7") << u"700"_s << u"x"_s << u"0"_s << u"0"_s << false;
    QTest::newRow("order matters") << u"123"_s << u"3"_s << u"2"_s << u"1"_s << false;
    QTest::newRow("plus sign") << u"500"_s << u"5"_s << u"+"_s << u"0"_s << true;
}

void TestDraws::targetsCompareByNumericValue() {
    QFETCH(QString, display);
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(QString, c);
    QFETCH(bool, match);
    Rig rig;
    if (!display.isEmpty()) {
        rig.Text1->setText(display.mid(0, 1));
        rig.Text2->setText(display.mid(1, 1));
        rig.Text3->setText(display.mid(2, 1));
    }
    rig.targets(a, b, c);
    rig.automatic.Command11_Click();
    rig.clock.advance(10000);
    QCOMPARE(rig.messages.shown.size(), std::size_t(match ? 1 : 0));
    QCOMPARE(rig.Label4->text(), match ? u"0"_s : u"1"_s);
}

void TestDraws::searchMatchingOnTheNthDraw() {
    Rig rig;
    rig.targets(u"2"_s, u"0"_s, u"7"_s);
    for (int i = 0; i < 6; ++i) {
        rig.digits.push({2, 0, 6});  // close, but no match
    }
    rig.digits.push({2, 0, 7});
    rig.automatic.Command11_Click();
    rig.clock.advance(10000 * 8);
    QCOMPARE(rig.messages.shown.size(), std::size_t{1});
    QCOMPARE(rig.messages.shown[0].text, kFound);
    QCOMPARE(rig.Label4->text(), u"7"_s);
    QString expected;
    for (int n = 1; n <= 6; ++n) {
        expected += Record(n, u"206"_s);
    }
    expected += Record(7, u"207"_s);
    QCOMPARE(rig.log.text(), expected);
    QCOMPARE(rig.commands(), u"110"_s);
    QCOMPARE(rig.clock.armedCount(), 0);
    rig.clock.advance(100000);
    QCOMPARE(rig.Label4->text(), u"7"_s);
}

void TestDraws::matchMessageIsShownOnceWhileTimePasses() {
    // The user leaves the match box open for a minute: the supervisor, still enabled, must not
    // open a second box or start draws behind it.
    Rig rig;
    rig.targets(u"0"_s, u"0"_s, u"0"_s);
    rig.messages.whileOpen = [&](const RecordingMessages::Shown&) { rig.clock.advance(60000); };
    rig.automatic.Command11_Click();
    rig.clock.advance(10000);
    QCOMPARE(rig.messages.shown.size(), std::size_t{1});
    QCOMPARE(rig.Label4->text(), u"0"_s);
    QVERIFY(!rig.Timer7.isEnabled());
    rig.clock.advance(60000);
    QCOMPARE(rig.messages.shown.size(), std::size_t{1});
}

void TestDraws::cancelBetweenDrawsGivesCommandsBackAtOnce() {
    Rig rig;
    rig.targets(u"9"_s, u"9"_s, u"9"_s);
    rig.automatic.Command11_Click();
    rig.clock.advance(19500);  // first draw done at 19000
    QString commandsWhileOpen;
    rig.messages.whileOpen = [&](const RecordingMessages::Shown&) {
        commandsWhileOpen = rig.commands();
    };
    rig.automatic.Command13_Click();
    QCOMPARE(rig.messages.shown.size(), std::size_t{1});
    QCOMPARE(rig.messages.shown[0].text, kCancel);
    QCOMPARE(rig.messages.shown[0].title, kTitle);
    QCOMPARE(commandsWhileOpen, u"001"_s);
    QCOMPARE(rig.commands(), u"110"_s);
    QVERIFY(!rig.Timer7.isEnabled());
    rig.clock.advance(100000);
    QCOMPARE(rig.Label4->text(), u"1"_s);
}

void TestDraws::cancelDuringADrawKeepsCommandsUntilItsRecord() {
    Rig rig;
    rig.targets(u"9"_s, u"9"_s, u"9"_s);
    rig.digits.push({1, 2, 3, 4, 5, 6});
    connect(rig.Command1, &QPushButton::clicked, &rig.window, [&] { rig.manual.Command1_Click(); });
    rig.automatic.Command11_Click();
    rig.clock.advance(14000);  // draw 1 started at 10000, digit 1 drawn at 13000
    rig.automatic.Command13_Click();
    QCOMPARE(rig.messages.shown.size(), std::size_t{1});
    QCOMPARE(rig.commands(), u"000"_s);
    QVERIFY(!rig.Timer7.isEnabled());

    // A manual draw cannot start on top of the running one.
    rig.Command1->click();
    QCOMPARE(rig.Label4->text(), u"1"_s);

    rig.clock.advanceTo(18999);
    QCOMPARE(rig.commands(), u"000"_s);
    rig.clock.advanceTo(19000);
    QCOMPARE(rig.log.text(), Record(1, u"123"_s));
    QCOMPARE(rig.commands(), u"110"_s);

    rig.Command1->click();
    rig.clock.advance(9050);
    QCOMPARE(rig.log.text(), Record(1, u"123"_s) + Record(2, u"456"_s));
    QCOMPARE(rig.display(), u"456"_s);
}

void TestDraws::supervisorTickThatOvertakesItsDrawWaits() {
    // On a loaded machine the supervisor can fall due before its 9 s draw is done; simulated here
    // by a supervisor that runs fast. It must not start a second draw over the first.
    Rig rig;
    rig.targets(u"9"_s, u"9"_s, u"9"_s);
    rig.digits.push({1, 1, 1, 2, 2, 2});
    rig.automatic.Command11_Click();
    rig.Timer7.setInterval(4000);
    rig.clock.advance(4000);  // draw 1 starts
    QCOMPARE(rig.Label4->text(), u"1"_s);
    rig.clock.advance(8000);  // ticks at 8000 and 12000 find the draw under way
    QCOMPARE(rig.Label4->text(), u"1"_s);
    rig.clock.advanceTo(13000);  // draw 1 done at 13000
    QCOMPARE(rig.log.text(), Record(1, u"111"_s));
    rig.clock.advanceTo(16000);  // next tick starts draw 2
    QCOMPARE(rig.Label4->text(), u"2"_s);
    rig.clock.advanceTo(25050);
    QCOMPARE(rig.log.text(), Record(1, u"111"_s) + Record(2, u"222"_s));
}

void TestDraws::longSearchKeepsCounterAndRecordsConsistent() {
    // 6000 draws fill the log past its limit three times over.
    Rig rig;
    rig.targets(u"9"_s, u"9"_s, u"9"_s);
    rig.digits.setFallback(4);
    rig.automatic.Command11_Click();
    int trims = 0;
    qsizetype lastLength = 0;
    rig.clock.advance(10000);
    for (int n = 1; n <= 6000; ++n) {
        // Just after the tick that started draw n.
        QCOMPARE(rig.Label4->text(), QString::number(n));
        if (rig.log.length() < lastLength) {
            ++trims;
        }
        rig.clock.advance(9000);
        QVERIFY(rig.log.text().endsWith(Record(n, u"444"_s)));
        lastLength = rig.log.length();
        if (n % 500 == 0) {
            QVERIFY(kRecords.match(rig.log.text()).hasMatch());
        }
        rig.clock.advance(1000);
    }
    QCOMPARE(trims, 3);
}

QTEST_MAIN(TestDraws)
#include "tst_draws.moc"
