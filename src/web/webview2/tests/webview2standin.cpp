// A stand-in for the WebView2 runtime's EmbeddedBrowserWebView.dll, for the tests under Wine. It
// answers the calls the panes make, paints each pane's window one colour, notes every call in a
// log and raises the runtime's events when the test asks. Its slots are counted from Microsoft's
// IDL (IUnknown's three first) apart from the program's declarations, so that a slot wrong there
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
constexpr int kInvoke = 3;  // of every handler

struct Object {
    void* const* vtable;
    std::vector<std::wstring> iids;
    int pane = -1;
    std::wstring text;  // event arguments: Uri; a view: its Source
    int number = 0;     // Reason, ProcessFailedKind
    BOOL flag = FALSE;  // IsUserInitiated, ExitCode, IsInPrivateModeEnabled
};

struct Pane {
    HWND parent = nullptr;
    HWND window = nullptr;
    std::map<int, std::vector<Object*>> handlers;  // by the slot of their add_ method
};

std::wstring gLog;
std::deque<Pane> gPanes;
std::deque<std::function<void()>> gQueue;
HWND gQueueWindow = nullptr;
Object* gEnvironment = nullptr;
bool gFailing = false;

template <class... Values>
HRESULT Note(int pane, const wchar_t* format, Values... values) {
    if (pane >= 0) {
        gLog += L'w' + std::to_wstring(reinterpret_cast<UINT_PTR>(gPanes[pane].parent)) + L' ';
    }
    wchar_t line[2048];
    swprintf(line, 2048, format, values...);
    gLog += line + std::wstring(L"\n");
    return S_OK;
}

// Completions and events come later from the message loop, as the runtime's do.
void Later(std::function<void()> work) {
    gQueue.push_back(std::move(work));
    PostMessageW(gQueueWindow, WM_APP, 0, 0);
}

void Invoke(Object* handler, void* first, void* second) {
    using Function = HRESULT(STDMETHODCALLTYPE*)(Object*, void*, void*);
    reinterpret_cast<Function>(handler->vtable[kInvoke])(handler, first, second);
}
void AddRef(Object* o) {
    reinterpret_cast<ULONG(STDMETHODCALLTYPE*)(Object*)>(o->vtable[1])(o);
}

template <int N>
HRESULT STDMETHODCALLTYPE Missing(Object* self) {
    return Note(self->pane, L"unexpected call to slot %d", N);
}

HRESULT STDMETHODCALLTYPE QueryInterface(Object* self, REFIID iid, void** out) {
    wchar_t text[40];
    StringFromGUID2(iid, text, 40);
    *out = nullptr;
    for (const std::wstring& known : self->iids) {
        if (_wcsicmp(known.c_str(), text) == 0 || iid == IID_IUnknown) {
            *out = self;
        }
    }
    return *out != nullptr ? S_OK : E_NOINTERFACE;
}
// Objects are kept for the process's life: the log may name them.
ULONG STDMETHODCALLTYPE KeepAlive(Object*) {
    return 1;
}

using Table = std::array<void*, kSlots>;
template <std::size_t... N>
Table MissingTable(std::index_sequence<N...>) {
    return {reinterpret_cast<void*>(&Missing<static_cast<int>(N)>)...};
}
Table NewTable(std::initializer_list<std::pair<int, void*>> answered) {
    Table table = MissingTable(std::make_index_sequence<kSlots>());
    table[0] = reinterpret_cast<void*>(&QueryInterface);
    table[1] = table[2] = reinterpret_cast<void*>(&KeepAlive);
    for (const auto& [slot, function] : answered) {
        table[slot] = function;
    }
    return table;
}
template <class F>
void* Fn(F* function) {
    return reinterpret_cast<void*>(function);
}
struct Kind {
    Table table;
    std::vector<std::wstring> iids;
};
Object* New(const Kind& kind, int pane = -1, std::wstring text = {}) {
    return new Object{kind.table.data(), kind.iids, pane, std::move(text), 0, FALSE};
}
// A getter of an object made anew, of the asker's pane and with its text.
template <const Kind& Made>
HRESULT STDMETHODCALLTYPE Make(Object* self, Object** out) {
    *out = New(Made, self->pane, self->text);
    return S_OK;
}

template <int Slot>
HRESULT STDMETHODCALLTYPE Add(Object* self, Object* handler, INT64* token) {
    AddRef(handler);
    gPanes[self->pane].handlers[Slot].push_back(handler);
    *token = Slot;
    return S_OK;
}
void Raise(int pane, int slot, void* sender, Object* args) {
    for (Object* handler : gPanes[pane].handlers[slot]) {
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
template <const wchar_t* Name>
HRESULT STDMETHODCALLTYPE Script(Object* self, LPCWSTR script, Object*) {
    return Note(self->pane, L"%ls%ls", Name,
                wcsstr(script, L"overflow") ? L", hides scroll bars" : L"");
}

constexpr wchar_t kStatusBar[] = L"status bar", kDevTools[] = L"dev tools",
                  kAcceleratorKeys[] = L"accelerator keys", kHandled[] = L"handled",
                  kScriptAtCreation[] = L"script at creation", kScript[] = L"script",
                  kPermission[] = L"permission", kCancel[] = L"cancel";

// ICoreWebView2Settings, Settings3
const Kind kSettings{
    NewTable(
        {{10, Fn(&Put<kStatusBar>)}, {12, Fn(&Put<kDevTools>)}, {24, Fn(&Put<kAcceleratorKeys>)}}),
    {L"{e562e4f0-d7fa-43ac-8d71-c05150499f00}", L"{fdb5ab74-af33-4854-84f0-0a631deb5eba}"}};
// The arguments of MoveFocusRequested, NavigationStarting, NewWindowRequested, ProcessFailed(2),
// PermissionRequested, DownloadStarting and its DownloadOperation.
const Table kFocusArgs = NewTable({{3, Fn(GetNumber)}, {5, Fn(&Put<kHandled>)}});
const Table kStartingArgs = NewTable({{3, Fn(&GetText)}, {4, Fn(GetFlag)}});
const Table kNewWindowArgs =
    NewTable({{3, Fn(&GetText)}, {6, Fn(&Put<kHandled>)}, {8, Fn(GetFlag)}});
const Table kFailedArgs = NewTable({{3, Fn(GetNumber)}, {5, Fn(GetFlag)}});
const Table kPermissionArgs = NewTable({{7, Fn(&Put<kPermission>)}});
const Kind kDownload{NewTable({{9, Fn(&GetText)}}), {}};
const Table kDownloadArgs = NewTable({{3, Fn(&Make<kDownload>)}, {5, Fn(&Put<kCancel>)}});

HRESULT STDMETHODCALLTYPE Navigate(Object* self, LPCWSTR uri) {
    const int pane = self->pane;
    Later([self, pane, address = std::wstring(uri)] {
        Object starting{kStartingArgs.data(), {}, pane, address, 0, FALSE};
        Raise(pane, 7, self, &starting);
        self->text = address;
        Raise(pane, 15, self, nullptr);
    });
    return Note(pane, L"navigate %ls", uri);
}

// ICoreWebView2, _2, _4
const Kind kView{
    NewTable({
        {3, Fn(&Make<kSettings>)},  // get_Settings
        {4, Fn(&GetText)},          // get_Source
        {5, Fn(&Navigate)},
        {7, Fn(&Add<7>)},    // add_NavigationStarting
        {15, Fn(&Add<15>)},  // add_NavigationCompleted
        {23, Fn(&Add<23>)},  // add_PermissionRequested
        {25, Fn(&Add<25>)},  // add_ProcessFailed
        {27, Fn(&Script<kScriptAtCreation>)},
        {29, Fn(&Script<kScript>)},
        {44, Fn(&Add<44>)},                   // add_NewWindowRequested
        {67, Fn(+[](Object*, Object** out) {  // get_Environment
             *out = gEnvironment;
             return S_OK;
         })},
        {75, Fn(&Add<75>)},  // add_DownloadStarting
    }),
    {L"{76eceacb-0462-4d94-ac83-423a6793775e}", L"{9E8F0CF8-E670-4B5E-B2BC-73E061E3184C}",
     L"{20d02d59-6df2-42dc-bd06-f98a694b1302}"}};

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
        {13, Fn(&Add<13>)},       // add_MoveFocusRequested
        {24, Fn(+[](Object* s) {  // Close
             DestroyWindow(std::exchange(gPanes[s->pane].window, nullptr));
             gPanes[s->pane].handlers.clear();
             return Note(s->pane, L"close");
         })},
        {25, Fn(&Make<kView>)},  // get_CoreWebView2
    }),
    {L"{4d00c0d1-9434-4eb6-8078-8697a560334f}"}};

HRESULT CreateController(HWND parent, BOOL inPrivate, Object* handler) {
    gPanes.push_back({parent, nullptr, {}});
    const int pane = static_cast<int>(gPanes.size()) - 1;
    Later([pane, handler] {
        gPanes[pane].window = CreateWindowExW(0, L"VelmoraStandInPane", L"", WS_CHILD, 0, 0, 0, 0,
                                              gPanes[pane].parent, nullptr, nullptr, nullptr);
        Invoke(handler, reinterpret_cast<void*>(S_OK), New(kController, pane));
    });
    AddRef(handler);
    return Note(pane, L"controller, private %d", inPrivate);
}

// ICoreWebView2ControllerOptions
const Kind kOptions{NewTable({{6, Fn(+[](Object* s, BOOL on) {  // put_IsInPrivateModeEnabled
                                   s->flag = on;
                                   return S_OK;
                               })}}),
                    {L"{12aae616-8ccb-44ec-bcb3-eb1831881635}"}};
// ICoreWebView2Environment, Environment10
const Kind kEnvironment{
    NewTable({
        {3, Fn(+[](Object*, HWND parent, Object* handler) {  // CreateCoreWebView2Controller
             return CreateController(parent, FALSE, handler);
         })},
        {20, Fn(&Make<kOptions>)},  // CreateCoreWebView2ControllerOptions
        {21, Fn(+[](Object*, HWND parent, Object* options, Object* handler) {  // ...WithOptions
             return CreateController(parent, options->flag, handler);
         })},
    }),
    {L"{b96d755e-0319-4e92-a296-23436f46a1fc}", L"{ee0eb9df-6f12-46ce-b53f-3f47b9c928e0}"}};

void Prepare() {
    if (gQueueWindow != nullptr) {
        return;
    }
    WNDCLASSW pane{};
    pane.lpfnWndProc = DefWindowProcW;
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
                                                Object* handler) {
    Prepare();
    AddRef(handler);
    Later([handler] {
        gEnvironment = gFailing ? nullptr : New(kEnvironment);
        Invoke(handler, reinterpret_cast<void*>(gFailing ? E_FAIL : S_OK), gEnvironment);
    });
    return Note(-1, L"environment %d %d %ls%ls", checkRunning, runtimeType, userDataFolder,
                options != nullptr ? L" with options" : L"");
}

// The test's side. Events go to the pane open in the given window: MoveFocusRequested (13) with
// a reason, NavigationStarting (7) and NewWindowRequested (44) with an address and whether the
// user asked, PermissionRequested (23) and DownloadStarting (75) with an address, ProcessFailed
// (25) with a kind and an exit code; a browser process (kind 0) ends under every pane.
__declspec(dllexport) void StandInReset(bool failing) {
    gFailing = failing;
    gLog.clear();
}
__declspec(dllexport) const wchar_t* StandInLog() {
    return gLog.c_str();
}
__declspec(dllexport) void StandInRaise(HWND parent, int slot, LPCWSTR text, int number,
                                        BOOL flag) {
    const std::map<int, const Table*> tables{{7, &kStartingArgs},    {13, &kFocusArgs},
                                             {23, &kPermissionArgs}, {25, &kFailedArgs},
                                             {44, &kNewWindowArgs},  {75, &kDownloadArgs}};
    const Table& args = *tables.at(slot);
    Object event{
        args.data(),
        {L"{8155a9a4-1474-4a86-8cae-151b0fa6b8ca}", L"{4dab9422-46fa-4c3e-a5d2-41d2071d3680}"},
        -1,
        text != nullptr ? text : L"",
        number,
        flag};
    for (event.pane = 0; event.pane < static_cast<int>(gPanes.size()); ++event.pane) {
        if ((gPanes[event.pane].parent == parent || (slot == 25 && number == 0)) &&
            gPanes[event.pane].window != nullptr) {
            Raise(event.pane, slot, nullptr, &event);
        }
    }
}
}
