// Message boxes as Windows shows them. ShowMessageBox runs on a thread of its own that also owns a
// plain top-level window; the test's thread finds the box among that thread's windows (class
// "#32770"), notes what it shows, closes it the way a user would, and waits for the call to return.
// Every wait has a deadline, and a box that its closing action did not close is closed anyway.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <optional>
#include <string>

#include "frame/message_box.h"
#include "test_window.h"
#include "win_test_support.h"

namespace zandrel {
namespace {

using wintest::Hex;
using wintest::Same;
using wintest::SameBytes;

constexpr int kIconControl = 0x440;    // the message box's icon static
constexpr int kMessageControl = 0xFFFF;  // the message box's text static

enum class CloseBy { OkButton, CancelButton, EscapeKey, CloseMessage };

const char* Name(CloseBy how) {
    switch (how) {
    case CloseBy::OkButton: return "the OK button";
    case CloseBy::CancelButton: return "the Cancel button";
    case CloseBy::EscapeKey: return "the Esc key";
    case CloseBy::CloseMessage: return "WM_CLOSE";
    }
    return "?";
}

struct BoxRequest {
    std::string text;
    std::uint32_t style = 0;
    std::optional<std::string> caption = std::nullopt;
    bool ownedByTestWindow = false;
    CloseBy closeBy = CloseBy::OkButton;
};

// What the box showed and how the call ended.
struct BoxOutcome {
    bool boxFound = false;
    std::string caption, text;
    bool okShown = false, cancelShown = false, iconShown = false;
    HWND owner = nullptr;
    HWND testWindow = nullptr;
    bool windowEnabledBefore = false, windowEnabledDuring = false, windowEnabledAfter = false;
    bool closedByAction = false;
    bool returned = false;
    MessageBoxResult result = kOk;
};

std::string WindowText(HWND w) {
    char buf[1024] = {};
    const int n = GetWindowTextA(w, buf, sizeof buf);
    return std::string(buf, n > 0 ? n : 0);
}

bool ControlShown(HWND box, int id) {
    const HWND control = GetDlgItem(box, id);
    return control && IsWindowVisible(control);
}

BOOL CALLBACK NoteVisibleBox(HWND w, LPARAM found) {
    char cls[16] = {};
    GetClassNameA(w, cls, sizeof cls);
    if (lstrcmpA(cls, "#32770") != 0 || !IsWindowVisible(w)) return TRUE;
    *reinterpret_cast<HWND*>(found) = w;
    return FALSE;
}

// The visible message box among the thread's top-level windows, if any.
HWND FindBoxOfThread(DWORD threadId) {
    HWND found = nullptr;
    EnumThreadWindows(threadId, NoteVisibleBox, reinterpret_cast<LPARAM>(&found));
    return found;
}

void Close(HWND box, DWORD threadId, CloseBy how) {
    switch (how) {
    case CloseBy::OkButton:
        PostMessageA(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
        break;
    case CloseBy::CancelButton:
        PostMessageA(GetDlgItem(box, IDCANCEL), BM_CLICK, 0, 0);
        break;
    case CloseBy::EscapeKey: {
        // The key goes to the control that has the focus, as typed keys do.
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        const HWND target = GetGUIThreadInfo(threadId, &info) && info.hwndFocus ? info.hwndFocus : box;
        PostMessageA(target, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
        PostMessageA(target, WM_KEYUP, VK_ESCAPE, 0xC0010001);
        break;
    }
    case CloseBy::CloseMessage:
        PostMessageA(box, WM_CLOSE, 0, 0);
        break;
    }
}

BoxOutcome ShowAndClose(const BoxRequest& request) {
    // Shared with the box's thread, which keeps it alive should it outlast the deadlines.
    struct Shared {
        BoxOutcome out;
        std::atomic<HWND> window{nullptr};
        std::atomic<bool> windowDone{false}, returned{false};
    };
    auto shared = std::make_shared<Shared>();
    wintest::UiThread ui([shared, request] {
        wintest::TestWindow w;
        shared->out.testWindow = w.hwnd();
        shared->out.windowEnabledBefore = w.ok() && IsWindowEnabled(w.hwnd());
        shared->window = w.hwnd();
        shared->windowDone = true;
        if (!w.ok()) return;
        const std::optional<std::string_view> caption =
            request.caption ? std::optional<std::string_view>(*request.caption) : std::nullopt;
        shared->out.result = ShowMessageBox(request.text, request.style, caption,
                                            request.ownedByTestWindow ? w.hwnd() : nullptr);
        shared->out.windowEnabledAfter = IsWindowEnabled(w.hwnd()) != FALSE;
        shared->returned = true;
    });
    if (!ui.ok()) return {};
    wintest::WaitUntil([&] { return shared->windowDone.load(); }, 10000);
    const HWND window = shared->window.load();
    if (!window) {
        ui.Join(10000);
        return {};
    }

    BoxOutcome seen;
    seen.testWindow = window;
    HWND box = nullptr;
    wintest::WaitUntil([&] { return (box = FindBoxOfThread(ui.id())) != nullptr || shared->returned.load(); },
                       10000);
    if (box) {
        seen.boxFound = true;
        seen.caption = WindowText(box);
        char text[1024] = {};
        const UINT n = GetDlgItemTextA(box, kMessageControl, text, sizeof text);
        seen.text.assign(text, n);
        seen.okShown = ControlShown(box, IDOK);
        seen.cancelShown = ControlShown(box, IDCANCEL);
        DWORD_PTR icon = 0;
        seen.iconShown = ControlShown(box, kIconControl) &&
                         SendMessageTimeoutA(GetDlgItem(box, kIconControl), STM_GETICON, 0, 0, SMTO_BLOCK, 2000,
                                             &icon) &&
                         icon != 0;
        seen.owner = GetWindow(box, GW_OWNER);
        seen.windowEnabledDuring = IsWindowEnabled(window) != FALSE;

        Close(box, ui.id(), request.closeBy);
        seen.closedByAction = wintest::WaitUntil([&] { return !IsWindow(box); }, 5000);
        if (!seen.closedByAction) {
            // Whatever happens, the test must not hang on a box left open.
            PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
            PostMessageA(box, WM_COMMAND, IDOK, 0);
        }
    }
    if (!ui.Join(10000)) return seen;  // returned stays false
    BoxOutcome out = shared->out;
    out.boxFound = seen.boxFound;
    out.caption = seen.caption;
    out.text = seen.text;
    out.okShown = seen.okShown;
    out.cancelShown = seen.cancelShown;
    out.iconShown = seen.iconShown;
    out.owner = seen.owner;
    out.windowEnabledDuring = seen.windowEnabledDuring;
    out.closedByAction = seen.closedByAction;
    out.returned = shared->returned.load();
    return out;
}

// Checks that the box was shown, closed by the test's action, and that the call returned.
::testing::AssertionResult RanToTheEnd(const BoxOutcome& o, CloseBy how) {
    if (!o.testWindow) return ::testing::AssertionFailure() << "could not create a window (is DISPLAY set?)";
    if (!o.boxFound) return ::testing::AssertionFailure() << "got no message box within 10 s, expected one";
    if (!o.closedByAction)
        return ::testing::AssertionFailure() << "the box was still open 5 s after " << Name(how)
                                             << ", expected it closed";
    if (!o.returned) return ::testing::AssertionFailure() << "ShowMessageBox had not returned 10 s after the box closed";
    return ::testing::AssertionSuccess();
}

TEST(ShowMessageBox, ShowsTextCaptionButtonsAndIcon) {
    const std::string confirmation = "需要先解锁Bootloader才能刷Recovery,如果没解锁刷Recovery会变砖,确认要刷Recovery吗?";
    struct Case {
        const char* what;
        BoxRequest request;
        std::string caption, text;
        bool cancel, icon;
    };
    const Case cases[] = {
        {"style 0, default caption", {"手机即将进入fastboot模式刷入recovery!", 0}, "信息：",
         "手机即将进入fastboot模式刷入recovery!", false, false},
        {"style 48, default caption", {"Phone Unlocked", 48}, "信息：", "Phone Unlocked", false, true},
        {"style 1, own caption", {confirmation, 1, "注意!"}, "注意!", confirmation, true, false},
        {"style 0, empty text", {"", 0}, "信息：", "", false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const BoxOutcome o = ShowAndClose(c.request);
        ASSERT_TRUE(RanToTheEnd(o, c.request.closeBy));
        EXPECT_TRUE(SameBytes(o.caption, c.caption)) << "caption";
        EXPECT_TRUE(SameBytes(o.text, c.text)) << "message text";
        EXPECT_TRUE(Same(o.okShown, true)) << "OK button shown";
        EXPECT_TRUE(Same(o.cancelShown, c.cancel)) << "Cancel button shown";
        EXPECT_TRUE(Same(o.iconShown, c.icon)) << "icon shown";
        EXPECT_TRUE(Same(o.owner, static_cast<HWND>(nullptr))) << "owner window of the box";
        EXPECT_TRUE(Same(static_cast<int>(o.result), static_cast<int>(kOk))) << "result";
    }
}

TEST(ShowMessageBox, DefaultCaptionIsInformationWithAFullWidthColon) {
    const BoxOutcome o = ShowAndClose({"x", 0});
    ASSERT_TRUE(RanToTheEnd(o, CloseBy::OkButton));
    EXPECT_TRUE(Same(Hex(o.caption), std::string("D0 C5 CF A2 A3 BA")));
}

TEST(ShowMessageBox, DisablesTheThreadsWindowsWhileItIsUp) {
    for (const std::uint32_t style : {0u, 1u, 48u}) {
        SCOPED_TRACE("style " + std::to_string(style));
        const BoxOutcome o = ShowAndClose({"x", style});
        ASSERT_TRUE(RanToTheEnd(o, CloseBy::OkButton));
        EXPECT_TRUE(Same(o.windowEnabledBefore, true)) << "test window enabled before the box";
        EXPECT_TRUE(Same(o.windowEnabledDuring, false)) << "test window enabled while the box is up";
        EXPECT_TRUE(Same(o.windowEnabledAfter, true)) << "test window enabled after the box";
    }
}

TEST(ShowMessageBox, IsOwnedByTheGivenWindow) {
    BoxRequest request{"x", 0};
    request.ownedByTestWindow = true;
    const BoxOutcome o = ShowAndClose(request);
    ASSERT_TRUE(RanToTheEnd(o, CloseBy::OkButton));
    EXPECT_TRUE(Same(o.owner, o.testWindow)) << "owner window of the box";
    EXPECT_TRUE(Same(o.windowEnabledDuring, false)) << "owner enabled while the box is up";
    EXPECT_TRUE(Same(o.windowEnabledAfter, true)) << "owner enabled after the box";
}

// Which button closed the box, in the system's own numbering. An OK-only box closed with Esc or
// its close button is left out: Wine returns IDCANCEL for it where Windows returns IDOK.
TEST(ShowMessageBox, ReturnsWhichButtonClosedIt) {
    struct Case {
        std::uint32_t style;
        CloseBy closeBy;
        MessageBoxResult expected;
    };
    const Case cases[] = {
        {0, CloseBy::OkButton, kOk},
        {48, CloseBy::OkButton, kOk},
        {1, CloseBy::OkButton, kOk},
        {1, CloseBy::CancelButton, kCancel},
        {1, CloseBy::EscapeKey, kCancel},
        {1, CloseBy::CloseMessage, kCancel},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("style " + std::to_string(c.style) + " closed by " + Name(c.closeBy));
        BoxRequest request{"确认要刷Recovery吗?", c.style};
        request.closeBy = c.closeBy;
        const BoxOutcome o = ShowAndClose(request);
        ASSERT_TRUE(RanToTheEnd(o, c.closeBy));
        EXPECT_TRUE(Same(static_cast<int>(o.result), static_cast<int>(c.expected)));
    }
}

}  // namespace
}  // namespace zandrel
