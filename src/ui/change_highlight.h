#pragma once
// The one colour of what the last step or run changed: a light amber that reads well behind
// black digits and still shows when printed in grey.

#include <QColor>

namespace zorvan::ui {

inline const QColor kChangeHighlight{0xFF, 0xE0, 0x70};

}  // namespace zorvan::ui
