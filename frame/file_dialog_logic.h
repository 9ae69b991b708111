// The open-file dialog's settings turned into what GetOpenFileNameA takes, free of Windows calls.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "exec/text.h"
#include "frame/window_definition.h"

namespace zandrel {

// OFN_ flag values, spelled out so that this file builds without commdlg.h.
namespace ofn {
constexpr std::uint32_t kOverwritePrompt = 0x2, kHideReadOnly = 0x4, kNoChangeDir = 0x8,
                        kEnableHook = 0x20, kPathMustExist = 0x800, kFileMustExist = 0x1000,
                        kCreatePrompt = 0x2000, kExplorer = 0x80000, kEnableSizing = 0x800000;
}

// The loaded instance of a dialog's settings: starts as the stored values, lives with its window.
struct OpenFileDialogState {
    Text title, fileName, filter;
    std::int32_t filterIndex = 0;
    Text initialDirectory, defaultExtension;
    bool createPrompt = false, fileMustExist = true, overwritePrompt = true, pathMustExist = true,
         noChangeDirectory = false;
};
OpenFileDialogState LoadDialogState(const OpenFileDialogSettings& stored);

// OFN_HIDEREADONLY, the flag of each true bool setting, then OFN_EXPLORER, OFN_ENABLESIZING and
// OFN_ENABLEHOOK.
std::uint32_t DialogFlags(const OpenFileDialogState& s);

// The filter as the dialog wants it: trailing blanks trimmed, "||" appended unless already there,
// then every bar made a zero byte. Both steps go by GBK characters, so a trail byte of 0x7C or 0x20
// inside a double-byte character is left alone. Empty when the trimmed filter is empty.
std::string DialogFilterString(std::string_view filter);

// 0 without a filter; otherwise FilterIndex + 1, a negative index counting as 0.
std::uint32_t DialogFilterIndex(std::string_view filterString, std::int32_t filterIndex);

// MAX_PATH: the size of the file buffer; FileName is cut to one byte less.
inline constexpr std::size_t kFileBufferSize = 260;

}  // namespace zandrel
