// Recovery flashing end to end: the confirmation of MainWindow 按钮11, RecoveryWindow, and its 按钮4,
// which asks adb to reboot the phone into the bootloader, waits 5 s with the windows responsive and
// then starts fastboot.exe through the command processor with the path from the box.
#include <gtest/gtest.h>

#include <functional>

#include "e2e_support.h"
#include "exec/commands.h"
#include "frame/message_box_logic.h"

using namespace e2e;
using zandrel::WindowId;

namespace {

constexpr char kConfirmation[] =
    "需要先解锁Bootloader才能刷Recovery,如果没解锁刷Recovery会变砖,确认要刷Recovery吗?";
constexpr char kFirstNotice[] = "手机即将进入fastboot模式刷入recovery!";
constexpr char kLastNotice[] = "如果cmd窗口关闭即代表刷入完毕!";

// The text in quotes, with its bytes in hex when it holds GBK characters.
std::string Shown(const std::string& s) {
    for (unsigned char ch : s)
        if (ch >= 0x80) return "\"" + s + "\" (" + Hex(s) + ")";
    return "\"" + s + "\"";
}

std::string ShownArgs(const std::vector<std::string>& args) {
    std::string out = "{";
    for (const auto& a : args) out += (out.size() > 1 ? ", " : "") + Shown(a);
    return out + "}";
}

// Whether this driver runs under Wine (its ntdll exports wine_get_version).
bool UnderWine() { return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr; }

HWND ShowConfirmation(const App& app) {
    Click(Control(app.main(), WindowId::Main, "按钮11"));
    return app.WaitForMessageBox();
}

// Confirms with OK and returns RecoveryWindow once it is up.
HWND OpenRecoveryWindow(const App& app) {
    HWND confirmation = ShowConfirmation(app);
    if (!confirmation) return nullptr;
    CloseMessageBox(confirmation, IDOK);
    return app.WaitForWindow(WindowId::Recovery);
}

HWND PathBox(HWND window) { return Control(window, WindowId::Recovery, "编辑框1"); }

// A box of style 0: the text, the default caption, OK alone and no icon.
void ExpectPlainBox(HWND box, const char* text) {
    EXPECT_EQ(MessageBoxText(box), text) << "got " << Hex(MessageBoxText(box)) << ", expected " << Hex(text);
    EXPECT_EQ(WindowText(box), zandrel::kDefaultCaption)
        << "got " << Hex(WindowText(box)) << ", expected " << Hex(zandrel::kDefaultCaption);
    EXPECT_FALSE(MessageBoxHasIcon(box)) << "the box has an icon";
    EXPECT_TRUE(MessageBoxHasButton(box, IDOK));
    EXPECT_FALSE(MessageBoxHasButton(box, IDCANCEL));
}

// The command processor that runs the flash waits for a key once fastboot has ended; whatever is
// still running of it when the test ends is stopped.
struct CommandProcessorReaper {
    DWORD parent;
    ~CommandProcessorReaper() { EndChildProcesses(parent, "cmd.exe"); }
};

struct FlashRun {
    ToolRun reboot, fastboot;
    ULONGLONG msToFastboot = 0;  // from closing the first notice until the fastboot record was seen
};

// Clicks 按钮4 and follows the flash to its end: the first notice (checked and closed; nothing is
// started before), the reboot request, the fastboot run and the last notice (checked and closed).
// `duringWait` runs about 2 s after the first notice was closed, inside the 5 s wait.
void Flash(const App& app, const Sandbox& box, HWND window, FlashRun& out,
           const std::function<void()>& duringWait = nullptr) {
    Click(Control(window, WindowId::Recovery, "按钮4"));
    HWND first = app.WaitForMessageBox();
    ASSERT_TRUE(first) << "no first notice";
    ExpectPlainBox(first, kFirstNotice);
    Sleep(300);
    EXPECT_TRUE(ReadToolLog(box).empty()) << "a tool was started before the first notice was closed";
    CloseMessageBox(first);
    const ULONGLONG closed = GetTickCount64();

    auto runs = WaitForToolRuns(box, 1);
    ASSERT_FALSE(runs.empty()) << "adb was not started after the first notice";
    ASSERT_EQ(runs[0].tool, "adb.exe") << "the first tool started is not adb";
    out.reboot = runs[0];
    if (duringWait) {
        const ULONGLONG elapsed = GetTickCount64() - closed;
        if (elapsed < 2000) Sleep(static_cast<DWORD>(2000 - elapsed));
        duringWait();
    }

    runs = WaitForToolRuns(box, 2, 15000);
    out.msToFastboot = GetTickCount64() - closed;
    ASSERT_EQ(runs.size(), 2u) << "fastboot.exe was not started";
    out.fastboot = runs[1];

    HWND last = app.WaitForMessageBox();
    ASSERT_TRUE(last) << "no last notice";
    ExpectPlainBox(last, kLastNotice);
    CloseMessageBox(last);
}

// What every flash shares: the reboot request started hidden with its trailing space, and fastboot
// started after the wait, in the run directory, not hidden, with exactly the expected arguments.
void ExpectFlashedWith(const Sandbox& box, const FlashRun& run, const std::vector<std::string>& fastbootArgs) {
    EXPECT_EQ(run.reboot.commandLine, zandrel::commands::kRebootBootloaderForFlash)
        << "got \"" << run.reboot.commandLine << "\"";
    EXPECT_EQ(run.reboot.args, (std::vector<std::string>{"reboot", "bootloader"}));
    EXPECT_EQ(run.reboot.flags & STARTF_USESHOWWINDOW, static_cast<unsigned long>(STARTF_USESHOWWINDOW));
    EXPECT_EQ(run.reboot.show, static_cast<unsigned>(SW_HIDE));

    EXPECT_EQ(run.fastboot.tool, "fastboot.exe");
    EXPECT_EQ(run.fastboot.args, fastbootArgs)
        << "got " << ShownArgs(run.fastboot.args) << ", expected " << ShownArgs(fastbootArgs);
    EXPECT_EQ(run.fastboot.cwd, box.dir()) << "fastboot ran outside the run directory";
    // The console is started with a normal show command; the command processor hands fastboot its
    // own startup record (under Wine dwFlags 0). Either way fastboot must not be started hidden.
    EXPECT_FALSE((run.fastboot.flags & STARTF_USESHOWWINDOW) && run.fastboot.show == SW_HIDE)
        << "fastboot was started hidden";
    EXPECT_GE(run.msToFastboot, 4000u) << "fastboot was started " << run.msToFastboot
                                       << " ms after the first notice was closed, expected about 5000";
}

struct CloseCase {
    const char* name;
    void (*close)(HWND box);
};
void PrintTo(const CloseCase& c, std::ostream* os) { *os << c.name; }

struct PathCase {
    const char* name;
    std::string path;
    bool typed = false;               // typed through the keyboard instead of set as a whole
    bool wineExpandsVariable = false;  // holds %NAME% or !NAME! of a defined variable
};
void PrintTo(const PathCase& c, std::ostream* os) { *os << c.name; }

}  // namespace

TEST(RecoveryConfirmation, OkOpensRecoveryWindow) {
    Sandbox box;
    App app(box);
    ASSERT_TRUE(app.main());
    HWND confirmation = ShowConfirmation(app);
    ASSERT_TRUE(confirmation) << "no confirmation";
    EXPECT_EQ(MessageBoxText(confirmation), kConfirmation)
        << "got " << Hex(MessageBoxText(confirmation)) << ", expected " << Hex(kConfirmation);
    EXPECT_EQ(WindowText(confirmation), "注意!") << "got " << Hex(WindowText(confirmation));
    EXPECT_TRUE(MessageBoxHasButton(confirmation, IDOK));
    EXPECT_TRUE(MessageBoxHasButton(confirmation, IDCANCEL));
    EXPECT_FALSE(MessageBoxHasIcon(confirmation));
    CloseMessageBox(confirmation, IDOK);

    HWND window = app.WaitForWindow(WindowId::Recovery);
    ASSERT_TRUE(window) << "RecoveryWindow did not open";
    EXPECT_EQ(ClassName(window), "ZandrelWindow");
    EXPECT_EQ(WindowText(window), "");
    const RECT rc = WindowRect(window);
    EXPECT_EQ(rc.right - rc.left, 380);
    EXPECT_EQ(rc.bottom - rc.top, 164);
    EXPECT_EQ(ControlText(PathBox(window)), "");
    EXPECT_TRUE(ReadToolLog(box).empty()) << "confirming started a tool";
}

class RecoveryConfirmationDeclined : public ::testing::TestWithParam<CloseCase> {};

TEST_P(RecoveryConfirmationDeclined, OpensNothing) {
    Sandbox box;
    App app(box);
    ASSERT_TRUE(app.main());
    HWND confirmation = ShowConfirmation(app);
    ASSERT_TRUE(confirmation) << "no confirmation";
    GetParam().close(confirmation);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(confirmation); })) << "the confirmation did not close";
    Sleep(700);
    EXPECT_EQ(app.FindWindowOf("ZandrelWindow", ""), nullptr) << "RecoveryWindow opened";
    EXPECT_EQ(app.FindDialog(), nullptr) << "a box or dialog appeared";
    EXPECT_TRUE(IsWindowEnabled(app.main())) << "MainWindow stays disabled";
    EXPECT_TRUE(ReadToolLog(box).empty()) << "declining started a tool";
}

INSTANTIATE_TEST_SUITE_P(
    All, RecoveryConfirmationDeclined,
    ::testing::Values(
        CloseCase{"CancelButton", [](HWND b) { PostMessageA(GetDlgItem(b, IDCANCEL), BM_CLICK, 0, 0); }},
        CloseCase{"Esc", [](HWND b) { Press(b, {{VK_ESCAPE}}); }},
        CloseCase{"CloseButton", [](HWND b) { PostMessageA(b, WM_CLOSE, 0, 0); }},
        CloseCase{"SystemMenuClose", [](HWND b) { PostMessageA(b, WM_SYSCOMMAND, SC_CLOSE, 0); }}),
    [](const auto& info) { return std::string(info.param.name); });

class FlashPath : public ::testing::TestWithParam<PathCase> {};

// The path is put into the box by hand (not through the dialog) and need not exist: fastboot is a
// fake. It reaches fastboot as one argument, byte for byte, and quoted on its command line.
TEST_P(FlashPath, ReachesFastbootUnchangedAfterTheWait) {
    const PathCase& c = GetParam();
    if (c.wineExpandsVariable && UnderWine())
        GTEST_SKIP() << "Wine 8's cmd expands %NAME% and !NAME! of defined variables inside the value of the "
                        "variable that hands the path over; Windows' does not";
    Sandbox box;
    App app(box);
    ASSERT_TRUE(app.main());
    CommandProcessorReaper reaper{app.pid()};
    HWND window = OpenRecoveryWindow(app);
    ASSERT_TRUE(window) << "RecoveryWindow did not open";
    if (c.typed) {
        WaitFor([&] { return app.Focus() != nullptr; });
        if (app.Focus() != PathBox(window)) Press(window, {{VK_TAB}});
        ASSERT_TRUE(WaitFor([&] { return app.Focus() == PathBox(window); })) << "the path box did not get the focus";
        TypeText(window, c.path);
    } else {
        SetControlText(PathBox(window), c.path);
    }
    ASSERT_EQ(ControlText(PathBox(window)), c.path) << "got " << Hex(ControlText(PathBox(window)));

    FlashRun run;
    ASSERT_NO_FATAL_FAILURE(Flash(app, box, window, run));
    ExpectFlashedWith(box, run, {"flash", "recovery", c.path});
    const std::string quoted = "fastboot.exe flash recovery \"" + c.path + "\"";
    EXPECT_EQ(run.fastboot.commandLine.substr(0, quoted.size()), quoted)
        << "got " << Shown(run.fastboot.commandLine) << ", expected it to begin with " << Shown(quoted);

    // RecoveryWindow stays open with the path, and nothing else is started.
    Sleep(300);
    EXPECT_TRUE(IsWindowVisible(window)) << "RecoveryWindow closed";
    EXPECT_EQ(ControlText(PathBox(window)), c.path);
    EXPECT_EQ(ReadToolLog(box).size(), 2u);
}

INSTANTIATE_TEST_SUITE_P(
    All, FlashPath,
    ::testing::Values(
        PathCase{"Plain", "C:\\images\\twrp.img", /*typed=*/true},
        PathCase{"Blanks", "C:\\My Images\\twrp 3.img"},
        // Undefined names between percent signs and between exclamation marks, a lone exclamation
        // mark, and the command processor's other special characters: all stay literal.
        PathCase{"CommandProcessorSyntax", "C:\\a&b\\%ZANDREL_UNSET%\\!ZANDREL_UNSET!\\x^y!z(1) & echo.img"},
        PathCase{"NamesOfDefinedVariables", "C:\\a\\%PATH%\\!OS!\\twrp.img", false, /*wineExpandsVariable=*/true},
        PathCase{"Gbk", "C:\\镜像\\恢复.img"}),
    [](const auto& info) { return std::string(info.param.name); });

// A double quote typed into the box ends the quoted argument early, but what follows it is never
// run as a command of its own: the path reaches the command processor only after its line was parsed.
TEST(Flash, APathWithDoubleQuotesStartsNoOtherProgram) {
    const std::string path = "C:\\x\" & adb.exe injected & \"y.img";
    Sandbox box;
    App app(box);
    ASSERT_TRUE(app.main());
    CommandProcessorReaper reaper{app.pid()};
    HWND window = OpenRecoveryWindow(app);
    ASSERT_TRUE(window);
    SetControlText(PathBox(window), path);
    FlashRun run;
    ASSERT_NO_FATAL_FAILURE(Flash(app, box, window, run));
    EXPECT_EQ(run.fastboot.tool, "fastboot.exe");
    const std::string line = "fastboot.exe flash recovery \"" + path + "\"";
    EXPECT_EQ(run.fastboot.commandLine.substr(0, line.size()), line)
        << "got " << Shown(run.fastboot.commandLine) << ", expected it to begin with " << Shown(line);
    Sleep(1000);
    const auto runs = ReadToolLog(box);
    EXPECT_EQ(runs.size(), 2u) << "the path started another program: " << runs.back().commandLine;
}

TEST(Flash, WindowStaysResponsiveDuringTheWaitAndThePathChangedThenIsFlashed) {
    Sandbox box;
    App app(box);
    ASSERT_TRUE(app.main());
    CommandProcessorReaper reaper{app.pid()};
    HWND window = OpenRecoveryWindow(app);
    ASSERT_TRUE(window);
    SetControlText(PathBox(window), "C:\\images\\old.img");
    FlashRun run;
    ASSERT_NO_FATAL_FAILURE(Flash(app, box, window, run, [&] {
        EXPECT_TRUE(app.Responsive(1000)) << "the UI thread did not answer during the wait";
        EXPECT_EQ(ReadToolLog(box).size(), 1u) << "fastboot was started before the wait was over";
        SetControlText(PathBox(window), "C:\\images\\new.img");
    }));
    ExpectFlashedWith(box, run, {"flash", "recovery", "C:\\images\\new.img"});
}

TEST(Flash, WithAnEmptyBoxBothNoticesShowAndFastbootGetsNoPath) {
    Sandbox box;
    App app(box);
    ASSERT_TRUE(app.main());
    CommandProcessorReaper reaper{app.pid()};
    HWND window = OpenRecoveryWindow(app);
    ASSERT_TRUE(window);
    FlashRun run;
    ASSERT_NO_FATAL_FAILURE(Flash(app, box, window, run));
    ExpectFlashedWith(box, run, {"flash", "recovery"});
    EXPECT_EQ(run.fastboot.commandLine.find('"'), std::string::npos)
        << "got the command line \"" << run.fastboot.commandLine << "\"";
}
