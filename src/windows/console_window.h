#pragma once
// The console window of the emulated program: what the program shows through its console
// routines, and the field in which the user hands it a value for AC.

#include <QElapsedTimer>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <optional>
#include <string_view>

class QLabel;
class QLineEdit;
class QPlainTextEdit;

namespace zorvan::grid {
struct Workspace;
}

namespace zorvan::windows {

struct Forms;

class TConsole : public QWidget {
    Q_OBJECT

  public:
    // Created once at start-up, hidden; forms reaches the other windows, parent is the main window.
    TConsole(grid::Workspace& workspace, Forms& forms, QWidget* parent = nullptr);

    // The four console routines. Each first shows the console if it is hidden.
    void ShowCharacter(int ac);
    void AskForAccumulator();
    void ClearConsole();
    void PrintText(std::string_view cp1253Bytes);

    // While a run lasts, what the routines write reaches the screen at most every
    // kBurstRepaintMs; the run's end shows it whole. Outside a run every call shows at once.
    static constexpr int kBurstRepaintMs = 50;
    class RunBurst {
      public:
        explicit RunBurst(TConsole& console);
        ~RunBurst();
        RunBurst(const RunBurst&) = delete;
        RunBurst& operator=(const RunBurst&) = delete;

      private:
        TConsole& console_;
    };

    QPlainTextEdit* ConsoleMemo;
    QLabel* Label1;
    QLineEdit* Edit1;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void ShowConsole();
    void Edit1KeyPress();  // Enter in the field
    void ReplaceText(QString text);
    void AppendLine(QString line);
    void ShowPendingSoon();
    void ShowPending();

    bool inRun_ = false;
    std::optional<int> pendingCharacter_;        // a character replacing what is shown
    std::optional<QString> pendingReplacement_;  // or a whole text
    QString pendingLines_;                       // lines appended after it, '\n' between them
    bool hasPendingLines_ = false;
    QElapsedTimer sinceShown_;
    QTimer showTimer_;

    grid::Workspace& workspace_;
    [[maybe_unused]] Forms& forms_;
};

}  // namespace zorvan::windows
