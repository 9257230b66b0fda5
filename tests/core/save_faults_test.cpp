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
        // The disk fills up half way through.
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
    struct Case {
        const char* name;
        FailingStep step;
        bool directoryInTheWay;
        std::errc reason;
    };
    const Case cases[] = {
        {"no permission to create the new file", FailingStep::kCreate, false,
         std::errc::permission_denied},
        {"the disk full while writing", FailingStep::kWrite, false, std::errc::no_space_on_device},
        {"the rename refused", FailingStep::kRename, false, std::errc::operation_not_permitted},
        {"a directory in the way", FailingStep::kNone, true, std::errc::is_a_directory},
    };
    for (const Case& c : cases) {
        TempFolder folder;
        const std::string path = folder / "program.zrv";
        if (c.directoryInTheWay) {
            std::filesystem::create_directory(path);
        } else {
            PutFile(path, "_ 0300 LDA #01 _ the_old_program\r\n");
        }
        Workspace workspace;
        TypeOneLine(workspace);
        ScriptedFlowHost host;
        host.saveChoice = path;
        FaultyStore files(c.step);
        FileFlows flows(workspace, host, files);

        EXPECT_EQ(flows.Save(), SaveOutcome::kFailed) << c.name;
        EXPECT_TRUE(workspace.changed) << c.name;
        ASSERT_EQ(host.log.size(), 2u) << c.name;
        EXPECT_NE(host.log[1].find(path), std::string::npos) << c.name << ": names the file";
        EXPECT_NE(host.log[1].find(std::make_error_code(c.reason).message()), std::string::npos)
            << c.name << ": gives the reason: " << host.log[1];
        if (c.directoryInTheWay) {
            EXPECT_TRUE(std::filesystem::is_empty(path)) << c.name;
        } else {
            EXPECT_EQ(FileBytes(path), "_ 0300 LDA #01 _ the_old_program\r\n") << c.name;
        }
        EXPECT_EQ(folder.Names(), std::vector<std::string>{"program.zrv"})
            << c.name << ": no temporary file is left behind";

        // Exit that cannot save keeps the program open, still changed.
        host.yes = true;
        EXPECT_FALSE(flows.Exit()) << c.name;
        EXPECT_TRUE(workspace.changed) << c.name;
    }
}

TEST(SaveFaults, NoCommandDiscardsAChangedProgramWithoutTheQuestion) {
    enum class Command { kNew, kOpen, kExit };
    for (Command command : {Command::kNew, Command::kOpen, Command::kExit}) {
        Workspace workspace;
        TypeOneLine(workspace);
        ScriptedFlowHost host;
        host.yes = false;  // the student answers No: only then may the program go
        FileFlows flows(workspace, host);
        switch (command) {
            case Command::kNew:
                flows.New();
                break;
            case Command::kOpen:
                flows.Open();
                break;
            case Command::kExit:
                flows.Exit();
                break;
        }
        ASSERT_FALSE(host.log.empty());
        EXPECT_EQ(host.log[0].rfind("ask ", 0), 0u) << "the first thing is the question";
    }
}

TEST(SaveFaults, ANamedFileOpensWithoutAQuestionOrWarnsAndChangesNothing) {
    TempFolder folder;
    const std::string path = folder / "named.zrv";
    PutFile(path, "_ 0200 NOP _ _ _ \r\n");
    Workspace workspace;
    ScriptedFlowHost host;
    FileFlows flows(workspace, host);

    flows.OpenNamedFile(folder / "missing.zrv");
    ASSERT_EQ(host.log.size(), 1u);
    EXPECT_EQ(host.log[0].rfind("warning ", 0), 0u);
    EXPECT_EQ(workspace.caption, "Zorvan");

    flows.OpenNamedFile(path);
    EXPECT_EQ(host.log.size(), 1u) << "nothing more is asked";
    EXPECT_EQ(workspace.caption, "Zorvan-" + path);
    EXPECT_EQ(workspace.grid.Cell(kInstructionColumn, 1), "NOP");
    EXPECT_TRUE(workspace.executionEnabled);
    EXPECT_FALSE(workspace.changed);
}

}  // namespace
}  // namespace zorvan::app
