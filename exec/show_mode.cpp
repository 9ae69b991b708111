#include "exec/show_mode.h"

#include <algorithm>

namespace zandrel {
namespace {

// Rows 1..6 of the show-mode table; the two columns differ only in row 5.
constexpr int kRunCommand[] = {sw::kHide, sw::kShowNormal, sw::kShowMinimized,
                               sw::kShowMaximized, sw::kShowNoActivate, sw::kMinimize};
constexpr int kShellOpen[] = {sw::kHide, sw::kShowNormal, sw::kShowMinimized,
                              sw::kShowMaximized, sw::kShowNA, sw::kMinimize};

}  // namespace

int RunCommandShowCommand(std::optional<std::int32_t> mode) {
    const std::int32_t m = std::clamp<std::int32_t>(mode.value_or(NormalActive), 1, 6);
    return kRunCommand[m - 1];
}

int ShellOpenShowCommand(std::optional<std::int32_t> mode) {
    if (!mode || *mode < 1 || *mode > 6) return sw::kShowNormal;
    return kShellOpen[*mode - 1];
}

const char* ShellVerb(std::optional<std::int32_t> verb) {
    static constexpr const char* kVerbs[] = {"edit", "explore", "find", "open", "print"};
    if (!verb || *verb < 1 || *verb > 5) return nullptr;
    return kVerbs[*verb - 1];
}

}  // namespace zandrel
