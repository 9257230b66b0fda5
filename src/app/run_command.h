#pragma once
// The Run command without a window: whether the start-address dialog accepts its text, the run
// itself in slices (so that a window can offer to stop it), and the report in the message area
// when it ends or is cancelled.
//
//   if (dialog cancelled) ReportRunCancelled(workspace);
//   RunCommand run(workspace, host, StartAddressOf(text));
//   RunWithStopWindow(run, tookLong, showStopWindow);
//   run.Report();

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/breakpoints.h"
#include "cpu/run_loop.h"
#include "grid/workspace.h"

namespace zorvan::app {

inline constexpr std::string_view kRunCancelledMessage = "Η διαδικασία εκτέλεσης απορρίφθηκε.";
inline constexpr std::string_view kRunCompletedMessage = "Η διαδικασία εκτέλεσης ολοκληρώθηκε.";
inline constexpr std::string_view kProgramOverwroteItselfNotice =
    "Προσοχή: το πρόγραμμα έγραψε πάνω σε δικό του byte (διεύθυνση ";
inline constexpr std::string_view kConsoleWithoutRtsNotice =
    "Προσοχή: JSR σε ρουτίνα κονσόλας χωρίς RTS (60) στη διεύθυνση ";

std::string OverwroteItselfNotice(int address);
std::string ConsoleWithoutRtsNotice(int routine);
// After the message the area shows (the end of a run), or alone when it shows none.
void AppendNotice(grid::Workspace& workspace, const std::string& notice);

// The cells of the program's lines: each line's instruction bytes, as the machine holds them.
cpu::AddressSet ProgramBytes(const grid::ProgramGrid& grid, const cpu::Machine& machine);

// The slips the checks met in the latest run or step, each named with its line, one after the
// other; "" for none.
std::string SlipNotices(const cpu::SlipChecks& slips, const grid::ProgramGrid& grid);

// The start address the dialog's text stands for. Throws ConversionError when the text is not
// hexadecimal (the empty text included).
int StartAddressOf(std::string_view text);
// Ok on the dialog: only a non-zero address closes it. Throws as StartAddressOf.
bool AcceptsStartAddress(std::string_view text);

// The dialog was closed without Ok.
void ReportRunCancelled(grid::Workspace& workspace);

// A run that a window drives slice by slice and may stop: the Run command's, or the step
// window's runs up to a breakpoint.
class SlicedRun {
  public:
    virtual ~SlicedRun() = default;
    // Executes at most budget instructions; kRunning while the run goes on.
    virtual cpu::RunEnd Slice(std::int64_t budget) = 0;
    // The user stopped the run.
    virtual cpu::RunEnd Stop() = 0;
    virtual cpu::RunEnd End() const = 0;
    virtual std::int64_t ExecutedCount() const = 0;
    // Ended kStopped before the instruction of a line with a breakpoint, not by the user.
    virtual bool AtBreakpoint() const = 0;
};

// Instructions between two checks of the stop window: a look at the clock before it shows, a
// turn of the event loop while it does.
inline constexpr std::int64_t kInstructionsPerCheck = 20'000;

// Runs the run in slices of kInstructionsPerCheck until it ends. After each slice that leaves it
// running, tookLong() is asked whether the run has gone on long enough for the stop window; the
// first time it says so, showStopWindow() drives the run on (it may stop it) and a run it leaves
// going on is stopped. Returns the run's end.
cpu::RunEnd RunWithStopWindow(SlicedRun& run, const std::function<bool()>& tookLong,
                              const std::function<void()>& showStopWindow);

class RunCommand : public SlicedRun {
  public:
    // The run stops at the lines that carry a breakpoint, except on its first instruction: at
    // every pass, or as hits counts them (BreakpointHits), when given; hits must outlive the run.
    RunCommand(grid::Workspace& workspace, cpu::MachineHost& host, int start,
               BreakpointHits* hits = nullptr);
    RunCommand(const RunCommand&) = delete;
    RunCommand& operator=(const RunCommand&) = delete;

    cpu::RunEnd Slice(std::int64_t budget) override;
    cpu::RunEnd Stop() override { return run_.Stop(); }
    cpu::RunEnd End() const override { return run_.End(); }
    std::int64_t ExecutedCount() const override { return run_.ExecutedCount(); }
    bool AtBreakpoint() const override { return run_.AtBreakpoint(); }

    // The message of an ended run: blue on reaching an empty cell; nothing on a full stack (the
    // interpreter's message stays); red when stopped or at an opcode that is not executed; blue
    // with the line and address at a breakpoint, the grid's cursor then on that line. After it,
    // the first slip the run's end shows: a console routine reached with no RTS in its cell, or
    // a byte of the program's own lines that it changed; then the slips of the workspace's checks
    // (SlipNotices).
    void Report();
    // That slip, or "".
    std::string Notice() const;

  private:
    grid::Workspace& workspace_;
    BreakpointHits* hits_;
    cpu::AddressSet program_;
    // The program's own bytes as the run began: comparing them at its end costs the run nothing.
    std::vector<std::pair<int, std::int16_t>> programBefore_;
    cpu::Run run_;
};

}  // namespace zorvan::app
