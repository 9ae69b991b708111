// The three secondary windows end to end, against the real zandrel.exe under Wine: modal loading
// over a disabled MainWindow, frames, focus and keys, the unlock-code box's filter (typed and pasted),
// the edit boxes' heights, the donation pictures on screen, and RecoveryWindow's open-file dialog,
// including that a choice in another folder leaves the program's current directory alone.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <vector>

#include "assets/resource_ids.h"
#include "e2e_support.h"
#include "exec/commands.h"
#include "frame/window_definition.h"

using namespace e2e;
using zandrel::WindowId;

namespace {

// --- opening and reading the windows ---------------------------------------------------------------

HWND MainButton(const App& app, const char* name) { return Control(app.main(), WindowId::Main, name); }

// Clicks the MainWindow button that opens the window (for RecoveryWindow, answering OK in the
// confirmation box first) and waits for it.
HWND Open(App& app, WindowId id) {
    switch (id) {
    case WindowId::UnlockCode: Click(MainButton(app, "按钮5")); break;
    case WindowId::Donation: Click(MainButton(app, "按钮10")); break;
    case WindowId::Recovery: {
        Click(MainButton(app, "按钮11"));
        HWND confirm = app.WaitForMessageBox();
        if (!confirm) {
            ADD_FAILURE() << "no confirmation box before RecoveryWindow";
            return nullptr;
        }
        EXPECT_EQ(WindowText(confirm), "注意!") << "got " << Hex(WindowText(confirm)) << ", expected " << Hex("注意!");
        CloseMessageBox(confirm, IDOK);
        break;
    }
    case WindowId::Main: return app.main();
    }
    HWND window = app.WaitForWindow(id);
    // The window shows before LoadWindow disables MainWindow: let that happen too.
    if (window) WaitFor([&] { return !IsWindowEnabled(app.main()); }, 2000);
    return window;
}

HWND ActiveWindow(const App& app) {
    GUITHREADINFO gti{};
    gti.cbSize = sizeof gti;
    if (!GetGUIThreadInfo(app.uiThread(), &gti)) return nullptr;
    return gti.hwndActive;
}

std::string NameOf(HWND window, WindowId id, HWND child) {
    if (child == window) return "(the window itself)";
    if (!child) return "(nothing)";
    for (const auto& c : zandrel::Definition(id).controls)
        if (Control(window, id, c.name) == child) return std::string(c.name);
    return "(not a control: " + ClassName(child) + ")";
}

// Closes a secondary window with Esc and waits until it is gone and MainWindow is enabled again.
void CloseWithEsc(const App& app, HWND window) {
    Press(window, {{VK_ESCAPE}});
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(window); })) << "Esc did not close the window";
    EXPECT_TRUE(WaitFor([&] { return IsWindowEnabled(app.main()) != FALSE; })) << "MainWindow stayed disabled";
}

void WriteAll(const std::string& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// COLORREF (0x00BBGGRR) as the screenshot holds it (0x00RRGGBB).
unsigned ScreenColour(COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }

std::string HexColour(unsigned rgb) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%06X", rgb);
    return buf;
}

// Pixels that differ from what was expected: how many, and the first few in words.
struct PixelDiff {
    int count = 0;
    std::string first;
    void Check(const char* where, int x, int y, unsigned got, unsigned expected) {
        if (got == expected || ++count > 6) return;
        char line[112];
        std::snprintf(line, sizeof line, "\n  %s (%d,%d): got %06X, expected %06X", where, x, y, got, expected);
        first += line;
    }
};

// --- the open-file dialog --------------------------------------------------------------------------

struct DialogQuery {
    DWORD pid;
    bool messageBox;  // a box has the static 0xFFFF, the open-file dialog has not
    HWND found = nullptr;
};

BOOL CALLBACK FindDialogOf(HWND hwnd, LPARAM lp) {
    auto* q = reinterpret_cast<DialogQuery*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid != q->pid || !IsWindowVisible(hwnd) || ClassName(hwnd) != "#32770") return TRUE;
    if ((GetDlgItem(hwnd, 0xFFFF) != nullptr) != q->messageBox) return TRUE;
    q->found = hwnd;
    return FALSE;
}

HWND WaitForDialogOf(const App& app, bool messageBox, DWORD timeoutMs) {
    DialogQuery q{app.pid(), messageBox};
    WaitFor([&] {
        q.found = nullptr;
        EnumWindows(FindDialogOf, reinterpret_cast<LPARAM>(&q));
        return q.found != nullptr;
    }, timeoutMs);
    return q.found;
}

// The open-file dialog of the process (a top-level #32770 that is not a message box).
HWND WaitForFileDialog(const App& app, DWORD timeoutMs = 10000) { return WaitForDialogOf(app, false, timeoutMs); }
// A message box of the process, also while the open-file dialog is up.
HWND WaitForBox(const App& app, DWORD timeoutMs = 5000) { return WaitForDialogOf(app, true, timeoutMs); }

// The dialog's file-name box: the Edit inside the ComboBox inside the ComboBoxEx32 0x47C.
HWND FileNameBox(HWND dialog) {
    HWND comboEx = GetDlgItem(dialog, 0x47C);
    HWND combo = comboEx ? FindWindowExA(comboEx, nullptr, "ComboBox", nullptr) : nullptr;
    return combo ? FindWindowExA(combo, nullptr, "Edit", nullptr) : nullptr;
}

void PressDialogButton(HWND dialog, int id) {
    PostMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

// Types a full path into the dialog's name box and presses its Open button.
void EnterFileName(HWND dialog, const std::string& path) {
    HWND name = FileNameBox(dialog);
    ASSERT_TRUE(name) << "no file-name box in the open-file dialog";
    SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
    PressDialogButton(dialog, IDOK);
}

// Clicks RecoveryWindow 按钮11 and waits for the open-file dialog.
HWND OpenFileDialog(const App& app, HWND recovery) {
    Click(Control(recovery, WindowId::Recovery, "按钮11"));
    return WaitForFileDialog(app);
}

// Chooses `path` in a freshly opened dialog and waits for the dialog to close.
void ChooseFile(const App& app, HWND recovery, const std::string& path) {
    HWND dialog = OpenFileDialog(app, recovery);
    ASSERT_TRUE(dialog) << "the open-file dialog did not appear";
    EnterFileName(dialog, path);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(dialog); })) << "the dialog did not accept " << path;
}

// Cancels a freshly opened dialog with `how` and waits for it to close.
void CancelDialog(const App& app, HWND recovery, void (*how)(HWND)) {
    HWND dialog = OpenFileDialog(app, recovery);
    ASSERT_TRUE(dialog) << "the open-file dialog did not appear";
    how(dialog);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(dialog); })) << "the dialog did not close";
}

void CancelButton(HWND dialog) { PressDialogButton(dialog, IDCANCEL); }
void EscKey(HWND dialog) { Press(dialog, {{VK_ESCAPE}}); }

HWND RecoveryPathBox(HWND recovery) { return Control(recovery, WindowId::Recovery, "编辑框1"); }

// --- the pictures as zandrel.exe carries them --------------------------------------------------------

// Pixels (0x00RRGGBB, top-down) of a PNG, decoded independently of the program with GDI+.
struct Picture {
    int width = 0, height = 0;
    std::vector<unsigned> pixels;
    unsigned at(int x, int y) const { return pixels[y * width + x]; }
};

// The picture stored as RCDATA `resource` in the sandbox's zandrel.exe, written out beside it and
// decoded with GDI+'s flat interface (loaded at run time, so the driver needs no import library).
Picture DecodeProgramPicture(const Sandbox& box, int resource) {
    Picture pic;
    HMODULE exe = LoadLibraryExA(box.Path("zandrel.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!exe) { ADD_FAILURE() << "could not open zandrel.exe as data"; return pic; }
    HRSRC found = FindResourceA(exe, MAKEINTRESOURCEA(resource), MAKEINTRESOURCEA(10));  // RT_RCDATA
    HGLOBAL loaded = found ? LoadResource(exe, found) : nullptr;
    const char* bytes = static_cast<const char*>(loaded ? LockResource(loaded) : nullptr);
    const std::string file = box.Path("picture_" + std::to_string(resource) + ".png");
    if (bytes) WriteAll(file, std::string_view(bytes, SizeofResource(exe, found)));
    FreeLibrary(exe);
    if (!bytes) { ADD_FAILURE() << "zandrel.exe holds no picture " << resource; return pic; }

    using Startup = int(WINAPI*)(ULONG_PTR*, const void*, void*);
    using Shutdown = void(WINAPI*)(ULONG_PTR);
    using FromFile = int(WINAPI*)(const WCHAR*, void**);
    using Size = int(WINAPI*)(void*, UINT*);
    using GetPixel = int(WINAPI*)(void*, INT, INT, DWORD*);
    using Dispose = int(WINAPI*)(void*);
    HMODULE gdiplus = LoadLibraryA("gdiplus.dll");
    if (!gdiplus) { ADD_FAILURE() << "no gdiplus.dll"; return pic; }
    auto startup = reinterpret_cast<Startup>(reinterpret_cast<void*>(GetProcAddress(gdiplus, "GdiplusStartup")));
    auto shutdown = reinterpret_cast<Shutdown>(reinterpret_cast<void*>(GetProcAddress(gdiplus, "GdiplusShutdown")));
    auto fromFile = reinterpret_cast<FromFile>(reinterpret_cast<void*>(GetProcAddress(gdiplus, "GdipCreateBitmapFromFile")));
    auto width = reinterpret_cast<Size>(reinterpret_cast<void*>(GetProcAddress(gdiplus, "GdipGetImageWidth")));
    auto height = reinterpret_cast<Size>(reinterpret_cast<void*>(GetProcAddress(gdiplus, "GdipGetImageHeight")));
    auto getPixel = reinterpret_cast<GetPixel>(reinterpret_cast<void*>(GetProcAddress(gdiplus, "GdipBitmapGetPixel")));
    auto dispose = reinterpret_cast<Dispose>(reinterpret_cast<void*>(GetProcAddress(gdiplus, "GdipDisposeImage")));
    if (!startup || !shutdown || !fromFile || !width || !height || !getPixel || !dispose) {
        ADD_FAILURE() << "gdiplus.dll lacks its flat interface";
        return pic;
    }
    struct { UINT32 version = 1; void* debugCallback = nullptr; BOOL noThread = FALSE, noCodecs = FALSE; } input;
    ULONG_PTR token = 0;
    if (startup(&token, &input, nullptr) != 0) { ADD_FAILURE() << "GdiplusStartup failed"; return pic; }
    wchar_t wide[MAX_PATH * 2] = {};
    MultiByteToWideChar(CP_ACP, 0, file.c_str(), -1, wide, MAX_PATH * 2);
    void* bitmap = nullptr;
    if (fromFile(wide, &bitmap) == 0 && bitmap) {
        UINT w = 0, h = 0;
        width(bitmap, &w);
        height(bitmap, &h);
        pic.width = static_cast<int>(w);
        pic.height = static_cast<int>(h);
        pic.pixels.resize(static_cast<std::size_t>(w) * h);
        for (UINT y = 0; y < h; ++y)
            for (UINT x = 0; x < w; ++x) {
                DWORD argb = 0;
                getPixel(bitmap, static_cast<INT>(x), static_cast<INT>(y), &argb);
                pic.pixels[y * w + x] = argb & 0x00FFFFFF;
            }
        dispose(bitmap);
    } else {
        ADD_FAILURE() << "GDI+ could not decode " << file;
    }
    shutdown(token);
    return pic;
}

// --- the windows as a table ------------------------------------------------------------------------

struct WindowCase {
    const char* name;
    WindowId id;
    const char* caption;
    int width, height;
    std::vector<const char*> tabOrder;  // empty: no tab stop, the window keeps the focus
    const char* screenshot;             // nullptr: taken by the picture test
};
void PrintTo(const WindowCase& c, std::ostream* os) { *os << c.name; }

const WindowCase kWindows[] = {
    {"Unlock", WindowId::UnlockCode, "请输入16位解锁码:", 340, 129, {"编辑框1", "按钮1"}, "unlock_window"},
    {"Donation", WindowId::Donation, "", 380, 250, {}, nullptr},
    {"Recovery", WindowId::Recovery, "", 380, 164, {"按钮11", "编辑框1", "按钮4"}, "recovery_window"},
};

}  // namespace

class SecondaryWindows : public ::testing::TestWithParam<WindowCase> {};

TEST_P(SecondaryWindows, OpensModallyCentredAndOwnedByTheHiddenWindowAndClosingHandsBackMainWindow) {
    const WindowCase& w = GetParam();
    Sandbox box;
    App app(box);
    ASSERT_TRUE(app.main());
    for (int round = 1; round <= 2; ++round) {
        SCOPED_TRACE("opening number " + std::to_string(round));
        HWND win = Open(app, w.id);
        ASSERT_TRUE(win) << "the window did not open";
        EXPECT_EQ(ClassName(win), "ZandrelWindow");
        EXPECT_EQ(WindowText(win), w.caption) << "got " << Hex(WindowText(win)) << ", expected " << Hex(w.caption);

        // Outer rectangle exactly the stored size, centred on the screen (1920 x 1080 here).
        const RECT rc = WindowRect(win);
        const int x = (GetSystemMetrics(SM_CXSCREEN) - w.width) / 2;
        const int y = (GetSystemMetrics(SM_CYSCREEN) - w.height) / 2;
        EXPECT_EQ(rc.left, x);
        EXPECT_EQ(rc.top, y);
        EXPECT_EQ(rc.right - rc.left, w.width);
        EXPECT_EQ(rc.bottom - rc.top, w.height);
        const LONG style = GetWindowLongA(win, GWL_STYLE);
        EXPECT_EQ(style & 0x02CF0000, 0x02CA0000) << std::hex << "got style " << style;
        EXPECT_FALSE(GetWindowLongA(win, GWL_EXSTYLE) & WS_EX_APPWINDOW);

        // Owned by the never-shown tool window of the same process: no taskbar button.
        HWND owner = GetWindow(win, GW_OWNER);
        ASSERT_TRUE(owner) << "the window has no owner, so it would get a taskbar button";
        EXPECT_NE(owner, app.main());
        EXPECT_FALSE(IsWindowVisible(owner));
        EXPECT_TRUE(GetWindowLongA(owner, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
        DWORD ownerPid = 0;
        GetWindowThreadProcessId(owner, &ownerPid);
        EXPECT_EQ(ownerPid, app.pid());

        EXPECT_FALSE(IsWindowEnabled(app.main())) << "MainWindow takes input while the window is open";
        EXPECT_TRUE(IsWindowEnabled(win));
        EXPECT_TRUE(WaitFor([&] { return ActiveWindow(app) == win; })) << "the window is not active";
        if (round == 1 && w.screenshot) {
            Sleep(300);  // let the controls paint
            CaptureWindow(win, w.screenshot);
        }

        if (round == 1) {
            CloseWithEsc(app, win);
        } else {  // the Close item of the system menu
            PostMessageA(win, WM_SYSCOMMAND, SC_CLOSE, 0);
            EXPECT_TRUE(WaitFor([&] { return !IsWindow(win); })) << "the system menu's Close did not close the window";
            EXPECT_TRUE(WaitFor([&] { return IsWindowEnabled(app.main()) != FALSE; })) << "MainWindow stayed disabled";
        }
        EXPECT_TRUE(WaitFor([&] { return ActiveWindow(app) == app.main(); }))
            << "MainWindow is not active again; the active window is " << ClassName(ActiveWindow(app));
        EXPECT_EQ(app.FindWindowOf("ZandrelWindow", w.caption), nullptr);
    }
    EXPECT_TRUE(ReadToolLog(box).empty()) << "opening and closing the window started a tool";
    EXPECT_TRUE(app.running());
}

TEST_P(SecondaryWindows, FocusStartsOnTheFirstTabStopAndTabWalksTheTabOrder) {
    const WindowCase& w = GetParam();
    Sandbox box;
    App app(box);
    ASSERT_TRUE(app.main());
    HWND win = Open(app, w.id);
    ASSERT_TRUE(win);
    auto expect = [&](const char* name) { return name ? Control(win, w.id, name) : win; };
    const std::size_t n = w.tabOrder.size();
    const char* first = n ? w.tabOrder[0] : nullptr;
    ASSERT_TRUE(WaitFor([&] { return app.Focus() == expect(first); }))
        << "focus at opening: got " << NameOf(win, w.id, app.Focus()) << ", expected " << (first ? first : "the window");
    // Forward once around and past the start; with no tab stop, Tab leaves the focus where it is.
    for (std::size_t i = 1; i <= std::max<std::size_t>(n, 2); ++i) {
        Press(win, {{VK_TAB}});
        const char* name = n ? w.tabOrder[i % n] : nullptr;
        EXPECT_TRUE(app.FocusBecomes(expect(name))) << "after " << i << " Tab: got " << NameOf(win, w.id, app.Focus())
                                             << ", expected " << (name ? name : "the window");
    }
    // Now on the first one again (or the window): Shift+Tab wraps back to the last.
    Press(win, {{VK_TAB, true}});
    const char* last = n ? w.tabOrder[n - 1] : nullptr;
    EXPECT_TRUE(app.FocusBecomes(expect(last))) << "after Shift+Tab: got " << NameOf(win, w.id, app.Focus())
                                         << ", expected " << (last ? last : "the window");
    EXPECT_TRUE(IsWindow(win));
    EXPECT_TRUE(ReadToolLog(box).empty()) << "moving the focus started a tool";
    CloseWithEsc(app, win);
}

INSTANTIATE_TEST_SUITE_P(All, SecondaryWindows, ::testing::ValuesIn(kWindows),
                         [](const auto& info) { return std::string(info.param.name); });

// While a secondary window is open, the real mouse cannot reach MainWindow's buttons, and bringing
// MainWindow to the front (as its taskbar button would) brings the open window forward instead.
TEST(SecondaryWindowsModal, MainWindowIgnoresMouseClicksWhileUnlockCodeWindowIsOpen) {
    Sandbox box;
    App app(box);
    ASSERT_TRUE(app.main());
    HWND unlock = Open(app, WindowId::UnlockCode);
    ASSERT_TRUE(unlock);
    MouseClick(MainButton(app, "按钮1"));
    MouseClick(MainButton(app, "按钮4"));
    MouseClick(MainButton(app, "按钮6"));
    Sleep(800);
    EXPECT_TRUE(ReadToolLog(box).empty()) << "a click on a disabled MainWindow started a tool";
    EXPECT_EQ(WaitForBox(app, 300), nullptr) << "a click on a disabled MainWindow showed a box";
    EXPECT_TRUE(IsWindow(unlock));
    EXPECT_FALSE(IsWindowEnabled(app.main()));

    SetForegroundWindow(app.main());
    EXPECT_TRUE(WaitFor([&] { return ActiveWindow(app) == unlock; }, 3000))
        << "after activating MainWindow the active window is " << ClassName(ActiveWindow(app));
    CloseWithEsc(app, unlock);
}

// --- UnlockCodeWindow's box ------------------------------------------------------------------------

namespace {

struct UnlockFixture {
    Sandbox box;
    App app{box};
    HWND window = Open(app, WindowId::UnlockCode);
    HWND edit = window ? Control(window, WindowId::UnlockCode, "编辑框1") : nullptr;
};

}  // namespace

TEST(UnlockCodeBox, TypingKeepsOnlyDigitsAndMinusUpToSixteenCharacters) {
    UnlockFixture f;
    ASSERT_TRUE(f.edit);
    ASSERT_TRUE(WaitFor([&] { return f.app.Focus() == f.edit; }));
    const struct { const char* typed; const char* expected; } cases[] = {
        {"abcXYZ .+=/", ""},
        {"ab-1c2x", "-12"},
        {"12345678901234567890", "1234567890123456"},
        {"-9-8-7-6-5-4-3-2-1-0", "-9-8-7-6-5-4-3-2"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("typed ") + c.typed);
        SetControlText(f.edit, "");
        TypeText(f.window, c.typed);
        EXPECT_EQ(ControlText(f.edit), c.expected) << "got \"" << ControlText(f.edit) << "\", expected \"" << c.expected << "\"";
    }
    // Backspace (below 32) still edits.
    TypeText(f.window, "\b\b");
    EXPECT_EQ(ControlText(f.edit), "-9-8-7-6-5-4-3") << "got \"" << ControlText(f.edit) << "\"";
    EXPECT_TRUE(ReadToolLog(f.box).empty());
}

TEST(UnlockCodeBox, PastedTextKeepsOnlyDigitsAndMinusWithinSixteenCharacters) {
    UnlockFixture f;
    ASSERT_TRUE(f.edit);
    ASSERT_TRUE(WaitFor([&] { return f.app.Focus() == f.edit; }));
    const Key ctrlV{'V', false, false, true};
    const Key shiftInsert{VK_INSERT, true};
    const struct {
        const char* before;
        int selStart, selEnd;
        const char* clipboard;
        Key key;
        const char* expected;
    } cases[] = {
        {"", 0, 0, "ab 12-3x4 y5", ctrlV, "12-345"},
        // Shift+Insert pastes too. Full-width digits are two GBK bytes, neither an ASCII digit.
        {"", 0, 0, "号码：１３８-0000 8888", shiftInsert, "-00008888"},
        {"", 0, 0, "--oem unlock 1234", ctrlV, "--1234"},
        {"12345678901234", 14, 14, "a9b8c7d6", ctrlV, "1234567890123498"},
        {"1234567890123456", 16, 16, "77", ctrlV, "1234567890123456"},
        // Replacing a selection of 4 leaves room for 4 characters, inserted where it was.
        {"1111222233334444", 4, 8, "x5-6y78z9", ctrlV, "11115-6733334444"},
        {"12", 1, 1, "a3", shiftInsert, "132"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("pasting " + Hex(c.clipboard) + " over \"" + c.before + "\"");
        SetControlText(f.edit, c.before);
        SendMessageA(f.edit, EM_SETSEL, c.selStart, c.selEnd);
        SetClipboardText(c.clipboard);
        Press(f.window, {c.key});
        EXPECT_EQ(ControlText(f.edit), c.expected)
            << "got " << Hex(ControlText(f.edit)) << ", expected " << Hex(c.expected);
    }
    EXPECT_TRUE(ReadToolLog(f.box).empty());
}

TEST(UnlockCodeBox, EnterWithTheFocusInTheBoxDoesNothing) {
    UnlockFixture f;
    ASSERT_TRUE(f.edit);
    ASSERT_TRUE(WaitFor([&] { return f.app.Focus() == f.edit; }));
    TypeText(f.window, "1234");
    Press(f.window, {{VK_RETURN}});
    Sleep(700);
    EXPECT_TRUE(ReadToolLog(f.box).empty()) << "Enter sent the code";
    EXPECT_EQ(WaitForBox(f.app, 300), nullptr) << "Enter showed a box";
    EXPECT_TRUE(IsWindow(f.window));
    EXPECT_EQ(f.app.Focus(), f.edit);
    EXPECT_EQ(ControlText(f.edit), "1234");
}

TEST(UnlockCodeBox, EscWhileTypingClosesTheWindowAndTheNextLoadStartsEmpty) {
    UnlockFixture f;
    ASSERT_TRUE(f.edit);
    ASSERT_TRUE(WaitFor([&] { return f.app.Focus() == f.edit; }));
    TypeText(f.window, "98765");
    ASSERT_EQ(ControlText(f.edit), "98765");
    CloseWithEsc(f.app, f.window);
    EXPECT_TRUE(ReadToolLog(f.box).empty()) << "closing the window sent the code";

    HWND again = Open(f.app, WindowId::UnlockCode);
    ASSERT_TRUE(again);
    HWND edit = Control(again, WindowId::UnlockCode, "编辑框1");
    EXPECT_EQ(ControlText(edit), "") << "the code typed before was kept";
    EXPECT_TRUE(WaitFor([&] { return f.app.Focus() == edit; })) << "focus: " << NameOf(again, WindowId::UnlockCode, f.app.Focus());
    TypeText(again, "1a2");
    EXPECT_EQ(ControlText(edit), "12") << "the filter is gone after reloading";
    CloseWithEsc(f.app, again);
}

// --- the edit boxes' shape -------------------------------------------------------------------------

namespace {

struct EditBoxCase {
    const char* name;
    WindowId id;
    int left, top, width, storedHeight;
    int lfHeight;  // 0: no stored font, DEFAULT_GUI_FONT
    bool limited;  // EM_LIMITTEXT 16, or the control's own largest limit
};
void PrintTo(const EditBoxCase& c, std::ostream* os) { *os << c.name; }

HFONT MakeFont(int lfHeight) {
    if (!lfHeight) return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    const zandrel::StoredFont f = zandrel::FontForCreation(zandrel::YaheiLight(lfHeight));
    LOGFONTA lf;
    static_assert(sizeof lf == sizeof f);
    std::memcpy(&lf, &f, sizeof lf);
    return CreateFontIndirectA(&lf);
}

int TextHeight(HFONT font, const char* sample) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    SIZE size{};
    GetTextExtentPoint32A(dc, sample, static_cast<int>(std::strlen(sample)), &size);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return size.cy;
}

}  // namespace

class SecondaryWindowEditBox : public ::testing::TestWithParam<EditBoxCase> {};

// The box is at least as tall as one line of its font ("吴") plus two edges, keeps its top-left corner
// and width, has a plain border, and shows its text in a band as high as "W", centred vertically.
TEST_P(SecondaryWindowEditBox, HasItsMinimumHeightAPlainBorderAndAVerticallyCentredTextBand) {
    const EditBoxCase& c = GetParam();
    Sandbox box;
    App app(box);
    ASSERT_TRUE(app.main());
    HWND win = Open(app, c.id);
    ASSERT_TRUE(win);
    HWND edit = Control(win, c.id, "编辑框1");
    ASSERT_TRUE(edit);
    EXPECT_EQ(ClassName(edit), "Edit");

    HFONT font = MakeFont(c.lfHeight);
    const int minimum = TextHeight(font, "吴") + 2 * GetSystemMetrics(SM_CYEDGE);
    const int band = TextHeight(font, "W");
    if (c.lfHeight) DeleteObject(font);
    const int expectedHeight = std::max(c.storedHeight, minimum);

    const RECT rc = ChildRect(edit);
    EXPECT_EQ(rc.left, c.left);
    EXPECT_EQ(rc.top, c.top);
    EXPECT_EQ(rc.right - rc.left, c.width);
    EXPECT_EQ(rc.bottom - rc.top, expectedHeight) << "the font's line needs " << minimum << " px";
    if (c.id == WindowId::Recovery) {
        EXPECT_GT(rc.bottom - rc.top, 16) << "RecoveryWindow's box kept its stored 16 px";
    }

    const LONG style = GetWindowLongA(edit, GWL_STYLE);
    EXPECT_TRUE(style & ES_AUTOHSCROLL);
    EXPECT_FALSE(style & (ES_MULTILINE | ES_NOHIDESEL));
    EXPECT_EQ(GetWindowLongA(edit, GWL_EXSTYLE) & (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE | WS_EX_DLGMODALFRAME), 0);
    const LRESULT limit = SendMessageA(edit, EM_GETLIMITTEXT, 0, 0);
    if (c.limited) {
        EXPECT_EQ(limit, 16);
    } else {
        EXPECT_GT(limit, 0xFFFF) << "the recovery box has a limit of its own";
    }

    // The client area is the text band, centred between the top and bottom border lines.
    RECT client;
    GetClientRect(edit, &client);
    POINT origin{0, 0};
    ClientToScreen(edit, &origin);
    const RECT outer = WindowRect(edit);
    const int above = origin.y - outer.top - 1;
    const int below = outer.bottom - 1 - (origin.y + client.bottom);
    EXPECT_EQ(client.bottom, band) << "the text band is not as high as a \"W\"";
    EXPECT_LE(std::abs(above - below), 1) << "text band not centred: " << above << " px above, " << below << " px below";

    // On screen, the empty box without the focus (no caret) is one plain line around white: the
    // ring of its outer pixels is a single colour, and nothing inside the ring is anything but the
    // white background (no second frame around the text band).
    if (app.Focus() == edit) Press(win, {{VK_TAB}});
    ASSERT_NE(app.Focus(), edit);
    Sleep(300);
    const RECT frame = WindowRect(win);
    const int x0 = outer.left - frame.left, y0 = outer.top - frame.top;
    const int w = outer.right - outer.left, h = outer.bottom - outer.top;
    const Shot shot = CaptureWindow(win);
    const unsigned line = shot.at(x0, y0);
    EXPECT_NE(line, 0xFFFFFFu) << "the box has no visible border";
    PixelDiff diff;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const bool ring = x == 0 || y == 0 || x == w - 1 || y == h - 1;
            diff.Check(ring ? "border" : "inside", x, y, shot.at(x0 + x, y0 + y), ring ? line : 0xFFFFFFu);
        }
    EXPECT_EQ(diff.count, 0) << diff.count << " pixels of the " << w << " x " << h << " box differ, among them:"
                             << diff.first;
    CloseWithEsc(app, win);
}

INSTANTIATE_TEST_SUITE_P(
    All, SecondaryWindowEditBox,
    ::testing::Values(EditBoxCase{"Unlock", WindowId::UnlockCode, 8, 8, 280, 24, 0, true},
                      EditBoxCase{"Recovery", WindowId::Recovery, 8, 72, 360, 16, -12, false}),
    [](const auto& info) { return std::string(info.param.name); });

// --- DonationWindow's pictures ---------------------------------------------------------------------

// Each picture is drawn at its natural size at the top-left corner of its 120 x 120 box and cut at
// the box's edge; what it leaves of the box is button-face grey. Checked pixel by pixel against the
// PNG stored in the program, decoded here by other means.
TEST(DonationWindow, ShowsBothPicturesAtNaturalSizeCutToTheirBoxes) {
    Sandbox box;
    App app(box);
    ASSERT_TRUE(app.main());
    HWND win = Open(app, WindowId::Donation);
    ASSERT_TRUE(win);

    const unsigned face = ScreenColour(GetSysColor(COLOR_BTNFACE));
    const struct {
        const char* control;
        int resource, width, height;  // the picture's natural size
    } boxes[] = {
        {"图片框1", ZANDREL_PNG_DONATE_QQ, 121, 118},   // one column too wide: its last one is cut
        {"图片框2", ZANDREL_PNG_DONATE_WECHAT, 110, 108},  // leaves 10 px right and 12 px below
    };
    const RECT frame = WindowRect(win);
    POINT client{0, 0};
    ClientToScreen(win, &client);
    Shot shot;
    for (const auto& b : boxes) {
        SCOPED_TRACE(b.control);
        const Picture pic = DecodeProgramPicture(box, b.resource);
        ASSERT_EQ(pic.width, b.width);
        ASSERT_EQ(pic.height, b.height);
        // The pictures' edges (a dark border) differ from the face colour, so the strips below tell
        // picture from background.
        for (int x = 0; x < pic.width; ++x)
            ASSERT_TRUE(pic.at(x, 0) != face && pic.at(x, pic.height - 1) != face) << "column " << x;
        for (int y = 0; y < pic.height; ++y)
            ASSERT_TRUE(pic.at(0, y) != face && pic.at(pic.width - 2, y) != face && pic.at(pic.width - 1, y) != face)
                << "row " << y;

        HWND control = Control(win, WindowId::Donation, b.control);
        ASSERT_TRUE(control);
        const RECT r = ChildRect(control);
        ASSERT_EQ(r.right - r.left, 120);
        ASSERT_EQ(r.bottom - r.top, 120);
        const int left = client.x - frame.left + r.left, top = client.y - frame.top + r.top;

        // Waits for the window to be painted as expected, then reports the differences of the last look.
        PixelDiff diff;
        WaitFor([&] {
            shot = CaptureWindow(win, "donation_window");
            diff = {};
            for (int y = 0; y < 120; ++y)
                for (int x = 0; x < 120; ++x)
                    diff.Check(x < pic.width && y < pic.height ? "picture" : "strip", x, y, shot.at(left + x, top + y),
                               x < pic.width && y < pic.height ? pic.at(x, y) : face);
            return diff.count == 0;
        }, 3000);
        EXPECT_EQ(diff.count, 0) << diff.count << " pixels of the box differ, among them:" << diff.first;

        // The same in the words of the layout: the box's last column shows the picture's column 119,
        // neither its cut column 120 (its border) nor the background; what the smaller picture
        // leaves of the box is face grey.
        int cutShown = 0, stripNotGrey = 0, pictureGrey = 0;
        for (int y = 0; y < 120; ++y)
            for (int x = 0; x < 120; ++x) {
                const unsigned got = shot.at(left + x, top + y);
                if (x < pic.width && y < pic.height) {
                    pictureGrey += (x == 0 || y == 0 || x == 119 || x == pic.width - 1 || y == pic.height - 1) && got == face;
                    cutShown += pic.width > 120 && x == 119 && y > 0 && y < pic.height - 1 && got == pic.at(120, y);
                } else {
                    stripNotGrey += got != face;
                }
            }
        EXPECT_EQ(cutShown, 0) << "rows of the box's last column show the picture's cut column";
        EXPECT_EQ(pictureGrey, 0) << "edge pixels of the picture area are background grey";
        EXPECT_EQ(stripNotGrey, 0) << "pixels outside the " << pic.width << " x " << pic.height
                                   << " picture area are not background grey";
    }
    // The window's own background, between the pictures, is the same button-face grey.
    EXPECT_EQ(shot.at(client.x - frame.left + 180, client.y - frame.top + 130), face)
        << "got " << HexColour(shot.at(client.x - frame.left + 180, client.y - frame.top + 130)) << ", expected "
        << HexColour(face);
    CloseWithEsc(app, win);
}

// --- RecoveryWindow's open-file dialog -------------------------------------------------------------

namespace {

// A sandbox with two image folders: 镜像 images (a double-byte name with a blank) and other.
struct RecoveryFixture {
    Sandbox box;
    std::string images = box.Path("镜像 images");
    std::string other = box.Path("other");
    std::string twrp = images + "\\twrp.img";
    std::string otherImage = other + "\\orange.img";
    RecoveryFixture() {
        CreateDirectoryA(images.c_str(), nullptr);
        CreateDirectoryA(other.c_str(), nullptr);
        WriteAll(twrp, "ANDROID!twrp");
        WriteAll(otherImage, "ANDROID!orange");
    }
};

}  // namespace

TEST(RecoveryDialog, AChosenFileFillsTheBoxAndACancelPutsTheLastChoiceBack) {
    RecoveryFixture f;
    App app(f.box);
    ASSERT_TRUE(app.main());
    HWND recovery = Open(app, WindowId::Recovery);
    ASSERT_TRUE(recovery);
    HWND path = RecoveryPathBox(recovery);

    // The dialog: modal over RecoveryWindow, offering the one filter "img文件".
    HWND dialog = OpenFileDialog(app, recovery);
    ASSERT_TRUE(dialog) << "the open-file dialog did not appear";
    EXPECT_FALSE(IsWindowEnabled(recovery)) << "RecoveryWindow takes input under the dialog";
    HWND types = GetDlgItem(dialog, 0x470);
    EXPECT_EQ(ControlText(types), "img文件") << "got " << Hex(ControlText(types));
    Sleep(800);  // the dialog fills its folder view after it shows
    CaptureWindow(dialog, "recovery_file_dialog");
    EnterFileName(dialog, f.twrp);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(dialog); })) << "the dialog did not accept " << f.twrp;
    EXPECT_TRUE(WaitFor([&] { return ControlText(path) == f.twrp; }))
        << "got " << Hex(ControlText(path)) << ", expected " << Hex(f.twrp);
    EXPECT_TRUE(IsWindowEnabled(recovery));
    EXPECT_TRUE(WaitFor([&] { return app.Focus() == Control(recovery, WindowId::Recovery, "按钮11"); }))
        << "focus after the dialog: " << NameOf(recovery, WindowId::Recovery, app.Focus());
    Sleep(200);
    CaptureWindow(recovery, "recovery_window_chosen");

    // Edited by hand (from outside, then typed), the box gets the last choice back on a cancel.
    const struct { const char* how; void (*edit)(HWND recovery, HWND box); void (*cancel)(HWND); } edits[] = {
        {"set text, Cancel button", [](HWND, HWND b) { SetControlText(b, "C:\\elsewhere\\hand.img"); }, CancelButton},
        // The focus is back on 按钮11 after the dialog: Tab moves it into the box.
        {"typed, Esc", [](HWND r, HWND) { Press(r, {{VK_TAB}}); TypeText(r, "xyz"); }, EscKey},
    };
    for (const auto& e : edits) {
        SCOPED_TRACE(e.how);
        e.edit(recovery, path);
        ASSERT_NE(ControlText(path), f.twrp) << "the box was not edited";
        HWND again = OpenFileDialog(app, recovery);
        ASSERT_TRUE(again);
        EXPECT_NE(ControlText(FileNameBox(again)).find("twrp.img"), std::string::npos)
            << "the dialog does not offer the last choice: " << Hex(ControlText(FileNameBox(again)));
        e.cancel(again);
        ASSERT_TRUE(WaitFor([&] { return !IsWindow(again); }));
        EXPECT_TRUE(WaitFor([&] { return ControlText(path) == f.twrp; }))
            << "got " << Hex(ControlText(path)) << ", expected " << Hex(f.twrp);
    }

    // A second choice replaces the first.
    ChooseFile(app, recovery, f.otherImage);
    EXPECT_TRUE(WaitFor([&] { return ControlText(path) == f.otherImage; })) << "got " << Hex(ControlText(path));
    EXPECT_TRUE(ReadToolLog(f.box).empty()) << "choosing a file started a tool";

    // A newly loaded RecoveryWindow starts empty, and so does its dialog's file name.
    CloseWithEsc(app, recovery);
    HWND fresh = Open(app, WindowId::Recovery);
    ASSERT_TRUE(fresh);
    EXPECT_EQ(ControlText(RecoveryPathBox(fresh)), "");
    CancelDialog(app, fresh, CancelButton);
    EXPECT_EQ(ControlText(RecoveryPathBox(fresh)), "") << "the earlier window's choice came back";
    CloseWithEsc(app, fresh);
}

TEST(RecoveryDialog, ACancelBeforeAnyChoiceLeavesTheBoxEmpty) {
    RecoveryFixture f;
    App app(f.box);
    ASSERT_TRUE(app.main());
    HWND recovery = Open(app, WindowId::Recovery);
    ASSERT_TRUE(recovery);
    HWND path = RecoveryPathBox(recovery);
    CancelDialog(app, recovery, CancelButton);
    Sleep(200);
    EXPECT_EQ(ControlText(path), "");
    // A path typed by hand is emptied too: with no choice made, the dialog's file name is empty.
    SetControlText(path, "C:\\by\\hand.img");
    CancelDialog(app, recovery, EscKey);
    EXPECT_TRUE(WaitFor([&] { return ControlText(path).empty(); })) << "got " << Hex(ControlText(path));
    EXPECT_TRUE(IsWindow(recovery));
    EXPECT_TRUE(ReadToolLog(f.box).empty());
    CloseWithEsc(app, recovery);
}

TEST(RecoveryDialog, ANameOfAMissingFileIsRefusedAndTheDialogStays) {
    RecoveryFixture f;
    App app(f.box);
    ASSERT_TRUE(app.main());
    HWND recovery = Open(app, WindowId::Recovery);
    ASSERT_TRUE(recovery);
    HWND dialog = OpenFileDialog(app, recovery);
    ASSERT_TRUE(dialog);
    const std::string missing = f.images + "\\missing.img";
    EnterFileName(dialog, missing);
    HWND error = WaitForBox(app);
    ASSERT_TRUE(error) << "no error box for a missing file";
    EXPECT_TRUE(IsWindow(dialog) && IsWindowVisible(dialog)) << "the dialog closed on a missing file";
    CloseMessageBox(error, IDOK);
    Sleep(300);
    EXPECT_TRUE(IsWindow(dialog)) << "the dialog closed after the error box";
    // The same for a folder that does not exist.
    EnterFileName(dialog, f.box.Path("nowhere\\twrp.img"));
    error = WaitForBox(app);
    ASSERT_TRUE(error) << "no error box for a missing folder";
    CloseMessageBox(error, IDOK);
    Sleep(300);
    ASSERT_TRUE(IsWindow(dialog));
    CancelButton(dialog);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(dialog); }));
    Sleep(200);
    EXPECT_EQ(ControlText(RecoveryPathBox(recovery)), "") << "a refused name reached the box";
    CloseWithEsc(app, recovery);
}

// The dialog must leave the current directory where start-up put it, the run directory: afterwards
// the tools and the query batch files still run there. A stray adb.exe in the chosen image's folder
// would answer, and log, if a tool started there.
TEST(RecoveryDialog, AChoiceInAnotherFolderLeavesTheCurrentDirectoryAtTheRunDirectory) {
    RecoveryFixture f;
    ASSERT_TRUE(CopyFileA(f.box.Path("adb.exe").c_str(), (f.other + "\\adb.exe").c_str(), FALSE));
    WriteAll(f.other + "\\adb_answer.bin", "STRAY-ADB\r\n");
    App app(f.box);
    ASSERT_TRUE(app.main());
    HWND recovery = Open(app, WindowId::Recovery);
    ASSERT_TRUE(recovery);
    // As a user would: browse into the folder first (the dialog opens it and stays), then pick the
    // file by its bare name there.
    HWND dialog = OpenFileDialog(app, recovery);
    ASSERT_TRUE(dialog);
    EnterFileName(dialog, f.other);
    Sleep(800);
    ASSERT_TRUE(IsWindow(dialog)) << "the dialog closed on a folder name";
    EnterFileName(dialog, "orange.img");
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(dialog); })) << "the dialog did not accept orange.img";
    ASSERT_TRUE(WaitFor([&] { return ControlText(RecoveryPathBox(recovery)) == f.otherImage; }))
        << "got " << Hex(ControlText(RecoveryPathBox(recovery)));
    CloseWithEsc(app, recovery);

    Click(MainButton(app, "按钮1"));
    const auto runs = WaitForToolRuns(f.box, 1);
    ASSERT_EQ(runs.size(), 1u) << "the power button's adb did not run from the run directory";
    EXPECT_EQ(runs[0].cwd, f.box.dir()) << "got " << Hex(runs[0].cwd) << ", expected " << Hex(f.box.dir());
    EXPECT_EQ(runs[0].commandLine, zandrel::commands::kRebootRecovery);

    Click(MainButton(app, "按钮6"));
    HWND answer = app.WaitForMessageBox(12000);
    ASSERT_TRUE(answer) << "no box after the query";
    EXPECT_EQ(MessageBoxText(answer), "ZANDREL-TEST-PHONE\r\n")
        << "got " << Hex(MessageBoxText(answer)) << ", expected " << Hex("ZANDREL-TEST-PHONE\r\n");
    CloseMessageBox(answer);
    const auto all = ReadToolLog(f.box);
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(all[1].cwd, f.box.dir()) << "got " << Hex(all[1].cwd);
    EXPECT_FALSE(Exists(f.other + "\\tool.log")) << "the stray adb.exe in the image folder ran";
}
