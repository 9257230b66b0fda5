#include "ui/program_grid_model.h"

#include <algorithm>

#include "ui/qt_text.h"

namespace zorvan::ui {

ProgramGridModel::ProgramGridModel(const grid::ProgramGrid& grid, QObject* parent)
    : QAbstractTableModel(parent), grid_(grid), shownRows_(DataRows()) {}

int ProgramGridModel::DataRows() const {
    return std::max(0, grid_.RowCount() - 1);
}

int ProgramGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : shownRows_;
}

int ProgramGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : grid::kGridColumnCount;
}

QVariant ProgramGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole)) return {};
    return ToQString(grid_.Cell(index.column(), GridRow(index.row())));
}

QVariant ProgramGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Horizontal) return ToQString(grid_.Cell(section, 0));
    return GridRow(section);
}

void ProgramGridModel::Refresh() {
    const int rows = DataRows();
    if (rows > shownRows_) {
        beginInsertRows({}, shownRows_, rows - 1);
        shownRows_ = rows;
        endInsertRows();
    } else if (rows < shownRows_) {
        beginRemoveRows({}, rows, shownRows_ - 1);
        shownRows_ = rows;
        endRemoveRows();
    }
    if (shownRows_ > 0) {
        emit dataChanged(index(0, 0), index(shownRows_ - 1, grid::kGridColumnCount - 1));
    }
    emit headerDataChanged(Qt::Horizontal, 0, grid::kGridColumnCount - 1);
}

}  // namespace zorvan::ui
