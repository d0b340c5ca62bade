// The browser panes on Windows: the system's Microsoft Edge WebView2 runtime, found and started
// without Microsoft's loader library, so that the program stays one file.

#include "web/webview2/webview2panes.h"

#include "web/links.h"
#include "web/pagescripts.h"
#include "web/paneengine.h"
#include "web/panerecovery.h"
#include "web/webview2/webview2.h"
#include "web/webview2/webview2runtime.h"

#include <QAbstractNativeEventFilter>
#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPointer>
#include <QStandardPaths>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

// Exported by Qt GUI, whose tests use it: offers a key to the application's shortcuts and says
// whether one of them took it.
QT_BEGIN_NAMESPACE
Q_GUI_EXPORT bool qt_sendShortcutOverrideEvent(QObject* receiver, ulong timestamp, int key,
                                               Qt::KeyboardModifiers modifiers, const QString& text,
                                               bool autorepeat, ushort count);
QT_END_NAMESPACE

using namespace Qt::StringLiterals;

namespace velmora {

namespace {

using namespace webview2;

const QString kRuntimePage = u"https://go.microsoft.com/fwlink/p/?LinkId=2124703"_s;

// EdgeUpdate's application identifiers of the WebView2 runtime and of Edge's preview channels,
// whose browsers carry the runtime too.
constexpr std::pair<RuntimeChannel, const wchar_t*> kChannels[] = {
    {RuntimeChannel::Stable, L"{F3017226-FE2A-4295-8BDF-00C3A9A7E4C5}"},
    {RuntimeChannel::Beta, L"{2CD8A007-E189-409D-A2C8-9AF4EF3C72AA}"},
    {RuntimeChannel::Dev, L"{0D50BFEC-CD6A-4F9A-964C-C7416E3ACB10}"},
    {RuntimeChannel::Canary, L"{65C35B14-6C1D-4122-AC46-7148CC9D6497}"},
};

QList<RuntimeEntry> InstalledRuntimes() {
    QList<RuntimeEntry> entries;
    for (const auto& [channel, id] : kChannels) {
        const std::wstring key =
            L"Software\\Microsoft\\EdgeUpdate\\ClientState\\" + std::wstring(id);
        for (const HKEY hive : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
            // EdgeUpdate is a 32-bit program: its machine-wide keys are in the 32-bit view.
            HKEY state = nullptr;
            if (RegOpenKeyExW(hive, key.c_str(), 0, KEY_QUERY_VALUE | KEY_WOW64_32KEY, &state) !=
                ERROR_SUCCESS) {
                continue;
            }
            wchar_t value[MAX_PATH * 2];
            DWORD size = sizeof(value);
            if (RegGetValueW(state, nullptr, L"EBWebView", RRF_RT_REG_SZ, nullptr, value, &size) ==
                ERROR_SUCCESS) {
                entries.append(
                    {channel, hive == HKEY_CURRENT_USER, QString::fromWCharArray(value)});
            }
            RegCloseKey(state);
        }
    }
    return entries;
}

template <class T>
class Com {
public:
    Com() = default;
    explicit Com(T* adopted) : p_(adopted) {}
    Com(const Com& other) : p_(other.p_) {
        if (p_ != nullptr) {
            p_->AddRef();
        }
    }
    Com& operator=(Com other) {
        std::swap(p_, other.p_);
        return *this;
    }
    ~Com() { reset(); }

    static Com shared(T* p) {
        if (p != nullptr) {
            p->AddRef();
        }
        return Com(p);
    }
    template <class U>
    Com<U> as() const {
        U* u = nullptr;
        if (p_ != nullptr) {
            p_->QueryInterface(U::kIid, reinterpret_cast<void**>(&u));
        }
        return Com<U>(u);
    }
    void reset() {
        if (p_ != nullptr) {
            std::exchange(p_, nullptr)->Release();
        }
    }
    T* get() const { return p_; }
    T* operator->() const { return p_; }
    T** put() {
        reset();
        return &p_;
    }
    explicit operator bool() const { return p_ != nullptr; }

private:
    T* p_ = nullptr;
};

// One handler object around a function; the runtime keeps it alive as long as it needs it.
template <class Interface, class... Args>
class Callback final : public Interface {
public:
    static Com<Interface> make(std::function<void(Args...)> function) {
        return Com<Interface>(new Callback(std::move(function)));
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid == IID_IUnknown || iid == Interface::kIid) {
            *out = static_cast<Interface*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0) {
            delete this;
        }
        return left;
    }
    HRESULT STDMETHODCALLTYPE Invoke(Args... args) override {
        function_(args...);
        return S_OK;
    }

private:
    explicit Callback(std::function<void(Args...)> function) : function_(std::move(function)) {}
    ~Callback() = default;

    std::atomic<ULONG> references_ = 1;
    std::function<void(Args...)> function_;
};

QString Take(LPWSTR text) {
    const QString taken = text != nullptr ? QString::fromWCharArray(text) : QString();
    CoTaskMemFree(text);
    return taken;
}

bool WebAddress(const QString& address) {
    return address.startsWith(u"http://"_s, Qt::CaseInsensitive) ||
           address.startsWith(u"https://"_s, Qt::CaseInsensitive);
}

// What the window can bind as a shortcut of its own: a letter, a digit or a function key.
int ShortcutKey(UINT virtualKey) {
    if ((virtualKey >= 'A' && virtualKey <= 'Z') || (virtualKey >= '0' && virtualKey <= '9')) {
        return static_cast<int>(virtualKey);
    }
    if (virtualKey >= VK_F1 && virtualKey <= VK_F24) {
        return Qt::Key_F1 + static_cast<int>(virtualKey - VK_F1);
    }
    return 0;
}

Qt::KeyboardModifiers HeldModifiers() {
    Qt::KeyboardModifiers modifiers;
    for (const auto& [key, modifier] : {std::pair{VK_SHIFT, Qt::ShiftModifier},
                                        {VK_CONTROL, Qt::ControlModifier},
                                        {VK_MENU, Qt::AltModifier}}) {
        if (GetKeyState(key) < 0) {
            modifiers |= modifier;
        }
    }
    return modifiers;
}

class Note final : public QLabel {
public:
    Note(QWidget& place, UrlOpener& opener)
        : QLabel(u"显示网页需要 WebView2 运行时，点击下载"_s, &place), opener_(opener) {
        setCursor(Qt::PointingHandCursor);
        setToolTip(kRuntimePage);
        // The place itself takes the keys, so that it keeps its turn in the Tab order: Enter or
        // Space follows the note like a link, and the note is underlined while it has the focus.
        place.setFocusPolicy(Qt::TabFocus);
        place.setAccessibleName(text());
        place.installEventFilter(this);
    }

protected:
    // As a link: a left click pressed and released on the note.
    void mousePressEvent(QMouseEvent* event) override {
        pressed_ = event->button() == Qt::LeftButton;
    }
    void mouseReleaseEvent(QMouseEvent* event) override {
        if (std::exchange(pressed_, false) && event->button() == Qt::LeftButton &&
            rect().contains(event->position().toPoint())) {
            opener_.openAddress(kRuntimePage, {});
        }
    }

    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
            QFont underlined = font();
            underlined.setUnderline(event->type() == QEvent::FocusIn);
            setFont(underlined);
        } else if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) {
                opener_.openAddress(kRuntimePage, {});
                return true;
            }
        }
        return false;
    }

private:
    UrlOpener& opener_;
    bool pressed_ = false;
};

class WebView2Session;

class WebView2Pane final : public QObject, public Pane, public QAbstractNativeEventFilter {
public:
    WebView2Pane(WebView2Session& session, QWidget& place, PaneStyle style);
    ~WebView2Pane() override { close(); }

    void navigate(const QString& address) override;

    void create(ICoreWebView2Environment* environment);
    void close();
    void showNote();
    // Ready for navigations: the page's scripts are in place, or there is nothing to wait for.
    bool ready() const { return (view_ && scriptsPending_ == 0) || failed_ || !place_; }
    void go(const QString& address);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool nativeEventFilter(const QByteArray& type, void* message, qintptr* result) override;

private:
    void created(HRESULT result, ICoreWebView2Controller* controller);
    void adopt(ICoreWebView2Controller* controller);
    void addScript(const QString& script);
    void scriptsInPlace();
    void listen();
    void navigationStarting(ICoreWebView2NavigationStartingEventArgs* args, bool topLevel);
    void downloadStarting(ICoreWebView2DownloadStartingEventArgs* args);
    void acceleratorKey(ICoreWebView2AcceleratorKeyPressedEventArgs* args);
    void gotFocus();
    void setBounds();
    void setVisible(bool shown);
    void ended(COREWEBVIEW2_PROCESS_FAILED_KIND kind, bool normally);
    void focusOut(bool forward);

    WebView2Session& session_;
    QPointer<QWidget> place_;
    const PaneStyle style_;
    Com<ICoreWebView2Controller> controller_;
    Com<ICoreWebView2> view_;
    // Each creation asked of the runtime; an answer to an older one is closed unused.
    quint64 creation_ = 0;
    int scriptsPending_ = 0;
    QLabel* note_ = nullptr;
    bool failed_ = false;
    QString address_;
    // The program's own navigation, which the runtime counts as the user's, is not.
    bool ownNavigation_ = false;
    bool topNavigationByUser_ = false;
    // Addresses of navigations the user started, in any frame, until each became a download.
    QStringList userNavigations_;
    PaneRecovery recovery_;
    QTimer healed_;
    QTimer retry_;
    bool refocus_ = false;
};

class WebView2Session final : public PaneSession {
public:
    explicit WebView2Session(UrlOpener& opener) : opener_(opener) {
        healed_.setSingleShot(true);
        healed_.setInterval(PaneRecovery::kHealedAfter);
        QObject::connect(&healed_, &QTimer::timeout, [this] { recovery_.healed(); });
        restart_.setSingleShot(true);
        QObject::connect(&restart_, &QTimer::timeout, [this] { start(); });
        // Created once the panes are there: the event loop runs first.
        restart_.start(0);
    }

    ~WebView2Session() override { panes_.clear(); }

    Pane& addPane(QWidget& place, PaneStyle style) override {
        panes_.push_back(std::make_unique<WebView2Pane>(*this, place, style));
        return *panes_.back();
    }

    UrlOpener& opener() { return opener_; }

    // Navigations keep their order across the panes until every pane is ready.
    void navigate(WebView2Pane& pane, const QString& address) {
        queued_.emplace_back(&pane, address);
        flush();
    }

    void flush() {
        for (const auto& pane : panes_) {
            if (!pane->ready()) {
                return;
            }
        }
        for (const auto& [pane, address] : std::exchange(queued_, {})) {
            pane->go(address);
        }
    }

    // The browser process ended, or a pane could not be made: the runtime asks to start again
    // from a new environment, since an update may have removed the old one's files.
    void restart() {
        if (state_ == State::Waiting || state_ == State::GaveUp) {
            return;  // every pane reports it
        }
        environment_.reset();
        healed_.stop();
        for (const auto& pane : panes_) {
            pane->close();
        }
        if (const auto wait = recovery_.ended(false)) {
            state_ = State::Waiting;
            restart_.start(*wait);
            return;
        }
        state_ = State::GaveUp;
        for (const auto& pane : panes_) {
            pane->showNote();
        }
        flush();
    }

    // A pane whose page process ended is made again in the session's environment.
    void remake(WebView2Pane& pane) {
        if (environment_) {
            pane.create(environment_.get());
        }
    }

    void pageShown() { healed_.start(); }

private:
    enum class State { Starting, Running, Waiting, GaveUp };

    void start() {
        state_ = State::Starting;
        const quint64 attempt = ++attempts_;
        const QString folder = QDir::toNativeSeparators(
            QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
            u"/velmora/WebView2"_s);
        using Create = HRESULT(STDMETHODCALLTYPE*)(
            bool, int, PCWSTR, IUnknown*,
            ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler*);
        auto done =
            Callback<ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler, HRESULT,
                     ICoreWebView2Environment*>::make([this, attempt,
                                                       alive = QPointer(&healed_)](
                                                          HRESULT result,
                                                          ICoreWebView2Environment* environment) {
                // The window may have closed, or the session started again, meanwhile.
                if (alive && attempt == attempts_) {
                    started(result, environment);
                }
            });
        for (const QString& library : WebView2RuntimeCandidates(InstalledRuntimes())) {
            // Stays loaded for the rest of the run, like the runtime it starts.
            HMODULE module = LoadLibraryExW(reinterpret_cast<LPCWSTR>(library.utf16()), nullptr,
                                            LOAD_WITH_ALTERED_SEARCH_PATH);
            auto create = reinterpret_cast<Create>(reinterpret_cast<void (*)()>(
                module != nullptr
                    ? GetProcAddress(module, "CreateWebViewEnvironmentWithOptionsInternal")
                    : nullptr));
            // The flag as the public loaders pass it; runtime type 0 is an installed runtime.
            if (create != nullptr &&
                SUCCEEDED(create(true, 0, reinterpret_cast<PCWSTR>(folder.utf16()), nullptr,
                                 done.get()))) {
                return;
            }
        }
        if (attempt == attempts_) {
            started(E_FAIL, nullptr);
        }
    }

    void started(HRESULT result, ICoreWebView2Environment* environment) {
        if (FAILED(result) || environment == nullptr) {
            restart();
            return;
        }
        state_ = State::Running;
        environment_ = Com<ICoreWebView2Environment>::shared(environment);
        // A pane that cannot be made starts everything again, this environment gone.
        const auto kept = environment_;
        for (const auto& pane : panes_) {
            if (environment_.get() != kept.get()) {
                return;
            }
            pane->create(kept.get());
        }
    }

    UrlOpener& opener_;
    State state_ = State::Starting;
    quint64 attempts_ = 0;
    Com<ICoreWebView2Environment> environment_;
    std::vector<std::unique_ptr<WebView2Pane>> panes_;
    std::vector<std::pair<WebView2Pane*, QString>> queued_;
    PaneRecovery recovery_;
    QTimer healed_;
    QTimer restart_;
};

WebView2Pane::WebView2Pane(WebView2Session& session, QWidget& place, PaneStyle style)
    : session_(session), place_(&place), style_(style) {
    healed_.setSingleShot(true);
    healed_.setInterval(PaneRecovery::kHealedAfter);
    connect(&healed_, &QTimer::timeout, this, [this] { recovery_.healed(); });
    retry_.setSingleShot(true);
    connect(&retry_, &QTimer::timeout, this, [this] { session_.remake(*this); });
    // The runtime draws into a window of its own inside the place's; the rest of the window stays
    // drawn by Qt alone.
    QCoreApplication::setAttribute(Qt::AA_DontCreateNativeWidgetSiblings);
    place.setAttribute(Qt::WA_DontCreateNativeAncestors);
    place.setAttribute(Qt::WA_NativeWindow);
    place.installEventFilter(this);
    place.window()->installEventFilter(this);
    place.setFocusPolicy(Qt::StrongFocus);
    QCoreApplication::instance()->installNativeEventFilter(this);
    // Windows gives the keys back to the window when Qt's focus goes on from the page.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (now != nullptr && now != place_ && place_ &&
            IsChild(reinterpret_cast<HWND>(place_->winId()), GetFocus())) {
            SetFocus(reinterpret_cast<HWND>(place_->window()->winId()));
        }
    });
}

void WebView2Pane::navigate(const QString& address) {
    session_.navigate(*this, address);
}

void WebView2Pane::go(const QString& address) {
    address_ = address;
    if (view_) {
        ownNavigation_ = true;
        view_->Navigate(reinterpret_cast<LPCWSTR>(address.utf16()));
    }
}

void WebView2Pane::create(ICoreWebView2Environment* environment) {
    if (!place_ || note_ != nullptr) {
        return;
    }
    const auto hwnd = reinterpret_cast<HWND>(place_->winId());
    auto done = Callback<ICoreWebView2CreateCoreWebView2ControllerCompletedHandler, HRESULT,
                         ICoreWebView2Controller*>::make([this, creation = ++creation_,
                                                          alive = QPointer(this)](
                                                             HRESULT result,
                                                             ICoreWebView2Controller* controller) {
        if (alive && creation == creation_) {
            created(result, controller);
        } else if (SUCCEEDED(result) && controller != nullptr) {
            controller->Close();
        }
    });
    // Private mode keeps cookies, cache and history of the pages in memory.
    const auto environment10 =
        Com<ICoreWebView2Environment>::shared(environment).as<ICoreWebView2Environment10>();
    Com<ICoreWebView2ControllerOptions> options;
    if (environment10 &&
        SUCCEEDED(environment10->CreateCoreWebView2ControllerOptions(options.put())) && options &&
        SUCCEEDED(options->put_IsInPrivateModeEnabled(TRUE)) &&
        SUCCEEDED(environment10->CreateCoreWebView2ControllerWithOptions(hwnd, options.get(),
                                                                         done.get()))) {
        return;
    }
    if (const HRESULT result = environment->CreateCoreWebView2Controller(hwnd, done.get());
        FAILED(result)) {
        created(result, nullptr);
    }
}

void WebView2Pane::created(HRESULT result, ICoreWebView2Controller* controller) {
    if (result == E_ABORT) {
        return;  // the place's window is gone
    }
    // Another environment with other options uses the same folder: trying again cannot help.
    if (result == HRESULT_FROM_WIN32(ERROR_INVALID_STATE)) {
        showNote();
        session_.flush();
    } else if (FAILED(result) || controller == nullptr) {
        session_.restart();
    } else {
        adopt(controller);
    }
}

void WebView2Pane::adopt(ICoreWebView2Controller* controller) {
    controller_ = Com<ICoreWebView2Controller>::shared(controller);
    if (FAILED(controller->get_CoreWebView2(view_.put())) || !view_) {
        session_.restart();
        return;
    }
    Com<ICoreWebView2Settings> settings;
    if (SUCCEEDED(view_->get_Settings(settings.put())) && settings) {
        // In a strip 25 pixels high the status bar would cover the page.
        settings->put_IsStatusBarEnabled(FALSE);
        settings->put_AreDevToolsEnabled(FALSE);
        if (const auto settings3 = settings.as<ICoreWebView2Settings3>()) {
            settings3->put_AreBrowserAcceleratorKeysEnabled(FALSE);
        }
    }
    listen();
    // Scripts run at each document's creation once the runtime has them: until then the pane
    // waits with its navigations. One more is counted while they are added, as a runtime may
    // answer inside the call, before the next script is even given.
    const quint64 creation = creation_;
    ++scriptsPending_;
    if (style_ == PaneStyle::WithoutScrollBars) {
        addScript(kHideScrollBars);
    }
    addScript(kDownloadLinksAsWindows);
    setBounds();
    setVisible(true);
    if (std::exchange(refocus_, false)) {
        controller_->MoveFocus(COREWEBVIEW2_MOVE_FOCUS_REASON_PROGRAMMATIC);
    }
    if (creation == creation_ && --scriptsPending_ == 0) {
        scriptsInPlace();
    }
}

void WebView2Pane::addScript(const QString& script) {
    ++scriptsPending_;
    const auto done = Callback<ICoreWebView2AddScriptToExecuteOnDocumentCreatedCompletedHandler,
                               HRESULT, LPCWSTR>::make([this, creation = creation_,
                                                        alive = QPointer(this)](HRESULT, LPCWSTR) {
        if (alive && creation == creation_ && --scriptsPending_ == 0) {
            scriptsInPlace();
        }
    });
    if (FAILED(view_->AddScriptToExecuteOnDocumentCreated(reinterpret_cast<LPCWSTR>(script.utf16()),
                                                          done.get()))) {
        --scriptsPending_;
    }
}

void WebView2Pane::scriptsInPlace() {
    if (!address_.isEmpty()) {
        go(address_);  // made again after a failure
    }
    session_.flush();
}

void WebView2Pane::listen() {
    EventRegistrationToken token;
    UrlOpener& opener = session_.opener();
    const auto starting = [this](bool topLevel) {
        return Callback<ICoreWebView2NavigationStartingEventHandler, ICoreWebView2*,
                        ICoreWebView2NavigationStartingEventArgs*>::
            make([this, topLevel](ICoreWebView2*, ICoreWebView2NavigationStartingEventArgs* args) {
                navigationStarting(args, topLevel);
            });
    };
    view_->add_NavigationStarting(starting(true).get(), &token);
    view_->add_FrameNavigationStarting(starting(false).get(), &token);
    view_->add_NavigationCompleted(
        Callback<ICoreWebView2NavigationCompletedEventHandler, ICoreWebView2*,
                 ICoreWebView2NavigationCompletedEventArgs*>::
            make([this](ICoreWebView2* view, ICoreWebView2NavigationCompletedEventArgs*) {
                LPWSTR source = nullptr;
                if (SUCCEEDED(view->get_Source(&source))) {
                    address_ = Take(source);
                }
                if (style_ == PaneStyle::WithoutScrollBars) {
                    view->ExecuteScript(reinterpret_cast<LPCWSTR>(kHideScrollBars.utf16()),
                                        nullptr);
                }
                healed_.start();
                session_.pageShown();
            }).get(),
        &token);
    view_->add_NewWindowRequested(
        Callback<ICoreWebView2NewWindowRequestedEventHandler, ICoreWebView2*,
                 ICoreWebView2NewWindowRequestedEventArgs*>::
            make([&opener](ICoreWebView2*, ICoreWebView2NewWindowRequestedEventArgs* args) {
                args->put_Handled(TRUE);  // no window of the runtime's own
                BOOL user = FALSE;
                LPWSTR uri = nullptr;
                args->get_IsUserInitiated(&user);
                args->get_Uri(&uri);
                // A page may hand on only what the user asked for; the runtime marks one new
                // window per click or key.
                if (const QString address = Take(uri); user && WebAddress(address)) {
                    opener.openAddress(address, {});
                }
            }).get(),
        &token);
    view_->add_PermissionRequested(
        Callback<ICoreWebView2PermissionRequestedEventHandler, ICoreWebView2*,
                 ICoreWebView2PermissionRequestedEventArgs*>::
            make([](ICoreWebView2*, ICoreWebView2PermissionRequestedEventArgs* args) {
                args->put_State(COREWEBVIEW2_PERMISSION_STATE_DENY);
            }).get(),
        &token);
    view_->add_ProcessFailed(
        Callback<ICoreWebView2ProcessFailedEventHandler, ICoreWebView2*,
                 ICoreWebView2ProcessFailedEventArgs*>::
            make([this](ICoreWebView2*, ICoreWebView2ProcessFailedEventArgs* args) {
                COREWEBVIEW2_PROCESS_FAILED_KIND kind{};
                args->get_ProcessFailedKind(&kind);
                int exitCode = 1;
                if (const auto args2 = Com<ICoreWebView2ProcessFailedEventArgs>::shared(args)
                                           .as<ICoreWebView2ProcessFailedEventArgs2>()) {
                    args2->get_ExitCode(&exitCode);
                }
                // Queued: the pane may be closed, which the runtime must not see from inside.
                QTimer::singleShot(0, this, [this, kind, exitCode] { ended(kind, exitCode == 0); });
            }).get(),
        &token);
    if (const auto view4 = view_.as<ICoreWebView2_4>()) {
        view4->add_DownloadStarting(
            Callback<ICoreWebView2DownloadStartingEventHandler, ICoreWebView2*,
                     ICoreWebView2DownloadStartingEventArgs*>::
                make([this](ICoreWebView2*, ICoreWebView2DownloadStartingEventArgs* args) {
                    downloadStarting(args);
                }).get(),
            &token);
    }
    controller_->add_MoveFocusRequested(
        Callback<ICoreWebView2MoveFocusRequestedEventHandler, ICoreWebView2Controller*,
                 ICoreWebView2MoveFocusRequestedEventArgs*>::
            make([this](ICoreWebView2Controller*, ICoreWebView2MoveFocusRequestedEventArgs* args) {
                COREWEBVIEW2_MOVE_FOCUS_REASON reason{};
                args->get_Reason(&reason);
                if (reason != COREWEBVIEW2_MOVE_FOCUS_REASON_PROGRAMMATIC) {
                    args->put_Handled(TRUE);
                    focusOut(reason == COREWEBVIEW2_MOVE_FOCUS_REASON_NEXT);
                }
            }).get(),
        &token);
    controller_->add_GotFocus(
        Callback<ICoreWebView2FocusChangedEventHandler, ICoreWebView2Controller*, IUnknown*>::make(
            [this](ICoreWebView2Controller*, IUnknown*) { gotFocus(); })
            .get(),
        &token);
    controller_->add_AcceleratorKeyPressed(
        Callback<ICoreWebView2AcceleratorKeyPressedEventHandler, ICoreWebView2Controller*,
                 ICoreWebView2AcceleratorKeyPressedEventArgs*>::
            make([this](ICoreWebView2Controller*,
                        ICoreWebView2AcceleratorKeyPressedEventArgs* args) {
                acceleratorKey(args);
            }).get(),
        &token);
}

void WebView2Pane::navigationStarting(ICoreWebView2NavigationStartingEventArgs* args,
                                      bool topLevel) {
    BOOL user = FALSE;
    BOOL redirected = FALSE;
    LPWSTR uri = nullptr;
    args->get_IsUserInitiated(&user);
    args->get_IsRedirected(&redirected);
    args->get_Uri(&uri);
    const QString address = Take(uri);
    if (topLevel) {
        // A redirection is the user's when the navigation it redirects was.
        user = redirected ? topNavigationByUser_ : user && !std::exchange(ownNavigation_, false);
        topNavigationByUser_ = user;
    }
    if (user) {
        userNavigations_.append(address);
        if (userNavigations_.size() > 8) {
            userNavigations_.removeFirst();
        }
    }
}

// The program saves nothing; the user's browser may, when the user's own navigation, in the page
// or in one of its frames, became the download.
void WebView2Pane::downloadStarting(ICoreWebView2DownloadStartingEventArgs* args) {
    args->put_Cancel(TRUE);
    Com<ICoreWebView2DownloadOperation> download;
    LPWSTR uri = nullptr;
    if (SUCCEEDED(args->get_DownloadOperation(download.put())) && download &&
        SUCCEEDED(download->get_Uri(&uri))) {
        const QString address = Take(uri);
        if (userNavigations_.removeOne(address) && WebAddress(address)) {
            session_.opener().openAddress(address, {});
        }
    }
}

// The page has the keys; the window's own shortcuts (Ctrl+T for the chart) still work from it.
void WebView2Pane::acceleratorKey(ICoreWebView2AcceleratorKeyPressedEventArgs* args) {
    COREWEBVIEW2_KEY_EVENT_KIND kind{};
    UINT virtualKey = 0;
    args->get_KeyEventKind(&kind);
    args->get_VirtualKey(&virtualKey);
    const int key = ShortcutKey(virtualKey);
    if (place_ && key != 0 &&
        (kind == COREWEBVIEW2_KEY_EVENT_KIND_KEY_DOWN ||
         kind == COREWEBVIEW2_KEY_EVENT_KIND_SYSTEM_KEY_DOWN) &&
        qt_sendShortcutOverrideEvent(place_, 0, key, HeldModifiers(), {}, false, 1)) {
        args->put_Handled(TRUE);
    }
}

// A click into the page gave it the keys, which Qt does not see: the widget that had Qt's focus
// would take no click then, and the keys would stay in the page. Without a focus widget, a click
// on any control moves Qt's focus, and that takes the keys back.
void WebView2Pane::gotFocus() {
    if (QWidget* focus = QApplication::focusWidget(); focus != nullptr && focus != place_) {
        focus->clearFocus();
    }
}

void WebView2Pane::close() {
    healed_.stop();
    retry_.stop();
    ++creation_;
    // The page had the keys; the next one gets them.
    refocus_ =
        controller_ && place_ && IsChild(reinterpret_cast<HWND>(place_->winId()), GetFocus());
    view_.reset();
    scriptsPending_ = 0;
    if (controller_) {
        controller_->Close();
        controller_.reset();
    }
}

void WebView2Pane::showNote() {
    failed_ = true;
    if (note_ != nullptr || !place_) {
        return;
    }
    note_ = new Note(*place_, session_.opener());
    auto* layout = new QVBoxLayout(place_);
    layout->setContentsMargins(2, 0, 2, 0);
    layout->addWidget(note_);
    note_->show();
}

// The runtime's window fills the place's, in the place's own (physical) pixels.
void WebView2Pane::setBounds() {
    if (controller_ && place_) {
        RECT bounds{};
        GetClientRect(reinterpret_cast<HWND>(place_->winId()), &bounds);
        controller_->put_Bounds(bounds);
    }
}

// Shown only while the window is.
void WebView2Pane::setVisible(bool shown) {
    if (controller_ && place_) {
        controller_->put_IsVisible(shown && place_->isVisible() &&
                                   !place_->window()->isMinimized());
    }
}

void WebView2Pane::ended(COREWEBVIEW2_PROCESS_FAILED_KIND kind, bool normally) {
    if (kind == COREWEBVIEW2_PROCESS_FAILED_KIND_BROWSER_PROCESS_EXITED) {
        session_.restart();
        return;
    }
    if (kind != COREWEBVIEW2_PROCESS_FAILED_KIND_RENDER_PROCESS_EXITED || !view_) {
        return;
    }
    healed_.stop();
    if (const auto wait = recovery_.ended(normally)) {
        close();
        retry_.start(*wait);
    }
}

// Focus goes on past the place, as a Tab key would take it.
void WebView2Pane::focusOut(bool forward) {
    if (!place_) {
        return;
    }
    QWidget* next = place_;
    do {
        next = forward ? next->nextInFocusChain() : next->previousInFocusChain();
    } while (next != place_ &&
             !(next->isVisible() && next->isEnabled() &&
               (next->focusPolicy() & Qt::TabFocus) != 0 && next->window() == place_->window()));
    next->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
}

bool WebView2Pane::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::Show:
        case QEvent::Hide:
            if (watched == place_) {
                setVisible(event->type() == QEvent::Show);
            }
            break;
        case QEvent::WindowStateChange:
            setVisible(true);
            break;
        case QEvent::FocusIn:
            if (watched == place_ && controller_) {
                const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
                controller_->MoveFocus(reason == Qt::TabFocusReason
                                           ? COREWEBVIEW2_MOVE_FOCUS_REASON_NEXT
                                       : reason == Qt::BacktabFocusReason
                                           ? COREWEBVIEW2_MOVE_FOCUS_REASON_PREVIOUS
                                           : COREWEBVIEW2_MOVE_FOCUS_REASON_PROGRAMMATIC);
            }
            break;
        default:
            break;
    }
    return false;
}

// The place's window changes its size in physical pixels without a resize event of Qt's when the
// window goes to a screen of another scale; and the runtime places its pop-ups (a list's choices,
// an input method's window) by its parent's position on the screen.
bool WebView2Pane::nativeEventFilter(const QByteArray&, void* message, qintptr*) {
    const auto* msg = static_cast<const MSG*>(message);
    if (!controller_ || !place_ || (msg->message != WM_SIZE && msg->message != WM_MOVE)) {
        return false;
    }
    const auto window = reinterpret_cast<HWND>(place_->internalWinId());
    if (msg->message == WM_SIZE && msg->hwnd == window) {
        setBounds();
    } else if (msg->message == WM_MOVE && (msg->hwnd == window || IsChild(msg->hwnd, window))) {
        controller_->NotifyParentWindowPositionChanged();
    }
    return false;
}

class WebView2Engine final : public PaneEngine {
public:
    QString unavailableReason() const override { return {}; }
    std::unique_ptr<PaneSession> openSession(UrlOpener& opener) override {
        return std::make_unique<WebView2Session>(opener);
    }
};

}  // namespace

PaneEngine& WebView2PaneEngine() {
    static WebView2Engine engine;
    return engine;
}

}  // namespace velmora
