// Reading and writing the text of a plain EDIT control, as the unlock-code and recovery-path boxes
// are read and written. Needs a display.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "frame/edit_text.h"
#include "test_window.h"
#include "win_test_support.h"

namespace zandrel {
namespace {

using wintest::SameBytes;

class EditTextTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(window_.ok()) << "could not create a window (is DISPLAY set?)";
        edit_ = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 10, 10, 300, 24,
                                window_.hwnd(), nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(edit_, nullptr);
    }

    wintest::TestWindow window_;
    HWND edit_ = nullptr;
};

// n characters cycling through the digits, the minus sign and letters.
std::string Ascii(std::size_t n) {
    static const char kChars[] = "0123456789-ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    std::string s;
    for (std::size_t i = 0; i < n; ++i) s += kChars[i % (sizeof kChars - 1)];
    return s;
}

// n GBK characters, among them several whose second byte is 0x5C or 0x7C.
std::string Gbk(std::size_t n) {
    const std::string chars[] = {"刷", "机", "乗", "镜", "像", "俓", "信", "息", "：", "亅"};
    std::string s;
    for (std::size_t i = 0; i < n; ++i) s += chars[i % (sizeof chars / sizeof chars[0])];
    return s;
}

TEST_F(EditTextTest, AnEmptyBoxReadsAsEmpty) {
    EXPECT_TRUE(SameBytes(GetEditBoxText(edit_), ""));
}

TEST_F(EditTextTest, SetTextReadsBackByteForByte) {
    struct Case {
        const char* what;
        std::string text;
    };
    const Case cases[] = {
        {"unlock code", "1234567890123456"},
        {"300 characters", Ascii(300)},
        {"1000 characters", Ascii(1000)},
        {"GBK path", "C:\\Users\\用户\\刷机 文件\\恢复镜像乗.img"},
        {"500 GBK characters (1000 bytes)", Gbk(500)},
        {"GBK and ASCII mixed, 1300 bytes", Ascii(300) + Gbk(500)},
        {"empty after text", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SetEditBoxText(edit_, c.text);
        EXPECT_TRUE(SameBytes(GetEditBoxText(edit_), c.text));
    }
}

TEST_F(EditTextTest, SetTextIgnoresTheTypingLimitAndStopsAtAZeroByte) {
    // The unlock-code box takes at most 16 typed characters; text set by the program is not cut.
    SendMessageA(edit_, EM_LIMITTEXT, 16, 0);
    const std::string longText = Ascii(300);
    SetEditBoxText(edit_, longText);
    EXPECT_TRUE(SameBytes(GetEditBoxText(edit_), longText)) << "300 characters into a box limited to 16";

    SetEditBoxText(edit_, std::string_view("信息\0hidden", 11));
    EXPECT_TRUE(SameBytes(GetEditBoxText(edit_), "信息")) << "text with a zero byte inside";
}

}  // namespace
}  // namespace zandrel
