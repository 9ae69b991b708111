// Comparisons shared by every level of tests, whose failure message reads "got X, expected Y", with
// byte strings shown in hex so that GBK text can be read in a failure.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace zandrel::testkit {

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

inline std::string_view AsChars(const std::vector<std::uint8_t>& bytes) {
    return std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

inline std::string Hex(const std::vector<std::uint8_t>& bytes) { return Hex(AsChars(bytes)); }

// Byte-for-byte equality, embedded zero bytes included; long values are abbreviated in the message,
// which also names the first byte that differs.
inline ::testing::AssertionResult SameBytes(std::string_view got, std::string_view expected) {
    if (got == expected) return ::testing::AssertionSuccess();
    auto shown = [](std::string_view b) {
        if (b.size() <= 96) return Hex(b);
        return Hex(b.substr(0, 48)) + " ... " + Hex(b.substr(b.size() - 16));
    };
    std::size_t firstDiff = 0;
    while (firstDiff < got.size() && firstDiff < expected.size() && got[firstDiff] == expected[firstDiff]) ++firstDiff;
    return ::testing::AssertionFailure() << "got [" << shown(got) << "] (" << got.size() << " bytes), expected ["
                                         << shown(expected) << "] (" << expected.size()
                                         << " bytes); first difference at byte " << firstDiff;
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

}  // namespace zandrel::testkit
