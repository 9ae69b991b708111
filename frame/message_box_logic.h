// The message-box rules that need no Windows call: the default caption, the style that reaches
// MessageBoxA and the system's own numbering of the button that closed a box.
#pragma once

#include <cstdint>
#include <string_view>

namespace zandrel {

// "信息：" with a full-width colon (GBK D0 C5 CF A2 A3 BA).
inline constexpr std::string_view kDefaultCaption = "信息：";

enum MessageBoxResult : std::int32_t { kOk = 0, kCancel = 1, kAbort = 2, kRetry = 3, kIgnore = 4, kYes = 5, kNo = 6 };

// The three styles the system shows.
inline constexpr std::uint32_t kStyleOk = 0, kStyleOkCancel = 1, kStyleExclamation = 48;

// MB_TASKMODAL (0x2000) added unless MB_SYSTEMMODAL (0x1000) is set.
std::uint32_t StyleForWindows(std::uint32_t style);

// IDOK..IDNO (1..7) to 0..6; every other value, 0 (a failed call) included, counts as OK.
MessageBoxResult MapMessageBoxResult(int windowsResult);

}  // namespace zandrel
