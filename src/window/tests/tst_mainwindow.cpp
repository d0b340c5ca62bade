#include "control/messages.h"
#include "enginetest.h"
#include "web/links.h"
#include "web/panehost.h"
#include "window/controls.h"
#include "window/look.h"
#include "window/mainwindow.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QFontDatabase>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;
using namespace velmora;
using velmora::test::Record;

namespace {

// The window with the outside world replaced: boxes and pages opened go to `seen`.
struct Window final : Messages, UrlOpener {
    void show(const QString& text, const QString& title) override {
        seen << title + u": "_s + text;
    }
    bool openAddress(const QString& address) override {
        seen << address;
        return browserWorks;
    }
    template <typename T = QWidget>
    T* find(const QString& name) {
        return w.findChild<T*>(name);
    }
    void click(const QString& name) { QTest::mouseClick(find(name), Qt::LeftButton); }
    QString spoken(const QString& name, QAccessible::Text text) {
        return QAccessible::queryAccessibleInterface(find(name))->text(text);
    }

    QStringList seen;
    bool browserWorks = true;
    VirtualClock clock;
    test::ScriptedDigits digits{3, 6, 9};
    MainWindow w{{clock, digits, *this, *this, false}};
};

}  // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void controlsStandWhereDesigned() {
        // Name, container ("." for the window), left, top, width, height in twips, font size.
        const QString designed =
            uR"(
        Label2 . 5280 120 495 375 15.75  Label4 . 5880 120 855 375 15.75
        Label3 . 6840 120 615 375 15.75  Label7 . 2520 600 1815 255 9  Label9 . 5160 600 2415 255 9
        Label8 . 2520 1920 2415 255 9  Label5 . 120 7080 2415 255 9  Image1 . 120 120 315 435 7.5
        WebBrowser1 . 600 120 4455 375 7.5  WebBrowser2 . 120 7440 4935 615 7.5
        Text1 . 2520 840 615 855 36  Text2 . 3480 840 615 855 36  Text3 . 4440 840 600 855 36
        Text5 . 2520 2160 615 495 26.25  Text6 . 3480 2160 615 495 26.25
        Text7 . 4440 2160 615 495 26.25  Text4 . 5160 840 2340 7215 10.5
        Command1 . 2520 2760 1215 375 9  Command11 . 3840 2760 1215 375 9
        ccp . 2520 3240 1215 375 9  Command13 . 3840 3240 1215 375 9
        Frame1 . 120 720 2295 6255 10.5  Command2 Frame1 240 360 1815 375 10.5
        Command3 Frame1 240 960 1815 375 10.5  Command4 Frame1 240 1560 1815 375 10.5
        Command5 Frame1 240 2160 1815 375 10.5  Command6 Frame1 240 2760 1815 375 10.5
        Command7 Frame1 240 3360 1815 375 10.5  Command8 Frame1 240 3960 1815 375 10.5
        Command9 Frame1 240 4560 1815 375 10.5  Command10 Frame1 240 5160 1815 375 10.5
        Frame2 . 2520 3840 2535 3135 9  Label1 Frame2 120 240 2295 2775 9)"_s;
        Window win;
        QCOMPARE(win.w.size(), QSize(515, 549));
        const QStringList words = designed.simplified().split(u' ');
        QCOMPARE(words.size(), 33 * 7);
        for (qsizetype i = 0; i < words.size(); i += 7) {
            QWidget* control = win.find(words[i]);
            const QRect twips(words[i + 2].toInt(), words[i + 3].toInt(), words[i + 4].toInt(),
                              words[i + 5].toInt());
            QCOMPARE(control->parentWidget()->objectName(),
                     words[i + 1] == u"."_s ? u"Form1"_s : words[i + 1]);
            QCOMPARE(control->geometry(), QRect(twips.topLeft() / 15, twips.size() / 15));
            QCOMPARE(control->font().pointSizeF(), words[i + 6].toDouble());
        }
        // Headings reach one pixel into the boxes under them, and the boxes are drawn over them.
        const QObjectList stacking = win.w.children();
        for (auto [heading, box] : {std::pair{u"Label7"_s, u"Text2"_s},
                                    {u"Label9"_s, u"Text4"_s},
                                    {u"Label8"_s, u"Text7"_s}}) {
            QVERIFY(win.find(heading)->geometry().intersects(win.find(box)->geometry()));
            QVERIFY(stacking.indexOf(win.find(box)) > stacking.indexOf(win.find(heading)));
        }
    }

    void aManualDrawShowsOnTheControlsAndToScreenReaders() {
        Window win;
        QVERIFY(!win.find(u"Command13"_s)->isEnabled());
        win.click(u"Command1"_s);
        QCOMPARE(win.find<QLabel>(u"Label4"_s)->text(), u"1"_s);
        QCOMPARE(win.spoken(u"Label4"_s, QAccessible::Name), u"第 1 次"_s);
        QVERIFY(!win.find(u"Command1"_s)->isEnabled() && !win.find(u"Command11"_s)->isEnabled());
        win.clock.advance(9000);
        QVERIFY(win.find(u"Command1"_s)->isEnabled() && win.find(u"Command11"_s)->isEnabled());
        QVERIFY(win.find<LogBox>(u"Text4"_s)->textCursor().atEnd());
        QCOMPARE(win.spoken(u"Text3"_s, QAccessible::Description), u"开出号码 9"_s);
        QCOMPARE(win.spoken(u"Text4"_s, QAccessible::Description),
                 u"最新记录：第1次开奖结果:369"_s);
        // The display and the log refuse typing but copy, without the log's layout breaks.
        QTest::keyClicks(win.find(u"Text1"_s), u"x"_s);
        win.click(u"Command1"_s);
        win.clock.advance(9000);
        QTest::keyClicks(win.find(u"Text4"_s), u"x"_s);
        QTest::keyClick(win.find(u"Text4"_s), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(win.find(u"Text4"_s), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), Record(1, u"369"_s) + Record(2, u"000"_s));
        win.click(u"ccp"_s);
        QCOMPARE(win.find<LogBox>(u"Text4"_s)->text(), QString());
        win.click(u"Command1"_s);
        QVERIFY(win.spoken(u"Text3"_s, QAccessible::Description).startsWith(u"本次摇奖的"_s));
    }

    void theKeyboardWalksTheDesignedOrderTypesTargetsAndPressesButtons() {
        Window win;
        win.w.show();
        QVERIFY(QTest::qWaitForWindowActive(&win.w));
        QVERIFY(win.find<LogBox>(u"Text4"_s)->verticalScrollBar()->isVisible());  // even when empty
        // The chain holds the designed order, with the panes' places kept for their page views.
        QStringList chain;
        for (QWidget* w = win.find(u"Text1"_s); chain.size() < 22; w = w->nextInFocusChain()) {
            if (w->focusPolicy() & Qt::TabFocus || w->objectName().startsWith(u"WebBrowser"_s)) {
                chain << w->objectName();
            }
        }
        QCOMPARE(chain.join(u' '),
                 u"Text1 Text2 Text3 Command1 Text4 Command2 Command3 Command4 "
                 u"Command5 Command6 Command7 Command8 Command9 Command10 "
                 u"WebBrowser1 Text5 Text6 Text7 Command11 ccp Command13 "
                 u"WebBrowser2"_s);
        // Tab passes over empty places and the disabled cancel command, and wraps around.
        auto tabFrom = [&win](const QString& name) {
            win.find(name)->setFocus();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            return QApplication::focusWidget()->objectName();
        };
        QCOMPARE(tabFrom(u"Command10"_s) + u' ' + tabFrom(u"ccp"_s), u"Text5 Text1"_s);
        QTest::keyClicks(win.find(u"Text5"_s), u"99"_s);  // one character of any kind per box
        QTest::keyClicks(win.find(u"Text6"_s), u"a"_s);
        QTest::keyClicks(win.find(u"Text7"_s), u" "_s);
        QCOMPARE(win.find<QLineEdit>(u"Text5"_s)->text(), u"9"_s);
        win.find(u"Command11"_s)->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QVERIFY(win.find(u"Command13"_s)->isEnabled());
        win.clock.advance(10000);
        QTest::keyClick(win.find(u"Command13"_s), Qt::Key_Space);
        QCOMPARE(win.seen, QStringList{u"摇奖提示框: 本次摇奖结束后，将停止继续摇奖"_s});
    }

    void linksOpenOnePagePerClickAndTheLabelFollowsThePointer() {
        Window win;
        win.w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&win.w));
        const unsigned int red = 255, blue = 0xFF0000;  // as 0x00BBGGRR
        const QPoint freeSurface(2, 300);
        for (auto [at, colour] : {std::pair{freeSurface, red},
                                  {win.find(u"Label5"_s)->geometry().center(), blue},
                                  {QPoint(200, 196), blue},  // straight onto a button
                                  {freeSurface, red}}) {
            QTest::mouseMove(&win.w, at);
            QTRY_COMPARE(ForeColor(*win.find(u"Label5"_s)), colour);
        }
        QStringList expected;
        for (const ExternalLink& link : ExternalLinks()) {
            win.click(link.control.toString());
            expected << LinkAddress(link.control);
        }
        // A double click as the window system delivers it: click, press, double click, release.
        QWidget* label = win.find(u"Label5"_s);
        win.click(u"Label5"_s);
        QTest::mousePress(label, Qt::LeftButton);
        QTest::mouseDClick(label, Qt::LeftButton);
        QTest::mouseRelease(label, Qt::LeftButton);
        QCOMPARE(win.seen, expected << LinkAddress(u"Label5"));
        win.browserWorks = false;
        win.click(u"Command10"_s);
        QVERIFY(win.seen.last().startsWith(u"打开网页失败: 无法打开网页：\n"_s +
                                           LinkAddress(u"Command10")));
        QVERIFY(!win.w.panes().enginePresent());  // this window was made without panes
    }

    void theRealWindowAsksWithAModalBoxThatHasOneOkButton() {
        MainWindow real;  // real timers, digits, boxes and browser
        QString seen;
        QTimer::singleShot(0, &real, [&seen] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            QAbstractButton* ok = box->buttons().constFirst();
            seen = box->windowTitle() + u": "_s + box->text() + u" ["_s + ok->text() + u"] "_s +
                   QString::number(box->buttons().size());
            ok->click();
        });
        QTest::mouseClick(real.findChild<QWidget*>(u"Command11"_s), Qt::LeftButton);
        QCOMPARE(seen,
                 u"自动摇奖提示框: 请按照出球顺序填全上期开奖结果，以便于系统进行对比自动摇号 "
                 u"[确定] 1"_s);
    }

    void fontsKeepTheDesignedLayout() {
        if (qEnvironmentVariable("FONTCONFIG_FILE").contains(u"noto"_s)) {
            QVERIFY(QFontDatabase::families().contains(u"Noto Serif CJK SC"_s));
        }
        Window win;
        const QString face = QFontInfo(win.find(u"Label2"_s)->font()).family();
        for (const QString& name : {u"Label2"_s, u"Label3"_s}) {
            auto* label = win.find<QLabel>(name);
            QVERIFY2(QFontMetrics(label->font()).horizontalAdvance(label->text()) <= label->width(),
                     qPrintable(face + u" wraps "_s + label->text()));
        }
        // The designed face draws the help text in lines of 12 px, 12 characters wide.
        const QFontMetrics help(win.find(u"Label1"_s)->font());
        QVERIFY2(help.lineSpacing() <= 13 && help.horizontalAdvance(u'我') <= 12, qPrintable(face));
        QVERIFY(win.find(u"Label1"_s)->heightForWidth(153) > 10 * help.lineSpacing());  // wraps
        // A typed digit's ink stays clear of the edges its box clips at.
        auto* target = win.find<QLineEdit>(u"Text5"_s);
        target->setText(u"8"_s);
        const QImage image = target->grab().toImage();
        const QRect clip = target->contentsRect().adjusted(2, 2, -2, -2);
        auto inked = [&image, &clip](int y) {
            for (int x = clip.left(); x <= clip.right(); ++x) {
                if (qGray(image.pixel(x, y)) < 128) {
                    return true;
                }
            }
            return false;
        };
        QVERIFY2(inked(clip.center().y()) && !inked(clip.top()) && !inked(clip.bottom()),
                 qPrintable(face + u" clips 8"_s));
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
