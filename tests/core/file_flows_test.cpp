#include "app/file_flows.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "scripted_flow_host.h"

namespace zorvan::app {
namespace {

// Files in memory; a path in the unwritable set cannot be saved.
class MemoryFiles : public FileStore {
  public:
    std::map<std::string, std::string> files;
    std::set<std::string> unwritable;

    std::variant<std::string, FileFailure> ReadAll(const std::string& path) override {
        const auto found = files.find(path);
        if (found == files.end()) {
            return FileFailure{OpenFailureMessage(
                path, std::make_error_code(std::errc::no_such_file_or_directory))};
        }
        return found->second;
    }
    std::optional<FileFailure> ReplaceAll(const std::string& path,
                                          std::string_view bytes) override {
        if (unwritable.count(path) != 0) {
            return FileFailure{
                SaveFailureMessage(path, std::make_error_code(std::errc::read_only_file_system))};
        }
        files[path] = bytes;
        return std::nullopt;
    }
};

const std::string kNewQuestion = "ask " + std::string(kNewSaveQuestion);
const std::string kOpenQuestion = "ask " + std::string(kOpenSaveQuestion);
const std::string kExitQuestion = "ask " + std::string(kExitSaveQuestion);
const std::string kProgramBytes = "_ 0200 LDA #05 _ _ \r\n_ 0202 _ _ _ _ \r\n";

enum class Command { kNew, kOpen, kExit };

struct Fixture {
    Workspace workspace;
    ScriptedFlowHost host;
    MemoryFiles files;
    FileFlows flows{workspace, host, files};

    // A one-line program, as typed.
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
        switch (command) {
            case Command::kNew:
                flows.New();
                return false;
            case Command::kOpen:
                flows.Open();
                return false;
            case Command::kExit:
                return flows.Exit();
        }
        return false;
    }
};

TEST(FileFlowsTest, AskToSaveOnlyAChangedGridWithContent) {
    // The grid before: content and the changed flag; the answer and the save dialog's choice
    // ("" cancels); then the questions and dialogs in order, and what is true afterwards.
    struct Case {
        Command command;
        bool content, changed, yes;
        std::string saveChoice;
        std::vector<std::string> log;
        bool changedAfter, emptied, exits;
    };
    const std::string s = "save dialog";
    const std::string o = "open dialog";
    // clang-format off
    const Case cases[] = {
        {Command::kNew,  true,  true,  false, "",      {kNewQuestion},         false, true,  false},
        {Command::kNew,  true,  true,  true,  "p.zrv", {kNewQuestion, s},      false, true,  false},
        {Command::kNew,  true,  true,  true,  "",      {kNewQuestion, s},      false, true,  false},
        {Command::kNew,  true,  false, true,  "",      {},                     false, true,  false},
        {Command::kNew,  false, true,  true,  "",      {},                     false, true,  false},
        {Command::kOpen, true,  true,  false, "",      {kOpenQuestion, o},     false, true,  false},
        {Command::kOpen, true,  true,  true,  "p.zrv", {kOpenQuestion, s, o},  false, true,  false},
        {Command::kOpen, true,  true,  true,  "",      {kOpenQuestion, s, o},  false, true,  false},
        {Command::kOpen, true,  false, true,  "",      {o},                    false, false, false},
        {Command::kOpen, false, true,  true,  "",      {o},                    true,  false, false},
        {Command::kExit, true,  true,  false, "",      {kExitQuestion},        true,  false, true},
        {Command::kExit, true,  true,  true,  "p.zrv", {kExitQuestion, s},     false, false, true},
        {Command::kExit, true,  true,  true,  "",      {kExitQuestion, s},     true,  false, true},
        {Command::kExit, true,  false, true,  "",      {},                     false, false, true},
        {Command::kExit, false, true,  true,  "",      {},                     true,  false, true},
    };
    // clang-format on
    int number = 0;
    for (const Case& c : cases) {
        const std::string name = "case " + std::to_string(++number);
        Fixture f;
        if (c.content) {
            f.TypeProgram(c.changed);
        } else {
            f.workspace.changed = c.changed;
        }
        f.host.yes = c.yes;
        if (!c.saveChoice.empty()) f.host.saveChoice = c.saveChoice;
        f.workspace.caption = "Zorvan-old.zrv";

        EXPECT_EQ(f.Run(c.command), c.exits) << name;
        EXPECT_EQ(f.host.log, c.log) << name;
        EXPECT_EQ(f.workspace.changed, c.changedAfter) << name;
        const bool emptied =
            f.workspace.grid.ContentCount() == 0 && f.workspace.caption == "Zorvan";
        EXPECT_EQ(emptied, c.emptied) << name;
        const bool saved = c.yes && !c.saveChoice.empty() && !c.log.empty();
        EXPECT_EQ(f.files.files.size(), saved ? 1u : 0u) << name;
        if (saved) EXPECT_EQ(f.files.files["p.zrv"], kProgramBytes) << name;
    }
}

TEST(FileFlowsTest, NewGreysAndOpenEnablesTheExecutionCommandsWhateverHappens) {
    Fixture f;
    f.TypeProgram(false);
    f.flows.New();
    EXPECT_FALSE(f.workspace.executionEnabled);
    f.flows.Open();  // dialog cancelled
    EXPECT_TRUE(f.workspace.executionEnabled);

    f.workspace.executionEnabled = false;
    f.host.openChoice = "missing.zrv";
    f.flows.Open();
    EXPECT_TRUE(f.workspace.executionEnabled);
}

TEST(FileFlowsTest, OpenReadsTheFileAndNamesItInTheCaption) {
    Fixture f;
    f.workspace.changed = true;  // an empty grid: nothing to ask, and reading keeps the flag
    f.workspace.grid.SetCurrent(kInstructionColumn, 1);
    f.workspace.ShowDebuggerMessage("kept", kInstructionColumn, 'r');
    f.files.files["/home/student/prog.zrv"] = kProgramBytes;
    f.host.openChoice = "/home/student/prog.zrv";

    f.flows.Open();
    EXPECT_EQ(f.workspace.caption, "Zorvan-/home/student/prog.zrv");
    EXPECT_EQ(f.workspace.openDialogFileName, "/home/student/prog.zrv");
    EXPECT_TRUE(f.workspace.changed);
    EXPECT_EQ(f.workspace.grid.RowCount(), 3);
    EXPECT_EQ(f.workspace.grid.Cell(kInstructionColumn, 1), "LDA");
    EXPECT_EQ(f.workspace.grid.Cell(kCommentColumn, 1), " ");
    EXPECT_EQ(f.workspace.grid.Col(), kInstructionColumn);
    EXPECT_EQ(f.workspace.message.text, "kept");
}

TEST(FileFlowsTest, AFileThatCannotBeReadChangesNothingButWarns) {
    Fixture f;
    f.TypeProgram(false);
    f.workspace.caption = "Zorvan-before.zrv";
    f.workspace.openDialogFileName = "before.zrv";
    f.host.openChoice = "gone.zrv";

    f.flows.Open();
    ASSERT_EQ(f.host.log.size(), 2u);
    EXPECT_EQ(f.host.log[1].rfind("warning Δεν ήταν δυνατό να ανοιχτεί το αρχείο «gone.zrv»", 0),
              0u);
    EXPECT_EQ(f.workspace.caption, "Zorvan-before.zrv");
    EXPECT_EQ(f.workspace.openDialogFileName, "before.zrv");
    EXPECT_EQ(f.workspace.grid.Cell(kInstructionColumn, 1), "LDA");
    EXPECT_FALSE(f.workspace.changed);
}

TEST(FileFlowsTest, AFailedSaveKeepsTheGridAndStopsTheCommand) {
    struct Case {
        Command command;
        std::string question;
        bool executionEnabledAfter;
    };
    const Case cases[] = {
        {Command::kNew, kNewQuestion, false},
        {Command::kOpen, kOpenQuestion, true},
        {Command::kExit, kExitQuestion, true},
    };
    for (const Case& c : cases) {
        Fixture f;
        f.TypeProgram(true);
        f.host.yes = true;
        f.host.saveChoice = "/media/cd/p.zrv";
        f.files.unwritable.insert("/media/cd/p.zrv");

        EXPECT_FALSE(f.Run(c.command)) << c.question << ": the program must not end";
        ASSERT_EQ(f.host.log.size(), 3u) << c.question;
        EXPECT_EQ(f.host.log[0], c.question);
        EXPECT_EQ(f.host.log[2].rfind(
                      "warning Δεν ήταν δυνατό να αποθηκευτεί το αρχείο «/media/cd/p.zrv»", 0),
                  0u);
        EXPECT_TRUE(f.workspace.changed) << c.question;
        EXPECT_EQ(f.workspace.grid.ContentCount(), 4) << c.question;
        EXPECT_EQ(f.workspace.executionEnabled, c.executionEnabledAfter) << c.question;
    }
}

TEST(FileFlowsTest, SaveWarnsAboutACellThatWouldNotReadBack) {
    for (bool saveAnyway : {false, true}) {
        Fixture f;
        f.TypeProgram(true);
        f.workspace.grid.SetCell(kLabelColumn, 2, "_end");
        f.workspace.grid.SetCurrent(kAddressColumn, 1);
        f.host.saveAnyway = saveAnyway;
        f.host.saveChoice = "p.zrv";
        f.workspace.caption = "Zorvan-a.zrv";

        const SaveOutcome outcome = f.flows.Save();
        ASSERT_FALSE(f.host.log.empty());
        EXPECT_NE(f.host.log[0].find("save anyway? Το κελί της γραμμής 2, στήλη 0"),
                  std::string::npos)
            << f.host.log[0];
        if (saveAnyway) {
            EXPECT_EQ(outcome, SaveOutcome::kSaved);
            EXPECT_EQ(f.workspace.caption, "Zorvan-a.zrv");
            EXPECT_EQ(f.files.files["p.zrv"], "_ 0200 LDA #05 _ _ \r\n_end 0202 _ _ _ _ \r\n");
            EXPECT_FALSE(f.workspace.changed);
        } else {
            EXPECT_EQ(outcome, SaveOutcome::kWentBack);
            EXPECT_EQ(f.host.log.size(), 1u) << "no save dialog";
            EXPECT_TRUE(f.files.files.empty());
            EXPECT_TRUE(f.workspace.changed);
            EXPECT_EQ(f.workspace.grid.Col(), kLabelColumn);
            EXPECT_EQ(f.workspace.grid.Row(), 2);
            f.host.yes = true;
            EXPECT_FALSE(f.flows.Exit()) << "going back to correct the cell keeps the program open";
        }
    }
}

TEST(FileFlowsTest, WorksWithFilesOnDisk) {
    Workspace workspace;
    ScriptedFlowHost host;
    FileFlows flows(workspace, host);
    host.openChoice = ZORVAN_TEST_DATA;  // a folder, not a file
    flows.Open();
    ASSERT_EQ(host.log.size(), 2u);
    EXPECT_EQ(host.log[1].rfind("warning Δεν ήταν δυνατό να ανοιχτεί", 0), 0u);
    EXPECT_EQ(workspace.caption, "Zorvan");

    host.openChoice = std::string(ZORVAN_TEST_DATA) + "/sum.zrv";
    flows.Open();
    EXPECT_EQ(workspace.caption, "Zorvan-" + *host.openChoice);
    EXPECT_GT(workspace.grid.ContentCount(), 0);
}

}  // namespace
}  // namespace zorvan::app
