#pragma once
// The About box: the program's name and the processor it teaches, in a raised frame, and an OK
// button. Modal, fixed size; it reads and writes nothing of the rest of the system.

#include <QDialog>

namespace zorvan::windows {

class AboutDialog : public QDialog {
    Q_OBJECT

  public:
    // Created once at start-up, hidden; shown modally by the main window's About command.
    explicit AboutDialog(QWidget* parent = nullptr);
};

}  // namespace zorvan::windows
