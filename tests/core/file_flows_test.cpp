#include "app/file_flows.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor_fixture.h"
#include "scripted_flow_host.h"
#include "temp_folder.h"

namespace zorvan::app {
namespace {

using ::zorvan::testing::FileBytes;

struct Fixture {
    ::zorvan::testing::TempFolder folder;
    Workspace workspace;
    ScriptedFlowHost host;
    FileFlows flows{workspace, host};

    // A one-line program as typed, and the line after it with only its address, from a file.
    void TypeProgram(bool changed, bool content = true) {
        if (content) workspace = testing::WorkspaceWith({{"", "0200", "LDA", "#05"}, {"", "0202"}});
        workspace.caption = "Zorvan-old.zrv";
        workspace.changed = changed;
        workspace.executionEnabled = true;
    }
    // The host's log with each warning cut before the file's name.
    std::vector<std::string> Log() const {
        std::vector<std::string> log;
        for (const std::string& line : host.log) log.push_back(line.substr(0, line.find("«")));
        return log;
    }
};

TEST(FileFlowsTest, AskToSaveOnlyAChangedGridWithContent) {
    // The grid before: content and the changed flag; the answer and the file the save dialog
    // chooses (none: cancelled; bad: cannot be written); then the questions, dialogs and warnings
    // in order, and what is true afterwards.
    using Command = bool (*)(FileFlows&);
    const Command New = [](FileFlows& f) { return f.New(), false; };
    const Command Open = [](FileFlows& f) { return f.Open(), false; };
    const Command Exit = [](FileFlows& f) { return f.Exit(); };
    struct Case {
        Command command;
        bool content, changed, yes;
        const char* save;
        std::vector<std::string> log;
        bool changedAfter, emptied, exits;
    };
    const std::string n = "ask " + std::string(kNewSaveQuestion), s = "save dialog",
                      o = "open dialog", x = "ask " + std::string(kExitSaveQuestion),
                      p = "ask " + std::string(kOpenSaveQuestion),
                      w = "warning Δεν ήταν δυνατό να αποθηκευτεί το αρχείο ";
    const char *const ok = "p.zrv", *const bad = "no/p.zrv", *const none = nullptr;
    // clang-format off
    const Case cases[] = {
        {New,  true,  true,  false, none, {n},        false, true,  false},
        {New,  true,  true,  true,  ok,   {n, s},     false, true,  false},
        {New,  true,  true,  true,  none, {n, s},     false, true,  false},
        {New,  true,  true,  true,  bad,  {n, s, w},  true,  false, false},
        {New,  true,  false, true,  none, {},         false, true,  false},
        {New,  false, true,  true,  none, {},         false, true,  false},
        {Open, true,  true,  false, none, {p, o},     false, true,  false},
        {Open, true,  true,  true,  none, {p, s, o},  false, true,  false},
        {Open, true,  true,  true,  bad,  {p, s, w},  true,  false, false},
        {Open, true,  false, true,  none, {o},        false, false, false},
        {Open, false, true,  true,  none, {o},        true,  false, false},
        {Exit, true,  true,  false, none, {x},        true,  false, true},
        {Exit, true,  true,  true,  ok,   {x, s},     false, false, true},
        {Exit, true,  true,  true,  none, {x, s},     true,  false, true},
        {Exit, true,  true,  true,  bad,  {x, s, w},  true,  false, false},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(&c - cases);
        Fixture f;
        f.TypeProgram(c.changed, c.content);
        f.host.yes = c.yes;
        if (c.save) f.host.saveChoice = f.folder / c.save;

        EXPECT_EQ(c.command(f.flows), c.exits);
        EXPECT_EQ(f.Log(), c.log);
        EXPECT_EQ(f.workspace.changed, c.changedAfter);
        EXPECT_EQ(f.workspace.grid.ContentCount() == 0 && f.workspace.caption == "Zorvan",
                  c.emptied);
        EXPECT_EQ(FileBytes(f.folder / "p.zrv"),
                  c.save == ok ? "_ 0200 LDA #05 _ _ \r\n_ 0202 _ _ _ _ \r\n" : "");
        // New greys the execution commands, Open enables them, whatever happens.
        if (c.command != Exit) EXPECT_EQ(f.workspace.executionEnabled, c.command == Open);
    }
}

TEST(FileFlowsTest, OpenReadsTheFileOrWarnsAndChangesNothing) {
    // Into an unchanged grid, so nothing is asked; a missing file and a folder are not read.
    for (const std::string path :
         {ZORVAN_TEST_DATA "/sum.zrv", ZORVAN_TEST_DATA "/gone.zrv", ZORVAN_TEST_DATA}) {
        Fixture f;
        f.TypeProgram(false);
        f.workspace.executionEnabled = false;
        f.host.openChoice = path;
        f.flows.Open();
        const bool read = path.ends_with("sum.zrv");
        EXPECT_EQ(f.Log().back(),
                  read ? "open dialog" : "warning Δεν ήταν δυνατό να ανοιχτεί το αρχείο ");
        EXPECT_EQ(f.host.log.back().find("«" + path + "»") != std::string::npos, !read);
        EXPECT_EQ(f.workspace.caption + "|" + f.workspace.openDialogFileName,
                  read ? "Zorvan-" + path + "|" + path : "Zorvan-old.zrv|");
        EXPECT_EQ(f.workspace.grid.Cell(kInstructionColumn, 2), read ? "STA" : "");
        EXPECT_TRUE(!f.workspace.changed && f.workspace.executionEnabled) << path;
    }
}

TEST(FileFlowsTest, SaveWarnsAboutACellThatWouldNotReadBack) {
    for (bool saveAnyway : {false, true}) {
        Fixture f;
        f.TypeProgram(true);
        f.workspace.grid.SetCell(kLabelColumn, 2, "_end");
        f.host.saveAnyway = saveAnyway;
        f.host.saveChoice = f.folder / "p.zrv";
        EXPECT_EQ(f.flows.Save(), saveAnyway ? SaveOutcome::kSaved : SaveOutcome::kWentBack);
        EXPECT_EQ(f.host.log.at(0).rfind("save anyway? Το κελί της γραμμής 2, στήλη 0", 0), 0u);
        EXPECT_EQ(f.host.log.size(), saveAnyway ? 2u : 1u) << "the save dialog only if saved";
        EXPECT_EQ(f.workspace.changed, !saveAnyway);
        EXPECT_EQ(FileBytes(f.folder / "p.zrv"),
                  saveAnyway ? "_ 0200 LDA #05 _ _ \r\n_end 0202 _ _ _ _ \r\n" : "");
        if (saveAnyway) continue;
        EXPECT_EQ(f.workspace.grid.Col() * 10 + f.workspace.grid.Row(), kLabelColumn * 10 + 2);
        f.host.yes = true;
        EXPECT_FALSE(f.flows.Exit()) << "going back to correct the cell keeps the program open";
    }
}

}  // namespace
}  // namespace zorvan::app
