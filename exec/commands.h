// Every command line that reaches adb and fastboot, byte for byte, and the few that are built from
// user input. The tools are named by their bare file names: the platform's search finds them beside
// zandrel.exe, in the current directory (the run directory) or on PATH.
#pragma once

#include <string_view>

#include "exec/text.h"

namespace zandrel::commands {

// Power buttons, started hidden.
inline constexpr std::string_view kRebootRecovery = "adb reboot recovery";
inline constexpr std::string_view kRebootBootloader = "adb reboot bootloader";
// A plain reboot of whichever phone is attached (a fixed serial would match no real phone).
inline constexpr std::string_view kReboot = "adb reboot";
inline constexpr std::string_view kPowerOff = "adb shell reboot -p";

// Recovery flashing: the reboot request (with its trailing space) and the head of the flash command.
inline constexpr std::string_view kRebootBootloaderForFlash = "adb reboot bootloader ";
inline constexpr std::string_view kFlashRecoveryHead = "fastboot.exe flash recovery ";

// Bootloader unlock: the head, to which one space and the code are joined.
inline constexpr std::string_view kOemUnlock = "fastboot oem unlock";

// Device queries: batch file suffix, its whole content, output file suffix.
struct DeviceQuery {
    std::string_view batchSuffix;
    std::string_view commandLine;
    std::string_view outputSuffix;
};
inline constexpr DeviceQuery kQueryModel{"\\a.bat", "adb shell getprop ro.product.model > a.txt", "\\a.txt"};
inline constexpr DeviceQuery kQueryResolution{"\\b.bat", "adb shell wm size > b.txt", "\\b.txt"};
inline constexpr DeviceQuery kQueryDensity{"\\c.bat", "adb shell wm density > c.txt", "\\c.txt"};
inline constexpr DeviceQuery kQueryRelease{"\\d.bat", "adb shell getprop ro.build.version.release > d.txt", "\\d.txt"};

// "fastboot oem unlock", one space, and the code exactly as given.
Text UnlockCommandLine(std::string_view code);

// "fastboot.exe flash recovery " followed by the image path in double quotes, so that a path with
// blanks stays one argument. An empty path adds nothing after the space.
Text FlashCommandLine(std::string_view imagePath);

// Name of the environment variable through which the console wrapper hands the image path over.
inline constexpr std::string_view kImagePathVariable = "ZANDREL_RECOVERY_IMAGE";

// The flash command as run in a console that stays open until a key is pressed, so that fastboot's
// OKAY or FAILED can still be read after it has ended:
//   "<cmdExe>" /d /v:on /c fastboot.exe flash recovery "!ZANDREL_RECOVERY_IMAGE!" & pause
// The path itself never appears on the command processor's command line: it comes from the variable
// through delayed expansion, which happens after the line has been parsed, so &, ^, %, ! and
// parentheses in it reach fastboot unchanged. An empty path gives no argument, as FlashCommandLine.
Text FlashConsoleCommandLine(std::string_view cmdExe, bool havePath);

}  // namespace zandrel::commands
