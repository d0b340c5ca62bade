// A stand-in for the WebView2 runtime's EmbeddedBrowserWebView.dll, for the tests under Wine, as
// strict as the runtime: its objects count their references and are reported when leaked, released
// once too often or called after their end; it asks each handler for its interface before calling
// it; completions come later from the message loop, or inside the call that started them; a
// controller whose parent window is destroyed while it is made fails with E_ABORT; creations fail
// when the test says so. It paints each pane's window one colour, notes every call in a log and
// raises the runtime's events when the test asks. Its slots are counted from Microsoft's IDL
// (IUnknown's three first) apart from the program's declarations, so that a slot wrong there
// shows here as an unexpected call.

#include <windows.h>

#include <array>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr int kSlots = 80;
using Table = std::array<void*, kSlots>;

struct Kind {
    Table table;
    std::vector<std::wstring> iids;
    const wchar_t* name;
};

struct Object {
    void* const* vtable;
    const Kind* kind;
    int pane = -1;
    std::wstring text;  // event arguments: Uri; a view: its Source
    int number = 0;     // Reason, ProcessFailedKind, KeyEventKind, IsRedirected; a view: scripts
                        // not yet in place
    BOOL flag = FALSE;  // IsUserInitiated, ExitCode, VirtualKey, IsInPrivateModeEnabled; an
                        // environment: its runtime's files are gone
    ULONG references = 1;
    Object* kept = nullptr;  // held while this lives: a controller's view, a view's environment
};

struct Handler {
    void* object;  // the program's
    const wchar_t* iid;
};

struct Pane {
    HWND parent = nullptr;
    HWND window = nullptr;
    void* creating = nullptr;  // the completion handler while the controller is made
    bool open = false;
    std::map<int, std::vector<Handler>> handlers;  // by event: its add_ method's slot, +100 for a
                                                   // controller's
};

std::wstring gLog;
std::wstring gErrors;
std::deque<Pane> gPanes;
std::vector<Object*> gObjects;
std::deque<std::function<void()>> gQueue;
std::deque<std::function<void()>> gHeld;
HWND gQueueWindow = nullptr;
bool gSynchronous = false;
bool gHolding = false;
int gFailingEnvironments = 0;
int gFailingControllers = 0;
HRESULT gFailure = E_FAIL;

template <class... Values>
std::wstring Format(const wchar_t* format, Values... values) {
    wchar_t line[4096];
    swprintf(line, 4096, format, values...);
    return line + std::wstring(L"\n");
}
template <class... Values>
HRESULT Note(int pane, const wchar_t* format, Values... values) {
    if (pane >= 0) {
        gLog += L'w' + std::to_wstring(reinterpret_cast<UINT_PTR>(gPanes[pane].parent)) + L' ';
    }
    gLog += Format(format, values...);
    return S_OK;
}

// Events come later from the message loop, as the runtime's do; completions too, or at once.
void Later(std::function<void()> work) {
    gQueue.push_back(std::move(work));
    PostMessageW(gQueueWindow, WM_APP, 0, 0);
}
void Complete(std::function<void()> work, bool holdable = false) {
    if (holdable && gHolding) {
        gHeld.push_back(std::move(work));
    } else if (gSynchronous) {
        work();
    } else {
        Later(std::move(work));
    }
}

// Calls into the program's objects, through their own tables.
template <class Result, class... Args>
Result Slot(void* object, int slot, Args... args) {
    using Function = Result(STDMETHODCALLTYPE*)(void*, Args...);
    return reinterpret_cast<Function>((*static_cast<void***>(object))[slot])(object, args...);
}
void AddRef(void* object) {
    Slot<ULONG>(object, 1);
}
void Release(void* object) {
    Slot<ULONG>(object, 2);
}
void Invoke(const Handler& handler, void* first, void* second) {
    IID iid{};
    IIDFromString(handler.iid, &iid);
    void* typed = nullptr;
    if (FAILED(Slot<HRESULT>(handler.object, 0, &iid, &typed)) || typed == nullptr) {
        gErrors += Format(L"a handler does not answer %ls", handler.iid);
        return;
    }
    Slot<HRESULT>(typed, 3, first, second);
    Release(typed);
}

template <int N>
HRESULT STDMETHODCALLTYPE Missing(Object* self) {
    return Note(self->pane, L"unexpected call to slot %d", N);
}
HRESULT STDMETHODCALLTYPE Dead(Object* self) {
    gErrors += Format(L"a call to a released %ls", self->kind->name);
    return E_UNEXPECTED;
}

ULONG STDMETHODCALLTYPE AddRefObject(Object* self) {
    return ++self->references;
}
void Close(Object* controller);
Table DeadTable();
ULONG STDMETHODCALLTYPE ReleaseObject(Object* self) {
    if (--self->references > 0) {
        return self->references;
    }
    static const Table dead = DeadTable();
    if (std::wstring(self->kind->name) == L"controller") {
        Close(self);  // as the runtime does when the last reference goes
    }
    self->vtable = dead.data();
    if (self->kept != nullptr) {
        ReleaseObject(self->kept);
    }
    return 0;
}
HRESULT STDMETHODCALLTYPE QueryInterface(Object* self, REFIID iid, void** out) {
    wchar_t text[40];
    StringFromGUID2(iid, text, 40);
    *out = nullptr;
    for (const std::wstring& known : self->kind->iids) {
        if (_wcsicmp(known.c_str(), text) == 0 || iid == IID_IUnknown) {
            *out = self;
        }
    }
    if (*out == nullptr) {
        return E_NOINTERFACE;
    }
    AddRefObject(self);
    return S_OK;
}

template <std::size_t... N>
Table MissingTable(std::index_sequence<N...>) {
    return {reinterpret_cast<void*>(&Missing<static_cast<int>(N)>)...};
}
template <class F>
void* Fn(F* function) {
    return reinterpret_cast<void*>(function);
}
Table NewTable(std::initializer_list<std::pair<int, void*>> answered) {
    Table table = MissingTable(std::make_index_sequence<kSlots>());
    table[0] = Fn(&QueryInterface);
    table[1] = Fn(&AddRefObject);
    table[2] = Fn(&ReleaseObject);
    for (const auto& [slot, function] : answered) {
        table[slot] = function;
    }
    return table;
}
Table DeadTable() {
    Table table;
    table.fill(Fn(&Dead));
    return table;
}
Object* New(const Kind& kind, int pane = -1, std::wstring text = {}) {
    return gObjects.emplace_back(new Object{kind.table.data(), &kind, pane, std::move(text)});
}
// A getter of an object made anew, of the asker's pane and with its text.
template <const Kind& Made>
HRESULT STDMETHODCALLTYPE Make(Object* self, Object** out) {
    *out = New(Made, self->pane, self->text);
    return S_OK;
}
// A getter of the object this one keeps.
HRESULT STDMETHODCALLTYPE GetKept(Object* self, Object** out) {
    *out = self->kept;
    AddRefObject(*out);
    return S_OK;
}

template <int Event, const wchar_t* Iid>
HRESULT STDMETHODCALLTYPE Add(Object* self, void* handler, INT64* token) {
    AddRef(handler);
    gPanes[self->pane].handlers[Event].push_back({handler, Iid});
    *token = Event;
    return S_OK;
}
void Raise(int pane, int event, void* sender, Object* args) {
    // A copy: a handler may close its pane.
    for (const Handler& handler : std::vector(gPanes[pane].handlers[event])) {
        Invoke(handler, sender, args);
    }
}

template <auto Field, class Value>
HRESULT STDMETHODCALLTYPE Get(Object* self, Value* out) {
    *out = self->*Field;
    return S_OK;
}
constexpr auto GetNumber = &Get<&Object::number, int>;
constexpr auto GetFlag = &Get<&Object::flag, BOOL>;
HRESULT STDMETHODCALLTYPE GetText(Object* self, LPWSTR* out) {
    *out = static_cast<LPWSTR>(CoTaskMemAlloc((self->text.size() + 1) * sizeof(wchar_t)));
    wcscpy(*out, self->text.c_str());
    return S_OK;
}
template <const wchar_t* Name>
HRESULT STDMETHODCALLTYPE Put(Object* self, BOOL value) {
    return Note(self->pane, L"%ls %d", Name, value);
}

constexpr wchar_t kStatusBar[] = L"status bar", kDevTools[] = L"dev tools",
                  kAcceleratorKeys[] = L"accelerator keys", kHandled[] = L"handled",
                  kPermission[] = L"permission", kCancel[] = L"cancel";
// The handlers' interfaces: environment and controller made, script added, then the events.
constexpr wchar_t kEnvironmentMade[] = L"{4e8a3389-c9d8-4bd2-b6b5-124fee6cc14d}",
                  kControllerMade[] = L"{6c4819f3-c9b7-4260-8127-c9f5bde7f68c}",
                  kScriptAdded[] = L"{b99369f3-9b11-47b5-bc6f-8e7895fcea17}",
                  kStarting[] = L"{9adbe429-f36d-432b-9ddc-f8881fbd76e3}",
                  kCompleted[] = L"{d33a35bf-1c49-4f98-93ab-006e0533fe1c}",
                  kPermissionAsked[] = L"{15e1c6a3-c72a-4df3-91d7-d097fbec6bfd}",
                  kFailed[] = L"{79e0aea4-990b-42d9-aa1d-0fcc2e5bc7f1}",
                  kNewWindow[] = L"{d4c185fe-c81c-4989-97af-2d3fa7ab5651}",
                  kDownloadStarting[] = L"{efedc989-c396-41ca-83f7-07f845a55724}",
                  kMoveFocus[] = L"{69035451-6dc7-4cb8-9bce-b2bd70ad289f}",
                  kFocus[] = L"{05ea24bd-6452-4926-9014-4b82b498135d}",
                  kAcceleratorKey[] = L"{b29c7e28-fa79-41a8-8e44-65811c76dcb2}";

// ICoreWebView2Settings, Settings3
const Kind kSettings{
    NewTable(
        {{10, Fn(&Put<kStatusBar>)}, {12, Fn(&Put<kDevTools>)}, {24, Fn(&Put<kAcceleratorKeys>)}}),
    {L"{e562e4f0-d7fa-43ac-8d71-c05150499f00}", L"{fdb5ab74-af33-4854-84f0-0a631deb5eba}"},
    L"settings"};
// The arguments of the events, and a download's operation.
const Kind kFocusArgs{NewTable({{3, Fn(GetNumber)}, {5, Fn(&Put<kHandled>)}}), {}, L"arguments"};
const Kind kStartingArgs{
    NewTable({{3, Fn(&GetText)}, {4, Fn(GetFlag)}, {5, Fn(GetNumber)}}), {}, L"arguments"};
const Kind kNewWindowArgs{
    NewTable({{3, Fn(&GetText)}, {6, Fn(&Put<kHandled>)}, {8, Fn(GetFlag)}}), {}, L"arguments"};
const Kind kFailedArgs{
    NewTable({{3, Fn(GetNumber)}, {5, Fn(GetFlag)}}),
    {L"{8155a9a4-1474-4a86-8cae-151b0fa6b8ca}", L"{4dab9422-46fa-4c3e-a5d2-41d2071d3680}"},
    L"arguments"};
const Kind kPermissionArgs{NewTable({{7, Fn(&Put<kPermission>)}}), {}, L"arguments"};
const Kind kDownload{NewTable({{9, Fn(&GetText)}}), {}, L"download"};
const Kind kDownloadArgs{
    NewTable({{3, Fn(&Make<kDownload>)}, {5, Fn(&Put<kCancel>)}}), {}, L"arguments"};
const Kind kKeyArgs{
    NewTable({{3, Fn(GetNumber)}, {4, Fn(GetFlag)}, {8, Fn(&Put<kHandled>)}}), {}, L"arguments"};

HRESULT STDMETHODCALLTYPE Navigate(Object* self, LPCWSTR uri) {
    if (self->number > 0) {
        gErrors += Format(L"a navigation before the scripts at creation were in place");
    }
    AddRefObject(self);
    Later([self, address = std::wstring(uri)] {
        // The program's own navigations count as the user's.
        Object* starting = New(kStartingArgs, self->pane, address);
        starting->flag = TRUE;
        Raise(self->pane, 7, self, starting);
        ReleaseObject(starting);
        self->text = address;
        Raise(self->pane, 15, self, nullptr);
        ReleaseObject(self);
    });
    return Note(self->pane, L"navigate %ls", uri);
}
HRESULT STDMETHODCALLTYPE AddScript(Object* self, LPCWSTR script, void* handler) {
    Note(self->pane, L"script at creation %ls", script);
    ++self->number;
    AddRefObject(self);
    if (handler != nullptr) {
        AddRef(handler);
    }
    Complete([self, handler] {
        --self->number;
        if (handler != nullptr) {
            Invoke({handler, kScriptAdded}, reinterpret_cast<void*>(S_OK),
                   const_cast<LPWSTR>(L"1"));
            Release(handler);
        }
        ReleaseObject(self);
    });
    return S_OK;
}
HRESULT STDMETHODCALLTYPE ExecuteScript(Object* self, LPCWSTR script, void*) {
    return Note(self->pane, L"script %ls", script);
}

// ICoreWebView2, _2, _4
const Kind kView{
    NewTable({
        {3, Fn(&Make<kSettings>)},  // get_Settings
        {4, Fn(&GetText)},          // get_Source
        {5, Fn(&Navigate)},
        {7, Fn(&Add<7, kStarting>)},     // add_NavigationStarting
        {15, Fn(&Add<15, kCompleted>)},  // add_NavigationCompleted
        {17, Fn(&Add<17, kStarting>)},   // add_FrameNavigationStarting
        {23, Fn(&Add<23, kPermissionAsked>)},
        {25, Fn(&Add<25, kFailed>)},
        {27, Fn(&AddScript)},  // AddScriptToExecuteOnDocumentCreated
        {29, Fn(&ExecuteScript)},
        {44, Fn(&Add<44, kNewWindow>)},
        {67, Fn(&GetKept)},  // get_Environment
        {75, Fn(&Add<75, kDownloadStarting>)},
    }),
    {L"{76eceacb-0462-4d94-ac83-423a6793775e}", L"{9E8F0CF8-E670-4B5E-B2BC-73E061E3184C}",
     L"{20d02d59-6df2-42dc-bd06-f98a694b1302}"},
    L"view"};

void Close(Object* controller) {
    Pane& pane = gPanes[controller->pane];
    if (!pane.open) {
        return;
    }
    pane.open = false;
    DestroyWindow(std::exchange(pane.window, nullptr));
    for (const auto& [event, handlers] : std::exchange(pane.handlers, {})) {
        for (const Handler& handler : handlers) {
            Release(handler.object);
        }
    }
}

// ICoreWebView2Controller
const Kind kController{
    NewTable({
        {4, Fn(+[](Object* s, BOOL visible) {  // put_IsVisible
             ShowWindow(gPanes[s->pane].window, visible ? SW_SHOWNA : SW_HIDE);
             return Note(s->pane, L"visible %d", visible);
         })},
        {6, Fn(+[](Object* s, RECT r) {  // put_Bounds
             SetWindowPos(gPanes[s->pane].window, nullptr, r.left, r.top, r.right - r.left,
                          r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
             return Note(s->pane, L"bounds %ld %ld %ld %ld", r.left, r.top, r.right, r.bottom);
         })},
        {12, Fn(+[](Object* s, int reason) {  // MoveFocus
             SetFocus(gPanes[s->pane].window);
             return Note(s->pane, L"focus %d", reason);
         })},
        {13, Fn(&Add<113, kMoveFocus>)},       // add_MoveFocusRequested
        {15, Fn(&Add<115, kFocus>)},           // add_GotFocus
        {19, Fn(&Add<119, kAcceleratorKey>)},  // add_AcceleratorKeyPressed
        {23, Fn(+[](Object* s) {               // NotifyParentWindowPositionChanged
             return Note(s->pane, L"moved");
         })},
        {24, Fn(+[](Object* s) {
             Close(s);
             return Note(s->pane, L"close");
         })},
        {25, Fn(&GetKept)},  // get_CoreWebView2
    }),
    {L"{4d00c0d1-9434-4eb6-8078-8697a560334f}"},
    L"controller"};

void Made(int index, HRESULT result, Object* environment) {
    Pane& pane = gPanes[index];
    void* handler = std::exchange(pane.creating, nullptr);
    if (handler == nullptr) {
        return;  // answered already: its parent window is gone
    }
    Object* controller = nullptr;
    if (SUCCEEDED(result)) {
        pane.open = true;
        controller = New(kController, index);
        controller->kept = New(kView, index);
        controller->kept->kept = environment;
        AddRefObject(environment);
    } else {
        DestroyWindow(std::exchange(pane.window, nullptr));
    }
    Invoke({handler, kControllerMade}, reinterpret_cast<void*>(result), controller);
    Release(handler);
    if (controller != nullptr) {
        ReleaseObject(controller);
    }
}

HRESULT CreateController(Object* environment, HWND parent, BOOL inPrivate, void* handler) {
    for (const Pane& other : gPanes) {
        if (other.open && other.parent == parent) {
            gErrors += Format(L"a second controller for one window");
        }
    }
    gPanes.push_back({parent, nullptr, handler, false, {}});
    const int index = static_cast<int>(gPanes.size()) - 1;
    Note(index, L"controller, private %d", inPrivate);
    AddRef(handler);
    // Made at once, so that a parent destroyed meanwhile destroys it too.
    gPanes[index].window = CreateWindowExW(0, L"VelmoraStandInPane", L"", WS_CHILD, 0, 0, 0, 0,
                                           parent, nullptr, nullptr, nullptr);
    // An environment whose runtime's files an update removed makes nothing any more.
    const HRESULT result = environment->flag         ? HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND)
                           : gFailingControllers > 0 ? (--gFailingControllers, gFailure)
                                                     : S_OK;
    AddRefObject(environment);
    Complete(
        [index, result, environment] {
            Made(index, result, environment);
            ReleaseObject(environment);
        },
        true);
    return S_OK;
}

// ICoreWebView2ControllerOptions
const Kind kOptions{NewTable({{6, Fn(+[](Object* s, BOOL on) {  // put_IsInPrivateModeEnabled
                                   s->flag = on;
                                   return S_OK;
                               })}}),
                    {L"{12aae616-8ccb-44ec-bcb3-eb1831881635}"},
                    L"options"};
// ICoreWebView2Environment, Environment10
const Kind kEnvironment{
    NewTable({
        {3, Fn(+[](Object* s, HWND parent, void* handler) {  // CreateCoreWebView2Controller
             return CreateController(s, parent, FALSE, handler);
         })},
        {20, Fn(&Make<kOptions>)},  // CreateCoreWebView2ControllerOptions
        {21, Fn(+[](Object* s, HWND parent, Object* options, void* handler) {  // ...WithOptions
             return CreateController(s, parent, options->flag, handler);
         })},
    }),
    {L"{b96d755e-0319-4e92-a296-23436f46a1fc}", L"{ee0eb9df-6f12-46ce-b53f-3f47b9c928e0}"},
    L"environment"};

LRESULT CALLBACK PaneWindow(HWND window, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_DESTROY) {
        for (std::size_t i = 0; i < gPanes.size(); ++i) {
            if (gPanes[i].window == window && gPanes[i].creating != nullptr) {
                gPanes[i].window = nullptr;
                Note(static_cast<int>(i), L"abort");
                Made(static_cast<int>(i), E_ABORT, nullptr);
            }
        }
    }
    return DefWindowProcW(window, message, w, l);
}

void Prepare() {
    if (gQueueWindow != nullptr) {
        return;
    }
    WNDCLASSW pane{};
    pane.lpfnWndProc = &PaneWindow;
    pane.hbrBackground = CreateSolidBrush(RGB(0x2e, 0x8b, 0x57));
    pane.lpszClassName = L"VelmoraStandInPane";
    RegisterClassW(&pane);
    WNDCLASSW queue{};
    queue.lpfnWndProc = [](HWND window, UINT message, WPARAM w, LPARAM l) -> LRESULT {
        if (message != WM_APP || gQueue.empty()) {
            return DefWindowProcW(window, message, w, l);
        }
        auto work = std::move(gQueue.front());
        gQueue.pop_front();
        work();
        return 0;
    };
    queue.lpszClassName = L"VelmoraStandInQueue";
    RegisterClassW(&queue);
    gQueueWindow = CreateWindowExW(0, L"VelmoraStandInQueue", L"", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                   nullptr, nullptr, nullptr);
}

}  // namespace

extern "C" {

__declspec(dllexport) HRESULT STDMETHODCALLTYPE
    CreateWebViewEnvironmentWithOptionsInternal(bool checkRunning, int runtimeType,
                                                PCWSTR userDataFolder, IUnknown* options,
                                                void* handler) {
    Prepare();
    Note(-1, L"environment %d %d %ls%ls", checkRunning, runtimeType, userDataFolder,
         options != nullptr ? L" with options" : L"");
    AddRef(handler);
    Object* environment = gFailingEnvironments > 0 ? nullptr : New(kEnvironment);
    const HRESULT result = environment != nullptr ? S_OK : (--gFailingEnvironments, gFailure);
    Complete([handler, environment, result] {
        Invoke({handler, kEnvironmentMade}, reinterpret_cast<void*>(result), environment);
        Release(handler);
        if (environment != nullptr) {
            ReleaseObject(environment);
        }
    });
    return S_OK;
}

// The test's side. StandInReset starts a test: completions come at once or later, the log and the
// errors are empty. StandInFail makes the next environments and controllers fail with `failure`;
// StandInHold keeps controllers from being made until it is called again with false;
// StandInUpdate removes the files of every environment made so far, as an update does.
// StandInErrors reports what the program did wrong, with the objects still alive once nothing is
// left to do (StandInIdle): at the end of a test, leaks.
__declspec(dllexport) void StandInReset(bool synchronous) {
    gSynchronous = synchronous;
    gFailingEnvironments = gFailingControllers = 0;
    gLog.clear();
    gErrors.clear();
}
__declspec(dllexport) void StandInFail(int environments, int controllers, HRESULT failure) {
    gFailingEnvironments = environments;
    gFailingControllers = controllers;
    gFailure = failure;
}
__declspec(dllexport) void StandInHold(bool holding) {
    gHolding = holding;
    while (!holding && !gHeld.empty()) {
        Later(std::move(gHeld.front()));
        gHeld.pop_front();
    }
}
__declspec(dllexport) void StandInUpdate() {
    for (Object* object : gObjects) {
        object->flag = object->kind == &kEnvironment ? TRUE : object->flag;
    }
}
__declspec(dllexport) const wchar_t* StandInLog() {
    return gLog.c_str();
}
__declspec(dllexport) bool StandInIdle() {
    return gQueue.empty() && gHeld.empty();
}
__declspec(dllexport) const wchar_t* StandInErrors() {
    static std::wstring report;
    report = gErrors;
    std::erase_if(gObjects, [](Object* object) {
        if (object->references > 0) {
            report += Format(L"a %ls left alive", object->kind->name);
        }
        return true;
    });
    return report.c_str();
}
// Events go to the pane open in the given window: NavigationStarting (7) and
// FrameNavigationStarting (17) with an address, whether the user asked and whether it is
// redirected; NewWindowRequested (44) with an address and whether the user asked;
// PermissionRequested (23) and DownloadStarting (75) with an address; ProcessFailed (25) with a
// kind and an exit code, a browser process's (kind 0) under every pane; a controller's
// MoveFocusRequested (113) with a reason, GotFocus (115) once its window has the focus, and
// AcceleratorKeyPressed (119) with a key event's kind and its virtual key.
__declspec(dllexport) void StandInRaise(HWND parent, int event, LPCWSTR text, int number,
                                        BOOL flag) {
    const std::map<int, const Kind*> kinds{
        {7, &kStartingArgs}, {17, &kStartingArgs},  {23, &kPermissionArgs},
        {25, &kFailedArgs},  {44, &kNewWindowArgs}, {75, &kDownloadArgs},
        {113, &kFocusArgs},  {115, nullptr},        {119, &kKeyArgs}};
    for (int pane = 0; pane < static_cast<int>(gPanes.size()); ++pane) {
        if (!gPanes[pane].open ||
            (gPanes[pane].parent != parent && !(event == 25 && number == 0))) {
            continue;
        }
        Object* args = kinds.at(event) != nullptr
                           ? New(*kinds.at(event), pane, text != nullptr ? text : L"")
                           : nullptr;
        if (args != nullptr) {
            args->number = number;
            args->flag = flag;
        }
        if (event == 115) {
            SetFocus(gPanes[pane].window);
        }
        Raise(pane, event, nullptr, args);
        if (args != nullptr) {
            ReleaseObject(args);
        }
    }
}
}
