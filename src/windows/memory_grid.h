#pragma once
// The memory window's dump grid: a table whose cells the user can edit, where the window sees
// the navigation keys and Enter before the grid does, whether or not a cell editor is open.
// An open editor hands its text to the cell before the window sees such a key.

#include <QStyledItemDelegate>
#include <QTableWidget>
#include <functional>

namespace zorvan::windows {

class MemoryGrid : public QTableWidget {
    Q_OBJECT

  public:
    MemoryGrid(int rows, int columns, QWidget* parent = nullptr);

    // Runs first for every key; true when the key is dealt with and the grid is not to move.
    std::function<bool(QKeyEvent*)> keyHandler;

    // The key as it reaches the grid: the window's handler, then the grid's own movement.
    void HandleKey(QKeyEvent* event);

  protected:
    void keyPressEvent(QKeyEvent* event) override { HandleKey(event); }
};

// Edits a cell in a line editor that leaves Enter and the navigation keys to the grid, and shows
// control characters as visible symbols (the cell's text keeps the character itself).
class MemoryCellDelegate : public QStyledItemDelegate {
    Q_OBJECT

  public:
    explicit MemoryCellDelegate(MemoryGrid* grid);

    QString displayText(const QVariant& value, const QLocale& locale) const override;

    // The font a cell's text is drawn in: the grid's own, made smaller for a value that would
    // not fit the column's width otherwise, so that every digit shows.
    static QFont CellFont(const QString& text, const QFont& font, int width);

  protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

    bool eventFilter(QObject* object, QEvent* event) override;

  private:
    MemoryGrid* grid_;
};

}  // namespace zorvan::windows
