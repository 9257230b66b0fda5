#include "windows/memory_window.h"

#include <algorithm>
#include <vector>

#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

#include "app/memory_view.h"
#include "app/step_session.h"
#include "grid/workspace.h"
#include "text/hex_text.h"
#include "ui/change_highlight.h"
#include "ui/error_guard.h"
#include "ui/message_boxes.h"
#include "ui/qt_text.h"
#include "windows/memory_grid.h"
#include "windows/upper_case_validator.h"

namespace zorvan::windows {

namespace {

constexpr int kFirstByteColumn = 1;
constexpr int kLastByteColumn = app::kBytesPerLine;

int ColumnWidth(int column) {
    if (column == 0) return 60;
    if (column == kFirstByteColumn) return 28;
    if (column == app::kCharacterColumn) return 166;
    return 30;
}

}  // namespace

MemoryWindow::MemoryWindow(grid::Workspace& workspace, QWidget* parent)
    : QWidget(parent, Qt::Window), workspace_(workspace) {
    setObjectName(QStringLiteral("memoryWindow"));
    setWindowTitle(QStringLiteral("Μνήμη 6502"));
    setFixedSize(771, 491);

    auto* startAddressLabel = new QLabel(QStringLiteral("Διεύθυνση Έναρξης:"), this);
    startAddressLabel->setObjectName(QStringLiteral("startAddressLabel"));
    startAddressLabel->setGeometry(8, 12, 120, 21);

    startAddressEdit_ = new QLineEdit(this);
    startAddressEdit_->setObjectName(QStringLiteral("startAddressEdit"));
    startAddressEdit_->setMaxLength(4);
    MakeUpperCase(startAddressEdit_);
    startAddressEdit_->setGeometry(132, 10, 60, 24);
    startAddressEdit_->installEventFilter(this);
    startAddressLabel->setBuddy(startAddressEdit_);

    // Row 0 of the dump is the empty fixed header; the table's rows are lines 1 to 16.
    memoryGrid_ = new MemoryGrid(app::kMemoryLines, app::kMemoryGridColumns, this);
    memoryGrid_->setObjectName(QStringLiteral("memoryGrid"));
    memoryGrid_->setGeometry(8, 44, 755, 439);
    memoryGrid_->setAccessibleName(QStringLiteral("Περιεχόμενα μνήμης"));
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::Monospace);
    font.setPixelSize(13);
    memoryGrid_->setFont(font);
    memoryGrid_->setShowGrid(true);
    memoryGrid_->setWordWrap(false);
    memoryGrid_->setTabKeyNavigation(true);
    memoryGrid_->setSelectionMode(QAbstractItemView::SingleSelection);
    memoryGrid_->setEditTriggers(QAbstractItemView::AnyKeyPressed |
                                 QAbstractItemView::DoubleClicked |
                                 QAbstractItemView::EditKeyPressed);
    memoryGrid_->setHorizontalHeaderLabels(QStringList(app::kMemoryGridColumns, QString()));
    memoryGrid_->horizontalHeader()->setSectionsClickable(false);
    memoryGrid_->horizontalHeader()->setHighlightSections(false);
    memoryGrid_->verticalHeader()->setVisible(false);
    memoryGrid_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    memoryGrid_->verticalHeader()->setDefaultSectionSize(24);
    memoryGrid_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    memoryGrid_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    for (int column = 0; column < app::kMemoryGridColumns; ++column) {
        memoryGrid_->setColumnWidth(column, ColumnWidth(column));
        for (int line = 0; line < app::kMemoryLines; ++line) {
            memoryGrid_->setItem(line, column, new QTableWidgetItem);
        }
    }
    memoryGrid_->setCurrentCell(0, kFirstByteColumn);
    memoryGrid_->keyHandler = [this](QKeyEvent* event) { return HandleGridKey(event->key()); };

    ShowMemoryFrom("0000");
}

QString MemoryWindow::Cell(int column, int row) const {
    const QTableWidgetItem* item = memoryGrid_->item(row - 1, column);
    return item != nullptr ? item->text() : QString();
}

void MemoryWindow::SetCell(int column, int row, const QString& text) {
    QTableWidgetItem* item = memoryGrid_->item(row - 1, column);
    if (item != nullptr && item->text() != text) item->setText(text);
}

void MemoryWindow::ShowMemoryFrom(const std::string& startText) {
    const app::MemoryDump dump = app::ShowMemoryFrom(workspace_.machine, startText);
    for (int row = 1; row <= app::kMemoryLines; ++row) {
        const app::MemoryLine& line = dump.lines[static_cast<std::size_t>(row - 1)];
        SetCell(0, row, ui::ToQString(line.address));
        for (int column = kFirstByteColumn; column <= kLastByteColumn; ++column) {
            SetCell(column, row, ui::ToQString(line.bytes[static_cast<std::size_t>(column - 1)]));
        }
        SetCell(app::kCharacterColumn, row, ui::ToQString(line.characters));
    }
    MarkChangedCells(dump.start);
}

void MemoryWindow::ShowCell(int address) {
    const std::string start = text::FormatHex4(std::clamp(address, 0, 0xFEFF));
    startAddressEdit_->setText(ui::ToQString(start));
    ShowMemoryFrom(start);
}

void MemoryWindow::MarkChangedCells(int start) {
    // The cells the last step or run of the step window wrote, in the one highlight colour.
    const grid::ChangeMarks& marks = workspace_.marks;
    const bool any = !marks.cells.empty();
    for (int row = 1; row <= app::kMemoryLines; ++row) {
        for (int column = kFirstByteColumn; column <= kLastByteColumn; ++column) {
            QTableWidgetItem* item = memoryGrid_->item(row - 1, column);
            if (item == nullptr) continue;
            const bool marked = any && marks.Cell(start + 16 * (row - 1) + column - 1);
            const QBrush brush = marked ? QBrush(ui::kChangeHighlight) : QBrush();
            if (item->background() != brush) item->setBackground(brush);
        }
    }
}

void MemoryWindow::ShowMemoryAt(int start) {
    ShowMemoryFrom(text::FormatHex4(start));
}

void MemoryWindow::RedrawView() {
    ShowMemoryFrom(ui::ToStdString(Cell(0, 1)));
}

int MemoryWindow::ViewStart() const {
    return text::HexTextToInt(ui::ToStdString(Cell(0, 1)));
}

void MemoryWindow::ShowWarning(const QString& text) {
    frontWatch_.WhileBoxOpen([&] { ui::ShowMessage(this, text, QMessageBox::Warning); });
}

void MemoryWindow::StoreMemoryCell() {
    const int column = memoryGrid_->currentColumn();
    const int row = memoryGrid_->currentRow() + 1;
    if (column < 0 || row < 1) return;
    const std::vector<std::int16_t> before(workspace_.machine.memory.begin(),
                                           workspace_.machine.memory.end());
    const app::StoreOutcome outcome = app::StoreMemoryCell(
        workspace_, ui::ToStdString(Cell(0, row)), column, ui::ToStdString(Cell(column, row)));
    // A changed byte ends the step window's history: it could not be stepped back over.
    if (!std::equal(before.begin(), before.end(), workspace_.machine.memory.begin()))
        workspace_.EndHistory(std::string(app::kEndedByMemoryEdit));
    if (!outcome.warning.empty()) ShowWarning(ui::ToQString(outcome.warning));
    if (outcome.cellBecomesZero) SetCell(column, row, QStringLiteral("00"));
}

bool MemoryWindow::event(QEvent* event) {
    if (frontWatch_.ComesToFront(*event)) ui::Guard(this, [this] { RefreshOnFront(); });
    return QWidget::event(event);
}

void MemoryWindow::RefreshOnFront() {
    startAddressEdit_->setFocus();
    startAddressEdit_->selectAll();  // typing a new start address replaces the old one
    if (startAddressEdit_->text().isEmpty()) {
        ShowMemoryFrom("0000");
    } else {
        RedrawView();
    }
}

bool MemoryWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == startAddressEdit_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        bool handled = false;
        // A failure stops the key: it does not reach the edit box either.
        if (!ui::Guard(this, [&] { handled = HandleStartAddressKey(key); })) handled = true;
        if (handled) return true;
    }
    return QWidget::eventFilter(watched, event);
}

bool MemoryWindow::HandleStartAddressKey(int key) {
    switch (key) {
        case Qt::Key_Return:
        case Qt::Key_Enter: {
            const std::string text = ui::ToStdString(startAddressEdit_->text());
            if (const auto warning = app::CheckStartAddressText(text)) {
                ShowWarning(ui::ToQString(*warning));
                startAddressEdit_->setFocus();
            } else {
                ShowMemoryFrom(text);
            }
            return true;
        }
        case Qt::Key_Down:
            ShowMemoryAt(app::LineDownStart(ViewStart()));
            return true;
        case Qt::Key_Up:
            ShowMemoryAt(app::LineUpStart(ViewStart()));
            return true;
        case Qt::Key_PageDown:
            if (const auto start = app::PageDownStart(ViewStart())) ShowMemoryAt(*start);
            return true;
        case Qt::Key_PageUp:
            if (const auto start = app::PageUpStart(ViewStart())) ShowMemoryAt(*start);
            return true;
        default:
            return false;
    }
}

bool MemoryWindow::HandleGridKey(int key) {
    switch (key) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            ui::Guard(this, [this] { StoreAndMoveRight(); });
            return true;
        case Qt::Key_Down:
        case Qt::Key_Up:
        case Qt::Key_PageDown:
        case Qt::Key_PageUp:
            // A failure stops the key there: the cursor does not move either.
            return !ui::Guard(this, [&] { StoreAndMove(key); });
        default:
            return false;
    }
}

void MemoryWindow::StoreAndMove(int key) {
    StoreMemoryCell();
    const int row = memoryGrid_->currentRow() + 1;
    switch (key) {
        case Qt::Key_Down:
            if (row == app::kMemoryLines) {
                ShowMemoryAt(app::LineDownStart(ViewStart()));
            } else {
                RedrawView();
            }
            break;
        case Qt::Key_Up:
            if (row == 1) {
                ShowMemoryAt(app::LineUpStart(ViewStart()));
            } else {
                RedrawView();
            }
            break;
        case Qt::Key_PageDown:
            if (const auto start = app::PageDownStart(ViewStart())) ShowMemoryAt(*start);
            break;
        case Qt::Key_PageUp:
            if (const auto start = app::PageUpStart(ViewStart())) ShowMemoryAt(*start);
            break;
        default:
            break;
    }
}

void MemoryWindow::StoreAndMoveRight() {
    StoreMemoryCell();
    const int column = memoryGrid_->currentColumn();
    memoryGrid_->setCurrentCell(memoryGrid_->currentRow(), app::ColumnAfterEnter(column));
    RedrawView();
}

}  // namespace zorvan::windows
