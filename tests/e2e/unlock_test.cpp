// Bootloader unlock end to end: MainWindow 按钮5 opens UnlockCodeWindow; its 按钮1 sends the typed code
// to fastboot, asks adb to reboot into the bootloader, then shows the notice and the shipped notes.
#include <gtest/gtest.h>

#include <fstream>

#include "e2e_support.h"
#include "exec/commands.h"
#include "frame/message_box_logic.h"

using namespace e2e;
using zandrel::WindowId;

namespace {

constexpr char kNotice[] =
    "手机即将重启到Fastboot，如果Fastboot界面显示Phone Lock表示解锁失败，显示Phone Unlocked则表示解锁成功。";

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

HWND OpenUnlockCodeWindow(const App& app) {
    Click(Control(app.main(), WindowId::Main, "按钮5"));
    return app.WaitForWindow(WindowId::UnlockCode);
}

HWND CodeBox(HWND window) { return Control(window, WindowId::UnlockCode, "编辑框1"); }

// Types the code into the box through the keyboard, as a user would (the box has the focus once the
// window is up).
void TypeCode(const App& app, HWND window, std::string_view code) {
    if (!WaitFor([&] { return app.Focus() == CodeBox(window); }))
        ADD_FAILURE() << "the code box did not get the focus";
    TypeText(window, code);
}

void ExpectHidden(const ToolRun& run) {
    EXPECT_EQ(run.flags & STARTF_USESHOWWINDOW, static_cast<unsigned long>(STARTF_USESHOWWINDOW))
        << run.commandLine << ": got dwFlags " << run.flags << ", expected STARTF_USESHOWWINDOW";
    EXPECT_EQ(run.show, static_cast<unsigned>(SW_HIDE))
        << run.commandLine << ": got wShowWindow " << run.show << ", expected SW_HIDE";
}

// The notice: style 48, that is OK alone with the exclamation-mark icon, default caption.
void ExpectNotice(HWND box) {
    EXPECT_EQ(MessageBoxText(box), kNotice) << "got " << Hex(MessageBoxText(box)) << ", expected " << Hex(kNotice);
    EXPECT_EQ(WindowText(box), zandrel::kDefaultCaption)
        << "got " << Hex(WindowText(box)) << ", expected " << Hex(zandrel::kDefaultCaption);
    EXPECT_TRUE(MessageBoxHasIcon(box)) << "the notice has no icon";
    EXPECT_TRUE(MessageBoxHasButton(box, IDOK));
    EXPECT_FALSE(MessageBoxHasButton(box, IDCANCEL));
}

// The second box: the given text, style 0 (OK alone, no icon), default caption.
void ExpectNotes(HWND box, const std::string& text) {
    EXPECT_EQ(MessageBoxText(box), text) << "got " << Hex(MessageBoxText(box)) << ", expected " << Hex(text);
    EXPECT_EQ(WindowText(box), zandrel::kDefaultCaption)
        << "got " << Hex(WindowText(box)) << ", expected " << Hex(zandrel::kDefaultCaption);
    EXPECT_FALSE(MessageBoxHasIcon(box)) << "the notes box has an icon";
    EXPECT_TRUE(MessageBoxHasButton(box, IDOK));
    EXPECT_FALSE(MessageBoxHasButton(box, IDCANCEL));
}

// Closes the notice and waits for the notes box that follows it; nullptr if either is missing.
HWND NoticeThenNotes(const App& app) {
    HWND notice = app.WaitForMessageBox();
    if (!notice) return nullptr;
    ExpectNotice(notice);
    CloseMessageBox(notice);
    return app.WaitForMessageBox();
}

struct CodeCase {
    const char* name;
    std::string code;  // typed into the box; empty: the box is left empty
    std::vector<std::string> fastbootArgs;
};
void PrintTo(const CodeCase& c, std::ostream* os) { *os << c.name; }

}  // namespace

class UnlockCode : public ::testing::TestWithParam<CodeCase> {};

// Both tools are started hidden, each exactly once, with exactly their command lines: the code is
// joined after one space, nothing quoted or trimmed. The order in the log is not checked: both are
// started without waiting for each other, and which fake writes its record first varies from run to
// run (adb came first in about one click of four).
TEST_P(UnlockCode, IsSentToFastbootAlongWithTheRebootIntoTheBootloader) {
    const CodeCase& c = GetParam();
    Sandbox box;
    App app(box);
    ASSERT_TRUE(app.main());
    HWND window = OpenUnlockCodeWindow(app);
    ASSERT_TRUE(window) << "UnlockCodeWindow did not open";
    if (!c.code.empty()) TypeCode(app, window, c.code);
    ASSERT_EQ(ControlText(CodeBox(window)), c.code) << "the code box does not hold the typed code";
    Click(Control(window, WindowId::UnlockCode, "按钮1"));

    const auto runs = WaitForToolRuns(box, 2);
    ASSERT_EQ(runs.size(), 2u);
    const std::string unlockLine = "fastboot oem unlock " + c.code;
    const ToolRun* fastboot = nullptr;
    const ToolRun* adb = nullptr;
    for (const ToolRun& r : runs) (r.tool == "fastboot.exe" ? fastboot : adb) = &r;
    ASSERT_TRUE(fastboot) << "fastboot.exe was not started";
    ASSERT_TRUE(adb) << "adb.exe was not started";
    EXPECT_EQ(adb->tool, "adb.exe");
    EXPECT_EQ(fastboot->commandLine, unlockLine)
        << "got \"" << fastboot->commandLine << "\", expected \"" << unlockLine << "\"";
    EXPECT_EQ(fastboot->args, c.fastbootArgs);
    ExpectHidden(*fastboot);
    EXPECT_EQ(adb->commandLine, zandrel::commands::kRebootBootloader);
    EXPECT_EQ(adb->args, (std::vector<std::string>{"reboot", "bootloader"}));
    ExpectHidden(*adb);

    HWND notes = NoticeThenNotes(app);
    ASSERT_TRUE(notes) << "no second box after the notice";
    CloseMessageBox(notes);
    Sleep(300);
    EXPECT_EQ(ReadToolLog(box).size(), 2u) << "a tool was started more than once";
}

INSTANTIATE_TEST_SUITE_P(
    All, UnlockCode,
    ::testing::Values(
        CodeCase{"SixteenDigits", "1234567890123456", {"oem", "unlock", "1234567890123456"}},
        CodeCase{"Empty", "", {"oem", "unlock"}},
        CodeCase{"WithMinusSigns", "-1234-5678-", {"oem", "unlock", "-1234-5678-"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Unlock, ShowsTheNoticeThenTheNotesAndASecondClickRepeatsEverything) {
    Sandbox box;
    const std::string notesText = ReadAll(box.Path("Brovanek\\a.txt"));
    ASSERT_FALSE(notesText.empty()) << "the sandbox has no Brovanek\\a.txt";
    App app(box);
    ASSERT_TRUE(app.main());
    HWND window = OpenUnlockCodeWindow(app);
    ASSERT_TRUE(window);
    TypeCode(app, window, "1234567890123456");

    for (std::size_t round = 1; round <= 2; ++round) {
        SCOPED_TRACE("click " + std::to_string(round));
        Click(Control(window, WindowId::UnlockCode, "按钮1"));
        HWND notes = NoticeThenNotes(app);
        ASSERT_TRUE(notes) << "no second box after the notice";
        ExpectNotes(notes, notesText);
        CloseMessageBox(notes);
        // Nothing closes UnlockCodeWindow; the code stays in its box.
        Sleep(300);
        EXPECT_EQ(app.FindDialog(), nullptr) << "a third box appeared: " << Hex(MessageBoxText(app.FindDialog()));
        EXPECT_TRUE(IsWindow(window) && IsWindowVisible(window)) << "UnlockCodeWindow closed";
        EXPECT_EQ(ControlText(CodeBox(window)), "1234567890123456");
        const auto runs = WaitForToolRuns(box, 2 * round);
        EXPECT_EQ(runs.size(), 2 * round);
    }
    const auto runs = ReadToolLog(box);
    ASSERT_EQ(runs.size(), 4u);
    // Each click started its own pair.
    for (std::size_t pair = 0; pair < 2; ++pair) {
        const std::string tools = runs[2 * pair].tool + "+" + runs[2 * pair + 1].tool;
        EXPECT_TRUE(tools == "fastboot.exe+adb.exe" || tools == "adb.exe+fastboot.exe")
            << "click " << pair + 1 << " started " << tools;
    }
}

TEST(Unlock, WithoutTheNotesFileTheSecondBoxIsEmpty) {
    Sandbox box(SandboxOptions().WithoutNotes());
    App app(box);
    ASSERT_TRUE(app.main());
    HWND window = OpenUnlockCodeWindow(app);
    ASSERT_TRUE(window);
    TypeCode(app, window, "0000000000000000");
    Click(Control(window, WindowId::UnlockCode, "按钮1"));
    HWND notes = NoticeThenNotes(app);
    ASSERT_TRUE(notes) << "no second box after the notice";
    ExpectNotes(notes, "");
    CloseMessageBox(notes);
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_EQ(WaitForToolRuns(box, 2).size(), 2u);
}
