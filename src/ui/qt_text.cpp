#include "ui/qt_text.h"

#include <QList>

#include "text/cp1253.h"

namespace zorvan::ui {

bool IsCellText(const QString& text, const QString& alsoAllowed) {
    const QList<uint> allowed = alsoAllowed.toUcs4();
    for (char32_t character : text.toUcs4()) {
        if (allowed.contains(character)) continue;
        if (character < 0x20 || character == 0x7F || !text::IsInCp1253(character)) return false;
    }
    return true;
}

}  // namespace zorvan::ui
