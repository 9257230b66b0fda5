#include "grid/edit_history.h"

#include <utility>

namespace zorvan::grid {

EditHistory::State EditHistory::StateOf(const Workspace& workspace) {
    return {workspace.grid, workspace.caption, workspace.filePath};
}

void EditHistory::Reset(const Workspace& workspace) {
    undo_.clear();
    redo_.clear();
    current_ = StateOf(workspace);
    openCell_.reset();
    saved_.reset();
    if (!workspace.changed) saved_ = workspace.grid;
}

void EditHistory::NoteCursor(const Workspace& workspace) {
    const ProgramGrid& grid = workspace.grid;
    if (grid.Revision() != current_.grid.Revision()) return;
    // Breakpoints and their counts set since are kept by the next undo, as the cursor is.
    if (grid.Breakpoints() != current_.grid.Breakpoints()) {
        current_.grid = grid;
    } else {
        current_.grid.SetCurrent(grid.Col(), grid.Row());
    }
}

void EditHistory::Record(const Workspace& workspace, std::optional<CellPosition> typedIn,
                         bool commits) {
    const ProgramGrid& grid = workspace.grid;
    // A save names the program's file without changing the program: no step of its own.
    const bool changed = grid.Revision() != current_.grid.Revision();
    if (!changed) {
        NoteCursor(workspace);
        current_.caption = workspace.caption;
        current_.filePath = workspace.filePath;
    } else {
        // Typing on in the open cell only brings the step's after-state up to date.
        if (!typedIn || openCell_ != typedIn) {
            undo_.push_back(std::move(current_));
            redo_.clear();
        }
        current_ = StateOf(workspace);
        Forget();
    }
    const bool stillOpen = typedIn && !commits && (changed || openCell_ == typedIn) &&
                           CellPosition{grid.Col(), grid.Row()} == *typedIn;
    openCell_ = stillOpen ? typedIn : std::nullopt;
    if (!workspace.changed && (!saved_ || saved_->Revision() != grid.Revision())) saved_ = grid;
}

namespace {

// The program as it shows and would be saved: text left in rows below the table does not count.
bool SameProgram(const ProgramGrid& a, const ProgramGrid& b) {
    if (a.RowCount() != b.RowCount()) return false;
    for (int row = 1; row < a.RowCount(); ++row) {
        for (int column = 0; column < kGridColumnCount; ++column) {
            if (a.Cell(column, row) != b.Cell(column, row)) return false;
        }
    }
    return true;
}

// Moves current into the one stack and the other's top into current, passing over steps that
// changed nothing in the end (a cell typed and then undone in its editor), so that every undo
// shows a change.
template <typename From, typename To>
bool Step(From& from, To& to, auto& current) {
    if (from.empty()) return false;
    do {
        to.push_back(std::move(current));
        current = std::move(from.back());
        from.pop_back();
    } while (!from.empty() && SameProgram(current.grid, to.back().grid));
    return true;
}

}  // namespace

bool EditHistory::Undo(Workspace& workspace) {
    if (!Step(undo_, redo_, current_)) return false;
    Apply(workspace);
    return true;
}

bool EditHistory::Redo(Workspace& workspace) {
    if (!Step(redo_, undo_, current_)) return false;
    Apply(workspace);
    return true;
}

void EditHistory::Apply(Workspace& workspace) {
    workspace.grid = current_.grid;
    workspace.caption = current_.caption;
    workspace.filePath = current_.filePath;
    workspace.changed = !saved_ || !SameProgram(current_.grid, *saved_);
    openCell_.reset();
}

void EditHistory::Forget() {
    std::size_t rows = static_cast<std::size_t>(current_.grid.StoredRowCount());
    for (const State& state : undo_) rows += static_cast<std::size_t>(state.grid.StoredRowCount());
    for (const State& state : redo_) rows += static_cast<std::size_t>(state.grid.StoredRowCount());
    while (!undo_.empty() && (undo_.size() + redo_.size() > kMaxSteps || rows > kMaxStoredRows)) {
        rows -= static_cast<std::size_t>(undo_.front().grid.StoredRowCount());
        undo_.pop_front();
    }
}

}  // namespace zorvan::grid
