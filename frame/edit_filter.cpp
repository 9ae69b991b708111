#include "frame/edit_filter.h"

namespace zandrel {
namespace {
bool IsDigitOrMinus(unsigned c) { return (c >= '0' && c <= '9') || c == '-'; }
}  // namespace

bool AcceptsTypedChar(InputMode mode, unsigned code) {
    if (mode != InputMode::DigitsAndMinus || code < 32) return true;
    return IsDigitOrMinus(code);
}

std::string FilterPastedText(InputMode mode, std::string_view text, std::size_t room) {
    if (mode != InputMode::DigitsAndMinus) return std::string(text);
    std::string kept;
    for (char c : text) {
        if (kept.size() >= room) break;
        // Bytes of a double-byte character are all 0x40 or above, so they never pass as digits.
        if (IsDigitOrMinus(static_cast<unsigned char>(c))) kept += c;
    }
    return kept;
}

}  // namespace zandrel
