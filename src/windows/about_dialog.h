#pragma once
// The About box: the program's name and the processor it teaches, in a raised frame, and an OK
// button. Modal, fixed size; it reads and writes nothing of the rest of the system.

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;

namespace zorvan::grid {
struct Workspace;
}

namespace zorvan::windows {

struct Forms;

class TAbout : public QDialog {
    Q_OBJECT

  public:
    // Created once at start-up, hidden; shown modally by the main window's About command.
    TAbout(grid::Workspace& workspace, Forms& forms, QWidget* parent = nullptr);

    QFrame* Bevel1;
    QLabel* Label1;
    QLabel* Label2;
    QPushButton* BitBtn1;
};

}  // namespace zorvan::windows
