// Every command line that reaches adb and fastboot, byte for byte, and the ones built from what the
// user typed or chose.
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "exec/commands.h"
#include "test_support.h"

namespace zandrel {
namespace {

using test::Same;
using test::SameBytes;

using namespace std::string_view_literals;
namespace cmd = commands;

TEST(FixedCommandLines, AreExactlyTheToolCommands) {
    struct Case {
        const char* what;
        std::string_view got, expected;
        std::size_t length;
    };
    const Case cases[] = {
        {"reboot to recovery", cmd::kRebootRecovery, "adb reboot recovery", 19},
        {"reboot to bootloader", cmd::kRebootBootloader, "adb reboot bootloader", 21},
        // The plain reboot of whichever phone is attached; a fixed serial would match no real phone.
        {"reboot", cmd::kReboot, "adb reboot", 10},
        {"power off", cmd::kPowerOff, "adb shell reboot -p", 19},
        {"reboot before flashing, one trailing space", cmd::kRebootBootloaderForFlash, "adb reboot bootloader ", 22},
        {"flash head, one trailing space", cmd::kFlashRecoveryHead, "fastboot.exe flash recovery ", 28},
        {"unlock head, no trailing space", cmd::kOemUnlock, "fastboot oem unlock", 19},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_TRUE(SameBytes(c.got, c.expected));
        EXPECT_TRUE(Same(c.got.size(), c.length));
    }
}

TEST(FixedCommandLines, DeviceQueriesWriteTheirOutputBesideTheirBatchFile) {
    struct Case {
        const cmd::DeviceQuery& query;
        std::string_view batch, line, output;
        std::size_t lineLength;
    };
    const Case cases[] = {
        {cmd::kQueryModel, "\\a.bat", "adb shell getprop ro.product.model > a.txt", "\\a.txt", 42},
        {cmd::kQueryResolution, "\\b.bat", "adb shell wm size > b.txt", "\\b.txt", 25},
        {cmd::kQueryDensity, "\\c.bat", "adb shell wm density > c.txt", "\\c.txt", 28},
        {cmd::kQueryRelease, "\\d.bat", "adb shell getprop ro.build.version.release > d.txt", "\\d.txt", 50},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.batch);
        EXPECT_TRUE(SameBytes(c.query.batchSuffix, c.batch));
        EXPECT_TRUE(SameBytes(c.query.commandLine, c.line));
        EXPECT_TRUE(Same(c.query.commandLine.size(), c.lineLength));
        EXPECT_TRUE(SameBytes(c.query.outputSuffix, c.output));
        // The redirection names the very file that is read back from the run directory.
        const std::string redirect = " > " + std::string(c.query.outputSuffix.substr(1));
        EXPECT_TRUE(c.query.commandLine.ends_with(redirect))
            << "got \"" << c.query.commandLine << "\", expected it to end in \"" << redirect << "\"";
    }
}

TEST(FixedCommandLines, NoneNamesAFixedDeviceSerial) {
    const std::vector<std::string> lines = {
        std::string(cmd::kRebootRecovery), std::string(cmd::kRebootBootloader), std::string(cmd::kReboot),
        std::string(cmd::kPowerOff), std::string(cmd::kRebootBootloaderForFlash),
        std::string(cmd::kQueryModel.commandLine), std::string(cmd::kQueryResolution.commandLine),
        std::string(cmd::kQueryDensity.commandLine), std::string(cmd::kQueryRelease.commandLine),
        cmd::UnlockCommandLine("1234567890123456"), cmd::FlashCommandLine("C:\\r.img"),
        cmd::FlashConsoleCommandLine("C:\\Windows\\system32\\cmd.exe", true),
        cmd::FlashConsoleCommandLine("C:\\Windows\\system32\\cmd.exe", false),
    };
    for (const auto& line : lines) {
        EXPECT_EQ(line.find("device1"), std::string::npos) << "got \"" << line << "\", expected no \"device1\"";
        EXPECT_EQ(line.find(" -s "), std::string::npos) << "got \"" << line << "\", expected no -s serial";
    }
}

TEST(UnlockCommandLine, JoinsTheCodeAfterOneSpace) {
    struct Case {
        const char* what;
        std::string_view code, expected;
    };
    const Case cases[] = {
        {"16 digits", "1234567890123456", "fastboot oem unlock 1234567890123456"},
        {"empty code keeps the single space", "", "fastboot oem unlock "},
        {"minus signs kept", "1234-5678-9012-3456", "fastboot oem unlock 1234-5678-9012-3456"},
        {"leading minus", "-1", "fastboot oem unlock -1"},
        {"zero byte ends the code", "12\0" "34"sv, "fastboot oem unlock 12"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_TRUE(SameBytes(cmd::UnlockCommandLine(c.code), c.expected));
    }
    EXPECT_TRUE(Same(cmd::UnlockCommandLine("1234567890123456").size(), 36u));
}

TEST(FlashCommandLine, QuotesThePathAsOneArgument) {
    struct Case {
        const char* what;
        std::string_view path, expected;
    };
    const Case cases[] = {
        {"plain path", "C:\\twrp.img", "fastboot.exe flash recovery \"C:\\twrp.img\""},
        {"path with blanks", "C:\\My Images\\twrp 3.7.img", "fastboot.exe flash recovery \"C:\\My Images\\twrp 3.7.img\""},
        {"empty path adds nothing after the space", "", "fastboot.exe flash recovery "},
        {"zero byte first counts as empty", "\0C:\\a.img"sv, "fastboot.exe flash recovery "},
        {"GBK path with 81 5C inside", "D:\\刷机\\乗.img",
         "fastboot.exe flash recovery \"D:\\\xCB\xA2\xBB\xFA\\\x81\x5C.img\""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_TRUE(SameBytes(cmd::FlashCommandLine(c.path), c.expected));
    }
}

TEST(FlashConsoleCommandLine, ReferencesThePathOnlyThroughTheVariable) {
    const std::string_view cmdExe = "C:\\Windows\\system32\\cmd.exe";
    ASSERT_TRUE(SameBytes(cmd::kImagePathVariable, "ZANDREL_RECOVERY_IMAGE"));
    struct Case {
        bool havePath;
        std::string_view expected;
    };
    const Case cases[] = {
        {true, "\"C:\\Windows\\system32\\cmd.exe\" /d /v:on /c fastboot.exe flash recovery "
               "\"!ZANDREL_RECOVERY_IMAGE!\" & pause"},
        {false, "\"C:\\Windows\\system32\\cmd.exe\" /d /v:on /c fastboot.exe flash recovery  & pause"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.havePath ? "with a path" : "without a path");
        const Text line = cmd::FlashConsoleCommandLine(cmdExe, c.havePath);
        EXPECT_TRUE(SameBytes(line, c.expected));
        EXPECT_TRUE(line.ends_with(" & pause")) << "got \"" << line << "\", expected it to end in \" & pause\"";
        const std::string reference = "!" + std::string(cmd::kImagePathVariable) + "!";
        EXPECT_EQ(line.find(reference) != std::string::npos, c.havePath)
            << "got \"" << line << "\", expected the reference " << reference
            << (c.havePath ? " on it" : " not on it");
        EXPECT_EQ(line.find(".img"), std::string::npos) << "got \"" << line << "\", expected no image path on it";
    }
}

TEST(FlashConsoleCommandLine, KeepsAGbkCommandProcessorPathAsItIs) {
    const Text line = cmd::FlashConsoleCommandLine("D:\\乗\\cmd.exe", false);
    EXPECT_TRUE(SameBytes(line, "\"D:\\\x81\x5C\\cmd.exe\" /d /v:on /c fastboot.exe flash recovery  & pause"));
}

}  // namespace
}  // namespace zandrel
