// Saving that fails at each step never damages the file that was there, never clears the changed
// flag and always tells the user; and no command discards a changed program without asking.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <system_error>

#include "app/file_flows.h"
#include "app/program_file.h"
#include "app/workspace.h"
#include "scripted_flow_host.h"
#include "temp_folder.h"

namespace zorvan::app {
namespace {

using testing::FileBytes;
using testing::PutFile;
using testing::TempFolder;

enum class FailingStep { kNone, kCreate, kWrite, kRename };

// Real files on disk, with one step of the save made to fail as the system would.
class FaultyStore : public FileStore {
  public:
    explicit FaultyStore(FailingStep step) : step_(step) {}

  protected:
    std::error_code CreateTemporary(std::string& pathTemplate, int& fd) override {
        if (step_ == FailingStep::kCreate)
            return std::make_error_code(std::errc::permission_denied);
        return FileStore::CreateTemporary(pathTemplate, fd);
    }
    std::error_code WriteContents(int fd, std::string_view bytes) override {
        if (step_ != FailingStep::kWrite) return FileStore::WriteContents(fd, bytes);
        FileStore::WriteContents(fd, bytes.substr(0, bytes.size() / 2));
        return std::make_error_code(std::errc::no_space_on_device);
    }
    std::error_code MoveIntoPlace(const std::string& temporary,
                                  const std::string& target) override {
        if (step_ == FailingStep::kRename)
            return std::make_error_code(std::errc::operation_not_permitted);
        return FileStore::MoveIntoPlace(temporary, target);
    }

  private:
    FailingStep step_;
};

void TypeOneLine(Workspace& workspace) {
    workspace.grid.SetCell(kAddressColumn, 1, "0200");
    workspace.grid.SetCell(kInstructionColumn, 1, "NOP");
    workspace.grid.SetCell(kAddressColumn, 2, "0201");
    workspace.grid.SetRowCount(3);
    workspace.changed = true;
}

TEST(SaveFaults, AFailingStepKeepsTheOldFileAndTheChangedFlagAndTellsTheUser) {
    const std::pair<FailingStep, std::errc> cases[] = {
        {FailingStep::kCreate, std::errc::permission_denied},
        {FailingStep::kWrite, std::errc::no_space_on_device},  // the disk fills up half way
        {FailingStep::kRename, std::errc::operation_not_permitted},
        {FailingStep::kNone, std::errc::is_a_directory},  // a folder in the way
    };
    for (const auto& [step, reason] : cases) {
        SCOPED_TRACE(static_cast<int>(step));
        TempFolder folder;
        const std::string path = folder / "program.zrv";
        const std::string old = "_ 0300 LDA #01 _ the_old_program\r\n";
        if (step == FailingStep::kNone) std::filesystem::create_directory(path);
        if (step != FailingStep::kNone) PutFile(path, old);
        Workspace workspace;
        TypeOneLine(workspace);
        ScriptedFlowHost host;
        host.saveChoice = path;
        FaultyStore files(step);
        FileFlows flows(workspace, host, files);

        EXPECT_EQ(flows.Save(), SaveOutcome::kFailed);
        EXPECT_TRUE(workspace.changed);
        ASSERT_EQ(host.log.size(), 2u);
        EXPECT_NE(host.log[1].find(path), std::string::npos) << "names the file";
        EXPECT_NE(host.log[1].find(std::make_error_code(reason).message()), std::string::npos)
            << "gives the reason: " << host.log[1];
        if (step != FailingStep::kNone) EXPECT_EQ(FileBytes(path), old);
        EXPECT_EQ(folder.Names(), std::vector<std::string>{"program.zrv"}) << "no temporary left";

        host.yes = true;  // Exit that cannot save keeps the program open, still changed
        EXPECT_FALSE(flows.Exit());
        EXPECT_TRUE(workspace.changed);
    }
}

TEST(SaveFaults, NoCommandDiscardsAChangedProgramWithoutTheQuestion) {
    for (int command = 0; command < 3; ++command) {
        Workspace workspace;
        TypeOneLine(workspace);
        ScriptedFlowHost host;  // answers No: only then may the program go
        FileFlows flows(workspace, host);
        if (command == 0) flows.New();
        if (command == 1) flows.Open();
        if (command == 2) flows.Exit();
        ASSERT_FALSE(host.log.empty());
        EXPECT_EQ(host.log[0].rfind("ask ", 0), 0u)
            << command << ": the first thing is the question";
    }
}

TEST(SaveFaults, ANamedFileOpensWithoutAQuestionOrWarnsAndChangesNothing) {
    TempFolder folder;
    const std::string path = folder / "named.zrv";
    PutFile(path, "_ 0200 NOP _ _ _ \r\n");
    Workspace workspace;
    TypeOneLine(workspace);
    workspace.changed = false;
    ScriptedFlowHost host;
    FileFlows flows(workspace, host);

    flows.OpenNamedFile(folder / "missing.zrv");
    ASSERT_EQ(host.log.size(), 1u);
    EXPECT_EQ(host.log[0].rfind("warning ", 0), 0u);
    EXPECT_EQ(workspace.grid.Cell(kInstructionColumn, 1), "NOP");
    EXPECT_EQ(workspace.caption, "Zorvan");

    flows.OpenNamedFile(path);
    EXPECT_EQ(host.log.size(), 1u) << "nothing more is asked";
    EXPECT_EQ(workspace.caption, "Zorvan-" + path);
    EXPECT_EQ(workspace.grid.RowCount(), 2);
    EXPECT_TRUE(workspace.executionEnabled);
    EXPECT_FALSE(workspace.changed);
}

}  // namespace
}  // namespace zorvan::app
