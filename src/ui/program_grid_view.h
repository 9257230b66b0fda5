#pragma once
// The program grid on screen: a table over the core's grid with its cell editor always open on
// the current cell. The editor writes every change into the cell at once; the cursor and the
// editor follow the core's current cell each time SyncFromGrid runs.

#include <QTableView>

#include "grid/program_grid.h"
#include "ui/cell_editor.h"
#include "ui/program_grid_model.h"

namespace zorvan::ui {

class ProgramGridView : public QTableView {
    Q_OBJECT

  public:
    explicit ProgramGridView(grid::ProgramGrid& grid, QWidget* parent = nullptr);

    CellEditor* Editor() const { return editor_; }
    ProgramGridModel* GridModel() const { return model_; }

    // Shows what the core holds: cells, captions, row count, the current cell with the editor on
    // it. The editor keeps its caret when it stays on a cell whose text did not change.
    void SyncFromGrid();

  signals:
    // The user moved the current cell with the mouse.
    void currentCellClicked();
    // A click in the marker margin at the left of a line (its grid row).
    void breakpointMarginClicked(int row);
    // A click on a line while the grid is greyed (stepping): the line the student points at.
    void lineClickedWhileDisabled(int row);

  protected:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void updateGeometries() override;
    void scrollContentsBy(int dx, int dy) override;
    void focusInEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void PlaceEditor();

    grid::ProgramGrid& grid_;
    ProgramGridModel* model_;
    CellEditor* editor_;
    int editorColumn_ = -1;
    int editorRow_ = -1;
    bool syncing_ = false;
};

}  // namespace zorvan::ui
