// Cutting the module path at its last backslash, stepping through it by GBK characters: the second
// byte of a double-byte character is never a separator, even when it is 0x5C.
#include <gtest/gtest.h>

#include <string_view>

#include "exec/run_directory_path.h"
#include "test_support.h"

namespace zandrel {
namespace {

using test::Same;
using test::SameBytes;

TEST(DirectoryOfPath, CutsAtTheLastRealBackslash) {
    // "乗" is GBK 81 5C: its trail byte is a backslash.
    ASSERT_TRUE(SameBytes("乗", "\x81\x5C"));
    struct Case {
        const char* what;
        std::string_view path, expected;
    };
    const Case cases[] = {
        {"plain path", "C:\\Program Files\\Zandrel\\zandrel.exe", "C:\\Program Files\\Zandrel"},
        {"folder ending in 81 5C before the last backslash", "C:\\dir乗\\zandrel.exe", "C:\\dir乗"},
        {"81 5C as the last character, no separator after it", "C:\\dir乗", "C:"},
        {"81 5C right after the drive", "C:乗", ""},
        {"folder made only of 81 5C characters", "D:\\乗乗\\a\\乗.exe", "D:\\乗乗\\a"},
        {"no backslash at all", "zandrel.exe", ""},
        {"empty path", "", ""},
        {"drive root: two bytes", "C:\\zandrel.exe", "C:"},
        {"backslash first", "\\zandrel.exe", ""},
        {"UNC path", "\\\\server\\share\\zandrel.exe", "\\\\server\\share"},
        {"lone lead byte at the end", "C:\\tools\\a\x81", "C:\\tools"},
        {"lone lead byte right after the last backslash", "C:\\tools\\\x81", "C:\\tools"},
        {"lead byte before the last backslash pairs with it", "C:\\tools\x81\\", "C:"},
        {"other GBK folder names", "E:\\刷机工具\\zandrel.exe", "E:\\刷机工具"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string_view dir = DirectoryOfPath(c.path);
        EXPECT_TRUE(SameBytes(dir, c.expected));
        EXPECT_TRUE(dir.empty() || dir.back() != '\\' || (dir.size() >= 2 && IsGbkLeadByte(dir[dir.size() - 2])))
            << "got a run directory ending in a separator, expected none";
    }
}

TEST(GbkCharLength, LeadBytesTakeTheNextByteUnlessAtTheEnd) {
    struct Case {
        const char* what;
        std::string_view text;
        std::size_t index, expected;
    };
    const Case cases[] = {
        {"ASCII", "ab", 0, 1},
        {"lead byte 81 with a 5C trail", "\x81\x5C", 0, 2},
        {"lead byte FE", "\xFE\x40", 0, 2},
        {"80 is not a lead byte", "\x80\x5C", 0, 1},
        {"FF is not a lead byte", "\xFF\x5C", 0, 1},
        {"lead byte at the end", "a\x81", 1, 1},
        {"trail byte read on its own", "\x81\x5C", 1, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_TRUE(Same(GbkCharLength(c.text, c.index), c.expected));
    }
}

}  // namespace
}  // namespace zandrel

namespace zandrel {
namespace {

TEST(DirectoryWithSeparator, EndsInExactlyOneRealBackslash) {
    struct Case {
        const char* what;
        std::string_view dir, expected;
    };
    const Case cases[] = {
        {"drive root: its root, not the drive's current directory", "C:", "C:\\"},
        {"folder", "C:\\tools", "C:\\tools\\"},
        {"already ends in a backslash", "C:\\", "C:\\"},
        {"ends in 乗, whose trail byte 5C is no separator", "C:\\dir乗", "C:\\dir乗\\"},
        {"empty stays empty", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_TRUE(test::SameBytes(DirectoryWithSeparator(c.dir), c.expected));
    }
}

}  // namespace
}  // namespace zandrel
