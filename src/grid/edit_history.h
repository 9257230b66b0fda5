#pragma once
// Undo and redo of every change to the program: a committed cell with the addresses the line
// checker rewrote with it, the Grid menu's commands, New and Open. The window records after each
// key and command; a step holds the whole program as it was, with its cursor, breakpoints,
// caption and file, so undoing it brings all of that back.
//
//   EditHistory history(workspace);
//   ...a command changes workspace...
//   history.Record(workspace);
//   history.Undo(workspace);  // the program as it was, the changed flag clear if that was saved

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "grid/workspace.h"

namespace zorvan::grid {

struct CellPosition {
    int column = 0;
    int row = 0;
    bool operator==(const CellPosition&) const = default;
};

class EditHistory {
  public:
    // Older steps are forgotten beyond these, so that a long session on a long program stays
    // within a few tens of megabytes.
    static constexpr std::size_t kMaxSteps = 200;
    static constexpr std::size_t kMaxStoredRows = 200'000;

    // The workspace as it is now is the start, and it is saved unless its changed flag is set.
    explicit EditHistory(const Workspace& workspace) { Reset(workspace); }
    void Reset(const Workspace& workspace);

    // Where the cursor and the breakpoints stand before a key or command, so that undoing what
    // follows puts them back.
    void NoteCursor(const Workspace& workspace);

    // After a key or command: a program that changed since the last record becomes a new step.
    // typedIn is the cell a key was typed into: the keys typed into one cell, up to the one that
    // commits it (commits), make one step, with the addresses the line checker rewrote. A
    // workspace whose changed flag is clear is what is saved.
    void Record(const Workspace& workspace, std::optional<CellPosition> typedIn = std::nullopt,
                bool commits = true);

    bool CanUndo() const { return !undo_.empty(); }
    bool CanRedo() const { return !redo_.empty(); }
    // Each brings back the program of the step before or after and sets the changed flag unless
    // that program is the saved one. False when there is nothing to undo or redo.
    bool Undo(Workspace& workspace);
    bool Redo(Workspace& workspace);

  private:
    struct State {
        ProgramGrid grid;
        std::string caption;
        std::string filePath;
    };
    static State StateOf(const Workspace& workspace);
    void Apply(Workspace& workspace);
    void Forget();  // the oldest steps, beyond the limits

    std::deque<State> undo_;
    std::vector<State> redo_;
    State current_;  // the program as last recorded
    std::optional<CellPosition> openCell_;
    std::optional<ProgramGrid> saved_;  // the program as last saved (or read, or new)
};

}  // namespace zorvan::grid
