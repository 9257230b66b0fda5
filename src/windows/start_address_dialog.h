#pragma once
// The start-address dialog of the Run command, and the Run command itself: the dialog asks for
// the address, the program runs from it (in slices, with a window to stop a long run), and the
// end is reported in the message area before the register window comes up.

#include <QDialog>

#include "windows/front_watch.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace zorvan::grid {
struct Workspace;
}

namespace zorvan::windows {

struct Forms;

class Tpr_start : public QDialog {
    Q_OBJECT

  public:
    // Created once at start-up, hidden; forms reaches the other windows, parent is the main window.
    Tpr_start(grid::Workspace& workspace, Forms& forms, QWidget* parent = nullptr);

    // The Run command: asks for the start address and runs the program from it. Throws
    // ConversionError when the address no longer converts.
    void RunProgram();

    // How long a run goes on before the stop window appears.
    int stopWindowDelayMs = 250;

    QLabel* Label1;
    QLineEdit* Edit1;
    QPushButton* Button1;

  protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void FormActivate();
    void Button1Click();

    grid::Workspace& workspace_;
    Forms& forms_;
    FrontWatch frontWatch_;
};

}  // namespace zorvan::windows
