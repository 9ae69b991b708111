// Cutting a path in the ANSI code page (GBK) at its last backslash. A double-byte character is passed
// over whole, so its second byte is never taken for a separator even when it is 0x5C or 0x7C.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zandrel {

// True for a GBK lead byte (0x81..0xFE): it and the byte after it form one character.
constexpr bool IsGbkLeadByte(unsigned char b) { return b >= 0x81 && b <= 0xFE; }

// Length in bytes of the character that starts at text[i] (1 or 2; 1 for a lead byte at the end).
std::size_t GbkCharLength(std::string_view text, std::size_t i);

// The directory part of a module path: the bytes before its last backslash, or empty when it has
// none. The result never ends with that backslash.
std::string_view DirectoryOfPath(std::string_view path);

// The directory with one trailing backslash, as a working or current directory: the run directory
// of an exe in a drive's root is "C:", which alone would mean the drive's current directory, not
// its root. Empty stays empty.
std::string DirectoryWithSeparator(std::string_view dir);

}  // namespace zandrel
