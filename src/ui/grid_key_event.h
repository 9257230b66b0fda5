#pragma once
// A Qt key event as the program grid's key: the Windows virtual-key code the core reacts to and
// the character, if the key produces one.

#include <QKeyEvent>

#include "app/grid_keys.h"

namespace zorvan::ui {

app::GridKey ToGridKey(const QKeyEvent& event);

// The character the key types, or 0 for a key that types none (arrows, Delete, F keys, Shift).
char32_t TypedCharacter(const QKeyEvent& event);

// Arrows and Tab: the grid moves its cursor for these and the cell editor never sees them.
bool IsGridMovementKey(const app::GridKey& key);

}  // namespace zorvan::ui
