#include "web/web_session.h"

#include <algorithm>
#include <exception>
#include <utility>

#include "app/breakpoints.h"
#include "app/grid_keys.h"
#include "app/headless_console.h"
#include "app/line_editing.h"
#include "app/memory_view.h"
#include "app/program_listing.h"
#include "app/register_fields.h"
#include "asm/assembly_pass.h"
#include "text/characters.h"
#include "text/hex_text.h"
#include "web/json_text.h"
#include "web/saved_work.h"

namespace zorvan::web {

namespace {

constexpr std::string_view kDone = "{}";

// Runs a command as the desktop's error guard does: a failure stops it where it is, what it did
// before stays done, and its message goes to the error box.
template <typename Work>
std::string Guarded(Work&& work) {
    try {
        work();
    } catch (const std::exception& failure) {
        return JsonObject().Add("error", failure.what()).Text();
    }
    return std::string(kDone);
}

std::string JsonArray(const std::vector<std::string>& items) {
    std::string json = "[";
    for (const std::string& item : items) {
        if (json.size() > 1) json += ',';
        json += item;
    }
    return json + "]";
}

std::string JsonStrings(const auto& texts) {
    std::vector<std::string> items;
    for (const auto& text : texts) items.push_back(JsonString(text));
    return JsonArray(items);
}

std::string_view RequestKind(FlowRequest::Kind kind) {
    switch (kind) {
        case FlowRequest::Kind::kYesNo:
            return "yesNo";
        case FlowRequest::Kind::kOpenFile:
            return "openFile";
        case FlowRequest::Kind::kSaveFile:
            return "saveFile";
        case FlowRequest::Kind::kWarning:
            return "warning";
        case FlowRequest::Kind::kSaveAnyway:
            return "saveAnyway";
    }
    return "";
}

}  // namespace

// What stepping asks of the other windows: the page redraws them all after every step, so only
// the grid's state and the register window's coming up are kept for it.
class WebSession::StepWindow final : public app::StepPeers {
  public:
    bool open = false;
    bool gridEnabled = true;
    bool showRegisters = false;

    void SetProgramGridEnabled(bool enabled) override { gridEnabled = enabled; }
    void ShowRegisterWindow() override { showRegisters = true; }
    void RefillRegisters() override {}
    void RedrawMemory() override {}
    void RepaintMemory() override {}
};

WebSession::WebSession()
    : history_(workspace_),
      console_(workspace_),
      stepWindow_(std::make_unique<StepWindow>()),
      step_(std::make_unique<app::StepSession>(workspace_, console_, *stepWindow_)) {
    // As the main window first shows it: header, one line, the cursor on its address, the
    // execution commands off.
    workspace_.executionEnabled = false;
    step_->SetConsole(&console_);
}

WebSession::~WebSession() = default;

std::string WebSession::View() {
    const grid::ProgramGrid& grid = workspace_.grid;
    std::vector<std::string> cells;
    const int rowCount = grid.RowCount();
    for (int row = 0; row < rowCount; ++row) {
        const bool known = row < static_cast<int>(shown_.size());
        for (int column = 0; column < grid::kGridColumnCount; ++column) {
            const std::string& text = grid.Cell(column, row);
            if (known ? shown_[row][column] == text : text.empty()) continue;
            cells.push_back("[" + std::to_string(column) + "," + std::to_string(row) + "," +
                            JsonString(text) + "]");
        }
    }
    shown_.resize(rowCount);
    for (int row = 0; row < rowCount; ++row) {
        shown_[row].resize(grid::kGridColumnCount);
        for (int column = 0; column < grid::kGridColumnCount; ++column) {
            shown_[row][column] = grid.Cell(column, row);
        }
    }
    std::vector<std::string> breakpoints;
    for (const int row : grid.BreakpointRows()) breakpoints.push_back(std::to_string(row));
    const grid::MessageArea& message = workspace_.message;
    std::vector<std::string> slipChecks;
    for (const bool on : workspace_.slips.on) slipChecks.push_back(on ? "true" : "false");
    return JsonObject()
        .Add("rowCount", rowCount)
        .Add("col", grid.Col())
        .Add("row", grid.Row())
        .Add("message", message.text)
        .Add("notice", message.tone == grid::Tone::kNotice)
        .Add("headingEnabled", message.headingEnabled)
        .Add("messageEnabled", message.textEnabled)
        .Add("executionEnabled", workspace_.executionEnabled)
        .Add("changed", workspace_.changed)
        .Add("contentCount", grid.ContentCount())
        .Add("caption", workspace_.caption)
        .Add("canUndo", history_.CanUndo())
        .Add("canRedo", history_.CanRedo())
        .AddRaw("breakpoints", JsonArray(breakpoints))
        .Add("breakpointRow", grid.HasBreakpoint(grid.Row()) ? grid.Row() : 0)
        .Add("breakpointEvery", grid.BreakpointEvery(grid.Row()))
        .Add("breakpointCaption", app::BreakpointCountCaption(grid))
        .AddRaw("cells", JsonArray(cells))
        .AddRaw("slipChecks", JsonArray(slipChecks))
        .Text();
}

std::string WebSession::Key(int code, bool shift, bool ctrl, bool alt, char32_t character, int from,
                            int to) {
    const grid::CellPosition typedIn{workspace_.grid.Col(), workspace_.grid.Row()};
    history_.NoteCursor(workspace_);
    std::optional<app::EditorSelection> selection;
    if (from >= 0) selection = app::EditorSelection{from, to};
    std::optional<int> caret;
    const std::string result = Guarded([&] {
        caret = app::TypeKey(workspace_, {code, shift, ctrl, alt}, character, selection);
    });
    // Keys typed into one cell are one undo step, up to the one that commits it; a key that
    // failed part-way leaves what it did as a step of its own.
    if (result != kDone) {
        history_.Record(workspace_);
        return result;
    }
    history_.Record(workspace_, typedIn, code == app::kKeyEnter || code == app::kKeyTab);
    return caret ? JsonObject().Add("caret", *caret).Text() : result;
}

std::string WebSession::Recorded(const std::function<void()>& work) {
    history_.NoteCursor(workspace_);
    const std::string result = Guarded(work);
    history_.Record(workspace_);
    return result;
}

void WebSession::SetCurrent(int column, int row) {
    workspace_.grid.SetCurrent(column, row);
}

void WebSession::ToggleBreakpointAt(int row) {
    workspace_.grid.ToggleBreakpoint(row);
}

std::string WebSession::StartFlow(BrowserFlow::Command command,
                                  std::optional<std::string> droppedFile) {
    flow_.emplace(command, std::move(droppedFile));
    return FlowStep();
}

std::string WebSession::AnswerFlow(int answer, std::string_view file) {
    if (!flow_) return std::string(kDone);
    FlowAnswer given;
    given.yesNo = answer == 1   ? app::SaveAnswer::kYes
                  : answer == 0 ? app::SaveAnswer::kNo
                                : app::SaveAnswer::kCancel;
    if (!file.empty()) given.file = std::string(file);
    flow_->Answer(std::move(given));
    return FlowStep();
}

std::string WebSession::FlowStep() {
    std::optional<FlowRequest> request;
    const std::string failure = Guarded([&] { request = flow_->Run(workspace_, files_); });
    if (failure != kDone) {
        flow_.reset();
        return failure;
    }
    if (request) {
        return JsonObject()
            .Add("ask", RequestKind(request->kind))
            .Add("text", request->text)
            .Text();
    }
    std::vector<std::string> downloads;
    for (const BrowserFiles::Written& file : files_.TakeWritten()) {
        // The bytes as code points 0-255, which the page turns back into bytes.
        std::string latin1;
        for (const char byte : file.bytes) {
            text::AppendCharacter(latin1, static_cast<unsigned char>(byte));
        }
        downloads.push_back(JsonObject().Add("name", file.name).Add("bytes", latin1).Text());
    }
    const bool exit = flow_->ExitConfirmed();
    flow_.reset();
    history_.Record(workspace_);
    return JsonObject()
        .Add("done", true)
        .Add("exit", exit)
        .AddRaw("downloads", JsonArray(downloads))
        .Text();
}

std::string WebSession::InsertLine() {
    return Recorded([&] { app::InsertLine(workspace_); });
}

std::string WebSession::InsertLines(std::string_view countText) {
    return Recorded([&] { app::InsertLines(workspace_, countText); });
}

std::string WebSession::DeleteLine() {
    bool beep = false;
    const std::string result = Recorded([&] {
        beep = app::DeleteLine(workspace_) == app::DeleteLineResult::kEmptiedOnlyRowAndBeep;
    });
    return beep ? JsonObject().Add("beep", true).Text() : result;
}

std::string WebSession::ClearGrid() {
    return Recorded([&] { app::ClearGridCommand(workspace_); });
}

std::string WebSession::ToggleBreakpoint() {
    return Recorded([&] { app::ToggleBreakpoint(workspace_); });
}

void WebSession::Undo() {
    TakeHistoryStep(true);
}

void WebSession::Redo() {
    TakeHistoryStep(false);
}

void WebSession::TakeHistoryStep(bool undo) {
    // While stepping the grid stays as the step window shows it.
    if (!stepWindow_->gridEnabled) return;
    app::UndoOrRedo(history_, workspace_, undo);
}

std::string WebSession::Assemble() {
    int lineInProgress = 0;
    std::string answer;
    const std::string failure = Guarded([&] {
        workspace_.EndHistory();
        const assembler::AssemblyResult result =
            assembler::Assemble(workspace_.grid, workspace_.machine, &lineInProgress);
        switch (result.kind) {
            case assembler::AssemblyResult::Kind::kSummary:
                if (!result.notice.empty()) {
                    workspace_.ShowMessage(result.notice, workspace_.grid.Col(),
                                           grid::Tone::kNotice);
                }
                answer = JsonObject().Add("summary", result.text).Text();
                return;
            case assembler::AssemblyResult::Kind::kWarning:
                answer = JsonObject().Add("warning", result.text).Text();
                break;
            case assembler::AssemblyResult::Kind::kError:
                answer = JsonObject().Add("failure", result.text).Text();
                break;
        }
        // The student lands on the line at fault, however far down it is.
        workspace_.grid.SetCurrent(result.column, result.row);
    });
    if (failure == kDone) return answer;
    assembler::GoToCellAtFault(workspace_.grid, lineInProgress);
    return failure;
}

std::string WebSession::AcceptsStartAddress(std::string_view text) {
    bool accept = false;
    const std::string failure = Guarded([&] { accept = app::AcceptsStartAddress(text); });
    return failure == kDone ? JsonObject().Add("accept", accept).Text() : failure;
}

void WebSession::CancelRun() {
    app::ReportRunCancelled(workspace_);
}

std::string WebSession::StartRun(std::string_view text) {
    return Guarded([&] {
        const int start = app::StartAddressOf(text);
        // The run changes the machine past what the step window's history could step back over.
        workspace_.EndHistory();
        run_ = std::make_unique<app::RunCommand>(workspace_, console_, start, &runPasses_);
    });
}

app::SlicedRun* WebSession::Running() const {
    if (run_ != nullptr) return run_.get();
    return stepRun_.get();
}

bool WebSession::RunSlice(std::int64_t budget) {
    app::SlicedRun* run = Running();
    return run != nullptr && run->Slice(budget) == cpu::RunEnd::kRunning;
}

void WebSession::StopRun() {
    app::SlicedRun* run = Running();
    if (run != nullptr && run->End() == cpu::RunEnd::kRunning) run->Stop();
}

double WebSession::ExecutedCount() const {
    const app::SlicedRun* run = Running();
    return run != nullptr ? static_cast<double>(run->ExecutedCount()) : 0.0;
}

std::string WebSession::FinishRun() {
    if (stepRun_ != nullptr) {
        const std::string result = Guarded([&] { step_->FinishRun(*stepRun_); });
        stepRun_.reset();
        return result;
    }
    if (run_ == nullptr) return std::string(kDone);
    run_->Report();
    JsonObject result;
    // Run again goes on from where the breakpoint stopped the program.
    if (run_->AtBreakpoint()) result.Add("startAddress", text::FormatHex4(workspace_.machine.PC));
    run_.reset();
    return result.Text();
}

void WebSession::OpenStepWindow() {
    ClearRegisters();
    if (stepWindow_->open) return;  // only brought to the front
    stepWindow_->open = true;
    step_->ResetForNewSession();
}

void WebSession::CloseStepWindow() {
    if (!stepWindow_->open) return;
    stepWindow_->open = false;
    step_->Close();
}

std::string WebSession::StepStart(std::string_view startAddress) {
    step_->State().startAddress = std::string(startAddress);
    return StepCommand([&] { step_->Start(); });
}

std::string WebSession::StepNext() {
    return StepCommand([&] { step_->Next(); });
}

void WebSession::StepStop() {
    step_->Stop();
}

std::string WebSession::StepBack() {
    return StepCommand([&] { step_->Back(); });
}

std::string WebSession::StepBackToBreakpoint() {
    return StepCommand([&] { step_->BackToBreakpoint(); });
}

bool WebSession::MoveStepCursor(int rows) {
    if (!step_->Stepping()) return false;
    step_->MoveCursor(rows);
    return true;
}

void WebSession::TellSteppingUnderWay() {
    workspace_.ShowMessage(app::kSteppingUnderWayNotice, workspace_.grid.Col(),
                           grid::Tone::kNotice);
}

std::string WebSession::StepRun(int kind, std::string_view watchAddress,
                                std::string_view watchValue) {
    bool running = false;
    const std::string failure = StepCommand([&] {
        step_->SetWatch(watchAddress, watchValue);
        switch (kind) {
            case 0:
                stepRun_ = step_->Continue();
                break;
            case 1:
                stepRun_ = step_->StepOverJsr();
                // Not on a JSR: one instruction, as Next.
                if (stepRun_ == nullptr) step_->Next();
                break;
            default:
                stepRun_ = step_->RunToCursor();
                break;
        }
        running = stepRun_ != nullptr;
    });
    return failure == kDone ? JsonObject().Add("running", running).Text() : failure;
}

std::string WebSession::StepCommand(const std::function<void()>& work) {
    step_->State().pinNotice.clear();
    return Guarded(work);
}

std::string WebSession::StepView() const {
    const app::StepWindowState& state = step_->State();
    std::vector<std::string> rows;
    for (const auto& row : state.rows) rows.push_back(JsonStrings(row));
    std::vector<std::string> recent;
    for (const app::PastStepRow& step : step_->RecentSteps()) {
        recent.push_back(JsonObject()
                             .Add("position", static_cast<double>(step.position))
                             .Add("row", step.row)
                             .Add("sentence", step.sentence)
                             .Text());
    }
    std::vector<std::string> pinned;
    for (const app::PinnedCellRow& cell : step_->PinnedRows()) {
        pinned.push_back(JsonObject()
                             .Add("address", cell.address)
                             .Add("value", cell.value)
                             .Add("character", cell.character)
                             .Add("changed", cell.changed)
                             .Text());
    }
    const bool showRegisters = std::exchange(stepWindow_->showRegisters, false);
    return JsonObject()
        .Add("open", stepWindow_->open)
        .Add("startAddress", state.startAddress)
        .AddRaw("rows", JsonArray(rows))
        .Add("status", state.status)
        .Add("statusVisible", state.statusVisible)
        .Add("nextVisible", state.nextVisible)
        .Add("nextEnabled", state.nextEnabled)
        .Add("stopVisible", state.stopVisible)
        .Add("stopEnabled", state.stopEnabled)
        .Add("sentence", state.sentence)
        .Add("gridEnabled", stepWindow_->gridEnabled)
        .Add("showRegisters", showRegisters)
        .Add("currentRow", step_->CurrentRow())
        .AddRaw("recent", JsonArray(recent))
        .AddRaw("pinned", JsonArray(pinned))
        .Add("pinNotice", state.pinNotice)
        .Text();
}

std::string WebSession::StepBackTo(double position) {
    if (!(position >= 0)) return std::string(kDone);
    return StepCommand([&] { step_->BackTo(static_cast<std::size_t>(position)); });
}

void WebSession::PinCell(std::string_view address) {
    step_->PinCell(address);
}

void WebSession::UnpinCell(int index) {
    if (index >= 0) step_->UnpinCell(static_cast<std::size_t>(index));
}

void WebSession::SetBreakpointEvery(int row, int every) {
    step_->SetBreakpointEvery(row, every);
}

void WebSession::SetSlipCheck(int kind, bool on) {
    if (kind >= 0 && kind < cpu::kSlipKindCount)
        workspace_.slips.on[static_cast<std::size_t>(kind)] = on;
}

void WebSession::SetRow(int row) {
    workspace_.grid.SetRow(row);
}

void WebSession::ClearMemory() {
    workspace_.EndHistory();
    workspace_.ClearMemory();
}

void WebSession::ClearRegisters() {
    workspace_.EndHistory();
    workspace_.machine.ClearRegisters();
}

std::string WebSession::ConsoleView() {
    return JsonObject()
        .Add("text", console_.ShownText())
        .Add("show", console_.TakeShowRequest())
        .Add("focus", console_.TakeFocusRequest())
        .Text();
}

std::string WebSession::EnterAccumulator(std::string_view text) {
    return Guarded([&] {
        const int previousAc = workspace_.machine.AC;
        if (const auto line = app::EnterAccumulator(workspace_.machine, text)) {
            console_.AddLine(*line);
            // The answer joins the step that asked for it, so that Πίσω undoes it too.
            if (stepWindow_->open) step_->AnswerEntered(previousAc);
        }
    });
}

std::string WebSession::Registers() const {
    std::vector<std::string> marked;
    for (int field = 0; field < app::kRegisterFieldCount; ++field) {
        marked.push_back(app::FieldChanged(workspace_.marks, field) ? "true" : "false");
    }
    return JsonObject()
        .AddRaw("fields", JsonStrings(app::ShowRegisters(workspace_.machine)))
        .AddRaw("marked", JsonArray(marked))
        .Add("returnAddress", text::FormatHex4(workspace_.machine.returnAddress))
        .Text();
}

std::string WebSession::ExitRegisterField(int field, std::string_view text) {
    std::optional<std::string_view> warning;
    const std::string failure =
        Guarded([&] { warning = app::ExitRegisterField(workspace_.machine, field, text); });
    if (failure != kDone) return failure;
    if (warning) return JsonObject().Add("warning", *warning).Text();
    workspace_.EndHistory();
    return std::string(kDone);
}

std::string WebSession::Memory(std::string_view startText) const {
    std::string answer;
    const std::string failure = Guarded([&] {
        const app::MemoryDump dump = app::ShowMemoryFrom(workspace_.machine, startText);
        std::vector<std::string> lines;
        for (const app::MemoryLine& line : dump.lines) {
            lines.push_back(JsonObject()
                                .Add("address", line.address)
                                .AddRaw("bytes", JsonStrings(line.bytes))
                                .Add("characters", line.characters)
                                .Text());
        }
        std::vector<std::string> marked;
        for (const int cell : workspace_.marks.cells) {
            if (cell >= dump.start && cell < dump.start + app::kMemoryLines * app::kBytesPerLine) {
                marked.push_back(std::to_string(cell - dump.start));
            }
        }
        answer = JsonObject()
                     .Add("start", dump.start)
                     .AddRaw("lines", JsonArray(lines))
                     .AddRaw("marked", JsonArray(marked))
                     .Add("returnAddress", text::FormatHex4(workspace_.machine.returnAddress))
                     .Text();
    });
    return failure == kDone ? answer : failure;
}

std::string WebSession::CheckMemoryStart(std::string_view text) const {
    const auto warning = app::CheckStartAddressText(text);
    return warning ? JsonObject().Add("warning", *warning).Text() : std::string(kDone);
}

std::string WebSession::StoreMemoryCell(std::string_view rowAddress, int column,
                                        std::string_view text) {
    app::StoreOutcome outcome;
    const std::string failure = Guarded([&] {
        workspace_.EndHistory();
        outcome = app::StoreMemoryCell(workspace_, rowAddress, column, text);
    });
    if (failure != kDone) return failure;
    return JsonObject()
        .Add("warning", outcome.warning)
        .Add("zero", outcome.cellBecomesZero)
        .Add("next", app::ColumnAfterEnter(column))
        .Text();
}

std::string WebSession::Listing(int linesPerPage, int charactersPerLine) const {
    std::vector<std::string> pages;
    for (const app::ListingPage& page : app::PaginateListing(
             workspace_.grid, workspace_.openDialogFileName, linesPerPage, charactersPerLine)) {
        pages.push_back(JsonObject()
                            .AddRaw("heading", JsonStrings(page.heading))
                            .AddRaw("lines", JsonStrings(page.lines))
                            .Text());
    }
    return JsonArray(pages);
}

std::string WebSession::SavedWork() const {
    return SavedWorkText(workspace_);
}

bool WebSession::RestoreWork(std::string_view text) {
    shown_.clear();
    if (!RestoreSavedWork(workspace_, text)) return false;
    history_.Reset(workspace_);
    return true;
}

}  // namespace zorvan::web
