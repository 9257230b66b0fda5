#pragma once
// The program grid's cell editor, always open on the current cell. Every key goes first to the
// key handler the window installs, which decides what reaches the editor. The shortcut of an
// enabled menu item is left to the menu, even where a line editor would take the key for itself
// (Shift+Del as cut, Ctrl+K as delete to the end of the line), except undo and redo while the
// editor has typing of its own to take back.

#include <QLineEdit>
#include <functional>

namespace zorvan::ui {

class CellTextValidator;

class CellEditor : public QLineEdit {
    Q_OBJECT

  public:
    explicit CellEditor(QWidget* parent = nullptr);

    // Runs for every key press that reaches the editor; it hands the key on with TypeIntoEditor
    // when the key is to edit the text.
    std::function<void(QKeyEvent*)> keyHandler;

    // Shows the cell's text; its characters stay allowed in the edits that follow, even one the
    // keyboard could not type (from an opened file).
    void SetCellText(const QString& text);

    // The line editor's own handling of the key: insert the character, delete, move the caret.
    // A paste goes to PasteHeld.
    void TypeIntoEditor(QKeyEvent* event);

    // Pastes what the cell can hold of the clipboard's text; the characters left out go to
    // pasteLeftOut, to be told.
    void PasteHeld();
    std::function<void(const QString& leftOut)> pasteLeftOut;

  protected:
    bool event(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    CellTextValidator* validator_;
};

// True when the key is the shortcut of an enabled action of the window.
bool IsEnabledShortcut(const QWidget* window, const QKeyEvent& event);

}  // namespace zorvan::ui
