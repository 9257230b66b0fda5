#pragma once
// The step window without a window: the start address, the two rows that show the instruction
// executed and the one to execute next, the status line and the buttons' states, and the rules of
// Start, Next, Stop and closing. It drives the program grid and the message area through the
// workspace, and the register and memory windows through StepPeers.

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/breakpoints.h"
#include "app/pinned_cells.h"
#include "app/run_command.h"
#include "cpu/address_set.h"
#include "cpu/machine_host.h"
#include "cpu/step_history.h"
#include "grid/workspace.h"

namespace zorvan::app {

inline constexpr int kStepGridColumns = 5;
inline constexpr int kStepGridRows = 2;

inline constexpr std::string_view kExecutedCaption = "Εντολή που εκτελέστηκε:";
inline constexpr std::string_view kToExecuteCaption = "Εντολή προς εκτέλεση:";
inline constexpr std::string_view kStepStartedMessage =
    "Η έναρξη της εκτέλεσης έγινε από την διεύθυνση ";
inline constexpr std::string_view kStepAddressNotInGridMessage =
    "Η διεύθυνση μνήμης δεν απεικονίζεται στο πλέγμα. Η εκτέλεση συνεχίζεται...";
inline constexpr std::string_view kStepPossibleAddressErrorMessage =
    "Πιθανό λάθος διεύθυνσης δοκιμάστε ξανά.";
inline constexpr std::string_view kStepRunningStatus = "Υπο Εκτέλεση...";
inline constexpr std::string_view kStepEndedStatus = "Τερματισμός Προγράμματος";
inline constexpr std::string_view kStepStoppedStatus = "Τερματισμός προγράμματος από τον χρήστη.";

inline constexpr std::string_view kNothingToUndoMessage =
    "Δεν υπάρχει προηγούμενη εντολή: η επιστροφή δεν μπορεί να πάει πιο πίσω.";
inline constexpr std::string_view kSteppingUnderWayNotice =
    "Η Βηματική Εκτέλεση είναι σε εξέλιξη: το παράθυρό της ήρθε μπροστά. Για να σταματήσει, "
    "κλείστε το (Esc).";
// Page Up and Page Down move the grid's cursor by this many lines while stepping.
inline constexpr int kCursorPageRows = 10;
inline constexpr std::string_view kAnswerEndedHistoryMessage =
    "Η απάντηση στην κονσόλα άλλαξε τον AC έξω από το βήμα που τη ζήτησε· το Πίσω δεν πηγαίνει "
    "πιο πίσω από εδώ.";
inline constexpr std::string_view kWatchStopMessage = "Διακοπή: το παρακολουθούμενο κελί άλλαξε, ";
inline constexpr std::string_view kBackAtHistoryStartMessage =
    "Καμία εντολή με σημείο διακοπής στο ιστορικό: το Πίσω έφτασε στην αρχή του.";
inline constexpr std::string_view kHistoryEndedMessage = "Το Πίσω δεν πηγαίνει πιο πίσω: ";
// Why the history ended, after kHistoryEndedMessage.
inline constexpr std::string_view kEndedByMemoryEdit = "ένα κελί άλλαξε στο παράθυρο Μνήμης.";
inline constexpr std::string_view kEndedByRegisterEdit =
    "ένας καταχωρητής άλλαξε στο παράθυρο Καταχωρητών.";
inline constexpr std::string_view kEndedByClearMemory = "ο Καθαρισμός Μνήμης άδειασε τη μνήμη.";
inline constexpr std::string_view kEndedByClearRegisters =
    "ο Καθαρισμός Καταχωρητών μηδένισε τους καταχωρητές.";
inline constexpr std::string_view kEndedByAssemble = "η Συμβολομετάφραση ξανάγραψε τη μνήμη.";
inline constexpr std::string_view kEndedByRun = "η Εκτέλεση (F9) άλλαξε τη μηχανή.";

// The windows that stepping redraws, and the program grid's enabled state, which the main window
// shows.
class StepPeers {
  public:
    virtual ~StepPeers() = default;
    virtual void SetProgramGridEnabled(bool enabled) = 0;
    // Shows the register window, which refills itself as it comes to the front.
    virtual void ShowRegisterWindow() = 0;
    // Refills the register window's fields, shown or not.
    virtual void RefillRegisters() = 0;
    // Re-draws the memory window's view from the address in its first row, shown or not.
    virtual void RedrawMemory() = 0;
    // Repaints the memory window as it is.
    virtual void RepaintMemory() = 0;
};

// What the window shows; the window copies it into its widgets after each handler.
struct StepWindowState {
    std::string startAddress = "0000";  // the start-address field
    // StepGrid: column 0 holds the captions, columns 1 to 4 program-grid columns 1 to 4.
    std::array<std::array<std::string, kStepGridColumns>, kStepGridRows> rows{
        {{std::string(kExecutedCaption)}, {std::string(kToExecuteCaption)}}};
    std::string status;  // the status line under the rows
    bool statusVisible = false;
    bool nextVisible = false;
    bool nextEnabled = false;
    bool stopVisible = false;
    bool stopEnabled = false;
    // What the instruction executed last did, under the rows; empty before the first step.
    std::string sentence;
    // Why the pinned cells' field took nothing; empty once a cell is pinned.
    std::string pinNotice;
};

// How many of the latest steps the step window lists.
inline constexpr std::size_t kRecentStepCount = 100;

// One of the latest steps: the Position() of the history just after it, the program-grid line of
// its instruction (0 when no line carries it) and its sentence.
struct PastStepRow {
    std::size_t position = 0;
    int row = 0;
    std::string sentence;
};

// A cell whose change stops the step window's runs: any change, or one to value.
struct Watch {
    int address = 0;
    std::optional<std::int32_t> value;
};

// The step window's run up to a breakpoint, the return of a JSR or the cursor's line, every
// instruction undoable by Πίσω. It stops before an empty cell or an opcode that is not
// executed, after a refused push, and before an instruction at a breakpoint (not the first).
class RecordedRun : public SlicedRun {
  public:
    // oneStep: a call stepped over, shown and undone as one step once it reaches target.
    RecordedRun(grid::Workspace& workspace, cpu::MachineHost& host, cpu::RestorableConsole* console,
                const cpu::AddressSet& programBytes, int target, bool oneStep = false);

    cpu::RunEnd Slice(std::int64_t budget) override;
    cpu::RunEnd Stop() override;
    cpu::RunEnd End() const override { return end_; }
    std::int64_t ExecutedCount() const override { return executed_; }
    bool AtBreakpoint() const override { return atBreakpoint_; }
    bool ReachedTarget() const { return reachedTarget_; }
    // A breakpoint stops the run only when hits says so; nullptr: at every pass.
    void SetHits(BreakpointHits* hits) { hits_ = hits; }
    // Stops after the instruction that changes the watched cell (kStopped, AtWatch).
    void SetWatch(const std::optional<Watch>& watch) { watch_ = watch; }
    bool AtWatch() const { return atWatch_; }
    // The first notice met on the way, or "".
    const std::string& Notice() const { return notice_; }
    const cpu::RegisterState& Before() const { return before_; }
    const cpu::Machine& MemoryBefore() const { return *memoryBefore_; }
    bool OneStep() const { return oneStep_; }
    std::size_t HistoryBegin() const { return historyBegin_; }

  private:
    // A run with no hit count, watched cell or target runs in slices of a cpu::Run, its
    // instructions kept unrecorded by the history until something asks for them.
    void StartBursts();
    cpu::RunEnd SliceInBursts(std::int64_t budget);
    // Once they end: a console routine called with no RTS in its cell, or else the first of the
    // program's own bytes that differs from before the run.
    void NoticeWhatTheBurstsMet();

    grid::Workspace& workspace_;
    cpu::MachineHost& host_;
    cpu::RestorableConsole* console_;
    const cpu::AddressSet& programBytes_;
    const cpu::AddressSet* watchedProgram_;  // nullptr when it holds no byte
    cpu::AddressSet breakpoints_;
    int target_;  // -1: none
    cpu::RunEnd end_ = cpu::RunEnd::kRunning;
    std::int64_t executed_ = 0;
    bool reachedTarget_ = false;
    bool atBreakpoint_ = false;
    std::string notice_;
    cpu::RegisterState before_;
    std::unique_ptr<cpu::Machine> memoryBefore_;
    bool oneStep_;
    std::size_t historyBegin_;
    std::optional<Watch> watch_;
    bool atWatch_ = false;
    BreakpointHits* hits_ = nullptr;
    std::unique_ptr<cpu::UnrecordedConsole> burstHost_;
    std::unique_ptr<cpu::Run> bursts_;
    std::vector<std::int64_t> programCells_;  // compared at the end with MemoryBefore()
};

// The program-grid row whose address cell holds address, or 0. The search runs from row 1 to
// the first row with an empty address cell, past the grid's row count if need be. Throws
// ConversionError when an address cell on the way is not hexadecimal.
int FindGridRow(const grid::ProgramGrid& grid, int address);

class StepSession {
  public:
    StepSession(grid::Workspace& workspace, cpu::MachineHost& host, StepPeers& peers);

    StepWindowState& State() { return state_; }
    const StepWindowState& State() const { return state_; }
    // The program-grid row of the instruction PC points to; 0 when no line carries it.
    int CurrentRow() const { return currentRow_; }

    // Each time the window becomes visible: the start address, rows and buttons as at first.
    void ResetForNewSession();
    // Start: PC from the start address, one instruction executed. Throws ConversionError when
    // the start address is not hexadecimal, before anything is executed.
    void Start();
    // Next: one more instruction.
    void Next();
    // Stop: the status line says so and Next is disabled.
    void Stop();
    // Closing the window gives the program grid back.
    void Close();

    // Fills columns 1 to 4 of the two rows from the program grid; row is the line executed.
    void ShowStepRows(int row);

    // The console whose text the history keeps; nullptr keeps none.
    void SetConsole(cpu::RestorableConsole* console) { console_ = console; }

    // The watchpoint of the runs that follow, from the window's two fields (hexadecimal): no
    // address, none. Throws ConversionError for a text that is not hexadecimal.
    void SetWatch(std::string_view address, std::string_view value);
    // Συνέχεια: a run to the next breakpoint or the end.
    std::unique_ptr<RecordedRun> Continue();
    // Παράκαμψη JSR: on a JSR, a run to the address after it, which then counts as one step
    // (one sentence, one Πίσω); on any other line nullptr, and the window does Next instead.
    std::unique_ptr<RecordedRun> StepOverJsr();
    // Έως τον κέρσορα: a run until PC is the address of the grid's current line. Throws
    // ConversionError when that line's address is not hexadecimal; nullptr when it has none.
    std::unique_ptr<RecordedRun> RunToCursor();
    // After the window has run it to its end: the message, the rows, the cursor, the windows.
    void FinishRun(RecordedRun& run);
    // While stepping (the grid taken from the student), the keys that move the grid's cursor
    // move it by rows, clamped to the grid's lines; nothing is edited.
    bool Stepping() const { return gridTaken_; }
    void MoveCursor(int rows);
    // Πίσω: undoes the latest instruction, or says that there is none, or why the history ended.
    void Back();
    // The console's field took an answer while stepping: it joins the step that asked for it,
    // or ends the history when another step came between.
    void AnswerEntered(int previousAc);
    // Πίσω ως το σημείο διακοπής: undoes back to the latest instruction on a line with a
    // breakpoint (told as a stop there), or to the start of the history.
    void BackToBreakpoint();

    // The latest steps that Πίσω can still reach, at most kRecentStepCount, newest last.
    std::vector<PastStepRow> RecentSteps() const;
    // Back to the point just after the step that left the history at position (a PastStepRow's);
    // a position the history no longer holds, or the present one, does nothing.
    void BackTo(std::size_t position);

    // The breakpoint of row stops the runs that follow on its every-th pass (kept within
    // 1..kMostPasses), its passes counted again; a new session counts all passes again. A row
    // without a breakpoint takes no count.
    void SetBreakpointEvery(int row, int every);
    const BreakpointHits& Hits() const { return hits_; }

    // Pins the cell the text names, or shows why not in the window's notice line.
    void PinCell(std::string_view address);
    void UnpinCell(std::size_t index);
    std::vector<PinnedCellRow> PinnedRows() const;

  private:
    // One instruction at PC, recorded; tells the notices and fills the sentence.
    void RecordStep();
    std::unique_ptr<RecordedRun> RunTo(int target, bool oneStep = false);
    // The rows, the cursor and the sentence from the history: executed is the line of the latest
    // recorded instruction, to execute the line of PC.
    void ShowFromHistory();
    // Πίσω once, back to a breakpoint, or back to position (a Position() of the history).
    void UndoSteps(bool toBreakpoint, std::optional<std::size_t> position = std::nullopt);
    // The program grid is the step window's while it is taken.
    void TakeGrid(bool take);
    // Shows a notice; with none, takes away the one an earlier step showed.
    void ShowNotice(const std::string& notice);
    // The sentence, with what the console shows now.
    std::string Describe(cpu::StepChange change) const;

  private:
    grid::Workspace& workspace_;
    cpu::MachineHost& host_;
    StepPeers& peers_;
    StepWindowState state_;
    int currentRow_ = 0;
    cpu::RestorableConsole* console_ = nullptr;
    cpu::AddressSet programBytes_;
    std::string noticeShown_;
    bool gridTaken_ = false;
    std::optional<Watch> watch_;
    BreakpointHits hits_;
    PinnedCells pinned_;
};

}  // namespace zorvan::app
