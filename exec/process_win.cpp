#include <windows.h>

#include <shellapi.h>

#include "exec/process.h"
#include "exec/text.h"
#include "frame/message_loop.h"

namespace zandrel {

bool RunCommandLine(std::string_view commandLine, bool waitForExit, std::optional<std::int32_t> showMode) {
    STARTUPINFOA si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = static_cast<WORD>(RunCommandShowCommand(showMode));
    // CreateProcessA may write into the command line, so it gets a copy of its own.
    Text line(TextView(commandLine));
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return false;
    if (waitForExit)
        WaitForSingleObject(pi.hProcess, INFINITE);
    else
        WaitForInputIdle(pi.hProcess, 1000);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return true;
}

void ShellOpen(std::optional<std::int32_t> verb, std::string_view file,
               std::optional<std::string_view> parameters, std::optional<std::string_view> workingDirectory,
               std::optional<std::int32_t> showMode) {
    const Text fileText(TextView(file));
    const Text params = parameters ? Text(TextView(*parameters)) : Text();
    const Text dir = workingDirectory ? Text(TextView(*workingDirectory)) : Text();
    ShellExecuteA(nullptr, ShellVerb(verb), fileText.c_str(), parameters ? params.c_str() : nullptr,
                  dir.c_str(), ShellOpenShowCommand(showMode));
}

void SleepBlocking(std::int32_t milliseconds) { Sleep(milliseconds < 0 ? 0 : static_cast<DWORD>(milliseconds)); }

namespace {

// Handles the waiting messages; stops at an empty queue or at a WM_QUIT, which stays queued.
void ProcessWaitingEvents() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE) && msg.message != WM_QUIT) {
        if (GetMessageA(&msg, nullptr, 0, 0) <= 0) break;
        HandleMessage(msg);
    }
}

}  // namespace

void DelayWithEvents(std::int32_t milliseconds) {
    if (milliseconds <= 0) return;
    const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(milliseconds);
    for (;;) {
        ProcessWaitingEvents();
        const ULONGLONG now = GetTickCount64();
        if (now > deadline) return;
        // Sleep until a message arrives that the last look at the queue has not seen, or until the
        // deadline. Messages already seen (a WM_QUIT left at the head) do not wake it, so a pending
        // quit does not turn the wait into a busy loop.
        const ULONGLONG left = deadline - now + 1;
        MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(left), QS_ALLINPUT, 0);
    }
}

}  // namespace zandrel
