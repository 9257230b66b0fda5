#pragma once
// A window reopens where the student left it: its place (and size, when it can be resized) is
// kept in the user's settings each time it is hidden, and given back when it is created, moved
// onto the screen when it would lie off it and never smaller than the window is built.

#include <QWidget>

namespace zorvan::ui {

// The window's object name is its key in the settings.
void RememberPlace(QWidget* window);

}  // namespace zorvan::ui
