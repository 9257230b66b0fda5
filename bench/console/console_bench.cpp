// A program that prints one character in an endless loop (LDA #60 / STA FFFF / LDA #41 /
// LOOP JSR FFFF / JMP LOOP), run for a second headless and in the console window as the Run
// command runs it: slices of the event loop, the console repainting a few times a second.
// Prints the console calls per second of each and their ratio.
#include <QElapsedTimer>
#include <cstdio>
#include <initializer_list>
#include <memory>

#include "app/program_file.h"
#include "app/run_command.h"
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
    return 0;
}
