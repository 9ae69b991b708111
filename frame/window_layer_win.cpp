#include "frame/window_layer.h"

#include <array>

#include "actions/actions.h"
#include "frame/app.h"
#include "frame/layout.h"
#include "frame/message_loop.h"
#include "frame/window_instance.h"

namespace zandrel {
namespace {

constexpr char kWindowClass[] = "ZandrelWindow";
constexpr char kHiddenOwnerClass[] = "ZandrelHiddenOwner";
constexpr UINT kActivateModal = WM_APP + 1;  // wParam: the modal window to bring forward

std::array<WindowInstance*, kWindowCount> g_loaded{};
HWND g_hiddenOwner = nullptr;
bool g_mainLoopStarted = false;

HINSTANCE Instance() { return GetModuleHandleA(nullptr); }

WindowInstance* InstanceOf(HWND hwnd) {
    return reinterpret_cast<WindowInstance*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
}

bool AnyWindowLoaded() {
    for (auto* w : g_loaded) if (w) return true;
    return false;
}

ControlInstance* ControlOf(WindowInstance& w, HWND child) {
    for (auto& c : w.controls) if (c->hwnd == child) return c.get();
    return nullptr;
}

int IndexOf(const WindowInstance& w, HWND child) {
    for (std::size_t i = 0; i < w.controls.size(); ++i)
        if (w.controls[i]->hwnd && (w.controls[i]->hwnd == child || IsChild(w.controls[i]->hwnd, child)))
            return static_cast<int>(i);
    return -1;
}

bool IsFocusable(const WindowInstance& w, int i) {
    const ControlInstance& c = *w.controls[i];
    return c.def->tabStop && c.hwnd && IsWindowVisible(c.hwnd) && IsWindowEnabled(c.hwnd);
}

// Focus rule: the control focused when the window last lost the activation, else the first
// focusable control in tab order, else the window keeps the focus.
void PassFocusOn(WindowInstance& w) {
    if (w.lastFocus && IsWindow(w.lastFocus) && IsChild(w.hwnd, w.lastFocus)) {
        SetFocus(w.lastFocus);
        return;
    }
    const int first = StepInTabOrder(w.tabOrder, -1, true, [&](int i) { return IsFocusable(w, i); });
    if (first >= 0) SetFocus(w.controls[first]->hwnd);
}

void RestoreDisabledWindows(WindowInstance& w) {
    for (const auto& d : w.disabled)
        if (IsWindow(d.hwnd)) EnableWindow(d.hwnd, d.wasEnabled);
    w.disabled.clear();
}

// The open modal window that disabled `hwnd`, if any.
HWND ModalOver(HWND hwnd) {
    for (auto* w : g_loaded) {
        if (!w || !w->modal) continue;
        for (const auto& d : w->disabled) if (d.hwnd == hwnd) return w->hwnd;
    }
    return nullptr;
}

void PaintBackground(WindowInstance& w) {
    PaintDc dc(w.hwnd);
    FillColour(dc.get(), dc.area(), w.def->background);
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* w = static_cast<WindowInstance*>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams);
        w->hwnd = hwnd;
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(w));
    }
    WindowInstance* w = InstanceOf(hwnd);
    if (!w) return DefWindowProcA(hwnd, msg, wp, lp);
    switch (msg) {
    case WM_PAINT:
        PaintBackground(*w);
        return 0;
    case WM_COMMAND:
        if (HIWORD(wp) == BN_CLICKED && lp) {
            if (ControlInstance* c = ControlOf(*w, reinterpret_cast<HWND>(lp)); c && c->def->click != ActionId::None)
                RunAction(c->def->click);
            return 0;
        }
        break;
    case WM_CTLCOLOREDIT:
        if (ControlInstance* c = ControlOf(*w, reinterpret_cast<HWND>(lp)))
            return EditColours(*c, reinterpret_cast<HDC>(wp));
        break;
    case WM_ACTIVATE:
        if (LOWORD(wp) == WA_INACTIVE) {
            HWND focus = GetFocus();
            if (focus && IsChild(hwnd, focus)) w->lastFocus = focus;
        } else if (HWND modal = ModalOver(hwnd)) {
            // A disabled window activated from outside (its taskbar button): the modal window
            // in front of it takes the activation instead.
            PostMessageA(hwnd, kActivateModal, reinterpret_cast<WPARAM>(modal), 0);
        }
        break;
    case kActivateModal:
        if (IsWindow(reinterpret_cast<HWND>(wp))) {
            SetForegroundWindow(reinterpret_cast<HWND>(wp));
            SetActiveWindow(reinterpret_cast<HWND>(wp));
        }
        return 0;
    case WM_SETFOCUS:
        PassFocusOn(*w);
        return 0;
    case WM_CLOSE:
        RestoreDisabledWindows(*w);
        DestroyWindow(hwnd);
        return 0;
    case WM_NCDESTROY: {
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        // An instance not yet registered belongs to CreateLoadedWindow, whose CreateWindowExA failed.
        if (g_loaded[static_cast<int>(w->id)] != w) return DefWindowProcA(hwnd, msg, wp, lp);
        g_loaded[static_cast<int>(w->id)] = nullptr;
        delete w;
        if (g_mainLoopStarted && !AnyWindowLoaded()) PostQuitMessage(0);
        return DefWindowProcA(hwnd, msg, wp, lp);
    }
    default:
        break;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

void RegisterClasses() {
    static bool done = false;
    if (done) return;
    done = true;
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = Instance();
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    wc.lpszClassName = kWindowClass;
    RegisterClassExA(&wc);

    WNDCLASSEXA owner{};
    owner.cbSize = sizeof owner;
    owner.lpfnWndProc = DefWindowProcA;
    owner.hInstance = Instance();
    owner.lpszClassName = kHiddenOwnerClass;
    RegisterClassExA(&owner);

    RegisterControlClasses(Instance());
}

void SetIcons(HWND hwnd) {
    // The executable's own icon, resource 1, at the big and small sizes of this system.
    auto load = [](int cx, int cy) {
        return static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1), IMAGE_ICON, cx, cy, LR_SHARED));
    };
    if (HICON big = load(GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON)))
        SendMessageA(hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
    if (HICON small = load(GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON)))
        SendMessageA(hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
}

bool ModalStopped(const void* context) {
    const auto* id = static_cast<const WindowId*>(context);
    return g_loaded[static_cast<int>(*id)] == nullptr;
}

}  // namespace

HWND CreateHiddenOwnerWindow() {
    RegisterClasses();
    g_hiddenOwner = CreateWindowExA(WS_EX_TOOLWINDOW, kHiddenOwnerClass, "", 0, 0, 0, 0, 0, nullptr, nullptr,
                                    Instance(), nullptr);
    return g_hiddenOwner;
}

HWND HiddenOwnerWindow() { return g_hiddenOwner; }

void DestroyHiddenOwnerWindow() {
    if (g_hiddenOwner) DestroyWindow(g_hiddenOwner);
    g_hiddenOwner = nullptr;
}

void MarkMainLoopStarted() { g_mainLoopStarted = true; }

HWND CreateLoadedWindow(WindowId id, HWND owner) {
    RegisterClasses();
    const WindowDefinition& def = Definition(id);
    constexpr DWORD kFrameStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
    static_assert(kFrameStyle == 0x02CA0000);
    const Point at = CentredPosition(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), def.width, def.height);

    auto owned = std::make_unique<WindowInstance>();
    owned->id = id;
    owned->def = &def;
    WindowInstance* w = owned.get();
    const Text caption(def.caption);
    HWND hwnd = CreateWindowExA(0, kWindowClass, caption.c_str(), kFrameStyle, at.x, at.y, def.width, def.height,
                                owner, nullptr, Instance(), w);
    if (!hwnd) return nullptr;
    // From here on the window owns its instance; WM_NCDESTROY frees it.
    g_loaded[static_cast<int>(id)] = owned.release();

    RECT rc;
    GetWindowRect(hwnd, &rc);
    if (rc.right - rc.left != def.width || rc.bottom - rc.top != def.height)
        SetWindowPos(hwnd, nullptr, at.x, at.y, def.width, def.height, SWP_NOZORDER | SWP_NOACTIVATE);
    SetIcons(hwnd);
    SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);

    w->controls.reserve(def.controls.size());
    for (std::size_t i = 0; i < def.controls.size(); ++i) {
        auto c = std::make_unique<ControlInstance>();
        c->def = &def.controls[i];
        CreateControl(hwnd, static_cast<int>(i) + 1, *c);
        w->controls.push_back(std::move(c));
    }
    w->tabOrder = TabOrder(def.controls);
    for (auto& c : w->controls)
        if (c->hwnd && c->def->visible) ShowWindow(c->hwnd, SW_SHOWNA);

    if (def.created != ActionId::None) RunAction(def.created);
    ShowWindow(hwnd, SW_SHOW);
    return hwnd;
}

bool LoadWindow(WindowId id, bool modal) {
    if (WindowInstance* open = g_loaded[static_cast<int>(id)]) {
        if (IsIconic(open->hwnd))
            ShowWindow(open->hwnd, SW_RESTORE);
        else
            SetActiveWindow(open->hwnd);
        return true;
    }
    HWND hwnd = CreateLoadedWindow(id, HiddenOwnerWindow());
    if (!hwnd) return false;
    if (!modal) return true;
    WindowInstance* w = InstanceOf(hwnd);
    w->modal = true;
    for (auto* other : g_loaded) {
        if (!other || other == w || GetParent(other->hwnd)) continue;
        w->disabled.push_back({other->hwnd, IsWindowEnabled(other->hwnd) != FALSE});
        EnableWindow(other->hwnd, FALSE);
    }
    RunMessageLoop(ModalStopped, &id);
    return true;
}

HWND LoadedWindowHandle(WindowId id) {
    const WindowInstance* w = g_loaded[static_cast<int>(id)];
    return w ? w->hwnd : nullptr;
}

HWND ControlHandle(WindowId id, std::string_view name) {
    const WindowInstance* w = g_loaded[static_cast<int>(id)];
    if (!w) return nullptr;
    for (const auto& c : w->controls) if (c->def->name == name) return c->hwnd;
    return nullptr;
}

OpenFileDialogState* DialogState(WindowId id, std::string_view name) {
    WindowInstance* w = g_loaded[static_cast<int>(id)];
    if (!w) return nullptr;
    for (auto& c : w->controls)
        if (c->def->name == name && c->def->kind == ControlKind::OpenFileDialog) return &c->dialog;
    return nullptr;
}

bool PreTranslateKey(const MSG& msg) {
    if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) return false;
    if (!msg.hwnd) return false;
    HWND top = GetAncestor(msg.hwnd, GA_ROOT);
    WindowInstance* w = nullptr;
    for (auto* loaded : g_loaded) if (loaded && loaded->hwnd == top) w = loaded;
    if (!w || !IsWindowEnabled(top)) return false;

    // Only a multi-line edit box would claim Enter for itself; the system has none, but the rule
    // stays with the key handling rather than with the tables.
    char cls[16] = {};
    GetClassNameA(msg.hwnd, cls, sizeof cls);
    const bool claimed = msg.wParam == VK_RETURN && lstrcmpiA(cls, "Edit") == 0 &&
                         (GetWindowLongA(msg.hwnd, GWL_STYLE) & ES_MULTILINE);
    const KeyState key{static_cast<unsigned>(msg.wParam), GetKeyState(VK_SHIFT) < 0, GetKeyState(VK_CONTROL) < 0,
                       msg.message == WM_SYSKEYDOWN || GetKeyState(VK_MENU) < 0, claimed};
    switch (TranslateKey(key)) {
    case KeyCommand::FocusNext:
    case KeyCommand::FocusPrevious: {
        const bool forward = TranslateKey(key) == KeyCommand::FocusNext;
        const int current = IndexOf(*w, GetFocus());
        const int next = StepInTabOrder(w->tabOrder, current, forward, [&](int i) { return IsFocusable(*w, i); });
        if (next >= 0) SetFocus(w->controls[next]->hwnd);
        return true;
    }
    case KeyCommand::CloseWindow:
        SendMessageA(top, WM_CLOSE, 0, 0);
        return true;
    case KeyCommand::PassOn:
        break;
    }
    return false;
}

}  // namespace zandrel
