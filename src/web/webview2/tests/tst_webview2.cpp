// The Windows panes against a stand-in WebView2 runtime, registered in the test's Wine prefix as
// the runtime registers itself, on real (X11) windows. After every test the stand-in reports what
// the program did wrong: leaks, calls to released objects, a second controller in a window.
#include "web/links.h"
#include "web/pagescripts.h"
#include "web/panehost.h"

#include <QAction>
#include <QDeadlineTimer>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QSettings>
#include <QTest>

#include <tuple>
#include <utility>

#include <windows.h>

using namespace Qt::StringLiterals;

// The stand-in's side for the tests, loaded from where the runtime is registered.
extern "C" {
void StandInReset(bool synchronous, int environments, int controllers, HRESULT failure);
void StandInHold(bool holding);
void StandInUpdate();
const wchar_t* StandInLog();
bool StandInIdle();
const wchar_t* StandInErrors();
void StandInRaise(HWND parent, int event, LPCWSTR text, int number, BOOL flag);
}

namespace {

constexpr int kTimeout = 20000;
constexpr int kProcessFailed = 25, kMoveFocusRequested = 113, kGotFocus = 115,
              kAcceleratorKeyPressed = 119;
// Events of a page by name: the stand-in's number of each, and what the program answers to it.
const QMap<QString, std::pair<int, QString>> kEvents{{u"navigation"_s, {7, {}}},
                                                     {u"redirected"_s, {7, {}}},
                                                     {u"frame"_s, {17, {}}},
                                                     {u"permission"_s, {23, u"permission 2"_s}},
                                                     {u"window"_s, {44, u"handled 1"_s}},
                                                     {u"download"_s, {75, u"cancel 1"_s}}};

enum class Runtime { PerMachine, PerUser, Stale, None };

// Registered as the runtime's installer does, in the registry's 32-bit view.
void Register(Runtime runtime) {
    const QString folder = u"Z:"_s +
                           QDir::toNativeSeparators(QString::fromUtf8(VELMORA_STANDIN_RUNTIME)) +
                           (runtime == Runtime::Stale ? u"0"_s : QString());
    for (const bool user : {false, true}) {
        QSettings state((user ? u"HKEY_CURRENT_USER"_s : u"HKEY_LOCAL_MACHINE"_s) +
                            u"\\Software\\Microsoft\\EdgeUpdate\\ClientState\\"
                            u"{F3017226-FE2A-4295-8BDF-00C3A9A7E4C5}"_s,
                        QSettings::Registry32Format);
        state.remove(u"EBWebView"_s);
        if (runtime != Runtime::None && user == (runtime == Runtime::PerUser)) {
            state.setValue(u"EBWebView"_s, folder);
        }
    }
}

// The stand-in's log, each line after the name of its place.
QString Log() {
    return QString::fromWCharArray(StandInLog());
}

HWND Handle(QWidget* widget) {
    return reinterpret_cast<HWND>(widget->winId());
}

void HoldControl(bool held) {
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_CONTROL] = held ? 0x80 : 0;
    SetKeyboardState(keys);
}

// A change of scale changes the place's size in physical pixels without a resize of Qt's.
class NoResize final : public QObject {
protected:
    bool eventFilter(QObject*, QEvent* event) override { return event->type() == QEvent::Resize; }
};

int printed = 0;

}  // namespace

class TestWebView2 : public QObject, public velmora::UrlOpener {
    Q_OBJECT

    // Two places as the window has them, each after a box in the Tab order.
    struct Window {
        QWidget widget;
        QLineEdit* a = new QLineEdit(&widget);
        QWidget* upper = new QWidget(&widget);
        QLineEdit* b = new QLineEdit(&widget);
        QWidget* lower = new QWidget(&widget);
        velmora::PaneHost host;

        explicit Window(velmora::UrlOpener& opener) : host(*upper, *lower, opener) {
            upper->setGeometry(40, 30, 297, 25);
            lower->setGeometry(8, 90, 329, 41);
            b->move(0, 60);
            widget.resize(400, 140);
            SetWindowTextW(Handle(upper), L"upper");
            SetWindowTextW(Handle(lower), L"lower");
            host.NavigateLower(velmora::LowerPaneAddress());
            host.NavigateUpper(velmora::UpperPaneAddress());
            widget.show();
            host.loadEngine();
        }
        // Both pages are shown, the lower `times` times without scroll bars, and the stand-in has
        // nothing left to do.
        bool up(int times = 1) const {
            return QTest::qWaitFor(
                [this, times] {
                    const QString log = Log();
                    return log.contains(u"upper navigate "_s) &&
                           (lower == nullptr ||
                            log.count(u"lower script "_s + velmora::kHideScrollBars) >= times) &&
                           StandInIdle();
                },
                kTimeout);
        }
    };

    QStringList opened_;

    void openAddress(const QString& address, std::function<void(bool)>) override {
        opened_ << address;
    }

private Q_SLOTS:
    void initTestCase() {
        // Wine lacks one call that Qt's windows platform makes for each window, and says so.
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString& m) {
            printed += m.startsWith(u"EnableNonClientDpiScaling()"_s) ? 0 : 1;
        });
    }

    void init() {
        Register(Runtime::PerMachine);
        StandInReset(false, 0, 0, S_OK);
        opened_.clear();
    }

    void cleanup() {
        StandInHold(false);
        QTRY_VERIFY_WITH_TIMEOUT(StandInIdle(), kTimeout);
        QCOMPARE(QString::fromWCharArray(StandInErrors()), QString());
    }

    void cleanupTestCase() { QCOMPARE(printed, 0); }

    void panesShowTheirPages_data() {
        QTest::addColumn<Runtime>("runtime");
        QTest::addColumn<bool>("synchronous");
        QTest::newRow("per machine") << Runtime::PerMachine << false;
        QTest::newRow("per user, answers at once") << Runtime::PerUser << true;
    }

    void panesShowTheirPages() {
        QFETCH(Runtime, runtime);
        QFETCH(bool, synchronous);
        Register(runtime);
        StandInReset(synchronous, 0, 0, S_OK);
        Window w(*this);
        QVERIFY(w.up());
        const QString log = Log();
        QVERIFY(log.startsWith(u"environment 1 0 "_s + qEnvironmentVariable("LOCALAPPDATA") +
                               u"\\velmora\\WebView2\n"_s));
        for (QWidget* place : {w.upper, w.lower}) {
            const QString name = place == w.upper ? u"upper "_s : u"lower "_s;
            const QSize size = place->size() * place->devicePixelRatio();  // whatever the scale
            for (const QString& line :
                 {u"controller, private 1\n"_s, u"status bar 0\n"_s, u"dev tools 0\n"_s,
                  u"accelerator keys 0\n"_s, u"visible 1\n"_s,
                  u"bounds 0 0 %1 %2\n"_s.arg(size.width()).arg(size.height()),
                  u"script at creation "_s + velmora::kDownloadLinksAsWindows + u'\n'}) {
                QVERIFY2(log.contains(name + line), qPrintable(name + line));
            }
        }
        QVERIFY(log.contains(u"lower script at creation "_s + velmora::kHideScrollBars));
        QVERIFY(!log.contains(u"upper script "_s + velmora::kHideScrollBars));
        QVERIFY(!log.contains(u"upper script at creation "_s + velmora::kHideScrollBars));
        // Each pane goes to its page once, after its scripts are added, the lower pane first.
        const qsizetype lower = log.indexOf(u"lower navigate "_s + velmora::LowerPaneAddress());
        const qsizetype upper = log.indexOf(u"upper navigate "_s + velmora::UpperPaneAddress());
        QVERIFY(log.lastIndexOf(u"lower script at creation"_s) < lower && lower < upper);
        QVERIFY(log.lastIndexOf(u"upper script at creation"_s) < upper);
        QCOMPARE(log.count(u" navigate "_s), 2);

        // Pop-ups follow the window; a new scale's physical size is followed too.
        StandInReset(synchronous, 0, 0, S_OK);
        w.widget.move(w.widget.pos() + QPoint(20, 10));
        QTRY_VERIFY(Log().contains(u"upper moved\n"_s) && Log().contains(u"lower moved\n"_s));
        NoResize noResize;
        w.lower->installEventFilter(&noResize);
        SetWindowPos(Handle(w.lower), nullptr, 0, 0, 300, 50,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        QTRY_VERIFY(Log().contains(u"lower bounds 0 0 300 50\n"_s));
        w.widget.hide();
        QTRY_VERIFY(Log().contains(u"upper visible 0\n"_s) &&
                    Log().contains(u"lower visible 0\n"_s));
    }

    void toTheBrowser_data() {
        // Events in the upper pane, at the row's address unless another is given.
        QTest::addColumn<QString>("events");
        QTest::addColumn<QString>("address");
        QTest::addColumn<bool>("opened");
        const QString page = u"https://www.example.org/a?b=c"_s;
        const QString file = u"file:///C:/windows/win.ini"_s;
        QTest::newRow("window, a click") << u"window 1"_s << page << true;
        QTest::newRow("window, a script's") << u"window 0"_s << page << false;
        QTest::newRow("window, no web page") << u"window 1"_s << file << false;
        QTest::newRow("download, a link") << u"navigation 1, download"_s << page << true;
        QTest::newRow("download, a link redirected")
            << u"navigation 1 https://www.example.org/r, redirected 0, download"_s << page << true;
        QTest::newRow("download, in a frame") << u"frame 1, download"_s << page << true;
        QTest::newRow("download, twice") << u"navigation 1, download, download"_s << page << true;
        QTest::newRow("download, a script's") << u"navigation 0, download"_s << page << false;
        QTest::newRow("download, another page")
            << u"navigation 1, download https://www.example.org/b"_s << page << false;
        QTest::newRow("download, the start page")
            << u"download"_s << velmora::UpperPaneAddress() << false;
        QTest::newRow("download, no web page") << u"navigation 1, download"_s << file << false;
        QTest::newRow("permission") << u"permission"_s << page << false;
    }

    void toTheBrowser() {
        QFETCH(QString, events);
        QFETCH(QString, address);
        QFETCH(bool, opened);
        Window w(*this);
        QVERIFY(w.up());
        for (const QString& event : events.split(u", "_s)) {
            const QStringList words = event.split(u' ');
            const QString at = words.last().startsWith(u"http"_s) ? words.last() : address;
            StandInRaise(Handle(w.upper), kEvents[words[0]].first,
                         reinterpret_cast<LPCWSTR>(at.utf16()), words[0] == u"redirected"_s,
                         words.value(1).toInt());
        }
        QCOMPARE(opened_, opened ? QStringList{address} : QStringList());
        const QString last = events.section(u", "_s, -1).section(u' ', 0, 0);
        QVERIFY(Log().endsWith(u"upper "_s + kEvents[last].second + u'\n'));
    }

    void panesComeBack_data() {
        // Before the window: creations that fail, completions at once, controllers held back;
        // then the lower place destroyed, the runtime updated, the renderer or the browser ended
        // with an exit code, the pages up again.
        QTest::addColumn<QString>("steps");
        QTest::addColumn<int>("environments");
        QTest::addColumn<QString>("shows");  // pages, notes, or the pages as they were
        QTest::newRow("environment fails once") << u"fail 1 0"_s << 2 << u"pages"_s;
        QTest::newRow("controller fails once") << u"fail 0 1"_s << 2 << u"pages"_s;
        QTest::newRow("controller fails at once") << u"at once, fail 0 1"_s << 2 << u"pages"_s;
        QTest::newRow("another environment's options") << u"fail 0 2 invalid"_s << 1 << u"notes"_s;
        QTest::newRow("fails every time") << u"fail 9 0"_s << 4 << u"notes"_s;
        QTest::newRow("window destroyed while made") << u"hold, destroy"_s << 1 << u"pages"_s;
        QTest::newRow("renderer ends") << u"renderer 3"_s << 1 << u"pages"_s;
        QTest::newRow("renderer ends normally") << u"renderer 0"_s << 1 << u"as they were"_s;
        QTest::newRow("renderer ends, updated") << u"update, renderer 3"_s << 2 << u"pages"_s;
        QTest::newRow("browser ends") << u"browser 3"_s << 2 << u"pages"_s;
        QTest::newRow("browser ends normally") << u"browser 0"_s << 2 << u"pages"_s;
        // The second renderer would be made again after 1 s; the browser ends before.
        QTest::newRow("renderer twice, then the browser")
            << u"renderer 3, up, renderer 3, browser 3"_s << 2 << u"pages"_s;
    }

    void panesComeBack() {
        QFETCH(QString, steps);
        QFETCH(int, environments);
        QFETCH(QString, shows);
        const QStringList fail = steps.section(u"fail "_s, 1).split(u' ');
        StandInReset(
            steps.startsWith(u"at once"_s), fail.value(0).toInt(), fail.value(1).toInt(),
            fail.value(2) == u"invalid"_s ? HRESULT_FROM_WIN32(ERROR_INVALID_STATE) : E_FAIL);
        StandInHold(steps.startsWith(u"hold"_s));
        Window w(*this);
        QVERIFY(QTest::qWaitForWindowActive(&w.widget));
        int shown = 1;
        QDeadlineTimer retried(0);
        for (const QString& step : steps.split(u", "_s)) {
            const QStringList words = step.split(u' ');
            if (words[0] == u"destroy"_s) {
                QTRY_VERIFY_WITH_TIMEOUT(Log().contains(u"lower controller"_s), kTimeout);
                delete std::exchange(w.lower, nullptr);
                StandInHold(false);
            } else if (words[0] == u"update"_s) {
                StandInUpdate();
            } else if (words[0] == u"up"_s) {
                QVERIFY(w.up(++shown));
            } else if (words[0] == u"renderer"_s || words[0] == u"browser"_s) {
                QVERIFY(w.up());
                w.lower->setFocus();
                StandInRaise(Handle(w.lower), kProcessFailed, nullptr, words[0] == u"renderer"_s,
                             words[1].toInt());
                retried.setRemainingTime(1500);  // a renderer lost again comes back after 1 s
            }
        }
        QCoreApplication::sendPostedEvents();
        if (shows == u"notes"_s) {
            QTRY_VERIFY_WITH_TIMEOUT(w.upper->findChild<QLabel*>() && w.lower->findChild<QLabel*>(),
                                     kTimeout);
        } else if (shows == u"as they were"_s) {
            QVERIFY(!Log().contains(u"lower close\n"_s));
        } else if (retried.hasExpired()) {
            QVERIFY(w.up());
        } else {
            QVERIFY(w.up(++shown));
            QVERIFY(QTest::qWaitFor([&retried] { return retried.hasExpired(); }, 2000));
            QVERIFY(Log().contains(u"lower focus 0"_s));  // the page had the keys, and again
        }
        QCOMPARE(Log().count(u"environment"_s), environments);
    }

    void keysBetweenWindowAndPages() {
        Window w(*this);
        QVERIFY(QTest::qWaitForWindowActive(&w.widget));
        QVERIFY(w.up());
        for (auto [from, forward, to] :
             {std::tuple{w.a, true, w.b}, {w.b, false, w.a}, {w.b, true, w.a}}) {
            from->setFocus();
            QTest::keyClick(from, Qt::Key_Tab, forward ? Qt::NoModifier : Qt::ShiftModifier);
            QWidget* place = from == w.a || !forward ? w.upper : w.lower;
            const QString name = place == w.upper ? u"upper "_s : u"lower "_s;
            const int reason = forward ? 1 : 2;
            QTRY_VERIFY(Log().endsWith(name + u"focus %1\n"_s.arg(reason)));
            // Handled: else the runtime moves the focus too, to a window of its own choosing.
            StandInRaise(Handle(place), kMoveFocusRequested, nullptr, reason, FALSE);
            QVERIFY(Log().endsWith(name + u"handled 1\n"_s));
            QTRY_VERIFY(to->hasFocus());
            QCOMPARE(GetFocus(), Handle(&w.widget));
        }
        // A click into a page gives it the keys; a click on the box Qt had focused takes them back.
        w.a->setFocus();
        StandInRaise(Handle(w.upper), kGotFocus, nullptr, 0, FALSE);
        QVERIFY(IsChild(Handle(w.upper), GetFocus()));
        QTest::mouseClick(w.a, Qt::LeftButton);
        QTRY_COMPARE(GetFocus(), Handle(&w.widget));
        // The window's shortcuts work from the page: Ctrl+T pressed, not released, nor T alone.
        QAction chart;
        chart.setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));
        w.widget.addAction(&chart);
        int shown = 0;
        const qsizetype handled = Log().count(u"upper handled 1"_s);
        connect(&chart, &QAction::triggered, this, [&shown] { ++shown; });
        for (const auto& [kind, control] : {std::pair{0, true}, {1, true}, {0, false}}) {
            HoldControl(control);
            StandInRaise(Handle(w.upper), kAcceleratorKeyPressed, nullptr, kind, 'T');
            QCOMPARE(shown, 1);
        }
        HoldControl(false);
        QCOMPARE(Log().count(u"upper handled 1"_s), handled + 1);
    }

    void notesWithoutRuntime_data() {
        QTest::addColumn<Runtime>("runtime");
        QTest::newRow("none") << Runtime::None;
        QTest::newRow("registered where it is not") << Runtime::Stale;
    }

    void notesWithoutRuntime() {
        QFETCH(Runtime, runtime);
        Register(runtime);
        Window w(*this);
        for (QWidget* place : {w.upper, w.lower}) {
            QLabel* note = nullptr;
            QTRY_VERIFY_WITH_TIMEOUT((note = place->findChild<QLabel*>()) != nullptr, kTimeout);
            QVERIFY(note->text().contains(u"WebView2"_s));
            QTRY_VERIFY(note->isVisible());
            QVERIFY(place->rect().contains(note->geometry()));
            QCOMPARE(note->cursor().shape(), Qt::PointingHandCursor);
            // As a link: a left click pressed and released on it, nothing else.
            QTest::mouseClick(note, Qt::RightButton);
            QTest::mousePress(note, Qt::LeftButton);
            QTest::mouseRelease(note, Qt::LeftButton, {}, QPoint(-4, -4));
            QTest::mouseClick(note, Qt::LeftButton);
        }
        // The keyboard reaches a note in its place's turn, between the boxes around it.
        w.a->setFocus();
        QTest::keyClick(w.a, Qt::Key_Tab);
        QTRY_VERIFY(w.upper->hasFocus());
        QVERIFY(w.upper->findChild<QLabel*>()->font().underline());  // as a link under the focus
        QVERIFY(!w.lower->findChild<QLabel*>()->font().underline());
        QTest::keyClick(w.upper, Qt::Key_Return);
        QCOMPARE(opened_, QStringList(3, u"https://go.microsoft.com/fwlink/p/?LinkId=2124703"_s));
    }
};

QTEST_MAIN(TestWebView2)
#include "tst_webview2.moc"
