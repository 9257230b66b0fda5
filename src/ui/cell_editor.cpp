#include "ui/cell_editor.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QValidator>

#include "text/cp1253.h"

#include "ui/qt_text.h"

namespace zorvan::ui {

// Refuses any edit that would put a character the grid cannot hold into the cell; a paste is cut
// down to what it can hold before it gets here (PasteHeld).
class CellTextValidator : public QValidator {
  public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override {
        return IsCellText(input, cellText_) ? Acceptable : Invalid;
    }
    // The characters of the cell's own text stay allowed while it is edited.
    void SetCellText(const QString& text) { cellText_ = text; }
    const QString& CellText() const { return cellText_; }

  private:
    QString cellText_;
};

CellEditor::CellEditor(QWidget* parent) : QLineEdit(parent) {
    setFrame(false);
    // The current cell stands out from the others.
    setStyleSheet(QStringLiteral("QLineEdit { border: 1px solid palette(highlight); }"));
    validator_ = new CellTextValidator(this);
    setValidator(validator_);
}

void CellEditor::SetCellText(const QString& text) {
    validator_->SetCellText(text);
    setText(text);
}

void CellEditor::TypeIntoEditor(QKeyEvent* event) {
    if (event->matches(QKeySequence::Paste)) return PasteHeld();
    QLineEdit::keyPressEvent(event);
}

void CellEditor::PasteHeld() {
    if (isReadOnly()) return;
    const text::HeldText pasted = text::HoldableText(
        ToStdString(QGuiApplication::clipboard()->text()), ToStdString(validator_->CellText()));
    if (!pasted.held.empty()) insert(ToQString(pasted.held));
    if (!pasted.leftOut.empty() && pasteLeftOut) pasteLeftOut(ToQString(pasted.leftOut));
}

void CellEditor::contextMenuEvent(QContextMenuEvent* event) {
    QMenu* menu = createStandardContextMenu();
    if (auto* paste = menu->findChild<QAction*>(QStringLiteral("edit-paste"))) {
        paste->disconnect();
        connect(paste, &QAction::triggered, this, &CellEditor::PasteHeld);
    }
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

bool CellEditor::event(QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride) {
        const auto* key = static_cast<QKeyEvent*>(event);
        // Undo and redo of the text being typed come before the grid's.
        if ((key->matches(QKeySequence::Undo) && isUndoAvailable()) ||
            (key->matches(QKeySequence::Redo) && isRedoAvailable())) {
            event->accept();
            return true;
        }
        if (IsEnabledShortcut(window(), *key)) {
            event->ignore();
            return true;
        }
        return QLineEdit::event(event);
    }
    if (event->type() == QEvent::KeyPress && keyHandler) {
        // Tab included: the grid moves on it, focus never leaves.
        keyHandler(static_cast<QKeyEvent*>(event));
        return true;
    }
    return QLineEdit::event(event);
}

bool IsEnabledShortcut(const QWidget* window, const QKeyEvent& event) {
    if (window == nullptr) return false;
    const QKeySequence pressed(event.keyCombination());
    const auto actions = window->findChildren<QAction*>();
    for (const QAction* action : actions) {
        if (!action->isEnabled()) continue;
        for (const QKeySequence& shortcut : action->shortcuts()) {
            if (shortcut.matches(pressed) == QKeySequence::ExactMatch) return true;
        }
    }
    return false;
}

}  // namespace zorvan::ui
