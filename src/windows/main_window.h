#pragma once
// The main window: the menu, the program grid with its always-open cell editor, and the message
// area under it. It shows the workspace and turns menu commands and keys into core calls; after
// each it shows the workspace again (RefreshFromWorkspace).

#include <QMainWindow>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/file_flows.h"
#include "app/grid_keys.h"
#include "grid/workspace.h"

class QAction;
class QFileDialog;
class QLabel;
class QMenu;
class QPlainTextEdit;

namespace zorvan::ui {
class ProgramGridView;
}

namespace zorvan::windows {

struct Forms;

class TForm1 : public QMainWindow, private app::FileFlowHost {
    Q_OBJECT

  public:
    TForm1(grid::Workspace& workspace, Forms& forms, QWidget* parent = nullptr);
    ~TForm1() override;

    // Shows what the workspace holds: caption, the three execution commands, the message area,
    // the grid's cells and current cell with the editor on it. Other windows call it after they
    // change the workspace (a message, the grid's cursor).
    void RefreshFromWorkspace();

    // Runs a command's work; a failure is shown in an error box, what was done stays done, and
    // the window shows the workspace either way. True when the work finished.
    bool RunCommand(const std::function<void()>& work);

    // Opens a program named on the command line (a file manager opening a .zrv file), as Open
    // does once its dialog has chosen the file.
    void OpenNamedFile(const QString& path);

    // The file choosers behind OpenDialog1 and SaveDialog1: the chosen path or nothing.
    // Tests replace them.
    std::function<std::optional<std::string>()> chooseOpenFile;
    std::function<std::optional<std::string>()> chooseSaveFile;

    // Components, named as the form names them.
    QMenu* N1;
    QAction* N2;
    QAction* N3;
    QAction* N10;
    QAction* N24;
    QAction* N5;
    QAction* N6;
    QMenu* N7;
    QAction* N8;
    QAction* N4;
    QAction* N9;
    QAction* N17;
    QMenu* N13;
    QAction* N18;
    QAction* N15;
    QAction* N16;
    QAction* N25;  // breakpoint on the current line
    QMenu* N19;
    QAction* N20;
    QAction* N21;
    QAction* N14;
    QAction* N22;
    QAction* N23;
    QMenu* N11;
    QAction* N65021;
    QAction* N12;
    ui::ProgramGridView* StringGrid1;
    QLabel* Label1;
    QPlainTextEdit* Memo1;
    QFileDialog* OpenDialog1;
    QFileDialog* SaveDialog1;

    void N2Click();      // New
    void N3Click();      // Open
    void N10Click();     // Save
    void N24Click();     // Print
    void N6Click();      // Exit
    void N8Click();      // Insert line
    void N4Click();      // Insert lines
    void N9Click();      // Delete line
    void N17Click();     // Clear grid
    void N18Click();     // Assemble
    void N15Click();     // Run
    void N16Click();     // Step execution
    void N25Click();     // Toggle the breakpoint of the current line
    void N20Click();     // Show memory
    void N21Click();     // Clear memory
    void N14Click();     // Show registers
    void N22Click();     // Clear registers
    void N23Click();     // Show console
    void N65021Click();  // Help on the 6502
    void N12Click();     // About

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void FormCreate();
    void CreateMenu();
    void CreateDialogs();
    // One key in the grid: key-down, the grid's own movement, key-press, then the editor.
    void StringGrid1Key(QKeyEvent* event);
    // Whether the cell editor, after the grid's handlers, types or acts on the key.
    static bool EditorTakes(const app::GridKey& key, char32_t character, int columnAtKey);
    // The message area as the workspace has it.
    void ShowMessageArea();
    static void ShowWindow(QWidget* window);

    // app::FileFlowHost
    app::SaveAnswer AskYesNo(std::string_view question) override;
    std::optional<std::string> ChooseOpenFile() override;
    std::optional<std::string> ChooseSaveFile() override;
    void ShowWarning(std::string_view text) override;
    bool AskSaveAnyway(std::string_view text) override;

    std::optional<std::string> ExecuteOpenDialog();
    std::optional<std::string> ExecuteSaveDialog();

    grid::Workspace& workspace_;
    Forms& forms_;
    app::FileFlows flows_;
    bool exitConfirmed_ = false;
};

}  // namespace zorvan::windows
