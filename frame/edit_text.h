// Reading and writing the text of an edit box, and the open-file dialog.
#pragma once

#include <windows.h>

#include <string_view>

#include "exec/text.h"
#include "frame/file_dialog_logic.h"

namespace zandrel {

// The edit box's whole current text (empty for an empty box or a missing control).
Text GetEditBoxText(HWND edit);

// Replaces the box's text; the typing limits and filter do not apply.
void SetEditBoxText(HWND edit, std::string_view text);

// Shows the open-file dialog modally over `owner`. True when a file was chosen; FileName then holds
// its full path. Cancel, Esc, the close button or a failure leave FileName as it was. The process's
// current directory is the same afterwards as before, wherever the user browsed.
bool ShowOpenFileDialog(OpenFileDialogState& dialog, HWND owner);

}  // namespace zandrel
