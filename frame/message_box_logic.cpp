#include "frame/message_box_logic.h"

namespace zandrel {

std::uint32_t StyleForWindows(std::uint32_t style) {
    constexpr std::uint32_t kSystemModal = 0x1000, kTaskModal = 0x2000;
    return (style & kSystemModal) ? style : (style | kTaskModal);
}

MessageBoxResult MapMessageBoxResult(int windowsResult) {
    if (windowsResult >= 1 && windowsResult <= 7) return static_cast<MessageBoxResult>(windowsResult - 1);
    return kOk;
}

}  // namespace zandrel
