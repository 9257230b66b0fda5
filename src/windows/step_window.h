#pragma once
// The step window: runs the program one instruction per press of Next, shows the program line
// just executed and the one to execute next, moves the program grid's cursor along, and redraws
// the register and memory windows after each step.

#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

#include "app/step_session.h"
#include "windows/machine_host_adapter.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTableWidget;

namespace zorvan::grid {
struct Workspace;
}

namespace zorvan::windows {

struct ApplicationWindows;

class StepWindow : public QWidget, private app::StepPeers {
    Q_OBJECT

  public:
    // Created once at start-up, hidden; parent is the main window.
    StepWindow(grid::Workspace& workspace, ApplicationWindows& windows, QWidget* parent = nullptr);

    // The program-grid row of the instruction PC points to; 0 when no line carries it.
    int CurrentRow() const { return session_.CurrentRow(); }

    // The window's buttons: Εκκίνηση, Επόμενο, Stop, Συνέχεια, Παράκαμψη JSR, Έως τον κέρσορα,
    // Πίσω, Πίσω ως το σημείο διακοπής.
    void Start();
    void Next();
    void Stop();
    void Continue();
    void StepOver();
    void RunToCursor();
    void Back();
    void BackToBreakpoint();

    // How long a run of the new commands goes on before the stop window appears.
    int stopWindowDelayMs = 250;

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // Enter, once Start has been pressed, is Next, as Space on Next is.
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // Each time the window opens: the rows and buttons as at first, "0000" selected.
    void ResetForNewSession();
    // The window closes: the grid takes keys again.
    void EndSession();
    // Up, Down, Page Up and Page Down move the grid's cursor; false for any other key.
    bool CursorKey(QKeyEvent* event);
    // Back to the front, restored if minimised; a notice in the main window says why when tell
    // is set or the window was minimised.
    void ComeBack(bool tell);
    // The console's field took an answer.
    void AnswerEntered(int previousAc);
    // Shows the session's state in the widgets.
    void ShowState();
    // Runs one command of the window. A console routine it calls brings the console up; the
    // keyboard then comes back to this window, unless the routine asked for AC, whose field
    // takes it.
    void KeepKeyboard(const std::function<void()>& command);
    // The two rows, the line executed and the line to execute, with their captions; their width.
    int CreateStepRows();
    // The debugger's buttons and sentence line, below the status line.
    void CreateDebuggerControls();
    // Below the sentence: the breakpoint's count, the latest steps and the pinned cells.
    void CreateWatchingControls();
    // The count field edits the breakpoint of the grid's current line: its caption names the
    // line, and it is off on a line without one.
    void ShowBreakpointCount();
    // The latest steps and the pinned cells as the session tells them now.
    void ShowLists();
    // Back to the point just after the step in the latest steps' row.
    void BackToListedStep(int row);
    void PinCell();
    void UnpinCell();
    // Runs a recorded run to its end (with the stop window when it takes long); no run: Next.
    void RunRecorded(std::unique_ptr<app::RecordedRun> (app::StepSession::*begin)(),
                     bool nextWithoutRun);

    // app::StepPeers
    void SetProgramGridEnabled(bool enabled) override;
    void ShowRegisterWindow() override;
    void RefillRegisters() override;
    void RedrawMemory() override;
    void RepaintMemory() override;

    grid::Workspace& workspace_;
    ApplicationWindows& windows_;
    MachineHostAdapter host_;
    std::unique_ptr<cpu::RestorableConsole> consoleText_;
    app::StepSession session_;

    QLineEdit* startAddressEdit_;
    QPushButton* startButton_;
    QPushButton* nextButton_;
    QPushButton* stopButton_;
    QTableWidget* stepRows_;  // the line executed and the line to execute
    QLabel* statusLabel_;
    QPushButton* continueButton_;
    QPushButton* stepOverButton_;
    QPushButton* runToCursorButton_;
    QPushButton* backButton_;
    QPushButton* backToBreakpointButton_;
    QLineEdit* watchAddressEdit_;
    QLineEdit* watchValueEdit_;
    std::vector<QWidget*> watchWidgets_;  // the two fields and their labels
    QLabel* sentenceLabel_;               // what the instruction executed last did
    QLabel* hitLabel_;                    // names the line of the breakpoint
    QSpinBox* hitCountSpin_;              // it stops on its every-th pass
    QLabel* hitTimesLabel_;
    QTableWidget* recentSteps_;                 // the last 100 steps, newest last
    std::vector<std::size_t> recentPositions_;  // each row's place in the history
    QLineEdit* pinAddressEdit_;
    QPushButton* pinButton_;
    QPushButton* unpinButton_;
    QTableWidget* pinnedCells_;
    QLabel* pinNoticeLabel_;
    std::vector<QWidget*> listWidgets_;  // shown while stepping
};

}  // namespace zorvan::windows
