// Text and Bytes: the values the click actions build paths and command lines from and exchange with
// files. Both are plain values owned by whoever holds them; "absent" is simply the empty value.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zandrel {

// Bytes in the ANSI code page (GBK). Its length is the number of bytes before the first zero byte;
// no operation here converts code pages or line endings.
using Text = std::string;

// A whole file's content: any bytes, zero bytes included.
using Bytes = std::vector<std::uint8_t>;

// The bytes of t before its first zero byte.
std::string_view TextView(std::string_view t);

// Joins the texts in order with nothing between them. Each text counts up to its first zero byte.
Text JoinText(std::initializer_list<std::string_view> parts);

// The bytes of the text before its first zero byte, without terminator (empty for an empty text).
Bytes TextToBytes(std::string_view text);

// The bytes before the first zero byte of b, unchanged (empty when b is empty or starts with zero).
Text BytesToText(const Bytes& b);

}  // namespace zandrel
