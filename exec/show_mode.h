// ShowMode: how a started program's window is first shown, and the two ways of turning it into a
// Windows show command (RunCommandLine clamps, ShellOpen falls back to normal).
#pragma once

#include <cstdint>
#include <optional>

namespace zandrel {

enum ShowMode : std::int32_t {
    Hidden = 1,
    NormalActive = 2,
    MinimizedActive = 3,
    MaximizedActive = 4,
    NormalInactive = 5,
    MinimizedInactive = 6,
};

// Windows show commands (the SW_ values), spelled out so that this file builds without windows.h.
namespace sw {
constexpr int kHide = 0, kShowNormal = 1, kShowMinimized = 2, kShowMaximized = 3,
              kShowNoActivate = 4, kMinimize = 6, kShowNA = 8;
}

// RunCommandLine: omitted means 2; below 1 counts as 1 and above 6 as 6. Mode 5 is SW_SHOWNOACTIVATE.
int RunCommandShowCommand(std::optional<std::int32_t> mode);

// ShellOpen: omitted or outside 1..6 gives SW_SHOWNORMAL. Mode 5 is SW_SHOWNA.
int ShellOpenShowCommand(std::optional<std::int32_t> mode);

// ShellOpen's verb number: 1 "edit", 2 "explore", 3 "find", 4 "open", 5 "print"; anything else, or
// none, is the null verb (nullptr: the shell's default action).
const char* ShellVerb(std::optional<std::int32_t> verb);

}  // namespace zandrel
