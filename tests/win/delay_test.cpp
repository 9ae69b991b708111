// The two waits on the UI thread: DelayWithEvents keeps the windows alive, SleepBlocking does not.
// Each scenario runs on a thread of its own (its "UI thread"), which the test waits for with a
// deadline, so that a wait that never ends fails the test instead of hanging it.
#include <windows.h>

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <string>
#include <thread>

#include "exec/process.h"
#include "test_window.h"
#include "win_test_support.h"

namespace zandrel {
namespace {

using wintest::Same;
using wintest::TestWindow;
using wintest::UiThread;

void RunScenario(std::function<void()> body, DWORD deadlineMs = 20000) {
    UiThread ui(std::move(body));
    ASSERT_TRUE(ui.ok());
    ASSERT_TRUE(ui.Join(deadlineMs)) << "the scenario had not ended after " << deadlineMs << " ms";
}

// Process CPU time (user and kernel) in milliseconds.
ULONGLONG ProcessCpuMs() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto ms = [](const FILETIME& f) { return ((ULONGLONG(f.dwHighDateTime) << 32) | f.dwLowDateTime) / 10000; };
    return ms(kernel) + ms(user);
}

TEST(WaitsWithoutEvents, ZeroOrNegativeDelaysAndTheBlockingSleepHandleNoMessage) {
    struct Case {
        const char* what;
        void (*call)();
    };
    const Case cases[] = {
        {"DelayWithEvents(0)", [] { DelayWithEvents(0); }},
        {"DelayWithEvents(-5)", [] { DelayWithEvents(-5); }},
        {"DelayWithEvents(INT_MIN)", [] { DelayWithEvents(INT_MIN); }},
        {"SleepBlocking(50)", [] { SleepBlocking(50); }},
        {"SleepBlocking(-1)", [] { SleepBlocking(-1); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        RunScenario([&] {
            TestWindow window;
            ASSERT_TRUE(window.ok()) << "could not create a window (is DISPLAY set?)";
            ASSERT_TRUE(PostMessageA(window.hwnd(), WM_APP, 0, 0));
            ASSERT_TRUE(PostThreadMessageA(GetCurrentThreadId(), WM_APP + 1, 0, 0));
            c.call();
            EXPECT_TRUE(Same(window.log().appMessages, 0)) << "WM_APP handled by the window";
            MSG msg;
            EXPECT_TRUE(PeekMessageA(&msg, window.hwnd(), WM_APP, WM_APP, PM_REMOVE))
                << "got no WM_APP for the window in the queue, expected it still there";
            EXPECT_TRUE(PeekMessageA(&msg, reinterpret_cast<HWND>(-1), WM_APP + 1, WM_APP + 1, PM_REMOVE))
                << "got no thread message in the queue, expected it still there";
        });
    }
}

TEST(DelayWithEvents, HandlesQueuedMessagesInsideTheDelay) {
    RunScenario([] {
        TestWindow window;
        ASSERT_TRUE(window.ok()) << "could not create a window (is DISPLAY set?)";
        ASSERT_TRUE(PostMessageA(window.hwnd(), WM_APP, 0, 0));
        ASSERT_TRUE(PostMessageA(window.hwnd(), WM_APP, 0, 0));
        wintest::g_insideCall = true;
        DelayWithEvents(200);
        wintest::g_insideCall = false;
        EXPECT_TRUE(Same(window.log().appInsideCall, 2)) << "WM_APP handled inside the delay";
        MSG msg;
        EXPECT_FALSE(PeekMessageA(&msg, window.hwnd(), WM_APP, WM_APP, PM_NOREMOVE))
            << "got a WM_APP still queued after the delay, expected none";
    });
}

TEST(DelayWithEvents, HandlesMessagesThatArriveWhileItWaits) {
    RunScenario([] {
        TestWindow window;
        ASSERT_TRUE(window.ok()) << "could not create a window (is DISPLAY set?)";
        const HWND hwnd = window.hwnd();
        // A timer of the window and a message posted from another thread a little later: neither
        // is in the queue when the delay begins.
        ASSERT_TRUE(SetTimer(hwnd, 1, 50, nullptr));
        std::thread poster([hwnd] {
            Sleep(150);
            PostMessageA(hwnd, WM_APP, 0, 0);
        });
        wintest::g_insideCall = true;
        DelayWithEvents(800);
        wintest::g_insideCall = false;
        poster.join();
        KillTimer(hwnd, 1);
        EXPECT_TRUE(Same(window.log().appInsideCall, 1)) << "WM_APP handled inside the delay";
        // A delay that slept through to its deadline would see the timer once (timer messages do not
        // pile up); one that wakes for them sees it again and again.
        EXPECT_GE(window.log().timerInsideCall, 2)
            << "got " << window.log().timerInsideCall << " WM_TIMER inside the 800 ms delay of a 50 ms timer, "
            << "expected several";
    });
}

// A pending WM_QUIT neither ends the delay early nor is taken out of the queue. The delay blocks
// between looks at the queue; a loop that kept looking while the quit is pending would use about
// as much processor time as the delay lasts, so a quarter of it is a bound that leaves ample room.
TEST(DelayWithEvents, LastsItsTimeAndLeavesAPendingQuitInTheQueue) {
    RunScenario([] {
        MSG msg;
        PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);  // gives the thread its queue
        PostQuitMessage(7);
        const ULONGLONG cpuBefore = ProcessCpuMs();
        const ULONGLONG start = GetTickCount64();
        DelayWithEvents(1500);
        const ULONGLONG elapsed = GetTickCount64() - start;
        const ULONGLONG cpu = ProcessCpuMs() - cpuBefore;
        EXPECT_GE(elapsed, 1400u) << "got a delay of " << elapsed << " ms, expected about 1500 ms";
        EXPECT_LT(cpu, 375u) << "got " << cpu << " ms of processor time during the 1500 ms delay, expected the "
                                                 "wait to block (near 0 ms)";
        ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            << "got an empty queue after the delay, expected the WM_QUIT";
        EXPECT_TRUE(Same(msg.message, static_cast<UINT>(WM_QUIT)));
        EXPECT_TRUE(Same(msg.wParam, static_cast<WPARAM>(7))) << "exit code of the WM_QUIT";
    });
}

}  // namespace
}  // namespace zandrel
