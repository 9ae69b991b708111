// The window layer in-process: what another process cannot read back under Wine (fonts and icons of
// a window, decoded pictures) and the fatal stop.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "assets/resource_ids.h"
#include "frame/window_definition.h"
#include "frame/window_instance.h"
#include "frame/window_layer.h"

using namespace zandrel;

namespace {

// A loaded window, destroyed at the end of the test.
struct Loaded {
    explicit Loaded(WindowId id) : hwnd(CreateLoadedWindow(id, nullptr)) {}
    ~Loaded() { if (IsWindow(hwnd)) DestroyWindow(hwnd); }
    HWND hwnd;
};

HWND ControlOf(HWND window, WindowId id, std::string_view name) {
    int index = -1;
    if (!FindControl(id, name, &index)) return nullptr;
    return GetDlgItem(window, index + 1);
}

std::string OwnDirectory() {
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    const std::string path(self);
    return path.substr(0, path.rfind('\\'));
}

// A copy of an asset that the build puts beside the test exe.
std::string ReadAsset(const char* name) {
    std::ifstream in(OwnDirectory() + "\\" + name, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

struct FindBox {
    DWORD pid;
    HWND box = nullptr;
};

BOOL CALLBACK FindVisibleDialog(HWND h, LPARAM lp) {
    auto* f = reinterpret_cast<FindBox*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    char cls[16] = {};
    GetClassNameA(h, cls, sizeof cls);
    if (pid == f->pid && std::string(cls) == "#32770" && IsWindowVisible(h)) f->box = h;
    return f->box == nullptr;
}

}  // namespace

TEST(WindowLayer, ButtonsGetTheirStoredFontWithTheReplacedMembers) {
    Loaded main(WindowId::Main);
    ASSERT_TRUE(main.hwnd);
    for (const auto& c : Definition(WindowId::Main).controls) {
        if (c.kind != ControlKind::PushButton) continue;
        SCOPED_TRACE(std::string(c.name));
        HFONT font = reinterpret_cast<HFONT>(SendMessageA(ControlOf(main.hwnd, WindowId::Main, c.name), WM_GETFONT, 0, 0));
        ASSERT_TRUE(font);
        LOGFONTA lf{};
        ASSERT_EQ(GetObjectA(font, sizeof lf, &lf), static_cast<int>(sizeof lf));
        EXPECT_EQ(lf.lfHeight, c.font.height);
        EXPECT_EQ(lf.lfWeight, 290);
        EXPECT_STREQ(lf.lfFaceName, "微软雅黑 Light");
        EXPECT_EQ(lf.lfCharSet, DEFAULT_CHARSET);
        EXPECT_EQ(lf.lfOutPrecision, OUT_DEFAULT_PRECIS);
        EXPECT_EQ(lf.lfClipPrecision, CLIP_DEFAULT_PRECIS);
        EXPECT_EQ(lf.lfQuality, PROOF_QUALITY);
        EXPECT_EQ(lf.lfPitchAndFamily, DEFAULT_PITCH);
    }
}

TEST(WindowLayer, TheUnlockCodeBoxWithoutStoredFontUsesTheDefaultGuiFont) {
    Loaded unlock(WindowId::UnlockCode);
    ASSERT_TRUE(unlock.hwnd);
    HWND edit = ControlOf(unlock.hwnd, WindowId::UnlockCode, "编辑框1");
    EXPECT_EQ(reinterpret_cast<HGDIOBJ>(SendMessageA(edit, WM_GETFONT, 0, 0)), GetStockObject(DEFAULT_GUI_FONT));
    EXPECT_EQ(SendMessageA(edit, EM_GETLIMITTEXT, 0, 0), 16);
}

TEST(WindowLayer, EveryWindowCarriesTheExecutablesIconBigAndSmall) {
    for (WindowId id : {WindowId::Main, WindowId::UnlockCode, WindowId::Donation, WindowId::Recovery}) {
        Loaded w(id);
        ASSERT_TRUE(w.hwnd);
        EXPECT_NE(SendMessageA(w.hwnd, WM_GETICON, ICON_BIG, 0), 0) << "window " << static_cast<int>(id);
        EXPECT_NE(SendMessageA(w.hwnd, WM_GETICON, ICON_SMALL, 0), 0) << "window " << static_cast<int>(id);
    }
}

TEST(PictureBox, TheDonationPicturesDecodeAtTheirNaturalSize) {
    Loaded donation(WindowId::Donation);
    ASSERT_TRUE(donation.hwnd);
    const struct { const char* name; int width, height; } pictures[] = {{"图片框1", 121, 118}, {"图片框2", 110, 108}};
    for (const auto& p : pictures) {
        HWND box = ControlOf(donation.hwnd, WindowId::Donation, p.name);
        const auto* c = reinterpret_cast<const ControlInstance*>(GetWindowLongPtrA(box, GWLP_USERDATA));
        ASSERT_TRUE(c) << p.name;
        EXPECT_EQ(c->pictureWidth, p.width) << p.name;
        EXPECT_EQ(c->pictureHeight, p.height) << p.name;
        EXPECT_EQ(c->pixels.size(), static_cast<std::size_t>(p.width * p.height * 4)) << p.name;
    }
}

TEST(PictureBox, OnlyAWholeValidPngDecodes) {
    const std::string png = ReadAsset("donate_qq.png");
    ASSERT_GT(png.size(), 100u);
    std::string corrupt = png;
    corrupt[png.size() / 2] ^= 0x5A;  // damage the compressed pixels
    std::string badSignature = png;
    badSignature[1] = 'Q';
    const struct { const char* what; std::string bytes; bool decodes; } cases[] = {
        {"the picture", png, true},
        {"empty", "", false},
        {"signature only", png.substr(0, 8), false},
        {"cut in half", png.substr(0, png.size() / 2), false},
        {"damaged pixels", corrupt, false},
        {"wrong signature", badSignature, false},
        {"not a picture", "GIF89a and some more bytes", false},
    };
    for (const auto& c : cases) {
        std::vector<std::uint8_t> pixels{1, 2, 3};
        int w = -1, h = -1;
        const bool ok = DecodePng(reinterpret_cast<const std::uint8_t*>(c.bytes.data()), c.bytes.size(), pixels, w, h);
        EXPECT_EQ(ok, c.decodes) << c.what;
        if (!c.decodes) {
            EXPECT_TRUE(pixels.empty()) << c.what << ": a failed decode leaves no pixels";
            EXPECT_EQ(w, 0) << c.what;
        }
    }
}

// The out-of-memory stop, in a child process: an error box with the error icon and no owner, then
// exit code -1 once it is closed.
TEST(FatalStop, MemoryThatCannotBeHadShowsAnErrorBoxAndEndsWithMinusOne) {
    std::string cmd(1, '"');
    cmd += OwnDirectory() + "\\out_of_memory.exe";
    cmd += '"';
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    ASSERT_TRUE(CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
    FindBox find{pi.dwProcessId};
    const ULONGLONG end = GetTickCount64() + 15000;
    while (!find.box && GetTickCount64() < end && WaitForSingleObject(pi.hProcess, 20) == WAIT_TIMEOUT) {
        EnumWindows(FindVisibleDialog, reinterpret_cast<LPARAM>(&find));
    }
    ASSERT_TRUE(find.box) << "no error box appeared";
    char text[512] = {};
    GetDlgItemTextA(find.box, 0xFFFF, text, sizeof text);
    EXPECT_GT(std::string(text).size(), 0u) << "the error box names the failure";
    EXPECT_EQ(GetWindow(find.box, GW_OWNER), nullptr);
    HWND icon = GetDlgItem(find.box, 0x440);
    EXPECT_TRUE(icon && SendMessageA(icon, STM_GETICON, 0, 0)) << "the error box shows an icon";
    PostMessageA(find.box, WM_COMMAND, IDOK, 0);
    ASSERT_EQ(WaitForSingleObject(pi.hProcess, 10000), WAIT_OBJECT_0);
    DWORD code = 0;
    GetExitCodeProcess(pi.hProcess, &code);
    EXPECT_EQ(code, 0xFFFFFFFFu) << "got exit code " << code;
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
}
