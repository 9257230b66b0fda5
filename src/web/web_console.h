#pragma once
// The console window's text while the page shows it: the console routines of a run or a step
// land here, and the page draws it when the run yields. A full stack is said in the message area.
// The step window's history keeps and puts back the same text. Like the window's, it keeps the
// last lines only, so that an endless printing loop costs the same per line.

#include <string>
#include <string_view>

#include "app/headless_console.h"
#include "cpu/machine_host.h"
#include "cpu/step_history.h"
#include "grid/workspace.h"

namespace zorvan::web {

class WebConsole final : public cpu::MachineHost, public cpu::RestorableConsole {
  public:
    explicit WebConsole(grid::Workspace& workspace) : workspace_(workspace) {}

    // The text as the window shows it, control characters drawn as the desktop's font does.
    std::string ShownText() const;
    // Set by any console routine: the window comes up (once; the page clears it).
    bool TakeShowRequest();
    // JSR FFFE came and the field waits for the answer; the page puts the focus there.
    bool TakeFocusRequest();
    // Enter in the AC field: the answer's line, when the text set AC.
    void AddLine(std::string_view line);

    void ShowCharacter(int ac) override;
    void AskForAccumulator() override;
    void ClearConsole() override;
    void PrintText(std::string_view cp1253Bytes) override;
    void StackFull() override;

    std::string Text() const override { return text_.Text(); }
    void SetText(const std::string& text) override { text_.Replace(text); }
    std::size_t Size() const override { return text_.Text().size(); }
    void KeepDropped() override { text_.KeepDropped(); }
    std::string TakeDropped() override { return text_.TakeDropped(); }

  private:
    grid::Workspace& workspace_;
    app::ConsoleText text_;
    bool showRequested_ = false;
    bool focusRequested_ = false;
};

}  // namespace zorvan::web
