#include "app/step_session.h"

#include <algorithm>
#include <optional>

#include "app/breakpoints.h"
#include "cpu/interpreter.h"
#include "cpu/run_loop.h"
#include "cpu/step_sentence.h"
#include "text/conversion_error.h"
#include "text/hex_text.h"

namespace zorvan::app {
namespace {

constexpr int kStatusColumn = grid::kInstructionColumn;

bool Is(const cpu::Machine& m, std::int64_t address, cpu::Operation operation) {
    const cpu::DecodedOpcode d = cpu::Decode(m.Read(address));
    return d.known && d.operation == operation;
}

// A JSR to a console routine whose cell holds no RTS: the routine's address then ends the run.
std::string ConsoleNotice(const cpu::Machine& m, std::int64_t at) {
    if (!Is(m, at, cpu::Operation::kJsr)) return {};
    const std::int64_t target = std::int64_t{m.Read(at + 2)} * 256 + m.Read(at + 1);
    if (!cpu::IsConsoleRoutine(target) || Is(m, target, cpu::Operation::kRts)) return {};
    return ConsoleWithoutRtsNotice(static_cast<int>(target));
}

std::string OverwriteNotice(const cpu::StepChange& change, const cpu::AddressSet& program) {
    for (int i = 0; i < change.cellCount; ++i) {
        if (program.Contains(change.cells[i].address))
            return OverwroteItselfNotice(change.cells[i].address);
    }
    return {};
}

// Two notices one after the other.
std::string Joined(const std::string& first, const std::string& second) {
    return first.empty() || second.empty() ? first + second : first + " " + second;
}

// The row whose address cell holds address (0 when none does), or the first address cell on the
// way that is not hexadecimal.
struct GridRowSearch {
    int row = 0;
    const std::string* unreadable = nullptr;
};

GridRowSearch SearchGridRow(const grid::ProgramGrid& grid, int address) {
    for (int row = 1;; ++row) {
        const std::string& cell = grid.Cell(grid::kAddressColumn, row);
        if (cell.empty()) return {};
        const std::optional<std::int32_t> value = text::ParseHex(cell);
        if (!value) return {0, &cell};
        if (*value == address) return {row, nullptr};
    }
}

// The line carrying the address; 0 when none does or a line on the way has no address.
int RowOf(const grid::ProgramGrid& grid, int address) {
    return SearchGridRow(grid, address).row;
}

// The console's last line, for the sentence of an instruction that changed it.
std::string LastLine(const std::string& text) {
    const std::size_t start = text.rfind('\n');
    return start == std::string::npos ? text : text.substr(start + 1);
}

}  // namespace

RecordedRun::RecordedRun(grid::Workspace& workspace, cpu::MachineHost& host,
                         cpu::RestorableConsole* console, const cpu::AddressSet& programBytes,
                         int target, bool oneStep)
    : workspace_(workspace),
      host_(host),
      console_(console),
      programBytes_(programBytes),
      watchedProgram_(programBytes.Empty() ? nullptr : &programBytes),
      breakpoints_(BreakpointAddresses(workspace.grid)),
      target_(target),
      before_(cpu::RegisterState::Of(workspace.machine)),
      memoryBefore_(std::make_unique<cpu::Machine>(workspace.machine)),
      oneStep_(oneStep),
      historyBegin_(workspace.history.Position()) {
    // As every run: a stack found full before does not end this one.
    workspace.machine.halted = false;
    workspace.slips.BeginRun(programBytes, false);
}

void RecordedRun::StartBursts() {
    cpu::Machine& m = workspace_.machine;
    burstHost_ = std::make_unique<cpu::UnrecordedConsole>(workspace_.history, m, host_, console_);
    bursts_ = std::make_unique<cpu::Run>(m, *burstHost_, m.PC);
    bursts_->WatchBreakpoints(&breakpoints_);
    bursts_->WatchSlips(&workspace_.slips, /*recorded=*/true);
    for (std::int64_t a = 0; a < cpu::kMemorySize; ++a) {
        if (programBytes_.ContainsInMemory(a)) programCells_.push_back(a);
    }
}

cpu::RunEnd RecordedRun::SliceInBursts(std::int64_t budget) {
    cpu::Machine& m = workspace_.machine;
    cpu::StepHistory& history = workspace_.history;
    std::int64_t left = budget < 0 ? cpu::kNoLimit : budget;
    while (end_ == cpu::RunEnd::kRunning && left > 0) {
        // A slice ends where the history's stretch does, so that each stretch begins with the
        // machine as it stood.
        const auto room = static_cast<std::int64_t>(history.OpenStretch(m));
        workspace_.slips.RecordingFrom(history.Position() - bursts_->ExecutedCount(),
                                       history.Generation());
        const std::int64_t before = bursts_->ExecutedCount();
        const cpu::RunEnd end = bursts_->Slice(std::min(left, room));
        const std::int64_t ran = bursts_->ExecutedCount() - before;
        history.AddUnrecorded(static_cast<std::size_t>(ran));
        executed_ += ran;
        left -= ran;
        if (end != cpu::RunEnd::kRunning) {
            // The run's own ends leave PC past the cell; the step window's stand on it.
            m.PC = bursts_->Address();
            atBreakpoint_ = bursts_->AtBreakpoint();
            end_ = end;
        }
    }
    if (end_ != cpu::RunEnd::kRunning) NoticeWhatTheBurstsMet();
    return end_;
}

void RecordedRun::NoticeWhatTheBurstsMet() {
    if (notice_.empty() && burstHost_->RoutineWithoutRts() >= 0)
        notice_ = ConsoleWithoutRtsNotice(burstHost_->RoutineWithoutRts());
    if (!notice_.empty()) return;
    const cpu::Machine& m = workspace_.machine;
    for (const std::int64_t a : programCells_) {
        if (m.memory[static_cast<std::size_t>(a)] !=
            memoryBefore_->memory[static_cast<std::size_t>(a)]) {
            notice_ = OverwroteItselfNotice(static_cast<int>(a));
            return;
        }
    }
}

cpu::RunEnd RecordedRun::Slice(std::int64_t budget) {
    if (bursts_ == nullptr && executed_ == 0 && hits_ == nullptr && !watch_ && target_ < 0)
        StartBursts();
    if (bursts_ != nullptr) return SliceInBursts(budget);
    cpu::Machine& m = workspace_.machine;
    for (std::int64_t i = 0; end_ == cpu::RunEnd::kRunning && (budget < 0 || i < budget); ++i) {
        const std::int64_t a = m.PC;
        if (executed_ != 0 && breakpoints_.Contains(a) &&
            (hits_ == nullptr || hits_->StopsAt(static_cast<int>(a)))) {
            atBreakpoint_ = true;
            end_ = cpu::RunEnd::kStopped;
            break;
        }
        const int opcode = m.Read(a);
        if (opcode == 0) {
            end_ = cpu::RunEnd::kEmptyCell;
            break;
        }
        const cpu::DecodedOpcode d = cpu::Decode(opcode);
        if (!d.executed) {
            end_ = cpu::RunEnd::kNotExecuted;
            break;
        }
        if (notice_.empty() && d.operation == cpu::Operation::kJsr) notice_ = ConsoleNotice(m, a);
        const std::int16_t watchedBefore = watch_ ? m.memory[watch_->address] : std::int16_t{0};
        const bool overwrote = workspace_.history.StepUnrecorded(
            m, host_, console_, watchedProgram_, &workspace_.slips, d);
        if (overwrote && notice_.empty())
            notice_ = OverwriteNotice(*workspace_.history.Last(m), programBytes_);
        ++executed_;
        // The interpreter halts the machine on a push that finds the stack full.
        if (m.halted) {
            end_ = cpu::RunEnd::kStackFull;
        } else if (watch_ && m.memory[watch_->address] != watchedBefore &&
                   (!watch_->value || m.memory[watch_->address] == *watch_->value)) {
            atWatch_ = true;
            end_ = cpu::RunEnd::kStopped;
        } else if (m.PC == target_) {
            reachedTarget_ = true;
            end_ = cpu::RunEnd::kEmptyCell;
        }
    }
    return end_;
}

cpu::RunEnd RecordedRun::Stop() {
    if (end_ == cpu::RunEnd::kRunning) {
        end_ = cpu::RunEnd::kStopped;
        if (bursts_ != nullptr) NoticeWhatTheBurstsMet();
    }
    return end_;
}

int FindGridRow(const grid::ProgramGrid& grid, int address) {
    const GridRowSearch found = SearchGridRow(grid, address);
    if (found.unreadable != nullptr)
        throw text::ConversionError(text::NotHexMessage(*found.unreadable));
    return found.row;
}

StepSession::StepSession(grid::Workspace& workspace, cpu::MachineHost& host, StepPeers& peers)
    : workspace_(workspace), host_(host), peers_(peers) {}

void StepSession::ResetForNewSession() {
    state_.startAddress = "0000";
    for (auto& row : state_.rows) {
        for (int column = 1; column < kStepGridColumns; ++column) row[column].clear();
    }
    state_.statusVisible = false;
    state_.nextVisible = false;
    state_.stopVisible = false;
}

void StepSession::ShowStepRows(int row) {
    if (row == -1) {
        // This step's notice (a console routine without RTS) says why the address is lost: it
        // stays, beneath the error.
        std::string text(kStepPossibleAddressErrorMessage);
        if (!noticeShown_.empty() && workspace_.message.text == noticeShown_)
            text += "\n" + noticeShown_;
        workspace_.ShowMessage(text, grid::kLabelColumn, grid::Tone::kError);
        return;
    }
    const grid::ProgramGrid& grid = workspace_.grid;
    auto& executed = state_.rows[0];
    auto& toExecute = state_.rows[1];
    // Row 0 is the header, whose captions are no instruction (a jump back to the first line):
    // the line shown to execute before the step is the one executed, and moves up whole. When
    // it showed nothing, the executed instruction's own line is shown, if a line carries it.
    int shownRow = row;
    bool moveUp = false;
    if (row == 0) {
        moveUp = std::any_of(toExecute.begin() + 1, toExecute.end(),
                             [](const std::string& cell) { return !cell.empty(); });
        const std::optional<cpu::StepChange> last = workspace_.history.Last(workspace_.machine);
        shownRow = last ? RowOf(grid, last->address) : 0;
    }
    for (int column = 1; column < kStepGridColumns; ++column) {
        if (moveUp) {
            executed[column] = toExecute[column];
        } else {
            executed[column] = shownRow != 0 ? grid.Cell(column, shownRow) : "";
        }
        toExecute[column] = grid.Cell(column, row + 1);
    }
}

void StepSession::Start() {
    cpu::Machine& machine = workspace_.machine;
    machine.PC = text::HexTextToInt(state_.startAddress);
    const int row = FindGridRow(workspace_.grid, machine.PC);
    if (row != 0) {
        workspace_.ShowMessage(std::string(kStepStartedMessage) + state_.startAddress,
                               kStatusColumn, grid::Tone::kNotice);
        ShowStepRows(row);
        workspace_.grid.SetRow(row);
        workspace_.grid.SetRow(row + 1);
    } else {
        workspace_.ShowMessage(kStepAddressNotInGridMessage, kStatusColumn, grid::Tone::kError);
    }
    workspace_.EndHistory();
    hits_.Reset();
    programBytes_ = ProgramBytes(workspace_.grid, machine);
    workspace_.slips.BeginRun(programBytes_, true);
    RecordStep();
    currentRow_ = FindGridRow(workspace_.grid, machine.PC);

    TakeGrid(true);
    state_.nextVisible = state_.nextEnabled = true;
    state_.stopVisible = state_.stopEnabled = true;
    state_.status = kStepRunningStatus;
    state_.statusVisible = true;
    workspace_.grid.SetCol(grid::kInstructionColumn);
    peers_.ShowRegisterWindow();
}

void StepSession::Next() {
    cpu::Machine& machine = workspace_.machine;
    RecordStep();
    peers_.RefillRegisters();
    peers_.RedrawMemory();

    // With the grid's single empty line after the program, RowCount - 2 is the program's last
    // line: an empty cell after it ends the program.
    if (machine.Read(machine.PC) == 0 && currentRow_ == workspace_.grid.RowCount() - 2) {
        state_.status = kStepEndedStatus;
        state_.nextEnabled = false;
        state_.stopEnabled = false;
        TakeGrid(false);
        return;
    }
    currentRow_ = FindGridRow(workspace_.grid, machine.PC);
    if (currentRow_ != 0) workspace_.grid.SetRow(currentRow_);
    ShowStepRows(currentRow_ - 1);
    peers_.RepaintMemory();
}

void StepSession::Stop() {
    state_.status = kStepStoppedStatus;
    state_.nextEnabled = false;
}

void StepSession::Close() {
    TakeGrid(false);
}

void StepSession::TakeGrid(bool take) {
    gridTaken_ = take;
    peers_.SetProgramGridEnabled(!take);
}

void StepSession::MoveCursor(int rows) {
    grid::ProgramGrid& grid = workspace_.grid;
    grid.SetRow(std::clamp(grid.Row() + rows, 1, std::max(1, grid.RowCount() - 1)));
}

void StepSession::ShowNotice(const std::string& notice) {
    if (!notice.empty()) {
        workspace_.ShowMessage(notice, workspace_.grid.Col(), grid::Tone::kNotice);
        noticeShown_ = notice;
    } else if (!noticeShown_.empty() && workspace_.message.text == noticeShown_) {
        // A notice of an earlier step would be taken for one of this step.
        workspace_.ClearMessage();
        noticeShown_.clear();
    }
}

std::string StepSession::Describe(cpu::StepChange change) const {
    if (change.consoleChanged && console_ != nullptr)
        change.consoleShows = LastLine(console_->Text());
    return cpu::DescribeStep(change, workspace_.machine);
}

void StepSession::AnswerEntered(int previousAc) {
    if (!state_.nextVisible) return;  // not stepping
    cpu::Machine& m = workspace_.machine;
    const std::optional<cpu::StepChange> last = workspace_.history.Last(m);
    // The question's own step is the latest: the answer is part of it.
    if (last && m.PC == cpu::kAskForAccumulatorRoutine &&
        Is(m, last->address, cpu::Operation::kJsr)) {
        cpu::RegisterState left = cpu::RegisterState::Of(m);
        left.AC = previousAc;
        workspace_.history.AbsorbIntoLast(m, left);
        const cpu::StepChange change = *workspace_.history.Last(m);
        state_.sentence = Describe(change);
        workspace_.marks.SetRegisters(change.before, change.after);
    } else {
        workspace_.history.End(std::string(kAnswerEndedHistoryMessage));
        workspace_.marks.Clear();
        state_.sentence = std::string(kAnswerEndedHistoryMessage);
    }
    peers_.RefillRegisters();
}

void StepSession::RecordStep() {
    cpu::Machine& m = workspace_.machine;
    const std::string consoleNotice = ConsoleNotice(m, m.PC);
    workspace_.slips.BeginRun(programBytes_, false);
    const bool overwrote =
        workspace_.history.Step(m, host_, console_, &programBytes_, &workspace_.slips);
    workspace_.slips.EndedAt(m, m.PC);
    const cpu::StepChange change = *workspace_.history.Last(m);
    state_.sentence = Describe(change);
    workspace_.marks.Clear();
    workspace_.marks.SetRegisters(change.before, change.after);
    for (int i = 0; i < change.cellCount; ++i)
        workspace_.marks.cells.push_back(change.cells[i].address);
    std::sort(workspace_.marks.cells.begin(), workspace_.marks.cells.end());
    ShowNotice(Joined(overwrote ? OverwriteNotice(change, programBytes_) : consoleNotice,
                      SlipNotices(workspace_.slips, workspace_.grid)));
}

std::unique_ptr<RecordedRun> StepSession::RunTo(int target, bool oneStep) {
    // What the area told before is not this run's: its end, and what it met, are told after it.
    workspace_.ClearMessage();
    auto run =
        std::make_unique<RecordedRun>(workspace_, host_, console_, programBytes_, target, oneStep);
    run->SetWatch(watch_);
    hits_.Follow(workspace_.grid);
    run->SetHits(hits_.Counting() ? &hits_ : nullptr);
    return run;
}

void StepSession::SetBreakpointEvery(int row, int every) {
    workspace_.grid.SetBreakpointEvery(row, std::clamp(every, 1, BreakpointHits::kMostPasses));
    hits_.Follow(workspace_.grid);
}

void StepSession::SetWatch(std::string_view address, std::string_view value) {
    watch_.reset();
    if (address.empty()) return;
    Watch watch{text::HexTextToInt(address) & 0xFFFF, std::nullopt};
    if (!value.empty()) watch.value = text::HexTextToInt(value);
    watch_ = watch;
}

std::unique_ptr<RecordedRun> StepSession::Continue() {
    return RunTo(-1);
}

std::unique_ptr<RecordedRun> StepSession::StepOverJsr() {
    const cpu::Machine& m = workspace_.machine;
    if (!Is(m, m.PC, cpu::Operation::kJsr)) return nullptr;
    return RunTo(m.PC + 3, true);
}

std::unique_ptr<RecordedRun> StepSession::RunToCursor() {
    const std::string& address = workspace_.grid.Cell(grid::kAddressColumn, workspace_.grid.Row());
    if (address.empty()) return nullptr;
    return RunTo(text::HexTextToInt(address));
}

void StepSession::ShowFromHistory() {
    const cpu::Machine& m = workspace_.machine;
    const grid::ProgramGrid& grid = workspace_.grid;
    const std::optional<cpu::StepChange> last = workspace_.history.Last(m);
    const cpu::StepGroup* group = workspace_.history.LastGroup();
    const int executedRow = group  ? RowOf(grid, group->address)
                            : last ? RowOf(grid, last->address)
                                   : 0;
    currentRow_ = RowOf(grid, m.PC);
    for (int column = 1; column < kStepGridColumns; ++column) {
        state_.rows[0][column] = executedRow != 0 ? grid.Cell(column, executedRow) : "";
        state_.rows[1][column] = currentRow_ != 0 ? grid.Cell(column, currentRow_) : "";
    }
    if (currentRow_ != 0) workspace_.grid.SetRow(currentRow_);
    state_.sentence = group ? group->sentence : last ? Describe(*last) : "";
}

void StepSession::FinishRun(RecordedRun& run) {
    cpu::Machine& m = workspace_.machine;
    const bool ended = run.End() == cpu::RunEnd::kEmptyCell && !run.ReachedTarget();
    switch (run.End()) {
        case cpu::RunEnd::kStopped:
            if (run.AtBreakpoint()) {
                ReportBreakpointStop(workspace_, m.PC, hits_.EveryAt(m.PC));
            } else if (run.AtWatch()) {
                const int cell = watch_->address;
                workspace_.ShowMessage(std::string(kWatchStopMessage) + text::FormatHex4(cell) +
                                           " ← " + text::FormatHex2(m.memory[cell]) + ".",
                                       kStatusColumn, grid::Tone::kNotice);
            } else {
                workspace_.ShowMessage(cpu::kStoppedByUserMessage, kStatusColumn,
                                       grid::Tone::kError);
            }
            break;
        case cpu::RunEnd::kNotExecuted:
            workspace_.ShowMessage(cpu::NotExecutedMessage(m.Read(m.PC), m.PC), kStatusColumn,
                                   grid::Tone::kError);
            break;
        case cpu::RunEnd::kEmptyCell:  // the end, as the Run command tells it
            if (ended)
                workspace_.ShowMessage(kRunCompletedMessage, kStatusColumn, grid::Tone::kNotice);
            break;
        default:  // the address asked for, a full stack (already told)
            break;
    }
    // A breakpoint's notice is what the student needs to see first.
    if (!run.AtBreakpoint() && !run.Notice().empty()) {
        AppendNotice(workspace_, run.Notice());
        noticeShown_ = workspace_.message.text;
    } else if (!run.AtBreakpoint() && !ended) {
        ShowNotice("");
    }
    if (run.End() == cpu::RunEnd::kEmptyCell && !run.ReachedTarget() && run.ExecutedCount() > 0)
        workspace_.slips.EndedAt(m, m.PC);
    if (const std::string slips = SlipNotices(workspace_.slips, workspace_.grid); !slips.empty()) {
        AppendNotice(workspace_, slips);
        noticeShown_ = workspace_.message.text;
    }
    if (run.OneStep() && run.ReachedTarget()) {
        const cpu::Machine& before = run.MemoryBefore();
        const int target = before.Read(before.PC + 2) * 256 + before.Read(before.PC + 1);
        workspace_.history.Group(run.HistoryBegin(), before.PC,
                                 cpu::DescribeCall(target, run.ExecutedCount(), before, m));
    }
    const int breakpointRow = workspace_.grid.Row();
    ShowFromHistory();
    if (run.AtBreakpoint()) workspace_.grid.SetRow(breakpointRow);

    workspace_.marks.Clear();
    workspace_.marks.SetRegisters(run.Before(), cpu::RegisterState::Of(m));
    for (int address = 0; address < cpu::kMemorySize; ++address) {
        if (run.MemoryBefore().memory[address] != m.memory[address])
            workspace_.marks.cells.push_back(address);
    }
    if (ended) {
        state_.status = kStepEndedStatus;
        state_.nextEnabled = false;
        state_.stopEnabled = false;
        TakeGrid(false);
    }
    peers_.RefillRegisters();
    peers_.RedrawMemory();
    peers_.ShowRegisterWindow();
}

void StepSession::Back() {
    UndoSteps(false);
}

void StepSession::BackToBreakpoint() {
    UndoSteps(true);
}

std::vector<PastStepRow> StepSession::RecentSteps() const {
    cpu::StepHistory& history = workspace_.history;  // it may make the records it shows
    std::vector<PastStepRow> rows;
    history.VisitLatest(
        workspace_.machine, console_, kRecentStepCount,
        [&](std::size_t position, const cpu::StepChange& change, const cpu::StepGroup* group,
            const cpu::Machine& after) {
            const int address = group != nullptr ? group->address : change.address;
            rows.push_back({position, RowOf(workspace_.grid, address),
                            group != nullptr ? group->sentence : cpu::DescribeStep(change, after)});
        });
    std::reverse(rows.begin(), rows.end());
    return rows;
}

void StepSession::BackTo(std::size_t position) {
    const cpu::StepHistory& history = workspace_.history;
    if (position >= history.Position() || position < history.Position() - history.Size()) return;
    UndoSteps(false, position);
}

void StepSession::PinCell(std::string_view address) {
    state_.pinNotice = pinned_.Add(address);
}

void StepSession::UnpinCell(std::size_t index) {
    pinned_.Remove(index);
    state_.pinNotice.clear();
}

std::vector<PinnedCellRow> StepSession::PinnedRows() const {
    return pinned_.Rows(workspace_.machine, workspace_.marks);
}

void StepSession::UndoSteps(bool toBreakpoint, std::optional<std::size_t> position) {
    cpu::Machine& m = workspace_.machine;
    const auto before = std::make_unique<cpu::Machine>(m);
    const cpu::AddressSet breakpoints = BreakpointAddresses(workspace_.grid);
    bool undone = false;
    while (workspace_.history.Undo(m, console_)) {
        undone = true;
        if (position) {
            if (workspace_.history.Position() <= *position) break;
        } else if (!toBreakpoint || breakpoints.Contains(m.PC)) {
            break;
        }
    }
    workspace_.slips.Rewind(workspace_.history.Position(), workspace_.history.Generation());
    if (!undone) {
        const std::string& why = workspace_.history.EndedBecause();
        workspace_.ShowMessage(why.empty() ? std::string(kNothingToUndoMessage)
                                           : std::string(kHistoryEndedMessage) + why,
                               kStatusColumn, grid::Tone::kError);
        // What the old sentence and highlights told is no longer the machine's.
        if (!why.empty()) {
            state_.sentence.clear();
            workspace_.marks.Clear();
            peers_.RefillRegisters();
            peers_.RedrawMemory();
        }
        return;
    }
    ShowFromHistory();
    if (toBreakpoint) {
        if (breakpoints.Contains(m.PC)) {
            ReportBreakpointStop(workspace_, m.PC);
        } else {
            workspace_.ShowMessage(kBackAtHistoryStartMessage, kStatusColumn, grid::Tone::kNotice);
        }
    }
    // What the undone instructions had changed is what changes back now.
    workspace_.marks.Clear();
    workspace_.marks.SetRegisters(cpu::RegisterState::Of(m), cpu::RegisterState::Of(*before));
    for (int address = 0; address < cpu::kMemorySize; ++address) {
        if (before->memory[address] != m.memory[address]) workspace_.marks.cells.push_back(address);
    }
    // Stepping again is possible from here, whatever had ended.
    state_.status = kStepRunningStatus;
    state_.nextEnabled = state_.stopEnabled = true;
    TakeGrid(true);
    peers_.RefillRegisters();
    peers_.RedrawMemory();
}

}  // namespace zorvan::app
