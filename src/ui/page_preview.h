#pragma once
// The page-setup dialog's preview of the page draws Latin filler text of its own. Zorvan's keeps
// the page and draws a Greek program listing on it instead.

#include <QObject>

namespace zorvan::ui {

// Watches the application for page-setup previews as they are shown.
void UseGreekPagePreviews(QObject* application);

}  // namespace zorvan::ui
