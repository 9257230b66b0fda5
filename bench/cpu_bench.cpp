// Emulated instructions per second of the run loop on three small programs. Each benchmark runs
// the whole program with RunFrom, as the Run command does, and counts what the run executed.

#include <benchmark/benchmark.h>

#include <array>
#include <chrono>
#include <cstdint>
#include <initializer_list>

#include "app/step_session.h"
#include "cpu/machine.h"
#include "cpu/machine_host.h"
#include "cpu/run_loop.h"
#include "cpu/slip_checks.h"
#include "cpu/step_history.h"

namespace {

using zorvan::cpu::Machine;
using zorvan::cpu::NullMachineHost;
using zorvan::cpu::Run;
using zorvan::cpu::RunEnd;

void Place(Machine& machine, int address, std::initializer_list<int> bytes) {
    for (int byte : bytes) machine.Write(address++, byte);
}

void RunProgram(benchmark::State& state, const Machine& loaded) {
    Machine machine = loaded;
    NullMachineHost host;
    std::int64_t instructions = 0;
    for (auto _ : state) {
        Run run(machine, host, 0x0200);
        const RunEnd end = run.Slice(zorvan::cpu::kNoLimit);
        if (end != RunEnd::kEmptyCell) state.SkipWithError("the program did not end at 00");
        instructions += run.ExecutedCount();
        benchmark::DoNotOptimize(machine.AC);
    }
    state.counters["instructions/s"] =
        benchmark::Counter(static_cast<double>(instructions), benchmark::Counter::kIsRate);
}

// Two nested DEX/BNE loops: 256 x 256 iterations of the inner pair.
void LoadTightLoop(Machine& machine) {
    Place(machine, 0x0200,
          {
              0xA0, 0x00,  // 0200 LDY #00
              0xA2, 0x00,  // 0202 LDX #00
              0xCA,        // 0204 DEX
              0xD0, 0xFD,  // 0205 BNE 0204
              0x88,        // 0207 DEY
              0xD0, 0xF8,  // 0208 BNE 0202
              0x00,        // 020A
          });
}
void BM_TightLoop(benchmark::State& state) {
    Machine machine;
    LoadTightLoop(machine);
    RunProgram(state, machine);
}
BENCHMARK(BM_TightLoop);

// Copies and adds through indexed memory: LDA abs,X / ADC / STA abs,Y / INX / BNE, 256 x 256.
void LoadMemoryLoop(Machine& machine) {
    for (int i = 0; i < 256; ++i) machine.Write(0x3000 + i, i);
    Place(machine, 0x0200,
          {
              0xA0, 0x00,        // 0200 LDY #00
              0xA2, 0x00,        // 0202 LDX #00
              0xBD, 0x00, 0x30,  // 0204 LDA 3000,X
              0x69, 0x01,        // 0207 ADC #01
              0x99, 0x00, 0x40,  // 0209 STA 4000,Y
              0xE8,              // 020C INX
              0xD0, 0xF5,        // 020D BNE 0204
              0x88,              // 020F DEY
              0xD0, 0xF0,        // 0210 BNE 0202
              0x00,              // 0212
          });
}
void BM_MemoryLoop(benchmark::State& state) {
    Machine machine;
    LoadMemoryLoop(machine);
    RunProgram(state, machine);
}
BENCHMARK(BM_MemoryLoop);

// A subroutine call per iteration, with the loop counter kept on the stack across it.
void LoadSubroutineAndStack(Machine& machine) {
    Place(machine, 0x0200,
          {
              0xA2, 0x00,        // 0200 LDX #00
              0xA0, 0x00,        // 0202 LDY #00
              0x98,              // 0204 TYA
              0x48,              // 0205 PHA
              0x20, 0x00, 0x03,  // 0206 JSR 0300
              0x68,              // 0209 PLA
              0x88,              // 020A DEY
              0xD0, 0xF7,        // 020B BNE 0204
              0xCA,              // 020D DEX
              0xD0, 0xF2,        // 020E BNE 0202
              0x00,              // 0210
          });
    Place(machine, 0x0300,
          {
              0x69, 0x03,        // 0300 ADC #03
              0x8D, 0x00, 0x40,  // 0302 STA 4000
              0x60,              // 0305 RTS
          });
}
void BM_SubroutineAndStack(benchmark::State& state) {
    Machine machine;
    LoadSubroutineAndStack(machine);
    RunProgram(state, machine);
}
BENCHMARK(BM_SubroutineAndStack);

// The Run command's own runs, with the checks of slips on, without breakpoints and with one on a
// line never reached, for each program above; the goal is within 10% of the plain run. Each
// iteration times the three back to back, in turns, so that the ratios hold on a machine whose
// speed drifts from one second to the next.
double SecondsOf(Run& run) {
    const auto start = std::chrono::steady_clock::now();
    const RunEnd end = run.Slice(zorvan::cpu::kNoLimit);
    const std::chrono::duration<double> taken = std::chrono::steady_clock::now() - start;
    benchmark::DoNotOptimize(end);
    return taken.count();
}

void RunCheckedAgainstPlain(benchmark::State& state, void (*load)(Machine&)) {
    Machine loaded;
    load(loaded);
    // On a line the run never reaches, a branch like those the loops take.
    Place(loaded, 0x0500, {0xD0, 0xFE});
    zorvan::cpu::AddressSet breakpoints;
    breakpoints.Add(0x0500);
    zorvan::cpu::SlipChecks slips;
    // The table was written before the run, as an assembly or the student would have.
    for (int i = 0; i < 256; ++i) slips.MarkWritten(0x3000 + i);
    NullMachineHost host;
    enum { kPlain, kChecked, kWithBreakpoint, kKinds };
    std::array<double, kKinds> seconds{};
    std::int64_t instructions = 0;
    int first = 0;
    // One machine for the three, so that where its memory lies favours none of them.
    Machine machine;
    for (auto _ : state) {
        for (int i = 0; i < kKinds; ++i) {
            const int kind = (first + i) % kKinds;
            machine = loaded;
            Run run(machine, host, 0x0200);
            if (kind != kPlain) run.WatchSlips(&slips);
            if (kind == kWithBreakpoint) run.WatchBreakpoints(&breakpoints);
            seconds[kind] += SecondsOf(run);
            if (run.End() != RunEnd::kEmptyCell)
                state.SkipWithError("the program did not end at 00");
            if (kind == kPlain) instructions += run.ExecutedCount();
        }
        first = (first + 1) % kKinds;
    }
    state.counters["plain M/s"] = static_cast<double>(instructions) / seconds[kPlain] / 1e6;
    state.counters["checked/plain time"] = seconds[kChecked] / seconds[kPlain];
    state.counters["with breakpoint/plain time"] = seconds[kWithBreakpoint] / seconds[kPlain];
}

void BM_TightLoopCheckedAgainstPlain(benchmark::State& state) {
    RunCheckedAgainstPlain(state, LoadTightLoop);
}
BENCHMARK(BM_TightLoopCheckedAgainstPlain);
void BM_MemoryLoopCheckedAgainstPlain(benchmark::State& state) {
    RunCheckedAgainstPlain(state, LoadMemoryLoop);
}
BENCHMARK(BM_MemoryLoopCheckedAgainstPlain);
void BM_SubroutineAndStackCheckedAgainstPlain(benchmark::State& state) {
    RunCheckedAgainstPlain(state, LoadSubroutineAndStack);
}
BENCHMARK(BM_SubroutineAndStackCheckedAgainstPlain);

}  // namespace

namespace {

// What the step window asks of the history after a run: the last step's sentence and the list of
// the latest 100 steps, made from where the run's last stretch began.
void ShowAfterRun(zorvan::grid::Workspace& workspace) {
    benchmark::DoNotOptimize(workspace.history.Last(workspace.machine));
    workspace.history.VisitLatest(workspace.machine, nullptr, 100, [](auto&&...) {});
}

// Συνέχεια with the history: the step window's run of the counting loop to its end, every
// instruction undoable by Πίσω, from a fresh history as after Start, and what the window then
// shows.
void BM_ContinueRecording(benchmark::State& state) {
    zorvan::grid::Workspace loaded;
    Place(loaded.machine, 0x0200,
          {0xA0, 0x00, 0xA2, 0x00, 0xCA, 0xD0, 0xFD, 0x88, 0xD0, 0xF8, 0x00});
    NullMachineHost host;
    const zorvan::cpu::AddressSet programBytes;
    std::int64_t instructions = 0;
    for (auto _ : state) {
        state.PauseTiming();
        zorvan::grid::Workspace workspace = loaded;
        workspace.machine.PC = 0x0200;
        state.ResumeTiming();
        zorvan::app::RecordedRun run(workspace, host, nullptr, programBytes, -1);
        while (run.Slice(zorvan::app::kInstructionsPerCheck) == RunEnd::kRunning) {
        }
        if (run.End() != RunEnd::kEmptyCell) state.SkipWithError("the program did not end at 00");
        ShowAfterRun(workspace);
        instructions += run.ExecutedCount();
        state.PauseTiming();
        workspace.history.Clear();
        state.ResumeTiming();
    }
    state.counters["instructions/s"] =
        benchmark::Counter(static_cast<double>(instructions), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ContinueRecording)->Unit(benchmark::kMillisecond);

// Συνέχεια on a run long enough for the history to drop its oldest stretches many times: some
// 300 million instructions of four nested loops (XR, YR, then cells 40 and 41; DEC sets no
// flags here, so LDA tests each cell).
void BM_ContinueLongRun(benchmark::State& state) {
    zorvan::grid::Workspace loaded;
    Place(loaded.machine, 0x0200,
          {0xA0, 0x00, 0xA2, 0x00, 0xCA, 0xD0, 0xFD, 0x88, 0xD0, 0xF8,  // YR and XR loops
           0xC6, 0x40, 0xA5, 0x40, 0xD0, 0xF0,                          // DEC 40 / LDA 40 / BNE
           0xA9, 0xFF, 0x85, 0x40,                                      // cell 40 ← FF
           0xC6, 0x41, 0xA5, 0x41, 0xD0, 0xE6, 0x00});                  // DEC 41 / LDA 41 / BNE
    loaded.machine.memory[0x40] = 0xFF;
    loaded.machine.memory[0x41] = 9;
    NullMachineHost host;
    const zorvan::cpu::AddressSet programBytes;
    std::int64_t instructions = 0;
    for (auto _ : state) {
        state.PauseTiming();
        zorvan::grid::Workspace workspace = loaded;
        workspace.machine.PC = 0x0200;
        state.ResumeTiming();
        zorvan::app::RecordedRun run(workspace, host, nullptr, programBytes, -1);
        while (run.Slice(zorvan::app::kInstructionsPerCheck) == RunEnd::kRunning) {
        }
        if (run.End() != RunEnd::kEmptyCell) state.SkipWithError("the program did not end at 00");
        ShowAfterRun(workspace);
        instructions += run.ExecutedCount();
        // The first Πίσω makes the records of the last million instructions.
        state.PauseTiming();
        const auto before = std::chrono::steady_clock::now();
        workspace.history.Undo(workspace.machine, nullptr);
        state.counters["first Πίσω ms"] =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - before)
                .count();
        state.ResumeTiming();
    }
    state.counters["instructions/s"] =
        benchmark::Counter(static_cast<double>(instructions), benchmark::Counter::kIsRate);
    state.counters["instructions"] = static_cast<double>(instructions);
}
BENCHMARK(BM_ContinueLongRun)->Unit(benchmark::kMillisecond)->Iterations(1);

// Πίσω once, after 1,000,000 recorded instructions (the step is done again between undos).
void BM_StepBackAfterAMillion(benchmark::State& state) {
    Machine machine;
    Place(machine, 0x0200, {0xA0, 0x00, 0xA2, 0x00, 0xCA, 0xD0, 0xFD, 0x88, 0xD0, 0xF8, 0x00});
    machine.PC = 0x0200;
    NullMachineHost host;
    zorvan::cpu::StepHistory history;
    for (int i = 0; i < 1'000'000; ++i) {
        if (machine.memory[static_cast<std::size_t>(machine.PC)] == 0) machine.PC = 0x0200;
        history.Step(machine, host, nullptr);
    }
    for (auto _ : state) {
        history.Undo(machine, nullptr);
        state.PauseTiming();
        history.Step(machine, host, nullptr);
        state.ResumeTiming();
    }
    state.counters["history MB"] = static_cast<double>(history.Bytes()) / (1 << 20);
}
BENCHMARK(BM_StepBackAfterAMillion)->Unit(benchmark::kMicrosecond);

}  // namespace
