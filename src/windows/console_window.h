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

#include "app/headless_console.h"

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

    // What the console shows, as the step window's history keeps it and puts it back: its
    // text, the text's length, and the oldest lines the bound dropped since the last call.
    std::string ShownText() const { return text_.Text(); }
    std::size_t ShownSize() const { return text_.Text().size(); }
    void KeepDropped() { text_.KeepDropped(); }
    std::string TakeDropped() { return text_.TakeDropped(); }
    void ReplaceShownText(const std::string& text);

  signals:
    // The AC field took an answer; AC held previousAc before it.
    void AnswerEntered(int previousAc);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void ShowConsole();
    // Enter in the AC field: the value goes into AC and the console says so.
    void HandAccumulatorToProgram();
    void ReplaceText(std::string_view text);
    void AppendLine(std::string_view line);
    void ShowPendingSoon();
    void ShowPending();

    bool inRun_ = false;
    app::ConsoleText text_;
    bool pendingWhole_ = false;  // the whole text is to be shown again
    QString pendingLines_;       // lines appended after it, '\n' between them
    std::size_t pendingLineCount_ = 0;
    QElapsedTimer sinceShown_;
    QTimer showTimer_;
    // showTimer_ runs: kept here, since asking the timer costs a call into Qt on every print.
    bool showDue_ = false;

    grid::Workspace& workspace_;
    QPlainTextEdit* outputArea_;
    QLineEdit* accumulatorEdit_;
};

}  // namespace zorvan::windows
