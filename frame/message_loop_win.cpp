#include "frame/message_loop.h"

#include "frame/window_layer.h"

namespace zandrel {

void HandleMessage(MSG& msg) {
    if (PreTranslateKey(msg)) return;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
}

WPARAM RunMessageLoop(StopCondition stop, const void* context) {
    for (;;) {
        if (stop && stop(context)) return 0;
        MSG msg;
        const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0) {
            if (stop) PostQuitMessage(static_cast<int>(msg.wParam));
            return msg.wParam;
        }
        if (got < 0) return 0;
        HandleMessage(msg);
    }
}

}  // namespace zandrel
