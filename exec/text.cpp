#include "exec/text.h"

#include <algorithm>

namespace zandrel {

std::string_view TextView(std::string_view t) {
    const auto zero = t.find('\0');
    return zero == std::string_view::npos ? t : t.substr(0, zero);
}

Text JoinText(std::initializer_list<std::string_view> parts) {
    std::size_t total = 0;
    for (auto p : parts) total += TextView(p).size();
    Text joined;
    joined.reserve(total);
    for (auto p : parts) joined.append(TextView(p));
    return joined;
}

Bytes TextToBytes(std::string_view text) {
    const auto t = TextView(text);
    return Bytes(t.begin(), t.end());
}

Text BytesToText(const Bytes& b) {
    const auto end = std::find(b.begin(), b.end(), std::uint8_t{0});
    return Text(b.begin(), end);
}

}  // namespace zandrel
