// The message-box rules that need no window: the default caption, the style that reaches
// MessageBoxA and the system's own numbering of the button that closed a box.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <string>

#include "frame/message_box_logic.h"
#include "test_support.h"

namespace zandrel {
namespace {

using test::Hex;
using test::Same;

TEST(MessageBoxCaption, DefaultIsInformationWithAFullWidthColon) {
    EXPECT_TRUE(Same(Hex(kDefaultCaption), "D0 C5 CF A2 A3 BA"));
}

TEST(MapMessageBoxResult, NumbersButtonsFromZeroAndCountsEverythingElseAsOk) {
    struct Case {
        int windows;
        MessageBoxResult expected;
    };
    const Case cases[] = {
        {1, kOk},      // IDOK
        {2, kCancel},  // IDCANCEL, also the close button and Esc of an OK/Cancel box
        {3, kAbort},   // IDABORT
        {4, kRetry},   // IDRETRY
        {5, kIgnore},  // IDIGNORE
        {6, kYes},     // IDYES
        {7, kNo},      // IDNO
        {0, kOk},      // the call failed
        {8, kOk},      // IDCLOSE
        {10, kOk},     // IDTRYAGAIN
        {11, kOk},     // IDCONTINUE
        {32000, kOk},  // IDTIMEOUT
        {-1, kOk},
        {INT_MIN, kOk},
        {INT_MAX, kOk},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("Windows result " + std::to_string(c.windows));
        EXPECT_TRUE(Same(static_cast<int>(MapMessageBoxResult(c.windows)), static_cast<int>(c.expected)));
    }
}

TEST(StyleForWindows, AddsTaskModalUnlessSystemModal) {
    struct Case {
        const char* what;
        std::uint32_t style, expected;
    };
    const Case cases[] = {
        {"MB_OK", kStyleOk, 0x2000},
        {"MB_OKCANCEL", kStyleOkCancel, 0x2001},
        {"MB_ICONEXCLAMATION", kStyleExclamation, 0x2030},
        {"MB_SYSTEMMODAL kept as it is", 0x1000, 0x1000},
        {"MB_SYSTEMMODAL with an icon", 0x1030, 0x1030},
        {"already task-modal", 0x2001, 0x2001},
        {"MB_ICONERROR", 0x10, 0x2010},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_TRUE(Same(StyleForWindows(c.style), c.expected));
    }
    EXPECT_TRUE(Same(kStyleOk, 0u));
    EXPECT_TRUE(Same(kStyleOkCancel, 1u));
    EXPECT_TRUE(Same(kStyleExclamation, 48u));
}

}  // namespace
}  // namespace zandrel
