// What a student waits for on a long program: one key typed at the top of a 5,000-line program
// (the addresses are recomputed down to the end), assembling it, and saving and opening it.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>

#include "app/grid_keys.h"
#include "app/program_file.h"
#include "asm/assembly_pass.h"
#include "grid/workspace.h"
#include "text/hex_text.h"

namespace {

using namespace zorvan;

constexpr int kLines = 5000;

// A long program of two-byte and three-byte lines with a backward branch every tenth line.
std::unique_ptr<grid::Workspace> LongProgram() {
    auto workspace = std::make_unique<grid::Workspace>();
    grid::ProgramGrid& grid = workspace->grid;
    int address = 0x0200;
    for (int row = 1; row <= kLines; ++row) {
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
    grid.SetCell(grid::kAddressColumn, kLines + 1, text::FormatHex4(address));
    grid.SetRowCount(kLines + 2);
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

}  // namespace
