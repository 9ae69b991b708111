// The control kinds: how each row of a definition table becomes a child window, and how the kinds
// of our own (label, picture box, dialog placeholder) and the edit box behave.
#include <windows.h>

#include <commctrl.h>
#include <png.h>

#include <cstring>

#include "assets/resource_ids.h"
#include "frame/edit_filter.h"
#include "frame/layout.h"
#include "frame/window_instance.h"

namespace zandrel {
namespace {

constexpr char kLabelClass[] = "ZandrelLabel";
constexpr char kPictureClass[] = "ZandrelPicture";
constexpr char kDialogHolderClass[] = "ZandrelDialogHolder";

ControlInstance* ControlData(HWND hwnd) {
    return reinterpret_cast<ControlInstance*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
}

void AttachOnCreate(HWND hwnd, LPARAM lp) {
    auto* c = static_cast<ControlInstance*>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams);
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(c));
}

UINT DrawTextFlags(const LabelSettings& s) {
    UINT flags = DT_NOCLIP;
    flags |= s.horizontal == Align::Centre ? DT_CENTER : s.horizontal == Align::Far ? DT_RIGHT : DT_LEFT;
    if (s.wordWrap) return flags | DT_WORDBREAK | DT_VCENTER;  // DT_VCENTER only acts on single lines
    return flags | DT_SINGLELINE |
           (s.vertical == Align::Centre ? DT_VCENTER : s.vertical == Align::Far ? DT_BOTTOM : DT_TOP);
}

void PaintLabel(HWND hwnd, const ControlInstance& c) {
    PaintDc dc(hwnd);
    RECT rc;
    GetClientRect(hwnd, &rc);
    FillColour(dc.get(), rc, c.def->label.backColour);
    if (c.def->caption.empty()) return;
    SelectedObject font(dc.get(), c.font);
    SetBkMode(dc.get(), TRANSPARENT);
    SetTextColor(dc.get(), ResolveColour(c.def->label.textColour));
    const Text caption(c.def->caption);
    DrawTextA(dc.get(), caption.c_str(), static_cast<int>(caption.size()), &rc, DrawTextFlags(c.def->label));
}

LRESULT CALLBACK LabelProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) AttachOnCreate(hwnd, lp);
    const ControlInstance* c = ControlData(hwnd);
    if (c && msg == WM_PAINT) { PaintLabel(hwnd, *c); return 0; }
    if (c && msg == WM_ERASEBKGND) return 1;  // WM_PAINT fills the whole label
    return DefWindowProcA(hwnd, msg, wp, lp);
}

// --- picture box --------------------------------------------------------------------------------------

void DecodePicture(ControlInstance& c) {
    const int resource = PictureResource(c.def->picture.picture);
    if (!resource) return;
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(resource), MAKEINTRESOURCEA(10));  // RT_RCDATA
    if (!found) return;
    HGLOBAL loaded = LoadResource(module, found);
    const auto* data = static_cast<const std::uint8_t*>(loaded ? LockResource(loaded) : nullptr);
    if (!data) return;
    DecodePng(data, SizeofResource(module, found), c.pixels, c.pictureWidth, c.pictureHeight);
}

void PaintPicture(HWND hwnd, const ControlInstance& c) {
    PaintDc dc(hwnd);
    RECT rc;
    GetClientRect(hwnd, &rc);
    FillColour(dc.get(), rc, c.def->picture.backColour);
    if (c.pixels.empty()) return;
    BITMAPINFO bmi{};
    bmi.bmiHeader.biSize = sizeof bmi.bmiHeader;
    bmi.bmiHeader.biWidth = c.pictureWidth;
    bmi.bmiHeader.biHeight = -c.pictureHeight;  // top-down rows, as libpng wrote them
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    SetDIBitsToDevice(dc.get(), 0, 0, c.pictureWidth, c.pictureHeight, 0, 0, 0, c.pictureHeight, c.pixels.data(),
                      &bmi, DIB_RGB_COLORS);
}

LRESULT CALLBACK PictureProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) AttachOnCreate(hwnd, lp);
    const ControlInstance* c = ControlData(hwnd);
    if (c && msg == WM_PAINT) { PaintPicture(hwnd, *c); return 0; }
    if (c && msg == WM_ERASEBKGND) return 1;
    return DefWindowProcA(hwnd, msg, wp, lp);
}

// --- edit box -----------------------------------------------------------------------------------------

int TextHeight(HWND hwnd, HFONT font, const char* sample) {
    WindowDc dc(hwnd);
    SelectedObject selected(dc.get(), font);
    SIZE size{};
    GetTextExtentPoint32A(dc.get(), sample, static_cast<int>(std::strlen(sample)), &size);
    return size.cy;
}

// Pasting into a digits-only box keeps the digits and minus signs of the clipboard text, no more
// than the limit leaves room for.
void PasteFiltered(HWND hwnd, const ControlInstance& c) {
    if (!OpenClipboard(hwnd)) return;
    std::string clip;
    if (HANDLE h = GetClipboardData(CF_TEXT)) {
        if (const char* p = static_cast<const char*>(GlobalLock(h))) {
            clip = p;
            GlobalUnlock(h);
        }
    }
    CloseClipboard();
    DWORD selStart = 0, selEnd = 0;
    SendMessageA(hwnd, EM_GETSEL, reinterpret_cast<WPARAM>(&selStart), reinterpret_cast<LPARAM>(&selEnd));
    const std::size_t length = static_cast<std::size_t>(GetWindowTextLengthA(hwnd));
    const std::size_t limit = static_cast<std::size_t>(SendMessageA(hwnd, EM_GETLIMITTEXT, 0, 0));
    const std::size_t kept = length - (selEnd - selStart);
    const std::size_t room = limit > kept ? limit - kept : 0;
    const std::string text = FilterPastedText(c.def->edit.inputMode, clip, room);
    SendMessageA(hwnd, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
}

// The single-line border, and the area between it and the text band in the box's background colour.
void PaintOutsideBand(HWND hwnd, const ControlInstance& c) {
    RECT window, client;
    GetWindowRect(hwnd, &window);
    GetClientRect(hwnd, &client);
    MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT*>(&client), 2);
    OffsetRect(&client, -window.left, -window.top);
    RECT inner{0, 0, window.right - window.left, window.bottom - window.top};
    InflateRect(&inner, -GetSystemMetrics(SM_CXBORDER), -GetSystemMetrics(SM_CYBORDER));
    WindowDc dc(hwnd, /*wholeWindow=*/true);
    ExcludeClipRect(dc.get(), client.left, client.top, client.right, client.bottom);
    FillRect(dc.get(), &inner, c.backBrush.get());
    SelectClipRgn(dc.get(), nullptr);
    RECT whole{0, 0, window.right - window.left, window.bottom - window.top};
    FrameRect(dc.get(), &whole, GetSysColorBrush(COLOR_WINDOWFRAME));
}

LRESULT CALLBACK EditSubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR ref) {
    const auto& c = *reinterpret_cast<const ControlInstance*>(ref);
    switch (msg) {
    case WM_KEYDOWN:
        // Shift+Insert pastes inside the edit control without a WM_PASTE: filter it the same way.
        if (wp == VK_INSERT && c.def->edit.inputMode != InputMode::Any && GetKeyState(VK_SHIFT) < 0 &&
            GetKeyState(VK_CONTROL) >= 0 && GetKeyState(VK_MENU) >= 0) {
            PasteFiltered(hwnd, c);
            return 0;
        }
        break;
    case WM_CHAR:
        if (!AcceptsTypedChar(c.def->edit.inputMode, static_cast<unsigned>(wp))) return 0;
        break;
    case WM_PASTE:
        if (c.def->edit.inputMode != InputMode::Any) {
            PasteFiltered(hwnd, c);
            return 0;
        }
        break;
    case WM_NCCALCSIZE: {
        const LRESULT r = DefSubclassProc(hwnd, msg, wp, lp);
        if (!c.def->edit.multiLine && c.textBandHeight > 0) {
            RECT& rc = wp ? reinterpret_cast<NCCALCSIZE_PARAMS*>(lp)->rgrc[0] : *reinterpret_cast<RECT*>(lp);
            // The one-pixel border lies outside the client area (see CreateEditBox).
            InflateRect(&rc, -GetSystemMetrics(SM_CXBORDER), -GetSystemMetrics(SM_CYBORDER));
            if (rc.bottom - rc.top > c.textBandHeight) {
                rc.top = CentredBandTop(rc.top, rc.bottom, c.textBandHeight);
                rc.bottom = rc.top + c.textBandHeight;
            }
        }
        return r;
    }
    case WM_NCPAINT:
        if (!c.def->edit.multiLine) PaintOutsideBand(hwnd, c);
        break;
    case WM_NCDESTROY:
        RemoveWindowSubclass(hwnd, EditSubclassProc, 0);
        break;
    default:
        break;
    }
    return DefSubclassProc(hwnd, msg, wp, lp);
}

HWND CreateEditBox(HWND parent, int id, DWORD common, ControlInstance& c) {
    const ControlDefinition& d = *c.def;
    const Text content(d.caption);
    // The single-line border (border style 5) is drawn by the subclass around the text band: an edit
    // control given WS_BORDER takes the style off and draws its frame inside its client area, which
    // here is only the band.
    HWND hwnd = CreateWindowExA(0, "EDIT", content.c_str(), common | ES_AUTOHSCROLL, d.left, d.top,
                                d.width, d.height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                GetModuleHandleA(nullptr), nullptr);
    if (!hwnd) return nullptr;
    c.hwnd = hwnd;
    c.backBrush.reset(CreateSolidBrush(ResolveColour(d.edit.backColour)));
    SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(c.font), FALSE);
    c.textBandHeight = TextHeight(hwnd, c.font, "W");
    SetWindowSubclass(hwnd, EditSubclassProc, 0, reinterpret_cast<DWORD_PTR>(&c));
    const int minimum = EditMinimumHeight(TextHeight(hwnd, c.font, "吴"), GetSystemMetrics(SM_CYEDGE));
    const int height = d.height < minimum ? minimum : d.height;
    // SWP_FRAMECHANGED: the subclass now answers WM_NCCALCSIZE with the centred text band.
    SetWindowPos(hwnd, nullptr, d.left, d.top, d.width, height, SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    SendMessageA(hwnd, EM_LIMITTEXT, static_cast<WPARAM>(d.edit.maxLength), 0);
    SendMessageA(hwnd, EM_SETSEL, 0, 0);
    SendMessageA(hwnd, EM_SCROLLCARET, 0, 0);
    return hwnd;
}

void MakeFont(ControlInstance& c) {
    if (!c.def->hasFont) {
        c.font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
        return;
    }
    const StoredFont f = FontForCreation(c.def->font);
    static_assert(sizeof(LOGFONTA) == sizeof(StoredFont));
    LOGFONTA lf;
    std::memcpy(&lf, &f, sizeof lf);
    c.ownedFont.reset(CreateFontIndirectA(&lf));
    c.font = c.ownedFont ? c.ownedFont.get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

HWND CreateOwnClass(const char* cls, HWND parent, int id, DWORD style, ControlInstance& c, const char* text) {
    const ControlDefinition& d = *c.def;
    return CreateWindowExA(0, cls, text, style, d.left, d.top, d.width, d.height, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), &c);
}

}  // namespace

bool DecodePng(const std::uint8_t* data, std::size_t size, std::vector<std::uint8_t>& pixels, int& width, int& height) {
    pixels.clear();
    width = height = 0;
    static const std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    if (!data || size < 8 || std::memcmp(data, kSignature, 8) != 0) return false;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, data, size)) return false;
    image.format = PNG_FORMAT_BGRA;
    std::vector<std::uint8_t> decoded(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, decoded.data(), 0, nullptr)) {
        png_image_free(&image);
        return false;
    }
    pixels = std::move(decoded);
    width = static_cast<int>(image.width);
    height = static_cast<int>(image.height);
    return true;
}

void RegisterControlClasses(HINSTANCE inst) {
    const struct { const char* name; WNDPROC proc; } kinds[] = {
        {kLabelClass, LabelProc}, {kPictureClass, PictureProc}, {kDialogHolderClass, DefWindowProcA}};
    for (const auto& k : kinds) {
        WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
        wc.lpfnWndProc = k.proc;
        wc.hInstance = inst;
        wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
        wc.lpszClassName = k.name;
        RegisterClassExA(&wc);
    }
}

HWND CreateControl(HWND parent, int id, ControlInstance& c) {
    const ControlDefinition& d = *c.def;
    DWORD common = WS_CHILD | WS_CLIPSIBLINGS;
    if (d.disabled) common |= WS_DISABLED;
    if (d.tabStop) common |= WS_TABSTOP;
    MakeFont(c);
    const Text caption(d.caption);
    switch (d.kind) {
    case ControlKind::Label:
        // The caption is also the window text, so that tools that read windows (screen readers, the
        // test driver) see what the label shows.
        c.hwnd = CreateOwnClass(kLabelClass, parent, id, common, c, caption.c_str());
        break;
    case ControlKind::PushButton:
        c.hwnd = CreateWindowExA(0, "BUTTON", caption.c_str(),
                                 common | BS_PUSHBUTTON | BS_CENTER | BS_VCENTER | BS_MULTILINE, d.left, d.top,
                                 d.width, d.height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                 GetModuleHandleA(nullptr), nullptr);
        if (c.hwnd) SendMessageA(c.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(c.font), FALSE);
        break;
    case ControlKind::EditBox:
        CreateEditBox(parent, id, common, c);
        break;
    case ControlKind::PictureBox:
        DecodePicture(c);
        c.hwnd = CreateOwnClass(kPictureClass, parent, id, common, c, "");
        break;
    case ControlKind::OpenFileDialog:
        c.dialog = LoadDialogState(d.dialog);
        c.hwnd = CreateOwnClass(kDialogHolderClass, parent, id, common, c, "");
        break;
    }
    return c.hwnd;
}

LRESULT EditColours(const ControlInstance& c, HDC dc) {
    if (c.def->kind != ControlKind::EditBox) return 0;
    SetTextColor(dc, ResolveColour(c.def->edit.textColour));
    SetBkColor(dc, ResolveColour(c.def->edit.backColour));
    return reinterpret_cast<LRESULT>(c.backBrush.get());
}

}  // namespace zandrel
