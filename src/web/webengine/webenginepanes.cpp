// The browser panes on Qt WebEngine. Built as a plugin so that the program itself starts without
// loading the engine.

#include "web/links.h"
#include "web/pagescripts.h"
#include "web/paneengine.h"
#include "web/panerecovery.h"
#include "web/webengine/sandbox.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEvent>
#include <QKeyEvent>
#include <QLayout>
#include <QLoggingCategory>
#include <QMouseEvent>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>
#include <QWebEngineCertificateError>
#include <QWebEngineClientCertificateSelection>
#include <QWebEngineDownloadRequest>
#include <QWebEngineFileSystemAccessRequest>
#include <QWebEngineFullScreenRequest>
#include <QWebEngineNewWindowRequest>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineQuotaRequest>
#include <QWebEngineRegisterProtocolHandlerRequest>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>
#include <QWebEngineView>
#include <QWidget>

#include <memory>
#include <utility>
#include <vector>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

using namespace Qt::StringLiterals;

namespace velmora {

namespace {

// What pages write to their console is for whoever debugs them: QT_LOGGING_RULES shows it.
Q_LOGGING_CATEGORY(lcPageConsole, "velmora.pages.console", QtWarningMsg)

// A page may hand the user's browser only what the user asked for: one address for what a person
// does to follow a link or start a download in its pane (a left or middle click on a link, a
// choice from the pane's context menu, Enter or Space), taken while the gesture is fresh (as long
// as a browser lets a page use one). Other clicks and keys (a right click, a click beside the
// links, the arrows, Tab) are no gesture: after them a page could open tabs, or start downloads,
// on its own.
constexpr int kGestureLastsMs = 5000;

class UserGestures final : public QObject {
public:
    explicit UserGestures(QWidget& view) : QObject(&view), view_(view) {
        QCoreApplication::instance()->installEventFilter(this);
    }

    bool take() { return !std::exchange(fresh_, QDeadlineTimer(0)).hasExpired(); }
    void hovered(const QString& link) { onLink_ = !link.isEmpty(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        // Much of what passes here is the engine's own, some of it half destroyed: it is only
        // compared, never called.
        bool gesture = false;
        if (event->type() == QEvent::MouseButtonRelease) {
            const Qt::MouseButton button = static_cast<QMouseEvent*>(event)->button();
            if (watched == &view_ || watched == view_.focusProxy()) {
                gesture = onLink_ && (button == Qt::LeftButton || button == Qt::MiddleButton);
            } else if (button == Qt::LeftButton && watched->isWidgetType()) {
                // An item of the view's context menu, "open link in new window" among them.
                gesture = static_cast<QWidget*>(watched)->parentWidget() == &view_;
            }
        } else if (event->type() == QEvent::KeyPress && InView(QApplication::focusWidget())) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            gesture = key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space;
        }
        if (gesture) {
            fresh_.setRemainingTime(kGestureLastsMs);
        }
        return false;
    }

private:
    bool InView(const QWidget* widget) const {
        return widget != nullptr && (widget == &view_ || view_.isAncestorOf(widget));
    }

    QWidget& view_;
    QDeadlineTimer fresh_{0};
    bool onLink_ = false;
};

// Other schemes could make the desktop open local files or programs; they cost no gesture.
void OpenInBrowser(UrlOpener& opener, UserGestures& gestures, const QUrl& url) {
    if ((url.scheme() == u"http"_s || url.scheme() == u"https"_s) && gestures.take()) {
        opener.openAddress(url.toString(QUrl::FullyEncoded), {});
    }
}

class PanePage final : public QWebEnginePage {
public:
    PanePage(QWebEngineProfile& profile, UrlOpener& opener, UserGestures& gestures, QObject* parent)
        : QWebEnginePage(&profile, parent) {
        connect(this, &QWebEnginePage::linkHovered, &gestures, &UserGestures::hovered);
        connect(this, &QWebEnginePage::newWindowRequested, this,
                [&opener, &gestures](QWebEngineNewWindowRequest& request) {
                    if (request.isUserInitiated()) {
                        OpenInBrowser(opener, gestures, request.requestedUrl());
                    }
                });
        connect(this, &QWebEnginePage::featurePermissionRequested, this,
                [this](const QUrl& origin, Feature feature) {
                    setFeaturePermission(origin, feature, PermissionDeniedByUser);
                });
        connect(this, &QWebEnginePage::quotaRequested, this,
                [](QWebEngineQuotaRequest request) { request.reject(); });
        connect(this, &QWebEnginePage::registerProtocolHandlerRequested, this,
                [](QWebEngineRegisterProtocolHandlerRequest request) { request.reject(); });
        connect(this, &QWebEnginePage::fileSystemAccessRequested, this,
                [](QWebEngineFileSystemAccessRequest request) { request.reject(); });
        connect(this, &QWebEnginePage::fullScreenRequested, this,
                [](QWebEngineFullScreenRequest request) { request.reject(); });
        connect(this, &QWebEnginePage::selectClientCertificate, this,
                [](QWebEngineClientCertificateSelection selection) { selection.selectNone(); });
        connect(this, &QWebEnginePage::certificateError, this,
                [](const QWebEngineCertificateError& error) {
                    QWebEngineCertificateError answer = error;
                    answer.rejectCertificate();
                });
    }

protected:
    // The new window has already gone to the user's browser (newWindowRequested).
    QWebEnginePage* createWindow(WebWindowType) override { return nullptr; }

    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString& message, int line,
                                  const QString& source) override {
        qCInfo(lcPageConsole).noquote() << source << line << message;
    }
};

// Keeps the view where the window put its place in the Tab order. Views come after the window
// set that order; left alone, Qt would move the place to the end of the focus chain beside its
// view, and Shift+Tab would pass over it.
class FocusChainPlace final : public QObject {
public:
    FocusChainPlace(QWidget& place, QWebEngineView& view)
        : QObject(&view), place_(&place), view_(&view), before_(FocusablePredecessor(place)) {
        view.installEventFilter(this);
    }

    // Qt moves a widget next to its focus proxy, and setTabOrder() moves compound widgets as a
    // whole, so the chain is laid out with the proxies undone for a moment.
    void restore() {
        if (!place_ || !view_ || !before_) {
            return;
        }
        QWidget* inner = view_->focusProxy();
        place_->setFocusProxy(nullptr);
        view_->setFocusProxy(nullptr);
        QWidget::setTabOrder(before_, place_);
        QWidget::setTabOrder(place_, view_);
        if (inner != nullptr) {
            QWidget::setTabOrder(view_, inner);
        }
        view_->setFocusProxy(inner);
        place_->setFocusProxy(view_);
    }

protected:
    // Watches the view only.
    bool eventFilter(QObject*, QEvent* event) override {
        // The engine gives the view a new focus widget with every renderer it starts, and sets
        // it as the view's proxy only after adding it.
        if (event->type() == QEvent::ChildAdded) {
            QTimer::singleShot(0, this, &FocusChainPlace::restore);
        }
        return false;
    }

private:
    static QWidget* FocusablePredecessor(QWidget& place) {
        for (QWidget* w = place.previousInFocusChain(); w != &place;
             w = w->previousInFocusChain()) {
            if (w->focusPolicy() != Qt::NoFocus && !place.isAncestorOf(w)) {
                return w;
            }
        }
        return nullptr;
    }

    QPointer<QWidget> place_;
    QPointer<QWebEngineView> view_;
    QPointer<QWidget> before_;
};

class WebPane final : public Pane {
public:
    WebPane(QWidget& place, QWebEngineProfile& profile, UrlOpener& opener, PaneStyle style)
        : profile_(profile),
          opener_(opener),
          style_(style),
          place_(&place),
          view_(new QWebEngineView(&place)),
          gestures_(new UserGestures(*view_)),
          retry_(new QTimer(view_)),
          healed_(new QTimer(view_)) {
        retry_->setSingleShot(true);
        retry_->setTimerType(Qt::PreciseTimer);  // a coarse one may end the wait 5 % early
        QObject::connect(retry_, &QTimer::timeout, view_, [this] { Heal(); });
        healed_->setSingleShot(true);
        healed_->setInterval(PaneRecovery::kHealedAfter);
        QObject::connect(healed_, &QTimer::timeout, view_, [this] { recovery_.healed(); });
        view_->setPage(NewPage());

        auto* chainPlace = new FocusChainPlace(place, *view_);
        QLayout* layout = place.layout();
        if (layout == nullptr) {
            layout = new QVBoxLayout(&place);
        }
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
        layout->addWidget(view_);
        place.setFocusProxy(view_);
        place.setFocusPolicy(Qt::StrongFocus);
        chainPlace->restore();
        view_->show();
    }

    ~WebPane() {
        delete view_.data();
        if (place_) {
            place_->setFocusProxy(nullptr);
            place_->setFocusPolicy(Qt::NoFocus);
        }
    }

    WebPane(const WebPane&) = delete;
    WebPane& operator=(const WebPane&) = delete;

    // Downloads are the profile's; each is handed on by the pane it started in.
    bool handOffDownload(QWebEngineDownloadRequest& download) {
        if (!view_ || download.page() != view_->page()) {
            return false;
        }
        OpenInBrowser(opener_, *gestures_, download.url());
        return true;
    }

    void navigate(const QString& address) override {
        requested_ = QUrl(address);
        if (view_) {
            retry_->stop();
            view_->setUrl(requested_);
        }
    }

private:
    QWebEnginePage* NewPage() {
        auto* page = new PanePage(profile_, opener_, *gestures_, view_);
        if (style_ == PaneStyle::WithoutScrollBars) {
            QWebEngineScript script;
            script.setSourceCode(kHideScrollBars);
            script.setInjectionPoint(QWebEngineScript::DocumentReady);
            script.setWorldId(QWebEngineScript::ApplicationWorld);
            // In every frame, as the Windows runtime runs it: the script itself keeps to the
            // top-level page.
            script.setRunsOnSubFrames(true);
            page->scripts().insert(script);
            // Scripts of the page may rebuild the document after it was first treated.
            QObject::connect(page, &QWebEnginePage::loadFinished, page, [page] {
                page->runJavaScript(kHideScrollBars, QWebEngineScript::ApplicationWorld);
            });
        }
        QObject::connect(page, &QWebEnginePage::loadFinished, healed_, [this](bool ok) {
            if (ok) {
                healed_->start();
            }
        });
        QObject::connect(page, &QWebEnginePage::renderProcessTerminated, retry_,
                         [this, page](QWebEnginePage::RenderProcessTerminationStatus status) {
                             healed_->stop();
                             const auto wait =
                                 recovery_.ended(status == QWebEnginePage::NormalTerminationStatus);
                             if (!wait) {
                                 return;
                             }
                             lost_ = page->url().isEmpty() ? requested_ : page->url();
                             // The engine drops the widget that had the focus with the renderer.
                             refocus_ = view_->hasFocus();
                             retry_->start(*wait);
                         });
        return page;
    }

    // The page whose renderer died is replaced, not reloaded: the engine gives a page that
    // recovers from a crash the keyboard focus and activates its window.
    void Heal() {
        std::unique_ptr<QWebEnginePage> dead(view_->page());
        view_->setPage(NewPage());
        view_->page()->load(lost_);
        if (refocus_) {
            view_->setFocus();
        }
    }

    QWebEngineProfile& profile_;
    UrlOpener& opener_;
    const PaneStyle style_;
    QPointer<QWidget> place_;
    QPointer<QWebEngineView> view_;
    UserGestures* const gestures_;
    QTimer* const retry_;
    QTimer* const healed_;
    PaneRecovery recovery_;
    QUrl requested_;
    QUrl lost_;
    bool refocus_ = false;
};

class WebPaneSession final : public PaneSession {
public:
    explicit WebPaneSession(UrlOpener& opener)
        : opener_(opener), profile_(std::make_unique<QWebEngineProfile>()) {
        // A profile without a storage name is off the record: cache and cookies stay in memory.
        profile_->setHttpCacheType(QWebEngineProfile::MemoryHttpCache);
        profile_->setHttpCacheMaximumSize(4 * 1024 * 1024);
        profile_->setPersistentCookiesPolicy(QWebEngineProfile::NoPersistentCookies);
        profile_->setSpellCheckEnabled(false);
        QWebEngineSettings* settings = profile_->settings();
        settings->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, false);
        settings->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
        settings->setAttribute(QWebEngineSettings::NavigateOnDropEnabled, false);
        settings->setAttribute(QWebEngineSettings::FullScreenSupportEnabled, false);
        settings->setAttribute(QWebEngineSettings::ScreenCaptureEnabled, false);
        settings->setAttribute(QWebEngineSettings::JavascriptCanAccessClipboard, false);
        settings->setAttribute(QWebEngineSettings::JavascriptCanPaste, false);
        settings->setAttribute(QWebEngineSettings::AllowRunningInsecureContent, false);
        settings->setAttribute(QWebEngineSettings::AllowGeolocationOnInsecureOrigins, false);
        settings->setAttribute(QWebEngineSettings::PluginsEnabled, false);
        QObject::connect(profile_.get(), &QWebEngineProfile::downloadRequested, profile_.get(),
                         [this](QWebEngineDownloadRequest* download) {
                             // The program saves nothing; the user's browser may.
                             download->cancel();
                             if (download->isSavePageDownload()) {
                                 return;
                             }
                             for (const auto& pane : panes_) {
                                 if (pane->handOffDownload(*download)) {
                                     return;
                                 }
                             }
                         });
    }

    ~WebPaneSession() override {
        // Pages must be gone before their profile.
        panes_.clear();
    }

    Pane& addPane(QWidget& place, PaneStyle style) override {
        panes_.push_back(std::make_unique<WebPane>(place, *profile_, opener_, style));
        return *panes_.back();
    }

private:
    UrlOpener& opener_;
    std::unique_ptr<QWebEngineProfile> profile_;
    std::vector<std::unique_ptr<WebPane>> panes_;
};

}  // namespace

class WebPaneEngine final : public QObject, public PaneEngine {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID VelmoraPaneEngine_iid)
    Q_INTERFACES(velmora::PaneEngine)

public:
    QString unavailableReason() const override {
#ifdef Q_OS_UNIX
        if (SandboxStopsEngine(::geteuid(), QProcessEnvironment::systemEnvironment())) {
            return SandboxStopsEngineReason();
        }
#endif
        return {};
    }

    std::unique_ptr<PaneSession> openSession(UrlOpener& opener) override {
        return std::make_unique<WebPaneSession>(opener);
    }
};

}  // namespace velmora

#include "webenginepanes.moc"
