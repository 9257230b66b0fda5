#pragma once
// The program grid as a Qt table model. It reads the core's grid and keeps nothing of its own:
// row 0, the header, gives the column captions; rows 1 to RowCount()-1 are the table's rows.

#include <QAbstractTableModel>
#include <QPixmap>

#include "grid/program_grid.h"

namespace zorvan::ui {

class ProgramGridModel : public QAbstractTableModel {
    Q_OBJECT

  public:
    explicit ProgramGridModel(const grid::ProgramGrid& grid, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // Announces whatever the core changed: the row count, the captions or cells.
    void Refresh();

    // Grid row of a table row, and back.
    static int GridRow(int tableRow) { return tableRow + 1; }
    static int TableRow(int gridRow) { return gridRow - 1; }
    // The mark of a line with a breakpoint in the grid's margin.
    static const QPixmap& BreakpointDot();

  private:
    int DataRows() const;

    const grid::ProgramGrid& grid_;
    int shownRows_;
};

}  // namespace zorvan::ui
