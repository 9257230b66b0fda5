#include "ui/program_grid_view.h"

#include <QMouseEvent>

#include <QHeaderView>
#include <QKeyEvent>

#include "ui/qt_text.h"

namespace zorvan::ui {

namespace {
constexpr int kColumnWidths[grid::kGridColumnCount] = {70, 70, 70, 77, 78, 107};
constexpr int kMarginWidth = 14;
}  // namespace

ProgramGridView::ProgramGridView(grid::ProgramGrid& grid, QWidget* parent)
    : QTableView(parent),
      grid_(grid),
      model_(new ProgramGridModel(grid, this)),
      editor_(new CellEditor(viewport())) {
    setModel(model_);
    setEditTriggers(NoEditTriggers);  // the cell editor is our own and always open
    setSelectionMode(NoSelection);
    setTabKeyNavigation(false);
    setShowGrid(true);
    setWordWrap(false);
    horizontalHeader()->setDefaultSectionSize(70);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setHighlightSections(false);
    for (int column = 0; column < grid::kGridColumnCount; ++column) {
        horizontalHeader()->resizeSection(column, kColumnWidths[column]);
    }
    // The narrow marker margin of the breakpoints. A click there toggles the line's breakpoint
    // and leaves the current cell alone.
    verticalHeader()->setVisible(true);
    verticalHeader()->setFixedWidth(kMarginWidth);
    verticalHeader()->setHighlightSections(false);
    disconnect(verticalHeader(), &QHeaderView::sectionPressed, this, nullptr);
    disconnect(verticalHeader(), &QHeaderView::sectionEntered, this, nullptr);
    connect(verticalHeader(), &QHeaderView::sectionClicked, this, [this](int section) {
        emit breakpointMarginClicked(ProgramGridModel::GridRow(section));
    });
    // While stepping the grid is greyed and takes no edits, but a click still points at a line
    // (for Έως τον κέρσορα) or toggles a breakpoint in the margin.
    viewport()->installEventFilter(this);
    verticalHeader()->viewport()->installEventFilter(this);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 8);

    connect(editor_, &QLineEdit::textEdited, this, [this](const QString& text) {
        if (editorRow_ < 1) return;
        grid_.SetCell(editorColumn_, editorRow_, ToStdString(text));
        const QModelIndex cell =
            model_->index(ProgramGridModel::TableRow(editorRow_), editorColumn_);
        emit model_->dataChanged(cell, cell);
    });
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this] { PlaceEditor(); });
    SyncFromGrid();
}

void ProgramGridView::SyncFromGrid() {
    syncing_ = true;
    model_->Refresh();
    const int column = grid_.Col();
    const int row = grid_.Row();
    const QModelIndex current = model_->index(ProgramGridModel::TableRow(row), column);
    if (current.isValid()) {
        if (currentIndex() != current) setCurrentIndex(current);
        scrollTo(current);
    }
    syncing_ = false;

    const QString text = ToQString(grid_.Cell(column, row));
    if (column != editorColumn_ || row != editorRow_ || editor_->text() != text) {
        editorColumn_ = column;
        editorRow_ = row;
        editor_->SetCellText(text);
    }
    PlaceEditor();
}

void ProgramGridView::PlaceEditor() {
    const QModelIndex cell = model_->index(ProgramGridModel::TableRow(editorRow_), editorColumn_);
    if (!cell.isValid()) {
        editor_->hide();
        return;
    }
    editor_->setGeometry(visualRect(cell).adjusted(1, 1, 0, 0));
    if (!editor_->isVisible()) editor_->show();
}

void ProgramGridView::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableView::currentChanged(current, previous);
    if (syncing_ || !current.isValid()) return;
    grid_.SetCurrent(current.column(), ProgramGridModel::GridRow(current.row()));
    SyncFromGrid();
    editor_->setFocus();
    emit currentCellClicked();
}

void ProgramGridView::updateGeometries() {
    QTableView::updateGeometries();
    PlaceEditor();
}

void ProgramGridView::scrollContentsBy(int dx, int dy) {
    QTableView::scrollContentsBy(dx, dy);
    PlaceEditor();
}

void ProgramGridView::focusInEvent(QFocusEvent* event) {
    QTableView::focusInEvent(event);
    if (editor_->isVisible()) editor_->setFocus();
}

bool ProgramGridView::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress && !isEnabled()) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const int y = mouse->position().toPoint().y();
        if (mouse->button() == Qt::LeftButton) {
            if (watched == verticalHeader()->viewport()) {
                const int section = verticalHeader()->logicalIndexAt(y);
                if (section >= 0) emit breakpointMarginClicked(ProgramGridModel::GridRow(section));
            } else if (watched == viewport()) {
                const int row = rowAt(y);
                if (row >= 0) emit lineClickedWhileDisabled(ProgramGridModel::GridRow(row));
            }
        }
    }
    return QTableView::eventFilter(watched, event);
}

void ProgramGridView::keyPressEvent(QKeyEvent* event) {
    // Reached only when the editor is hidden (no data row): the window still sees the key.
    if (editor_->keyHandler) {
        editor_->keyHandler(event);
    } else {
        QTableView::keyPressEvent(event);
    }
}

}  // namespace zorvan::ui
