#pragma once
// The memory window: 256 cells as a hexadecimal dump of 16 lines with their addresses and
// characters. The user moves the view from the start-address field or the grid and edits single
// bytes; Enter or a move up or down stores the edited byte. The view's start is the text of the
// first line's address cell.

#include <QWidget>
#include <string>

#include "windows/front_watch.h"

class QLineEdit;

namespace zorvan::grid {
struct Workspace;
}

namespace zorvan::windows {

class MemoryGrid;

class MemoryWindow : public QWidget {
    Q_OBJECT

  public:
    // Created once at start-up, hidden; parent is the main window.
    explicit MemoryWindow(grid::Workspace& workspace, QWidget* parent = nullptr);

    // Re-draws the whole dump from the start given as hexadecimal text (FEFF at most). Throws
    // ConversionError when the text is not hexadecimal.
    void ShowMemoryFrom(const std::string& startText);
    // The dump from the cell at address (FEFF at most), its address in the start field, as if
    // the student had typed it there.
    void ShowCell(int address);
    // Re-draws the view it shows, from the text of the first line's address cell.
    void RedrawView();
    // Writes the byte cell under the grid's cursor back to memory.
    void StoreMemoryCell();

    // The text of the dump's cell in column c, row r (rows 1 to 16; row 0 is the empty header).
    QString Cell(int column, int row) const;

  protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // Highlights the byte cells written by the last step or run; start is the view's start.
    void MarkChangedCells(int start);
    // Each time the window comes to the front: the start-address field selected, the view
    // re-read from memory.
    void RefreshOnFront();
    // Keys in the start-address field; true when the key is dealt with.
    bool HandleStartAddressKey(int key);
    // Keys in the grid; true when the grid is not to move its cursor.
    bool HandleGridKey(int key);
    // Up, Down, Page Up and Page Down store the edited byte, then move the cursor or the view.
    void StoreAndMove(int key);
    // Enter stores the edited byte and moves to the next byte cell.
    void StoreAndMoveRight();
    int ViewStart() const;
    void ShowMemoryAt(int start);
    void SetCell(int column, int row, const QString& text);
    void ShowWarning(const QString& text);

    grid::Workspace& workspace_;
    FrontWatch frontWatch_;
    QLineEdit* startAddressEdit_;
    MemoryGrid* memoryGrid_;
};

}  // namespace zorvan::windows
