#pragma once
// The small modal window of a run that takes long: it keeps the run going in slices, shows how
// many instructions have been executed, and offers to stop the run. It closes itself when the
// run ends.

#include <QDialog>
#include <QTimer>
#include <cstdint>
#include <functional>

#include "app/run_command.h"

class QLabel;
class QPushButton;

namespace zorvan::windows {

class RunStopWindow : public QDialog {
    Q_OBJECT

  public:
    explicit RunStopWindow(app::SlicedRun& run, QWidget* parent = nullptr);

  protected:
    void reject() override;  // the close box and Esc stop the run too
    // Esc stops the run whichever of the application's windows has the keyboard.
    bool eventFilter(QObject* watched, QEvent* event) override;
    // A window manager that minimises it anyway gets it back at once: minimised, it would take
    // every window of the application with it while the run goes on.
    void changeEvent(QEvent* event) override;

  private:
    void RunSlices();
    void StopRun();
    void ShowCount();

    app::SlicedRun& run_;
    QTimer timer_;
    QLabel* countLabel_;
    QPushButton* stopButton_;  // "Διακοπή"
};

// The time a run has taken, in milliseconds from any start, that times the stop window's delay
// and the slices: the steady clock. The monkey test counts instructions instead, so that a seed
// replays the same run however fast the machine is.
extern std::function<std::int64_t(const app::SlicedRun& run)> runClockMs;

// Runs a command's run to its end: one that ends within stopWindowDelayMs needs no window, a
// longer one goes on under the stop window, from which the user may stop it.
void RunToEnd(app::SlicedRun& run, int stopWindowDelayMs, QWidget* parent);

}  // namespace zorvan::windows
