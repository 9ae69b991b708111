#include "e2e_support.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

namespace e2e {
namespace {

std::string ParentOf(const std::string& path) { return path.substr(0, path.find_last_of('\\')); }

void RemoveTree(const std::string& dir) {
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((dir + "\\*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = fd.cFileName;
            if (name == "." || name == "..") continue;
            const std::string path = dir + "\\" + name;
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path);
            else
                DeleteFileA(path.c_str());
        } while (FindNextFileA(h, &fd));
        FindClose(h);
    }
    RemoveDirectoryA(dir.c_str());
}

void CopyInto(const std::string& from, const std::string& to) {
    if (!CopyFileA(from.c_str(), to.c_str(), FALSE))
        ADD_FAILURE() << "could not copy " << from << " to " << to << ", error " << GetLastError();
}

struct EnumQuery {
    DWORD pid;
    const char* cls;
    const char* caption;
    HWND found = nullptr;
};

BOOL CALLBACK EnumTopLevel(HWND hwnd, LPARAM lp) {
    auto* q = reinterpret_cast<EnumQuery*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid != q->pid || !IsWindowVisible(hwnd)) return TRUE;
    if (q->cls && ClassName(hwnd) != q->cls) return TRUE;
    if (q->caption && WindowText(hwnd) != q->caption) return TRUE;
    q->found = hwnd;
    return FALSE;
}

}  // namespace

std::string DriverDirectory() {
    char path[MAX_PATH * 4] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    return ParentOf(path);
}

bool WaitFor(const std::function<bool()>& done, DWORD timeoutMs) {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    for (;;) {
        if (done()) return true;
        if (GetTickCount64() > end) return false;
        Sleep(15);
    }
}

Sandbox::Sandbox(const SandboxOptions& options) {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = info ? std::string(info->test_suite_name()) + "." + info->name() : "sandbox";
    for (char& c : name) if (c == '/') c = '_';
    const std::string root = DriverDirectory() + "\\sandboxes";
    CreateDirectoryA(root.c_str(), nullptr);
    dir_ = root + "\\" + name + options.suffix;
    RemoveTree(dir_);
    if (!CreateDirectoryA(dir_.c_str(), nullptr)) ADD_FAILURE() << "could not create " << dir_;
    const std::string driver = DriverDirectory();
    CopyInto(ParentOf(ParentOf(driver)) + "\\zandrel.exe", Path("zandrel.exe"));
    if (options.withTools) {
        CopyInto(driver + "\\fakes\\adb.exe", Path("adb.exe"));
        CopyInto(driver + "\\fakes\\fastboot.exe", Path("fastboot.exe"));
    }
    if (options.withNotes) {
        CreateDirectoryA(Path("Brovanek").c_str(), nullptr);
        CopyInto(ParentOf(ParentOf(driver)) + "\\Brovanek\\a.txt", Path("Brovanek\\a.txt"));
    }
}

void Sandbox::RemoveTools() const {
    DeleteFileA(Path("adb.exe").c_str());
    DeleteFileA(Path("fastboot.exe").c_str());
}

std::vector<ToolRun> ReadToolLog(const Sandbox& box) {
    std::ifstream in(box.Path("tool.log"), std::ios::binary);
    std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<ToolRun> runs;
    std::size_t start = 0;
    for (std::size_t end; (end = all.find('\x1e', start)) != std::string::npos; start = end + 1) {
        std::vector<std::string> fields;
        std::stringstream ss(all.substr(start, end - start));
        for (std::string f; std::getline(ss, f, '\x1f');) fields.push_back(f);
        if (fields.size() < 5) continue;
        ToolRun r;
        r.tool = fields[0];
        r.flags = std::stoul(fields[1]);
        r.show = static_cast<unsigned>(std::stoul(fields[2]));
        r.cwd = fields[3];
        r.commandLine = fields[4];
        r.args.assign(fields.begin() + 5, fields.end());
        runs.push_back(r);
    }
    return runs;
}

std::vector<ToolRun> WaitForToolRuns(const Sandbox& box, std::size_t count, DWORD timeoutMs) {
    std::vector<ToolRun> runs;
    WaitFor([&] { runs = ReadToolLog(box); return runs.size() >= count; }, timeoutMs);
    return runs;
}

App::App(const Sandbox& box, const std::string& cwd) : App(box.Path("zandrel.exe"), cwd.empty() ? box.dir() : cwd) {}

App::App(const std::string& exe, const std::string& cwd) {
    STARTUPINFOA si{};
    si.cb = sizeof si;
    std::string cmd(1, '"');
    cmd += exe;
    cmd += '"';
    if (!CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, cwd.c_str(), &si, &pi_)) {
        ADD_FAILURE() << "could not start " << cmd << ", error " << GetLastError();
        return;
    }
    WaitFor([&] { return (main_ = FindWindowOf("ZandrelWindow", "Zandrel By Quivon")) != nullptr; }, 15000);
    if (!main_) ADD_FAILURE() << "MainWindow did not appear";
}

App::~App() {
    if (!pi_.hProcess) return;
    if (running()) {
        TerminateProcess(pi_.hProcess, 99);
        WaitForSingleObject(pi_.hProcess, 5000);
    }
    CloseHandle(pi_.hThread);
    CloseHandle(pi_.hProcess);
}

bool App::running() const { return pi_.hProcess && WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT; }

DWORD App::WaitForExit(DWORD timeoutMs) {
    if (WaitForSingleObject(pi_.hProcess, timeoutMs) != WAIT_OBJECT_0) return STILL_ACTIVE;
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(pi_.hProcess, &code);
    return code;
}

HWND App::FindWindowOf(const char* cls, const char* caption) const {
    EnumQuery q{pi_.dwProcessId, cls, caption};
    EnumWindows(EnumTopLevel, reinterpret_cast<LPARAM>(&q));
    return q.found;
}

HWND App::WaitForWindow(zandrel::WindowId id, DWORD timeoutMs) const {
    const std::string caption(zandrel::Definition(id).caption);
    HWND found = nullptr;
    WaitFor([&] { return (found = FindWindowOf("ZandrelWindow", caption.c_str())) != nullptr; }, timeoutMs);
    return found;
}

HWND App::FindDialog() const { return FindWindowOf("#32770", nullptr); }

HWND App::WaitForMessageBox(DWORD timeoutMs) const {
    HWND found = nullptr;
    WaitFor([&] {
        HWND d = FindDialog();
        if (d && GetDlgItem(d, 0xFFFF)) found = d;
        return found != nullptr;
    }, timeoutMs);
    return found;
}

HWND App::Focus() const {
    GUITHREADINFO gti{};
    gti.cbSize = sizeof gti;
    if (!GetGUIThreadInfo(uiThread(), &gti)) return nullptr;
    return gti.hwndFocus;
}

bool App::FocusBecomes(HWND expected, DWORD timeoutMs) const {
    return WaitFor([&] { return Focus() == expected; }, timeoutMs);
}

bool App::Responsive(DWORD timeoutMs) const {
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(main_, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, timeoutMs, &result) != 0;
}

HWND Control(HWND window, zandrel::WindowId id, std::string_view name) {
    int index = -1;
    if (!zandrel::FindControl(id, name, &index)) return nullptr;
    return GetDlgItem(window, index + 1);
}

std::string WindowText(HWND hwnd) {
    char buf[1024] = {};
    GetWindowTextA(hwnd, buf, sizeof buf);
    return buf;
}

std::string ClassName(HWND hwnd) {
    char buf[256] = {};
    GetClassNameA(hwnd, buf, sizeof buf);
    return buf;
}

RECT WindowRect(HWND hwnd) {
    RECT rc{};
    GetWindowRect(hwnd, &rc);
    return rc;
}

RECT ChildRect(HWND child) {
    RECT rc = WindowRect(child);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

std::string MessageBoxText(HWND box) {
    char buf[8192] = {};
    GetDlgItemTextA(box, 0xFFFF, buf, sizeof buf);
    return buf;
}

bool MessageBoxHasIcon(HWND box) {
    HWND icon = GetDlgItem(box, 0x440);
    return icon && IsWindowVisible(icon) && SendMessageA(icon, STM_GETICON, 0, 0) != 0;
}

bool MessageBoxHasButton(HWND box, int id) {
    HWND b = GetDlgItem(box, id);
    return b && IsWindowVisible(b);
}

void CloseMessageBox(HWND box, int id) {
    PostMessageA(box, WM_COMMAND, id, 0);
    if (!WaitFor([&] { return !IsWindow(box); }, 5000)) ADD_FAILURE() << "the message box did not close";
}

void Click(HWND button) { PostMessageA(button, BM_CLICK, 0, 0); }

void MouseClick(HWND window) {
    const RECT rc = WindowRect(window);
    SetCursorPos((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    INPUT in[2]{};
    in[0].type = in[1].type = INPUT_MOUSE;
    in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, in, sizeof in[0]);
    Sleep(100);
}

namespace {

void SendKey(WORD vk, bool up) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &in, sizeof in);
}

void Foreground(HWND hwnd) {
    SetForegroundWindow(hwnd);
    WaitFor([&] { return GetForegroundWindow() == hwnd; }, 2000);
}

}  // namespace

void Press(HWND foreground, std::initializer_list<Key> keys) {
    Foreground(foreground);
    for (const Key& k : keys) {
        if (k.ctrl) SendKey(VK_CONTROL, false);
        if (k.alt) SendKey(VK_MENU, false);
        if (k.shift) SendKey(VK_SHIFT, false);
        SendKey(k.vk, false);
        SendKey(k.vk, true);
        if (k.shift) SendKey(VK_SHIFT, true);
        if (k.alt) SendKey(VK_MENU, true);
        if (k.ctrl) SendKey(VK_CONTROL, true);
        Sleep(30);
    }
    Sleep(100);
}

void TypeText(HWND foreground, std::string_view ascii) {
    Foreground(foreground);
    for (char c : ascii) {
        const SHORT scan = VkKeyScanA(c);
        const WORD vk = LOBYTE(scan);
        const bool shift = HIBYTE(scan) & 1;
        if (shift) SendKey(VK_SHIFT, false);
        SendKey(vk, false);
        SendKey(vk, true);
        if (shift) SendKey(VK_SHIFT, true);
        Sleep(20);
    }
    Sleep(100);
}

void SetClipboardText(std::string_view text) {
    if (!OpenClipboard(nullptr)) { ADD_FAILURE() << "could not open the clipboard"; return; }
    EmptyClipboard();
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    char* p = static_cast<char*>(GlobalLock(mem));
    std::memcpy(p, text.data(), text.size());
    p[text.size()] = '\0';
    GlobalUnlock(mem);
    SetClipboardData(CF_TEXT, mem);
    CloseClipboard();
}

namespace {

// Wine's own export that names the Unix file behind a Windows path; nullptr outside Wine.
std::string UnixPath(const std::string& windowsPath) {
    using Fn = char*(CDECL*)(LPCWSTR);
    auto fn = reinterpret_cast<Fn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    if (!fn) return {};
    wchar_t wide[MAX_PATH * 2] = {};
    MultiByteToWideChar(CP_ACP, 0, windowsPath.c_str(), -1, wide, MAX_PATH * 2);
    char* unix = fn(wide);
    if (!unix) return {};
    std::string result(unix);
    HeapFree(GetProcessHeap(), 0, unix);
    return result;
}

std::uint32_t Le32(const std::string& b, std::size_t at) {
    return static_cast<std::uint8_t>(b[at]) | static_cast<std::uint8_t>(b[at + 1]) << 8 |
           static_cast<std::uint8_t>(b[at + 2]) << 16 | static_cast<std::uint32_t>(static_cast<std::uint8_t>(b[at + 3])) << 24;
}

// Reads an uncompressed 24- or 32-bit BMP into 0x00RRGGBB pixels, top-down.
bool ReadBmp(const std::string& b, Shot& shot) {
    if (b.size() < 54 || b[0] != 'B' || b[1] != 'M') return false;
    const std::uint32_t offset = Le32(b, 10);
    const int width = static_cast<int>(Le32(b, 18));
    const int rawHeight = static_cast<int>(Le32(b, 22));
    const int bits = static_cast<std::uint8_t>(b[28]) | static_cast<std::uint8_t>(b[29]) << 8;
    if ((bits != 24 && bits != 32) || width <= 0 || rawHeight == 0) return false;
    const int height = rawHeight < 0 ? -rawHeight : rawHeight;
    const std::size_t stride = ((static_cast<std::size_t>(width) * bits / 8) + 3) & ~std::size_t{3};
    if (b.size() < offset + stride * height) return false;
    shot.width = width;
    shot.height = height;
    shot.pixels.assign(static_cast<std::size_t>(width) * height, 0);
    for (int y = 0; y < height; ++y) {
        const std::size_t row = offset + stride * (rawHeight < 0 ? y : height - 1 - y);
        for (int x = 0; x < width; ++x) {
            const std::size_t p = row + static_cast<std::size_t>(x) * bits / 8;
            shot.pixels[static_cast<std::size_t>(y) * width + x] =
                static_cast<std::uint8_t>(b[p]) | static_cast<std::uint8_t>(b[p + 1]) << 8 | static_cast<std::uint8_t>(b[p + 2]) << 16;
        }
    }
    return true;
}

}  // namespace

bool StartUnixProgram(std::string commandLine) {
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return false;
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return true;
}

MappedDrive::MappedDrive(char letter, const std::string& folder) : root_(std::string(1, letter) + ":\\") {
    char prefix[MAX_PATH] = {};
    GetEnvironmentVariableA("WINEPREFIX", prefix, sizeof prefix);
    const std::string target = UnixPath(folder);
    if (!prefix[0] || target.empty()) {
        ADD_FAILURE() << "no Wine prefix or Unix path to map " << root_ << " with";
        return;
    }
    link_ = std::string(prefix) + "/dosdevices/" + static_cast<char>(std::tolower(letter)) + ":";
    if (GetFileAttributesA(root_.c_str()) != INVALID_FILE_ATTRIBUTES) {
        ADD_FAILURE() << root_ << " is already in use";
        link_.clear();
        return;
    }
    StartUnixProgram("Z:\\bin\\ln -sfn " + target + " " + link_);
    if (!WaitFor([&] { return GetFileAttributesA(root_.c_str()) != INVALID_FILE_ATTRIBUTES; }, 5000))
        ADD_FAILURE() << "drive " << root_ << " did not appear";
}

MappedDrive::~MappedDrive() {
    if (link_.empty()) return;
    StartUnixProgram("Z:\\bin\\rm -f " + link_);
    WaitFor([&] { return GetFileAttributesA(root_.c_str()) == INVALID_FILE_ATTRIBUTES; }, 5000);
}

// The screen as X shows it, through ImageMagick's import started as a Unix program: Wine's screen DC
// does not hold what other processes' windows show.
Shot CaptureWindow(HWND hwnd, const char* name) {
    Shot shot;
    const RECT rc = WindowRect(hwnd);
    const std::string dir = ParentOf(ParentOf(ParentOf(DriverDirectory()))) + "\\screenshots";
    CreateDirectoryA(dir.c_str(), nullptr);
    const std::string file = dir + "\\" + (name ? name : "capture") + ".bmp";
    DeleteFileA(file.c_str());
    const std::string unixFile = UnixPath(file);
    if (unixFile.empty()) {
        ADD_FAILURE() << "cannot name the Unix file for " << file;
        return shot;
    }
    char geometry[64];
    std::snprintf(geometry, sizeof geometry, "%ldx%ld+%ld+%ld", rc.right - rc.left, rc.bottom - rc.top, rc.left, rc.top);
    Sleep(300);  // let the window finish painting
    if (!StartUnixProgram(std::string("Z:\\usr\\bin\\import -silent -window root -crop ") + geometry +
                          " +repage -type TrueColor BMP3:" + unixFile)) {
        ADD_FAILURE() << "could not start ImageMagick's import, error " << GetLastError();
        return shot;
    }
    // A Unix child cannot be waited for: wait until its picture reads back whole.
    std::string bytes;
    WaitFor([&] {
        std::ifstream in(file, std::ios::binary);
        bytes.assign((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        return ReadBmp(bytes, shot);
    }, 15000);
    if (shot.pixels.empty()) ADD_FAILURE() << "no screenshot arrived in " << file;
    if (!name) DeleteFileA(file.c_str());
    return shot;
}

}  // namespace e2e

// ---- Child processes (added for the unlock and recovery flashing tests) ----
#include <tlhelp32.h>

namespace e2e {

std::vector<DWORD> ChildProcesses(DWORD parentPid, const char* exe) {
    std::vector<DWORD> found;
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snap == INVALID_HANDLE_VALUE) return found;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL ok = Process32First(snap, &entry); ok; ok = Process32Next(snap, &entry))
        if (entry.th32ParentProcessID == parentPid && lstrcmpiA(entry.szExeFile, exe) == 0)
            found.push_back(entry.th32ProcessID);
    CloseHandle(snap);
    return found;
}

std::size_t EndChildProcesses(DWORD parentPid, const char* exe) {
    const std::vector<DWORD> children = ChildProcesses(parentPid, exe);
    for (DWORD pid : children) {
        HANDLE h = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid);
        if (!h) continue;
        TerminateProcess(h, 99);
        WaitForSingleObject(h, 5000);
        CloseHandle(h);
    }
    return children.size();
}

std::string ControlText(HWND control) {
    char buf[4096] = {};
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutA(control, WM_GETTEXT, sizeof buf, reinterpret_cast<LPARAM>(buf), SMTO_ABORTIFHUNG, 5000,
                             &copied))
        ADD_FAILURE() << "the control did not answer WM_GETTEXT";
    return buf;
}

void SetControlText(HWND control, std::string_view text) {
    const std::string copy(text);
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(copy.c_str()), SMTO_ABORTIFHUNG, 5000,
                             &result))
        ADD_FAILURE() << "the control did not answer WM_SETTEXT";
}

}  // namespace e2e
