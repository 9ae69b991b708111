#include "frame/app.h"

#include <windows.h>

#include <new>

#include "exec/files.h"
#include "exec/text.h"
#include "frame/message_loop.h"
#include "frame/window_layer.h"

namespace zandrel {

void FatalStop(std::string_view message) {
    const Text text(TextView(message));
    MessageBoxA(nullptr, text.c_str(), "Zandrel", MB_OK | MB_ICONERROR);
    DestroyHiddenOwnerWindow();
    ExitProcess(static_cast<UINT>(-1));
}

namespace {
void OutOfMemory() { FatalStop("内存不足，Zandrel 无法继续运行。"); }
}  // namespace

void InstallOutOfMemoryStop() { std::set_new_handler(OutOfMemory); }

int RunApplication() {
    InstallOutOfMemoryStop();
    InitRunDirectory();
    CreateHiddenOwnerWindow();
    if (!CreateLoadedWindow(WindowId::Main, nullptr)) FatalStop("无法创建主窗口，Zandrel 无法启动。");
    MarkMainLoopStarted();
    const WPARAM code = RunMessageLoop();
    DestroyHiddenOwnerWindow();
    return static_cast<int>(code);
}

}  // namespace zandrel
