#pragma once
// Escape closes a secondary window, as it cancels a dialog. Only an Escape that no control of the
// window took for itself (a cell editor cancelling its edit) closes it.

#include <QWidget>

namespace zorvan::ui {

void CloseOnEscape(QWidget* window);

}  // namespace zorvan::ui
