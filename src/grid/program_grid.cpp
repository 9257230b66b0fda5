#include "grid/program_grid.h"

#include <algorithm>
#include <utility>

namespace zorvan::grid {
namespace {
const std::string kEmpty;
std::uint64_t lastRevision = 0;
}  // namespace

void ProgramGrid::Revise() {
    revision_ = ++lastRevision;
}

ProgramGrid::ProgramGrid() {
    static const char* const kCaptions[kGridColumnCount] = {
        "Ετικέτες", "Διευθύνσεις", "Εντολές", "Παράμετρος 1", "Παράμετρος 2", "Σχόλια"};
    for (int column = 0; column < kGridColumnCount; ++column) SetCell(column, 0, kCaptions[column]);
}

const std::string& ProgramGrid::Cell(int column, int row) const {
    if (row < 0 || row >= StoredRowCount() || column < 0 || column >= kGridColumnCount) {
        return kEmpty;
    }
    return rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
}

void ProgramGrid::SetCell(int column, int row, std::string text) {
    if (row < 0 || column < 0 || column >= kGridColumnCount) return;
    if (row >= StoredRowCount()) {
        if (text.empty()) return;  // an empty cell needs no storage
        rows_.resize(static_cast<std::size_t>(row) + 1);
    }
    std::string& cell = rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
    if (cell == text) return;
    cell = std::move(text);
    Revise();
}

void ProgramGrid::ClearRow(int row) {
    for (int column = 0; column < kGridColumnCount; ++column) SetCell(column, row, {});
}

void ProgramGrid::SetRowCount(int rowCount) {
    if (std::max(rowCount, 0) != rowCount_) Revise();
    rowCount_ = std::max(rowCount, 0);
    if (row_ > LastRow()) row_ = std::max(LastRow(), 1);
}

void ProgramGrid::SetCol(int column) {
    col_ = std::clamp(column, 0, kGridColumnCount - 1);
}

void ProgramGrid::SetRow(int row) {
    row_ = std::clamp(row, 1, std::max(LastRow(), 1));
}

void ProgramGrid::SetCurrent(int column, int row) {
    SetCol(column);
    SetRow(row);
}

int ProgramGrid::ContentCount() const {
    int count = 0;
    const int lastStored = std::min(rowCount_, StoredRowCount());
    for (int row = 1; row < lastStored; ++row) {
        for (const std::string& cell : rows_[static_cast<std::size_t>(row)]) {
            if (!cell.empty()) ++count;
        }
    }
    return count;
}

void ProgramGrid::SetBreakpoint(int row, bool on) {
    if (on && row >= 1) {
        breakpoints_.try_emplace(row, 1);
    } else {
        breakpoints_.erase(row);
    }
}

std::vector<int> ProgramGrid::BreakpointRows() const {
    std::vector<int> rows;
    rows.reserve(breakpoints_.size());
    for (const auto& [row, every] : breakpoints_) rows.push_back(row);
    return rows;
}

int ProgramGrid::BreakpointEvery(int row) const {
    const auto found = breakpoints_.find(row);
    return found == breakpoints_.end() ? 1 : found->second;
}

void ProgramGrid::SetBreakpointEvery(int row, int every) {
    const auto found = breakpoints_.find(row);
    if (found != breakpoints_.end()) found->second = std::max(1, every);
}

void ProgramGrid::OpenBreakpointRow(int row) {
    std::map<int, int> moved;
    for (const auto& [marked, every] : breakpoints_)
        moved.emplace(marked >= row ? marked + 1 : marked, every);
    breakpoints_ = std::move(moved);
}

void ProgramGrid::CloseBreakpointRow(int row) {
    std::map<int, int> moved;
    for (const auto& [marked, every] : breakpoints_) {
        if (marked != row) moved.emplace(marked > row ? marked - 1 : marked, every);
    }
    breakpoints_ = std::move(moved);
}

void ProgramGrid::DropBreakpointsFrom(int row) {
    breakpoints_.erase(breakpoints_.lower_bound(row), breakpoints_.end());
}

}  // namespace zorvan::grid
