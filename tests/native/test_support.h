// Helpers shared by the native tests: comparisons whose failure message reads "got X, expected Y",
// with byte strings shown in hex so that GBK text can be read in a failure.
#pragma once

#include <gtest/gtest.h>

#include "common/byte_assertions.h"

#include <cstdint>
#include <cstdio>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace zandrel::test {

using zandrel::testkit::AsChars;
using zandrel::testkit::Hex;
using zandrel::testkit::Same;
using zandrel::testkit::SameBytes;

// The bytes written out as escapes in a literal, for tables that build GBK text byte by byte.
inline std::string Bytes(std::initializer_list<unsigned> values) {
    std::string s;
    for (unsigned v : values) s += static_cast<char>(v);
    return s;
}

}  // namespace zandrel::test
