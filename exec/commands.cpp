#include "exec/commands.h"

namespace zandrel::commands {

Text UnlockCommandLine(std::string_view code) { return JoinText({kOemUnlock, " ", code}); }

Text FlashCommandLine(std::string_view imagePath) {
    if (TextView(imagePath).empty()) return Text(kFlashRecoveryHead);
    return JoinText({kFlashRecoveryHead, "\"", imagePath, "\""});
}

Text FlashConsoleCommandLine(std::string_view cmdExe, bool havePath) {
    const Text reference = havePath ? JoinText({"\"!", kImagePathVariable, "!\""}) : Text();
    return JoinText({"\"", cmdExe, "\" /d /v:on /c ", kFlashRecoveryHead, reference, " & pause"});
}

}  // namespace zandrel::commands
