// MainWindow end to end: its frame, controls, keyboard, the four power buttons, closing and the run
// directory, against the real zandrel.exe under Wine.
#include <gtest/gtest.h>

#include "e2e_support.h"
#include "exec/commands.h"
#include "frame/window_definition.h"

using namespace e2e;
using zandrel::ControlKind;
using zandrel::WindowId;

namespace {

std::string ExpectedClass(ControlKind kind) {
    switch (kind) {
    case ControlKind::Label: return "ZandrelLabel";
    case ControlKind::PushButton: return "Button";
    case ControlKind::EditBox: return "Edit";
    case ControlKind::PictureBox: return "ZandrelPicture";
    case ControlKind::OpenFileDialog: return "ZandrelDialogHolder";
    }
    return "";
}

std::string NameOf(HWND window, WindowId id, HWND child) {
    for (const auto& c : zandrel::Definition(id).controls)
        if (Control(window, id, c.name) == child) return std::string(c.name);
    return "(not a control: " + ClassName(child) + ")";
}

}  // namespace

TEST(MainWindow, FrameIsCentredFixedAndCaptioned) {
    Sandbox box;
    App app(box);
    ASSERT_TRUE(app.main());
    EXPECT_EQ(WindowText(app.main()), "Zandrel By Quivon");
    const RECT rc = WindowRect(app.main());
    EXPECT_EQ(rc.left, 758);
    EXPECT_EQ(rc.top, 395);
    EXPECT_EQ(rc.right - rc.left, 404);
    EXPECT_EQ(rc.bottom - rc.top, 290);
    const LONG style = GetWindowLongA(app.main(), GWL_STYLE);
    EXPECT_EQ(style & 0x02CF0000, 0x02CA0000) << std::hex << "got style " << style;
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_EQ(GetWindow(app.main(), GW_OWNER), nullptr) << "MainWindow has no owner, so it has a taskbar button";
    CaptureWindow(app.main(), "main_window");
}

TEST(MainWindow, EveryControlHasItsClassRectangleAndCaption) {
    Sandbox box;
    App app(box);
    ASSERT_TRUE(app.main());
    for (const auto& c : zandrel::Definition(WindowId::Main).controls) {
        SCOPED_TRACE(std::string(c.name));
        HWND h = Control(app.main(), WindowId::Main, c.name);
        ASSERT_TRUE(h);
        EXPECT_EQ(ClassName(h), ExpectedClass(c.kind));
        const RECT rc = ChildRect(h);
        EXPECT_EQ(rc.left, c.left);
        EXPECT_EQ(rc.top, c.top);
        EXPECT_EQ(rc.right - rc.left, c.width);
        EXPECT_EQ(rc.bottom - rc.top, c.height);
        EXPECT_EQ(WindowText(h), c.caption) << "got " << Hex(WindowText(h)) << ", expected " << Hex(c.caption);
        EXPECT_TRUE(IsWindowVisible(h));
        EXPECT_TRUE(IsWindowEnabled(h));
        const LONG style = GetWindowLongA(h, GWL_STYLE);
        EXPECT_EQ((style & WS_TABSTOP) != 0, c.tabStop);
        if (c.kind == ControlKind::PushButton) {
            const LONG kButton = BS_PUSHBUTTON | BS_CENTER | BS_VCENTER | BS_MULTILINE;
            EXPECT_EQ(style & (kButton | BS_DEFPUSHBUTTON), kButton) << std::hex << "got style " << style;
        }
    }
}

TEST(MainWindow, FocusStartsOnTheFirstButtonAndTabWalksTheButtonsInOrder) {
    Sandbox box;
    App app(box);
    ASSERT_TRUE(app.main());
    const char* order[] = {"按钮1", "按钮2", "按钮3", "按钮4", "按钮5", "按钮6",
                           "按钮7", "按钮8", "按钮9", "按钮10", "按钮11"};
    ASSERT_TRUE(WaitFor([&] { return app.Focus() == Control(app.main(), WindowId::Main, order[0]); }))
        << "focus at start: " << NameOf(app.main(), WindowId::Main, app.Focus());
    for (int i = 1; i <= 11; ++i) {
        Press(app.main(), {{VK_TAB}});
        const char* expected = order[i % 11];  // from 按钮11, Tab wraps to 按钮1
        EXPECT_TRUE(app.FocusBecomes(Control(app.main(), WindowId::Main, expected)))
            << "after " << i << " Tab: got " << NameOf(app.main(), WindowId::Main, app.Focus()) << ", expected " << expected;
    }
    // Shift+Tab from 按钮1 wraps back to 按钮11, then walks down.
    Press(app.main(), {{VK_TAB, true}});
    EXPECT_TRUE(app.FocusBecomes(Control(app.main(), WindowId::Main, "按钮11")));
    Press(app.main(), {{VK_TAB, true}});
    EXPECT_TRUE(app.FocusBecomes(Control(app.main(), WindowId::Main, "按钮10")));
    EXPECT_TRUE(ReadToolLog(box).empty()) << "moving the focus started a tool";
}

TEST(MainWindow, EnterAndAltLetterDoNothing) {
    Sandbox box;
    App app(box);
    ASSERT_TRUE(app.main());
    Press(app.main(), {{VK_TAB}, {VK_TAB}});  // focus on 按钮3
    HWND before = app.Focus();
    Press(app.main(), {{VK_RETURN}, {'A', false, true}, {'R', false, true}});
    Sleep(500);
    EXPECT_EQ(app.Focus(), before);
    EXPECT_TRUE(ReadToolLog(box).empty()) << "Enter or Alt+letter started a tool";
    EXPECT_EQ(app.FindDialog(), nullptr);
    EXPECT_TRUE(app.running());
}

struct PowerCase {
    const char* button;
    std::string_view commandLine;
};
void PrintTo(const PowerCase& c, std::ostream* os) { *os << c.commandLine; }

class PowerButton : public ::testing::TestWithParam<PowerCase> {};

TEST_P(PowerButton, StartsExactlyItsCommandLineHiddenAndStaysResponsive) {
    Sandbox box;
    App app(box);
    ASSERT_TRUE(app.main());
    Click(Control(app.main(), WindowId::Main, GetParam().button));
    const auto runs = WaitForToolRuns(box, 1);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].tool, "adb.exe");
    EXPECT_EQ(runs[0].commandLine, GetParam().commandLine);
    EXPECT_EQ(runs[0].flags & STARTF_USESHOWWINDOW, static_cast<unsigned long>(STARTF_USESHOWWINDOW));
    EXPECT_EQ(runs[0].show, static_cast<unsigned>(SW_HIDE));
    EXPECT_TRUE(app.Responsive());
    EXPECT_EQ(app.FindDialog(), nullptr) << "a power button shows nothing";
    // A second click starts a second process with the same command line.
    Click(Control(app.main(), WindowId::Main, GetParam().button));
    const auto again = WaitForToolRuns(box, 2);
    ASSERT_EQ(again.size(), 2u);
    EXPECT_EQ(again[1].commandLine, GetParam().commandLine);
}

INSTANTIATE_TEST_SUITE_P(All, PowerButton,
                         ::testing::Values(PowerCase{"按钮1", zandrel::commands::kRebootRecovery},
                                           PowerCase{"按钮2", zandrel::commands::kRebootBootloader},
                                           PowerCase{"按钮3", "adb reboot"},
                                           PowerCase{"按钮4", zandrel::commands::kPowerOff}),
                         [](const auto& info) { return "Button" + std::to_string(info.index + 1); });

TEST(MainWindow, SpaceOnTheFocusedButtonRunsItsAction) {
    Sandbox box;
    App app(box);
    ASSERT_TRUE(app.main());
    Press(app.main(), {{VK_SPACE}});
    const auto runs = WaitForToolRuns(box, 1);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].commandLine, zandrel::commands::kRebootRecovery);
}

TEST(MainWindow, PowerButtonWithoutAdbShowsNothingAndStaysUsable) {
    Sandbox box(SandboxOptions().WithoutTools());
    App app(box);
    ASSERT_TRUE(app.main());
    Click(Control(app.main(), WindowId::Main, "按钮4"));
    Sleep(500);
    EXPECT_TRUE(app.Responsive());
    EXPECT_EQ(app.FindDialog(), nullptr);
    EXPECT_TRUE(app.running());
}

struct CloseCase {
    const char* name;
    void (*close)(HWND);
};
void PrintTo(const CloseCase& c, std::ostream* os) { *os << c.name; }

class ClosingMainWindow : public ::testing::TestWithParam<CloseCase> {};

TEST_P(ClosingMainWindow, EndsTheProcessWithExitCodeZero) {
    Sandbox box;
    App app(box);
    ASSERT_TRUE(app.main());
    GetParam().close(app.main());
    EXPECT_EQ(app.WaitForExit(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    All, ClosingMainWindow,
    ::testing::Values(CloseCase{"Esc", [](HWND w) { Press(w, {{VK_ESCAPE}}); }},
                      CloseCase{"AltF4", [](HWND w) { Press(w, {{VK_F4, false, true}}); }},
                      CloseCase{"SystemMenuClose", [](HWND w) { PostMessageA(w, WM_SYSCOMMAND, SC_CLOSE, 0); }},
                      CloseCase{"CloseMessage", [](HWND w) { PostMessageA(w, WM_CLOSE, 0, 0); }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MainWindow, TwoStartsGiveTwoIndependentWindows) {
    Sandbox box;
    App first(box);
    App second(box);
    ASSERT_TRUE(first.main());
    ASSERT_TRUE(second.main());
    EXPECT_NE(first.main(), second.main());
    PostMessageA(first.main(), WM_CLOSE, 0, 0);
    EXPECT_EQ(first.WaitForExit(), 0u);
    EXPECT_TRUE(second.running());
    EXPECT_TRUE(IsWindowVisible(second.main()));
}

// A folder whose name holds a blank and ends in 乗, whose second GBK byte is a backslash: the run
// directory must be cut at the real last backslash, and the tools beside the exe still found.
TEST(MainWindow, RunDirectoryIsCutCorrectlyInAFolderEndingInADoubleByteBackslash) {
    Sandbox box(SandboxOptions().Suffix(" 目录乗"));
    ASSERT_EQ(box.dir().substr(box.dir().size() - 2), "\x81\x5C") << Hex(box.dir());
    // Started from another current directory: the program makes its own folder current.
    App app(box, DriverDirectory());
    ASSERT_TRUE(app.main());
    Click(Control(app.main(), WindowId::Main, "按钮2"));
    const auto runs = WaitForToolRuns(box, 1);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].cwd, box.dir()) << "got " << Hex(runs[0].cwd) << ", expected " << Hex(box.dir());
    EXPECT_EQ(runs[0].commandLine, zandrel::commands::kRebootBootloader);
    PostMessageA(app.main(), WM_CLOSE, 0, 0);
    EXPECT_EQ(app.WaitForExit(), 0u);
}
