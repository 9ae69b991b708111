// The end-to-end test driver's toolkit: a sandbox folder holding a copy of zandrel.exe with the fake
// device tools, the running program, its windows and message boxes, keys, the fake tools' log and
// screenshots. Every wait has a deadline.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "common/byte_assertions.h"
#include "frame/window_definition.h"

namespace e2e {

// Folder of the driver exe; the fakes lie in its "fakes" subfolder, zandrel.exe two levels up.
std::string DriverDirectory();

// "D0 C5 ..." for failure messages about GBK bytes.
using zandrel::testkit::Hex;

// Polls `done` every 15 ms until it holds or `timeoutMs` has passed; returns whether it held.
bool WaitFor(const std::function<bool()>& done, DWORD timeoutMs = 5000);

// A fresh folder under the driver's "sandboxes" folder, named after the test plus `suffix`, with
// zandrel.exe, adb.exe, fastboot.exe and Brovanek\a.txt copied in (each optional).
struct SandboxOptions {
    std::string suffix;
    bool withTools = true;
    bool withNotes = true;
    SandboxOptions& Suffix(std::string s) { suffix = std::move(s); return *this; }
    SandboxOptions& WithoutTools() { withTools = false; return *this; }
    SandboxOptions& WithoutNotes() { withNotes = false; return *this; }
};
class Sandbox {
public:
    explicit Sandbox(const SandboxOptions& options = {});
    const std::string& dir() const { return dir_; }
    std::string Path(std::string_view name) const { return dir_ + "\\" + std::string(name); }
    void RemoveTools() const;
private:
    std::string dir_;
};

// One record of the fake tools' log.
struct ToolRun {
    std::string tool;         // "adb.exe" or "fastboot.exe"
    unsigned long flags = 0;  // STARTUPINFO.dwFlags
    unsigned show = 0;        // STARTUPINFO.wShowWindow
    std::string cwd, commandLine;
    std::vector<std::string> args;  // without the program name
};
std::vector<ToolRun> ReadToolLog(const Sandbox& box);
// Waits until the log holds at least `count` records.
std::vector<ToolRun> WaitForToolRuns(const Sandbox& box, std::size_t count, DWORD timeoutMs = 5000);

// A running zandrel.exe, started from its sandbox with the sandbox as its current directory (unless
// `cwd` is given). Killed on destruction if still running.
class App {
public:
    explicit App(const Sandbox& box, const std::string& cwd = {});
    // The program at another path (a copy elsewhere), started in `cwd`.
    App(const std::string& exe, const std::string& cwd);
    ~App();
    App(const App&) = delete;
    App& operator=(const App&) = delete;

    DWORD pid() const { return pi_.dwProcessId; }
    HWND main() const { return main_; }
    bool running() const;
    // Exit code once the process has ended within the timeout; STILL_ACTIVE otherwise.
    DWORD WaitForExit(DWORD timeoutMs = 5000);

    // Top-level visible window of this process with that class (nullptr: any) and caption.
    HWND FindWindowOf(const char* cls, const char* caption) const;
    // The visible top-level window of the given definition (by class and caption), waited for.
    HWND WaitForWindow(zandrel::WindowId id, DWORD timeoutMs = 5000) const;
    // A message box (#32770 with a static 0xFFFF) of this process, waited for; nullptr on timeout.
    HWND WaitForMessageBox(DWORD timeoutMs = 8000) const;
    // Any visible #32770 of the process, message box or not.
    HWND FindDialog() const;
    // The focused window of the program's UI thread.
    HWND Focus() const;
    // Whether the focus is on `expected`, or gets there within the timeout (keys arrive through the
    // input queue and are handled a little later).
    bool FocusBecomes(HWND expected, DWORD timeoutMs = 2000) const;
    DWORD uiThread() const { return GetWindowThreadProcessId(main_, nullptr); }
    // Whether the UI thread answers a message within the timeout.
    bool Responsive(DWORD timeoutMs = 500) const;

private:
    PROCESS_INFORMATION pi_{};
    HWND main_ = nullptr;
};

// The child window of a loaded window for the control with that name (its id is its stored index + 1).
HWND Control(HWND window, zandrel::WindowId id, std::string_view name);

std::string WindowText(HWND hwnd);
std::string ClassName(HWND hwnd);
RECT WindowRect(HWND hwnd);
// Control rectangle in the client coordinates of its parent.
RECT ChildRect(HWND child);

// Text of a message box's message (the static 0xFFFF).
std::string MessageBoxText(HWND box);
// Whether a message box has its icon static showing an icon.
bool MessageBoxHasIcon(HWND box);
bool MessageBoxHasButton(HWND box, int id);
// Presses a message-box button (IDOK, IDCANCEL) and waits until the box is gone.
void CloseMessageBox(HWND box, int id = IDOK);

// Clicks a button without waiting for its action (BM_CLICK posted).
void Click(HWND button);
// Clicks the middle of a window with the real mouse, as a user would (a disabled window ignores it).
void MouseClick(HWND window);

// Brings the program's window to the front and types keys through the real input queue.
struct Key { WORD vk; bool shift = false; bool alt = false; bool ctrl = false; };
void Press(HWND foreground, std::initializer_list<Key> keys);
void TypeText(HWND foreground, std::string_view ascii);

// Puts text on the clipboard (CF_TEXT, ANSI).
void SetClipboardText(std::string_view text);

// Starts a Unix program by its Windows path (Z:\\usr\\bin\\...) without waiting: Wine cannot wait for
// one. False when it could not be started.
bool StartUnixProgram(std::string commandLine);

// A Wine drive letter mapped onto a folder for the life of the object (a link in the prefix's
// dosdevices), so that a program can be run from the root of a drive.
class MappedDrive {
public:
    MappedDrive(char letter, const std::string& folder);
    ~MappedDrive();
    MappedDrive(const MappedDrive&) = delete;
    MappedDrive& operator=(const MappedDrive&) = delete;
    const std::string& root() const { return root_; }  // "R:\\"
private:
    std::string root_, link_;
};

// The window's pixels as the screen shows them, 0x00RRGGBB rows top-down; with a name, also saved as
// build/screenshots/<name>.bmp (the test command turns them into PNG files).
struct Shot { int width = 0, height = 0; std::vector<unsigned> pixels; unsigned at(int x, int y) const { return pixels[y * width + x]; } };
Shot CaptureWindow(HWND hwnd, const char* name = nullptr);

}  // namespace e2e

// ---- Child processes (added for the unlock and recovery flashing tests) ----
namespace e2e {

// Ids of the running processes with that exe name (case-insensitive) whose parent is `parentPid`.
std::vector<DWORD> ChildProcesses(DWORD parentPid, const char* exe);
// Ends those processes and waits (up to 5 s each) until they are gone; returns how many there were.
// The flash leaves a command processor behind that waits for a key.
std::size_t EndChildProcesses(DWORD parentPid, const char* exe);

// The current text of a control of the program, asked from the control itself (WM_GETTEXT). Under
// Wine, GetWindowTextA on another process's edit box returns the text it was created with, not what
// was typed or set since.
std::string ControlText(HWND control);
// Replaces a control's text by sending it WM_SETTEXT; neither the typing nor the paste filter of a
// box sees it.
void SetControlText(HWND control, std::string_view text);

}  // namespace e2e
