#pragma once
// A file-flow host for tests: answers from a script and writes down every question, dialog and
// warning in order.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/file_flows.h"

namespace zorvan::app {

class ScriptedFlowHost : public FileFlowHost {
  public:
    bool yes = false;
    bool cancel = false;  // Escape on the save-first question
    bool saveAnyway = false;
    std::optional<std::string> openChoice;
    std::optional<std::string> saveChoice;
    std::vector<std::string> log;

    SaveAnswer AskYesNo(std::string_view question) override {
        log.push_back("ask " + std::string(question));
        if (cancel) return SaveAnswer::kCancel;
        return yes ? SaveAnswer::kYes : SaveAnswer::kNo;
    }
    std::optional<std::string> ChooseOpenFile() override {
        log.push_back("open dialog");
        return openChoice;
    }
    std::optional<std::string> ChooseSaveFile() override {
        log.push_back("save dialog");
        return saveChoice;
    }
    void ShowWarning(std::string_view text) override {
        log.push_back("warning " + std::string(text));
    }
    bool AskSaveAnyway(std::string_view text) override {
        log.push_back("save anyway? " + std::string(text));
        return saveAnyway;
    }
};

}  // namespace zorvan::app
