#pragma once
// The console window of the emulated program: what the program shows through its console
// routines, and the field in which the user hands it a value for AC.

#include <QElapsedTimer>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <optional>
#include <string>
#include <string_view>

class QLineEdit;
class QPlainTextEdit;

namespace zorvan::grid {
struct Workspace;
}

namespace zorvan::windows {

class ConsoleWindow : public QWidget {
    Q_OBJECT

  public:
    // Created once at start-up, hidden; parent is the main window.
    explicit ConsoleWindow(grid::Workspace& workspace, QWidget* parent = nullptr);

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
        explicit RunBurst(ConsoleWindow& console);
        ~RunBurst();
        RunBurst(const RunBurst&) = delete;
        RunBurst& operator=(const RunBurst&) = delete;

      private:
        ConsoleWindow& console_;
    };

    // What the console shows, as the step window's history keeps it and puts it back.
    std::string ShownText() const;
    void ReplaceShownText(const std::string& text);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void ShowConsole();
    // Enter in the AC field: the value goes into AC and the console says so.
    void HandAccumulatorToProgram();
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
    QPlainTextEdit* outputArea_;
    QLineEdit* accumulatorEdit_;
};

}  // namespace zorvan::windows
