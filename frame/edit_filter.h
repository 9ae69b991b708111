// What an edit box lets in from the keyboard and the clipboard.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "frame/window_definition.h"

namespace zandrel {

// Typed character (a WM_CHAR code): control characters (below 32: Backspace, Ctrl+C/V/X, ...) always
// pass; in the digits-and-minus mode every other character but 0-9 and '-' is dropped.
bool AcceptsTypedChar(InputMode mode, unsigned code);

// Pasted text: in the digits-and-minus mode only digits and '-' are kept, and no more than `room`
// characters (the limit less what stays in the box). Other modes take the text as it is.
std::string FilterPastedText(InputMode mode, std::string_view text, std::size_t room);

}  // namespace zandrel
