#include "frame/file_dialog_logic.h"

#include "exec/run_directory_path.h"

namespace zandrel {

OpenFileDialogState LoadDialogState(const OpenFileDialogSettings& s) {
    OpenFileDialogState d;
    d.title = s.title;
    d.fileName = s.fileName;
    d.filter = s.filter;
    d.filterIndex = s.filterIndex;
    d.initialDirectory = s.initialDirectory;
    d.defaultExtension = s.defaultExtension;
    d.createPrompt = s.createPrompt;
    d.fileMustExist = s.fileMustExist;
    d.overwritePrompt = s.overwritePrompt;
    d.pathMustExist = s.pathMustExist;
    d.noChangeDirectory = s.noChangeDirectory;
    return d;
}

std::uint32_t DialogFlags(const OpenFileDialogState& s) {
    std::uint32_t flags = ofn::kHideReadOnly;
    if (s.createPrompt) flags |= ofn::kCreatePrompt;
    if (s.fileMustExist) flags |= ofn::kFileMustExist;
    if (s.overwritePrompt) flags |= ofn::kOverwritePrompt;
    if (s.pathMustExist) flags |= ofn::kPathMustExist;
    if (s.noChangeDirectory) flags |= ofn::kNoChangeDir;
    return flags | ofn::kExplorer | ofn::kEnableSizing | ofn::kEnableHook;
}

std::string DialogFilterString(std::string_view filter) {
    filter = TextView(filter);
    // Trim trailing white space: remember where the last non-blank character ends.
    std::size_t end = 0;
    for (std::size_t i = 0; i < filter.size();) {
        const std::size_t len = GbkCharLength(filter, i);
        const char c = filter[i];
        if (len == 2 || !(c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f')) end = i + len;
        i += len;
    }
    std::string s(filter.substr(0, end));
    if (s.empty()) return s;
    if (s.size() < 2 || s.compare(s.size() - 2, 2, "||") != 0) s += "||";
    for (std::size_t i = 0; i < s.size();) {
        const std::size_t len = GbkCharLength(s, i);
        if (len == 1 && s[i] == '|') s[i] = '\0';
        i += len;
    }
    return s;
}

std::uint32_t DialogFilterIndex(std::string_view filterString, std::int32_t filterIndex) {
    if (filterString.empty()) return 0;
    return static_cast<std::uint32_t>(filterIndex < 0 ? 0 : filterIndex) + 1;
}

}  // namespace zandrel
