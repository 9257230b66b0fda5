// The one font every window is drawn in: a narrow sans-serif 11 pixels high, so that each
// caption fits the fixed window and column sizes.
#pragma once

class QFont;

namespace zorvan::ui {

// The interface font: DejaVu Sans Condensed when installed, else the nearest narrow sans-serif.
QFont InterfaceFont();

// Makes the interface font the application's default; call once the QApplication exists and
// before the first window is created.
void UseInterfaceFont();

}  // namespace zorvan::ui
