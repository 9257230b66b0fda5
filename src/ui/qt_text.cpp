#include "ui/qt_text.h"

#include <QList>

#include "text/cp1253.h"

namespace zorvan::ui {

bool IsCellText(const QString& text) {
    for (char32_t character : text.toUcs4()) {
        if (character < 0x20 || character == 0x7F || !text::IsInCp1253(character)) return false;
    }
    return true;
}

}  // namespace zorvan::ui
