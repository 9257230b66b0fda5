#include "windows/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QSplitter>
#include <QStandardPaths>
#include <QTimer>
#include <QVBoxLayout>

#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>

#include "app/breakpoints.h"
#include "app/exercise_check.h"
#include "app/line_editing.h"
#include "app/recent_files.h"
#include "app/step_session.h"
#include "asm/assembly_pass.h"
#include "text/cp1253.h"
#include "text/hex_text.h"
#include "ui/error_guard.h"
#include "ui/grid_key_event.h"
#include "ui/message_boxes.h"
#include "ui/program_grid_view.h"
#include "ui/program_printer.h"
#include "ui/qt_text.h"
#include "windows/about_dialog.h"
#include "windows/application_windows.h"
#include "windows/console_window.h"
#include "windows/exercise_window.h"
#include "windows/help_window.h"
#include "windows/insert_lines_dialog.h"
#include "windows/memory_window.h"
#include "windows/register_window.h"
#include "windows/start_address_dialog.h"
#include "windows/step_window.h"

namespace zorvan::windows {

namespace {

const QString kProgramFilter = QStringLiteral("Zorvan (*.zrv)");
const QString kTextFilter = QStringLiteral("Αρχείο Κειμένου (*.txt)");
const QString kRecentFilesKey = QStringLiteral("recentFiles");
// A change reaches the recovery copy within this time, however fast the student types on.
constexpr int kAutosaveDelayMs = 2000;

bool IsRunning(int process) {
    if (::kill(process, 0) != 0 && errno != EPERM) return false;
    // A process killed a moment ago may linger as a zombie until its parent reaps it: it runs
    // no more.
    QFile stat(QStringLiteral("/proc/%1/stat").arg(process));
    if (!stat.open(QIODevice::ReadOnly)) return true;
    const QByteArray line = stat.readAll();
    const qsizetype state = line.lastIndexOf(')') + 2;
    return state <= 1 || state >= line.size() || line.at(state) != 'Z';
}

app::FileStore& DiskFiles() {
    static app::FileStore files;
    return files;
}

QAction* AddItem(QMenu* menu, const char* name, const QString& caption,
                 const QKeySequence& shortcut = {}) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(shortcut);
    return action;
}

QMenu* AddMenu(QMenuBar* bar, const char* name, const QString& caption) {
    QMenu* menu = bar->addMenu(caption);
    menu->setObjectName(QString::fromLatin1(name));
    return menu;
}

void GreekFileDialogLabels(QFileDialog* dialog, const QString& acceptText) {
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setLabelText(QFileDialog::LookIn, QStringLiteral("Αναζήτηση σε:"));
    dialog->setLabelText(QFileDialog::FileName, QStringLiteral("Όνομα αρχείου:"));
    dialog->setLabelText(QFileDialog::FileType, QStringLiteral("Τύπος αρχείων:"));
    dialog->setLabelText(QFileDialog::Accept, acceptText);
    dialog->setLabelText(QFileDialog::Reject, QStringLiteral("Άκυρο"));
    dialog->setNameFilters({kProgramFilter, kTextFilter});
    dialog->selectNameFilter(kProgramFilter);
    // The side list wide enough for "Υπολογιστής" whole.
    if (auto* sides = dialog->findChild<QSplitter*>(QStringLiteral("splitter"))) {
        sides->setSizes({120, 400});
    }
}

}  // namespace

MainWindow::MainWindow(grid::Workspace& workspace, ApplicationWindows& windows, QWidget* parent)
    : QMainWindow(parent),
      workspace_(workspace),
      windows_(windows),
      flows_(workspace, *this),
      history_(workspace),
      recovery_(ui::ToStdString(RecoveryFolderPath()), int(::getpid()), DiskFiles()),
      autosaveTimer_(new QTimer(this)) {
    setObjectName(QStringLiteral("mainWindow"));
    autosaveTimer_->setObjectName(QStringLiteral("autosaveTimer"));
    autosaveTimer_->setSingleShot(true);
    autosaveTimer_->setInterval(kAutosaveDelayMs);
    connect(autosaveTimer_, &QTimer::timeout, this, &MainWindow::WriteRecoveryCopy);
    askRecovery = [this](const QString& offer) { return ExecuteRecoveryOffer(offer); };
    // The window's small font: the six captions fit their 70-pixel columns.
    QFont windowFont = font();
    windowFont.setPixelSize(11);
    setFont(windowFont);
    chooseOpenFile = [this] { return ExecuteOpenDialog(); };
    chooseSaveFile = [this] { return ExecuteSaveDialog(); };
    chooseExpectationFile = [this] { return ExecuteExpectationDialog(); };

    auto* client = new QWidget(this);
    auto* layout = new QVBoxLayout(client);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    programGrid_ = new ui::ProgramGridView(workspace_.grid, client);
    programGrid_->setObjectName(QStringLiteral("programGrid"));
    programGrid_->setAccessibleName(QStringLiteral("Πρόγραμμα"));
    programGrid_->Editor()->keyHandler = [this](QKeyEvent* event) { HandleGridKey(event); };
    programGrid_->Editor()->pasteLeftOut = [this](const QString& leftOut) {
        workspace_.ShowMessage(text::LeftOutNotice(ui::ToStdString(leftOut)), workspace_.grid.Col(),
                               grid::Tone::kError);
        ShowMessageArea();
    };
    // An edit by the mouse (the editor's menu, a drop) changes the program as a key does.
    connect(programGrid_->Editor(), &QLineEdit::textEdited, this, [this] {
        if (handlingKey_) return;
        workspace_.changed = true;
        history_.Record(workspace_,
                        grid::CellPosition{workspace_.grid.Col(), workspace_.grid.Row()}, true);
        ShowUndoState();
        NoteProgramState();
    });
    connect(programGrid_, &ui::ProgramGridView::breakpointMarginClicked, this, [this](int row) {
        app::ToggleBreakpoint(workspace_, row);
        RefreshFromWorkspace();
    });
    connect(programGrid_, &ui::ProgramGridView::lineClickedWhileDisabled, this, [this](int row) {
        workspace_.grid.SetRow(row);
        RefreshFromWorkspace();
    });
    layout->addWidget(programGrid_, 1);

    messageHeading_ = new QLabel(QStringLiteral("Debugger"), client);
    messageHeading_->setObjectName(QStringLiteral("messageHeading"));
    messageHeading_->setFixedHeight(13);
    layout->addWidget(messageHeading_);

    messageArea_ = new QPlainTextEdit(client);
    messageArea_->setObjectName(QStringLiteral("messageArea"));
    messageArea_->setAccessibleName(QStringLiteral("Μηνύματα"));
    messageArea_->setReadOnly(true);
    messageArea_->setFixedHeight(75);
    messageArea_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    messageArea_->setFocusPolicy(Qt::NoFocus);
    QFont memoFont = messageArea_->font();
    memoFont.setBold(true);
    memoFont.setPixelSize(16);
    messageArea_->setFont(memoFont);
    layout->addWidget(messageArea_);
    setCentralWidget(client);

    CreateMenu();
    CreateDialogs();
    CreateExerciseWindow();
    resize(496, 601);
    move(318, 180);
    // The workspace starts as the window first shows it: header, one line, cursor on its
    // address, the execution commands off.
    workspace_.executionEnabled = false;
    history_.Reset(workspace_);
    const QSettings settings(QSettings::UserScope, QStringLiteral("Zorvan"),
                             QStringLiteral("Zorvan"));
    for (const QString& path : settings.value(kRecentFilesKey).toStringList())
        recentFiles_.push_back(ui::ToStdString(path));
    ShowRecentFiles();
    RefreshFromWorkspace();
}

MainWindow::~MainWindow() = default;

void MainWindow::CreateMenu() {
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("mainMenu"));

    QMenu* fileMenu = AddMenu(bar, "fileMenu", QStringLiteral("&Αρχείο"));
    newAction_ = AddItem(fileMenu, "newAction", QStringLiteral("&Δημιουργία"),
                         QKeySequence(Qt::CTRL | Qt::Key_N));
    openAction_ = AddItem(fileMenu, "openAction", QStringLiteral("Ά&νοιγμα"),
                          QKeySequence(Qt::CTRL | Qt::Key_O));
    saveAction_ = AddItem(fileMenu, "saveAction", QStringLiteral("Αποθήκευ&ση"));
    quickSaveAction_ = AddItem(fileMenu, "quickSaveAction", QStringLiteral("Γρήγορη αποθήκευση"),
                               QKeySequence(Qt::CTRL | Qt::Key_S));
    printAction_ = AddItem(fileMenu, "printAction", QStringLiteral("&Εκτύπωση"));
    recentSeparator_ = fileMenu->addSeparator();
    for (std::size_t i = 0; i < app::kRecentFileCount; ++i) {
        const std::string name = "recentFileAction" + std::to_string(i + 1);
        QAction* action = AddItem(fileMenu, name.c_str(), QString(),
                                  QKeySequence(Qt::CTRL | Qt::Key(Qt::Key_1 + int(i))));
        connect(action, &QAction::triggered, this, [this, i] { OpenRecentFile(i); });
        recentFileActions_.push_back(action);
    }
    fileMenu->addSeparator();
    exitAction_ = AddItem(fileMenu, "exitAction", QStringLiteral("Έ&ξοδος"));

    QMenu* gridMenu = AddMenu(bar, "gridMenu", QStringLiteral("&Πλέγμα"));
    insertLineAction_ = AddItem(gridMenu, "insertLineAction", QStringLiteral("Ει&σαγωγή Γραμμής"),
                                QKeySequence(Qt::Key_Insert));
    insertLinesAction_ = AddItem(gridMenu, "insertLinesAction", QStringLiteral("Εισαγωγή Γραμμών"));
    deleteLineAction_ = AddItem(gridMenu, "deleteLineAction", QStringLiteral("Διαγραφή Γραμμής"),
                                QKeySequence(Qt::SHIFT | Qt::Key_Delete));
    clearGridAction_ =
        AddItem(gridMenu, "clearGridAction", QStringLiteral("&Καθαρισμός Πλέγματος"));
    gridMenu->addSeparator();
    undoAction_ = AddItem(gridMenu, "undoAction", QStringLiteral("Αναίρεση"),
                          QKeySequence(Qt::CTRL | Qt::Key_Z));
    redoAction_ = AddItem(gridMenu, "redoAction", QStringLiteral("Επανάληψη"),
                          QKeySequence(Qt::CTRL | Qt::Key_Y));
    redoAction_->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});

    QMenu* executionMenu = AddMenu(bar, "executionMenu", QStringLiteral("&Εκτέλεση"));
    assembleAction_ = AddItem(executionMenu, "assembleAction", QStringLiteral("&Συμβολομετάφραση"),
                              QKeySequence(Qt::Key_F8));
    runAction_ =
        AddItem(executionMenu, "runAction", QStringLiteral("Ε&κτέλεση"), QKeySequence(Qt::Key_F9));
    stepAction_ = AddItem(executionMenu, "stepAction", QStringLiteral("Β&ηματική Εκτέλεση"),
                          QKeySequence(Qt::Key_F10));
    breakpointAction_ = AddItem(executionMenu, "breakpointAction",
                                QStringLiteral("Σημείο Διακοπής"), QKeySequence(Qt::Key_F5));

    QMenu* viewMenu = AddMenu(bar, "viewMenu", QStringLiteral("&Εμφάνιση"));
    showMemoryAction_ = AddItem(viewMenu, "showMemoryAction", QStringLiteral("Εμ&φάνιση Μνήμης"),
                                QKeySequence(Qt::CTRL | Qt::Key_F));
    clearMemoryAction_ =
        AddItem(viewMenu, "clearMemoryAction", QStringLiteral("Καθαρισμός Μνήμης"));
    showRegistersAction_ =
        AddItem(viewMenu, "showRegistersAction", QStringLiteral("Εμφάνιση &Καταχωρητών"),
                QKeySequence(Qt::CTRL | Qt::Key_K));
    clearRegistersAction_ =
        AddItem(viewMenu, "clearRegistersAction", QStringLiteral("Καθαρισμός Καταχωρητών"));
    showConsoleAction_ =
        AddItem(viewMenu, "showConsoleAction", QStringLiteral("Εμφάνιση Κονσό&λας"));
    viewMenu->addSeparator();
    CreateSlipItems(viewMenu);

    QMenu* helpMenu = AddMenu(bar, "helpMenu", QStringLiteral("Βοήθεια"));
    helpAction_ = AddItem(helpMenu, "helpAction", QStringLiteral("Βοήθεια για τον 6502"),
                          QKeySequence(Qt::Key_F1));
    checkExerciseAction_ =
        AddItem(helpMenu, "checkExerciseAction", QStringLiteral("Έλεγχος άσκησης…"));
    aboutAction_ = AddItem(helpMenu, "aboutAction", QStringLiteral("Περί της Εφαρμογής..."));

    const std::pair<QAction*, void (MainWindow::*)()> commands[] = {
        {newAction_, &MainWindow::New},
        {openAction_, &MainWindow::Open},
        {saveAction_, &MainWindow::Save},
        {quickSaveAction_, &MainWindow::QuickSave},
        {printAction_, &MainWindow::Print},
        {exitAction_, &MainWindow::Exit},
        {insertLineAction_, &MainWindow::InsertLine},
        {insertLinesAction_, &MainWindow::InsertLines},
        {deleteLineAction_, &MainWindow::DeleteLine},
        {clearGridAction_, &MainWindow::ClearGrid},
        {undoAction_, &MainWindow::Undo},
        {redoAction_, &MainWindow::Redo},
        {assembleAction_, &MainWindow::Assemble},
        {runAction_, &MainWindow::Run},
        {stepAction_, &MainWindow::Step},
        {breakpointAction_, &MainWindow::ToggleBreakpoint},
        {showMemoryAction_, &MainWindow::ShowMemory},
        {clearMemoryAction_, &MainWindow::ClearMemory},
        {showRegistersAction_, &MainWindow::ShowRegisters},
        {clearRegistersAction_, &MainWindow::ClearRegisters},
        {showConsoleAction_, &MainWindow::ShowConsole},
        {helpAction_, &MainWindow::OpenHelp},
        {checkExerciseAction_, &MainWindow::CheckExercise},
        {aboutAction_, &MainWindow::ShowAbout},
    };
    for (const auto& [action, command] : commands) {
        connect(action, &QAction::triggered, this, command);
    }
}

void MainWindow::CreateSlipItems(QMenu* menu) {
    // In the order of cpu::SlipKind.
    const struct {
        const char* name;
        QString caption;
    } items[cpu::kSlipKindCount] = {
        {"nestedJsrCheckAction", QStringLiteral("Προσοχή: JSR μέσα σε υπορουτίνα")},
        {"rtsWithoutJsrCheckAction", QStringLiteral("Προσοχή: RTS χωρίς JSR")},
        {"leftProgramCheckAction", QStringLiteral("Προσοχή: PC έξω από το πρόγραμμα")},
        {"unwrittenReadCheckAction", QStringLiteral("Προσοχή: ανάγνωση κελιού που δεν γράφτηκε")},
        {"stackMovedCheckAction", QStringLiteral("Προσοχή: SP στο RTS άλλος από του JSR")},
    };
    const QSettings settings(QSettings::UserScope, QStringLiteral("Zorvan"),
                             QStringLiteral("Zorvan"));
    for (std::size_t kind = 0; kind < std::size(items); ++kind) {
        QAction* action = AddItem(menu, items[kind].name, items[kind].caption);
        action->setCheckable(true);
        const QString key = QStringLiteral("checks/") + QString::fromLatin1(items[kind].name);
        workspace_.slips.on[kind] = settings.value(key, true).toBool();
        action->setChecked(workspace_.slips.on[kind]);
        connect(action, &QAction::toggled, this, [this, kind, key](bool on) {
            workspace_.slips.on[kind] = on;
            QSettings(QSettings::UserScope, QStringLiteral("Zorvan"), QStringLiteral("Zorvan"))
                .setValue(key, on);
        });
    }
}

void MainWindow::CreateDialogs() {
    openDialog_ = new QFileDialog(this, QStringLiteral("Άνοιγμα Αρχείου Προσομοιωτή"));
    openDialog_->setObjectName(QStringLiteral("openDialog"));
    GreekFileDialogLabels(openDialog_, QStringLiteral("Άνοιγμα"));
    openDialog_->setAcceptMode(QFileDialog::AcceptOpen);
    openDialog_->setFileMode(QFileDialog::ExistingFile);
    openDialog_->setDefaultSuffix(QStringLiteral("zrv"));  // "count" opens count.zrv

    saveDialog_ = new QFileDialog(this, QStringLiteral("Αποθήκευση αρχείου προσομοιωτή"));
    saveDialog_->setObjectName(QStringLiteral("saveDialog"));
    GreekFileDialogLabels(saveDialog_, QStringLiteral("Αποθήκευση"));
    saveDialog_->setAcceptMode(QFileDialog::AcceptSave);
    saveDialog_->setFileMode(QFileDialog::AnyFile);
    // The question before replacing is ours, asked after the extension is added.
    saveDialog_->setOption(QFileDialog::DontConfirmOverwrite);
    saveDialog_->selectFile(QStringLiteral("Zorvan1"));
}

void MainWindow::CreateExerciseWindow() {
    exerciseWindow_ = new ExerciseWindow(this);
    AddHelpKey(exerciseWindow_, QStringLiteral("teacher.html#check"));
    connect(exerciseWindow_, &ExerciseWindow::cellRequested, this, [this](int address) {
        windows_.memoryWindow->ShowCell(address);
        ShowWindow(windows_.memoryWindow);
    });
    connect(exerciseWindow_, &ExerciseWindow::lineRequested, this, [this](int column, int row) {
        workspace_.grid.SetCurrent(column, row);
        RefreshFromWorkspace();
        ShowWindow(this);
    });
}

void MainWindow::RefreshFromWorkspace() {
    setWindowTitle(ui::ToQString(workspace_.caption));
    assembleAction_->setEnabled(workspace_.executionEnabled);
    runAction_->setEnabled(workspace_.executionEnabled);
    stepAction_->setEnabled(workspace_.executionEnabled);
    ShowMessageArea();
    ShowUndoState();
    programGrid_->SyncFromGrid();
    NoteProgramState();
}

QString MainWindow::RecoveryFolderPath() {
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
           QStringLiteral("/recovery");
}

void MainWindow::NoteProgramState() {
    recovery_.NoteOpenFile(workspace_.filePath);
    if (workspace_.changed) {
        // Not restarted by each key: typing on does not put the copy off.
        if (!autosaveTimer_->isActive()) autosaveTimer_->start();
        return;
    }
    autosaveTimer_->stop();
    if (copyOnDisk_) {
        recovery_.Discard();
        copyOnDisk_ = false;
        copiedBytes_.clear();
    }
}

void MainWindow::WriteRecoveryCopy() {
    autosaveTimer_->stop();
    if (!workspace_.changed || workspace_.grid.ContentCount() == 0) {
        // Nothing the exit question would offer to keep.
        if (copyOnDisk_) recovery_.Discard();
        copyOnDisk_ = false;
        copiedBytes_.clear();
        return;
    }
    std::string bytes = app::WriteProgramText(workspace_.grid);
    if (copyOnDisk_ && bytes == copiedBytes_) return;
    // A copy that cannot be written is tried again after the next change; the student's own
    // file is never touched by it. Half written, it is still deleted once nothing is unsaved.
    copyOnDisk_ = true;
    copiedBytes_.clear();
    if (!recovery_.Write(workspace_, std::time(nullptr))) copiedBytes_ = std::move(bytes);
}

std::optional<bool> MainWindow::ExecuteRecoveryOffer(const QString& offer) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("Zorvan"), offer, QMessageBox::NoButton,
                    this);
    box.setObjectName(QStringLiteral("recoveryOffer"));
    QPushButton* recover = box.addButton(QStringLiteral("Ανάκτηση"), QMessageBox::AcceptRole);
    QPushButton* discard = box.addButton(QStringLiteral("Απόρριψη"), QMessageBox::DestructiveRole);
    box.setDefaultButton(recover);
    box.exec();
    if (box.clickedButton() == recover) return true;
    if (box.clickedButton() == discard) return false;
    return std::nullopt;
}

bool MainWindow::OfferRecovery() {
    for (const app::RecoveryCopy& copy : recovery_.Leftovers(IsRunning)) {
        const std::time_t takenAt = std::time_t(copy.savedAt);
        std::tm local{};
        localtime_r(&takenAt, &local);
        const std::optional<bool> answer =
            askRecovery(ui::ToQString(app::RecoveryOfferText(copy, local)));
        if (!answer) continue;
        if (!*answer) {
            recovery_.Delete(copy);
            continue;
        }
        bool recovered = false;
        RunCommand([&] {
            if (const auto failure = recovery_.Recover(copy, workspace_)) {
                ShowWarning(failure->message);
                return;
            }
            recovered = true;
        });
        if (!recovered) continue;
        copyOnDisk_ = true;
        copiedBytes_ = app::WriteProgramText(workspace_.grid);
        return true;
    }
    return false;
}

void MainWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    // Never inside another command or its boxes: the window comes to the front as they close.
    if (event->type() != QEvent::ActivationChange || !isActiveWindow() || commandDepth_ > 0 ||
        QApplication::activeModalWidget() != nullptr) {
        return;
    }
    RunCommand([this] { flows_.CheckOwnFile(); });
}

void MainWindow::AfterFileCommand() {
    NoteRecentFile();
    const std::string& path = workspace_.filePath;
    if (path.empty() || warnedOpenElsewhere_.contains(path)) return;
    if (!recovery_.OpenElsewhere(path, IsRunning)) return;
    warnedOpenElsewhere_.insert(path);
    ShowWarning("Το αρχείο «" + path +
                "» είναι ανοιχτό και σε άλλο παράθυρο του Zorvan.\nΌ,τι αποθηκεύσει το ένα, "
                "το άλλο θα το βρει αλλαγμένο.");
}

void MainWindow::ShowUndoState() {
    undoAction_->setEnabled(history_.CanUndo());
    redoAction_->setEnabled(history_.CanRedo());
}

void MainWindow::SetProgramGridEnabled(bool enabled) {
    programGrid_->setEnabled(enabled);
}

void MainWindow::ShowMessageArea() {
    const grid::MessageArea& message = workspace_.message;
    messageHeading_->setEnabled(message.headingEnabled);
    messageArea_->setEnabled(message.textEnabled);
    messageArea_->setVisible(true);
    QPalette palette = messageArea_->palette();
    const QColor colour =
        message.tone == grid::Tone::kNotice ? QColor(0x00, 0x00, 0xFF) : QColor(0xFF, 0x00, 0x00);
    palette.setColor(QPalette::Active, QPalette::Text, colour);
    palette.setColor(QPalette::Inactive, QPalette::Text, colour);
    messageArea_->setPalette(palette);
    const QString text = ui::ToQString(message.text);
    if (messageArea_->toPlainText() != text) messageArea_->setPlainText(text);
}

bool MainWindow::RunCommand(const std::function<void()>& work) {
    return RunRecorded(work, true);
}

bool MainWindow::RunRecorded(const std::function<void()>& work, bool recordWhenDone) {
    history_.NoteCursor(workspace_);
    try {
        ++commandDepth_;
        work();
        --commandDepth_;
    } catch (...) {
        --commandDepth_;
        // What was done stays done, and can be undone.
        history_.Record(workspace_);
        RefreshFromWorkspace();
        ui::ShowCurrentException(this);
        RefreshFromWorkspace();
        return false;
    }
    if (recordWhenDone) history_.Record(workspace_);
    RefreshFromWorkspace();
    return true;
}

void MainWindow::HandleGridKey(QKeyEvent* event) {
    const app::GridKey key = ui::ToGridKey(*event);
    const char32_t character = ui::TypedCharacter(*event);
    const bool cellCharacter = character != 0 && text::IsInCp1253(character);
    const int columnAtKey = workspace_.grid.Col();
    const grid::CellPosition typedIn{columnAtKey, workspace_.grid.Row()};
    // Keys typed into one cell are one undo step, up to the one that commits it.
    const bool commits = key.code == app::kKeyEnter || key.code == app::kKeyTab;

    const bool finished = RunRecorded(
        [&] {
            app::GridKeyDown(workspace_, key);
            app::MoveByGridKey(workspace_, key);
            if (cellCharacter) app::GridKeyPress(workspace_, character);
        },
        false);
    if (!finished) return;
    if (!ui::IsGridMovementKey(key) && EditorTakes(key, character, columnAtKey)) {
        handlingKey_ = true;
        programGrid_->Editor()->TypeIntoEditor(event);
        handlingKey_ = false;
    }
    app::NoteAddressAfterKey(workspace_);
    history_.Record(workspace_, typedIn, commits);
    ShowMessageArea();
    ShowUndoState();
    NoteProgramState();
}

bool MainWindow::EditorTakes(const app::GridKey& key, char32_t character, int columnAtKey) {
    // What the cell editor does with the key once the grid has had it.
    switch (key.code) {
        case app::kKeyEnter:
        case app::kKeyEscape:
        case app::kKeyPageUp:
        case app::kKeyPageDown:
            return false;
        case app::kKeySpace:
            // In a checked cell it committed the cell.
            return columnAtKey < grid::kAddressColumn || columnAtKey > grid::kSecondParameterColumn;
        default:
            break;
    }
    return character == 0 || character < 0x20 || text::IsInCp1253(character);
}

void MainWindow::ShowWindow(QWidget* window) {
    window->show();
    window->raise();
    window->activateWindow();
}

void MainWindow::NoteRecentFile() {
    if (workspace_.filePath.empty()) return;
    // A name given on the command line may be relative to a folder the next start is not in.
    const std::string path =
        ui::ToStdString(QFileInfo(ui::ToQString(workspace_.filePath)).absoluteFilePath());
    if (!recentFiles_.empty() && recentFiles_.front() == path) return;
    recentFiles_ = app::WithRecentFile(std::move(recentFiles_), path);
    QStringList paths;
    for (const std::string& recent : recentFiles_) paths << ui::ToQString(recent);
    QSettings settings(QSettings::UserScope, QStringLiteral("Zorvan"), QStringLiteral("Zorvan"));
    settings.setValue(kRecentFilesKey, paths);
    ShowRecentFiles();
}

void MainWindow::ShowRecentFiles() {
    recentFiles_ = app::WithRecentFile(std::move(recentFiles_), {});
    recentSeparator_->setVisible(!recentFiles_.empty());
    for (std::size_t i = 0; i < recentFileActions_.size(); ++i) {
        QAction* action = recentFileActions_[i];
        action->setVisible(i < recentFiles_.size());
        action->setEnabled(i < recentFiles_.size());
        if (i < recentFiles_.size())
            action->setText(ui::ToQString(app::RecentFileItemText(i, recentFiles_[i])));
    }
}

void MainWindow::OpenRecentFile(std::size_t index) {
    if (index >= recentFiles_.size()) return;
    const std::string path = recentFiles_[index];
    RunCommand([&] { flows_.OpenRecentFile(path); });
    AfterFileCommand();
}

void MainWindow::New() {
    RunCommand([this] { flows_.New(); });
}

void MainWindow::Open() {
    RunCommand([this] { flows_.Open(); });
    AfterFileCommand();
}

void MainWindow::OpenNamedFile(const QString& path) {
    RunCommand([&] {
        // Into an untouched grid without a question; a recovered program is asked about first.
        if (workspace_.changed) {
            flows_.OpenRecentFile(path.toStdString());
        } else {
            flows_.OpenNamedFile(path.toStdString());
        }
    });
    AfterFileCommand();
}

void MainWindow::Save() {
    RunCommand([this] { flows_.Save(); });
    AfterFileCommand();
}

void MainWindow::QuickSave() {
    RunCommand([this] { flows_.QuickSave(); });
    AfterFileCommand();
}

void MainWindow::Print() {
    ui::ProgramPrinter::Of(this).Print(workspace_.grid, workspace_.openDialogFileName);
}

void MainWindow::Exit() {
    bool exit = false;
    RunCommand([&] { exit = flows_.Exit(); });
    if (!exit) return;
    windows_.aboutDialog->close();
    windows_.insertLinesDialog->close();
    windows_.startAddressDialog->close();
    windows_.memoryWindow->close();
    windows_.registerWindow->close();
    windows_.stepWindow->close();
    exitConfirmed_ = true;
    close();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!exitConfirmed_) {
        // The close box asks the same question as Exit: unsaved work is never dropped unasked.
        bool exit = false;
        RunCommand([&] { exit = flows_.Exit(); });
        if (!exit) {
            event->ignore();
            return;
        }
    }
    exitConfirmed_ = false;
    autosaveTimer_->stop();
    recovery_.Close();
    copyOnDisk_ = false;
    for (QWidget* window : std::initializer_list<QWidget*>{
             windows_.aboutDialog, windows_.insertLinesDialog, windows_.startAddressDialog,
             windows_.memoryWindow, windows_.registerWindow, windows_.stepWindow,
             windows_.consoleWindow}) {
        if (window != nullptr) window->close();
    }
    event->accept();
}

void MainWindow::InsertLine() {
    RunCommand([this] { app::InsertLine(workspace_); });
}

void MainWindow::InsertLines() {
    if (windows_.insertLinesDialog->exec() != InsertLinesDialog::kOk) return;
    RunCommand([this] { app::InsertLines(workspace_, windows_.insertLinesDialog->CountText()); });
}

void MainWindow::DeleteLine() {
    RunCommand([this] {
        if (app::DeleteLine(workspace_) == app::DeleteLineResult::kEmptiedOnlyRowAndBeep) {
            QApplication::beep();
        }
    });
}

void MainWindow::ClearGrid() {
    RunCommand([this] { app::ClearGridCommand(workspace_); });
}

void MainWindow::Undo() {
    TakeStep(true);
}

void MainWindow::Redo() {
    TakeStep(false);
}

void MainWindow::TakeStep(bool undo) {
    // While stepping the grid stays as the step window shows it.
    if (!programGrid_->isEnabled()) return;
    app::UndoOrRedo(history_, workspace_, undo);
    RefreshFromWorkspace();
}

void MainWindow::Assemble() {
    int lineInProgress = 0;
    const bool finished = RunCommand([&] {
        workspace_.EndHistory(std::string(app::kEndedByAssemble));
        const assembler::AssemblyResult result =
            assembler::Assemble(workspace_.grid, workspace_.machine, &lineInProgress);
        const QString text = ui::ToQString(result.text);
        switch (result.kind) {
            case assembler::AssemblyResult::Kind::kSummary:
                if (!result.notice.empty()) {
                    workspace_.ShowMessage(result.notice, workspace_.grid.Col(),
                                           grid::Tone::kNotice);
                    ShowMessageArea();
                }
                if (ui::AskYesNo(this, text, QMessageBox::Information)) {
                    ShowWindow(windows_.memoryWindow);
                }
                return;
            case assembler::AssemblyResult::Kind::kWarning:
                ui::ShowMessage(this, text, QMessageBox::Warning);
                break;
            case assembler::AssemblyResult::Kind::kError:
                ui::ShowMessage(this, text, QMessageBox::Critical);
                break;
        }
        // The student lands on the line at fault, however far down it is.
        workspace_.grid.SetCurrent(result.column, result.row);
    });
    if (!finished && lineInProgress > 0) {
        assembler::GoToCellAtFault(workspace_.grid, lineInProgress);
        RefreshFromWorkspace();
    }
}

void MainWindow::Run() {
    RunCommand([this] { windows_.startAddressDialog->RunProgram(); });
}

void MainWindow::Step() {
    RunCommand([this] {
        ClearRegisters();
        ShowWindow(windows_.stepWindow);
    });
}

void MainWindow::ShowMemory() {
    ShowWindow(windows_.memoryWindow);
}

void MainWindow::ToggleBreakpoint() {
    RunCommand([this] { app::ToggleBreakpoint(workspace_); });
}

void MainWindow::ClearMemory() {
    workspace_.EndHistory(std::string(app::kEndedByClearMemory));
    workspace_.ClearMemory();
}

void MainWindow::ShowRegisters() {
    ShowWindow(windows_.registerWindow);
}

void MainWindow::ClearRegisters() {
    workspace_.EndHistory(std::string(app::kEndedByClearRegisters));
    windows_.registerWindow->ClearRegisters();
}

void MainWindow::ShowConsole() {
    ShowWindow(windows_.consoleWindow);
}

void MainWindow::OpenHelp() {
    OpenHelpAt({});
}

void MainWindow::AddHelpKey(QWidget* window, const QString& page, bool modal) {
    auto* action = new QAction(window);
    action->setObjectName(QStringLiteral("helpKeyAction"));
    action->setShortcut(QKeySequence(Qt::Key_F1));
    window->addAction(action);
    connect(action, &QAction::triggered, this, [this, window, page, modal] {
        if (modal) {
            HelpWindow::Open(window, page);
        } else {
            OpenHelpAt(page);
        }
    });
}

void MainWindow::OpenHelpAt(const QString& page) {
    HelpWindow* help = HelpWindow::Open(this, page);
    if (wiredHelp_ == help) return;
    // The pages' links to open an example or check an exercise come here, once per window.
    wiredHelp_ = help;
    connect(help, &HelpWindow::ExampleAsked, this,
            [this](const QByteArray& bytes) { OpenExample(bytes.toStdString()); });
    connect(help, &HelpWindow::ExerciseCheckAsked, this,
            [this](const QString& name, const QByteArray& text) {
                CheckExerciseWith(name, text.toStdString());
            });
}

void MainWindow::CheckExercise() {
    const std::optional<std::string> path = chooseExpectationFile();
    if (!path) return;
    app::FileStore files;
    const auto read = files.ReadAll(*path);
    if (const auto* failure = std::get_if<app::FileFailure>(&read)) {
        ui::ShowMessage(this, ui::ToQString(failure->message), QMessageBox::Warning);
        return;
    }
    CheckExerciseWith(QFileInfo(ui::ToQString(*path)).fileName(), std::get<std::string>(read));
}

void MainWindow::CheckExerciseWith(const QString& name, const std::string& expectationText) {
    // The grader runs each case on a machine of its own: the student's stays as it is.
    const app::ExerciseResult result =
        app::CheckExercise(workspace_.grid, ui::ToStdString(name), expectationText);
    exerciseWindow_->ShowResult(result, name);
    ShowWindow(exerciseWindow_);
}

void MainWindow::OpenExample(const std::string& programBytes) {
    if (!programGrid_->isEnabled()) return;
    RunCommand([&] { flows_.OpenExample(programBytes); });
    activateWindow();
    raise();
}

void MainWindow::ShowAbout() {
    windows_.aboutDialog->exec();
}

app::SaveAnswer MainWindow::AskYesNo(std::string_view question) {
    switch (ui::AskYesNoOrCancel(this, ui::ToQString(question), QMessageBox::Warning)) {
        case 1:
            return app::SaveAnswer::kYes;
        case 0:
            return app::SaveAnswer::kNo;
        default:
            return app::SaveAnswer::kCancel;
    }
}

std::optional<std::string> MainWindow::ChooseOpenFile() {
    return chooseOpenFile();
}

std::optional<std::string> MainWindow::ChooseSaveFile() {
    return chooseSaveFile();
}

void MainWindow::ShowWarning(std::string_view text) {
    ui::ShowMessage(this, ui::ToQString(text), QMessageBox::Warning);
}

bool MainWindow::AskSaveAnyway(std::string_view text) {
    return ui::AskYesNo(this, ui::ToQString(text), QMessageBox::Warning);
}

std::optional<std::string> MainWindow::ExecuteExpectationDialog() {
    QFileDialog dialog(this, QStringLiteral("Αρχείο ελέγχου άσκησης"));
    dialog.setObjectName(QStringLiteral("expectationDialog"));
    GreekFileDialogLabels(&dialog, QStringLiteral("Άνοιγμα"));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(
        {QStringLiteral("Αρχεία ελέγχου (*.expect)"), QStringLiteral("Όλα τα αρχεία (*)")});
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return ui::ToStdString(dialog.selectedFiles().front());
}

std::optional<std::string> MainWindow::ExecuteOpenDialog() {
    if (openDialog_->exec() != QDialog::Accepted || openDialog_->selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    const QString path = openDialog_->selectedFiles().front();
    openDialog_->selectFile(path);
    return ui::ToStdString(path);
}

std::optional<std::string> MainWindow::ExecuteSaveDialog() {
    for (;;) {
        if (saveDialog_->exec() != QDialog::Accepted || saveDialog_->selectedFiles().isEmpty()) {
            return std::nullopt;
        }
        QString path = saveDialog_->selectedFiles().front();
        if (QFileInfo(path).suffix().isEmpty()) {
            path += saveDialog_->selectedNameFilter() == kTextFilter ? QStringLiteral(".txt")
                                                                     : QStringLiteral(".zrv");
        }
        saveDialog_->selectFile(path);
        if (QFileInfo::exists(path) &&
            !ui::AskYesNo(this, QStringLiteral("Το αρχείο «%1» υπάρχει ήδη.\nΘέλετε να το "
                                               "αντικαταστήσετε;")
                                    .arg(QDir::toNativeSeparators(path)))) {
            continue;
        }
        return ui::ToStdString(path);
    }
}

}  // namespace zorvan::windows
