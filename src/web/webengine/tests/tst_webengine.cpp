#include "web/browserenvironment.h"
#include "web/links.h"
#include "web/pagescripts.h"
#include "web/panehost.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QWebEngineNewWindowRequest>
#include <QWebEngineProfile>
#include <QWebEngineView>

#include <csignal>
#include <memory>

#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

constexpr int kTimeout = 30000;
// The start pages' paths as the server must receive them.
const QByteArray kLowerTarget = "/%E5%BD%A9%E7%A5%A8/%E7%A6%8F%E5%BD%A93D.htm";
const QByteArray kUpperTarget = "/page/rjtqyb/index.php";
// Overflow of a window's body; whether the window's width and height all go to the page.
const QString kScrollState =
    u"(function (w) { var r = w.document.documentElement; return "
    u"[getComputedStyle(w.document.body).overflow, r.clientWidth == "
    u"w.innerWidth, r.clientHeight == w.innerHeight].join(' '); })(%1)"_s;

// The rest of a response: headers and body.
QByteArray Page(const QByteArray& title, const QByteArray& extra = {}) {
    return "Content-Type: text/html\r\nCache-Control: no-store\r\n\r\n<!DOCTYPE html><meta "
           "charset='utf-8'><title>" +
           title + "</title><body>" + extra + "<div style='width:2000px;height:3000px'></div>";
}

QString Run(QWebEngineView* view, const QString& script) {
    auto answer = std::make_shared<QVariant>();
    view->page()->runJavaScript(script, [answer](const QVariant& v) { *answer = v.toString(); });
    return QTest::qWaitFor([answer] { return answer->isValid(); }, kTimeout) ? answer->toString()
                                                                             : u"<no answer>"_s;
}

}  // namespace

class TestWebEngine : public QObject, public velmora::UrlOpener {
    Q_OBJECT

    QTcpServer site_;
    QHash<QByteArray, QByteArray> pages_;
    QList<QByteArray> requests_;
    QStringList opened_;
    QString asked_;  // by the upper page: 'w' a user's window, 's' a script's, 'd' a download
    QWidget window_;
    // Made in another order than their Tab order.
    QWidget* lowerPlace_ = new QWidget(&window_);
    QLineEdit* b_ = new QLineEdit(&window_);
    QWidget* upperPlace_ = new QWidget(&window_);
    QLineEdit* a_ = new QLineEdit(&window_);
    std::unique_ptr<velmora::PaneHost> host_;

    void openAddress(const QString& address, std::function<void(bool)>) override {
        opened_ << QString(address).remove(Base());
    }
    // A click on the link after the pointer came over it, or on blank space.
    void Click(const QString& link, Qt::MouseButton button) {
        QPoint at(250, 50);
        if (!link.isEmpty()) {
            const QString corner = link + u".getBoundingClientRect().%1 + 2 | 0"_s;
            at = QPoint(Run(upper(), corner.arg(u"left"_s)).toInt(),
                        Run(upper(), corner.arg(u"top"_s)).toInt());
            QSignalSpy hovered(upper()->page(), &QWebEnginePage::linkHovered);
            QTest::mouseMove(upper()->focusProxy(), at);
            QVERIFY(hovered.wait(kTimeout));
        }
        QTest::mouseClick(upper()->focusProxy(), button, {}, at);
    }
    QString Base() const { return u"http://127.0.0.1:%1"_s.arg(site_.serverPort()); }
    QString Local(const QString& a) const { return Base() + a.mid(velmora::VendorSite().size()); }
    QWebEngineView* upper() const { return upperPlace_->findChild<QWebEngineView*>(); }
    QWebEngineView* lower() const { return lowerPlace_->findChild<QWebEngineView*>(); }

private Q_SLOTS:
    void initTestCase() {
        connect(&site_, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = site_.nextPendingConnection()) {
                connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                    if (socket->peek(socket->bytesAvailable()).contains("\r\n\r\n")) {
                        requests_.append(socket->readAll().split(' ').value(1));
                        socket->write("HTTP/1.1 200 OK\r\nConnection: close\r\n" +
                                      pages_.value(requests_.last(), "\r\n"));
                        socket->disconnectFromHost();
                    }
                });
            }
        });
        QVERIFY(site_.listen(QHostAddress::LocalHost));
        // Nothing in the start pages takes Tab: it passes through the panes.
        pages_ = {
            {kLowerTarget, Page("lower", R"(<iframe tabindex=-1 src='/next.htm'></iframe><script>
Notification.requestPermission().then(function (p) { window.notifications = p; });
navigator.geolocation.getCurrentPosition(function () {}, function (e) { window.geolocation =
    e.code == e.PERMISSION_DENIED ? 'denied' : 'error'; });</script>)")},
            {kUpperTarget, Page("upper", R"(<a id='blank' tabindex=-1 href='/elsewhere.htm'
target='_blank'>_blank</a> <a id='file' tabindex=-1 href='/file.bin'>file</a> <a id='next'
tabindex=-1 href='/next.htm'>next</a> <a id='two' tabindex=-1 href='#' onclick='window.open(
`/one.htm`); window.open(`/two.htm`); return false'>two</a> <a id='local' tabindex=-1 href='#'
onclick='window.open(`file:///etc/hostname`); window.open(`/after.htm`); return false'>local</a>)")},
            {"/next.htm", Page("next")},
            {"/links.htm",
             Page("links", "<script>" + velmora::kDownloadLinksAsWindows.toUtf8() +
                               "</script><a id='save' href='/file.bin' download>save</a><script>"
                               "onload = function () { save.click(); };</script>")},
            {"/file.bin", "Content-Type: application/octet-stream\r\n\r\n0123"},
        };
        a_->setGeometry(0, 70, 100, 20);
        b_->setGeometry(0, 100, 100, 20);
        const QList<QWidget*> chain{a_, upperPlace_, b_, lowerPlace_};
        for (qsizetype i = 1; i < chain.size(); ++i) {
            chain[i]->setFocusPolicy(Qt::TabFocus);  // else left out of setTabOrder()
            QWidget::setTabOrder(chain[i - 1], chain[i]);
        }
        window_.resize(320, 200);
        window_.show();
        QVERIFY(QTest::qWaitForWindowActive(&window_));
    }

    void init() {
        upperPlace_->setGeometry(0, 0, 300, 60);
        lowerPlace_->setGeometry(0, 130, 300, 60);
        requests_.clear();
        host_ = std::make_unique<velmora::PaneHost>(*upperPlace_, *lowerPlace_, *this);
        host_->setEnginePath(QStringLiteral(VELMORA_PANES_PLUGIN));
        host_->NavigateLower(Local(velmora::LowerPaneAddress()));
        host_->NavigateUpper(Local(velmora::UpperPaneAddress()));
        host_->loadEngine();
        QVERIFY(host_->enginePresent());
        QTRY_COMPARE_WITH_TIMEOUT(Run(lower(), u"document.title"_s), u"lower"_s, kTimeout);
        QTRY_COMPARE_WITH_TIMEOUT(Run(upper(), u"document.title"_s), u"upper"_s, kTimeout);
        opened_.clear();
        asked_.clear();
        connect(
            upper()->page(), &QWebEnginePage::newWindowRequested, this,
            [this](QWebEngineNewWindowRequest& r) { asked_ += r.isUserInitiated() ? u'w' : u's'; });
        connect(upper()->page()->profile(), &QWebEngineProfile::downloadRequested, this,
                [this] { asked_ += u'd'; });
    }

    void cleanup() { host_.reset(); }

    void startPagesLowerFirst() {
        QVERIFY(requests_.indexOf(kLowerTarget) < requests_.indexOf(kUpperTarget));
        // The engine's settings stay in this process; the programs it starts do not get them.
        const QProcessEnvironment browser = velmora::BrowserEnvironment();
        QCOMPARE(browser.value(u"QTWEBENGINE_CHROMIUM_FLAGS"_s), u"--disable-gpu"_s);
        QVERIFY(qEnvironmentVariableIsSet("QT_QUICK_BACKEND"));
        QCOMPARE(upper()->page()->renderProcessPid(), lower()->page()->renderProcessPid());
        upperPlace_->resize(297, 25);
        QTRY_COMPARE(upper()->size(), QSize(297, 25));  // a view fills its place
        QCOMPARE(Run(upper(), kScrollState.arg(u"window"_s)), u"visible false false"_s);
        // The lower pane hides its own scroll bars, not its frames'; it refuses what pages ask.
        QTRY_COMPARE_WITH_TIMEOUT(
            Run(lower(), u"[%1, %2, window.notifications, window.geolocation].join('|')"_s.arg(
                             kScrollState.arg(u"window"_s), kScrollState.arg(u"frames[0]"_s))),
            u"hidden true true|visible false false|denied|denied"_s, kTimeout);
    }

    void toSystemBrowser_data() {
        QTest::addColumn<QString>("link");  // its id, which names it in the page's scripts
        // What the user does first; after anything but a click, Enter or a menu choice, the page
        // clicks the link by script.
        QTest::addColumn<QString>("gesture");
        QTest::addColumn<QString>("address");  // the one opened, if any
        QTest::newRow("click on _blank") << u"blank"_s << u"click"_s << u"/elsewhere.htm"_s;
        QTest::newRow("Enter on _blank") << u"blank"_s << u"Enter"_s << u"/elsewhere.htm"_s;
        QTest::newRow("from the menu") << u"next"_s << u"menu"_s << u"/next.htm"_s;
        QTest::newRow("click on a download") << u"file"_s << u"click"_s << u"/file.bin"_s;
        QTest::newRow("two windows, one click") << u"two"_s << u"click"_s << u"/one.htm"_s;
        QTest::newRow("file: passed over") << u"local"_s << u"click"_s << u"/after.htm"_s;
        QTest::newRow("window by script") << u"blank"_s << u"none"_s << QString();
        QTest::newRow("download by script") << u"file"_s << u"none"_s << QString();
        QTest::newRow("download after right click") << u"file"_s << u"right click"_s << QString();
        QTest::newRow("download after click beside") << u"file"_s << u"click beside"_s << QString();
        QTest::newRow("download after Down") << u"file"_s << u"Down"_s << QString();
    }

    void toSystemBrowser() {
        QFETCH(QString, link);
        QFETCH(QString, gesture);
        QFETCH(QString, address);
        if (gesture == u"Enter"_s || gesture == u"Down"_s) {
            upperPlace_->setFocus();
            QCOMPARE(Run(upper(), link + u".focus(); 'ok'"_s), u"ok"_s);
            QTest::keyClick(upper()->focusProxy(),
                            gesture == u"Enter"_s ? Qt::Key_Return : Qt::Key_Down);
        } else if (gesture != u"none"_s) {
            const bool right = gesture == u"right click"_s || gesture == u"menu"_s;
            Click(gesture == u"click beside"_s ? QString() : link,
                  right ? Qt::RightButton : Qt::LeftButton);
            if (gesture == u"menu"_s) {
                QAction* open = upper()->page()->action(QWebEnginePage::OpenLinkInNewWindow);
                QMenu* menu = nullptr;
                QTRY_VERIFY_WITH_TIMEOUT((menu = upper()->findChild<QMenu*>()) &&
                                             menu->isVisible() && menu->actions().contains(open),
                                         kTimeout);
                QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(open).center());
            }
        }
        if (!QStringList{u"click"_s, u"Enter"_s, u"menu"_s}.contains(gesture)) {
            QCOMPARE(Run(upper(), link + u".click(); 'ok'"_s), u"ok"_s);
        }
        // The opener is called while the page's request is answered; the others follow at once.
        QTRY_VERIFY_WITH_TIMEOUT(!asked_.isEmpty(), kTimeout);
        QCOMPARE(Run(upper(), u"'ok'"_s), u"ok"_s);
        QCOMPARE(opened_, address.isEmpty() ? QStringList() : QStringList{address});
    }

    // The script the Windows panes give every document, on the same engine: a click on a download
    // link asks for a window of the user's, not for a download; a click by script for neither.
    void downloadLinksAsWindows() {
        QCOMPARE(Run(upper(), u"location = '/links.htm'; 'ok'"_s), u"ok"_s);
        QTRY_COMPARE_WITH_TIMEOUT(asked_, u"d"_s, kTimeout);  // the page's own click, once loaded
        Click(u"save"_s, Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(asked_, u"dw"_s, kTimeout);
        QCOMPARE(Run(upper(), u"'ok'"_s), u"ok"_s);
        QCOMPARE(asked_, u"dw"_s);
    }

    // The second death comes right after the first reload, so the pane waits a while. The views
    // made again keep their places in the Tab order.
    void paneHealsAfterRendererDies() {
        for (QWidget* focus : {static_cast<QWidget*>(a_), lowerPlace_}) {
            focus->setFocus();
            requests_.clear();
            const QDeadlineTimer least(focus == a_ ? 0 : 1000);
            QCOMPARE(::kill(static_cast<pid_t>(lower()->page()->renderProcessPid()), SIGKILL), 0);
            QTRY_VERIFY_WITH_TIMEOUT(requests_.contains(kLowerTarget), kTimeout);
            QVERIFY(least.hasExpired());
            QTRY_COMPARE_WITH_TIMEOUT(Run(lower(), u"document.title"_s), u"lower"_s, kTimeout);
            QTRY_VERIFY(focus->hasFocus());
        }
        QTRY_COMPARE_WITH_TIMEOUT(Run(upper(), u"document.title"_s), u"upper"_s, kTimeout);
        a_->setFocus();
        const QList<QWidget*> steps{upperPlace_, b_, lowerPlace_, a_,
                                    lowerPlace_, b_, upperPlace_, a_};
        for (qsizetype i = 0; i < steps.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), i < 4 ? Qt::Key_Tab : Qt::Key_Backtab,
                            i < 4 ? Qt::NoModifier : Qt::ShiftModifier);
            QTRY_VERIFY(steps[i]->hasFocus());
        }
    }
};

QTEST_MAIN(TestWebEngine)
#include "tst_webengine.moc"
