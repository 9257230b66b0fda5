#include "web/browser_flows.h"

#include <system_error>
#include <utility>

namespace zorvan::web {

namespace {

// Thrown through the core's flow when it reaches a question not answered yet.
struct AnswerNeeded {
    FlowRequest request;
};

class AnsweringHost final : public app::FileFlowHost {
  public:
    AnsweringHost(const std::vector<FlowAnswer>& answers, const std::optional<std::string>& dropped)
        : answers_(answers), dropped_(dropped) {}

    app::SaveAnswer AskYesNo(std::string_view question) override {
        return Next(FlowRequest::Kind::kYesNo, question).yesNo;
    }
    std::optional<std::string> ChooseOpenFile() override {
        if (dropped_) return dropped_;
        return Next(FlowRequest::Kind::kOpenFile, {}).file;
    }
    std::optional<std::string> ChooseSaveFile() override {
        return Next(FlowRequest::Kind::kSaveFile, {}).file;
    }
    void ShowWarning(std::string_view text) override { Next(FlowRequest::Kind::kWarning, text); }
    bool AskSaveAnyway(std::string_view text) override {
        return Next(FlowRequest::Kind::kSaveAnyway, text).yesNo == app::SaveAnswer::kYes;
    }

  private:
    const FlowAnswer& Next(FlowRequest::Kind kind, std::string_view text) {
        if (next_ == answers_.size()) throw AnswerNeeded{{kind, std::string(text)}};
        return answers_[next_++];
    }

    const std::vector<FlowAnswer>& answers_;
    const std::optional<std::string>& dropped_;
    std::size_t next_ = 0;
};

}  // namespace

std::variant<std::string, app::FileFailure> BrowserFiles::ReadAll(const std::string& path) {
    const auto file = files_.find(path);
    if (file == files_.end()) {
        return app::FileFailure{app::OpenFailureMessage(
            path, std::make_error_code(std::errc::no_such_file_or_directory))};
    }
    return file->second;
}

std::optional<app::FileFailure> BrowserFiles::ReplaceAll(const std::string& path,
                                                         std::string_view bytes) {
    files_[path] = std::string(bytes);
    written_.push_back({path, std::string(bytes)});
    return std::nullopt;
}

std::vector<BrowserFiles::Written> BrowserFiles::TakeWritten() {
    return std::exchange(written_, {});
}

std::optional<FlowRequest> BrowserFlow::Run(grid::Workspace& workspace, BrowserFiles& files) {
    grid::Workspace trial = workspace;
    BrowserFiles trialFiles = files;
    AnsweringHost host(answers_, droppedFile_);
    app::FileFlows flows(trial, host, trialFiles);
    try {
        switch (command_) {
            case Command::kNew:
                flows.New();
                break;
            case Command::kOpen:
                flows.Open();
                break;
            case Command::kSave:
                flows.Save();
                break;
            case Command::kExit:
                exitConfirmed_ = flows.Exit();
                break;
            case Command::kQuickSave:
                flows.QuickSave();
                break;
            case Command::kOpenExample: {
                const auto example = trialFiles.ReadAll(droppedFile_.value_or(""));
                if (const auto* text = std::get_if<std::string>(&example))
                    flows.OpenExample(*text);
                else
                    host.ShowWarning(std::get<app::FileFailure>(example).message);
                break;
            }
        }
    } catch (AnswerNeeded& needed) {
        return std::move(needed.request);
    }
    workspace = std::move(trial);
    files = std::move(trialFiles);
    return std::nullopt;
}

}  // namespace zorvan::web
