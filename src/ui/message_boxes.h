#pragma once
// The system's modal message boxes, titled with the application title and with Greek buttons.

#include <QMessageBox>
#include <QString>

namespace zorvan::ui {

// A question with the buttons "Ναι" and "Όχι"; true for Yes. Esc and the close box answer No.
bool AskYesNo(QWidget* parent, const QString& text, QMessageBox::Icon icon = QMessageBox::Warning);

// A save-first question with the buttons "Ναι" and "Όχι": 1 for Yes, 0 for No, -1 when Esc or
// the close box call the command off.
int AskYesNoOrCancel(QWidget* parent, const QString& text,
                     QMessageBox::Icon icon = QMessageBox::Warning);

// A message with an "OK" button.
void ShowMessage(QWidget* parent, const QString& text, QMessageBox::Icon icon);

// A failure that stopped a command: an error box with the failure's text.
void ShowError(QWidget* parent, const QString& text);

}  // namespace zorvan::ui
