#include "frame/message_box.h"

#include "exec/text.h"

namespace zandrel {

MessageBoxResult ShowMessageBox(std::string_view text, std::uint32_t style, std::optional<std::string_view> caption,
                                HWND owner) {
    const Text message(TextView(text));
    const Text title(TextView(caption.value_or(kDefaultCaption)));
    return MapMessageBoxResult(MessageBoxA(owner, message.c_str(), title.c_str(), StyleForWindows(style)));
}

}  // namespace zandrel
