// Recovery flashing: confirmation, choice of the image, reboot into the bootloader, and fastboot in
// a console window that stays open until a key is pressed, so that its outcome can be read.
#include <windows.h>

#include "actions/actions.h"
#include "exec/commands.h"
#include "exec/files.h"
#include "exec/process.h"
#include "frame/edit_text.h"
#include "frame/message_box.h"
#include "frame/window_layer.h"

namespace zandrel {
namespace {

constexpr char kPathBox[] = "编辑框1";
constexpr char kDialog[] = "通用对话框1";

// The command processor by its full path, so that no cmd.exe lying in the run directory is taken.
Text CommandProcessor() {
    char dir[MAX_PATH] = {};
    const UINT n = GetSystemDirectoryA(dir, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return Text("cmd.exe");
    return JoinText({dir, "\\cmd.exe"});
}

}  // namespace

void ConfirmAndOpenRecoveryWindow() {
    const auto answer = ShowMessageBox(
        "需要先解锁Bootloader才能刷Recovery,如果没解锁刷Recovery会变砖,确认要刷Recovery吗?", kStyleOkCancel, "注意!");
    if (answer == kOk) LoadWindow(WindowId::Recovery, true);
}

void ChooseRecoveryImage() {
    OpenFileDialogState* dialog = DialogState(WindowId::Recovery, kDialog);
    if (!dialog) return;
    dialog->initialDirectory = GetRunDirectory();
    // The dialog works on a copy, written back only if RecoveryWindow is still open afterwards.
    OpenFileDialogState shown = *dialog;
    ShowOpenFileDialog(shown, LoadedWindowHandle(WindowId::Recovery));
    dialog = DialogState(WindowId::Recovery, kDialog);
    if (!dialog) return;
    dialog->fileName = shown.fileName;
    // Also after a cancel: the box shows the path chosen last, or is emptied when none was chosen.
    SetEditBoxText(ControlHandle(WindowId::Recovery, kPathBox), dialog->fileName);
}

void FlashRecoveryImage() {
    ShowMessageBox("手机即将进入fastboot模式刷入recovery!", kStyleOk);
    RunCommandLine(commands::kRebootBootloaderForFlash, false, Hidden);
    DelayWithEvents(5000);
    // Read only now: a path changed during the wait is the one flashed.
    const Text path = GetEditBoxText(ControlHandle(WindowId::Recovery, kPathBox));
    const Text variable(commands::kImagePathVariable);
    SetEnvironmentVariableA(variable.c_str(), path.empty() ? nullptr : path.c_str());
    RunCommandLine(commands::FlashConsoleCommandLine(CommandProcessor(), !path.empty()), false);
    SetEnvironmentVariableA(variable.c_str(), nullptr);
    ShowMessageBox("如果cmd窗口关闭即代表刷入完毕!", kStyleOk);
}

}  // namespace zandrel
