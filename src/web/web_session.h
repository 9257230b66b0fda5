#pragma once
// The browser edition's whole program behind the page: the workspace, the browser's files, the
// console's text, the run in progress and the file command waiting for an answer. The page calls
// one method per event (a key, a menu item, a button) and then reads View() to redraw; every
// method that the user starts gives a JSON object saying what the page must show next
// ({"error": text} for the error box titled "Zorvan", questions, dialogs). It holds no rule of
// its own: each method is what the desktop main window does with the same event.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/run_command.h"
#include "app/step_session.h"
#include "grid/edit_history.h"
#include "grid/workspace.h"
#include "web/browser_flows.h"
#include "web/web_console.h"

namespace zorvan::web {

class WebSession {
  public:
    WebSession();
    ~WebSession();

    // The main window's state as JSON: row count, current cell, message area, the execution
    // commands, the changed flag, content count, caption, breakpoints, the count of the current
    // line's breakpoint (breakpointRow 0: it has none) with the step window's caption for it, the
    // grid cells that changed since the last call (all of them the first time, or after
    // ForgetView()), and which slip checks are on.
    std::string View();
    void ForgetView() { shown_.clear(); }

    // One key in the grid: key-down, the grid's movement, key-press, the cell editor, with the
    // editor's caret or selection (from, to in characters; nothing when from is negative).
    // {"caret": n} when the key edited the cell it arrived in, {"error": text}, or {}.
    std::string Key(int code, bool shift, bool ctrl, bool alt, char32_t character, int from = -1,
                    int to = -1);
    // A click on a cell.
    void SetCurrent(int column, int row);
    // A click in the margin of a line.
    void ToggleBreakpointAt(int row);

    // The file commands. A command that needs an answer gives {"ask": kind, "text": ...}; the
    // page answers with AnswerFlow and the command goes on. When it is done: {"done": true},
    // with "exit" for Exit and "downloads" for the files Save wrote.
    std::string StartFlow(BrowserFlow::Command command,
                          std::optional<std::string> droppedFile = std::nullopt);
    // answer: 0 No, 1 Yes, 2 cancelled (Escape); file: the chosen name, or empty when cancelled.
    std::string AnswerFlow(int answer, std::string_view file);
    // Bytes of a file the user picked or dropped, under the name the flow will be given.
    void PutFile(const std::string& name, std::string bytes) { files_.Put(name, std::move(bytes)); }

    // The Grid menu. Each change to the program, a key's included, is a step Undo takes back.
    std::string InsertLine();
    std::string InsertLines(std::string_view countText);
    // {"beep": true} when the only row was emptied.
    std::string DeleteLine();
    std::string ClearGrid();
    std::string ToggleBreakpoint();
    // Αναίρεση and Επανάληψη; nothing while the step window holds the grid.
    void Undo();
    void Redo();
    bool CanUndo() const { return history_.CanUndo(); }
    bool CanRedo() const { return history_.CanRedo(); }

    // Assemble: {"summary"|"warning"|"failure": text}, or {"error": text}.
    std::string Assemble();

    // The start-address dialog's Ok: {"accept": bool} or {"error": text}.
    std::string AcceptsStartAddress(std::string_view text);
    void CancelRun();
    // Starts the run from the address the text stands for (the dialog accepted it).
    std::string StartRun(std::string_view text);
    // Runs at most budget instructions; true while the run goes on.
    bool RunSlice(std::int64_t budget);
    void StopRun();
    double ExecutedCount() const;
    // Reports the ended run in the message area: {"startAddress": text} when it stopped at a
    // breakpoint (Run again goes on from there).
    std::string FinishRun();

    // The step window. Opening it clears the registers (and, when it was closed, starts a new
    // session); closing it gives the grid back.
    void OpenStepWindow();
    void CloseStepWindow();
    // Εκκίνηση with the start address, Επόμενο, Stop, Πίσω: {"error": text} or {}.
    std::string StepStart(std::string_view startAddress);
    std::string StepNext();
    void StepStop();
    std::string StepBack();
    // Πίσω ως το σημείο διακοπής: {"error": text} or {}.
    std::string StepBackToBreakpoint();
    // Συνέχεια (0), Παράκαμψη JSR (1), Έως τον κέρσορα (2): {"running": true} when a run was
    // begun, which the page drives with RunSlice and ends with FinishRun like Run's. The
    // watchpoint's two fields (hexadecimal, the address empty for none) hold for the run.
    std::string StepRun(int kind, std::string_view watchAddress = {},
                        std::string_view watchValue = {});
    // While stepping, the arrows and Page Up/Down move the grid's cursor by rows, editing nothing;
    // false when not stepping, and the key goes on to the grid.
    bool MoveStepCursor(int rows);
    // A key in the main window while stepping: the step window comes back, and a blue notice
    // says that stepping is under way and how to stop it.
    void TellSteppingUnderWay();
    // The window's fields, rows, status, buttons and sentence, whether the grid is enabled, the
    // latest steps (position, line, sentence) and the pinned cells.
    std::string StepView() const;
    // A click on a line while the grid is disabled: the line Έως τον κέρσορα runs to.
    void SetRow(int row);
    // Enter or a double click on a row of the latest steps: back to just after that step, by
    // the position StepView gave for it. {"error": text} or {}.
    std::string StepBackTo(double position);
    // The pinned cells: the field's text (why not, in StepView's pinNotice), and a row's removal.
    void PinCell(std::string_view address);
    void UnpinCell(int index);
    // The breakpoint of row stops the step window's runs on its every-th pass, kept within the
    // desktop spin box's range; View's breakpointRow names the row the field shows.
    void SetBreakpointEvery(int row, int every);
    // The View menu's slip checks, in the order of cpu::SlipKind; View() says which are on.
    void SetSlipCheck(int kind, bool on);

    // The View menu.
    void ClearMemory();
    void ClearRegisters();

    // The console: its text as shown, whether it was asked to show, whether it asks for AC.
    std::string ConsoleView();
    std::string EnterAccumulator(std::string_view text);

    // The register window's twelve fields, and leaving one: {"warning": text} or {}.
    std::string Registers() const;
    std::string ExitRegisterField(int field, std::string_view text);

    // The memory window's sixteen lines from the start text, or {"error": text}; storing a cell.
    std::string Memory(std::string_view startText) const;
    std::string CheckMemoryStart(std::string_view text) const;
    std::string StoreMemoryCell(std::string_view rowAddress, int column, std::string_view text);

    // The listing on pages of the given size, as the print dialog sends it.
    std::string Listing(int linesPerPage, int charactersPerLine) const;

    // The grid kept between visits.
    std::string SavedWork() const;
    bool RestoreWork(std::string_view text);

    grid::Workspace& Workspace() { return workspace_; }

  private:
    std::string FlowStep();
    // A command as the desktop runs one: its changes to the program become an undo step.
    std::string Recorded(const std::function<void()>& work);
    void TakeHistoryStep(bool undo);
    // The run the page is driving: Run's, or the step window's.
    app::SlicedRun* Running() const;
    // A command of the step window's: the pinned cells' notice told of what was typed before it.
    std::string StepCommand(const std::function<void()>& work);

    grid::Workspace workspace_;
    grid::EditHistory history_;
    BrowserFiles files_;
    WebConsole console_;
    std::optional<BrowserFlow> flow_;
    std::unique_ptr<app::RunCommand> run_;
    // The breakpoints' passes, carried from a run that stopped at one to the run that goes on.
    app::BreakpointHits runPasses_;
    // The step window's session, its run in progress, and whether the window is open.
    class StepWindow;
    std::unique_ptr<StepWindow> stepWindow_;
    std::unique_ptr<app::StepSession> step_;
    std::unique_ptr<app::RecordedRun> stepRun_;
    // The grid cells as the page last drew them.
    std::vector<std::vector<std::string>> shown_;
};

}  // namespace zorvan::web
