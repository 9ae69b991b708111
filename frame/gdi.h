// Owning wrappers for GDI objects and device contexts.
#pragma once

#include <windows.h>

#include <memory>

namespace zandrel {

struct GdiObjectDeleter {
    void operator()(void* h) const { if (h) DeleteObject(static_cast<HGDIOBJ>(h)); }
};
using OwnedFont = std::unique_ptr<HFONT__, GdiObjectDeleter>;
using OwnedBrush = std::unique_ptr<HBRUSH__, GdiObjectDeleter>;

// A window's DC from GetDC / GetWindowDC, released when it goes out of scope.
class WindowDc {
public:
    explicit WindowDc(HWND hwnd, bool wholeWindow = false)
        : hwnd_(hwnd), dc_(wholeWindow ? GetWindowDC(hwnd) : GetDC(hwnd)) {}
    ~WindowDc() { if (dc_) ReleaseDC(hwnd_, dc_); }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC get() const { return dc_; }
private:
    HWND hwnd_;
    HDC dc_;
};

// BeginPaint / EndPaint.
class PaintDc {
public:
    explicit PaintDc(HWND hwnd) : hwnd_(hwnd) { dc_ = BeginPaint(hwnd, &ps_); }
    ~PaintDc() { EndPaint(hwnd_, &ps_); }
    PaintDc(const PaintDc&) = delete;
    PaintDc& operator=(const PaintDc&) = delete;
    HDC get() const { return dc_; }
    const RECT& area() const { return ps_.rcPaint; }
private:
    HWND hwnd_;
    PAINTSTRUCT ps_;
    HDC dc_;
};

// Selects an object into a DC and puts the previous one back.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ obj) : dc_(dc), old_(obj ? SelectObject(dc, obj) : nullptr) {}
    ~SelectedObject() { if (old_) SelectObject(dc_, old_); }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;
private:
    HDC dc_;
    HGDIOBJ old_;
};

// SystemFaceColour resolved now; any other colour as it is.
inline COLORREF ResolveColour(std::uint32_t colour) {
    return colour == 0xFF000000 ? GetSysColor(COLOR_BTNFACE) : static_cast<COLORREF>(colour);
}

inline void FillColour(HDC dc, const RECT& rc, std::uint32_t colour) {
    OwnedBrush brush(CreateSolidBrush(ResolveColour(colour)));
    FillRect(dc, &rc, brush.get());
}

}  // namespace zandrel
