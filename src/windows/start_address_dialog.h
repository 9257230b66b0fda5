#pragma once
// The start-address dialog of the Run command, and the Run command itself: the dialog asks for
// the address, the program runs from it (in slices, with a window to stop a long run), and the
// end is reported in the message area before the register window comes up.

#include <QDialog>

#include "app/breakpoints.h"
#include "windows/front_watch.h"

class QLineEdit;

namespace zorvan::windows {

struct ApplicationWindows;

class StartAddressDialog : public QDialog {
    Q_OBJECT

  public:
    // Created once at start-up, hidden; parent is the main window.
    StartAddressDialog(grid::Workspace& workspace, ApplicationWindows& windows,
                       QWidget* parent = nullptr);

    // The Run command: asks for the start address and runs the program from it. Throws
    // ConversionError when the address no longer converts.
    void RunProgram();

    // How long a run goes on before the stop window appears.
    int stopWindowDelayMs = 250;

  protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // The last address comes up selected, so that typing a new one replaces it.
    void SelectStartAddress();
    // Ok and Enter: 0000 is never a start address, and Ok does nothing then.
    void AcceptStartAddress();

    grid::Workspace& workspace_;
    ApplicationWindows& windows_;
    FrontWatch frontWatch_;
    QLineEdit* startAddressEdit_;
    // The breakpoints' passes, carried from a run that stopped at one to the run that goes on.
    app::BreakpointHits passes_;
};

}  // namespace zorvan::windows
