#include "web/panehost.h"

#include "web/browserenvironment.h"
#include "web/paneengine.h"
#ifdef VELMORA_WEBVIEW2
#include "web/webview2/webview2panes.h"
#else
#include "web/webengine/sandbox.h"
#endif

#include <QtGui/qtguiglobal.h>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QPluginLoader>
#include <QPointer>
#include <QWidget>
#if QT_CONFIG(opengl)
#include <QOpenGLContext>
#endif

#include <atomic>
#include <cstdio>
#ifdef Q_OS_UNIX
#include <unistd.h>
#endif
#include <memory>
#include <utility>
#include <vector>

using namespace Qt::StringLiterals;

#if QT_CONFIG(opengl)
// Exported by Qt GUI for the web engine, which shares its OpenGL resources through this context.
QT_BEGIN_NAMESPACE
Q_GUI_EXPORT void qt_gl_set_global_share_context(QOpenGLContext* context);
QT_END_NAMESPACE
#endif

namespace velmora {

namespace {

enum class Which { Upper, Lower };

void Report(const QString& reason) {
    const QByteArray line =
        (u"velmora: the browser panes are not available: "_s + reason + u'\n').toLocal8Bit();
    std::fputs(line.constData(), stderr);
    std::fflush(stderr);
}

#ifdef VELMORA_WEBVIEW2

// On Windows the panes are built into the program.
QString DefaultEnginePath() {
    return {};
}

PaneEngine* LoadEngine(const QString&, QString&) {
    return &WebView2PaneEngine();
}

#else

QString DefaultEnginePath() {
#ifdef VELMORA_PANES_FILE
    const QString file = QStringLiteral(VELMORA_PANES_FILE);
    const QString appDir = QCoreApplication::applicationDirPath();
    const QString buildRoot = QFileInfo(QStringLiteral(VELMORA_BUILD_ROOT)).canonicalFilePath();
    if (!buildRoot.isEmpty() && (appDir == buildRoot || appDir.startsWith(buildRoot + u'/'))) {
        return QStringLiteral(VELMORA_PANES_BUILT_DIR) + u'/' + file;
    }
    const QString besideProgram =
        QDir::cleanPath(appDir + u'/' + QStringLiteral(VELMORA_PANES_RELATIVE_DIR) + u'/' + file);
    if (QFileInfo::exists(besideProgram)) {
        return besideProgram;
    }
    return QStringLiteral(VELMORA_PANES_INSTALLED_DIR) + u'/' + file;
#else
    return {};
#endif
}

// The web engine shares its OpenGL resources through an application-wide context. Qt would make
// one while the application starts if asked to, but that delays the window's first frame by as
// long as the GL driver takes to start; the panes come after that frame, and so does the context.
bool ShareOpenGLContexts() {
#if !QT_CONFIG(opengl)
    // A Qt without OpenGL has no web engine either.
    return false;
#else
    if (QOpenGLContext::globalShareContext() != nullptr) {
        return true;
    }
    auto* context = new QOpenGLContext(QCoreApplication::instance());
    if (!context->create()) {
        delete context;
        return false;
    }
    qt_gl_set_global_share_context(context);
    return true;
#endif
}

// Engine settings that exist only as environment variables, set before the engine's first
// thread starts. Whatever the user set is kept.
class EngineEnvironment {
public:
    static void settle() {
        // Two strips of simple pages need no GPU. Drawn in software, the panes leave the OpenGL
        // stack unloaded (Mesa's LLVM rasteriser alone is 26 MiB) and need no shared context.
        if (!qEnvironmentVariableIsSet("QT_QUICK_BACKEND")) {
            SetEngineVariable("QT_QUICK_BACKEND", "software");
            if (!qEnvironmentVariableIsSet("QT_XCB_GL_INTEGRATION")) {
                SetEngineVariable("QT_XCB_GL_INTEGRATION", "none");
            }
        }
        // Both panes show the same site; one renderer process for both saves about 10 MiB.
        const QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
        if (!flags.contains("--renderer-process-limit")) {
            SetEngineVariable("QTWEBENGINE_CHROMIUM_FLAGS",
                              (flags + " --renderer-process-limit=1").trimmed());
        }
        software_ = qEnvironmentVariable("QT_QUICK_BACKEND") == u"software"_s;
        // Kept for the rest of the run: the engine's second notice comes once it draws.
        if (!filtering_.exchange(true)) {
            previousHandler_ = qInstallMessageHandler(&EngineEnvironment::filter);
        }
    }

    static bool software() { return software_; }

private:
    // The engine asks for a shared OpenGL context and for a GPU, which software drawing needs
    // neither of.
    static void filter(QtMsgType type, const QMessageLogContext& context, const QString& message) {
        if (software_ &&
            (message.startsWith(u"Qt WebEngine seems to be initialized from a plugin"_s) ||
             message.startsWith(u"No suitable graphics backend found"_s))) {
            return;
        }
        // Whoever turned the sandbox off knows it.
        if (message == u"Sandboxing disabled by user."_s) {
            return;
        }
        if (previousHandler_ != nullptr) {
            previousHandler_(type, context, message);
        }
    }

    static inline std::atomic<bool> software_ = false;
    static inline std::atomic<bool> filtering_ = false;
    static inline QtMessageHandler previousHandler_ = nullptr;
};

// Loads the Qt WebEngine plugin; the engine's settings that exist only as environment variables are
// set first.
PaneEngine* LoadEngine(const QString& enginePath, QString& reason) {
    if (enginePath.isEmpty()) {
        return nullptr;  // built without panes: nothing to report
    }
#ifdef Q_OS_UNIX
    // Known before the engine's library is loaded, so that it is not loaded for nothing.
    if (SandboxStopsEngine(::geteuid(), QProcessEnvironment::systemEnvironment())) {
        reason = SandboxStopsEngineReason();
        return nullptr;
    }
#endif
    EngineEnvironment::settle();
    // The engine describes its OpenGL set-up on every start; QT_LOGGING_RULES still shows it.
    QLoggingCategory::setFilterRules(u"qt.webenginecontext.info=false"_s);
    // The plugin stays loaded for the rest of the run: the engine cannot be unloaded.
    QPluginLoader loader(enginePath);
    QObject* root = loader.instance();
    if (root == nullptr) {
        reason = loader.errorString();
        return nullptr;
    }
    auto* engine = qobject_cast<PaneEngine*>(root);
    if (engine == nullptr) {
        reason = enginePath + u" is no browser panes plugin"_s;
        return nullptr;
    }
    reason = engine->unavailableReason();
    if (!reason.isEmpty()) {
        return nullptr;
    }
    // Without the shared context the engine would crash on its first page.
    if (!EngineEnvironment::software() && !ShareOpenGLContexts()) {
        reason = u"no OpenGL context could be created"_s;
        return nullptr;
    }
    return engine;
}

#endif

}  // namespace

struct PaneHost::Impl {
    Impl(QWidget& upper, QWidget& lower, UrlOpener& opener_)
        : upperPlace(&upper), lowerPlace(&lower), opener(opener_) {}

    QPointer<QWidget> upperPlace;
    QPointer<QWidget> lowerPlace;
    UrlOpener& opener;
    QString enginePath = DefaultEnginePath();
    bool engineTried = false;
    std::vector<std::pair<Which, QString>> requests;
    std::unique_ptr<PaneSession> session;
    Pane* upper = nullptr;
    Pane* lower = nullptr;

    void navigate(Which which, const QString& address) {
        if (!engineTried) {
            requests.emplace_back(which, address);
            return;
        }
        if (Pane* pane = which == Which::Upper ? upper : lower) {
            pane->navigate(address);
        }
    }
};

PaneHost::PaneHost(QWidget& upperPlace, QWidget& lowerPlace, UrlOpener& opener, QObject* parent)
    : QObject(parent), d_(new Impl(upperPlace, lowerPlace, opener)) {}

PaneHost::~PaneHost() {
    delete d_;
}

void PaneHost::NavigateUpper(const QString& address) {
    d_->navigate(Which::Upper, address);
}

void PaneHost::NavigateLower(const QString& address) {
    d_->navigate(Which::Lower, address);
}

void PaneHost::setEnginePath(const QString& path) {
    d_->enginePath = path;
}

QString PaneHost::enginePath() const {
    return d_->enginePath;
}

void PaneHost::loadEngine() {
    if (d_->engineTried) {
        return;
    }
    d_->engineTried = true;
    const auto requests = std::exchange(d_->requests, {});
    QString reason;
    PaneEngine* engine = LoadEngine(d_->enginePath, reason);
    if (engine == nullptr) {
        if (!reason.isEmpty()) {
            Report(reason);
        }
        return;
    }
    d_->session = engine->openSession(d_->opener);
    if (d_->upperPlace) {
        d_->upper = &d_->session->addPane(*d_->upperPlace, PaneStyle::AsPublished);
    }
    if (d_->lowerPlace) {
        d_->lower = &d_->session->addPane(*d_->lowerPlace, PaneStyle::WithoutScrollBars);
    }
    for (const auto& [which, address] : requests) {
        d_->navigate(which, address);
    }
}

bool PaneHost::enginePresent() const {
    return d_->session != nullptr;
}

}  // namespace velmora
