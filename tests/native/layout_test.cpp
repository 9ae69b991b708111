// Placement, tab order, focus stepping and the keyboard rules of the window layer.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "frame/layout.h"
#include "test_support.h"

namespace zandrel {
namespace {

using test::Hex;
using test::Same;

std::string Join(const std::vector<int>& v) {
    std::string s;
    for (int i : v) s += (s.empty() ? "" : ",") + std::to_string(i);
    return "[" + s + "]";
}

TEST(CentredPosition, HalvesTheRoomLeftTruncatingTowardZero) {
    struct Case {
        const char* what;
        int screenW, screenH, w, h, x, y;
    };
    const Case cases[] = {
        {"MainWindow on 1920x1080", 1920, 1080, 404, 290, 758, 395},
        {"odd room is truncated", 1921, 1081, 404, 290, 758, 395},
        {"odd room the other way", 1024, 768, 339, 129, 342, 319},
        {"window as large as the screen", 800, 600, 800, 600, 0, 0},
        {"window larger than the screen: negative", 300, 200, 404, 290, -52, -45},
        {"negative odd room truncates toward zero, not down", 300, 200, 405, 291, -52, -45},
        {"room of -1 gives 0", 100, 100, 101, 101, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const Point p = CentredPosition(c.screenW, c.screenH, c.w, c.h);
        EXPECT_TRUE(p.x == c.x && p.y == c.y) << "got " << p.x << "," << p.y << ", expected " << c.x << "," << c.y;
    }
}

// Names of the tab stops of a window in tab order.
std::vector<std::string> TabStopNames(WindowId id) {
    const auto controls = Definition(id).controls;
    std::vector<std::string> names;
    for (int i : TabOrder(controls))
        if (controls[i].tabStop) names.push_back(Hex(controls[i].name));
    return names;
}

std::vector<std::string> HexNames(std::initializer_list<std::string_view> names) {
    std::vector<std::string> out;
    for (auto n : names) out.push_back(Hex(n));
    return out;
}

std::string JoinNames(const std::vector<std::string>& v) {
    std::string s;
    for (const auto& n : v) s += (s.empty() ? "" : " | ") + n;
    return s;
}

TEST(TabOrder, RunsThroughTheTabStopsOfEachWindowInReverseStoredOrder) {
    struct Case {
        WindowId id;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {WindowId::Main, HexNames({"按钮1", "按钮2", "按钮3", "按钮4", "按钮5", "按钮6", "按钮7", "按钮8", "按钮9",
                                   "按钮10", "按钮11"})},
        {WindowId::UnlockCode, HexNames({"编辑框1", "按钮1"})},
        {WindowId::Donation, {}},
        {WindowId::Recovery, HexNames({"按钮11", "编辑框1", "按钮4"})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.id));
        const auto got = TabStopNames(c.id);
        EXPECT_EQ(got, c.expected) << "got " << JoinNames(got) << ", expected " << JoinNames(c.expected);
    }
}

ControlDefinition WithTabOrder(std::int32_t value) {
    ControlDefinition c{ControlKind::PushButton, "x", 0, 0, 1, 1};
    c.tabOrder = value;
    return c;
}

TEST(TabOrder, AscendingValuesAndAmongEqualValuesLaterStoredFirst) {
    struct Case {
        const char* what;
        std::vector<std::int32_t> values;
        std::vector<int> expected;
    };
    const Case cases[] = {
        {"all equal: reverse of stored order", {0, 0, 0, 0}, {3, 2, 1, 0}},
        {"different values ascending", {2, 0, 1}, {1, 2, 0}},
        {"negative values first", {0, -5, 7, -1}, {1, 3, 0, 2}},
        {"mixed: ties later first", {1, 0, 1, 0, 1}, {3, 1, 4, 2, 0}},
        {"extremes", {INT32_MAX, INT32_MIN, 0}, {1, 2, 0}},
        {"one control", {0}, {0}},
        {"none", {}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<ControlDefinition> controls;
        for (auto v : c.values) controls.push_back(WithTabOrder(v));
        const auto got = TabOrder(controls);
        EXPECT_EQ(got, c.expected) << "got " << Join(got) << ", expected " << Join(c.expected);
    }
}

TEST(StepInTabOrder, WrapsSkipsIneligibleAndStartsAtAnEnd) {
    // Tab order of five controls, as indices into a window's controls; 4 and 0 are never eligible.
    const std::vector<int> order = {4, 3, 2, 1, 0};
    const auto eligible = [](int i) { return i != 4 && i != 0; };
    const auto all = [](int) { return true; };
    const auto none = [](int) { return false; };
    struct Case {
        const char* what;
        int current;
        bool forward;
        bool restricted;
        int expected;
    };
    const Case cases[] = {
        {"forward from the last wraps to the first", 0, true, false, 4},
        {"backward from the first wraps to the last", 4, false, false, 0},
        {"forward in the middle", 3, true, false, 2},
        {"backward in the middle", 2, false, false, 3},
        {"forward from none starts at the first", -1, true, false, 4},
        {"backward from none starts at the last", -1, false, false, 0},
        {"forward skips ineligible and wraps", 1, true, true, 3},
        {"backward skips ineligible and wraps", 3, false, true, 1},
        {"forward from none skips to the first eligible", -1, true, true, 3},
        {"backward from none skips to the last eligible", -1, false, true, 1},
        {"from an ineligible entry", 0, true, true, 3},
        {"current not in the order counts as none", 17, true, true, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const int got = c.restricted ? StepInTabOrder(order, c.current, c.forward, eligible)
                                     : StepInTabOrder(order, c.current, c.forward, all);
        EXPECT_TRUE(Same(got, c.expected));
    }

    const std::vector<int> single = {5};
    EXPECT_TRUE(Same(StepInTabOrder(single, 5, true, all), 5)) << " (the only eligible entry keeps the focus)";
    EXPECT_TRUE(Same(StepInTabOrder(single, 5, false, all), 5));
    EXPECT_TRUE(Same(StepInTabOrder(order, 2, true, none), -1));
    EXPECT_TRUE(Same(StepInTabOrder(order, -1, false, none), -1));
    EXPECT_TRUE(Same(StepInTabOrder({}, -1, true, all), -1));
}

TEST(StepInTabOrder, MainWindowWrapsBetweenButton11AndButton1AndNeverFocusesALabel) {
    const auto controls = Definition(WindowId::Main).controls;
    const std::vector<int> order = TabOrder(controls);
    const auto focusable = [&](int i) { return controls[i].tabStop && controls[i].visible && !controls[i].disabled; };
    int b1 = -1, b2 = -1, b11 = -1;
    ASSERT_NE(FindControl(WindowId::Main, "按钮1", &b1), nullptr);
    ASSERT_NE(FindControl(WindowId::Main, "按钮2", &b2), nullptr);
    ASSERT_NE(FindControl(WindowId::Main, "按钮11", &b11), nullptr);

    EXPECT_TRUE(Same(StepInTabOrder(order, -1, true, focusable), b1)) << " (first focus)";
    EXPECT_TRUE(Same(StepInTabOrder(order, b1, true, focusable), b2)) << " (Tab from 按钮1)";
    EXPECT_TRUE(Same(StepInTabOrder(order, b11, true, focusable), b1)) << " (Tab from 按钮11)";
    EXPECT_TRUE(Same(StepInTabOrder(order, b1, false, focusable), b11)) << " (Shift+Tab from 按钮1)";

    // A full round of Tab visits every button once and no label.
    int current = b1;
    for (std::size_t step = 0; step < 11; ++step) {
        current = StepInTabOrder(order, current, true, focusable);
        ASSERT_GE(current, 0);
        EXPECT_TRUE(Same(static_cast<int>(controls[current].kind), static_cast<int>(ControlKind::PushButton)));
    }
    EXPECT_TRUE(Same(current, b1)) << " (after eleven Tabs)";
}

TEST(TranslateKey, TabShiftTabAndEscAreTheOnlyKeysTheWindowLayerTakes) {
    constexpr unsigned kTab = 0x09, kReturn = 0x0D, kEscape = 0x1B, kSpace = 0x20, kF1 = 0x70, kLeft = 0x25,
                       kA = 'A', k1 = '1', kF4 = 0x73;
    struct Case {
        const char* what;
        KeyState key;
        KeyCommand expected;
    };
    const Case cases[] = {
        {"Tab", {kTab, false, false, false, false}, KeyCommand::FocusNext},
        {"Shift+Tab", {kTab, true, false, false, false}, KeyCommand::FocusPrevious},
        {"Esc", {kEscape, false, false, false, false}, KeyCommand::CloseWindow},
        {"Enter", {kReturn, false, false, false, false}, KeyCommand::PassOn},
        {"Alt+A", {kA, false, false, true, false}, KeyCommand::PassOn},
        {"Alt+1", {k1, false, false, true, false}, KeyCommand::PassOn},
        {"Ctrl+Tab", {kTab, false, true, false, false}, KeyCommand::PassOn},
        {"Ctrl+Shift+Tab", {kTab, true, true, false, false}, KeyCommand::PassOn},
        {"Alt+Tab", {kTab, false, false, true, false}, KeyCommand::PassOn},
        {"Alt+F4 is left to the system", {kF4, false, false, true, false}, KeyCommand::PassOn},
        {"Space", {kSpace, false, false, false, false}, KeyCommand::PassOn},
        {"F1", {kF1, false, false, false, false}, KeyCommand::PassOn},
        {"arrow key", {kLeft, false, false, false, false}, KeyCommand::PassOn},
        {"Tab claimed by the control", {kTab, false, false, false, true}, KeyCommand::PassOn},
        {"Esc claimed by the control", {kEscape, false, false, false, true}, KeyCommand::PassOn},
        {"Enter claimed by the control", {kReturn, false, false, false, true}, KeyCommand::PassOn},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_TRUE(Same(static_cast<int>(TranslateKey(c.key)), static_cast<int>(c.expected)))
            << " (0 pass on, 1 next, 2 previous, 3 close)";
    }
}

TEST(EditMinimumHeight, IsTheTextHeightPlusTwoEdges) {
    EXPECT_TRUE(Same(EditMinimumHeight(16, 2), 20));
    EXPECT_TRUE(Same(EditMinimumHeight(21, 2), 25));
    EXPECT_TRUE(Same(EditMinimumHeight(13, 0), 13));
}

TEST(CentredBandTop, CentresTheBandAndKeepsTheTopWhenItDoesNotFit) {
    struct Case {
        const char* what;
        int top, bottom, band, expected;
    };
    const Case cases[] = {
        {"even room", 0, 20, 16, 2},
        {"odd room truncates", 0, 21, 16, 2},
        {"offset area", 1, 23, 16, 4},
        {"band exactly fits", 3, 19, 16, 3},
        {"band taller than the area", 0, 14, 16, 0},
        {"empty band", 0, 10, 0, 5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_TRUE(Same(CentredBandTop(c.top, c.bottom, c.band), c.expected));
    }
}

}  // namespace
}  // namespace zandrel
