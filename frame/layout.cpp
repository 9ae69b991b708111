#include "frame/layout.h"

#include <algorithm>
#include <numeric>

namespace zandrel {

Point CentredPosition(int screenWidth, int screenHeight, int width, int height) {
    return {(screenWidth - width) / 2, (screenHeight - height) / 2};
}

std::vector<int> TabOrder(std::span<const ControlDefinition> controls) {
    std::vector<int> order(controls.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        if (controls[a].tabOrder != controls[b].tabOrder) return controls[a].tabOrder < controls[b].tabOrder;
        return a > b;
    });
    return order;
}

KeyCommand TranslateKey(const KeyState& key) {
    constexpr unsigned kTab = 0x09, kEscape = 0x1B;
    if (key.claimedByControl) return KeyCommand::PassOn;
    if (key.virtualKey == kTab && !key.ctrl && !key.alt)
        return key.shift ? KeyCommand::FocusPrevious : KeyCommand::FocusNext;
    if (key.virtualKey == kEscape && !key.shift && !key.ctrl && !key.alt) return KeyCommand::CloseWindow;
    return KeyCommand::PassOn;
}

int EditMinimumHeight(int textHeight, int edgeHeight) { return textHeight + 2 * edgeHeight; }

int CentredBandTop(int top, int bottom, int bandHeight) {
    const int room = bottom - top - bandHeight;
    return room > 0 ? top + room / 2 : top;
}

}  // namespace zandrel
