// The browser panes on Qt WebEngine. Built as a plugin so that the program itself starts without
// loading the engine.

#include "web/links.h"
#include "web/paneengine.h"

#include <QLayout>
#include <QObject>
#include <QPointer>
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
#include <vector>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

using namespace Qt::StringLiterals;

namespace velmora {

namespace {

// Leaves a document without a body (a frameset is a body here; SVG and XML are not) alone.
const QString kHideScrollBars =
    uR"js((function () {
  var root = document.documentElement;
  var body = document.body;
  if (!root || !body || !root.style || !body.style) {
    return;
  }
  root.style.setProperty('overflow', 'hidden', 'important');
  body.style.setProperty('overflow', 'hidden', 'important');
})();)js"_s;

#ifdef Q_OS_UNIX
bool SandboxDisabled() {
    if (qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX")) {
        return true;
    }
    const QString flags = qEnvironmentVariable("QTWEBENGINE_CHROMIUM_FLAGS");
    return flags.split(u' ', Qt::SkipEmptyParts).contains(u"--no-sandbox"_s);
}
#endif

class PanePage final : public QWebEnginePage {
public:
    PanePage(QWebEngineProfile& profile, UrlOpener& opener, QObject* parent)
        : QWebEnginePage(&profile, parent) {
        connect(this, &QWebEnginePage::newWindowRequested, this,
                [&opener](QWebEngineNewWindowRequest& request) {
                    const QUrl url = request.requestedUrl();
                    // Other schemes could make the desktop open local files or programs.
                    if (url.scheme() == u"http"_s || url.scheme() == u"https"_s) {
                        opener.openAddress(url.toString(QUrl::FullyEncoded));
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
};

class WebPane final : public Pane {
public:
    WebPane(QWidget& place, QWebEngineProfile& profile, UrlOpener& opener, PaneStyle style)
        : place_(&place), view_(new QWebEngineView(&place)) {
        auto* page = new PanePage(profile, opener, view_);
        if (style == PaneStyle::WithoutScrollBars) {
            QWebEngineScript script;
            script.setName(u"velmora-hide-scroll-bars"_s);
            script.setSourceCode(kHideScrollBars);
            script.setInjectionPoint(QWebEngineScript::DocumentReady);
            script.setWorldId(QWebEngineScript::ApplicationWorld);
            script.setRunsOnSubFrames(false);
            page->scripts().insert(script);
            // Scripts of the page may rebuild the document after it was first treated.
            QObject::connect(page, &QWebEnginePage::loadFinished, page, [page] {
                page->runJavaScript(kHideScrollBars, QWebEngineScript::ApplicationWorld);
            });
        }
        view_->setPage(page);

        QLayout* layout = place.layout();
        if (layout == nullptr) {
            layout = new QVBoxLayout(&place);
        }
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
        layout->addWidget(view_);
        place.setFocusProxy(view_);
        place.setFocusPolicy(Qt::StrongFocus);
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

    void navigate(const QString& address) override {
        if (view_) {
            view_->setUrl(QUrl(address));
        }
    }

private:
    QPointer<QWidget> place_;
    QPointer<QWebEngineView> view_;
};

class WebPaneSession final : public PaneSession {
public:
    explicit WebPaneSession(UrlOpener& opener)
        : opener_(opener), profile_(std::make_unique<QWebEngineProfile>()) {
        // A profile without a storage name is off the record: cache and cookies stay in memory.
        profile_->setHttpCacheType(QWebEngineProfile::MemoryHttpCache);
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
                         [](QWebEngineDownloadRequest* download) { download->cancel(); });
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
        // The engine ends the whole process in this case, so it must not be started at all.
        if (::geteuid() == 0 && !SandboxDisabled()) {
            return u"Qt WebEngine does not run as root with its sandbox on"_s;
        }
#endif
        return {};
    }

    std::unique_ptr<PaneSession> openSession(UrlOpener& opener) override {
        return std::make_unique<WebPaneSession>(opener);
    }
};

}  // namespace velmora

#include "webpanes.moc"
