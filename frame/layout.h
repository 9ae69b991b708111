// Placement, tab order and keyboard rules of the window layer, free of Windows calls.
#pragma once

#include <span>
#include <vector>

#include "frame/window_definition.h"

namespace zandrel {

struct Point { int x, y; };

// Top-left corner that centres an outer size on the screen (integer division toward zero).
Point CentredPosition(int screenWidth, int screenHeight, int width, int height);

// Indices of the controls in tab order: ascending tab-order value, and among equal values the
// control stored later first. All values being 0, this is the reverse of the stored order.
std::vector<int> TabOrder(std::span<const ControlDefinition> controls);

// What the window layer does with a key before the focused control sees it.
enum class KeyCommand { PassOn, FocusNext, FocusPrevious, CloseWindow };

struct KeyState { unsigned virtualKey; bool shift, ctrl, alt; bool claimedByControl; };

// Tab / Shift+Tab move the focus, Esc closes; Enter and Alt+letter have no effect (no default
// button, no "&" mnemonic in any caption) and, like every other key, go on to the control.
KeyCommand TranslateKey(const KeyState& key);

// Next (or previous) entry of `order` after the entry `current`, wrapping at either end, that
// `eligible` accepts; `current` may be -1 (none). Returns -1 when none is eligible.
template <class Eligible>
int StepInTabOrder(const std::vector<int>& order, int current, bool forward, Eligible eligible) {
    const int n = static_cast<int>(order.size());
    if (n == 0) return -1;
    int pos = -1;
    for (int i = 0; i < n; ++i) if (order[i] == current) pos = i;
    for (int step = 1; step <= n; ++step) {
        int i = pos < 0 ? (forward ? step - 1 : n - step)
                        : ((pos + (forward ? step : -step)) % n + n) % n;
        if (eligible(order[i])) return order[i];
    }
    return -1;
}

// Height a single-line edit box needs: the text height of one character plus two edges.
int EditMinimumHeight(int textHeight, int edgeHeight);

// Band of a single-line edit box's client area that holds the text: `bandHeight` high, centred
// vertically in [top, bottom). Returns the band's top.
int CentredBandTop(int top, int bottom, int bandHeight);

}  // namespace zandrel
