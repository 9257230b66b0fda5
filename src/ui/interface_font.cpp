#include "ui/interface_font.h"

#include <QApplication>
#include <QFont>
#include <QStringList>

namespace zorvan::ui {

QFont InterfaceFont() {
    QFont font;
    // Condensed faces first; each has Greek glyphs. The plain families are the fallback when no
    // narrow face is installed, and the style hint lets the font database pick any sans-serif.
    font.setFamilies(QStringList{QStringLiteral("DejaVu Sans Condensed"),
                                 QStringLiteral("Liberation Sans Narrow"),
                                 QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans")});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(11);
    return font;
}

void UseInterfaceFont() {
    QApplication::setFont(InterfaceFont());
}

}  // namespace zorvan::ui
