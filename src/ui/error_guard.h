#pragma once
// No exception crosses Qt's event loop. A window's entry point runs its work inside Guard: a
// failure stops the command where it is, what it had done stays done, and the failure's message
// is shown in an error box titled "Zorvan". The event loop goes on.

#include <QWidget>
#include <functional>

namespace zorvan::ui {

// Runs work; true when it finished, false when a failure stopped it (and was shown).
bool Guard(QWidget* parent, const std::function<void()>& work);

// Shows the exception being handled; call only inside a catch block.
void ShowCurrentException(QWidget* parent);

}  // namespace zorvan::ui
