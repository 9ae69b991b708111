// Helpers shared by the native tests: comparisons whose failure message reads "got X, expected Y",
// with byte strings shown in hex so that GBK text can be read in a failure.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace zandrel::test {

// "D0 C5 CF A2" for the bytes given; "(empty)" for none.
inline std::string Hex(std::string_view bytes) {
    if (bytes.empty()) return "(empty)";
    std::string out;
    char buf[4];
    for (unsigned char b : bytes) {
        std::snprintf(buf, sizeof buf, "%02X", b);
        if (!out.empty()) out += ' ';
        out += buf;
    }
    return out;
}

inline std::string Hex(const std::vector<std::uint8_t>& bytes) {
    return Hex(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

// Byte-for-byte equality, also of embedded zero bytes; the message gives both sides in hex and,
// for printable ASCII, as text, plus both lengths.
inline ::testing::AssertionResult SameBytes(std::string_view got, std::string_view expected) {
    if (got == expected) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "got [" << Hex(got) << "] (" << got.size() << " bytes), expected ["
                                         << Hex(expected) << "] (" << expected.size() << " bytes)";
}

// Plain equality of printable values.
template <class Got, class Expected>
::testing::AssertionResult Same(const Got& got, const Expected& expected) {
    if (got == expected) return ::testing::AssertionSuccess();
    std::ostringstream g, e;
    g << got;
    e << expected;
    return ::testing::AssertionFailure() << "got " << g.str() << ", expected " << e.str();
}

// The bytes written out as escapes in a literal, for tables that build GBK text byte by byte.
inline std::string Bytes(std::initializer_list<unsigned> values) {
    std::string s;
    for (unsigned v : values) s += static_cast<char>(v);
    return s;
}

}  // namespace zandrel::test
