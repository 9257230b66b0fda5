// A program that was never saved survives its process: the copy a dead process left comes back
// as unsaved work of its file, and the copies of running processes are left alone.
#include "app/recovery_copy.h"

#include <gtest/gtest.h>

#include <tuple>

#include "editor_fixture.h"
#include "temp_folder.h"

namespace zorvan::app {
namespace {

using ::zorvan::testing::TempFolder;

struct Fixture {
    TempFolder folder;
    FileStore files;
    std::string path = folder / "recovery";
    RecoveryFolder Of(int process) { return RecoveryFolder(path, process, files); }
    std::vector<std::string> Names() const { return folder.Names("recovery"); }
};

grid::Workspace Program(const std::string& comment, const std::string& file) {
    grid::Workspace workspace = testing::WorkspaceWith({{"", "0200", "LDA", "#05", "", comment}});
    workspace.filePath = file;
    workspace.changed = true;
    return workspace;
}

TEST(RecoveryCopyTest, TheCopiesOfDeadProcessesComeBackNewestFirstAndAreTakenOver) {
    Fixture f;
    const auto running = [](int process) { return process == 30; };
    ASSERT_FALSE(f.Of(10).Write(Program("older", "/work/a.zrv"), 1000));
    ASSERT_FALSE(f.Of(20).Write(Program("newer", ""), 2000));
    ASSERT_FALSE(f.Of(30).Write(Program("running", "/work/c.zrv"), 3000));
    f.Of(50).NoteOpenFile("/work/d.zrv");  // died with nothing unsaved

    RecoveryFolder mine = f.Of(40);
    const std::vector<RecoveryCopy> left = mine.Leftovers(running);
    std::vector<std::tuple<int, std::string, std::int64_t>> found;
    for (const RecoveryCopy& copy : left)
        found.emplace_back(copy.process, copy.filePath, copy.savedAt);
    ASSERT_EQ(found, (decltype(found){{20, "", 2000}, {10, "/work/a.zrv", 1000}}));
    EXPECT_EQ(f.Names(), (std::vector<std::string>{"10.info", "10.zrv", "20.info", "20.zrv",
                                                   "30.info", "30.zrv"}));

    grid::Workspace workspace;
    ASSERT_FALSE(mine.Recover(left[1], workspace));
    EXPECT_EQ(testing::RowText(workspace, 1), testing::RowText(Program("older", ""), 1));
    EXPECT_TRUE(workspace.changed && workspace.filePath == "/work/a.zrv" &&
                workspace.caption == "Zorvan-/work/a.zrv");
    mine.Delete(left[0]);
    EXPECT_EQ(f.Names(), (std::vector<std::string>{"30.info", "30.zrv", "40.info", "40.zrv"}));

    mine.Discard();  // saved: its file stays known to the others
    EXPECT_EQ(f.Names(), (std::vector<std::string>{"30.info", "30.zrv", "40.info"}));
    mine.Close();
    EXPECT_EQ(f.Names(), (std::vector<std::string>{"30.info", "30.zrv"}));
}

TEST(RecoveryCopyTest, AFileIsOpenElsewhereOnlyInAnotherRunningProcess) {
    Fixture f;
    const std::string file = f.folder / "shared.zrv";
    ::zorvan::testing::PutFile(file, "");
    f.Of(10).NoteOpenFile(file);
    f.Of(20).NoteOpenFile(f.folder / "other.zrv");
    const struct {
        int asking;
        bool tenRuns;
        bool expected;
    } cases[] = {{30, true, true}, {30, false, false}, {10, true, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        const auto running = [&](int process) { return process != 10 || c.tenRuns; };
        EXPECT_EQ(f.Of(c.asking).OpenElsewhere(file, running), c.expected);
    }
}

TEST(RecoveryCopyTest, TheOfferNamesTheFileAndTheTime) {
    std::tm at{};
    at.tm_year = 2026 - 1900, at.tm_mon = 11, at.tm_mday = 8, at.tm_hour = 9, at.tm_min = 5;
    const std::string named = RecoveryOfferText({1, "/work/a.zrv", 0}, at);
    EXPECT_NE(named.find("«/work/a.zrv»"), std::string::npos);
    EXPECT_NE(named.find("08/12/2026 09:05"), std::string::npos);
    EXPECT_NE(RecoveryOfferText({1, "", 0}, at).find("χωρίς όνομα"), std::string::npos);
}

}  // namespace
}  // namespace zorvan::app
