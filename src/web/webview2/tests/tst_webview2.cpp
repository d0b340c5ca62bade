// The Windows panes against a stand-in WebView2 runtime, registered in the test's Wine prefix as
// the runtime registers itself, on real (X11) windows.
#include "web/links.h"
#include "web/panehost.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <tuple>

#include <windows.h>

using namespace Qt::StringLiterals;

namespace {

constexpr int kTimeout = 20000;
constexpr int kNext = 1;
constexpr int kPrevious = 2;
const wchar_t kStableKey[] =
    L"Software\\Microsoft\\EdgeUpdate\\ClientState\\{F3017226-FE2A-4295-8BDF-00C3A9A7E4C5}";

enum class Runtime { PerMachine, PerUser, Stale, None, Failing };

QString Native(const char* unixPath) {
    return u"Z:"_s + QDir::toNativeSeparators(QString::fromUtf8(unixPath));
}

void Register(Runtime runtime) {
    for (const HKEY hive : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
        RegDeleteKeyExW(hive, kStableKey, KEY_WOW64_32KEY, 0);
    }
    if (runtime == Runtime::None) {
        return;
    }
    const QString folder = runtime == Runtime::Stale ? Native(VELMORA_STANDIN_RUNTIME) + u"0"_s
                                                     : Native(VELMORA_STANDIN_RUNTIME);
    HKEY key = nullptr;
    QCOMPARE(RegCreateKeyExW(runtime == Runtime::PerUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE,
                             kStableKey, 0, nullptr, 0, KEY_SET_VALUE | KEY_WOW64_32KEY, nullptr,
                             &key, nullptr),
             ERROR_SUCCESS);
    RegSetValueExW(key, L"EBWebView", 0, REG_SZ, reinterpret_cast<const BYTE*>(folder.utf16()),
                   static_cast<DWORD>((folder.size() + 1) * 2));
    RegCloseKey(key);
}

template <class F>
F Export(const char* name) {
    static const HMODULE standIn = LoadLibraryW(reinterpret_cast<LPCWSTR>(
        (Native(VELMORA_STANDIN_RUNTIME) + u"\\EBWebView\\x64\\EmbeddedBrowserWebView.dll"_s)
            .utf16()));
    return reinterpret_cast<F>(reinterpret_cast<void (*)()>(GetProcAddress(standIn, name)));
}
const auto Reset = Export<void (*)(bool)>("StandInReset");
const auto Log = Export<const wchar_t* (*)()>("StandInLog");
const auto Raise = Export<void (*)(HWND, int, LPCWSTR, int, BOOL)>("StandInRaise");
constexpr int kNavigationStarting = 7, kMoveFocusRequested = 13, kPermissionRequested = 23,
              kProcessFailed = 25, kNewWindowRequested = 44, kDownloadStarting = 75;

HWND Handle(QWidget* widget) {
    return reinterpret_cast<HWND>(widget->winId());
}

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
            host.NavigateLower(velmora::LowerPaneAddress());
            host.NavigateUpper(velmora::UpperPaneAddress());
            widget.show();
            host.loadEngine();
        }
        // The stand-in's log with the places named.
        QString log() const {
            QString log = QString::fromWCharArray(Log());
            for (QWidget* place : {upper, lower}) {
                log.replace(
                    u'w' + QString::number(reinterpret_cast<quintptr>(Handle(place))) + u' ',
                    place == upper ? u"upper "_s : u"lower "_s);
            }
            return log;
        }
    };

    QStringList opened_;
    QtMessageHandler handler_ = nullptr;

    void openAddress(const QString& address, std::function<void(bool)>) override {
        opened_ << address;
    }

private Q_SLOTS:
    void initTestCase() {
        QVERIFY(Reset && Log && Raise);
        // Wine lacks one call that Qt's windows platform makes for each window, and says so.
        handler_ =
            qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString& m) {
                printed += m.startsWith(u"EnableNonClientDpiScaling()"_s) ? 0 : 1;
            });
    }

    void init() {
        Register(Runtime::PerMachine);
        Reset(false);
        opened_.clear();
    }

    void cleanupTestCase() {
        qInstallMessageHandler(handler_);
        Register(Runtime::None);
        QCOMPARE(printed, 0);
    }

    void panesShowTheirPages_data() {
        QTest::addColumn<Runtime>("runtime");
        QTest::newRow("per machine") << Runtime::PerMachine;
        QTest::newRow("per user") << Runtime::PerUser;
    }

    void panesShowTheirPages() {
        QFETCH(Runtime, runtime);
        Register(runtime);
        Window w(*this);
        QTRY_VERIFY_WITH_TIMEOUT(w.log().contains(u"lower script, hides"_s), kTimeout);
        const QString chrome = u"%1 status bar 0\n%1 dev tools 0\n%1 accelerator keys 0\n"_s;
        // In the places' own pixels, whatever the scale.
        const auto placed = [&w](QWidget* place, bool visible) {
            const QString name = place == w.upper ? u"upper "_s : u"lower "_s;
            const QSize size = place->size() * place->devicePixelRatio();
            return name + u"bounds 0 0 %1 %2\n"_s.arg(size.width()).arg(size.height()) + name +
                   u"visible %1\n"_s.arg(visible);
        };
        QCOMPARE(w.log(),
                 u"environment 1 0 "_s + qEnvironmentVariable("LOCALAPPDATA") +
                     u"\\velmora\\WebView2\nupper controller, private 1\n"_s +
                     u"lower controller, private 1\n"_s + chrome.arg(u"upper"_s) +
                     placed(w.upper, true) + chrome.arg(u"lower"_s) +
                     u"lower script at creation, hides scroll bars\n"_s + placed(w.lower, true) +
                     u"lower navigate "_s + velmora::LowerPaneAddress() + u"\nupper navigate "_s +
                     velmora::UpperPaneAddress() + u"\nlower script, hides scroll bars\n"_s);
        Reset(false);
        w.widget.hide();
        QCOMPARE(w.log(), placed(w.upper, false) + placed(w.lower, false));
    }

    void onlyWhatTheUserAskedForGoesToTheBrowser_data() {
        QTest::addColumn<int>("event");
        QTest::addColumn<QString>("address");
        QTest::addColumn<bool>("user");
        QTest::addColumn<QStringList>("opened");
        const QString page = u"https://www.example.org/a?b=c"_s;
        const QString file = u"file:///C:/windows/win.ini"_s;
        for (const int event : {kNewWindowRequested, kDownloadStarting}) {
            const char* kind = event == kNewWindowRequested ? "new window" : "download";
            QTest::addRow("%s, a click", kind) << event << page << true << QStringList{page};
            QTest::addRow("%s, a script alone", kind) << event << page << false << QStringList{};
            QTest::addRow("%s, not a web page", kind) << event << file << true << QStringList{};
        }
        QTest::newRow("permission") << kPermissionRequested << page << true << QStringList{};
    }

    void onlyWhatTheUserAskedForGoesToTheBrowser() {
        QFETCH(int, event);
        QFETCH(QString, address);
        QFETCH(bool, user);
        QFETCH(QStringList, opened);
        Window w(*this);
        QTRY_VERIFY_WITH_TIMEOUT(w.log().contains(u"upper navigate"_s), kTimeout);
        const auto text = reinterpret_cast<LPCWSTR>(address.utf16());
        // A download of another page after the navigation, then of the page itself, twice.
        if (event == kDownloadStarting) {
            Raise(Handle(w.upper), kNavigationStarting, text, 0, user);
            Raise(Handle(w.upper), event, L"https://www.example.org/elsewhere", 0, FALSE);
            Raise(Handle(w.upper), kNavigationStarting, text, 0, user);
            Raise(Handle(w.upper), event, text, 0, FALSE);
        }
        Raise(Handle(w.upper), event, text, 0, user);
        QCOMPARE(opened_, opened);
        QVERIFY(w.log().endsWith(event == kNewWindowRequested ? u"upper handled 1\n"_s
                                 : event == kDownloadStarting
                                     ? u"upper cancel 1\n"_s
                                     : u"upper permission 2\n"_s));  // deny
    }

    void failedProcessesAreMadeAgain_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("environments");
        QTest::addColumn<int>("controllers");
        QTest::newRow("browser") << 0 << 1 << 2;
        QTest::newRow("renderer") << 1 << 0 << 1;
    }

    void failedProcessesAreMadeAgain() {
        QFETCH(int, kind);
        QFETCH(int, environments);
        QFETCH(int, controllers);
        Window w(*this);
        QVERIFY(QTest::qWaitForWindowActive(&w.widget));
        QTRY_VERIFY_WITH_TIMEOUT(w.log().contains(u"lower script, hides"_s), kTimeout);
        w.lower->setFocus();
        Reset(false);
        if (kind == 1) {
            Raise(Handle(w.lower), kProcessFailed, nullptr, kind, 0);  // ended normally: left alone
            QCoreApplication::sendPostedEvents();
            QVERIFY(!w.log().contains(u"close"_s));
        }
        Raise(Handle(w.lower), kProcessFailed, nullptr, kind, 3);
        QTRY_VERIFY_WITH_TIMEOUT(
            w.log().contains(u"lower navigate "_s + velmora::LowerPaneAddress()), kTimeout);
        const QString log = w.log();
        QCOMPARE(log.count(u"environment"_s), environments);
        QCOMPARE(log.count(u"controller, private 1"_s), controllers);
        QCOMPARE(log.count(u"lower close"_s), 1);
        QVERIFY(log.contains(u"lower focus 0"_s));  // the page had the keys, and has them again
    }

    void tabMovesThroughThePages() {
        Window w(*this);
        QVERIFY(QTest::qWaitForWindowActive(&w.widget));
        QTRY_VERIFY_WITH_TIMEOUT(w.log().contains(u"lower script, hides"_s), kTimeout);
        for (auto [from, forward, to] :
             {std::tuple{w.a, true, w.b}, {w.b, false, w.a}, {w.b, true, w.a}}) {
            from->setFocus();
            QTest::keyClick(from, forward ? Qt::Key_Tab : Qt::Key_Backtab,
                            forward ? Qt::NoModifier : Qt::ShiftModifier);
            QWidget* place = from == w.a || !forward ? w.upper : w.lower;
            const int reason = forward ? kNext : kPrevious;
            QTRY_VERIFY(w.log().endsWith(
                (place == w.upper ? u"upper focus %1\n"_s : u"lower focus %1\n"_s).arg(reason)));
            Raise(Handle(place), kMoveFocusRequested, nullptr, reason, FALSE);
            QTRY_VERIFY(to->hasFocus());
            QCOMPARE(GetFocus(), Handle(&w.widget));
        }
    }

    void notesWithoutRuntime_data() {
        QTest::addColumn<Runtime>("runtime");
        QTest::newRow("none") << Runtime::None;
        QTest::newRow("registered where it is not") << Runtime::Stale;
        QTest::newRow("failing") << Runtime::Failing;
    }

    void notesWithoutRuntime() {
        QFETCH(Runtime, runtime);
        Register(runtime);
        Reset(runtime == Runtime::Failing);
        Window w(*this);
        for (QWidget* place : {w.upper, w.lower}) {
            QLabel* note = nullptr;
            QTRY_VERIFY_WITH_TIMEOUT((note = place->findChild<QLabel*>()) != nullptr, kTimeout);
            QVERIFY(note->text().contains(u"WebView2"_s));
            QTRY_VERIFY(note->isVisible());
            QVERIFY(place->rect().contains(note->geometry()));
            QCOMPARE(note->cursor().shape(), Qt::PointingHandCursor);
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
