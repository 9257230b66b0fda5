#include "app/file_flows.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scripted_flow_host.h"
#include "temp_folder.h"

namespace zorvan::app {
namespace {

using testing::FileBytes;

const std::string kNew = "ask " + std::string(kNewSaveQuestion);
const std::string kOpen = "ask " + std::string(kOpenSaveQuestion);
const std::string kExit = "ask " + std::string(kExitSaveQuestion);
const std::string kProgramBytes = "_ 0200 LDA #05 _ _ \r\n_ 0202 _ _ _ _ \r\n";

enum class Command { kNew, kOpen, kExit };

struct Fixture {
    testing::TempFolder folder;
    Workspace workspace;
    ScriptedFlowHost host;
    FileFlows flows{workspace, host};

    // A one-line program as typed, and the line after it with only its address.
    void TypeProgram(bool changed) {
        workspace.grid.SetCell(kAddressColumn, 1, "0200");
        workspace.grid.SetCell(kInstructionColumn, 1, "LDA");
        workspace.grid.SetCell(kFirstParameterColumn, 1, "#05");
        workspace.grid.SetCell(kAddressColumn, 2, "0202");
        workspace.grid.SetRowCount(3);
        workspace.changed = changed;
        workspace.executionEnabled = true;
    }
    bool Run(Command command) {
        if (command == Command::kNew) flows.New();
        if (command == Command::kOpen) flows.Open();
        return command == Command::kExit && flows.Exit();
    }
};

TEST(FileFlowsTest, AskToSaveOnlyAChangedGridWithContent) {
    // The grid before: content and the changed flag; the answer and whether the save dialog
    // chooses a file; then the questions and dialogs in order, and what is true afterwards.
    struct Case {
        Command command;
        bool content, changed, yes, chosen;
        std::vector<std::string> log;
        bool changedAfter, emptied, exits;
    };
    const std::string s = "save dialog", o = "open dialog";
    // clang-format off
    const Case cases[] = {
        {Command::kNew,  true,  true,  false, false, {kNew},         false, true,  false},
        {Command::kNew,  true,  true,  true,  true,  {kNew, s},      false, true,  false},
        {Command::kNew,  true,  true,  true,  false, {kNew, s},      false, true,  false},
        {Command::kNew,  true,  false, true,  false, {},             false, true,  false},
        {Command::kNew,  false, true,  true,  false, {},             false, true,  false},
        {Command::kOpen, true,  true,  false, false, {kOpen, o},     false, true,  false},
        {Command::kOpen, true,  true,  true,  true,  {kOpen, s, o},  false, true,  false},
        {Command::kOpen, true,  true,  true,  false, {kOpen, s, o},  false, true,  false},
        {Command::kOpen, true,  false, true,  false, {o},            false, false, false},
        {Command::kOpen, false, true,  true,  false, {o},            true,  false, false},
        {Command::kExit, true,  true,  false, false, {kExit},        true,  false, true},
        {Command::kExit, true,  true,  true,  true,  {kExit, s},     false, false, true},
        {Command::kExit, true,  true,  true,  false, {kExit, s},     true,  false, true},
        {Command::kExit, true,  false, true,  false, {},             false, false, true},
        {Command::kExit, false, true,  true,  false, {},             true,  false, true},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(&c - cases);
        Fixture f;
        if (c.content) f.TypeProgram(c.changed);
        f.workspace.changed = c.changed;
        f.host.yes = c.yes;
        if (c.chosen) f.host.saveChoice = f.folder / "p.zrv";
        f.workspace.caption = "Zorvan-old.zrv";

        EXPECT_EQ(f.Run(c.command), c.exits);
        EXPECT_EQ(f.host.log, c.log);
        EXPECT_EQ(f.workspace.changed, c.changedAfter);
        const bool emptied =
            f.workspace.grid.ContentCount() == 0 && f.workspace.caption == "Zorvan";
        EXPECT_EQ(emptied, c.emptied);
        EXPECT_EQ(f.folder.Names().size(), c.chosen ? 1u : 0u);
        if (c.chosen) EXPECT_EQ(FileBytes(f.folder / "p.zrv"), kProgramBytes);
        // New greys the execution commands, Open enables them, whatever happens.
        if (c.command != Command::kExit)
            EXPECT_EQ(f.workspace.executionEnabled, c.command == Command::kOpen);
    }
}

TEST(FileFlowsTest, OpenReadsTheFileAndNamesItInTheCaption) {
    Fixture f;
    f.workspace.changed = true;  // an empty grid: nothing to ask, and reading keeps the flag
    f.workspace.grid.SetCurrent(kInstructionColumn, 1);
    f.workspace.ShowDebuggerMessage("kept", kInstructionColumn, 'r');
    testing::PutFile(f.folder / "prog.zrv", kProgramBytes);
    f.host.openChoice = f.folder / "prog.zrv";

    f.flows.Open();
    EXPECT_EQ(f.workspace.caption, "Zorvan-" + *f.host.openChoice);
    EXPECT_EQ(f.workspace.openDialogFileName, *f.host.openChoice);
    EXPECT_TRUE(f.workspace.changed);
    EXPECT_EQ(WriteProgramText(f.workspace.grid), "_ 0200 LDA #05 _ _\r\n_ 0202 _ _ _ _\r\n");
    EXPECT_EQ(f.workspace.grid.Col(), kInstructionColumn);
    EXPECT_EQ(f.workspace.message.text, "kept");
}

TEST(FileFlowsTest, AFileThatCannotBeReadChangesNothingButWarns) {
    for (const std::string path : {"gone.zrv", ZORVAN_TEST_DATA}) {  // missing; a folder
        Fixture f;
        f.TypeProgram(false);
        f.workspace.executionEnabled = false;
        f.workspace.caption = "Zorvan-before.zrv";
        f.workspace.openDialogFileName = "before.zrv";
        f.host.openChoice = path;

        f.flows.Open();
        ASSERT_EQ(f.host.log.size(), 2u);
        EXPECT_EQ(
            f.host.log[1].rfind("warning Δεν ήταν δυνατό να ανοιχτεί το αρχείο «" + path + "»", 0),
            0u);
        EXPECT_EQ(f.workspace.caption, "Zorvan-before.zrv");
        EXPECT_EQ(f.workspace.openDialogFileName, "before.zrv");
        EXPECT_EQ(f.workspace.grid.ContentCount(), 4);
        EXPECT_FALSE(f.workspace.changed);
        EXPECT_TRUE(f.workspace.executionEnabled);
    }
}

TEST(FileFlowsTest, AFailedSaveKeepsTheGridAndStopsTheCommand) {
    for (Command command : {Command::kNew, Command::kOpen, Command::kExit}) {
        Fixture f;
        f.TypeProgram(true);
        f.host.yes = true;
        f.host.saveChoice = f.folder / "no/such/folder/p.zrv";

        EXPECT_FALSE(f.Run(command)) << "the program must not end";
        ASSERT_EQ(f.host.log.size(), 3u);
        EXPECT_EQ(f.host.log[2].rfind("warning Δεν ήταν δυνατό να αποθηκευτεί το αρχείο «", 0), 0u);
        EXPECT_TRUE(f.workspace.changed);
        EXPECT_EQ(f.workspace.grid.ContentCount(), 4);
        EXPECT_EQ(f.workspace.executionEnabled, command != Command::kNew);
    }
}

TEST(FileFlowsTest, SaveWarnsAboutACellThatWouldNotReadBack) {
    for (bool saveAnyway : {false, true}) {
        Fixture f;
        f.TypeProgram(true);
        f.workspace.grid.SetCell(kLabelColumn, 2, "_end");
        f.workspace.grid.SetCurrent(kAddressColumn, 1);
        f.host.saveAnyway = saveAnyway;
        f.host.saveChoice = f.folder / "p.zrv";

        const SaveOutcome outcome = f.flows.Save();
        ASSERT_FALSE(f.host.log.empty());
        EXPECT_EQ(f.host.log[0].rfind("save anyway? Το κελί της γραμμής 2, στήλη 0", 0), 0u)
            << f.host.log[0];
        EXPECT_EQ(outcome, saveAnyway ? SaveOutcome::kSaved : SaveOutcome::kWentBack);
        EXPECT_EQ(f.workspace.changed, !saveAnyway);
        if (saveAnyway) {
            EXPECT_EQ(FileBytes(f.folder / "p.zrv"),
                      "_ 0200 LDA #05 _ _ \r\n_end 0202 _ _ _ _ \r\n");
        } else {
            EXPECT_EQ(f.host.log.size(), 1u) << "no save dialog";
            EXPECT_EQ(f.workspace.grid.Col(), kLabelColumn);
            EXPECT_EQ(f.workspace.grid.Row(), 2);
            f.host.yes = true;
            EXPECT_FALSE(f.flows.Exit()) << "going back to correct the cell keeps the program open";
        }
    }
}

}  // namespace
}  // namespace zorvan::app
