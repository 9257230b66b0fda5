#include "ui/program_grid_model.h"

#include <QBrush>
#include <QColor>
#include <QIcon>
#include <QPainter>
#include <QPixmap>

#include <algorithm>

#include "ui/qt_text.h"

namespace zorvan::ui {

const QPixmap& ProgramGridModel::BreakpointDot() {
    static const QPixmap kDot = [] {
        QPixmap pixmap(10, 10);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QColor(0x90, 0x00, 0x00));
        painter.setBrush(QColor(0xD0, 0x10, 0x10));
        painter.drawEllipse(QRectF(0.5, 0.5, 9, 9));
        return pixmap;
    }();
    return kDot;
}

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
    // A line with a breakpoint is tinted in every column, besides its dot in the margin.
    if (index.isValid() && role == Qt::BackgroundRole && grid_.HasBreakpoint(GridRow(index.row())))
        return QBrush(QColor(0xFF, 0xE0, 0xE0));
    if (index.isValid() && role == Qt::AccessibleTextRole) {
        // A screen reader says where the cell is and what it holds, also when it holds nothing.
        static const char* const kColumnNames[grid::kGridColumnCount] = {
            "Ετικέτα", "Διεύθυνση", "Εντολή", "Παράμετρος 1", "Παράμετρος 2", "Σχόλιο"};
        const std::string& text = grid_.Cell(index.column(), GridRow(index.row()));
        return QStringLiteral("Γραμμή %1, %2, %3")
            .arg(GridRow(index.row()))
            .arg(QString::fromUtf8(kColumnNames[index.column()]),
                 text.empty() ? QStringLiteral("κενό") : ToQString(text));
    }
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole)) return {};
    return ToQString(grid_.Cell(index.column(), GridRow(index.row())));
}

QVariant ProgramGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Vertical) {
        // The marker margin: a red dot on a line with a breakpoint, nothing else.
        if (role == Qt::DecorationRole && grid_.HasBreakpoint(GridRow(section))) {
            // Red also while the grid is greyed for stepping.
            QIcon dot;
            dot.addPixmap(BreakpointDot(), QIcon::Normal);
            dot.addPixmap(BreakpointDot(), QIcon::Disabled);
            return dot;
        }
        if (role != Qt::ToolTipRole && role != Qt::AccessibleTextRole) return {};
        const int row = GridRow(section);
        if (!grid_.HasBreakpoint(row))
            return role == Qt::AccessibleTextRole ? QStringLiteral("Γραμμή %1").arg(row)
                                                  : QVariant();
        // A count is too wide for the margin: the dot's tip and its reader's text tell it.
        const int every = grid_.BreakpointEvery(row);
        const QString pass =
            every > 1 ? QStringLiteral(", στάση στο %1ο πέρασμα").arg(every) : QString();
        return role == Qt::ToolTipRole
                   ? QStringLiteral("Σημείο διακοπής") + pass
                   : QStringLiteral("Γραμμή %1, σημείο διακοπής").arg(row) + pass;
    }
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
    if (shownRows_ > 0) emit headerDataChanged(Qt::Vertical, 0, shownRows_ - 1);
}

}  // namespace zorvan::ui
