// The four window definitions: the GBK bytes of the captions that are easy to get wrong, the outer
// sizes, the invariants that hold for every control, and a few representative rows.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <string_view>

#include "frame/window_definition.h"
#include "test_support.h"

namespace zandrel {
namespace {

using test::Hex;
using test::Same;
using test::SameBytes;

constexpr WindowId kAllWindows[] = {WindowId::Main, WindowId::UnlockCode, WindowId::Donation, WindowId::Recovery};

const char* WindowName(WindowId id) {
    switch (id) {
        case WindowId::Main: return "MainWindow";
        case WindowId::UnlockCode: return "UnlockCodeWindow";
        case WindowId::Donation: return "DonationWindow";
        case WindowId::Recovery: return "RecoveryWindow";
    }
    return "?";
}

const ControlDefinition& Control(WindowId id, std::string_view name) {
    const ControlDefinition* c = FindControl(id, name);
    if (!c) {
        ADD_FAILURE() << "got no control " << Hex(name) << " in " << WindowName(id) << ", expected one";
        static const ControlDefinition missing{ControlKind::Label, "", 0, 0, 0, 0};
        return missing;
    }
    return *c;
}

std::string_view FaceName(const StoredFont& f) {
    return std::string_view(f.faceName.data(), strnlen(f.faceName.data(), f.faceName.size()));
}

TEST(WindowTables, CaptionsHaveTheirExactGbkBytes) {
    struct Case {
        const char* what;
        std::string_view got, expectedHex;
    };
    const Case cases[] = {
        {"MainWindow", Definition(WindowId::Main).caption, "5A 61 6E 64 72 65 6C 20 42 79 20 51 75 69 76 6F 6E"},
        // "捐助 (哪怕是1分也行啊！)": an ASCII blank and parentheses, a full-width exclamation mark A3 A1.
        {"MainWindow 按钮10", Control(WindowId::Main, "按钮10").caption,
         "BE E8 D6 FA 20 28 C4 C4 C5 C2 CA C7 31 B7 D6 D2 B2 D0 D0 B0 A1 A3 A1 29"},
        // "请输入16位解锁码:" ends in an ASCII colon.
        {"UnlockCodeWindow", Definition(WindowId::UnlockCode).caption,
         "C7 EB CA E4 C8 EB 31 36 CE BB BD E2 CB F8 C2 EB 3A"},
        // "QQ", eight blanks, "微信".
        {"DonationWindow 标签1", Control(WindowId::Donation, "标签1").caption,
         "51 51 20 20 20 20 20 20 20 20 CE A2 D0 C5"},
        {"DonationWindow", Definition(WindowId::Donation).caption, "(empty)"},
        {"RecoveryWindow", Definition(WindowId::Recovery).caption, "(empty)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_TRUE(Same(Hex(c.got), c.expectedHex));
    }
}

TEST(WindowTables, OuterSizesAndStoredPositions) {
    struct Case {
        WindowId id;
        int width, height;
    };
    const Case cases[] = {
        {WindowId::Main, 404, 290},
        {WindowId::UnlockCode, 340, 129},
        {WindowId::Donation, 380, 250},
        {WindowId::Recovery, 380, 164},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(WindowName(c.id));
        const WindowDefinition& w = Definition(c.id);
        EXPECT_TRUE(Same(w.width, c.width));
        EXPECT_TRUE(Same(w.height, c.height));
        EXPECT_TRUE(Same(w.storedLeft, 50));
        EXPECT_TRUE(Same(w.storedTop, 50));
        EXPECT_TRUE(Same(w.background, SystemFaceColour));
    }
}

TEST(WindowTables, ControlNamesAreUniqueWithinTheirWindowAndFoundByName) {
    for (WindowId id : kAllWindows) {
        SCOPED_TRACE(WindowName(id));
        const auto controls = Definition(id).controls;
        std::set<std::string_view> seen;
        for (std::size_t i = 0; i < controls.size(); ++i) {
            const std::string_view name = controls[i].name;
            EXPECT_FALSE(name.empty()) << "got an empty name at index " << i << ", expected a name";
            EXPECT_TRUE(seen.insert(name).second) << "got " << Hex(name) << " twice, expected it once";
            int index = -1;
            EXPECT_EQ(FindControl(id, name, &index), &controls[i]);
            EXPECT_TRUE(Same(index, static_cast<int>(i)));
        }
    }
    EXPECT_EQ(FindControl(WindowId::Main, "按钮12"), nullptr);
    // 按钮1 exists in three windows.
    EXPECT_NE(FindControl(WindowId::Main, "按钮1"), nullptr);
    EXPECT_NE(FindControl(WindowId::UnlockCode, "按钮1"), nullptr);
    EXPECT_EQ(FindControl(WindowId::Recovery, "按钮1"), nullptr);
}

TEST(WindowTables, ControlInvariantsHoldInEveryWindow) {
    for (WindowId id : kAllWindows) {
        for (const ControlDefinition& c : Definition(id).controls) {
            SCOPED_TRACE(std::string(WindowName(id)) + " " + Hex(c.name));
            EXPECT_TRUE(Same(c.tabOrder, 0));
            EXPECT_FALSE(c.disabled) << "got a disabled control, expected every control enabled";
            EXPECT_TRUE(c.width > 0 && c.height > 0) << "got " << c.width << "x" << c.height << ", expected a positive size";
            // Only push buttons run a click action.
            EXPECT_EQ(c.click != ActionId::None, c.kind == ControlKind::PushButton)
                << "got click action " << static_cast<int>(c.click) << " on kind " << static_cast<int>(c.kind);
            if (c.kind == ControlKind::Label || c.kind == ControlKind::PushButton) {
                EXPECT_TRUE(c.hasFont) << "got no stored font, expected one on every label and button";
            }
            if (c.kind == ControlKind::Label) {
                EXPECT_FALSE(c.tabStop) << "got a label that is a tab stop, expected none";
                EXPECT_TRUE(Same(c.label.textColour, 0x000000u));
                EXPECT_TRUE(Same(c.label.backColour, SystemFaceColour));
                EXPECT_TRUE(Same(static_cast<int>(c.label.horizontal), 0));
            }
            if (c.kind == ControlKind::EditBox) {
                EXPECT_TRUE(Same(c.edit.textColour, 0x000000u));
                EXPECT_TRUE(Same(c.edit.backColour, 0xFFFFFFu));
                EXPECT_TRUE(Same(c.edit.borderStyle, 5));
                EXPECT_TRUE(c.edit.hideSelection) << "got hideSelection off, expected on";
                EXPECT_FALSE(c.edit.multiLine) << "got a multi-line box, expected single-line";
                EXPECT_TRUE(c.caption.empty()) << "got content " << Hex(c.caption) << ", expected (empty)";
            }
        }
    }
}

TEST(WindowTables, EveryStoredFontIsYaheiLightWithTheHeightOfItsRow) {
    // The 微软雅黑 Light face, in GBK, as LOGFONTA holds it.
    const std::string_view kFaceHex = "CE A2 C8 ED D1 C5 BA DA 20 4C 69 67 68 74";
    struct Row {
        WindowId id;
        std::string_view name;
        int lfHeight;  // 0: no stored font
    };
    const Row rows[] = {
        {WindowId::Main, "标签3", -12}, {WindowId::Main, "按钮11", -19}, {WindowId::Main, "按钮10", -14},
        {WindowId::Main, "标签2", -12}, {WindowId::Main, "按钮9", -14}, {WindowId::Main, "按钮8", -14},
        {WindowId::Main, "按钮7", -14}, {WindowId::Main, "按钮6", -14}, {WindowId::Main, "标签1", -14},
        {WindowId::Main, "按钮5", -19}, {WindowId::Main, "按钮4", -20}, {WindowId::Main, "按钮3", -19},
        {WindowId::Main, "按钮2", -14}, {WindowId::Main, "按钮1", -15},
        {WindowId::UnlockCode, "标签1", -14}, {WindowId::UnlockCode, "按钮1", -14}, {WindowId::UnlockCode, "编辑框1", 0},
        {WindowId::Donation, "图片框2", 0}, {WindowId::Donation, "图片框1", 0}, {WindowId::Donation, "标签1", -56},
        {WindowId::Recovery, "按钮4", -20}, {WindowId::Recovery, "通用对话框1", 0}, {WindowId::Recovery, "编辑框1", -12},
        {WindowId::Recovery, "按钮11", -32},
    };
    std::size_t controlCount = 0;
    for (WindowId id : kAllWindows) controlCount += Definition(id).controls.size();
    EXPECT_TRUE(Same(std::size(rows), controlCount)) << " (rows of this table against controls defined)";

    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(WindowName(r.id)) + " " + Hex(r.name));
        const ControlDefinition& c = Control(r.id, r.name);
        EXPECT_TRUE(Same(c.hasFont, r.lfHeight != 0));
        if (!c.hasFont) continue;
        const StoredFont& f = c.font;
        EXPECT_TRUE(Same(f.height, r.lfHeight));
        EXPECT_TRUE(Same(f.weight, 290));
        EXPECT_TRUE(Same(Hex(FaceName(f)), kFaceHex));
        EXPECT_TRUE(f.width == 0 && f.escapement == 0 && f.orientation == 0)
            << "got width/escapement/orientation " << f.width << "/" << f.escapement << "/" << f.orientation
            << ", expected 0/0/0";
        EXPECT_TRUE(f.italic == 0 && f.underline == 0 && f.strikeOut == 0)
            << "got italic/underline/strikeOut " << +f.italic << "/" << +f.underline << "/" << +f.strikeOut
            << ", expected 0/0/0";
        // The face name is ended by a zero byte inside the 32 bytes of lfFaceName.
        EXPECT_NE(std::memchr(f.faceName.data(), 0, f.faceName.size()), nullptr) << "got an unterminated face name";
    }
}

TEST(FontForCreation, ReplacesExactlyTheFiveMembersAndKeepsTheRest) {
    StoredFont stored;
    stored.height = -19;
    stored.width = 3;
    stored.escapement = 450;
    stored.orientation = 900;
    stored.weight = 290;
    stored.italic = 1;
    stored.underline = 1;
    stored.strikeOut = 1;
    stored.charSet = 134;       // GB2312_CHARSET
    stored.outPrecision = 7;    // OUT_TT_ONLY_PRECIS
    stored.clipPrecision = 2;   // CLIP_STROKE_PRECIS
    stored.quality = 5;         // CLEARTYPE_QUALITY
    stored.pitchAndFamily = 0x22;  // VARIABLE_PITCH | FF_SWISS
    const char face[] = "微软雅黑 Light";
    std::memcpy(stored.faceName.data(), face, sizeof face);
    stored.faceName[31] = 'z';  // bytes after the terminator are kept as well

    const StoredFont made = FontForCreation(stored);
    EXPECT_TRUE(Same(+made.charSet, 1));         // DEFAULT_CHARSET
    EXPECT_TRUE(Same(+made.outPrecision, 0));    // OUT_DEFAULT_PRECIS
    EXPECT_TRUE(Same(+made.clipPrecision, 0));   // CLIP_DEFAULT_PRECIS
    EXPECT_TRUE(Same(+made.quality, 2));         // PROOF_QUALITY
    EXPECT_TRUE(Same(+made.pitchAndFamily, 0));  // DEFAULT_PITCH

    EXPECT_TRUE(Same(made.height, -19));
    EXPECT_TRUE(Same(made.width, 3));
    EXPECT_TRUE(Same(made.escapement, 450));
    EXPECT_TRUE(Same(made.orientation, 900));
    EXPECT_TRUE(Same(made.weight, 290));
    EXPECT_TRUE(Same(+made.italic, 1));
    EXPECT_TRUE(Same(+made.underline, 1));
    EXPECT_TRUE(Same(+made.strikeOut, 1));
    EXPECT_TRUE(SameBytes(std::string_view(made.faceName.data(), 32), std::string_view(stored.faceName.data(), 32)));
}

TEST(WindowTables, MainWindowHasFourteenControlsButtonsTabStopsLabelsNot) {
    const WindowDefinition& w = Definition(WindowId::Main);
    ASSERT_TRUE(Same(w.controls.size(), 14u));
    EXPECT_TRUE(Same(static_cast<int>(w.created), static_cast<int>(ActionId::DoNothing)));
    int buttons = 0, labels = 0;
    for (const ControlDefinition& c : w.controls) {
        SCOPED_TRACE(Hex(c.name));
        EXPECT_TRUE(c.visible) << "got an invisible control, expected all visible";
        EXPECT_FALSE(c.disabled) << "got a disabled control, expected all enabled";
        if (c.kind == ControlKind::PushButton) {
            ++buttons;
            EXPECT_TRUE(c.tabStop) << "got a button that is no tab stop, expected every button a tab stop";
        } else {
            ++labels;
            EXPECT_TRUE(Same(static_cast<int>(c.kind), static_cast<int>(ControlKind::Label)));
            EXPECT_FALSE(c.tabStop) << "got a label that is a tab stop, expected none";
        }
    }
    EXPECT_TRUE(Same(buttons, 11));
    EXPECT_TRUE(Same(labels, 3));
}

TEST(WindowTables, MainWindowButtonsRunTheirActions) {
    struct Case {
        std::string_view name;
        ActionId action;
    };
    const Case cases[] = {
        {"按钮1", ActionId::RebootRecovery}, {"按钮2", ActionId::RebootBootloader}, {"按钮3", ActionId::Reboot},
        {"按钮4", ActionId::PowerOff}, {"按钮5", ActionId::OpenUnlockCode}, {"按钮6", ActionId::QueryModel},
        {"按钮7", ActionId::QueryResolution}, {"按钮8", ActionId::QueryDensity}, {"按钮9", ActionId::QueryRelease},
        {"按钮10", ActionId::OpenDonation}, {"按钮11", ActionId::ConfirmRecovery},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Hex(c.name));
        EXPECT_TRUE(Same(static_cast<int>(Control(WindowId::Main, c.name).click), static_cast<int>(c.action)));
    }
}

TEST(WindowTables, RepresentativeRowsOfTheSecondaryWindows) {
    const ControlDefinition& code = Control(WindowId::UnlockCode, "编辑框1");
    EXPECT_TRUE(Same(static_cast<int>(code.kind), static_cast<int>(ControlKind::EditBox)));
    EXPECT_TRUE(Same(code.edit.maxLength, 16));
    EXPECT_TRUE(Same(static_cast<int>(code.edit.inputMode), 3));
    EXPECT_FALSE(code.hasFont) << "got a stored font, expected none (DEFAULT_GUI_FONT)";
    EXPECT_TRUE(code.tabStop) << "got no tab stop, expected one";
    EXPECT_TRUE(Same(static_cast<int>(Control(WindowId::UnlockCode, "按钮1").click),
                     static_cast<int>(ActionId::SendUnlockCode)));

    for (const ControlDefinition& c : Definition(WindowId::Donation).controls) {
        SCOPED_TRACE(Hex(c.name));
        EXPECT_FALSE(c.tabStop) << "got a tab stop in DonationWindow, expected none";
        EXPECT_TRUE(c.visible) << "got an invisible control, expected all visible";
    }
    EXPECT_TRUE(Same(static_cast<int>(Definition(WindowId::Donation).created), static_cast<int>(ActionId::None)));
    EXPECT_FALSE(Control(WindowId::Donation, "标签1").label.wordWrap) << "got word wrap on, expected off";

    const ControlDefinition& dialog = Control(WindowId::Recovery, "通用对话框1");
    EXPECT_TRUE(Same(static_cast<int>(dialog.kind), static_cast<int>(ControlKind::OpenFileDialog)));
    EXPECT_FALSE(dialog.visible) << "got a visible dialog placeholder, expected it invisible";
    EXPECT_FALSE(dialog.tabStop) << "got a dialog placeholder that is a tab stop, expected none";
    EXPECT_TRUE(SameBytes(dialog.dialog.filter, "img\xCE\xC4\xBC\xFE|*.img"));

    const ControlDefinition& path = Control(WindowId::Recovery, "编辑框1");
    EXPECT_TRUE(Same(path.edit.maxLength, 0));
    EXPECT_TRUE(Same(static_cast<int>(path.edit.inputMode), 0));
    EXPECT_TRUE(path.left == 8 && path.top == 72 && path.width == 360 && path.height == 16)
        << "got " << path.left << "," << path.top << " " << path.width << "x" << path.height
        << ", expected 8,72 360x16";
    EXPECT_TRUE(Same(static_cast<int>(Definition(WindowId::Recovery).created), static_cast<int>(ActionId::None)));
}

}  // namespace
}  // namespace zandrel
