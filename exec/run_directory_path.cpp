#include "exec/run_directory_path.h"

namespace zandrel {

std::size_t GbkCharLength(std::string_view text, std::size_t i) {
    return IsGbkLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1;
}

std::string_view DirectoryOfPath(std::string_view path) {
    std::size_t last = std::string_view::npos;
    for (std::size_t i = 0; i < path.size(); i += GbkCharLength(path, i)) {
        if (path[i] == '\\') last = i;
    }
    return last == std::string_view::npos ? std::string_view() : path.substr(0, last);
}

std::string DirectoryWithSeparator(std::string_view dir) {
    std::string d(dir);
    if (d.empty()) return d;  // no run directory: nothing to make current
    // A trailing backslash counts only when it is a character of its own, not the trail byte of 乗.
    bool endsWithSeparator = false;
    for (std::size_t i = 0; i < dir.size(); i += GbkCharLength(dir, i))
        endsWithSeparator = GbkCharLength(dir, i) == 1 && dir[i] == '\\';
    return endsWithSeparator ? d : d + "\\";
}

}  // namespace zandrel
