// ShowMode to Windows show command: RunCommandLine pulls values outside 1..6 to the nearest end,
// ShellOpen falls back to SW_SHOWNORMAL; row 5 differs between the two. And ShellOpen's verbs.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <optional>
#include <string>

#include "exec/show_mode.h"
#include "test_support.h"

namespace zandrel {
namespace {

using test::Same;

// SW_ values as Windows defines them, written out here rather than taken from the code under test.
constexpr int SW_HIDE_ = 0, SW_SHOWNORMAL_ = 1, SW_SHOWMINIMIZED_ = 2, SW_SHOWMAXIMIZED_ = 3,
              SW_SHOWNOACTIVATE_ = 4, SW_MINIMIZE_ = 6, SW_SHOWNA_ = 8;

struct ShowCase {
    std::optional<std::int32_t> mode;
    int expected;
};

std::string Describe(std::optional<std::int32_t> mode) {
    return mode ? "mode " + std::to_string(*mode) : std::string("mode omitted");
}

TEST(RunCommandShowCommand, MapsAndClampsTheShowMode) {
    const ShowCase cases[] = {
        {std::nullopt, SW_SHOWNORMAL_},
        {1, SW_HIDE_},
        {2, SW_SHOWNORMAL_},
        {3, SW_SHOWMINIMIZED_},
        {4, SW_SHOWMAXIMIZED_},
        {5, SW_SHOWNOACTIVATE_},
        {6, SW_MINIMIZE_},
        {0, SW_HIDE_},
        {-1, SW_HIDE_},
        {INT32_MIN, SW_HIDE_},
        {7, SW_MINIMIZE_},
        {100, SW_MINIMIZE_},
        {INT32_MAX, SW_MINIMIZE_},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Describe(c.mode));
        EXPECT_TRUE(Same(RunCommandShowCommand(c.mode), c.expected));
    }
}

TEST(ShellOpenShowCommand, MapsTheShowModeAndFallsBackToNormal) {
    const ShowCase cases[] = {
        {std::nullopt, SW_SHOWNORMAL_},
        {1, SW_HIDE_},
        {2, SW_SHOWNORMAL_},
        {3, SW_SHOWMINIMIZED_},
        {4, SW_SHOWMAXIMIZED_},
        {5, SW_SHOWNA_},
        {6, SW_MINIMIZE_},
        {0, SW_SHOWNORMAL_},
        {-1, SW_SHOWNORMAL_},
        {INT32_MIN, SW_SHOWNORMAL_},
        {7, SW_SHOWNORMAL_},
        {INT32_MAX, SW_SHOWNORMAL_},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Describe(c.mode));
        EXPECT_TRUE(Same(ShellOpenShowCommand(c.mode), c.expected));
    }
}

TEST(ShellVerb, NamesVerbsOneToFiveAndNullOtherwise) {
    struct Case {
        std::optional<std::int32_t> verb;
        const char* expected;  // nullptr: the null verb
    };
    const Case cases[] = {
        {1, "edit"}, {2, "explore"}, {3, "find"}, {4, "open"}, {5, "print"},
        {std::nullopt, nullptr}, {0, nullptr}, {6, nullptr}, {-1, nullptr}, {INT32_MIN, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.verb ? "verb " + std::to_string(*c.verb) : std::string("verb omitted"));
        const char* got = ShellVerb(c.verb);
        const std::string gotText = got ? "\"" + std::string(got) + "\"" : "null";
        const std::string expectedText = c.expected ? "\"" + std::string(c.expected) + "\"" : "null";
        EXPECT_EQ(gotText, expectedText) << "got " << gotText << ", expected " << expectedText;
    }
}

}  // namespace
}  // namespace zandrel
