#pragma once
// The step window: runs the program one instruction per press of Next, shows the program line
// just executed and the one to execute next, moves the program grid's cursor along, and redraws
// the register and memory windows after each step.

#include <QWidget>
#include <functional>
#include <memory>

#include "app/step_session.h"
#include "windows/machine_host_adapter.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace zorvan::grid {
struct Workspace;
}

namespace zorvan::windows {

struct Forms;

class TStep : public QWidget, private app::StepPeers {
    Q_OBJECT

  public:
    // Created once at start-up, hidden; forms reaches the other windows, parent is the main window.
    TStep(grid::Workspace& workspace, Forms& forms, QWidget* parent = nullptr);

    // The program-grid row of the instruction PC points to; 0 when no line carries it.
    int CurrentRow() const { return session_.CurrentRow(); }

    QLineEdit* Edit1;
    QLabel* Label2;
    QPushButton* Button1;  // Start
    QPushButton* Button2;  // Next
    QPushButton* Button3;  // Stop
    QTableWidget* StepGrid;
    QLabel* Label1;
    QPushButton* ContinueButton;     // Συνέχεια
    QPushButton* StepOverButton;     // Παράκαμψη JSR
    QPushButton* RunToCursorButton;  // Έως τον κέρσορα
    QPushButton* BackButton;         // Πίσω
    QLabel* SentenceLabel;           // what the instruction executed last did

    void Button1Click();  // Start
    void Button2Click();  // Next
    void Button3Click();  // Stop
    void ContinueClick();
    void StepOverClick();
    void RunToCursorClick();
    void BackClick();

    // How long a run of the new commands goes on before the stop window appears.
    int stopWindowDelayMs = 250;

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // Enter, once Start has been pressed, is Next, as Space on Next is.
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void FormShow();
    void FormClose();
    // Shows the session's state in the widgets.
    void ShowState();
    // Runs one command of the window. A console routine it calls brings the console up; the
    // keyboard then comes back to this window, unless the routine asked for AC, whose field
    // takes it.
    void KeepKeyboard(const std::function<void()>& command);
    // The debugger's buttons and sentence line, below the status line.
    void CreateDebuggerControls();
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
    Forms& forms_;
    MachineHostAdapter host_;
    std::unique_ptr<cpu::ConsoleText> consoleText_;
    app::StepSession session_;
};

}  // namespace zorvan::windows
