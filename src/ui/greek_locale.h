// Greek for everything Qt itself shows: the file, print and page setup dialogs, the standard
// buttons and the text fields' context menus, and Greek dates, numbers and file type names
// whatever the system's locale.
#pragma once

namespace zorvan::ui {

// Names Greek (Greece) as the system's locale for this process. Qt reads it once, when it is first
// asked, and the file dialog's dates, sizes and type names follow it: call before the
// QApplication is created.
void NameGreekSystemLocale();

// Sets the default locale to Greek (Greece) and installs Zorvan's own translation of Qt's
// texts; call once the QApplication exists and before the first window is created. Returns
// false when the embedded translation could not be loaded, in which case Qt's texts stay English.
bool UseGreekLocale();

}  // namespace zorvan::ui
