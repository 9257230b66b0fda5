// What a student waits for on a long program: one key typed at the top of a 5,000-line program
// (the addresses are recomputed down to the end), assembling it, saving and opening it, one undo,
// and the recovery copy of a 10,000-line program (written off the key path, by a timer).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>

#include "app/grid_keys.h"
#include "app/program_file.h"
#include "app/recovery_copy.h"
#include "asm/assembly_pass.h"
#include "grid/edit_history.h"
#include "grid/workspace.h"
#include "text/hex_text.h"

namespace {

using namespace zorvan;

constexpr int kLines = 5000;

// A long program of two-byte and three-byte lines with a backward branch every tenth line.
std::unique_ptr<grid::Workspace> LongProgram(int lines = kLines) {
    auto workspace = std::make_unique<grid::Workspace>();
    grid::ProgramGrid& grid = workspace->grid;
    int address = 0x0200;
    for (int row = 1; row <= lines; ++row) {
        const bool branch = row % 10 == 0;
        const bool absolute = row % 3 == 0;
        if (row % 10 == 1) grid.SetCell(grid::kLabelColumn, row, "L" + std::to_string(row));
        grid.SetCell(grid::kAddressColumn, row, text::FormatHex4(address));
        grid.SetCell(grid::kInstructionColumn, row, branch ? "BNE" : absolute ? "STA" : "LDA");
        grid.SetCell(grid::kFirstParameterColumn, row,
                     branch     ? "L" + std::to_string(row - 9)
                     : absolute ? "0300"
                                : "#05");
        grid.SetCell(grid::kCommentColumn, row, "γραμμή " + std::to_string(row));
        address += absolute && !branch ? 3 : 2;
    }
    grid.SetCell(grid::kAddressColumn, lines + 1, text::FormatHex4(address));
    grid.SetRowCount(lines + 2);
    grid.SetCurrent(grid::kCommentColumn, 1);
    return workspace;
}

void KeyAtTopOfLongProgram(benchmark::State& state) {
    auto workspace = LongProgram();
    for (auto _ : state) app::TypeKey(*workspace, {'X'}, U'x');
    state.SetLabel("5,000 lines");
}
BENCHMARK(KeyAtTopOfLongProgram)->Unit(benchmark::kMillisecond);

void AssembleLongProgram(benchmark::State& state) {
    auto workspace = LongProgram();
    for (auto _ : state) {
        const auto result = assembler::Assemble(workspace->grid, workspace->machine);
        benchmark::DoNotOptimize(result.bytes);
    }
}
BENCHMARK(AssembleLongProgram)->Unit(benchmark::kMillisecond);

std::string LongProgramFile() {
    return (std::filesystem::temp_directory_path() / "zorvan-bench-long.zrv").string();
}

void SaveLongProgram(benchmark::State& state) {
    auto workspace = LongProgram();
    app::FileStore files;
    for (auto _ : state) {
        if (files.ReplaceAll(LongProgramFile(), app::WriteProgramText(workspace->grid))) {
            state.SkipWithError("could not save");
        }
    }
}
BENCHMARK(SaveLongProgram)->Unit(benchmark::kMillisecond);

void OpenLongProgram(benchmark::State& state) {
    auto workspace = LongProgram();
    app::FileStore files;
    files.ReplaceAll(LongProgramFile(), app::WriteProgramText(workspace->grid));
    for (auto _ : state) {
        auto read = files.ReadAll(LongProgramFile());
        if (!std::holds_alternative<std::string>(read)) state.SkipWithError("could not open");
        app::PlaceProgramRows(workspace->grid, app::ReadProgramText(std::get<std::string>(read)));
    }
    std::filesystem::remove(LongProgramFile());
}
BENCHMARK(OpenLongProgram)->Unit(benchmark::kMillisecond);

void UndoInLongProgram(benchmark::State& state) {
    auto workspace = LongProgram();
    grid::EditHistory history(*workspace);
    workspace->grid.SetCell(grid::kCommentColumn, kLines / 2, "αλλαγή");
    workspace->changed = true;
    history.Record(*workspace);
    for (auto _ : state) {
        history.Undo(*workspace);
        state.PauseTiming();
        history.Redo(*workspace);
        state.ResumeTiming();
    }
    state.SetLabel("5,000 lines");
}
BENCHMARK(UndoInLongProgram)->Unit(benchmark::kMillisecond);

void AutosaveTenThousandLines(benchmark::State& state) {
    auto workspace = LongProgram(10000);
    workspace->changed = true;
    const auto folder = std::filesystem::temp_directory_path() / "zorvan-bench-recovery";
    app::FileStore files;
    app::RecoveryFolder recovery(folder.string(), 1, files);
    for (auto _ : state) {
        if (recovery.Write(*workspace, 0)) state.SkipWithError("could not write the copy");
    }
    std::filesystem::remove_all(folder);
    state.SetLabel("10,000 lines");
}
BENCHMARK(AutosaveTenThousandLines)->Unit(benchmark::kMillisecond);

}  // namespace
