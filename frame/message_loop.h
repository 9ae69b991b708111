// The UI thread's message loop and the handling of one message, shared by the main loop, the nested
// loops of modal windows and DelayWithEvents.
#pragma once

#include <windows.h>

namespace zandrel {

// The window layer's keyboard pre-translation first; if it did not consume the message,
// TranslateMessage and DispatchMessageA.
void HandleMessage(MSG& msg);

// Runs until WM_QUIT is taken from the queue or until stop(context) holds (tested before each
// message is taken). A nested loop that takes WM_QUIT posts it again, so that the main loop ends too.
// Returns the WM_QUIT's wParam, or 0 when the stop condition ended the loop.
using StopCondition = bool (*)(const void* context);
WPARAM RunMessageLoop(StopCondition stop = nullptr, const void* context = nullptr);

}  // namespace zandrel
