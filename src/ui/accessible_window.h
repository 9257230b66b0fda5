#pragma once
// A top-level window built on a plain QWidget reads to a screen reader as a "filler"; these are
// windows, and say so.

#include <QWidget>

namespace zorvan::ui {

void ReadAsWindow(QWidget* window);

}  // namespace zorvan::ui
