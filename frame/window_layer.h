// The window layer: loads the system's windows from their definitions, keeps the loaded instances,
// and gives the actions what they need of a loaded window (its control handles, dialog settings).
#pragma once

#include <windows.h>

#include <string_view>

#include "frame/file_dialog_logic.h"
#include "frame/window_definition.h"

namespace zandrel {

// The never-shown tool window that owns modally loaded windows (so they have no taskbar button).
HWND CreateHiddenOwnerWindow();
HWND HiddenOwnerWindow();
void DestroyHiddenOwnerWindow();

// Creates, fills and shows a window from its definition (centred, icon, controls, created event,
// SW_SHOW). Returns its handle, or nullptr when the window could not be created.
HWND CreateLoadedWindow(WindowId id, HWND owner);

// Loads a window; when modal, owned by the hidden owner, every other loaded top-level window
// disabled, and returns only after it has been closed. A window already loaded is brought forward.
// False when the window could not be created.
bool LoadWindow(WindowId id, bool modal);

// From here on, the destruction of the last window posts WM_QUIT.
void MarkMainLoopStarted();

// The handle of a loaded window, or nullptr.
HWND LoadedWindowHandle(WindowId id);

// The handle of a control of a loaded window, or nullptr.
HWND ControlHandle(WindowId id, std::string_view name);

// The live settings of an open-file dialog placeholder of a loaded window, or nullptr.
OpenFileDialogState* DialogState(WindowId id, std::string_view name);

// Tab, Shift+Tab and Esc for the system's enabled windows; true when the key was consumed.
bool PreTranslateKey(const MSG& msg);

}  // namespace zandrel
