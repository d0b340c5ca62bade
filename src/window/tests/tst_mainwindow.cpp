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
#include <QGroupBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;
using namespace velmora;
using velmora::test::Record;
using velmora::test::ScriptedDigits;

namespace {

struct Outside final : Messages, UrlOpener {
    QStringList seen;
    bool browserWorks = true;
    void show(const QString& text, const QString& title) override {
        seen << title + u": "_s + text;
    }
    bool openAddress(const QString& address) override {
        seen << address;
        return browserWorks;
    }
};

// The window with the outside world replaced and no web engine.
struct Window {
    VirtualClock clock;
    ScriptedDigits digits{3, 6, 9};
    Outside outside;
    MainWindow w{{clock, digits, outside, outside, false}};

    template <typename T = QWidget>
    T* find(const QString& name) {
        return w.findChild<T*>(name);
    }
    QPoint centreOf(QWidget* control) { return control->mapTo(&w, control->rect().center()); }
};

QStringList TabWalk(int steps) {
    QStringList names;
    for (int i = 0; i < steps; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        names << QApplication::focusWidget()->objectName();
    }
    return names;
}

}  // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void controlsStandWhereDesigned() {
        // Name, container, left, top, width, height in twips, and points of the font.
        const QString designed =
            uR"(
            Label2 Form1 5280 120 495 375 15.75      Label4 Form1 5880 120 855 375 15.75
            Label3 Form1 6840 120 615 375 15.75      Label7 Form1 2520 600 1815 255 9
            Label9 Form1 5160 600 2415 255 9         Label8 Form1 2520 1920 2415 255 9
            Label5 Form1 120 7080 2415 255 9         Image1 Form1 120 120 315 435 7.5
            WebBrowser1 Form1 600 120 4455 375 7.5   WebBrowser2 Form1 120 7440 4935 615 7.5
            Text1 Form1 2520 840 615 855 36          Text2 Form1 3480 840 615 855 36
            Text3 Form1 4440 840 600 855 36          Text5 Form1 2520 2160 615 495 26.25
            Text6 Form1 3480 2160 615 495 26.25      Text7 Form1 4440 2160 615 495 26.25
            Text4 Form1 5160 840 2340 7215 10.5      Command1 Form1 2520 2760 1215 375 9
            Command11 Form1 3840 2760 1215 375 9     ccp Form1 2520 3240 1215 375 9
            Command13 Form1 3840 3240 1215 375 9     Frame1 Form1 120 720 2295 6255 10.5
            Command2 Frame1 240 360 1815 375 10.5    Command3 Frame1 240 960 1815 375 10.5
            Command4 Frame1 240 1560 1815 375 10.5   Command5 Frame1 240 2160 1815 375 10.5
            Command6 Frame1 240 2760 1815 375 10.5   Command7 Frame1 240 3360 1815 375 10.5
            Command8 Frame1 240 3960 1815 375 10.5   Command9 Frame1 240 4560 1815 375 10.5
            Command10 Frame1 240 5160 1815 375 10.5  Frame2 Form1 2520 3840 2535 3135 9
            Label1 Frame2 120 240 2295 2775 9)"_s;
        Window win;
        QCOMPARE(win.w.size(), QSize(515, 549));
        const QStringList words = designed.simplified().split(u' ');
        QCOMPARE(words.size(), 33 * 7);
        for (qsizetype i = 0; i < words.size(); i += 7) {
            QWidget* control = win.find(words[i]);
            const QRect twips(words[i + 2].toInt(), words[i + 3].toInt(), words[i + 4].toInt(),
                              words[i + 5].toInt());
            QCOMPARE(control->parentWidget()->objectName(), words[i + 1]);
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

    void theRealWindowAsksWithAModalBoxThatHasOneOkButton() {
        MainWindow real;  // real timers, digits, boxes and browser
        QString seen;
        QTimer::singleShot(0, &real, [&seen] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            seen = box->windowTitle() + u": "_s + box->text() + u" ["_s +
                   box->buttons().constFirst()->text() + u"] "_s +
                   QString::number(box->buttons().size());
            box->buttons().constFirst()->click();
        });
        QTest::mouseClick(real.findChild<QWidget*>(u"Command11"_s), Qt::LeftButton);
        QCOMPARE(
            seen,
            u"自动摇奖提示框: 请按照出球顺序填全上期开奖结果，以便于系统进行对比自动摇号 [确定] 1"_s);
    }

    void framesDrawTheirCaptionOnAnUnbrokenBorderLine() {
        Window win;
        for (const QString& name : {u"Frame1"_s, u"Frame2"_s}) {
            auto* frame = win.find<QGroupBox>(name);
            const QImage image = frame->grab().toImage();
            const QFontMetrics metrics(frame->font());
            const int line = metrics.height() / 2,
                      captionEnd = metrics.horizontalAdvance(frame->title()) +
                                   2 * metrics.averageCharWidth();
            const QRgb border = frame->palette().color(QPalette::Mid).rgb();
            QVERIFY2(image.pixel(1, line) == border, qPrintable(name));
            for (int x = captionEnd + 1; x < image.width() - 2; ++x) {
                QVERIFY2(image.pixel(x, line) == border, qPrintable(name + u" gap at %1"_s.arg(x)));
            }
            int ink = 0;  // caption pixels above and below the line
            for (int y = 0; y < metrics.height(); ++y) {
                ink += y != line && qGray(image.pixel(captionEnd / 2, y)) < 200 ? 1 : 0;
            }
            QVERIFY2(ink > 0, qPrintable(name));
        }
    }

    void aManualDrawShowsOnTheControlsWhichRefuseTypingButCopy() {
        Window win;
        QVERIFY(!win.find(u"Command13"_s)->isEnabled());
        QTest::mouseClick(win.find(u"Command1"_s), Qt::LeftButton);
        QCOMPARE(win.find<QLabel>(u"Label4"_s)->text(), u"1"_s);
        QVERIFY(!win.find(u"Command1"_s)->isEnabled() && !win.find(u"Command11"_s)->isEnabled());
        win.clock.advance(9000);
        QVERIFY(win.find(u"Command1"_s)->isEnabled() && win.find(u"Command11"_s)->isEnabled());
        auto* log = win.find<LogBox>(u"Text4"_s);
        QVERIFY(log->textCursor().atEnd());
        const QStringList expected{u"3"_s, u"6"_s, u"9"_s, Record(1, u"369"_s)};
        for (const QString& name : {u"Text1"_s, u"Text2"_s, u"Text3"_s, u"Text4"_s}) {
            QWidget* box = win.find(name);
            QTest::keyClicks(box, u"x"_s);
            QTest::keyClick(box, Qt::Key_Backspace);
            QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClick(box, Qt::Key_C, Qt::ControlModifier);
            QCOMPARE(QApplication::clipboard()->text(), expected[name.back().digitValue() - 1]);
        }
        QTest::mouseClick(win.find(u"ccp"_s), Qt::LeftButton);
        QCOMPARE(log->text(), QString());
    }

    void typedTargetsStartTheSearchAndCancelStopsIt() {
        Window win;
        QTest::keyClicks(win.find(u"Text5"_s), u"99"_s);  // one character per box
        QTest::keyClicks(win.find(u"Text6"_s), u"a"_s);
        QTest::mouseClick(win.find(u"Command11"_s), Qt::LeftButton);
        QVERIFY(win.outside.seen.last().startsWith(u"自动摇奖提示框"_s));
        QTest::keyClicks(win.find(u"Text7"_s), u" "_s);
        QTest::mouseClick(win.find(u"Command11"_s), Qt::LeftButton);
        QCOMPARE(win.find<QLineEdit>(u"Text5"_s)->text(), u"9"_s);
        QVERIFY(win.find(u"Command13"_s)->isEnabled());
        win.clock.advance(10000);
        QCOMPARE(win.find<QLabel>(u"Label4"_s)->text(), u"1"_s);
        QTest::mouseClick(win.find(u"Command13"_s), Qt::LeftButton);
        QCOMPARE(win.outside.seen.last(), u"摇奖提示框: 本次摇奖结束后，将停止继续摇奖"_s);
        QVERIFY(!win.find(u"Command13"_s)->isEnabled());
    }

    void keyboardWalksTheDesignedOrderAndEnterPressesButtons() {
        Window win;
        win.w.show();
        QVERIFY(QTest::qWaitForWindowActive(&win.w));
        QCOMPARE(QApplication::focusWidget()->objectName(), u"Text1"_s);
        QCOMPARE(TabWalk(21),
                 (QStringList{u"Text2"_s,     u"Text3"_s,    u"Command1"_s, u"Text4"_s,
                              u"Command2"_s,  u"Command3"_s, u"Command4"_s, u"Command5"_s,
                              u"Command6"_s,  u"Command7"_s, u"Command8"_s, u"Command9"_s,
                              u"Command10"_s, u"Text5"_s,    u"Text6"_s,    u"Text7"_s,
                              u"Command11"_s, u"ccp"_s,      u"Text1"_s,    u"Text2"_s,
                              u"Text3"_s}));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(win.find<QLabel>(u"Label4"_s)->text(), u"1"_s);
        QTest::keyClick(win.find(u"Command11"_s), Qt::Key_Space);
        QCOMPARE(win.outside.seen.size(), 0);  // disabled while the draw runs
    }

    void linksOpenOnePagePerClick() {
        Window win;
        QStringList expected;
        for (const ExternalLink& link : ExternalLinks()) {
            auto* control = win.find(link.control.toString());
            QTest::mouseClick(control, Qt::LeftButton);
            expected << LinkAddress(link.control);
        }
        // A double click as the window system delivers it: click, press, double click, release.
        QWidget* label = win.find(u"Label5"_s);
        QTest::mouseClick(label, Qt::LeftButton);
        QTest::mousePress(label, Qt::LeftButton);
        QTest::mouseDClick(label, Qt::LeftButton);
        QTest::mouseRelease(label, Qt::LeftButton);
        expected << LinkAddress(u"Label5");
        QCOMPARE(win.outside.seen, expected);
        win.outside.browserWorks = false;
        QTest::mouseClick(win.find(u"Command10"_s), Qt::LeftButton);
        QVERIFY(win.outside.seen.last().startsWith(u"打开网页失败: 无法打开网页：\n"_s +
                                                   LinkAddress(u"Command10")));
    }

    void linkLabelTurnsBlueUnderThePointerAndRedOnFreeSurface() {
        Window win;
        win.w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&win.w));
        QWidget* link = win.find(u"Label5"_s);
        const unsigned int red = 255, blue = 0xFF0000;  // as 0x00BBGGRR
        const QList<std::pair<QPoint, unsigned int>> moves{
            {QPoint(2, 300), red},
            {win.centreOf(link), blue},
            {win.centreOf(win.find(u"Command1"_s)), blue},  // straight onto a control
            {QPoint(2, 300), red},
        };
        QCOMPARE(ForeColor(*link), red);
        for (const auto& [at, colour] : moves) {
            QTest::mouseMove(&win.w, at);
            QTRY_COMPARE(ForeColor(*link), colour);
        }
        QVERIFY(!win.w.panes().enginePresent());  // this window was made without panes
    }

    void screenReadersHearTheCounterReelsAndRecords() {
        Window win;
        auto spoken = [&win](const QString& name, QAccessible::Text text) {
            return QAccessible::queryAccessibleInterface(win.find(name))->text(text);
        };
        QCOMPARE(spoken(u"Label4"_s, QAccessible::Name), u"第 0 次"_s);
        QTest::mouseClick(win.find(u"Command1"_s), Qt::LeftButton);
        win.clock.advance(9000);
        QCOMPARE(spoken(u"Label4"_s, QAccessible::Name), u"第 1 次"_s);
        QCOMPARE(spoken(u"Text3"_s, QAccessible::Value), u"9"_s);
        QCOMPARE(spoken(u"Text3"_s, QAccessible::Description), u"开出号码 9"_s);
        QCOMPARE(spoken(u"Text4"_s, QAccessible::Description), u"最新记录：第1次开奖结果:369"_s);
        QTest::mouseClick(win.find(u"Command1"_s), Qt::LeftButton);
        QVERIFY(spoken(u"Text3"_s, QAccessible::Description).startsWith(u"本次摇奖的第三位号码"_s));
    }

    void fontsKeepTheDesignedLayout() {
        if (qEnvironmentVariable("FONTCONFIG_FILE").contains(u"noto"_s)) {
            QVERIFY(QFontDatabase::families().contains(u"Noto Serif CJK SC"_s));
        }
        Window win;
        auto* heading = win.find<QLabel>(u"Label2"_s);
        const QString face = QFontInfo(heading->font()).family();
        qInfo("face: %s", qPrintable(face));
        for (const QString& name : {u"Label2"_s, u"Label3"_s}) {
            auto* label = win.find<QLabel>(name);
            const QFontMetrics metrics(label->font());
            QVERIFY2(metrics.horizontalAdvance(label->text()) <= label->width(),
                     qPrintable(face + u" wraps "_s + label->text()));
        }
        // The designed face draws the help text in lines of 12 px, 12 characters wide.
        auto* help = win.find<QLabel>(u"Label1"_s);
        const QFontMetrics helpMetrics(help->font());
        QVERIFY2(helpMetrics.lineSpacing() <= 13 && helpMetrics.horizontalAdvance(u'我') <= 12,
                 qPrintable(face));
        // A typed digit's ink stays clear of the edges its box clips at.
        auto* target = win.find<QLineEdit>(u"Text5"_s);
        target->setText(u"8"_s);
        const QImage image = target->grab().toImage();
        const QRect clip = target->contentsRect().adjusted(2, 2, -2, -2);
        int top = clip.bottom(), bottom = clip.top();
        for (int y = clip.top(); y <= clip.bottom(); ++y) {
            for (int x = clip.left(); x <= clip.right(); ++x) {
                if (qGray(image.pixel(x, y)) < 128) {
                    top = std::min(top, y);
                    bottom = std::max(bottom, y);
                }
            }
        }
        QVERIFY2(top > clip.top() && bottom < clip.bottom(), qPrintable(face + u" clips 8"_s));
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
