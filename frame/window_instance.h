// The loaded instance of a window and of each of its controls: what lives while the window is open.
// Internal to the window layer and the control kinds.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "frame/file_dialog_logic.h"
#include "frame/gdi.h"
#include "frame/window_definition.h"

namespace zandrel {

struct ControlInstance {
    const ControlDefinition* def = nullptr;
    HWND hwnd = nullptr;
    OwnedFont ownedFont;     // the stored font, when the control has one
    HFONT font = nullptr;    // what the control draws with (owned or DEFAULT_GUI_FONT)
    OwnedBrush backBrush;    // edit box background, returned on WM_CTLCOLOREDIT
    int textBandHeight = 0;  // edit box: height of "W" in its font
    std::vector<std::uint8_t> pixels;  // picture box: decoded BGRA, top-down rows
    int pictureWidth = 0, pictureHeight = 0;
    OpenFileDialogState dialog;  // open-file dialog placeholder
};

struct DisabledWindow {
    HWND hwnd;
    bool wasEnabled;
};

struct WindowInstance {
    WindowId id;
    const WindowDefinition* def = nullptr;
    HWND hwnd = nullptr;
    std::vector<std::unique_ptr<ControlInstance>> controls;  // stored order
    std::vector<int> tabOrder;
    HWND lastFocus = nullptr;               // control focused when the window was last deactivated
    std::vector<DisabledWindow> disabled;   // windows this window's modal load disabled
    bool modal = false;
};

// Control kinds (controls_win.cpp).
void RegisterControlClasses(HINSTANCE inst);
HWND CreateControl(HWND parent, int id, ControlInstance& c);
// Decodes PNG bytes (recognised by their signature) into top-down BGRA rows at the picture's natural
// size. False, with nothing decoded, for anything that is not a whole, valid PNG.
bool DecodePng(const std::uint8_t* data, std::size_t size, std::vector<std::uint8_t>& pixels, int& width, int& height);
// Edit box colours for WM_CTLCOLOREDIT of the parent.
LRESULT EditColours(const ControlInstance& c, HDC dc);

}  // namespace zandrel
