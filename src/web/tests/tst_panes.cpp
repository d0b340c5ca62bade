#include "testsite.h"
#include "web/links.h"
#include "web/panehost.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <cstdio>
#include <memory>
#include <optional>

#include <unistd.h>

using namespace Qt::StringLiterals;
using velmora::PaneHost;
using velmora::UrlOpener;

namespace {

constexpr int kLoadTimeout = 30000;

// The pane paths as the server receives them.
const QByteArray kLowerTarget = "/%E5%BD%A9%E7%A5%A8/%E7%A6%8F%E5%BD%A93D.htm";
const QByteArray kUpperTarget = "/page/rjtqyb/index.php";

class RecordingOpener final : public UrlOpener {
public:
    bool openAddress(const QString& address) override {
        addresses.append(address);
        return true;
    }
    QStringList addresses;
};

QByteArray TallPage(const QByteArray& title, const QByteArray& extra = {}) {
    return "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>" + title +
           "</title></head><body><a id=\"next\" href=\"/next.htm\">next</a> " + extra +
           "<div style=\"width:2000px;height:3000px\">" + title + "</div></body></html>";
}

// Runs a script in the page's main world and waits for its answer.
std::optional<QVariant> Run(QWebEngineView* view, const QString& script) {
    auto answer = std::make_shared<std::optional<QVariant>>();
    view->page()->runJavaScript(script, [answer](const QVariant& value) { *answer = value; });
    if (!QTest::qWaitFor([answer] { return answer->has_value(); }, kLoadTimeout)) {
        return std::nullopt;
    }
    return *answer;
}

QString RunText(QWebEngineView* view, const QString& script) {
    const std::optional<QVariant> answer = Run(view, script);
    return answer ? answer->toString() : u"<no answer>"_s;
}

const QString kScrollState =
    uR"js((function () {
  var root = document.documentElement;
  return [getComputedStyle(root).overflow,
          root.clientWidth == window.innerWidth ? 'full width' : 'scroll bar beside',
          root.clientHeight == window.innerHeight ? 'full height' : 'scroll bar below'].join(' / ');
})())js"_s;

const QString kNoScrollBars = u"hidden / full width / full height"_s;
const QString kScrollBars = u"visible / scroll bar beside / scroll bar below"_s;

// Everything written to standard error while `action` runs.
template <typename Action>
QByteArray StandardError(Action action) {
    QTemporaryFile file;
    if (!file.open()) {
        return "<no temporary file>";
    }
    std::fflush(stderr);
    const int saved = ::dup(STDERR_FILENO);
    ::dup2(file.handle(), STDERR_FILENO);
    action();
    std::fflush(stderr);
    ::dup2(saved, STDERR_FILENO);
    ::close(saved);
    file.seek(0);
    return file.readAll();
}

}  // namespace

class TestPanes : public QObject {
    Q_OBJECT

    TestSite site_;
    QString closedBase_;
    RecordingOpener opener_;
    std::unique_ptr<QWidget> window_;
    QLineEdit* before_ = nullptr;
    QWidget* upperPlace_ = nullptr;
    QWidget* lowerPlace_ = nullptr;
    std::unique_ptr<PaneHost> host_;

    static QWebEngineView* ViewIn(QWidget* place) { return place->findChild<QWebEngineView*>(); }
    QWebEngineView* upper() const { return ViewIn(upperPlace_); }
    QWebEngineView* lower() const { return ViewIn(lowerPlace_); }

    // The pane's address on the local site, taken from the program's own start address.
    QString Local(const QString& address) const {
        return site_.base() + address.mid(velmora::VendorSite().size());
    }

    std::unique_ptr<QWidget> MakeWindow(QWidget*& upper, QWidget*& lower) {
        auto window = std::make_unique<QWidget>();
        window->resize(360, 200);
        auto* edit = new QLineEdit(window.get());
        edit->setGeometry(10, 60, 100, 20);
        upper = new QWidget(window.get());
        upper->setGeometry(40, 8, 297, 25);
        lower = new QWidget(window.get());
        lower->setGeometry(8, 150, 329, 41);
        QWidget::setTabOrder(edit, upper);
        QWidget::setTabOrder(upper, lower);
        if (before_ == nullptr) {
            before_ = edit;
        }
        return window;
    }

    // Navigates the lower pane and waits until the page has finished loading.
    bool LowerLoads(const QString& address, bool* ok = nullptr) {
        QSignalSpy loaded(lower()->page(), &QWebEnginePage::loadFinished);
        host_->NavigateLower(address);
        if (!loaded.wait(kLoadTimeout)) {
            return false;
        }
        if (ok != nullptr) {
            *ok = loaded.first().first().toBool();
        }
        return true;
    }

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void missingPluginLeavesProgramRunning();
    void foreignLibraryLeavesProgramRunning();
    void rootNeedsTheSandboxOff();
    void findsTheBuiltPlugin();
    void startPagesLoadInOrder();
    void panesTakeFocus();
    void lowerPaneHasNoScrollBars();
    void upperPaneKeepsScrollBars();
    void followedLinkHasNoScrollBars();
    void framesKeepTheirScrollBars();
    void documentsWithoutBody_data();
    void documentsWithoutBody();
    void pageRebuildingItself();
    void unreachableServer();
    void permissionsAreDenied();
    void newWindowsGoToSystemBrowser();
    void requestsBeforeEngineAreReplayedInOrder();
};

void TestPanes::initTestCase() {
    QVERIFY(site_.start());
    {
        QTcpServer probe;
        QVERIFY(probe.listen(QHostAddress::LocalHost, 0));
        closedBase_ = QStringLiteral("http://127.0.0.1:%1").arg(probe.serverPort());
    }
    site_.put(kLowerTarget, "text/html; charset=utf-8", TallPage("lower"));
    site_.put(kUpperTarget, "text/html; charset=utf-8", TallPage("upper"));
    site_.put("/next.htm", "text/html; charset=utf-8", TallPage("next"));
    site_.put("/inner.htm", "text/html; charset=utf-8", TallPage("inner"));
    site_.put("/framed.htm", "text/html; charset=utf-8",
              TallPage("framed",
                       "<iframe id=\"inner\" src=\"/inner.htm\" style=\"width:200px;"
                       "height:30px\"></iframe>"));
    site_.put("/frameset.htm", "text/html; charset=utf-8",
              "<!DOCTYPE html><html><head><title>frameset</title></head>"
              "<frameset rows=\"50%,50%\"><frame src=\"/inner.htm\"><frame src=\"/next.htm\">"
              "</frameset></html>");
    site_.put("/picture.svg", "image/svg+xml",
              "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"3000\" height=\"3000\">"
              "<rect width=\"3000\" height=\"3000\" fill=\"teal\"/></svg>");
    site_.put("/permissions.htm", "text/html; charset=utf-8", TallPage("permissions", R"(<script>
window.answers = {};
Notification.requestPermission().then(function (p) { window.answers.notifications = p; });
navigator.geolocation.getCurrentPosition(
    function () { window.answers.geolocation = 'granted'; },
    function (e) { window.answers.geolocation = e.code == e.PERMISSION_DENIED ? 'denied' : 'error ' + e.code; });
</script>)"));
    site_.put("/rebuilt.htm", "text/html; charset=utf-8", TallPage("rebuilt", R"(<script>
window.addEventListener('load', function () {
    var root = document.createElement('html');
    root.innerHTML = '<body id="rebuilt"><div style="width:2000px;height:3000px">rebuilt</div></body>';
    document.replaceChild(root, document.documentElement);
});
</script>)"));
    site_.put(
        "/links.htm", "text/html; charset=utf-8",
        TallPage("links", R"(<a id="blank" href="/elsewhere.htm" target="_blank">elsewhere</a>)"));

    window_ = MakeWindow(upperPlace_, lowerPlace_);
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
}

void TestPanes::cleanupTestCase() {
    host_.reset();
    window_.reset();
}

void TestPanes::missingPluginLeavesProgramRunning() {
    QWidget* upper = nullptr;
    QWidget* lower = nullptr;
    const auto window = MakeWindow(upper, lower);
    RecordingOpener opener;
    PaneHost host(*upper, *lower, opener);
    host.setEnginePath(u"/nonexistent/velmora/libvelmora_panes.so"_s);
    host.NavigateLower(Local(velmora::LowerPaneAddress()));
    host.NavigateUpper(Local(velmora::UpperPaneAddress()));
    const QByteArray said = StandardError([&host] { host.loadEngine(); });
    QVERIFY(!host.enginePresent());
    QVERIFY2(said.startsWith("velmora: the browser panes are not available: "), said.constData());
    QCOMPARE(said.count('\n'), 1);
    QVERIFY(said.endsWith('\n'));
    QVERIFY(upper->children().isEmpty());
    QVERIFY(lower->children().isEmpty());
    QCOMPARE(upper->focusPolicy(), Qt::NoFocus);
    // Later requests and a second load go nowhere and say nothing more.
    const QByteArray later = StandardError([&host] {
        host.NavigateLower(u"http://127.0.0.1:1/"_s);
        host.loadEngine();
    });
    QCOMPARE(later, QByteArray());
    QVERIFY(lower->children().isEmpty());
}

void TestPanes::foreignLibraryLeavesProgramRunning() {
    QWidget* upper = nullptr;
    QWidget* lower = nullptr;
    const auto window = MakeWindow(upper, lower);
    RecordingOpener opener;

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QFile notALibrary(dir.filePath(u"libvelmora_panes.so"_s));
    QVERIFY(notALibrary.open(QIODevice::WriteOnly));
    notALibrary.write("not a library\n");
    notALibrary.close();
    PaneHost textFile(*upper, *lower, opener);
    textFile.setEnginePath(notALibrary.fileName());
    const QByteArray said = StandardError([&textFile] { textFile.loadEngine(); });
    QVERIFY(!textFile.enginePresent());
    QVERIFY2(said.startsWith("velmora: the browser panes are not available: "), said.constData());
    QCOMPARE(said.count('\n'), 1);

    // A Qt plugin, but not one of ours.
    const QString svg =
        QLibraryInfo::path(QLibraryInfo::PluginsPath) + u"/imageformats/libqsvg.so"_s;
    if (!QFileInfo::exists(svg)) {
        QSKIP("no SVG image format plugin here to stand in for a foreign plugin");
    }
    PaneHost foreign(*upper, *lower, opener);
    foreign.setEnginePath(svg);
    const QByteArray saidForeign = StandardError([&foreign] { foreign.loadEngine(); });
    QVERIFY(!foreign.enginePresent());
    QCOMPARE(saidForeign, "velmora: the browser panes are not available: " + svg.toLocal8Bit() +
                              " is no browser panes plugin\n");
    QVERIFY(upper->children().isEmpty());
}

void TestPanes::rootNeedsTheSandboxOff() {
    if (::geteuid() != 0) {
        QSKIP("only root needs the sandbox turned off");
    }
    QWidget* upper = nullptr;
    QWidget* lower = nullptr;
    const auto window = MakeWindow(upper, lower);
    RecordingOpener opener;
    PaneHost host(*upper, *lower, opener);
    host.setEnginePath(QStringLiteral(VELMORA_PANES_PLUGIN));
    const QByteArray sandbox = qgetenv("QTWEBENGINE_DISABLE_SANDBOX");
    const QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    qunsetenv("QTWEBENGINE_DISABLE_SANDBOX");
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu");
    const QByteArray said = StandardError([&host] { host.loadEngine(); });
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", sandbox);
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags);
    QVERIFY(!host.enginePresent());
    QCOMPARE(said, QByteArray("velmora: the browser panes are not available: Qt WebEngine does "
                              "not run as root with its sandbox on\n"));
    QVERIFY(upper->children().isEmpty());
}

void TestPanes::findsTheBuiltPlugin() {
    QWidget place;
    RecordingOpener opener;
    const PaneHost host(place, place, opener);
    QCOMPARE(QFileInfo(host.enginePath()).canonicalFilePath(),
             QFileInfo(QStringLiteral(VELMORA_PANES_PLUGIN)).canonicalFilePath());
}

void TestPanes::startPagesLoadInOrder() {
    site_.forget();
    host_ = std::make_unique<PaneHost>(*upperPlace_, *lowerPlace_, opener_);
    host_->setEnginePath(QStringLiteral(VELMORA_PANES_PLUGIN));
    // The window's start-up: lower pane first, upper pane after.
    host_->NavigateLower(Local(velmora::LowerPaneAddress()));
    host_->NavigateUpper(Local(velmora::UpperPaneAddress()));
    QVERIFY(site_.requests().isEmpty());
    host_->loadEngine();
    QVERIFY(host_->enginePresent());
    QVERIFY(upper() != nullptr);
    QVERIFY(lower() != nullptr);

    QSignalSpy upperLoaded(upper()->page(), &QWebEnginePage::loadFinished);
    QSignalSpy lowerLoaded(lower()->page(), &QWebEnginePage::loadFinished);
    QTRY_VERIFY_WITH_TIMEOUT(!upperLoaded.isEmpty() && !lowerLoaded.isEmpty(), kLoadTimeout);
    QCOMPARE(upperLoaded.first().first().toBool(), true);
    QCOMPARE(lowerLoaded.first().first().toBool(), true);
    QCOMPARE(site_.requests(), (QList<QByteArray>{kLowerTarget, kUpperTarget}));
    QCOMPARE(RunText(lower(), u"document.title"_s), u"lower"_s);
    QCOMPARE(RunText(upper(), u"document.title"_s), u"upper"_s);

    // A second load changes nothing.
    host_->loadEngine();
    QCOMPARE(lowerPlace_->findChildren<QWebEngineView*>().size(), 1);
    QVERIFY(opener_.addresses.isEmpty());
}

void TestPanes::panesTakeFocus() {
    QVERIFY(host_ && host_->enginePresent());
    QCOMPARE(upperPlace_->focusProxy(), upper());
    QCOMPARE(lowerPlace_->focusProxy(), lower());
    QCOMPARE(upperPlace_->focusPolicy(), Qt::StrongFocus);
    QCOMPARE(lower()->geometry(), lowerPlace_->rect());
    QCOMPARE(upper()->geometry(), upperPlace_->rect());

    window_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    before_->setFocus();
    QTRY_VERIFY(before_->hasFocus());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTRY_VERIFY(upper()->isAncestorOf(QApplication::focusWidget()) ||
                QApplication::focusWidget() == upper());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    // Tab inside a page moves through its links first; the pane itself has the focus either way.
    QVERIFY(QApplication::focusWidget() != nullptr);
}

void TestPanes::lowerPaneHasNoScrollBars() {
    QVERIFY(host_ && host_->enginePresent());
    QCOMPARE(RunText(lower(), kScrollState), kNoScrollBars);
    QCOMPARE(RunText(lower(), u"getComputedStyle(document.body).overflow"_s), u"hidden"_s);
}

void TestPanes::upperPaneKeepsScrollBars() {
    QVERIFY(host_ && host_->enginePresent());
    QCOMPARE(RunText(upper(), kScrollState), kScrollBars);
    QCOMPARE(RunText(upper(), u"document.body.getAttribute('style') === null"_s), u"true"_s);
}

void TestPanes::followedLinkHasNoScrollBars() {
    QVERIFY(host_ && host_->enginePresent());
    QSignalSpy loaded(lower()->page(), &QWebEnginePage::loadFinished);
    site_.forget();
    // A real click, as the user makes it; the link stands at the top left of the page.
    const QString box =
        RunText(lower(),
                u"(function () { var r = document.getElementById('next')"
                u".getBoundingClientRect(); return [r.left, r.top, r.width, r.height]"
                u".map(Math.round).join(' '); })()"_s);
    const QStringList numbers = box.split(u' ');
    QCOMPARE(numbers.size(), 4);
    const QPoint middle(numbers[0].toInt() + numbers[2].toInt() / 2,
                        numbers[1].toInt() + numbers[3].toInt() / 2);
    QVERIFY2(lower()->rect().contains(middle), qPrintable(box));
    QWidget* surface = lower()->focusProxy() != nullptr ? lower()->focusProxy() : lower();
    QTest::mouseClick(surface, Qt::LeftButton, {}, middle);
    QVERIFY(loaded.wait(kLoadTimeout));
    QCOMPARE(site_.requests(), QList<QByteArray>{"/next.htm"});
    QCOMPARE(RunText(lower(), u"document.title"_s), u"next"_s);
    QCOMPARE(RunText(lower(), kScrollState), kNoScrollBars);

    // Back in history is a page the user reaches too.
    // It may come back from the page cache without a new load.
    lower()->back();
    QTRY_COMPARE_WITH_TIMEOUT(RunText(lower(), u"document.title"_s), u"lower"_s, kLoadTimeout);
    QCOMPARE(RunText(lower(), kScrollState), kNoScrollBars);
}

void TestPanes::framesKeepTheirScrollBars() {
    QVERIFY(host_ && host_->enginePresent());
    QVERIFY(LowerLoads(site_.base() + u"/framed.htm"_s));
    QTRY_COMPARE_WITH_TIMEOUT(RunText(lower(), u"frames[0].document.readyState"_s), u"complete"_s,
                              kLoadTimeout);
    QCOMPARE(RunText(lower(), kScrollState), kNoScrollBars);
    const QString frameState =
        uR"js((function () {
  var w = frames[0], root = w.document.documentElement;
  return [getComputedStyle(w.document.body).overflow, String(w.document.body.getAttribute('style')),
          root.clientWidth < w.innerWidth ? 'scroll bar beside' : 'full width'].join(' / ');
})())js"_s;
    QCOMPARE(RunText(lower(), frameState), u"visible / null / scroll bar beside"_s);

    // The frame's own links load inside the frame; the page around it stays without scroll bars.
    QCOMPARE(RunText(lower(), u"frames[0].document.getElementById('next').click(); 'ok'"_s),
             u"ok"_s);
    QTRY_COMPARE_WITH_TIMEOUT(RunText(lower(), u"frames[0].document.title"_s), u"next"_s,
                              kLoadTimeout);
    QCOMPARE(RunText(lower(), kScrollState), kNoScrollBars);
    QCOMPARE(RunText(lower(), frameState), u"visible / null / scroll bar beside"_s);
}

void TestPanes::documentsWithoutBody_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("body");
    QTest::newRow("svg") << u"/picture.svg"_s << u"null"_s;
    // The frameset stands in for the body; the page has nothing of its own to scroll.
    QTest::newRow("frameset") << u"/frameset.htm"_s << u"FRAMESET"_s;
}

void TestPanes::documentsWithoutBody() {
    QFETCH(QString, path);
    QFETCH(QString, body);
    QVERIFY(host_ && host_->enginePresent());
    QSignalSpy ended(lower()->page(), &QWebEnginePage::renderProcessTerminated);
    bool ok = false;
    QVERIFY(LowerLoads(site_.base() + path, &ok));
    QVERIFY(ok);
    QCOMPARE(RunText(lower(), u"document.body ? document.body.tagName : 'null'"_s), body);
    if (body == u"null"_s) {
        QCOMPARE(RunText(lower(), u"String(document.documentElement.getAttribute('style'))"_s),
                 u"null"_s);
    }
    // The pane goes on working.
    QVERIFY(LowerLoads(site_.base() + u"/next.htm"_s));
    QCOMPARE(RunText(lower(), kScrollState), kNoScrollBars);
    QCOMPARE(ended.size(), 0);
}

void TestPanes::pageRebuildingItself() {
    QVERIFY(host_ && host_->enginePresent());
    QVERIFY(LowerLoads(site_.base() + u"/rebuilt.htm"_s));
    QCOMPARE(RunText(lower(), u"document.body.id"_s), u"rebuilt"_s);
    QCOMPARE(RunText(lower(), kScrollState), kNoScrollBars);
}

void TestPanes::unreachableServer() {
    QVERIFY(host_ && host_->enginePresent());
    QSignalSpy ended(lower()->page(), &QWebEnginePage::renderProcessTerminated);
    bool ok = true;
    QVERIFY(LowerLoads(closedBase_ + u"/nothing.htm"_s, &ok));
    QVERIFY(!ok);
    QVERIFY(LowerLoads(site_.base() + u"/next.htm"_s, &ok));
    QVERIFY(ok);
    QCOMPARE(RunText(lower(), kScrollState), kNoScrollBars);
    QCOMPARE(ended.size(), 0);
}

void TestPanes::permissionsAreDenied() {
    QVERIFY(host_ && host_->enginePresent());
    QVERIFY(LowerLoads(site_.base() + u"/permissions.htm"_s));
    QTRY_COMPARE_WITH_TIMEOUT(RunText(lower(), u"String(window.answers.notifications)"_s),
                              u"denied"_s, kLoadTimeout);
    QTRY_COMPARE_WITH_TIMEOUT(RunText(lower(), u"String(window.answers.geolocation)"_s),
                              u"denied"_s, kLoadTimeout);
    QCOMPARE(RunText(lower(), u"Notification.permission"_s), u"denied"_s);
}

void TestPanes::newWindowsGoToSystemBrowser() {
    QVERIFY(host_ && host_->enginePresent());
    QSignalSpy upperLoaded(upper()->page(), &QWebEnginePage::loadFinished);
    host_->NavigateUpper(site_.base() + u"/links.htm"_s);
    QVERIFY(upperLoaded.wait(kLoadTimeout));
    site_.forget();
    opener_.addresses.clear();

    QCOMPARE(RunText(upper(), u"document.getElementById('blank').click(); 'ok'"_s), u"ok"_s);
    QTRY_COMPARE_WITH_TIMEOUT(opener_.addresses, QStringList{site_.base() + u"/elsewhere.htm"_s},
                              kLoadTimeout);
    QCOMPARE(RunText(upper(), u"window.open('/popup.htm?a=1', 'popup', 'width=200'); 'ok'"_s),
             u"ok"_s);
    QTRY_COMPARE_WITH_TIMEOUT(opener_.addresses.size(), 2, kLoadTimeout);
    QCOMPARE(opener_.addresses.last(), site_.base() + u"/popup.htm?a=1"_s);
    // Local files never go to the desktop.
    QCOMPARE(RunText(upper(), u"window.open('file:///etc/hostname'); 'ok'"_s), u"ok"_s);
    QCOMPARE(RunText(upper(), u"window.open('about:blank'); 'ok'"_s), u"ok"_s);
    QCOMPARE(RunText(upper(), u"window.open('ftp://127.0.0.1/x'); 'ok'"_s), u"ok"_s);
    QCOMPARE(RunText(upper(), u"document.title"_s), u"links"_s);
    QCOMPARE(opener_.addresses.size(), 2);
    // Neither pane went there itself.
    QCOMPARE(site_.requests(), QList<QByteArray>());
    QCOMPARE(upper()->url().path(), u"/links.htm"_s);
}

void TestPanes::requestsBeforeEngineAreReplayedInOrder() {
    QWidget* upper = nullptr;
    QWidget* lower = nullptr;
    const auto window = MakeWindow(upper, lower);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    RecordingOpener opener;
    PaneHost host(*upper, *lower, opener);
    host.setEnginePath(QStringLiteral(VELMORA_PANES_PLUGIN));
    host.NavigateLower(site_.base() + u"/inner.htm"_s);
    host.NavigateUpper(site_.base() + u"/framed.htm"_s);
    host.NavigateLower(site_.base() + u"/next.htm"_s);
    site_.forget();
    host.loadEngine();
    QVERIFY(host.enginePresent());
    QWebEngineView* lowerView = ViewIn(lower);
    QWebEngineView* upperView = ViewIn(upper);
    QVERIFY(lowerView && upperView);
    QSignalSpy lowerLoaded(lowerView->page(), &QWebEnginePage::loadFinished);
    QSignalSpy upperLoaded(upperView->page(), &QWebEnginePage::loadFinished);
    QTRY_VERIFY_WITH_TIMEOUT(!lowerLoaded.isEmpty() && !upperLoaded.isEmpty(), kLoadTimeout);
    // The lower pane's later request replaces its first; the upper pane's page has its frame.
    QCOMPARE(RunText(lowerView, u"document.title"_s), u"next"_s);
    QCOMPARE(RunText(upperView, u"document.title"_s), u"framed"_s);
    QCOMPARE(RunText(lowerView, kScrollState), kNoScrollBars);
    QCOMPARE(RunText(upperView, kScrollState), kScrollBars);
}

#if defined(__SANITIZE_ADDRESS__)
// The uninstrumented engine library frees some of its own objects with a sized delete smaller than
// the allocation, which is none of this program's doing and would end every run under ASan.
extern "C" const char* __asan_default_options() {
    return "new_delete_type_mismatch=0";
}
#endif

int main(int argc, char* argv[]) {
    // The engine refuses to start as root with its sandbox on; only the tests turn it off.
    if (::geteuid() == 0) {
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    }
    // Offscreen there is no GPU; saying so spares the engine its attempts.
    if (!qEnvironmentVariableIsSet("QTWEBENGINE_CHROMIUM_FLAGS")) {
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu");
    }
    QApplication app(argc, argv);
    TestPanes test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_panes.moc"
