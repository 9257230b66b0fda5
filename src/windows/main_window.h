#pragma once
// The main window: the menu, the program grid with its always-open cell editor, and the message
// area under it. It shows the workspace and turns menu commands and keys into core calls; after
// each it shows the workspace again (RefreshFromWorkspace).

#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "app/file_flows.h"
#include "app/grid_keys.h"
#include "app/recovery_copy.h"
#include "grid/edit_history.h"
#include "grid/workspace.h"

class QAction;
class QFileDialog;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QTimer;

namespace zorvan::ui {
class ProgramGridView;
}

namespace zorvan::windows {

struct ApplicationWindows;
class ExerciseWindow;

class MainWindow : public QMainWindow, private app::FileFlowHost {
    Q_OBJECT

  public:
    MainWindow(grid::Workspace& workspace, ApplicationWindows& windows, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Shows what the workspace holds: caption, the three execution commands, the message area,
    // the grid's cells and current cell with the editor on it. Other windows call it after they
    // change the workspace (a message, the grid's cursor).
    void RefreshFromWorkspace();

    // Runs a command's work; a failure is shown in an error box, what was done stays done, and
    // the window shows the workspace either way. True when the work finished.
    bool RunCommand(const std::function<void()>& work);

    // Opens a program named on the command line (a file manager opening a .zrv file), as Open
    // does once its dialog has chosen the file (asking first only after a recovery).
    void OpenNamedFile(const QString& path);
    // Opens the recent file at index (0 the newest), as Open does once its dialog has chosen it.
    void OpenRecentFile(std::size_t index);

    // The file choosers behind the open and save dialogs: the chosen path or nothing.
    // Tests replace them.
    std::function<std::optional<std::string>()> chooseOpenFile;
    std::function<std::optional<std::string>()> chooseSaveFile;
    // The chooser of «Έλεγχος άσκησης…»'s expectation file. Tests replace it.
    std::function<std::optional<std::string>()> chooseExpectationFile;

    // At start: offers the programs that copies of Zorvan which did not end cleanly left, newest
    // first, until one is recovered. True when one was.
    bool OfferRecovery();
    // The offer's answer: true for Ανάκτηση, false for Απόρριψη, nothing to keep the copy for
    // the next start. Tests replace it.
    std::function<std::optional<bool>(const QString& offer)> askRecovery;
    // Writes the recovery copy now, as the timer does a few seconds after a change.
    void WriteRecoveryCopy();
    // The folder of the recovery copies of this user.
    static QString RecoveryFolderPath();

    // Make the program grid take keys and clicks, or not (while the step window steps).
    void SetProgramGridEnabled(bool enabled);

    // The menu's commands, in menu order.
    void New();
    void Open();
    void Save();
    void QuickSave();
    void Print();
    void Exit();
    void InsertLine();
    void InsertLines();
    void DeleteLine();
    void ClearGrid();
    void Undo();
    void Redo();
    void Assemble();
    void Run();
    void Step();
    void ToggleBreakpoint();  // on the current line
    void ShowMemory();
    void ClearMemory();
    void ShowRegisters();
    void ClearRegisters();
    void ShowConsole();
    void OpenHelp();
    // The help at a page ("" for the contents page), from F1 in the main window or another.
    void OpenHelpAt(const QString& page);
    // F1 in that window opens the help at its page. A modal dialog gets a help window of its
    // own, which its modality does not block.
    void AddHelpKey(QWidget* window, const QString& page, bool modal = false);
    void CheckExercise();
    void ShowAbout();

    // A help page's example, by its file's bytes: into the grid after New's save-first question,
    // then assembled, so that F9 runs it. Nothing happens while the step window has the grid.
    void OpenExample(const std::string& programBytes);
    // Έλεγχος άσκησης with an expectation file's text instead of a chosen file, named name.
    void CheckExerciseWith(const QString& name, const std::string& expectationText);

  protected:
    void closeEvent(QCloseEvent* event) override;
    // Coming to the front: a file changed elsewhere is offered again.
    void changeEvent(QEvent* event) override;

  private:
    // RunCommand's work, recorded as an undo step when it fails, and when it is done unless the
    // caller records it later (a key, once it has reached the cell editor).
    bool RunRecorded(const std::function<void()>& work, bool recordWhenDone);
    void CreateMenu();
    // The checks of a student's slips, switched on and off there and kept in the settings.
    void CreateSlipItems(QMenu* menu);
    void CreateDialogs();
    void CreateExerciseWindow();
    // One key in the grid: key-down, the grid's own movement, key-press, then the editor.
    void HandleGridKey(QKeyEvent* event);
    // Whether the cell editor, after the grid's handlers, types or acts on the key.
    static bool EditorTakes(const app::GridKey& key, char32_t character, int columnAtKey);
    // The message area as the workspace has it.
    void ShowMessageArea();
    // After a file command: the program's file becomes the newest recent file, kept in the
    // user's settings for the next start.
    void NoteRecentFile();
    void ShowRecentFiles();
    // After Open and Save: the recent files, and a warning the first time a file is open in
    // another copy of Zorvan.
    void AfterFileCommand();
    // After anything that may change the program: the recovery copy follows the changed flag.
    void NoteProgramState();
    std::optional<bool> ExecuteRecoveryOffer(const QString& offer);
    // Undo and Redo enabled when there is a step to take.
    void ShowUndoState();
    // Undo's or Redo's work: the program of that step, without the notice of a Clear grid.
    void TakeStep(bool undo);
    static void ShowWindow(QWidget* window);

    // app::FileFlowHost
    app::SaveAnswer AskYesNo(std::string_view question) override;
    std::optional<std::string> ChooseOpenFile() override;
    std::optional<std::string> ChooseSaveFile() override;
    void ShowWarning(std::string_view text) override;
    bool AskSaveAnyway(std::string_view text) override;

    std::optional<std::string> ExecuteOpenDialog();
    std::optional<std::string> ExecuteExpectationDialog();
    std::optional<std::string> ExecuteSaveDialog();

    grid::Workspace& workspace_;
    ApplicationWindows& windows_;
    app::FileFlows flows_;
    grid::EditHistory history_;
    bool exitConfirmed_ = false;
    app::RecoveryFolder recovery_;
    QTimer* autosaveTimer_;
    std::string copiedBytes_;  // the program as the recovery copy on disk holds it
    bool copyOnDisk_ = false;
    bool handlingKey_ = false;     // the editor is typing a key that HandleGridKey records
    int commandDepth_ = 0;         // commands under way, one inside another's box included
    QPointer<QObject> wiredHelp_;  // the help window whose links are connected here
    std::set<std::string> warnedOpenElsewhere_;

    // Qt object names are the same without the underscore ("assembleAction"), for tests.
    QAction* newAction_;
    QAction* openAction_;
    QAction* saveAction_;
    QAction* quickSaveAction_;
    QAction* printAction_;
    QAction* recentSeparator_;
    std::vector<QAction*> recentFileActions_;  // "recentFileAction1" to "recentFileAction5"
    std::vector<std::string> recentFiles_;
    QAction* exitAction_;
    QAction* insertLineAction_;
    QAction* insertLinesAction_;
    QAction* deleteLineAction_;
    QAction* clearGridAction_;
    QAction* undoAction_;
    QAction* redoAction_;
    QAction* assembleAction_;
    QAction* runAction_;
    QAction* stepAction_;
    QAction* breakpointAction_;
    QAction* showMemoryAction_;
    QAction* clearMemoryAction_;
    QAction* showRegistersAction_;
    QAction* clearRegistersAction_;
    QAction* showConsoleAction_;
    QAction* helpAction_;
    QAction* checkExerciseAction_;
    QAction* aboutAction_;
    ExerciseWindow* exerciseWindow_ = nullptr;
    ui::ProgramGridView* programGrid_;
    QLabel* messageHeading_;  // "Debugger"
    QPlainTextEdit* messageArea_;
    QFileDialog* openDialog_;
    QFileDialog* saveDialog_;
};

}  // namespace zorvan::windows
