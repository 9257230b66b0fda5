#pragma once
// Builds a workspace whose grid already holds some program lines, for the editor tests.

#include <algorithm>
#include <array>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/grid_keys.h"
#include "app/step_session.h"
#include "grid/workspace.h"

namespace zorvan::app::testing {

using Line = std::array<std::string, grid::kGridColumnCount>;

// A step session's peers with no windows behind them.
class NoWindows final : public StepPeers {
  public:
    void SetProgramGridEnabled(bool) override {}
    void ShowRegisterWindow() override {}
    void RefillRegisters() override {}
    void RedrawMemory() override {}
    void RepaintMemory() override {}
};

// Rows 1.. hold the lines; the row count covers them exactly.
inline grid::Workspace WorkspaceWith(const std::vector<Line>& lines) {
    grid::Workspace workspace;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        for (int column = 0; column < grid::kGridColumnCount; ++column) {
            workspace.grid.SetCell(column, static_cast<int>(i) + 1,
                                   lines[i][static_cast<std::size_t>(column)]);
        }
    }
    workspace.grid.SetRowCount(static_cast<int>(lines.size()) + 1);
    return workspace;
}

inline std::vector<std::string> AddressColumn(const grid::Workspace& workspace, int fromRow,
                                              int toRow) {
    std::vector<std::string> addresses;
    for (int row = fromRow; row <= toRow; ++row) {
        addresses.push_back(workspace.grid.Cell(grid::kAddressColumn, row));
    }
    return addresses;
}

// The row's cells joined by '|', so a whole line compares in one check.
inline std::string RowText(const grid::Workspace& workspace, int row) {
    std::string text;
    for (int column = 0; column < grid::kGridColumnCount; ++column)
        text += (column ? "|" : "") + workspace.grid.Cell(column, row);
    return text;
}

// Text typed into the grid, with ↑ ↓ ← → as the arrow keys.
inline void TypeWithArrows(grid::Workspace& workspace, std::string_view keys) {
    const std::pair<std::string_view, int> arrows[] = {
        {"↑", kKeyUp}, {"↓", kKeyDown}, {"←", kKeyLeft}, {"→", kKeyRight}};
    while (!keys.empty()) {
        std::size_t next = keys.size();
        for (const auto& [arrow, code] : arrows) next = std::min(next, keys.find(arrow));
        TypeText(workspace, keys.substr(0, next));
        keys.remove_prefix(next);
        for (const auto& [arrow, code] : arrows) {
            if (keys.starts_with(arrow)) {
                TypeKey(workspace, {code});
                keys.remove_prefix(arrow.size());
            }
        }
    }
}

// The cursor and the table's size in one text: "column,row/rowCount".
inline std::string Cursor(const grid::Workspace& workspace) {
    const grid::ProgramGrid& grid = workspace.grid;
    return std::to_string(grid.Col()) + "," + std::to_string(grid.Row()) + "/" +
           std::to_string(grid.RowCount());
}

}  // namespace zorvan::app::testing
