#include "windows/memory_grid.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QStyle>

namespace zorvan::windows {

namespace {

bool IsGridKey(int key) {
    switch (key) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            return true;
        default:
            return false;
    }
}

}  // namespace

MemoryGrid::MemoryGrid(int rows, int columns, QWidget* parent)
    : QTableWidget(rows, columns, parent) {
    setItemDelegate(new MemoryCellDelegate(this));
}

void MemoryGrid::HandleKey(QKeyEvent* event) {
    if (keyHandler && keyHandler(event)) {
        event->accept();
        return;
    }
    QTableWidget::keyPressEvent(event);
}

MemoryCellDelegate::MemoryCellDelegate(MemoryGrid* grid) : QStyledItemDelegate(grid), grid_(grid) {}

QString MemoryCellDelegate::displayText(const QVariant& value, const QLocale& locale) const {
    QString text = QStyledItemDelegate::displayText(value, locale);
    for (QChar& character : text) {
        const char16_t code = character.unicode();
        if (code < 0x20) {
            character = QChar(static_cast<char16_t>(0x2400 + code));  // the control pictures
        } else if (code == QChar::LineSeparator) {
            character = QChar(static_cast<char16_t>(0x240A));  // the base class's line feed
        } else if (code == 0x7F) {
            character = QChar(static_cast<char16_t>(0x2421));
        }
    }
    return text;
}

QFont MemoryCellDelegate::CellFont(const QString& text, const QFont& font, int width) {
    QFont smaller = font;
    int size = font.pixelSize() > 0 ? font.pixelSize() : QFontMetrics(font).height();
    while (size > 6 && QFontMetrics(smaller).horizontalAdvance(text) > width) {
        smaller.setPixelSize(--size);
    }
    return smaller;
}

void MemoryCellDelegate::initStyleOption(QStyleOptionViewItem* option,
                                         const QModelIndex& index) const {
    QStyledItemDelegate::initStyleOption(option, index);
    const QWidget* view = option->widget;
    const QStyle* style = view != nullptr ? view->style() : nullptr;
    const int margin =
        style != nullptr ? 2 * (style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1)
                         : 0;
    option->font = CellFont(option->text, option->font, option->rect.width() - margin);
    option->fontMetrics = QFontMetrics(option->font);
    option->textElideMode = Qt::ElideNone;
}

bool MemoryCellDelegate::eventFilter(QObject* object, QEvent* event) {
    auto* editor = qobject_cast<QLineEdit*>(object);
    if (editor != nullptr && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (IsGridKey(key->key())) {
            emit commitData(editor);
            emit closeEditor(editor, NoHint);
            grid_->setFocus();
            grid_->HandleKey(key);
            return true;
        }
    }
    return QStyledItemDelegate::eventFilter(object, event);
}

}  // namespace zorvan::windows
