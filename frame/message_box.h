// Every notice, result and confirmation goes through ShowMessageBox.
#pragma once

#include <windows.h>

#include <optional>
#include <string_view>

#include "frame/message_box_logic.h"

namespace zandrel {

// MessageBoxA(owner, text, caption or "信息：", style with MB_TASKMODAL unless MB_SYSTEMMODAL);
// blocks until the box is closed and returns which button closed it (a failed call counts as OK).
MessageBoxResult ShowMessageBox(std::string_view text, std::uint32_t style,
                                std::optional<std::string_view> caption = std::nullopt, HWND owner = nullptr);

}  // namespace zandrel
