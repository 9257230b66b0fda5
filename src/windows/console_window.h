#pragma once
// The console window of the emulated program: what the program shows through its console
// routines, and the field in which the user hands it a value for AC.

#include <QWidget>
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

    // The four console routines. Each first shows the console and brings it to the front.
    void ShowCharacter(int ac);
    void AskForAccumulator();
    void ClearConsole();
    void PrintText(std::string_view cp1253Bytes);

    QPlainTextEdit* ConsoleMemo;
    QLabel* Label1;
    QLineEdit* Edit1;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void ShowConsole();
    void Edit1KeyPress();  // Enter in the field

    grid::Workspace& workspace_;
    [[maybe_unused]] Forms& forms_;
};

}  // namespace zorvan::windows
