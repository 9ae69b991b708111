// What the unlock-code box (digits and minus sign only) and the image-path box (anything) let in
// from the keyboard and from the clipboard.
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "frame/edit_filter.h"
#include "test_support.h"

namespace zandrel {
namespace {

using test::Same;
using test::SameBytes;

TEST(AcceptsTypedChar, DigitsAndMinusModeKeepsDigitsMinusAndControlCharacters) {
    struct Case {
        const char* what;
        unsigned code;
        bool accepted;
    };
    const Case cases[] = {
        {"0", '0', true}, {"9", '9', true}, {"5", '5', true}, {"minus", '-', true},
        {"Backspace", 8, true}, {"Ctrl+C", 3, true}, {"Ctrl+V", 22, true}, {"Ctrl+X", 24, true},
        {"Enter", 13, true}, {"Tab", 9, true}, {"NUL", 0, true}, {"31", 31, true},
        {"letter a", 'a', false}, {"letter Z", 'Z', false}, {"blank", ' ', false}, {"plus", '+', false},
        {"dot", '.', false}, {"slash before 0", '/', false}, {"colon after 9", ':', false},
        {"DEL", 0x7F, false}, {"byte 80", 0x80, false}, {"GBK lead byte B0", 0xB0, false},
        {"byte FF", 0xFF, false}, {"UTF-16 full-width digit", 0xFF11, false},
        {"digit plus 256", '1' + 256u, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_TRUE(Same(AcceptsTypedChar(InputMode::DigitsAndMinus, c.code), c.accepted));
    }
}

TEST(AcceptsTypedChar, AnyModeAcceptsEveryCharacter) {
    for (unsigned code : {0u, 8u, 22u, unsigned{'a'}, unsigned{' '}, unsigned{'+'}, 0x80u, 0xB0u, 0xFFu, 0xFF11u}) {
        SCOPED_TRACE(code);
        EXPECT_TRUE(Same(AcceptsTypedChar(InputMode::Any, code), true));
    }
}

TEST(FilterPastedText, DigitsAndMinusModeKeepsOnlyDigitsAndMinusUpToTheRoomLeft) {
    struct Case {
        const char* what;
        std::string_view text;
        std::size_t room;
        std::string_view expected;
    };
    const Case cases[] = {
        {"mixed text", "12ab-3 4", 16, "12-34"},
        {"room limits the count", "12ab-3 4", 3, "12-"},
        {"room counts kept characters, not dropped ones", "ab1cd2ef3gh4", 3, "123"},
        {"no room", "1234", 0, ""},
        {"exactly the room", "1234567890123456", 16, "1234567890123456"},
        {"more than the room", "12345678901234567890", 16, "1234567890123456"},
        {"nothing to keep", "abc +.", 16, ""},
        {"empty", "", 16, ""},
        {"CRLF and tab dropped", "12\r\n34\t5", 16, "12345"},
        // GBK trail bytes are 0x40 or above, so no byte of a double-byte character passes as a digit:
        // "１２" (full-width) and "乗" (81 5C) leave nothing behind.
        {"GBK text between digits", "1乗2\xA3\xB1\xA3\xB2-3", 16, "12-3"},
        {"full-width digits", "\xA3\xB1\xA3\xB2", 16, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_TRUE(SameBytes(FilterPastedText(InputMode::DigitsAndMinus, c.text, c.room), c.expected));
    }
}

TEST(FilterPastedText, AnyModeTakesTheTextUnchanged) {
    const std::string_view text = "D:\\刷机\\a b+.img\r\n";
    EXPECT_TRUE(SameBytes(FilterPastedText(InputMode::Any, text, 16), text));
    EXPECT_TRUE(SameBytes(FilterPastedText(InputMode::Any, text, 0), text));
    EXPECT_TRUE(SameBytes(FilterPastedText(InputMode::Any, "", 0), ""));
}

}  // namespace
}  // namespace zandrel
