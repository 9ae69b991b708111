// Starting programs and the blocking sleep, against real processes under Wine. The started program
// is echo_args.exe, built beside this test exe: it records the command line and startup record it
// got. The current directory is a fresh empty folder throughout, so that a program found by its bare
// name can only have been found in the folder of this exe.
#include <windows.h>

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <cstdint>
#include <optional>
#include <string>

#include "exec/process.h"
#include "win_test_support.h"

namespace zandrel {
namespace {

using wintest::Hex;
using wintest::Same;
using wintest::SameBytes;

// What echo_args.exe found in its startup record, and its command line byte for byte.
struct EchoRecord {
    unsigned long flags = 0;
    unsigned show = 0;
    std::string commandLine;
};

std::optional<EchoRecord> ParseEcho(const std::string& content) {
    const std::size_t eol = content.find('\n');
    if (eol == std::string::npos) return std::nullopt;
    EchoRecord r;
    if (std::sscanf(content.substr(0, eol).c_str(), "flags=%lu show=%u", &r.flags, &r.show) != 2) return std::nullopt;
    r.commandLine = content.substr(eol + 1);
    return r;
}

BOOL CALLBACK CountVisibleWindowOfThisProcess(HWND w, LPARAM count) {
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    if (pid == GetCurrentProcessId() && IsWindowVisible(w)) ++*reinterpret_cast<int*>(count);
    return TRUE;
}

int VisibleWindowsOfThisProcess() {
    int count = 0;
    EnumWindows(CountVisibleWindowOfThisProcess, reinterpret_cast<LPARAM>(&count));
    return count;
}

class ProcessTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(temp_.ok()) << "could not create a temporary folder";
        ASSERT_TRUE(wintest::FileExists(wintest::OwnExeFolder() + "\\echo_args.exe"))
            << "echo_args.exe is missing beside the test exe";
        ASSERT_TRUE(SetCurrentDirectoryA(temp_.path().c_str()));
    }

    // The record of the last echo_args run; it exists only once the program has finished writing.
    std::optional<EchoRecord> Echo() const {
        const auto content = wintest::ReadWholeFile(echoFile_);
        return content ? ParseEcho(*content) : std::nullopt;
    }

    // For a start without the wait flag: the record shows up once the program has run.
    std::optional<EchoRecord> WaitForEcho() const {
        wintest::WaitUntil([&] { return wintest::FileExists(echoFile_); }, 15000);
        return Echo();
    }

    // The folder is declared first so that it is removed last, once the current directory is back.
    wintest::TempFolder temp_;
    wintest::CurrentDirectoryGuard cwd_;
    std::string echoFile_ = temp_ / "echo.txt";
    wintest::EnvironmentGuard echoOut_{"ZANDREL_ECHO_OUT", echoFile_};
};

TEST_F(ProcessTest, RunCommandLineFindsAProgramByBareNameInTheExeFolder) {
    // The product starts "adb ..." this way: no extension, no path, no wait.
    EXPECT_TRUE(RunCommandLine("echo_args reboot", false, 1));
    const auto echo = WaitForEcho();
    ASSERT_TRUE(echo) << "got no record from echo_args within 15 s, expected one";
    EXPECT_TRUE(SameBytes(echo->commandLine, "echo_args reboot"));
}

TEST_F(ProcessTest, RunCommandLineFailsForAnEmptyLineOrAnUnknownProgram) {
    struct Case {
        const char* what;
        std::string_view line;
    };
    const Case cases[] = {
        {"empty command line", ""},
        {"unknown program", "zandrel_no_such_tool_4711 devices"},
        {"unknown program with extension", "zandrel_no_such_tool_4711.exe reboot bootloader"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_TRUE(Same(RunCommandLine(c.line, false, 1), false));
        EXPECT_TRUE(Same(RunCommandLine(c.line, true), false));
    }
    // Nothing was started and nothing was shown: no window of this process is visible.
    EXPECT_TRUE(Same(VisibleWindowsOfThisProcess(), 0));
    EXPECT_TRUE(Same(wintest::FolderEntries(temp_.path()).size(), 0u)) << "files in the current directory";
}

TEST_F(ProcessTest, RunCommandLinePassesTheCommandLineByteForByte) {
    const std::string lines[] = {
        "echo_args",
        // A trailing blank, as in the product's "adb reboot bootloader ".
        "echo_args reboot bootloader ",
        // A quoted GBK path with blanks, as a recovery image path reaches fastboot.
        "echo_args flash recovery \"C:\\刷机 文件\\恢复镜像.img\"",
        // An escaped quote, a backslash before a quote and GBK characters whose second byte is
        // 0x5C (a backslash in ASCII): nothing may reinterpret them.
        "echo_args.exe \"a\\\"b\" \"c:\\dir\\\\\" 乗俓\\ \"乗\"  two  blanks",
        // A quoted program name.
        "\"echo_args\" x",
    };
    for (const auto& line : lines) {
        SCOPED_TRACE("command line " + Hex(line));
        DeleteFileA(echoFile_.c_str());
        EXPECT_TRUE(RunCommandLine(line, true, 1));
        const auto echo = Echo();
        ASSERT_TRUE(echo) << "got no record from echo_args, expected one";
        EXPECT_TRUE(SameBytes(echo->commandLine, line));
    }
}

TEST_F(ProcessTest, RunCommandLineShowModes) {
    struct Case {
        const char* what;
        std::optional<std::int32_t> mode;
        unsigned expectedShow;
    };
    const Case cases[] = {
        {"omitted", std::nullopt, SW_SHOWNORMAL},
        {"1 hidden", 1, SW_HIDE},
        {"2 normal", 2, SW_SHOWNORMAL},
        {"3 minimised", 3, SW_SHOWMINIMIZED},
        {"4 maximised", 4, SW_SHOWMAXIMIZED},
        {"5 normal, inactive", 5, SW_SHOWNOACTIVATE},
        {"6 minimised, inactive", 6, SW_MINIMIZE},
        {"0 counts as 1", 0, SW_HIDE},
        {"-3 counts as 1", -3, SW_HIDE},
        {"INT_MIN counts as 1", INT_MIN, SW_HIDE},
        {"7 counts as 6", 7, SW_MINIMIZE},
        {"9 counts as 6", 9, SW_MINIMIZE},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("show mode ") + c.what);
        DeleteFileA(echoFile_.c_str());
        EXPECT_TRUE(RunCommandLine("echo_args show", true, c.mode));
        const auto echo = Echo();
        ASSERT_TRUE(echo) << "got no record from echo_args, expected one";
        EXPECT_TRUE(Same(echo->flags, static_cast<unsigned long>(STARTF_USESHOWWINDOW))) << "dwFlags";
        EXPECT_TRUE(Same(echo->show, c.expectedShow)) << "wShowWindow";
    }
}

TEST_F(ProcessTest, RunCommandLineWithWaitReturnsTrueOnlyAfterTheProgramEndedWhateverItsExitCode) {
    for (const int exitCode : {0, 3, -1}) {
        SCOPED_TRACE("exit code " + std::to_string(exitCode));
        DeleteFileA(echoFile_.c_str());
        // echo_args sleeps first and writes its record just before it exits: right after a wait
        // for its end, the record is there.
        EXPECT_TRUE(RunCommandLine("echo_args --sleep=300 --exit=" + std::to_string(exitCode), true, 1));
        EXPECT_TRUE(Echo().has_value()) << "got no record right after the wait, expected the program to have ended";
    }
}

DWORD WINAPI SleepBlockingThread(void* milliseconds) {
    SleepBlocking(*static_cast<std::int32_t*>(milliseconds));
    return 0;
}

// Runs SleepBlocking on a thread of its own, so that a wrong conversion of a negative count into an
// endless Sleep fails the test instead of hanging it.
TEST(SleepBlocking, NegativeAndZeroReturnAtOnce) {
    for (const std::int32_t ms : {-1, 0, INT_MIN}) {
        SCOPED_TRACE("SleepBlocking(" + std::to_string(ms) + ")");
        auto* arg = new std::int32_t(ms);
        HANDLE thread = CreateThread(nullptr, 0, SleepBlockingThread, arg, 0, nullptr);
        ASSERT_NE(thread, nullptr);
        const DWORD waited = WaitForSingleObject(thread, 5000);
        EXPECT_TRUE(Same(waited, static_cast<DWORD>(WAIT_OBJECT_0))) << "the call had not returned after 5 s";
        if (waited == WAIT_OBJECT_0) delete arg;  // otherwise the sleeping thread still uses it
        CloseHandle(thread);
    }
}

class ShellOpenTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(temp_.ok()) << "could not create a temporary folder";
        for (const auto* dir : {&batchDir_, &workDir_, &currentDir_})
            ASSERT_TRUE(CreateDirectoryA(dir->c_str(), nullptr)) << Hex(*dir);
        // The redirection names no folder: the file lands in the folder cmd works in.
        ASSERT_TRUE(wintest::WriteWholeFile(batch_, "echo shell-ok> out.txt\r\n"));
        ASSERT_TRUE(SetCurrentDirectoryA(currentDir_.c_str()));
    }

    // Waits for the batch file's output to be complete in the given folder.
    ::testing::AssertionResult OutputAppearsIn(const std::string& dir) const {
        const std::string out = dir + "\\out.txt";
        if (wintest::WaitUntil([&] { return wintest::ReadWholeFile(out) == std::string("shell-ok\r\n"); }, 15000))
            return ::testing::AssertionSuccess();
        const auto got = wintest::ReadWholeFile(out);
        auto failure = ::testing::AssertionFailure();
        if (got)
            failure << "got [" << Hex(*got) << "]";
        else
            failure << "got no file";
        return failure << " in " << Hex(out) << " after 15 s, expected \"shell-ok\\r\\n\"";
    }

    wintest::TempFolder temp_;
    wintest::CurrentDirectoryGuard cwd_;
    std::string batchDir_ = temp_ / "批处理";
    std::string workDir_ = temp_ / "work";
    std::string currentDir_ = temp_ / "current";
    std::string batch_ = batchDir_ + "\\x.bat";
};

TEST_F(ShellOpenTest, RunsABatchFileInTheGivenWorkingDirectory) {
    ShellOpen(4, batch_, std::nullopt, workDir_, 1);
    EXPECT_TRUE(OutputAppearsIn(workDir_));
    EXPECT_FALSE(wintest::FileExists(currentDir_ + "\\out.txt")) << "got an output file in the current directory";
    EXPECT_FALSE(wintest::FileExists(batchDir_ + "\\out.txt")) << "got an output file beside the batch file";
}

TEST_F(ShellOpenTest, RunsABatchFileInTheCurrentDirectoryWhenNoneIsGiven) {
    // The product's query call: verb 4, no parameters, no working directory, hidden.
    ShellOpen(4, batch_, std::nullopt, std::nullopt, 1);
    EXPECT_TRUE(OutputAppearsIn(currentDir_));
    EXPECT_FALSE(wintest::FileExists(batchDir_ + "\\out.txt")) << "got an output file beside the batch file";
}

}  // namespace
}  // namespace zandrel
