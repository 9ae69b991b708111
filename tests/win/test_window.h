// A plain top-level window of the test thread that notes the messages of interest it receives. The
// tests that use it need a display (DISPLAY); without one, creating the window fails.
#pragma once

#include <windows.h>

#include <functional>
#include <utility>

namespace zandrel::wintest {

// Set by a test around the call under test, so that the window procedure can tell whether it ran
// inside that call.
inline bool g_insideCall = false;

struct WindowLog {
    int appMessages = 0;        // WM_APP
    int appInsideCall = 0;      // WM_APP while g_insideCall was set
    int timerTicks = 0;         // WM_TIMER
    int timerInsideCall = 0;    // WM_TIMER while g_insideCall was set
};

inline LRESULT CALLBACK TestWindowProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        SetWindowLongPtrA(w, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams));
    }
    auto* log = reinterpret_cast<WindowLog*>(GetWindowLongPtrA(w, GWLP_USERDATA));
    if (log && msg == WM_APP) {
        ++log->appMessages;
        if (g_insideCall) ++log->appInsideCall;
        return 0;
    }
    if (log && msg == WM_TIMER) {
        ++log->timerTicks;
        if (g_insideCall) ++log->timerInsideCall;
        return 0;
    }
    return DefWindowProcA(w, msg, wp, lp);
}

// The window, destroyed at the end of the scope. ok() is false when it could not be created.
class TestWindow {
public:
    explicit TestWindow(bool visible = true) {
        static const ATOM cls = [] {
            WNDCLASSA wc{};
            wc.lpfnWndProc = TestWindowProc;
            wc.hInstance = GetModuleHandleA(nullptr);
            wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
            wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
            wc.lpszClassName = "ZandrelTestWindow";
            return RegisterClassA(&wc);
        }();
        hwnd_ = CreateWindowExA(0, MAKEINTATOM(cls), "Zandrel test window",
                                WS_OVERLAPPEDWINDOW | (visible ? WS_VISIBLE : 0), 100, 100, 400, 300, nullptr,
                                nullptr, GetModuleHandleA(nullptr), &log_);
    }
    ~TestWindow() {
        if (hwnd_) DestroyWindow(hwnd_);
        // Leave no message of this window behind for the next test.
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) continue;
            DispatchMessageA(&msg);
        }
    }
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;

    bool ok() const { return hwnd_ != nullptr; }
    HWND hwnd() const { return hwnd_; }
    const WindowLog& log() const { return log_; }

private:
    WindowLog log_;
    HWND hwnd_ = nullptr;
};

// Runs a body on a thread of its own, which then is the "UI thread" of the code under test, so that
// the test's own thread can watch and close what it shows, and can give up after a deadline.
class UiThread {
public:
    explicit UiThread(std::function<void()> body) : body_(new std::function<void()>(std::move(body))) {
        thread_ = CreateThread(nullptr, 0, Run, body_, 0, &id_);
    }
    ~UiThread() {
        if (Join(0)) delete body_;  // a thread that never returned keeps its body
        if (thread_) CloseHandle(thread_);
    }
    UiThread(const UiThread&) = delete;
    UiThread& operator=(const UiThread&) = delete;

    bool ok() const { return thread_ != nullptr; }
    DWORD id() const { return id_; }
    // True once the body has returned; waits at most timeoutMs for it.
    bool Join(DWORD timeoutMs) const { return thread_ && WaitForSingleObject(thread_, timeoutMs) == WAIT_OBJECT_0; }

private:
    static DWORD WINAPI Run(void* body) {
        (*static_cast<std::function<void()>*>(body))();
        return 0;
    }

    std::function<void()>* body_;
    HANDLE thread_ = nullptr;
    DWORD id_ = 0;
};

}  // namespace zandrel::wintest
