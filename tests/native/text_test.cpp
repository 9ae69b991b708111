// Joining texts and converting between Text and Bytes: every length counts up to the first zero
// byte, and no byte is converted on the way.
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "exec/text.h"
#include "test_support.h"

namespace zandrel {
namespace {

using test::Hex;
using test::Same;
using test::SameBytes;

using namespace std::string_view_literals;

// The sources are UTF-8 and narrow literals are compiled to GBK; everything else in these tests
// relies on it, so check it once on a known character.
TEST(Charset, NarrowLiteralsAreGbk) {
    EXPECT_TRUE(SameBytes("信息：", "\xD0\xC5\xCF\xA2\xA3\xBA"));
}

TEST(JoinText, JoinsPartsInOrderCountingEachUpToItsFirstZeroByte) {
    struct Case {
        const char* what;
        std::string_view a, b;
        std::string_view expected;
    };
    const Case cases[] = {
        {"absent directory and a name", {}, "\\a.bat", "\\a.bat"},
        {"empty directory and a name", "", "\\a.bat", "\\a.bat"},
        {"two empties", "", "", ""},
        {"directory and a name", "C:\\tools", "\\a.bat", "C:\\tools\\a.bat"},
        {"drive root and a name", "C:", "\\a.txt", "C:\\a.txt"},
        {"zero byte inside the first part", "C:\\to\0ols"sv, "\\a.bat", "C:\\to\\a.bat"},
        {"zero byte inside the second part", "C:", "\\a\0.bat"sv, "C:\\a"},
        {"zero byte first", "\0C:"sv, "\\a.bat", "\\a.bat"},
        {"GBK directory with a 5C trail byte", "D:\\乗", "\\a.bat", "D:\\\x81\x5C\\a.bat"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const Text joined = JoinText({c.a, c.b});
        EXPECT_TRUE(SameBytes(joined, c.expected));
        EXPECT_EQ(joined.find('\0'), std::string::npos) << "got a zero byte inside " << Hex(joined)
                                                        << ", expected none";
    }
}

TEST(JoinText, JoinsMoreThanTwoPartsWithNothingBetweenThem) {
    EXPECT_TRUE(SameBytes(JoinText({"a", "", "b c", "\\d"}), "ab c\\d"));
    EXPECT_TRUE(SameBytes(JoinText({"only"}), "only"));
}

TEST(TextToBytes, KeepsTheBytesBeforeTheFirstZeroByteWithoutTerminator) {
    const std::string_view query = "adb shell getprop ro.product.model > a.txt";
    ASSERT_TRUE(Same(query.size(), 42u));
    const Bytes b = TextToBytes(query);
    EXPECT_TRUE(Same(b.size(), 42u));
    EXPECT_TRUE(SameBytes(std::string_view(reinterpret_cast<const char*>(b.data()), b.size()), query));

    EXPECT_TRUE(TextToBytes("").empty()) << "got " << Hex(TextToBytes("")) << ", expected (empty)";
    EXPECT_TRUE(TextToBytes("\0abc"sv).empty()) << "got " << Hex(TextToBytes("\0abc"sv)) << ", expected (empty)";
    EXPECT_TRUE(SameBytes(test::Hex(TextToBytes("ab\0cd"sv)), "61 62"));
    EXPECT_TRUE(SameBytes(test::Hex(TextToBytes("乗")), "81 5C"));
}

TEST(BytesToText, CutsAtTheFirstZeroByteAndChangesNothingElse) {
    struct Case {
        const char* what;
        Bytes in;
        std::string_view expected;
    };
    const Case cases[] = {
        {"no zero byte: all of it", {'S', 'M', '-', 'G', '9', '7', '3'}, "SM-G973"},
        {"zero byte first: empty", {0, 'a', 'b'}, ""},
        {"zero byte inside: the bytes before it", {'1', '0', '8', '0', 0, 'x', 0}, "1080"},
        {"empty", {}, ""},
        {"CRLF kept", {'1', '0', '\r', '\n'}, "10\r\n"},
        {"GBK bytes kept", {0xD0, 0xC5, 0xCF, 0xA2, 0x0A}, "\xD0\xC5\xCF\xA2\n"},
        {"trailing zero byte dropped", {'x', 0}, "x"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_TRUE(SameBytes(BytesToText(c.in), c.expected));
    }
}

TEST(TextView, StopsAtTheFirstZeroByte) {
    EXPECT_TRUE(SameBytes(TextView("ab\0c"sv), "ab"));
    EXPECT_TRUE(SameBytes(TextView("abc"), "abc"));
    EXPECT_TRUE(SameBytes(TextView({}), ""));
}

}  // namespace
}  // namespace zandrel
