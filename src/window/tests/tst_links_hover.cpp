#include "draw/logbox.h"
#include "formrig.h"
#include "window/look.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;
using velmora::ForeColor;
using velmora::test::FormRig;

namespace {

constexpr unsigned int kRed = 255;
constexpr unsigned int kBlue = 0xFF0000;

struct State {
    QString display, log, counter;
    QList<bool> timers;
    QList<bool> commands;
    bool operator==(const State&) const = default;
};

State Snapshot(FormRig& rig) {
    auto& f = rig.form;
    State s{f.Text1->text() + f.Text2->text() + f.Text3->text(),
            f.Text4->text(),
            f.Label4->text(),
            {},
            {}};
    for (auto* t : {&f.Timer1, &f.Timer2, &f.Timer3, &f.Timer4, &f.Timer5, &f.Timer6, &f.Timer7,
                    &f.Timer8, &f.Timer9, &f.Timer10}) {
        s.timers << t->isEnabled();
    }
    s.commands << f.Command1->isEnabled() << f.Command11->isEnabled() << f.Command13->isEnabled();
    return s;
}

// A plain move (no button) as the window system delivers it: to the widget under the pointer.
void MoveTo(QWidget* window, QPoint at, Qt::MouseButtons buttons = Qt::NoButton) {
    if (buttons == Qt::NoButton) {
        QTest::mouseMove(window, at);
        return;
    }
    QWidget* target = window->childAt(at);
    if (!target) {
        target = window;
    }
    const QPoint local = target->mapFrom(window, at);
    QMouseEvent move(QEvent::MouseMove, local, target->mapToGlobal(local), Qt::NoButton, buttons,
                     Qt::ShiftModifier);
    QApplication::sendEvent(target, &move);
}

QPoint CentreOf(QWidget* window, QWidget* w) {
    return w->mapTo(window, w->rect().center());
}

}  // namespace

class TestLinksHover : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void eachLinkOpensItsAddress_data();
    void eachLinkOpensItsAddress();
    void clicksDuringADrawLeaveItAlone();
    void browserFailureIsReportedAndTheProgramGoesOn();
    void hoverColours();
};

void TestLinksHover::eachLinkOpensItsAddress_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("address");
    // The addresses themselves are checked with the link table; here each control must open its
    // own one, and only once per click.
    const QStringList controls{u"Command2"_s,  u"Command3"_s, u"Command4"_s, u"Command5"_s,
                               u"Command6"_s,  u"Command7"_s, u"Command8"_s, u"Command9"_s,
                               u"Command10"_s, u"Label5"_s};
    for (const QString& control : controls) {
        const QString address = velmora::LinkAddress(control);
        QVERIFY(address.startsWith(u"http"_s));
        QTest::newRow(qPrintable(control)) << control << address;
    }
}

void TestLinksHover::eachLinkOpensItsAddress() {
    QFETCH(QString, control);
    QFETCH(QString, address);
    FormRig rig;
    rig.form.show();
    QWidget* w = rig.form.findChild<QWidget*>(control);
    QVERIFY(w);
    QTest::mouseClick(w, Qt::LeftButton);
    QCOMPARE(rig.browser.opened, QStringList{address});
    QTest::mouseClick(w, Qt::LeftButton);
    QCOMPARE(rig.browser.opened, (QStringList{address, address}));
    QVERIFY(rig.messages.shown.empty());
}

void TestLinksHover::clicksDuringADrawLeaveItAlone() {
    FormRig rig;
    rig.digits.push({2, 5, 8});
    rig.form.show();
    rig.form.Text5->setText(u"9"_s);
    rig.form.Text6->setText(u"9"_s);
    rig.form.Text7->setText(u"9"_s);
    rig.form.Command11->click();
    rig.clock.advance(14000);  // an automatic draw is under way
    const State before = Snapshot(rig);
    for (const auto& name : {u"Command2"_s, u"Command6"_s, u"Command10"_s, u"Label5"_s}) {
        QTest::mouseClick(rig.form.findChild<QWidget*>(name), Qt::LeftButton);
    }
    QCOMPARE(rig.browser.opened.size(), 4);
    QVERIFY(Snapshot(rig) == before);
    rig.clock.advance(5000);
    QVERIFY(rig.form.Text4->text().startsWith(u"第1次开奖结果:258"_s));
}

void TestLinksHover::browserFailureIsReportedAndTheProgramGoesOn() {
    FormRig rig;
    rig.browser.works = false;
    rig.digits.push({1, 2, 3});
    rig.form.show();
    rig.form.Command1->click();
    rig.clock.advance(4000);
    const State before = Snapshot(rig);
    rig.form.Command3->click();
    QCOMPARE(rig.messages.shown.size(), std::size_t{1});
    QVERIFY(rig.messages.shown[0].text.contains(velmora::ChartSite() +
                                                u"/datachart/3d_jibenzoushitu.html"_s));
    QVERIFY(!rig.messages.shown[0].title.isEmpty());
    QVERIFY(Snapshot(rig) == before);
    QVERIFY(rig.form.isVisible());
    rig.clock.advance(6000);
    QVERIFY(rig.form.Text4->text().startsWith(u"第1次开奖结果:123"_s));
}

void TestLinksHover::hoverColours() {
    FormRig rig;
    QWidget* window = &rig.form;
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    const QPoint label = CentreOf(window, rig.form.Label5);
    const QPoint freeSurface(velmora::Twips(60), velmora::Twips(7200));  // left of the link label
    QVERIFY(!window->childAt(freeSurface));
    QCOMPARE(ForeColor(*rig.form.Label5), kRed);

    MoveTo(window, label);
    QCOMPARE(ForeColor(*rig.form.Label5), kBlue);
    MoveTo(window, freeSurface);
    QCOMPARE(ForeColor(*rig.form.Label5), kRed);

    // Leaving the label straight onto a control keeps it blue until free surface is crossed.
    for (QWidget* other :
         std::initializer_list<QWidget*>{rig.form.Command10, rig.form.Frame1, rig.form.WebBrowser2,
                                         rig.form.Text4, rig.form.Label8}) {
        MoveTo(window, label);
        MoveTo(window, CentreOf(window, other));
        QVERIFY2(ForeColor(*rig.form.Label5) == kBlue, qPrintable(other->objectName()));
        MoveTo(window, CentreOf(window, other), Qt::LeftButton);
        QVERIFY2(ForeColor(*rig.form.Label5) == kBlue, qPrintable(other->objectName()));
        MoveTo(window, freeSurface);
        QCOMPARE(ForeColor(*rig.form.Label5), kRed);
    }

    // Buttons and shift keys play no part.
    MoveTo(window, label, Qt::LeftButton);
    QCOMPARE(ForeColor(*rig.form.Label5), kBlue);
    MoveTo(window, freeSurface, Qt::RightButton);
    QCOMPARE(ForeColor(*rig.form.Label5), kRed);
    QVERIFY(rig.browser.opened.isEmpty());
}

QTEST_MAIN(TestLinksHover)
#include "tst_links_hover.moc"
