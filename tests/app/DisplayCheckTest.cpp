#include <cstdlib>
#include <string_view>
#include <utility>

#include <gtest/gtest.h>

#include "app/DisplayCheck.h"

namespace korvale::test {
namespace {

// The platforms named, and what Qt is left to use: those this Qt has a plugin for, else X, which
// is then checked, and whose display here no server holds.
TEST(DisplayCheckTest, APlatformWithoutAPluginIsXAndOneWithAPluginIsLeftToQt) {
    const std::pair<const char*, std::string_view> cases[] = {
        {"offscreen", "offscreen"},
        {"nowhere", "xcb"},
        {"nowhere:x=1;Offscreen", "Offscreen"},
    };
    ::setenv("DISPLAY", ":65000", 1);
    ::unsetenv("WAYLAND_DISPLAY");
    for (const auto& [named, platform] : cases) {
        SCOPED_TRACE(named);
        ::setenv("QT_QPA_PLATFORM", named, 1);
        const DisplayCheck check;
        EXPECT_STREQ(std::getenv("QT_QPA_PLATFORM"), platform.data());
        EXPECT_EQ(check.problem().empty(), platform != "xcb") << check.problem();
    }
}

}  // namespace
}  // namespace korvale::test
