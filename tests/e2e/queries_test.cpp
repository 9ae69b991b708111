// The four device queries end to end: batch file, hidden command processor, 5 s blocking wait, the
// output file read back and shown in a box captioned "信息：".
#include <gtest/gtest.h>

#include <fstream>

#include "e2e_support.h"
#include "exec/commands.h"
#include "frame/message_box_logic.h"

using namespace e2e;
using zandrel::WindowId;
namespace commands = zandrel::commands;

namespace {

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteAll(const std::string& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Read-only, hidden and system bits (Wine always adds ARCHIVE, so it is left out).
DWORD Bits(const std::string& path) { return GetFileAttributesA(path.c_str()) & 0x7; }

std::string Name(std::string_view suffix) { return std::string(suffix.substr(1)); }

// Clicks a query button and returns the box it shows (waiting out the 5 s).
HWND Query(App& app, const char* button) {
    Click(Control(app.main(), WindowId::Main, button));
    return app.WaitForMessageBox(12000);
}

struct QueryCase {
    const char* button;
    commands::DeviceQuery query;
    std::vector<std::string> adbArgs;
    const char* answer;  // what the fake adb prints
};
void PrintTo(const QueryCase& c, std::ostream* os) { *os << c.button; }

}  // namespace

class DeviceQuery : public ::testing::TestWithParam<QueryCase> {};

TEST_P(DeviceQuery, ShowsThePhonesAnswerAndLeavesBothFilesHidden) {
    const QueryCase& q = GetParam();
    Sandbox box;
    App app(box);
    ASSERT_TRUE(app.main());
    HWND msg = Query(app, q.button);
    ASSERT_TRUE(msg) << "no box after the query";
    EXPECT_EQ(WindowText(msg), zandrel::kDefaultCaption) << "got " << Hex(WindowText(msg));
    EXPECT_EQ(MessageBoxText(msg), q.answer) << "got " << Hex(MessageBoxText(msg)) << ", expected " << Hex(q.answer);
    EXPECT_TRUE(MessageBoxHasButton(msg, IDOK));
    EXPECT_FALSE(MessageBoxHasButton(msg, IDCANCEL));

    const std::string batch = box.Path(Name(q.query.batchSuffix));
    const std::string output = box.Path(Name(q.query.outputSuffix));
    EXPECT_EQ(ReadAll(batch), q.query.commandLine) << "got " << Hex(ReadAll(batch));
    EXPECT_EQ(Bits(batch), static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN));
    EXPECT_EQ(ReadAll(output), q.answer);
    EXPECT_EQ(Bits(output), static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN));

    const auto runs = ReadToolLog(box);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].tool, "adb.exe");
    EXPECT_EQ(runs[0].args, q.adbArgs);
    EXPECT_EQ(runs[0].cwd, box.dir()) << "the command ran outside the run directory";

    if (std::string(q.button) == "按钮6") CaptureWindow(msg, "query_box");
    CloseMessageBox(msg);
    EXPECT_TRUE(IsWindowEnabled(app.main()));
}

INSTANTIATE_TEST_SUITE_P(
    All, DeviceQuery,
    ::testing::Values(
        QueryCase{"按钮6", commands::kQueryModel, {"shell", "getprop", "ro.product.model"}, "ZANDREL-TEST-PHONE\r\n"},
        QueryCase{"按钮7", commands::kQueryResolution, {"shell", "wm", "size"}, "Physical size: 1080x2340\r\n"},
        QueryCase{"按钮8", commands::kQueryDensity, {"shell", "wm", "density"}, "Physical density: 440\r\n"},
        QueryCase{"按钮9", commands::kQueryRelease, {"shell", "getprop", "ro.build.version.release"}, "12\r\n"}),
    [](const auto& info) { return "Button" + std::to_string(info.index + 6); });

TEST(DeviceQueries, TheWindowIsFrozenDuringTheWaitAndDisabledWhileTheBoxIsUp) {
    Sandbox box;
    App app(box);
    ASSERT_TRUE(app.main());
    Click(Control(app.main(), WindowId::Main, "按钮6"));
    Sleep(1500);
    EXPECT_FALSE(app.Responsive(500)) << "the UI thread answered during the 5 s wait";
    HWND msg = app.WaitForMessageBox(12000);
    ASSERT_TRUE(msg);
    EXPECT_FALSE(IsWindowEnabled(app.main())) << "MainWindow takes input while the box is up";
    // A click on a power button while the box is up starts nothing.
    MouseClick(Control(app.main(), WindowId::Main, "按钮1"));
    Sleep(800);
    EXPECT_EQ(ReadToolLog(box).size(), 1u) << "a click reached MainWindow while the box was up";
    CloseMessageBox(msg);
    EXPECT_TRUE(WaitFor([&] { return IsWindowEnabled(app.main()) != FALSE; }));
}

// An answer from an earlier query is never shown as the current one: without adb the box is empty,
// also right after a successful query of the same kind.
TEST(DeviceQueries, WithoutAdbTheBoxIsEmptyEvenAfterAnEarlierAnswer) {
    Sandbox box;
    App app(box);
    ASSERT_TRUE(app.main());
    HWND first = Query(app, "按钮6");
    ASSERT_TRUE(first);
    EXPECT_EQ(MessageBoxText(first), "ZANDREL-TEST-PHONE\r\n");
    CloseMessageBox(first);

    box.RemoveTools();
    HWND second = Query(app, "按钮6");
    ASSERT_TRUE(second);
    EXPECT_EQ(MessageBoxText(second), "") << "got the stale answer " << Hex(MessageBoxText(second));
    EXPECT_EQ(WindowText(second), zandrel::kDefaultCaption);
    CloseMessageBox(second);
}

TEST(DeviceQueries, AnOutputFileLeftByAnEarlierRunIsNotShown) {
    Sandbox box(SandboxOptions().WithoutTools());
    WriteAll(box.Path("b.txt"), "Physical size: 720x1280\r\n");
    SetFileAttributesA(box.Path("b.txt").c_str(), FILE_ATTRIBUTE_HIDDEN);
    App app(box);
    ASSERT_TRUE(app.main());
    HWND msg = Query(app, "按钮7");
    ASSERT_TRUE(msg);
    EXPECT_EQ(MessageBoxText(msg), "") << "got the old answer " << Hex(MessageBoxText(msg));
    CloseMessageBox(msg);
}

TEST(DeviceQueries, ASecondQueryShowsTheNewAnswer) {
    Sandbox box;
    App app(box);
    ASSERT_TRUE(app.main());
    HWND first = Query(app, "按钮9");
    ASSERT_TRUE(first);
    EXPECT_EQ(MessageBoxText(first), "12\r\n");
    CloseMessageBox(first);
    WriteAll(box.Path("adb_answer.bin"), "13\r\n");  // the phone was updated meanwhile
    HWND second = Query(app, "按钮9");
    ASSERT_TRUE(second);
    EXPECT_EQ(MessageBoxText(second), "13\r\n");
    CloseMessageBox(second);
    EXPECT_EQ(ReadToolLog(box).size(), 2u);
}

// A batch file planted (or altered) in the run directory is rewritten with the query's own command
// line before it is started, even when it is hidden, read-only and system.
TEST(DeviceQueries, APlantedBatchFileIsReplacedBeforeItRuns) {
    Sandbox box;
    WriteAll(box.Path("a.bat"), "echo planted> planted.txt");
    SetFileAttributesA(box.Path("a.bat").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY);
    App app(box);
    ASSERT_TRUE(app.main());
    HWND msg = Query(app, "按钮6");
    ASSERT_TRUE(msg);
    EXPECT_EQ(MessageBoxText(msg), "ZANDREL-TEST-PHONE\r\n");
    EXPECT_FALSE(Exists(box.Path("planted.txt"))) << "the planted batch file ran";
    EXPECT_EQ(ReadAll(box.Path("a.bat")), commands::kQueryModel.commandLine);
    EXPECT_EQ(Bits(box.Path("a.bat")), static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN));
    CloseMessageBox(msg);
}

TEST(DeviceQueries, AnAnswerIsShownUpToItsFirstZeroByte) {
    Sandbox box;
    WriteAll(box.Path("adb_answer.bin"), std::string_view("Pixel\r\n\0hidden\r\n", 16));
    App app(box);
    ASSERT_TRUE(app.main());
    HWND msg = Query(app, "按钮6");
    ASSERT_TRUE(msg);
    EXPECT_EQ(MessageBoxText(msg), "Pixel\r\n") << "got " << Hex(MessageBoxText(msg));
    CloseMessageBox(msg);
}

// With the program in the root of a drive the run directory is "R:" alone; the query must still run,
// write and read its files in that root, whatever the drive's current directory was.
TEST(DeviceQueries, WorkInTheRootOfADrive) {
    Sandbox box;
    CreateDirectoryA(box.Path("elsewhere").c_str(), nullptr);
    MappedDrive drive('R', box.dir());
    ASSERT_EQ(drive.root(), "R:\\");
    App app(drive.root() + "zandrel.exe", drive.root() + "elsewhere");
    ASSERT_TRUE(app.main());
    HWND msg = Query(app, "按钮7");
    ASSERT_TRUE(msg);
    EXPECT_EQ(MessageBoxText(msg), "Physical size: 1080x2340\r\n") << "got " << Hex(MessageBoxText(msg));
    CloseMessageBox(msg);
    const auto runs = ReadToolLog(box);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].cwd, "R:\\");
    EXPECT_EQ(ReadAll(box.Path("b.bat")), commands::kQueryResolution.commandLine);
    EXPECT_FALSE(Exists(box.Path("elsewhere\\b.txt"))) << "the output went to the drive's current directory";
    PostMessageA(app.main(), WM_CLOSE, 0, 0);
    EXPECT_EQ(app.WaitForExit(), 0u);
}
