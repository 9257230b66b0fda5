#include "ui/cell_editor.h"

#include <QAction>
#include <QKeyEvent>
#include <QValidator>

#include "ui/qt_text.h"

namespace zorvan::ui {

// Refuses any edit that would put a character the grid cannot hold into the cell, typed or
// pasted: the whole paste is refused, not just the character.
class CellTextValidator : public QValidator {
  public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override {
        return IsCellText(input, cellText_) ? Acceptable : Invalid;
    }
    // The characters of the cell's own text stay allowed while it is edited.
    void SetCellText(const QString& text) { cellText_ = text; }

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
