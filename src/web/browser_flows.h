#pragma once
// New, Open, Save and Exit in a page, where no question can wait for its answer inside a call:
// the command runs on a copy of the workspace, and at the first question the page has not yet
// answered it stops and hands the question out. The page asks the user, adds the answer, and
// runs the command again from the start with every answer so far; once the command gets through,
// the copy becomes the workspace. So the questions, their order and every rule stay the core's.
//
//   BrowserFlow flow(BrowserFlow::Command::kOpen);
//   while (auto request = flow.Run(workspace, files)) flow.Answer(what the user said);

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/file_flows.h"
#include "grid/workspace.h"

namespace zorvan::web {

// The browser's files: the ones the page read from the computer, by name, and the ones Save
// wrote, for the page to hand out as downloads.
class BrowserFiles final : public app::FileStore {
  public:
    void Put(const std::string& name, std::string bytes) { files_[name] = std::move(bytes); }
    std::variant<std::string, app::FileFailure> ReadAll(const std::string& path) override;
    std::optional<app::FileFailure> ReplaceAll(const std::string& path,
                                               std::string_view bytes) override;

    struct Written {
        std::string name;
        std::string bytes;
    };
    // The files written since the last call, oldest first.
    std::vector<Written> TakeWritten();

  private:
    std::map<std::string, std::string> files_;
    std::vector<Written> written_;
};

// What the command needs from the user before it can go on.
struct FlowRequest {
    enum class Kind {
        kYesNo,       // a save-first question: Yes, No, or Escape
        kOpenFile,    // the open dialog: a file, or cancelled
        kSaveFile,    // the save dialog: a name, or cancelled
        kWarning,     // a warning with OK
        kSaveAnyway,  // a cell that will not read back the same: save anyway, or go back
    };
    Kind kind = Kind::kYesNo;
    std::string text;  // the question or warning; empty for the two dialogs
};

struct FlowAnswer {
    app::SaveAnswer yesNo = app::SaveAnswer::kCancel;  // kYesNo; kSaveAnyway: kYes or kNo
    std::optional<std::string> file;                   // the dialogs: nothing when cancelled
};

class BrowserFlow {
  public:
    enum class Command { kNew, kOpen, kSave, kExit, kQuickSave, kOpenExample };

    // droppedFile: the file dropped on the page, which answers Open's dialog without showing it;
    // for kOpenExample, the help's example that the page put among the files.
    explicit BrowserFlow(Command command, std::optional<std::string> droppedFile = std::nullopt)
        : command_(command), droppedFile_(std::move(droppedFile)) {}

    // The next question, with nothing changed; or nothing, the command done and the workspace
    // and files as it left them.
    std::optional<FlowRequest> Run(grid::Workspace& workspace, BrowserFiles& files);
    void Answer(FlowAnswer answer) { answers_.push_back(std::move(answer)); }

    // After the command is done: Exit's verdict.
    bool ExitConfirmed() const { return exitConfirmed_; }

  private:
    Command command_;
    std::optional<std::string> droppedFile_;
    std::vector<FlowAnswer> answers_;
    bool exitConfirmed_ = false;
};

}  // namespace zorvan::web
