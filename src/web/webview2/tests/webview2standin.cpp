// A stand-in for the WebView2 runtime's EmbeddedBrowserWebView.dll, for the tests under Wine, as
// strict as the runtime: its objects count their references, and one leaked, released once too
// often or called after its end is reported; each handler is asked for its interface before it is
// called; completions come from the message loop, or inside the call that started them; a
// controller whose parent window is destroyed while it is made fails with E_ABORT; creations fail
// when the test says so. It paints each pane's window one colour and notes every call in a log.
// Slots are counted from Microsoft's IDL apart from the program's declarations, so that a slot
// wrong there is reported as a call to a slot unknown here.

#include <windows.h>

#include <array>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace {

// The runtime's objects; the arguments of an event are of the event's kind, which is the slot of
// its add_ method, +100 for a controller's.
enum Kind { kEnvironment = 1000, kOptions, kController, kView, kSettings, kDownload };

// The interfaces each kind answers besides IUnknown; those of the handlers that it calls, by event
// or by what was made.
const std::map<int, std::wstring> kInterfaces{
    {kEnvironment, L"{b96d755e-0319-4e92-a296-23436f46a1fc}{ee0eb9df-6f12-46ce-b53f-3f47b9c928e0}"},
    {kOptions, L"{12aae616-8ccb-44ec-bcb3-eb1831881635}"},
    {kController, L"{4d00c0d1-9434-4eb6-8078-8697a560334f}"},
    {kView,
     L"{76eceacb-0462-4d94-ac83-423a6793775e}{9e8f0cf8-e670-4b5e-b2bc-73e061e3184c}"
     L"{20d02d59-6df2-42dc-bd06-f98a694b1302}"},
    {kSettings, L"{e562e4f0-d7fa-43ac-8d71-c05150499f00}{fdb5ab74-af33-4854-84f0-0a631deb5eba}"},
    {25, L"{8155a9a4-1474-4a86-8cae-151b0fa6b8ca}{4dab9422-46fa-4c3e-a5d2-41d2071d3680}"}};
const std::map<int, const wchar_t*> kHandlers{
    {7, L"{9adbe429-f36d-432b-9ddc-f8881fbd76e3}"},
    {15, L"{d33a35bf-1c49-4f98-93ab-006e0533fe1c}"},
    {17, L"{9adbe429-f36d-432b-9ddc-f8881fbd76e3}"},
    {23, L"{15e1c6a3-c72a-4df3-91d7-d097fbec6bfd}"},
    {25, L"{79e0aea4-990b-42d9-aa1d-0fcc2e5bc7f1}"},
    {44, L"{d4c185fe-c81c-4989-97af-2d3fa7ab5651}"},
    {75, L"{efedc989-c396-41ca-83f7-07f845a55724}"},
    {113, L"{69035451-6dc7-4cb8-9bce-b2bd70ad289f}"},
    {115, L"{05ea24bd-6452-4926-9014-4b82b498135d}"},
    {119, L"{b29c7e28-fa79-41a8-8e44-65811c76dcb2}"},
    {27, L"{b99369f3-9b11-47b5-bc6f-8e7895fcea17}"},
    {kEnvironment, L"{4e8a3389-c9d8-4bd2-b6b5-124fee6cc14d}"},
    {kController, L"{6c4819f3-c9b7-4260-8127-c9f5bde7f68c}"}};
// The slots of the events' arguments, a download's operation and a view's Source, from slot 3 on:
// what each gives, its object's text (Uri, Source), number (ProcessFailedKind, Reason,
// KeyEventKind, IsRedirected), flag (IsUserInitiated, ExitCode, VirtualKey) or download
// (DownloadOperation), or what it notes: Handled, Cancel, a permission's State.
const std::map<int, std::string> kArguments{{7, "tfn"},   {17, "tfn"},     {23, "....s"},
                                            {25, "n.f"},  {44, "t..h.f"},  {75, "d.c"},
                                            {113, "n.h"}, {119, "nf...h"}, {kDownload, "......t"},
                                            {kView, ".t"}};

struct Object;
UINT_PTR Call(Object* self, int slot, UINT_PTR a, UINT_PTR b, UINT_PTR c);
// Every slot of every object: the first three arguments, whatever their types, come in registers.
template <int N>
UINT_PTR STDMETHODCALLTYPE Slot(Object* self, UINT_PTR a, UINT_PTR b, UINT_PTR c) {
    return Call(self, N, a, b, c);
}
template <std::size_t... N>
std::array<void*, sizeof...(N)> Slots(std::index_sequence<N...>) {
    return {reinterpret_cast<void*>(&Slot<static_cast<int>(N)>)...};
}
const auto kSlots = Slots(std::make_index_sequence<80>());

struct Object {
    void* const* vtable = kSlots.data();
    int kind;
    int pane = -1;
    std::wstring text;  // Uri; a view's Source
    int number = 0;     // see kArguments; a view: its scripts to add
    BOOL flag = FALSE;  // see kArguments; options: private; an environment: outdated
    ULONG references = 1;
    Object* view = nullptr;  // a controller's
};

struct Pane {
    HWND parent = nullptr;
    HWND window = nullptr;
    void* creating = nullptr;  // the completion handler while the controller is made
    bool open = false;
    std::map<int, std::vector<void*>> handlers;  // by event
};

std::wstring gLog, gErrors;
std::deque<Pane> gPanes;
std::vector<Object*> gObjects;
std::deque<std::function<void()>> gQueue, gHeld;
HWND gQueueWindow = nullptr;
bool gSynchronous = false, gHolding = false;
int gFailingEnvironments = 0, gFailingControllers = 0;
HRESULT gFailure = E_FAIL;

template <class... Values>
std::wstring Format(const wchar_t* format, Values... values) {
    wchar_t line[4096];
    swprintf(line, 4096, format, values...);
    return line + std::wstring(L"\n");
}
template <class... Values>
HRESULT Note(int pane, const wchar_t* format, Values... values) {
    wchar_t place[16] = L"";  // the name the test gave the pane's parent window
    if (pane >= 0 && GetWindowTextW(gPanes[pane].parent, place, 16) > 0) {
        gLog += place + std::wstring(L" ");
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
template <class... Args>
UINT_PTR Program(void* object, int slot, Args... args) {
    using Function = UINT_PTR(STDMETHODCALLTYPE*)(void*, Args...);
    return reinterpret_cast<Function>((*static_cast<void***>(object))[slot])(object, args...);
}
void Invoke(void* handler, int kind, UINT_PTR first, void* second) {
    IID iid{};
    IIDFromString(kHandlers.at(kind), &iid);
    void* typed = nullptr;
    if (FAILED(static_cast<HRESULT>(Program(handler, 0, &iid, &typed))) || typed == nullptr) {
        gErrors += Format(L"a handler does not answer %ls", kHandlers.at(kind));
        return;
    }
    Program(typed, 3, first, second);
    Program(typed, 2);
}

Object* New(int kind, int pane, std::wstring text = {}, int number = 0, BOOL flag = FALSE) {
    return gObjects.emplace_back(new Object{
        .kind = kind, .pane = pane, .text = std::move(text), .number = number, .flag = flag});
}
ULONG Release(Object* self);
template <class T>
HRESULT Value(UINT_PTR to, T value) {
    *reinterpret_cast<T*>(to) = value;
    return S_OK;
}

void Raise(int pane, int event, Object* args, Object* sender = nullptr) {
    // A copy: a handler may close its pane.
    for (void* handler : std::vector(gPanes[pane].handlers[event])) {
        Invoke(handler, event, reinterpret_cast<UINT_PTR>(sender), args);
    }
}

void Close(Object* controller) {
    Pane& pane = gPanes[controller->pane];
    if (std::exchange(pane.open, false)) {
        DestroyWindow(std::exchange(pane.window, nullptr));
        for (const auto& [event, handlers] : std::exchange(pane.handlers, {})) {
            for (void* handler : handlers) {
                Program(handler, 2);
            }
        }
    }
}

void Made(int index, HRESULT result) {
    Pane& pane = gPanes[index];
    void* handler = std::exchange(pane.creating, nullptr);
    if (handler == nullptr) {
        return;  // answered already: its parent window is gone
    }
    Object* controller = nullptr;
    if (SUCCEEDED(result)) {
        pane.open = true;
        controller = New(kController, index);
        controller->view = New(kView, index);
    } else {
        DestroyWindow(std::exchange(pane.window, nullptr));
    }
    Invoke(handler, kController, result, controller);
    Program(handler, 2);
    Release(controller);
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
    Program(handler, 1);
    // Made at once, so that a parent destroyed meanwhile destroys it too.
    gPanes[index].window = CreateWindowExW(0, L"VelmoraStandIn", L"", WS_CHILD, 0, 0, 0, 0, parent,
                                           nullptr, nullptr, nullptr);
    // An environment whose runtime's files an update removed makes nothing any more.
    const HRESULT result = environment->flag         ? HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND)
                           : gFailingControllers > 0 ? (--gFailingControllers, gFailure)
                                                     : S_OK;
    ++environment->references;
    Complete(
        [index, result, environment] {
            Made(index, result);
            Release(environment);
        },
        true);
    return S_OK;
}

HRESULT Navigate(Object* view, LPCWSTR uri) {
    if (view->number > 0) {
        gErrors += Format(L"a navigation before the scripts at creation were in place");
    }
    ++view->references;
    Later([view, address = std::wstring(uri)] {
        // The program's own navigations count as the user's.
        Object* starting = New(7, view->pane, address, 0, TRUE);
        Raise(view->pane, 7, starting, view);
        Release(starting);
        view->text = address;
        Raise(view->pane, 15, nullptr, view);
        Release(view);
    });
    return Note(view->pane, L"navigate %ls", uri);
}

HRESULT AddScript(Object* view, LPCWSTR script, void* handler) {
    Note(view->pane, L"script at creation %ls", script);
    ++view->number;
    ++view->references;
    Program(handler, 1);
    Complete([view, handler] {
        --view->number;
        Invoke(handler, 27, S_OK, const_cast<LPWSTR>(L"1"));
        Program(handler, 2);
        Release(view);
    });
    return S_OK;
}

ULONG Release(Object* self) {
    if (self != nullptr && --self->references == 0 && self->kind == kController) {
        Close(self);  // as the runtime does when the last reference goes
        Release(self->view);
    }
    return self != nullptr ? self->references : 0;
}

HRESULT Argument(Object* self, int slot, UINT_PTR a) {
    const auto slots = kArguments.find(self->kind);
    const std::string what = slots != kArguments.end() ? slots->second : std::string();
    switch (slot - 3 < static_cast<int>(what.size()) ? what[slot - 3] : '.') {
        case 't': {
            const std::size_t size = (self->text.size() + 1) * sizeof(wchar_t);
            return Value(a, wcscpy(static_cast<LPWSTR>(CoTaskMemAlloc(size)), self->text.c_str()));
        }
        case 'n':
            return Value(a, self->number);
        case 'f':
            return Value(a, self->flag);
        case 'd':
            return Value(a, New(kDownload, self->pane, self->text));
        case 'h':
            return Note(self->pane, L"handled %d", static_cast<BOOL>(a));
        case 'c':
            return Note(self->pane, L"cancel %d", static_cast<BOOL>(a));
        case 's':
            return Note(self->pane, L"permission %d", static_cast<int>(a));
        default:
            gErrors += Format(L"a call to slot %d of an object of kind %d", slot, self->kind);
            return E_NOTIMPL;
    }
}

constexpr int Key(int kind, int slot) {
    return kind * 100 + slot;
}

UINT_PTR Call(Object* self, int slot, UINT_PTR a, UINT_PTR b, UINT_PTR c) {
    const Pane* pane = self->pane >= 0 ? &gPanes[self->pane] : nullptr;
    if (self->references == 0) {
        gErrors += Format(L"a call to slot %d of a released object", slot);
        return E_UNEXPECTED;
    }
    switch (slot == 0 ? 0 : slot < 3 ? slot : Key(self->kind, slot)) {
        case 0: {
            wchar_t iid[40];
            StringFromGUID2(*reinterpret_cast<const IID*>(a), iid, 40);
            const auto known = kInterfaces.find(self->kind);
            const bool answered = *reinterpret_cast<const IID*>(a) == IID_IUnknown ||
                                  (known != kInterfaces.end() &&
                                   known->second.find(CharLowerW(iid)) != std::wstring::npos);
            Value(b, answered ? (++self->references, self) : nullptr);
            return answered ? S_OK : E_NOINTERFACE;
        }
        case 1:
            return ++self->references;
        case 2:
            return Release(self);
        case Key(kEnvironment, 20):  // CreateCoreWebView2ControllerOptions
            return Value(a, New(kOptions, -1));
        case Key(kEnvironment, 21):  // CreateCoreWebView2ControllerWithOptions
            return CreateController(self, reinterpret_cast<HWND>(a),
                                    reinterpret_cast<Object*>(b)->flag, reinterpret_cast<void*>(c));
        case Key(kOptions, 6):  // put_IsInPrivateModeEnabled
            self->flag = static_cast<BOOL>(a);
            return S_OK;
        case Key(kController, 4):  // put_IsVisible
            ShowWindow(pane->window, static_cast<BOOL>(a) ? SW_SHOWNA : SW_HIDE);
            return Note(self->pane, L"visible %d", static_cast<BOOL>(a));
        case Key(kController, 6): {  // put_Bounds
            const RECT& r = *reinterpret_cast<const RECT*>(a);
            SetWindowPos(pane->window, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                         SWP_NOZORDER | SWP_NOACTIVATE);
            return Note(self->pane, L"bounds %ld %ld %ld %ld", r.left, r.top, r.right, r.bottom);
        }
        case Key(kController, 12):  // MoveFocus
            SetFocus(pane->window);
            return Note(self->pane, L"focus %d", static_cast<int>(a));
        case Key(kController, 23):  // NotifyParentWindowPositionChanged
            return Note(self->pane, L"moved");
        case Key(kController, 24):
            Close(self);
            return Note(self->pane, L"close");
        case Key(kController, 25):  // get_CoreWebView2
            ++self->view->references;
            return Value(a, self->view);
        case Key(kView, 3):  // get_Settings
            return Value(a, New(kSettings, self->pane));
        case Key(kView, 5):
            return Navigate(self, reinterpret_cast<LPCWSTR>(a));
        case Key(kView, 27):  // AddScriptToExecuteOnDocumentCreated
            return AddScript(self, reinterpret_cast<LPCWSTR>(a), reinterpret_cast<void*>(b));
        case Key(kView, 29):  // ExecuteScript
            return Note(self->pane, L"script %ls", reinterpret_cast<LPCWSTR>(a));
        case Key(kSettings, 10):
            return Note(self->pane, L"status bar %d", static_cast<BOOL>(a));
        case Key(kSettings, 12):
            return Note(self->pane, L"dev tools %d", static_cast<BOOL>(a));
        case Key(kSettings, 24):
            return Note(self->pane, L"accelerator keys %d", static_cast<BOOL>(a));
        default:  // an add_ method, or a slot of kArguments
            if (const int event = slot + (self->kind == kController ? 100 : 0);
                (self->kind == kView || self->kind == kController) && kHandlers.contains(event)) {
                Program(reinterpret_cast<void*>(a), 1);
                gPanes[self->pane].handlers[event].push_back(reinterpret_cast<void*>(a));
                return Value<INT64>(b, slot);
            }
            return Argument(self, slot, a);
    }
}

// The panes' windows, destroyed with their parent while a controller is made; and the queue's.
LRESULT CALLBACK Window(HWND window, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_APP && !gQueue.empty()) {
        auto work = std::move(gQueue.front());
        gQueue.pop_front();
        work();
        return 0;
    }
    for (std::size_t i = 0; message == WM_DESTROY && i < gPanes.size(); ++i) {
        if (gPanes[i].window == window && gPanes[i].creating != nullptr) {
            gPanes[i].window = nullptr;
            Made(static_cast<int>(i), E_ABORT);
        }
    }
    return DefWindowProcW(window, message, w, l);
}

}  // namespace

extern "C" {

__declspec(dllexport) HRESULT STDMETHODCALLTYPE
    CreateWebViewEnvironmentWithOptionsInternal(bool checkRunning, int runtimeType,
                                                PCWSTR userDataFolder, IUnknown* options,
                                                void* handler) {
    if (gQueueWindow == nullptr) {
        WNDCLASSW windows{};
        windows.lpfnWndProc = &Window;
        windows.hbrBackground = CreateSolidBrush(RGB(0x2e, 0x8b, 0x57));
        windows.lpszClassName = L"VelmoraStandIn";
        RegisterClassW(&windows);
        gQueueWindow = CreateWindowExW(0, windows.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                       nullptr, nullptr, nullptr);
    }
    Note(-1, L"environment %d %d %ls%ls", checkRunning, runtimeType, userDataFolder,
         options != nullptr ? L" with options" : L"");
    Program(handler, 1);
    Object* environment = gFailingEnvironments > 0 ? nullptr : New(kEnvironment, -1);
    const HRESULT result = environment != nullptr ? S_OK : (--gFailingEnvironments, gFailure);
    Complete([handler, environment, result] {
        Invoke(handler, kEnvironment, result, environment);
        Program(handler, 2);
        Release(environment);
    });
    return S_OK;
}

// The test's side. StandInReset starts a test: completions at once or later, the next
// environments and controllers failing with the given result, an empty log. StandInHold keeps
// controllers from being made until it is called with false; StandInUpdate outdates every
// environment made so far, as an update removes the runtime's files. StandInErrors reports what
// the program did wrong, and, once the stand-in is idle at the end of a test, what it leaked.
__declspec(dllexport) void StandInReset(bool synchronous, int environments, int controllers,
                                        HRESULT failure) {
    gSynchronous = synchronous;
    gFailingEnvironments = environments;
    gFailingControllers = controllers;
    gFailure = failure;
    gLog.clear();
}
__declspec(dllexport) void StandInHold(bool holding) {
    for (gHolding = holding; !holding && !gHeld.empty(); gHeld.pop_front()) {
        Later(std::move(gHeld.front()));
    }
}
__declspec(dllexport) void StandInUpdate() {
    for (Object* object : gObjects) {
        object->flag |= object->kind == kEnvironment;
    }
}
__declspec(dllexport) const wchar_t* StandInLog() {
    return gLog.c_str();
}
__declspec(dllexport) bool StandInIdle() {
    return gQueue.empty() && gHeld.empty();
}
__declspec(dllexport) const wchar_t* StandInErrors() {
    for (const Object* object : std::exchange(gObjects, {})) {
        if (object->references > 0) {
            gErrors += Format(L"an object of kind %d left alive", object->kind);
        }
    }
    static std::wstring errors;
    errors = std::exchange(gErrors, {});
    return errors.c_str();
}
// An event of the pane open in the given window, its arguments' text, number and flag as
// kArguments reads them; a browser process's end (ProcessFailed, kind 0) comes to every pane, and
// GotFocus (115), without arguments, once the pane's window has the focus.
__declspec(dllexport) void StandInRaise(HWND parent, int event, LPCWSTR text, int number,
                                        BOOL flag) {
    for (int pane = 0; pane < static_cast<int>(gPanes.size()); ++pane) {
        if (gPanes[pane].open && (gPanes[pane].parent == parent || (event == 25 && number == 0))) {
            Object* args = New(event, pane, text != nullptr ? text : L"", number, flag);
            if (event == 115) {
                SetFocus(gPanes[pane].window);
            }
            Raise(pane, event, event == 115 ? nullptr : args);  // GotFocus has no arguments
            Release(args);
        }
    }
}
}
