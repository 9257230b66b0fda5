// A program that prints one character in an endless loop (LDA #60 / STA FFFF / LDA #41 /
// LOOP JSR FFFF / JMP LOOP), run for a second headless and in the console window as the Run
// command runs it: slices of the event loop, the console repainting a few times a second.
// Prints the console calls per second of each and their ratio. Then a loop that prints 32,768
// lines, under Συνέχεια (every instruction recorded, the console's text kept for Πίσω) and under
// the Run command; and how long an endless printing loop keeps the event loop waiting (what
// Escape waits for), after millions of lines.
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <initializer_list>
#include <memory>
#include <optional>
#include <utility>

#include "app/program_file.h"
#include "app/run_command.h"
#include "app/step_session.h"
#include "asm/assembly_pass.h"
#include "cpu/run_loop.h"
#include "grid/workspace.h"
#include "ui/application.h"
#include "windows/application_windows.h"
#include "windows/console_window.h"
#include "windows/machine_host_adapter.h"

namespace {

using namespace zorvan;

constexpr qint64 kMeasureMs = 1000;
constexpr qint64 kSliceMs = 40;
// The loop executes JSR FFFF, the routine's RTS and the JMP: three instructions per call.
constexpr double kInstructionsPerCall = 3.0;
constexpr int kPrintingRepeats = 5;

void LoadPrintingLoop(grid::Workspace& workspace) {
    app::PlaceProgramRows(workspace.grid,
                          app::ReadProgramText("_ 0200 LDA #60 _ _ _ 0202 STA FFFF _ _ _ "
                                               "0205 LDA #41 _ _ LOOP 0207 JSR FFFF _ _ _ "
                                               "020A JMP LOOP _ _ _ 020D _ _ _ _"));
    assembler::Assemble(workspace.grid, workspace.machine);
}

// Runs for about kMeasureMs, letting between slices do what the window does; calls per second.
template <typename BetweenSlices>
double CallsPerSecond(cpu::Machine& machine, cpu::MachineHost& host, BetweenSlices between) {
    cpu::Run run(machine, host, 0x0200);
    QElapsedTimer total;
    total.start();
    while (total.elapsed() < kMeasureMs) {
        QElapsedTimer slice;
        slice.start();
        while (slice.elapsed() < kSliceMs &&
               run.Slice(app::kInstructionsPerCheck) == cpu::RunEnd::kRunning) {
        }
        between();
    }
    return double(run.ExecutedCount()) / kInstructionsPerCall / (double(total.elapsed()) / 1000.0);
}

// LDA #60 / STA FFFC / outerCount × 256 JSR FFFC, each printing "AB" (from 0310, its address in
// 0000): four instructions a line.
void LoadPrintingLines(grid::Workspace& workspace, int outerCount) {
    const int bytes[] = {0xA9, 0x60, 0x8D, 0xFC, 0xFF, 0xA0, outerCount, 0xA2, 0x00, 0x20,
                         0xFC, 0xFF, 0xCA, 0xD0, 0xFA, 0x88, 0xD0,       0xF5, 0x00};
    workspace.machine = {};
    for (int i = 0; i < int(std::size(bytes)); ++i) workspace.machine.memory[0x0200 + i] = bytes[i];
    workspace.machine.memory[0x0000] = 0x10;
    workspace.machine.memory[0x0001] = 0x03;
    workspace.machine.memory[0x0310] = 0x41;
    workspace.machine.memory[0x0311] = 0x42;
    workspace.machine.PC = 0x0200;
}

// The console window's text as the step window's history keeps it.
class ConsoleText : public cpu::RestorableConsole {
  public:
    explicit ConsoleText(windows::ConsoleWindow& console) : console_(console) {}
    std::string Text() const override { return console_.ShownText(); }
    void SetText(const std::string& text) override { console_.ReplaceShownText(text); }
    std::size_t Size() const override { return console_.ShownSize(); }
    void KeepDropped() override { console_.KeepDropped(); }
    std::string TakeDropped() override { return console_.TakeDropped(); }

  private:
    windows::ConsoleWindow& console_;
};

// How long a run in the window took: the run itself, and until the console showed its lines.
struct WindowTimes {
    double runSeconds = 0;
    double shownSeconds = 0;
    double longestWait = 0;  // of the event loop
};

// Runs a run slice by slice as the stop window does, the event loop turning between slices.
WindowTimes RunInWindow(app::SlicedRun& run, windows::ConsoleWindow& console, qint64 forMs = -1) {
    std::optional<windows::ConsoleWindow::RunBurst> burst(std::in_place, console);
    QElapsedTimer total, turn;
    total.start();
    turn.start();
    qint64 longest = 0;
    while (run.Slice(app::kInstructionsPerCheck) == cpu::RunEnd::kRunning &&
           (forMs < 0 || total.elapsed() < forMs)) {
        longest = std::max(longest, turn.elapsed());
        ui::Application::processEvents(QEventLoop::AllEvents, 5);
        turn.start();
    }
    // In nanoseconds: the printing runs take a few milliseconds.
    const double runSeconds = double(total.nsecsElapsed()) / 1e9;
    burst.reset();  // the console shows what the run printed
    ui::Application::processEvents(QEventLoop::AllEvents, 5);
    return {runSeconds, double(total.nsecsElapsed()) / 1e9, double(longest) / 1000.0};
}

}  // namespace

int main(int argc, char** argv) {
    ui::Application application(argc, argv);

    grid::Workspace headless;
    LoadPrintingLoop(headless);
    cpu::NullMachineHost nullHost;
    const double headlessCalls = CallsPerSecond(headless.machine, nullHost, [] {});

    auto windows = std::make_unique<windows::ApplicationWindows>();
    LoadPrintingLoop(windows->workspace);
    windows::MachineHostAdapter host(*windows);
    double windowCalls = 0;
    {
        windows::ConsoleWindow::RunBurst burst(*windows->consoleWindow);
        windowCalls = CallsPerSecond(windows->workspace.machine, host, [] {
            ui::Application::processEvents(QEventLoop::AllEvents, 5);
        });
    }
    std::printf("console loop: %.0f calls/s headless, %.0f calls/s in the window (%.2fx slower)\n",
                headlessCalls, windowCalls, headlessCalls / windowCalls);

    ConsoleText text(*windows->consoleWindow);
    const cpu::AddressSet noProgram;
    // The best of a few runs of each, turn about, every Συνέχεια from an empty history: a run
    // of a few milliseconds on a shared machine is easily slowed by others.
    WindowTimes continued{1e9, 1e9}, ran{1e9, 1e9};
    const auto best = [](WindowTimes& best, const WindowTimes& times) {
        best.runSeconds = std::min(best.runSeconds, times.runSeconds);
        best.shownSeconds = std::min(best.shownSeconds, times.shownSeconds);
    };
    for (int i = 0; i < kPrintingRepeats; ++i) {
        LoadPrintingLines(windows->workspace, 0x80);
        windows->consoleWindow->ReplaceShownText("");
        windows->workspace.history.Clear();
        app::RecordedRun recorded(windows->workspace, host, &text, noProgram, -1);
        WindowTimes times = RunInWindow(recorded, *windows->consoleWindow);
        // And what the step window asks of the history then: the last step and the latest 100.
        QElapsedTimer shown;
        shown.start();
        cpu::StepHistory& history = windows->workspace.history;
        (void)history.Last(windows->workspace.machine);
        history.VisitLatest(windows->workspace.machine, &text, 100, [](auto&&...) {});
        times.runSeconds += double(shown.nsecsElapsed()) / 1e9;
        times.shownSeconds += double(shown.nsecsElapsed()) / 1e9;
        best(continued, times);
        LoadPrintingLines(windows->workspace, 0x80);
        windows->consoleWindow->ReplaceShownText("");
        app::RunCommand run(windows->workspace, host, 0x0200);
        best(ran, RunInWindow(run, *windows->consoleWindow));
    }
    std::printf(
        "32,768 printed lines: %.4f s under Συνέχεια, %.4f s under Run (%.2fx; goal 2x); "
        "until the console shows them, %.4f s and %.4f s (%.2fx)\n",
        continued.runSeconds, ran.runSeconds, continued.runSeconds / ran.runSeconds,
        continued.shownSeconds, ran.shownSeconds, continued.shownSeconds / ran.shownSeconds);

    // Endless: BEQ 0207 where the outer loop ends.
    LoadPrintingLines(windows->workspace, 0x00);
    windows->workspace.machine.memory[0x0212] = 0xF0;
    windows->workspace.machine.memory[0x0213] = 0xF3;
    const cpu::Machine endlessLoaded = windows->workspace.machine;
    app::RunCommand endless(windows->workspace, host, 0x0200);
    const WindowTimes endlessTimes = RunInWindow(endless, *windows->consoleWindow, 5000);
    std::printf(
        "endless printing loop under Run: %.0f lines in %.1f s, the event loop waited at "
        "most %.3f s (Escape's latency; goal < 0.2 s)\n",
        double(endless.ExecutedCount()) / 4.0, endlessTimes.runSeconds, endlessTimes.longestWait);
    windows->workspace.machine = endlessLoaded;
    windows->workspace.history.Clear();
    app::RecordedRun endlessRecorded(windows->workspace, host, &text, noProgram, -1);
    const WindowTimes recordedTimes = RunInWindow(endlessRecorded, *windows->consoleWindow, 5000);
    std::printf(
        "endless printing loop under Συνέχεια: %.0f lines in %.1f s, the event loop "
        "waited at most %.3f s, history %.0f MB\n",
        double(endlessRecorded.ExecutedCount()) / 4.0, recordedTimes.runSeconds,
        recordedTimes.longestWait, double(windows->workspace.history.Bytes()) / (1 << 20));
    return 0;
}
