#include "app/window_places.h"

#include <gtest/gtest.h>

#include "app/recent_files.h"

namespace zorvan::app {
namespace {

TEST(WindowPlacesTest, AWindowThatCannotBeTakenHoldOfComesBackOntoAScreen) {
    const std::vector<WindowPlace> two{{0, 0, 1920, 1050}, {1920, 0, 1280, 1000}};
    const struct {
        WindowPlace window;
        std::vector<WindowPlace> screens;
        WindowPlace expected;
    } cases[] = {
        {{318, 180, 496, 601}, two, {318, 180, 496, 601}},      // as it was
        {{1880, 100, 400, 300}, two, {1880, 100, 400, 300}},    // across the two screens
        {{1800, -200, 400, 300}, two, {1920, 0, 400, 300}},     // title bar above the top
        {{3500, 500, 400, 300}, two, {2800, 500, 400, 300}},    // second screen, now smaller
        {{100, 5000, 400, 300}, two, {100, 750, 400, 300}},     // far off: the nearest
        {{3180, -50, 3000, 2000}, two, {1920, 0, 1280, 1000}},  // shrunk to fit
        {{9000, 9000, 10, 10}, {}, {9000, 9000, 10, 10}},       // no screen to go by
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        EXPECT_EQ(OnScreen(c.window, c.screens), c.expected);
    }
}

TEST(RecentFilesTest, TheNewestFirstOnceAndAtMostFive) {
    using Files = std::vector<std::string>;
    const struct {
        Files before;
        std::string path;
        Files after;
    } cases[] = {{{}, "a", {"a"}},
                 {{"a", "b"}, "b", {"b", "a"}},
                 {{"a", "b", "c", "d", "e"}, "f", {"f", "a", "b", "c", "d"}},
                 {{"a", "b", "c", "d", "e"}, "e", {"e", "a", "b", "c", "d"}},
                 {{"a", "", "a"}, "", {"a"}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(WithRecentFile(c.before, c.path), c.after);
    }
    EXPECT_EQ(RecentFileItemText(4, "/tmp/R&D.zrv"), "&5 /tmp/R&&D.zrv");
}

}  // namespace
}  // namespace zorvan::app
