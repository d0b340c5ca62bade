#include "draw/logbox.h"
#include "formrig.h"
#include "window/look.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QFontInfo>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include <map>

using namespace Qt::StringLiterals;
using velmora::Form1;
using velmora::WindowTimer;
using velmora::test::FormRig;

namespace {

struct Designed {
    const char16_t* name;
    const char16_t* container;
    int left, top, width, height;
    double points;
    bool bold;
};

// The designed layout in twips, as laid out on the drawing board.
const Designed kLayout[] = {
    {u"Command1", u"Form1", 2520, 2760, 1215, 375, 9, false},
    {u"Command11", u"Form1", 3840, 2760, 1215, 375, 9, false},
    {u"ccp", u"Form1", 2520, 3240, 1215, 375, 9, false},
    {u"Command13", u"Form1", 3840, 3240, 1215, 375, 9, false},
    {u"Command2", u"Frame1", 240, 360, 1815, 375, 10.5, false},
    {u"Command3", u"Frame1", 240, 960, 1815, 375, 10.5, false},
    {u"Command4", u"Frame1", 240, 1560, 1815, 375, 10.5, false},
    {u"Command5", u"Frame1", 240, 2160, 1815, 375, 10.5, false},
    {u"Command6", u"Frame1", 240, 2760, 1815, 375, 10.5, false},
    {u"Command7", u"Frame1", 240, 3360, 1815, 375, 10.5, false},
    {u"Command8", u"Frame1", 240, 3960, 1815, 375, 10.5, false},
    {u"Command9", u"Frame1", 240, 4560, 1815, 375, 10.5, false},
    {u"Command10", u"Frame1", 240, 5160, 1815, 375, 10.5, false},
    {u"Text1", u"Form1", 2520, 840, 615, 855, 36, false},
    {u"Text2", u"Form1", 3480, 840, 615, 855, 36, false},
    {u"Text3", u"Form1", 4440, 840, 600, 855, 36, false},
    {u"Text4", u"Form1", 5160, 840, 2340, 7215, 10.5, false},
    {u"Text5", u"Form1", 2520, 2160, 615, 495, 26.25, false},
    {u"Text6", u"Form1", 3480, 2160, 615, 495, 26.25, false},
    {u"Text7", u"Form1", 4440, 2160, 615, 495, 26.25, false},
    {u"Label2", u"Form1", 5280, 120, 495, 375, 15.75, true},
    {u"Label4", u"Form1", 5880, 120, 855, 375, 15.75, true},
    {u"Label3", u"Form1", 6840, 120, 615, 375, 15.75, true},
    {u"Label7", u"Form1", 2520, 600, 1815, 255, 9, false},
    {u"Label9", u"Form1", 5160, 600, 2415, 255, 9, false},
    {u"Label8", u"Form1", 2520, 1920, 2415, 255, 9, false},
    {u"Label5", u"Form1", 120, 7080, 2415, 255, 9, false},
    {u"Label1", u"Frame2", 120, 240, 2295, 2775, 9, false},
    {u"Frame1", u"Form1", 120, 720, 2295, 6255, 10.5, false},
    {u"Frame2", u"Form1", 2520, 3840, 2535, 3135, 9, false},
    {u"Image1", u"Form1", 120, 120, 315, 435, 0, false},
    {u"WebBrowser1", u"Form1", 600, 120, 4455, 375, 0, false},
    {u"WebBrowser2", u"Form1", 120, 7440, 4935, 615, 0, false},
};

QWidget* Find(Form1& form, QStringView name) {
    if (name == u"Form1") {
        return &form;
    }
    return form.findChild<QWidget*>(name.toString());
}

QRect InWindow(Form1& form, QWidget* w) {
    return QRect(w->mapTo(&form, QPoint(0, 0)), w->size());
}

std::vector<WindowTimer*> Timers(Form1& f) {
    return {&f.Timer1, &f.Timer2, &f.Timer3, &f.Timer4, &f.Timer5,
            &f.Timer6, &f.Timer7, &f.Timer8, &f.Timer9, &f.Timer10};
}

// Types one character as a keyboard (or an input method, for a CJK character) delivers it.
void Type(QWidget* w, const QString& character) {
    QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, character, Qt::NoModifier);
}

QStringList TabWalk(int steps) {
    QStringList names;
    for (int i = 0; i < steps; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        names << QApplication::focusWidget()->objectName();
    }
    return names;
}

}  // namespace

class TestForm1 : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void everyControlAtItsDesignedPlace();
    void controlsOverlapOnlyWhereDesigned();
    void layoutScalesEvenly();
    void fontsAreSongStyleAtTheirSizes();
    void startUpDisablesTimersAndTheCancelCommand();
    void tabVisitsTheDesignedOrderAndSkipsDisabled();
    void targetBoxesTakeOneCharacterOfAnyKind();
    void displayAndLogBoxesRefuseInputButCopy();
    void screenReaderNames();
    void pictureAndIconAreDrawn();
    void manualDrawThroughTheWindow();
    void automaticSearchThroughTheWindow();
    void realWindowStartsIdleAndDraws();
};

void TestForm1::everyControlAtItsDesignedPlace() {
    FormRig rig;
    QCOMPARE(rig.form.size(), QSize(515, 549));
    QCOMPARE(rig.form.minimumSize(), rig.form.maximumSize());
    for (const Designed& d : kLayout) {
        QWidget* w = Find(rig.form, d.name);
        QVERIFY2(w, qPrintable(QString::fromUtf16(d.name)));
        QCOMPARE(w->parentWidget(), Find(rig.form, d.container));
        QCOMPARE(w->geometry(), QRect(d.left / 15, d.top / 15, d.width / 15, d.height / 15));
        QVERIFY(w->isVisibleTo(&rig.form));
    }
    QCOMPARE(rig.form.findChildren<QPushButton*>().size(), 13);
    QCOMPARE(rig.form.findChildren<QLineEdit*>(Qt::FindDirectChildrenOnly).size(), 6);
    QCOMPARE(rig.form.findChildren<QGroupBox*>().size(), 2);
}

void TestForm1::controlsOverlapOnlyWhereDesigned() {
    FormRig rig;
    // Headings reach one pixel into the boxes under them, and the boxes are drawn over them.
    const std::map<QString, QStringList> allowed{
        {u"Label7"_s, {u"Text1"_s, u"Text2"_s}},
        {u"Label9"_s, {u"Text4"_s}},
        {u"Label8"_s, {u"Text5"_s, u"Text6"_s, u"Text7"_s}},
    };
    for (const Designed& a : kLayout) {
        QWidget* wa = Find(rig.form, a.name);
        QVERIFY(rig.form.rect().contains(InWindow(rig.form, wa)));
        QWidget* container = wa->parentWidget();
        QVERIFY(container->rect().contains(wa->geometry()));
        for (const Designed& b : kLayout) {
            QWidget* wb = Find(rig.form, b.name);
            if (wa == wb || wa->parentWidget() != wb->parentWidget()) {
                continue;
            }
            if (!wa->geometry().intersects(wb->geometry())) {
                continue;
            }
            const auto it = allowed.find(wa->objectName());
            const bool ok = it != allowed.end() && it->second.contains(wb->objectName());
            const auto back = allowed.find(wb->objectName());
            const bool okBack = back != allowed.end() && back->second.contains(wa->objectName());
            QVERIFY2(ok || okBack,
                     qPrintable(wa->objectName() + u" overlaps "_s + wb->objectName()));
            const QRect shared = wa->geometry().intersected(wb->geometry());
            QCOMPARE(shared.height(), 1);
            // The box is later in stacking order, so it is drawn over the heading.
            QWidget* heading = ok ? wa : wb;
            QWidget* box = ok ? wb : wa;
            const auto children = rig.form.children();
            QVERIFY(children.indexOf(box) > children.indexOf(heading));
        }
    }
}

void TestForm1::layoutScalesEvenly() {
    FormRig rig;
    rig.form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&rig.form));
    const qreal scale = rig.form.devicePixelRatioF();
    const QByteArray requested = qgetenv("QT_SCALE_FACTOR");
    QCOMPARE(scale, requested.isEmpty() ? 1.0 : requested.toDouble());
    // Logical geometry is the same at every scale; the picture grows with the scale factor.
    QCOMPARE(rig.form.size(), QSize(515, 549));
    const QImage shot = rig.form.grab().toImage();
    QCOMPARE(shot.width(), qRound(515 * scale));
    QCOMPARE(shot.height(), qRound(549 * scale));
    // The reel box's border lies where the 1.0 border lies, scaled.
    const QRect box = rig.form.Text1->geometry();
    const QImage boxShot = rig.form.Text1->grab().toImage();
    QCOMPARE(boxShot.size(), (box.size() * scale));
}

void TestForm1::fontsAreSongStyleAtTheirSizes() {
    FormRig rig;
    const QStringList song{u"宋体"_s,
                           u"SimSun"_s,
                           u"NSimSun"_s,
                           u"Noto Serif CJK SC"_s,
                           u"AR PL UMing CN"_s,
                           u"AR PL SungtiL GB"_s,
                           u"Source Han Serif SC"_s};
    for (const Designed& d : kLayout) {
        if (d.points == 0) {
            continue;
        }
        QWidget* w = Find(rig.form, d.name);
        const QFontInfo info(w->font());
        QVERIFY2(song.contains(info.family()),
                 qPrintable(QString::fromUtf16(d.name) + u": "_s + info.family()));
        QCOMPARE(w->font().pointSizeF(), d.points);
        QCOMPARE(info.bold(), d.bold);
        QVERIFY(!info.italic());
    }
}

void TestForm1::startUpDisablesTimersAndTheCancelCommand() {
    FormRig rig(false);
    for (WindowTimer* t : Timers(rig.form)) {
        QVERIFY(t->isEnabled());
        QCOMPARE(t->interval(), 0);
    }
    QCOMPARE(rig.clock.armedCount(), 0);
    rig.form.Load();
    const std::map<QString, int> intervals{
        {u"Timer1"_s, 50},   {u"Timer2"_s, 50},   {u"Timer3"_s, 50},    {u"Timer4"_s, 3000},
        {u"Timer5"_s, 3000}, {u"Timer6"_s, 3000}, {u"Timer7"_s, 10000}, {u"Timer8"_s, 3000},
        {u"Timer9"_s, 3000}, {u"Timer10"_s, 3000}};
    for (WindowTimer* t : Timers(rig.form)) {
        QVERIFY(!t->isEnabled());
        QCOMPARE(t->interval(), intervals.at(t->objectName()));
    }
    QCOMPARE(rig.clock.armedCount(), 0);
    for (QPushButton* b : rig.form.findChildren<QPushButton*>()) {
        QCOMPARE(b->isEnabled(), b != rig.form.Command13);
    }
    rig.clock.advance(3'600'000);
    QCOMPARE(rig.form.Label4->text(), u"0"_s);
    for (QLineEdit* box : rig.form.findChildren<QLineEdit*>()) {
        QVERIFY(box->text().isEmpty());
    }
    QVERIFY(rig.form.Text4->text().isEmpty());
    QCOMPARE(velmora::ForeColor(*rig.form.Label5), 255u);
    QVERIFY(!rig.form.slots().DrawnDigit1 && !rig.form.slots().DrawnDigit2 &&
            !rig.form.slots().DrawnDigit3);
}

void TestForm1::tabVisitsTheDesignedOrderAndSkipsDisabled() {
    FormRig rig;
    rig.form.show();
    QApplication::setActiveWindow(&rig.form);
    QVERIFY(QTest::qWaitForWindowActive(&rig.form));
    QCOMPARE(QApplication::focusWidget(), rig.form.Text1);
    const QStringList cycle{u"Text2"_s,     u"Text3"_s,    u"Command1"_s, u"Text4"_s,
                            u"Command2"_s,  u"Command3"_s, u"Command4"_s, u"Command5"_s,
                            u"Command6"_s,  u"Command7"_s, u"Command8"_s, u"Command9"_s,
                            u"Command10"_s, u"Text5"_s,    u"Text6"_s,    u"Text7"_s,
                            u"Command11"_s, u"ccp"_s,      u"Text1"_s,    u"Text2"_s};
    QCOMPARE(TabWalk(int(cycle.size())), cycle);

    rig.form.Command13->setEnabled(true);
    rig.form.Command1->setEnabled(false);
    rig.form.Text1->setFocus();
    const QStringList changed{u"Text2"_s, u"Text3"_s, u"Text4"_s};
    QCOMPARE(TabWalk(3), changed);
    rig.form.ccp->setFocus();
    const QStringList wrap{u"Command13"_s, u"Text1"_s};
    QCOMPARE(TabWalk(2), wrap);
}

void TestForm1::targetBoxesTakeOneCharacterOfAnyKind() {
    FormRig rig;
    rig.form.show();
    for (QLineEdit* box : {rig.form.Text5, rig.form.Text6, rig.form.Text7}) {
        for (const QString& first : {u"7"_s, u"a"_s, u" "_s, u"七"_s}) {
            box->clear();
            box->setFocus();
            Type(box, first);
            QCOMPARE(box->text(), first);
            Type(box, u"5"_s);
            QCOMPARE(box->text(), first);
        }
        QApplication::clipboard()->setText(u"12"_s);
        box->clear();
        QTest::keySequence(box, QKeySequence::Paste);
        QCOMPARE(box->text(), u"1"_s);
    }
}

void TestForm1::displayAndLogBoxesRefuseInputButCopy() {
    FormRig rig;
    rig.digits.push({1, 2, 3, 4, 5, 6});
    rig.form.show();
    for (int i = 0; i < 2; ++i) {
        rig.form.Command1->click();
        rig.clock.advance(9050);
    }
    const QString log =
        u"第1次开奖结果:123"_s + QString(21, u' ') + u"第2次开奖结果:456"_s + QString(21, u' ');
    QCOMPARE(rig.form.Text4->text(), log);

    QApplication::clipboard()->setText(u"9"_s);
    for (QWidget* box : std::initializer_list<QWidget*>{rig.form.Text1, rig.form.Text2,
                                                        rig.form.Text3, rig.form.Text4}) {
        box->setFocus();
        QTest::keyClicks(box, u"x8"_s);
        QTest::keyClick(box, Qt::Key_Backspace);
        QTest::keyClick(box, Qt::Key_Delete);
        QTest::keySequence(box, QKeySequence::Paste);
        QTest::keySequence(box, QKeySequence::Cut);
    }
    QCOMPARE(rig.form.Text1->text() + rig.form.Text2->text() + rig.form.Text3->text(), u"456"_s);
    QCOMPARE(rig.form.Text4->text(), log);

    rig.form.Text2->setFocus();
    QTest::keySequence(rig.form.Text2, QKeySequence::SelectAll);
    QTest::keySequence(rig.form.Text2, QKeySequence::Copy);
    QCOMPARE(QApplication::clipboard()->text(), u"5"_s);
    // The log shows each record on a line of its own; a copy still gives the records as they are.
    rig.form.Text4->setFocus();
    QTest::keySequence(rig.form.Text4, QKeySequence::SelectAll);
    QTest::keySequence(rig.form.Text4, QKeySequence::Copy);
    QCOMPARE(QApplication::clipboard()->text(), log);
}

void TestForm1::screenReaderNames() {
    FormRig rig;
    for (QWidget* w : std::initializer_list<QWidget*>{
             rig.form.Text1, rig.form.Text2, rig.form.Text3, rig.form.Text4, rig.form.Text5,
             rig.form.Text6, rig.form.Text7, rig.form.Label4, rig.form.Image1}) {
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
        QVERIFY(a);
        const QString name = a->text(QAccessible::Name);
        QVERIFY2(!name.isEmpty() && name != w->objectName(), qPrintable(w->objectName()));
        QVERIFY(!a->text(QAccessible::Description).isEmpty());
    }
    QAccessibleInterface* button = QAccessible::queryAccessibleInterface(rig.form.Command1);
    QCOMPARE(button->text(QAccessible::Name), u"手动摇奖"_s);
}

void TestForm1::pictureAndIconAreDrawn() {
    FormRig rig;
    rig.form.show();
    const QImage picture = rig.form.Image1->grab().toImage();
    int red = 0;
    int white = 0;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const QColor c = picture.pixelColor(x, y);
            red += (c.red() > 150 && c.green() < 90 && c.blue() < 90) ? 1 : 0;
            white += (c.red() > 240 && c.green() > 240 && c.blue() > 240) ? 1 : 0;
        }
    }
    const int area = picture.width() * picture.height();
    QVERIFY2(red > area / 10, qPrintable(QString::number(red)));
    QVERIFY2(white > area / 5, qPrintable(QString::number(white)));
    const QIcon icon = rig.form.windowIcon();
    QVERIFY(!icon.isNull());
    QCOMPARE(icon.pixmap(32, 32).size(), QSize(32, 32) * rig.form.devicePixelRatioF());
}

void TestForm1::manualDrawThroughTheWindow() {
    FormRig rig;
    rig.digits.push({3, 6, 9});
    rig.form.show();
    QTest::mouseClick(rig.form.Command1, Qt::LeftButton);
    QCOMPARE(rig.form.Label4->text(), u"1"_s);
    QVERIFY(!rig.form.Command1->isEnabled());
    QVERIFY(!rig.form.Command11->isEnabled());
    rig.clock.advance(9050);
    QCOMPARE(rig.form.Text1->text() + rig.form.Text2->text() + rig.form.Text3->text(), u"369"_s);
    QCOMPARE(rig.form.Text4->text(), u"第1次开奖结果:369"_s + QString(21, u' '));
    QVERIFY(rig.form.Command1->isEnabled());
    QVERIFY(rig.form.Command11->isEnabled());
    QVERIFY(!rig.form.Command13->isEnabled());
    QTest::mouseClick(rig.form.ccp, Qt::LeftButton);
    QVERIFY(rig.form.Text4->text().isEmpty());
    QCOMPARE(rig.form.Label4->text(), u"1"_s);
}

void TestForm1::automaticSearchThroughTheWindow() {
    FormRig rig;
    rig.digits.push({1, 1, 1, 5, 0, 7});
    rig.form.show();
    QTest::keyClicks(rig.form.Text5, u"5"_s);
    QTest::keyClicks(rig.form.Text6, u"0"_s);
    QTest::keyClicks(rig.form.Text7, u"7"_s);
    QTest::mouseClick(rig.form.Command11, Qt::LeftButton);
    QVERIFY(rig.form.Command13->isEnabled());
    rig.clock.advance(30000);
    QCOMPARE(rig.messages.shown.size(), std::size_t{1});
    QCOMPARE(rig.messages.shown[0].text, u"找到昨天开奖号码"_s);
    QCOMPARE(rig.form.Label4->text(), u"2"_s);
    QVERIFY(!rig.form.Timer7.isEnabled());
    QVERIFY(rig.form.Command1->isEnabled());
}

void TestForm1::realWindowStartsIdleAndDraws() {
    // The program's own window, on real timers: built, started and sent one click, never shown.
    Form1 form;
    form.Load();
    for (WindowTimer* t : Timers(form)) {
        QVERIFY(!t->isEnabled());
    }
    QVERIFY(!form.Command13->isEnabled());
    form.Command1->click();
    QCOMPARE(form.Label4->text(), u"1"_s);
    QVERIFY(form.Timer1.isArmed());
    QVERIFY(form.Timer4.isArmed());
    QVERIFY(!form.Command1->isEnabled());
}

QTEST_MAIN(TestForm1)
#include "tst_form1.moc"
