#include "frame/edit_text.h"

#include <commdlg.h>

#include <algorithm>

#include "exec/files.h"

namespace zandrel {

Text GetEditBoxText(HWND edit) {
    if (!edit) return Text();
    const int length = GetWindowTextLengthA(edit);
    if (length <= 0) return Text();
    Text text(static_cast<std::size_t>(length) + 1, '\0');
    const int got = GetWindowTextA(edit, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(std::max(got, 0)));
    return text;
}

void SetEditBoxText(HWND edit, std::string_view text) {
    const Text t(TextView(text));
    SetWindowTextA(edit, t.c_str());
}

namespace {

// The hook that OFN_ENABLEHOOK announces: it leaves every notification to the dialog.
UINT_PTR CALLBACK DialogHook(HWND, UINT, WPARAM, LPARAM) { return 0; }

Text CurrentDirectory() {
    const DWORD n = GetCurrentDirectoryA(0, nullptr);
    if (n == 0) return Text();
    Text dir(n, '\0');
    const DWORD got = GetCurrentDirectoryA(n, dir.data());
    dir.resize(got < n ? got : 0);
    return dir;
}

const char* OrNull(const Text& t) { return t.empty() ? nullptr : t.c_str(); }

}  // namespace

bool ShowOpenFileDialog(OpenFileDialogState& dialog, HWND owner) {
    const std::string filter = DialogFilterString(dialog.filter);
    char file[kFileBufferSize] = {};
    const std::string_view name = TextView(dialog.fileName);
    std::copy_n(name.begin(), std::min(name.size(), kFileBufferSize - 1), file);
    char fileTitle[64] = {};

    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter.empty() ? nullptr : filter.c_str();
    ofn.nFilterIndex = DialogFilterIndex(filter, dialog.filterIndex);
    ofn.lpstrFile = file;
    ofn.nMaxFile = sizeof file;
    ofn.lpstrFileTitle = fileTitle;
    ofn.nMaxFileTitle = sizeof fileTitle;
    ofn.lpstrInitialDir = OrNull(dialog.initialDirectory);
    ofn.lpstrTitle = OrNull(dialog.title);
    ofn.lpstrDefExt = OrNull(dialog.defaultExtension);
    ofn.Flags = DialogFlags(dialog);
    ofn.lpfnHook = DialogHook;

    // The dialog may move the current directory to the folder the user browsed to (OFN_NOCHANGEDIR
    // does not stop GetOpenFileName from doing so), and the device tools are looked up there first:
    // put it back.
    const Text before = CurrentDirectory();
    const bool chosen = GetOpenFileNameA(&ofn) != FALSE;
    if (!before.empty()) SetCurrentDirectoryA(before.c_str());
    if (chosen) dialog.fileName = file;
    return chosen;
}

}  // namespace zandrel
