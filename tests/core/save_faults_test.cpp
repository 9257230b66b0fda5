// Saving that fails at each step never damages the file that was there, never clears the changed
// flag and always tells the user; and no command discards a changed program without asking.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/file_flows.h"
#include "editor_fixture.h"
#include "scripted_flow_host.h"
#include "temp_folder.h"

namespace zorvan::app {
namespace {

using ::zorvan::testing::FileBytes;
using ::zorvan::testing::PutFile;
using ::zorvan::testing::TempFolder;

enum class FailingStep { kNone, kCreate, kWrite, kRename };

// Real files on disk, with one step of the save made to fail as the system would.
struct FaultyStore : FileStore {
    explicit FaultyStore(FailingStep failing) : step(failing) {}
    std::error_code CreateTemporary(std::string& pathTemplate, int& fd) override {
        return step == FailingStep::kCreate ? std::make_error_code(std::errc::permission_denied)
                                            : FileStore::CreateTemporary(pathTemplate, fd);
    }
    std::error_code WriteContents(int fd, std::string_view bytes) override {
        if (step != FailingStep::kWrite) return FileStore::WriteContents(fd, bytes);
        FileStore::WriteContents(fd, bytes.substr(0, bytes.size() / 2));
        return std::make_error_code(std::errc::no_space_on_device);
    }
    std::error_code MoveIntoPlace(const std::string& temporary,
                                  const std::string& target) override {
        return step == FailingStep::kRename
                   ? std::make_error_code(std::errc::operation_not_permitted)
                   : FileStore::MoveIntoPlace(temporary, target);
    }
    FailingStep step;
};

TEST(SaveFaults, AFailingStepKeepsTheOldFileAndTheChangedFlagAndTellsTheUser) {
    // Writing fails when the disk fills up half way; with no failing step, a folder is in the way.
    const std::pair<FailingStep, std::errc> cases[] = {
        {FailingStep::kCreate, std::errc::permission_denied},
        {FailingStep::kWrite, std::errc::no_space_on_device},
        {FailingStep::kRename, std::errc::operation_not_permitted},
        {FailingStep::kNone, std::errc::is_a_directory}};
    const std::string old = "_ 0300 LDA #01 _ the_old_program\r\n";
    // Save itself, and New, Open and Exit answered Yes to their question.
    for (int command = 0; command < 4; ++command) {
        for (const auto& [step, reason] : cases) {
            SCOPED_TRACE(std::to_string(command) + " " + std::to_string(static_cast<int>(step)));
            TempFolder folder;
            const std::string path = folder / "program.zrv";
            step == FailingStep::kNone ? void(std::filesystem::create_directory(path))
                                       : PutFile(path, old);
            Workspace workspace = testing::WorkspaceWith({{"", "0200", "NOP"}, {"", "0201"}});
            workspace.changed = true;
            ScriptedFlowHost host;
            host.yes = true;
            host.saveChoice = path;
            FaultyStore files(step);
            FileFlows flows(workspace, host, files);

            if (command == 0) EXPECT_EQ(flows.Save(), SaveOutcome::kFailed);
            if (command == 1) flows.New();
            if (command == 2) flows.Open();
            if (command == 3) EXPECT_FALSE(flows.Exit()) << "a program that was not saved stays";
            EXPECT_EQ(host.log.front().rfind(command == 0 ? "save dialog" : "ask ", 0), 0u);
            EXPECT_EQ(host.log.back(), "warning Δεν ήταν δυνατό να αποθηκευτεί το αρχείο «" + path +
                                           "».\n" + std::make_error_code(reason).message());
            EXPECT_TRUE(workspace.changed && workspace.grid.Cell(kInstructionColumn, 1) == "NOP");
            if (step != FailingStep::kNone) EXPECT_EQ(FileBytes(path), old);
            EXPECT_EQ(folder.Names(), std::vector<std::string>{"program.zrv"}) << "no temporary";
        }
    }
}

TEST(SaveFaults, ANamedFileOpensWithoutAQuestionAfterAWarningAboutAMissingOne) {
    TempFolder folder;
    PutFile(folder / "named.zrv", "_ 0200 BRK _ _ _ \r\n");
    Workspace workspace = testing::WorkspaceWith({{"", "0200", "NOP"}, {"", "0201"}});
    workspace.changed = true;
    ScriptedFlowHost host;
    FileFlows flows(workspace, host);
    for (const std::string name : {"missing.zrv", "named.zrv"}) flows.OpenNamedFile(folder / name);
    EXPECT_EQ(host.log.size(), 1u) << "a warning about the missing file, and no question";
    EXPECT_EQ(host.log.at(0).rfind("warning ", 0), 0u);
    EXPECT_EQ(workspace.caption, "Zorvan-" + folder / "named.zrv");
    EXPECT_EQ(workspace.grid.Cell(kInstructionColumn, 1) + workspace.grid.Cell(kAddressColumn, 2),
              "BRK");
    EXPECT_TRUE(workspace.executionEnabled);
}

}  // namespace
}  // namespace zorvan::app
