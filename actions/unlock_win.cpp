// Bootloader unlock: the typed code goes to fastboot while adb reboots the phone into the
// bootloader; the phone's screen tells the outcome, as the notice explains.
#include "actions/actions.h"
#include "exec/commands.h"
#include "exec/files.h"
#include "exec/process.h"
#include "frame/edit_text.h"
#include "frame/message_box.h"
#include "frame/window_layer.h"

namespace zandrel {

void OpenUnlockCodeWindow() { LoadWindow(WindowId::UnlockCode, true); }

void SendUnlockCode() {
    const Text code = GetEditBoxText(ControlHandle(WindowId::UnlockCode, "编辑框1"));
    RunCommandLine(commands::UnlockCommandLine(code), false, Hidden);
    RunCommandLine(commands::kRebootBootloader, false, Hidden);
    ShowMessageBox("手机即将重启到Fastboot，如果Fastboot界面显示Phone Lock表示解锁失败，显示Phone Unlocked则表示解锁成功。",
                   kStyleExclamation);
    const Text notes = BytesToText(ReadFileBytes(JoinText({GetRunDirectory(), "\\Brovanek\\a.txt"})));
    ShowMessageBox(notes, kStyleOk);
}

}  // namespace zandrel
