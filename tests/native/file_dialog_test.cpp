// The open-file dialog's settings turned into what GetOpenFileNameA takes: the filter string (by GBK
// characters, so that a trail byte of 0x7C or 0x20 is neither a bar nor a blank), the filter index
// and the flags word.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <string>
#include <string_view>

#include "frame/file_dialog_logic.h"
#include "test_support.h"

namespace zandrel {
namespace {

using test::Hex;
using test::Same;
using test::SameBytes;

using namespace std::string_view_literals;

TEST(DialogFilterString, TrimsAppendsTheEndAndTurnsBarsIntoZeroBytes) {
    // "亅" is GBK 81 7C: its trail byte is a bar. GBK has no character with a trail byte of 0x20,
    // so "\x81 " stands for what the code-page stepping takes as one double-byte character.
    ASSERT_TRUE(SameBytes("亅", "\x81\x7C"));
    struct Case {
        const char* what;
        std::string_view filter, expected;
    };
    const Case cases[] = {
        {"the stored filter", "img文件|*.img", "img文件\0*.img\0\0"sv},
        {"trailing blanks", "img文件|*.img   ", "img文件\0*.img\0\0"sv},
        {"trailing tab and line break", "img文件|*.img\t\r\n", "img文件\0*.img\0\0"sv},
        {"already ends in ||", "img文件|*.img||", "img文件\0*.img\0\0"sv},
        {"ends in || then blanks", "img文件|*.img|| ", "img文件\0*.img\0\0"sv},
        {"two pairs", "img|*.img|All|*.*", "img\0*.img\0All\0*.*\0\0"sv},
        {"one trailing bar gets two more", "img|*.img|", "img\0*.img\0\0\0"sv},
        {"empty", "", ""},
        {"blanks only", "  \t ", ""},
        {"zero byte first counts as empty", "\0img|*.img"sv, ""},
        {"zero byte ends the filter", "img|*.img\0|x|y"sv, "img\0*.img\0\0"sv},
        {"leading blanks are kept", " img|*.img", " img\0*.img\0\0"sv},
        {"name holding 81 7C is not split there", "亅文件|*.img", "\x81\x7C\xCE\xC4\xBC\xFE\0*.img\0\0"sv},
        {"81 7C right before a real bar", "a亅|*.img", "a\x81\x7C\0*.img\0\0"sv},
        {"pattern ending in 81 7C", "img|*.亅", "img\0*.\x81\x7C\0\0"sv},
        {"name ending in a character with trail byte 20 is not trimmed", "img|*.img|x\x81 ",
         "img\0*.img\0x\x81 \0\0"sv},
        {"trail byte 20 then real blanks", "a\x81   ", "a\x81 \0\0"sv},
        // A lone lead byte at the end pairs with the first bar appended, as stepping by characters
        // reads it; the list still ends in a zero byte plus the terminator.
        {"lone lead byte at the end takes the first appended bar", "img|*.img\x81", "img\0*.img\x81\x7C\0"sv},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string got = DialogFilterString(c.filter);
        EXPECT_TRUE(SameBytes(got, c.expected));
        // What reaches the dialog is got.c_str(): a non-empty list must end in a zero byte, which with
        // the terminator makes the empty string that ends the list.
        EXPECT_TRUE(got.empty() || got.back() == '\0') << "got [" << Hex(got) << "], expected it to end in 00";
    }
}

TEST(DialogFilterIndex, SelectsTheOneBasedPairOrNoneWithoutAFilter) {
    const std::string filter = DialogFilterString("img文件|*.img");
    struct Case {
        std::int32_t index;
        bool withFilter;
        std::uint32_t expected;
    };
    const Case cases[] = {
        {-3, true, 1}, {0, true, 1}, {1, true, 2}, {INT32_MIN, true, 1}, {INT32_MAX, true, 0x80000000u},
        {-3, false, 0}, {0, false, 0}, {1, false, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("FilterIndex " + std::to_string(c.index) + (c.withFilter ? " with a filter" : " without a filter"));
        EXPECT_TRUE(Same(DialogFilterIndex(c.withFilter ? std::string_view(filter) : std::string_view(), c.index),
                         c.expected));
    }
}

TEST(DialogFlags, StoredSettingsAndEachBoolSetting) {
    constexpr std::uint32_t OFN_OVERWRITEPROMPT_ = 0x2, OFN_HIDEREADONLY_ = 0x4, OFN_NOCHANGEDIR_ = 0x8,
                            OFN_ENABLEHOOK_ = 0x20, OFN_PATHMUSTEXIST_ = 0x800, OFN_FILEMUSTEXIST_ = 0x1000,
                            OFN_CREATEPROMPT_ = 0x2000, OFN_EXPLORER_ = 0x80000, OFN_ENABLESIZING_ = 0x800000;
    constexpr std::uint32_t kAlways = OFN_HIDEREADONLY_ | OFN_EXPLORER_ | OFN_ENABLESIZING_ | OFN_ENABLEHOOK_;

    const ControlDefinition* placeholder = FindControl(WindowId::Recovery, "通用对话框1");
    ASSERT_NE(placeholder, nullptr);
    const OpenFileDialogState stored = LoadDialogState(placeholder->dialog);
    const std::uint32_t flags = DialogFlags(stored);
    EXPECT_TRUE(Same(flags, kAlways | OFN_FILEMUSTEXIST_ | OFN_OVERWRITEPROMPT_ | OFN_PATHMUSTEXIST_));
    EXPECT_TRUE(Same(flags & OFN_CREATEPROMPT_, 0u));
    EXPECT_TRUE(Same(flags & OFN_NOCHANGEDIR_, 0u));

    struct Case {
        const char* what;
        bool OpenFileDialogState::*setting;
        std::uint32_t flag;
    };
    const Case cases[] = {
        {"CreatePrompt", &OpenFileDialogState::createPrompt, OFN_CREATEPROMPT_},
        {"FileMustExist", &OpenFileDialogState::fileMustExist, OFN_FILEMUSTEXIST_},
        {"OverwritePrompt", &OpenFileDialogState::overwritePrompt, OFN_OVERWRITEPROMPT_},
        {"PathMustExist", &OpenFileDialogState::pathMustExist, OFN_PATHMUSTEXIST_},
        {"NoChangeDirectory", &OpenFileDialogState::noChangeDirectory, OFN_NOCHANGEDIR_},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        OpenFileDialogState s;
        s.createPrompt = s.fileMustExist = s.overwritePrompt = s.pathMustExist = s.noChangeDirectory = false;
        EXPECT_TRUE(Same(DialogFlags(s), kAlways));
        s.*c.setting = true;
        EXPECT_TRUE(Same(DialogFlags(s), kAlways | c.flag));
    }
}

TEST(LoadDialogState, CopiesTheStoredSettingsOfTheRecoveryImageDialog) {
    const ControlDefinition* placeholder = FindControl(WindowId::Recovery, "通用对话框1");
    ASSERT_NE(placeholder, nullptr);
    const OpenFileDialogState s = LoadDialogState(placeholder->dialog);
    EXPECT_TRUE(SameBytes(s.filter, "img\xCE\xC4\xBC\xFE|*.img"));
    EXPECT_TRUE(SameBytes(s.title, ""));
    EXPECT_TRUE(SameBytes(s.fileName, ""));
    EXPECT_TRUE(SameBytes(s.initialDirectory, ""));
    EXPECT_TRUE(SameBytes(s.defaultExtension, ""));
    EXPECT_TRUE(Same(s.filterIndex, 0));
    EXPECT_FALSE(s.createPrompt) << "got CreatePrompt true, expected false";
    EXPECT_TRUE(s.fileMustExist) << "got FileMustExist false, expected true";
    EXPECT_TRUE(s.overwritePrompt) << "got OverwritePrompt false, expected true";
    EXPECT_TRUE(s.pathMustExist) << "got PathMustExist false, expected true";
    EXPECT_FALSE(s.noChangeDirectory) << "got NoChangeDirectory true, expected false";
}

TEST(LoadDialogState, CopiesEveryFieldIntoAnInstanceOfItsOwn) {
    OpenFileDialogSettings stored;
    stored.title = "选择";
    stored.fileName = "D:\\乗\\r.img";
    stored.filter = "a|*.a";
    stored.filterIndex = -3;
    stored.initialDirectory = "D:\\乗";
    stored.defaultExtension = "img";
    stored.createPrompt = true;
    stored.fileMustExist = false;
    stored.overwritePrompt = false;
    stored.pathMustExist = false;
    stored.noChangeDirectory = true;

    OpenFileDialogState s = LoadDialogState(stored);
    EXPECT_TRUE(SameBytes(s.title, stored.title));
    EXPECT_TRUE(SameBytes(s.fileName, stored.fileName));
    EXPECT_TRUE(SameBytes(s.filter, stored.filter));
    EXPECT_TRUE(Same(s.filterIndex, -3));
    EXPECT_TRUE(SameBytes(s.initialDirectory, stored.initialDirectory));
    EXPECT_TRUE(SameBytes(s.defaultExtension, stored.defaultExtension));
    EXPECT_TRUE(s.createPrompt && !s.fileMustExist && !s.overwritePrompt && !s.pathMustExist && s.noChangeDirectory)
        << "got bools " << s.createPrompt << s.fileMustExist << s.overwritePrompt << s.pathMustExist
        << s.noChangeDirectory << ", expected 10001";

    // The loaded instance owns its texts: changing it leaves the stored settings alone.
    s.fileName = "C:\\other.img";
    EXPECT_TRUE(SameBytes(stored.fileName, "D:\\\x81\x5C\\r.img"));
}

}  // namespace
}  // namespace zandrel
