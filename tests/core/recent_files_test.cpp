#include "app/recent_files.h"

#include <gtest/gtest.h>

namespace zorvan::app {
namespace {

TEST(RecentFilesTest, TheNewestFirstOnceAndAtMostFive) {
    using Files = std::vector<std::string>;
    const struct {
        Files before;
        std::string path;
        Files after;
    } cases[] = {
        {{}, "a", {"a"}},
        {{"a", "b"}, "b", {"b", "a"}},
        {{"a", "b", "c", "d", "e"}, "f", {"f", "a", "b", "c", "d"}},
        {{"a", "b", "c", "d", "e"}, "e", {"e", "a", "b", "c", "d"}},
        {{"a", "", "a"}, "", {"a"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(WithRecentFile(c.before, c.path), c.after);
    }
    EXPECT_EQ(RecentFileItemText(4, "/tmp/R&D.zrv"), "&5 /tmp/R&&D.zrv");
}

}  // namespace
}  // namespace zorvan::app
