// The main window on the real widgets: keys typed into the grid's cell editor, menu shortcuts,
// the boxes the commands show, the save-first questions, the file choosers, printing (the
// listing read back from a PDF with pdftotext, from poppler-utils), the exercise check, the help
// and the About box.
//
// The help window's own controls: paging through every page in the contents' order, search
// across pages, larger and smaller text by keys and by the wheel, and the pages' links that open
// an example in the main window. And the help's claims about runs, played on the real windows:
// a message that the window overwrites after the core wrote it is caught here.
//
// The Run command, the step window, the debugger and the console on the real widgets, driven
// through the main window's menu: the start-address dialog and the stop window, breakpoints from
// F5 and the grid's margin, a run that stops at one, the step window's buttons and keys, and the
// console as a running program uses it. And the memory and register windows: keys reaching the
// dump's cells, the fields storing into the machine, their warnings, and refilling when a window
// comes to the front.

#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSettings>
#include <QSignalSpy>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QTreeWidget>
#include <QWheelEvent>

#include "../core/help_claim_reader.h"
#include "../core/temp_folder.h"
#include "app/headless_console.h"
#include "app/program_file.h"
#include "asm/assembly_pass.h"
#include "cpu/registers.h"
#include "cpu/run_loop.h"
#include "find_child.h"
#include "modal_driver.h"
#include "ui/application.h"
#include "ui/cell_editor.h"
#include "ui/change_highlight.h"
#include "ui/program_grid_view.h"
#include "ui/program_printer.h"
#include "ui/qt_text.h"
#include "windows/about_dialog.h"
#include "windows/application_windows.h"
#include "windows/console_window.h"
#include "windows/exercise_window.h"
#include "windows/help_window.h"
#include "windows/machine_host_adapter.h"
#include "windows/main_window.h"
#include "windows/memory_grid.h"
#include "windows/memory_window.h"
#include "windows/register_window.h"
#include "windows/run_stop_window.h"
#include "windows/start_address_dialog.h"
#include "windows/step_window.h"

namespace {

// Each character as one key on the focused widget: '\r' Enter, '\t' Tab, the arrows ← ↑ ↓ their
// keys, ⇱ Home and ⌦ Delete.
void TypeKeys(const QString& keys) {
    static const QHash<QChar, Qt::Key> named{{'\r', Qt::Key_Return}, {'\t', Qt::Key_Tab},
                                             {u'←', Qt::Key_Left},   {u'↑', Qt::Key_Up},
                                             {u'↓', Qt::Key_Down},   {u'⇱', Qt::Key_Home},
                                             {u'⌦', Qt::Key_Delete}, {u'⌫', Qt::Key_Backspace}};
    for (QChar c : keys)
        QTest::sendKeyEvent(QTest::Click, QApplication::focusWidget(),
                            named.value(c, Qt::Key(c.toUpper().unicode())),
                            named.contains(c) ? QString() : QString(c), Qt::NoModifier);
}

// One data row per table entry, named after it.
void Rows(const auto& table) {
    QTest::addColumn<int>("i");
    for (std::size_t i = 0; i < std::size(table); ++i) QTest::newRow(table[i].name) << int(i);
}

using zorvan::testing::PutFile;
using zorvan::windows::HelpWindow;

// The cells as "column,row=text;...", then where the cursor is and what the message area says
// (its colour first). A line whose address is rubbed out with Delete and mistyped takes keys as
// any other, without a box, and the address, corrected with Backspace and digits, reads again
// after Enter.
// clang-format off
const struct { const char *name, *keys, *cells; int column, row; const char* message; } kTyping[] = {
    {"an operand is asked for", "0200\rLDA\r", "2,1=LDA", 3, 1, "#0000ff Δώστε την πρώτη παράμετρο."},
    {"Space commits like Enter", "0200 LDA #05 ", "1,1=0200;2,1=LDA;3,1=#05;1,2=0202", 2, 2, ""},
    {"Space is typed in a label", "←LO OP\t0200\r", "0,1=LO OP;1,1=0200", 2, 1, "#ff0000 '' Εντολή Ανύπαρκτη."},
    {"Enter in the last comment appends a row", "0200\rNOP\r←←\t\t\t\t\tτέλος ok\r", "5,2=τέλος ok;1,2=0201;2,3=", 2, 3, "#ff0000 '' Εντολή Ανύπαρκτη."},
    {"a character outside the code page is not typed", "02Ж00", "1,1=0200", 1, 1, ""},
    {"a corrected address", "0200\rNOP\r←↑⇱⌦⌦⌦⌦02G1⌫⌫01\r", "1,1=0201;1,2=0202", 2, 2, ""}};
// clang-format on

// The rows the grid has after the command, the row "BRK" is then on (0: deleted), and whether
// the memory window is up (the assembly summary's Yes shows it).
// clang-format off
const struct { const char *name, *item; QKeyCombination key; int rows, rowOfBrk; bool memory; } kShortcuts[] = {
    {"Ins", "insertLineAction", Qt::Key_Insert, 4, 3, false},
    {"Shift+Del", "deleteLineAction", Qt::SHIFT | Qt::Key_Delete, 2, 0, false},
    {"F8", "assembleAction", Qt::Key_F8, 3, 2, true},
    {"Ctrl+K", "showRegistersAction", Qt::CTRL | Qt::Key_K, 3, 2, false}};

// clang-format on

constexpr const char* kNewQuestion = "Το πλέγμα έχει αλλάξει! Θέλετε να αποθηκεύσετε;";
constexpr const char* kOpenQuestion = "Θέλετε να αποθηκεύσετε πρώτα\nτο αρχείο;";
constexpr const char* kCloseQuestion = "Δεν έχει γινει αποθήκευση.\nΘέλετε να αποθηκεύσετε πρώτα;";

// The command (n New, o Open, x the close box), the keys typed first, the answer ("Esc" the
// Escape key, "x" the question's close box), the boxes and choosers that come up, and whether
// the window closes.
// clang-format off
const struct { const char* name; char command; const char *keys, *answer; QString texts; bool closes; } kQuestions[] = {
    {"close untouched", 'x', "", "", "", true},
    {"close after No", 'x', "0200", "Όχι", kCloseQuestion, true},
    {"close after Yes, save cancelled", 'x', "0200\rNOP\r", "Ναι", kCloseQuestion + QString("|<save>"), false},
    {"Escape on Open", 'o', "0200\rNOP\r", "Esc", kOpenQuestion, false},
    {"close box on New", 'n', "0200\rNOP\r", "x", kNewQuestion, false}};
// clang-format on

// Row r of a program whose every cell says which row it belongs to, in column order.
QStringList RowOf(int r) {
    const QString n = QString::number(r);
    return {"Λ" + n, QString::number(0x0200 + r, 16), "LDA", n + ",", "X", "σχόλιο " + n};
}

// The programs' rows as their files hold them ("_" an empty cell); the last row holds the next
// address alone, as typing leaves it.
// 0200 LDX #03 / 0202 DEX / 0203 BNE 0202 / 0205 LDA #41.
constexpr const char* kLoop =
    "_ 0200 LDX #03 _ _ _ 0202 DEX _ _ _ _ 0203 BNE 0202 _ _ _ 0205 LDA #41 _ _ _ 0207 _ _ _ _";

// A subroutine first, then 0202 LDX #02 / 0204 JSR 0200 / 0207 DEX / 0208 BNE 0204 /
// 020A LDA #41 / 020C JSR FFFF (the console shows A) / 020F.
constexpr const char* kCalls =
    "_ 0200 INY _ _ _ _ 0201 RTS _ _ _ _ 0202 LDX #02 _ _ _ 0204 JSR 0200 _ _ _ "
    "0207 DEX _ _ _ _ 0208 BNE 0204 _ _ _ 020A LDA #41 _ _ _ 020C JSR FFFF _ _ _ 020F _ _ _ _";

// Counts the paint events that a widget receives.
class PaintCounter : public QObject {
  public:
    PaintCounter(QWidget* widget, int* count) : count_(count) { widget->installEventFilter(this); }

  private:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++*count_;
        return false;
    }
    int* count_;
};

// The dump's cell typed into, the key that leaves it, the byte then at the address, the warning.
// Enter and Down store before the cursor moves; Tab does not store; a text that is not
// hexadecimal is warned about and stored as 00, over the 3C stored before.
// clang-format off
const struct { int column, row; const char* typed; Qt::Key key; int address, stored; QString warning; } kCells[] = {
    {1, 1, "3c", Qt::Key_Return, 0x0200, 0x3C, ""},
    {5, 3, "41", Qt::Key_Down, 0x0224, 0x41, ""},
    {2, 2, "77", Qt::Key_Tab, 0x0211, 0, ""},
    {1, 1, "XY", Qt::Key_Return, 0x0200, 0, "Το 'XY' δεν είναι δεκαεξαδικός αριθμός"}};

// A register field's entry and the warning it brings when Tab leaves it (field 6 is Z);
// the wrong entry is then typed over.
const struct { int field; QString typed, warning; } kRegisters[] = {
    {8, "A", "Οχι λιγότερα από δύο δεκαεξαδικά ψηφία."},
    {8, "2a", ""},
    {6, "1", ""}};
// clang-format on

// Types the text into the widget (the dump's first character opens its editor, which takes the
// rest), then the key, with a warning box, if one comes, answered; the window is active again
// after it, as a window manager leaves it.
QString TypeAndPress(QWidget* widget, const QString& text, Qt::Key key) {
    widget->setFocus();
    if (auto* field = qobject_cast<QLineEdit*>(widget)) field->clear();
    QTest::keyClicks(widget, text.left(1));
    QTest::keyClicks(QApplication::focusWidget(), text.mid(1));
    QStringList warnings;
    ModalDriver driver({ModalDriver::Answer(&warnings)});
    QTest::keyClick(QApplication::focusWidget(), key);
    ShowActive(widget->window());
    return warnings.join('|');
}

}  // namespace

class WindowsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<zorvan::windows::ApplicationWindows> windows_;
    zorvan::windows::MainWindow* form() const { return windows_->mainWindow.get(); }
    zorvan::ui::ProgramGridView* grid() const {
        return Child<zorvan::ui::ProgramGridView>(form(), "programGrid");
    }
    zorvan::grid::Workspace& workspace() const { return windows_->workspace; }
    zorvan::ui::CellEditor* editor() const { return grid()->Editor(); }
    QString cell(int c, int r) const { return QString::fromStdString(workspace().grid.Cell(c, r)); }
    QString message() const { return ShownMessage(form()); }

    void SaveTo(const QString& path) {
        form()->chooseSaveFile = [path] { return std::optional(path.toStdString()); };
    }
    // The application as a fresh start finds it, with the grid's editor focused.
    void Start() {
        windows_ = std::make_unique<zorvan::windows::ApplicationWindows>();
        ShowActive(form());
        editor()->setFocus();
        QTRY_VERIFY(editor()->hasFocus());
    }

    zorvan::windows::StepWindow* step() const { return windows_->stepWindow; }
    zorvan::cpu::Machine& machine() const { return workspace().machine; }
    zorvan::windows::MemoryWindow* memory() const { return windows_->memoryWindow; }
    QLineEdit* reg(int field) const { return RegisterFields(windows_->registerWindow)[field]; }
    int gridRow() const { return grid()->currentIndex().row() + 1; }
    // Columns 1 to 4 of the step window's row, the empty ones left out.
    QString stepRow(int row) const {
        const auto cell = [&](int column) {
            return Child<QTableWidget>(step(), "stepRows")->item(row, column)->text();
        };
        return QStringList{cell(1), cell(2), cell(3), cell(4)}.join(' ').simplified();
    }
    QPushButton* stepButton(const char* name) const { return Child<QPushButton>(step(), name); }
    void Click(const char* stepButtonName) {
        QTest::mouseClick(stepButton(stepButtonName), Qt::LeftButton);
    }
    QString sentence() const { return Child<QLabel>(step(), "sentenceLabel")->text(); }
    QPlainTextEdit* consoleOutput() const {
        return Child<QPlainTextEdit>(windows_->consoleWindow, "outputArea");
    }
    QLineEdit* consoleField() const {
        return Child<QLineEdit>(windows_->consoleWindow, "accumulatorEdit");
    }
    bool highlighted(int field) const {
        return reg(field)->palette().color(QPalette::Base) == zorvan::ui::kChangeHighlight;
    }

    void Load(const char* rows) {
        zorvan::app::PlaceProgramRows(workspace().grid, zorvan::app::ReadProgramText(rows));
        QVERIFY(zorvan::assembler::Assemble(workspace().grid, workspace().machine).lines > 0);
        workspace().executionEnabled = true;
        form()->RefreshFromWorkspace();
    }
    // Clicks the marker margin beside a line.
    void ClickMargin(int row) {
        QHeaderView* margin = grid()->verticalHeader();
        const int y = margin->sectionViewportPosition(row - 1) + margin->sectionSize(row - 1) / 2;
        QTest::mouseClick(margin->viewport(), Qt::LeftButton, {}, QPoint(margin->width() / 2, y));
    }
    // Triggers the command, each modal window it brings up answered in turn.
    void Trigger(const char* command, std::vector<ModalDriver::Action> actions) {
        ModalDriver driver(std::move(actions));
        Child<QAction>(form(), command)->trigger();
        QVERIFY(driver.done());
    }
    void Run(std::vector<ModalDriver::Action> actions) { Trigger("runAction", std::move(actions)); }
    void StartStepping(const QString& address) {
        Child<QAction>(form(), "stepAction")->trigger();
        QVERIFY(QTest::qWaitForWindowExposed(step()));
        step()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(step()));
        auto* start = Child<QLineEdit>(step(), "startAddressEdit");
        start->clear();
        QTest::keyClicks(start, address);
        QTest::keyClick(start, Qt::Key_Return);
    }

    // Runs the bytes from 0200 as the Run command does, with the application's host, up to the
    // empty cell that ends them; the console's output then ("?" when the run ends otherwise).
    QString RunProgram(std::initializer_list<int> bytes) {
        int address = 0x0200;
        for (int byte : bytes) workspace().machine.Write(address++, byte);
        zorvan::windows::MachineHostAdapter host(*windows_);
        const auto end = zorvan::cpu::RunFrom(workspace().machine, host, 0x0200);
        return end == zorvan::cpu::RunEnd::kEmptyCell ? consoleOutput()->toPlainText() : "?";
    }

  private slots:
    void init() {
        QSettings(QSettings::UserScope, "Zorvan", "Zorvan").remove("recentFiles");
        Start();
    }

    void typingAProgramKeyByKey_data() { Rows(kTyping); }
    void typingAProgramKeyByKey() {
        QFETCH(int, i);
        const auto& c = kTyping[i];
        QStringList boxes;
        ModalDriver driver({ModalDriver::Answer(&boxes)});
        TypeKeys(QString::fromUtf8(c.keys));
        for (const QString& expected : QString::fromUtf8(c.cells).split(';'))
            QCOMPARE(cell(expected[0].digitValue(), expected[2].digitValue()), expected.mid(4));
        // The cursor and the open editor follow the core's current cell.
        const QModelIndex current = grid()->currentIndex();
        QCOMPARE(current, grid()->model()->index(c.row - 1, c.column));
        QVERIFY(editor()->text() == cell(c.column, c.row) && editor()->hasFocus());
        QVERIFY(grid()->visualRect(current).contains(editor()->geometry().center()));
        QCOMPARE(message(), QString::fromUtf8(c.message));
        QTest::qWait(20);
        QVERIFY2(boxes.isEmpty(), qPrintable(boxes.join('|')));
    }

    // With "BRK" in the editor and the caret at its start, a line editor would cut it (Shift+Del)
    // or delete it to the end (Ctrl+K); the enabled command gets the key instead.
    void menuShortcutsReachTheirCommandsBeforeTheEditor_data() { Rows(kShortcuts); }
    void menuShortcutsReachTheirCommandsBeforeTheEditor() {
        QFETCH(int, i);
        const auto& c = kShortcuts[i];
        TypeKeys("0200\rNOP\rBRK");
        editor()->setCursorPosition(0);
        QList<int> gridKeys;
        editor()->keyHandler = [&, handler = editor()->keyHandler](QKeyEvent* event) {
            gridKeys << event->key();
            handler(event);
        };
        QSignalSpy triggered(Child<QAction>(form(), c.item), &QAction::triggered);
        QStringList boxes;
        ModalDriver driver({ModalDriver::Answer(&boxes, QStringLiteral("Ναι"))});
        QTest::keyClick(editor(), c.key.key(), c.key.keyboardModifiers());
        QCOMPARE(triggered.count(), 1);
        QVERIFY2(!gridKeys.contains(c.key.key()), "the key reached the grid");
        QCOMPARE(workspace().grid.RowCount(), c.rows);
        if (c.rowOfBrk != 0) QCOMPARE(cell(2, c.rowOfBrk), "BRK");
        QCOMPARE(windows_->memoryWindow->isVisible(), c.memory);
    }

    void aDisabledCommandsKeyReachesTheGridAndEnablesThem() {
        QVERIFY(!Child<QAction>(form(), "runAction")->isEnabled());
        QSignalSpy triggered(Child<QMenu>(form(), "executionMenu"), &QMenu::triggered);
        QTest::keyClick(editor(), Qt::Key_F9);
        QVERIFY(triggered.isEmpty() && workspace().changed &&
                Child<QAction>(form(), "runAction")->isEnabled());
    }

    // The save-first question of New, Open and the close box, answered (the three share one box).
    // Untouched, the window closes at once; changed, it closes after No, and the memory window
    // with it. Escape on the question, or its close box, calls the command off: the program, its
    // caption and its changed flag stay, and no file dialog comes up. Yes with the save dialog
    // cancelled keeps the window open.
    void saveFirstQuestions_data() { Rows(kQuestions); }
    void saveFirstQuestions() {
        QFETCH(int, i);
        const auto& c = kQuestions[i];
        TypeKeys(QString::fromUtf8(c.keys));
        const QString title = form()->windowTitle();
        QStringList texts;
        form()->chooseSaveFile = [&] { return texts << "<save>", std::nullopt; };
        form()->chooseOpenFile = [&] { return texts << "<open>", std::nullopt; };
        windows_->memoryWindow->show();
        const QString answer = QString::fromUtf8(c.answer);
        ModalDriver driver({[&](QWidget* modal) {
            if (answer == "Esc" || answer == "x") texts << static_cast<QMessageBox*>(modal)->text();
            if (answer == "Esc") return QTest::keyClick(modal, Qt::Key_Escape);
            if (answer == "x") return void(modal->close());
            ModalDriver::Answer(&texts, answer)(modal);
        }});
        c.command == 'n'   ? Child<QAction>(form(), "newAction")->trigger()
        : c.command == 'o' ? Child<QAction>(form(), "openAction")->trigger()
                           : void(form()->close());
        QCOMPARE(texts.join(QLatin1Char('|')), c.texts);
        QVERIFY(form()->isVisible() != c.closes && windows_->memoryWindow->isVisible() != c.closes);
        if (c.closes) return;
        QVERIFY(cell(2, 1) == "NOP" && workspace().changed);
        QCOMPARE(form()->windowTitle(), title);
    }

    // Ctrl+S writes the program's own file without a dialog once it has one; before that it is
    // the save dialog, as Αποθήκευση always is. Ctrl+O and Ctrl+N are Open and New.
    void quickSaveAndTheFileShortcuts() {
        QTemporaryDir folder;
        const QString path = folder.filePath("p.zrv");
        QStringList dialogs;
        form()->chooseSaveFile = [&] {
            return dialogs << "<save>", std::optional(path.toStdString());
        };
        form()->chooseOpenFile = [&] { return dialogs << "<open>", std::nullopt; };
        TypeKeys("0200\rNOP\r");
        QTest::keyClick(editor(), Qt::Key_S, Qt::ControlModifier);
        TypeKeys("BRK\r");
        QTest::keyClick(editor(), Qt::Key_S, Qt::ControlModifier);
        QVERIFY(!workspace().changed);
        QVERIFY(zorvan::testing::FileBytes(path.toStdString()).find("BRK") != std::string::npos);
        Child<QAction>(form(), "saveAction")->trigger();
        // The Ctrl key, as every key in the grid, marks the program changed: both ask first.
        ModalDriver driver(
            {ModalDriver::Answer(&dialogs, "Όχι"), ModalDriver::Answer(&dialogs, "Όχι")});
        QTest::keyClick(editor(), Qt::Key_O, Qt::ControlModifier);
        form()->activateWindow();  // shortcuts reach the active window only
        QVERIFY(QTest::qWaitForWindowActive(form()));
        QTest::keyClick(editor(), Qt::Key_N, Qt::ControlModifier);
        QCOMPARE(dialogs.join('|'),
                 QStringLiteral("<save>|<save>|") + kOpenQuestion + "|<open>|" + kNewQuestion);
        QCOMPARE(workspace().grid.ContentCount(), 0);
    }

    // The files opened and saved are the Αρχείο menu's last five, newest first, under Ctrl+1 to
    // Ctrl+5, and a new window finds them again; Ctrl+2 opens the second after the question.
    void recentFiles() {
        QTemporaryDir folder;
        const auto path = [&](int i) { return folder.filePath(QString("p%1&.zrv").arg(i)); };
        for (int i = 1; i <= 6; ++i) {
            SaveTo(path(i));
            Child<QAction>(form(), "saveAction")->trigger();
        }
        Start();
        QStringList items, expected;
        for (int i = 1; i <= 5; ++i) {
            const auto* action =
                Child<QAction>(form(), qPrintable(QString("recentFileAction%1").arg(i)));
            items << action->text() + " " + action->shortcut().toString();
            expected << QString("&%1 %2 Ctrl+%1").arg(i).arg(path(7 - i).replace("&", "&&"));
        }
        QCOMPARE(items, expected);
        TypeKeys("0200\rNOP\r");
        QStringList boxes;
        ModalDriver driver({ModalDriver::Answer(&boxes, "Όχι")});
        QTest::keyClick(editor(), Qt::Key_2, Qt::ControlModifier);
        QCOMPARE(boxes, QStringList{kOpenQuestion});
        QCOMPARE(form()->windowTitle(), "Zorvan-" + path(5));
        QCOMPARE(Child<QAction>(form(), "recentFileAction1")->text(),
                 "&1 " + path(5).replace("&", "&&"));
        // A name relative to the folder the program started in is kept whole.
        const QString started = QDir::currentPath();
        QDir::setCurrent(folder.path());
        form()->OpenNamedFile(QStringLiteral("p1&.zrv"));
        QDir::setCurrent(started);
        QCOMPARE(Child<QAction>(form(), "recentFileAction1")->text(),
                 "&1 " + path(1).replace("&", "&&"));
    }

    // Ctrl+Z and Ctrl+Y (or Ctrl+Shift+Z) take back and bring again a committed cell with the
    // addresses it rewrote, and a Clear grid, which says so in blue. In a cell being typed Ctrl+Z
    // first takes back the typing. Undone to the saved program, the changed flag is clear.
    void undoAndRedoEveryChange() {
        const auto key = [this](Qt::Key k, Qt::KeyboardModifiers m = Qt::ControlModifier) {
            QTest::keyClick(editor(), k, m);
        };
        QTemporaryDir folder;
        SaveTo(folder.filePath("p.zrv"));
        QVERIFY(!Child<QAction>(form(), "undoAction")->isEnabled());
        TypeKeys("0200\rNOP\r");
        Child<QAction>(form(), "saveAction")->trigger();
        TypeKeys("BRK\rLD");
        const QString program = cell(1, 1) + cell(2, 1) + cell(1, 2) + cell(2, 2);
        QCOMPARE(program, "0200NOP0201BRK");
        key(Qt::Key_Z);
        QCOMPARE(cell(2, 3) + "|" + cell(2, 2), "|BRK");  // the typing first
        key(Qt::Key_Z);
        QCOMPARE(cell(2, 2), QString());
        QVERIFY(!workspace().changed);
        key(Qt::Key_Y);
        QCOMPARE(cell(2, 2), "BRK");
        QVERIFY(workspace().changed);

        Child<QAction>(form(), "clearGridAction")->trigger();
        QCOMPARE(workspace().grid.ContentCount(), 0);
        QCOMPARE(message(), "#0000ff Το πλέγμα καθαρίστηκε· με Ctrl+Z επανέρχεται.");
        key(Qt::Key_Z);
        QCOMPARE(cell(1, 1) + cell(2, 1) + cell(1, 2) + cell(2, 2), program);
        QCOMPARE(message(), QString());
        key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(workspace().grid.ContentCount(), 0);
        QVERIFY(Child<QAction>(form(), "undoAction")->isEnabled() &&
                !Child<QAction>(form(), "redoAction")->isEnabled());
    }

    // Insert lines passes the dialog's text on: "0x3" reads as three.
    void insertLinesTakesTheDialogsCount() {
        TypeKeys("0200\rNOP\r");
        const int rows = workspace().grid.RowCount();
        Trigger("insertLinesAction", {ModalDriver::Type("0x3")});
        QCOMPARE(workspace().grid.RowCount(), rows + 3);
    }

    // After the OK of an assembly error box the cursor is on the line at fault, 397 lines down.
    void anAssemblyErrorTakesTheCursorToItsLine() {
        zorvan::grid::ProgramGrid& program = workspace().grid;
        program.SetRowCount(400);
        for (int row = 1; row < 399; ++row) {
            program.SetCell(1, row, QString::number(0x200 + row, 16).toStdString());
            program.SetCell(2, row, row == 397 ? "BNE" : "NOP");
        }
        program.SetCell(3, 397, "NOWHERE");
        workspace().executionEnabled = true;
        form()->RefreshFromWorkspace();
        QStringList texts;
        Trigger("assembleAction", {ModalDriver::Answer(&texts)});
        QCOMPARE(texts, QStringList{"Η ετικέτα 'NOWHERE' δεν βρέθηκε"});
        // The header row is the view's own: line 397 is its row 396.
        QCOMPARE(grid()->currentIndex(), grid()->model()->index(396, 3));
    }

    // A file with bytes the code page leaves undefined shows them as stand-ins, and a cell
    // holding one can still be edited.
    void aCellWithAStandInCanBeEdited() {
        QTemporaryDir folder;
        const QString path = folder.filePath("bytes.zrv");
        PutFile(path.toStdString(), "\xAA\x81 0200 NOP _ _ \xF4\xDD\xEB\xEF\xF2\xFF\r\n");
        form()->OpenNamedFile(path);
        QCOMPARE(cell(0, 1), "⢪⢁");
        QCOMPARE(cell(5, 1), "τέλος⣿");
        TypeKeys("↑←←⌫B\t");  // into the label: the stand-in stays, B is typed after it
        QCOMPARE(cell(0, 1), "⢪B");
    }

    // Save marks the program unchanged; New after it asks nothing, empties the grid and greys
    // the execution commands; the real open dialog completes a bare name with the program
    // extension and the program comes back.
    void saveNewAndOpen() {
        QTemporaryDir folder;
        const QString path = folder.filePath("prog.zrv");
        SaveTo(path);
        TypeKeys("0200\rNOP\r");
        Child<QAction>(form(), "saveAction")->trigger();
        QVERIFY(!workspace().changed);
        Child<QAction>(form(), "newAction")->trigger();
        QVERIFY(cell(2, 1).isEmpty() && !Child<QAction>(form(), "assembleAction")->isEnabled());
        Child<QFileDialog>(form(), "openDialog")->setDirectory(folder.path());
        form()->chooseOpenFile = [this]() -> std::optional<std::string> {
            if (Child<QFileDialog>(form(), "openDialog")->exec() != QDialog::Accepted)
                return std::nullopt;
            return Child<QFileDialog>(form(), "openDialog")->selectedFiles().front().toStdString();
        };
        Trigger("openAction", {[](QWidget* dialog) {
                    auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
                    name->setText(QStringLiteral("prog"));
                    QTest::keyClick(name, Qt::Key_Return);
                }});
        QVERIFY(cell(2, 1) == "NOP" && Child<QAction>(form(), "assembleAction")->isEnabled());
        QVERIFY(grid()->model()->rowCount() == 2 && form()->windowTitle() == "Zorvan-" + path);
    }

    // Cancel prints nothing; Print puts a long listing on numbered pages, each under the opened
    // file's name, every row numbered, its cells in column order, the rows in order.
    void printCommandPrintsTheListingOnNumberedPages() {
        QTemporaryDir folder;
        const QString pdf = folder.filePath(QStringLiteral("listing.pdf"));
        const QString heading = QStringLiteral("/home/μαθητής/βρόχος.zrv");
        workspace().grid.SetRowCount(151);
        for (int r = 1; r <= 150; ++r)
            for (int c = 0; c < 6; ++c) workspace().grid.SetCell(c, r, RowOf(r)[c].toStdString());
        workspace().openDialogFileName = heading.toStdString();
        // A file name ending in .pdf makes the printer write PDF.
        zorvan::ui::ProgramPrinter::Of(form()).Printer().setOutputFileName(pdf);
        for (bool print : {false, true}) {
            Trigger("printAction",
                    {[=](QWidget* box) { static_cast<QDialog*>(box)->done(print); }});
            QVERIFY(QFile::exists(pdf) == print);
        }

        QProcess pdftotext;
        pdftotext.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, "-"});
        QVERIFY(pdftotext.waitForFinished(30000) && pdftotext.exitCode() == 0);
        const QStringList pages = QString(pdftotext.readAll()).split('\f', Qt::SkipEmptyParts);
        QVERIFY(pages.size() >= 3);
        const QString text = pages.join(' ').simplified();
        qsizetype at = 0;
        for (int r = 1; r <= 150; ++r) {
            at = text.indexOf(QString::number(r) + ": " + RowOf(r).join(' '), at);
            QVERIFY2(at >= 0, qPrintable(QStringLiteral("row %1").arg(r)));
        }
        QCOMPARE(text.count(heading), pages.size());
        for (int p = 0; p < pages.size(); ++p)
            QVERIFY(pages[p].contains(QString("Σελίδα %1 από %2").arg(p + 1).arg(pages.size())));
    }

    void unsavedWorkHasARecoveryCopyThatTheNextStartOffers() {
        const QDir folder(zorvan::windows::MainWindow::RecoveryFolderPath());
        QDir(folder).removeRecursively();
        const QString mine = folder.filePath(QString::number(QCoreApplication::applicationPid()));
        TypeKeys("0200");
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(mine + ".zrv"), 5000);
        // As a process that was killed: its files stay under an id that no process has.
        const QString dead = folder.filePath("2147483000");
        QVERIFY(QFile::rename(mine + ".zrv", dead + ".zrv"));
        QVERIFY(QFile::rename(mine + ".info", dead + ".info"));
        init();
        QString offer;
        form()->askRecovery = [&](const QString& text) {
            return offer = text, std::optional(true);
        };
        QVERIFY(form()->OfferRecovery());
        QVERIFY(offer.contains("χωρίς όνομα"));
        QCOMPARE(cell(1, 1), "0200");
        QVERIFY(workspace().changed && !QFile::exists(dead + ".zrv") &&
                QFile::exists(mine + ".zrv"));

        // Saved, it has nothing left to lose; the file changed elsewhere is then offered again.
        QTemporaryDir files;
        const QString saved = files.filePath("saved.zrv");
        SaveTo(saved);
        Child<QAction>(form(), "quickSaveAction")->trigger();
        QVERIFY(!QFile::exists(mine + ".zrv") && QFile::exists(mine + ".info"));
        QTest::qWait(20);  // a new modification time
        PutFile((saved + ".new").toStdString(), "_ 0300 NOP _ _ _\r\n");
        QVERIFY(QFile::remove(saved) && QFile::rename(saved + ".new", saved));
        QStringList boxes;
        ModalDriver driver({ModalDriver::Answer(&boxes, QStringLiteral("Ναι"))});
        QEvent activated(QEvent::ActivationChange);
        QApplication::sendEvent(form(), &activated);
        QVERIFY(boxes.size() == 1 && boxes[0].contains("άλλαξε έξω από το Zorvan"));
        QCOMPARE(cell(2, 1), "NOP");
        form()->close();
        QVERIFY(!QFile::exists(mine + ".info"));
    }

    void aFileOpenInAnotherCopyWarnsOnce() {
        QTemporaryDir files;
        const QString path = files.filePath("shared.zrv");
        PutFile(path.toStdString(), "_ 0200 NOP _ _ _\r\n");
        // Process 1 runs as long as the system does: a copy of Zorvan that has the file open.
        const QDir folder(zorvan::windows::MainWindow::RecoveryFolderPath());
        QVERIFY(folder.mkpath("."));
        const QString other = folder.filePath("1.info");
        PutFile(other.toStdString(), "0\n" + path.toStdString());
        QStringList boxes;
        ModalDriver driver({ModalDriver::Answer(&boxes)});
        form()->OpenNamedFile(path);
        form()->OpenNamedFile(path);
        QVERIFY(QFile::remove(other));
        QCOMPARE(boxes.size(), 1);
        QVERIFY(boxes[0].contains("ανοιχτό και σε άλλο παράθυρο του Zorvan"));
    }

    void aPasteKeepsWhatTheCellCanHoldAndSaysWhatItLeftOut() {
        QGuiApplication::clipboard()->setText(QStringLiteral("02→0☺0\n"));
        QTest::keyClick(editor(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(cell(1, 1), "0200");
        QVERIFY(workspace().changed && message().startsWith("#ff0000 ") &&
                message().contains("«→ ☺»"));
    }

    void windowsReopenWhereTheyWereAndOnTheScreen() {
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        const QPoint left = screen.topLeft() + QPoint(40, 30);
        const QSize stepBuilt = windows_->stepWindow->size();
        const std::pair<QWidget*, QPoint> places[] = {
            {windows_->memoryWindow, left},
            {windows_->consoleWindow, QPoint(20000, 20000)},
            {windows_->stepWindow, left}};
        for (auto [window, at] : places) {
            window->show();
            window->resize(300, 200);  // the console can be resized, the memory window not
            window->move(at);
            window->hide();
        }
        init();  // the next start
        QCOMPARE(windows_->memoryWindow->pos(), left);
        QCOMPARE(windows_->consoleWindow->size(), QSize(300, 200));
        QVERIFY(screen.contains(QRect(windows_->consoleWindow->pos(), QSize(300, 200))));
        // The step window's controls stand where it places them: smaller would cut them off.
        QCOMPARE(windows_->stepWindow->size().expandedTo(stepBuilt), windows_->stepWindow->size());
    }

    // The monkey's finding: a changed program, stepping under way, a click in the main window,
    // then Open. The question comes before anything is dropped.
    void openWhileSteppingAsksFirst() {
        workspace().changed = true;
        Load("_ 0200 LDX #05 _ _ L 0202 DEX _ _ _ _ 0203 BNE L _ _ _ 0205 _ _ _ _");
        StartStepping("0200");
        Click("nextButton");
        QTest::mouseClick(grid()->viewport(), Qt::LeftButton);
        form()->activateWindow();
        form()->chooseOpenFile = [] { return std::optional<std::string>(); };
        QStringList boxes;
        ModalDriver driver({ModalDriver::Answer(&boxes, QStringLiteral("Όχι"))});
        Child<QAction>(form(), "openAction")->trigger();
        QCOMPARE(boxes.value(0), kOpenQuestion);
        QCOMPARE(cell(2, 2), "DEX");
    }

    // «Έλεγχος άσκησης…» checks the grid against the chosen file without touching the machine;
    // the window lists the cases, and a double click on a failed cell opens the memory window
    // there.
    void theExerciseCheckListsTheCasesAndAFailedCellOpensTheMemoryWindow() {
        // Right for the first case only.
        Load("_ 0200 LDA #04 _ _ _ 0202 STA 0301 _ _ _ 0205 _ _ _ _");
        workspace().machine.AC = 0x77;
        const zorvan::testing::TempFolder folder;
        const std::string path = folder / "exercise.expect";
        PutFile(path,
                "case \"δύο\"\npoke 0300: 02\n0301: 04\ncase \"πέντε\"\npoke 0300: 05\n0301: 0A\n");
        form()->chooseExpectationFile = [&] { return std::optional(path); };
        Child<QAction>(form(), "checkExerciseAction")->trigger();

        auto* window = Child<zorvan::windows::ExerciseWindow>(form(), "exerciseWindow");
        QTRY_VERIFY(window->isVisible());
        QVERIFY(Child<QLabel>(window, "summaryLabel")->text().contains("Βαθμός: 1/2"));
        auto* cases = Child<QTreeWidget>(window, "caseList");
        QCOMPARE(cases->topLevelItemCount(), 2);
        QCOMPARE(cases->topLevelItem(0)->text(1) + cases->topLevelItem(1)->text(1),
                 "ΕΠΙΤΥΧΙΑΑΠΟΤΥΧΙΑ");
        QVERIFY(!Child<QPlainTextEdit>(window, "traceArea")->toPlainText().isEmpty());
        QCOMPARE(workspace().machine.AC, 0x77);  // the student's machine as it was
        QTreeWidgetItem* failedCell = cases->topLevelItem(1)->child(0);
        QCOMPARE(failedCell->text(0), "0301");
        emit cases->itemDoubleClicked(failedCell, 0);
        QTRY_VERIFY(windows_->memoryWindow->isVisible());
        QCOMPARE(Child<QLineEdit>(windows_->memoryWindow, "startAddressEdit")->text(), "0301");
    }

    void aboutBoxClosesWithOk() {
        zorvan::windows::AboutDialog* about = windows_->aboutDialog;
        Trigger("aboutAction", {[=](QWidget*) {
                    QTest::mouseClick(Child<QPushButton>(about, "okButton"), Qt::LeftButton);
                }});
        QCOMPARE(about->result(), int(QDialog::Accepted));
    }

    // Επόμενο from the contents walks every page once, each with its title, and stops at the
    // last; Προηγούμενο walks back to the contents.
    void nextAndPreviousWalkEveryPage() {
        HelpWindow help;
        const QStringList order = HelpWindow::PageOrder();
        QVERIFY(order.size() >= 16);
        QCOMPARE(order.mid(0, 3), QStringList({"index.html", "first.html", "lessons.html"}));
        auto* browser = Child<QTextBrowser>(&help, "helpBrowser");
        auto* next = Child<QAction>(&help, "nextPageAction");
        auto* previous = Child<QAction>(&help, "previousPageAction");
        QVERIFY(!previous->isEnabled());
        QStringList seen{browser->source().fileName()};
        while (next->isEnabled() && seen.size() <= order.size()) {
            next->trigger();
            QVERIFY2(!browser->documentTitle().isEmpty(), qPrintable(browser->source().toString()));
            seen.append(browser->source().fileName());
        }
        QCOMPARE(seen, order);
        for (qsizetype k = 1; k < order.size(); ++k) previous->trigger();
        QCOMPARE(browser->source(), HelpWindow::kContentsPage);
        QVERIFY(!previous->isEnabled());
    }

    // A word typed without accents finds the pages that have it, and the first is shown with the
    // word selected; a word that no page has says so.
    void searchFindsAcrossPagesWithoutAccents() {
        HelpWindow help;
        auto* results = Child<QListWidget>(&help, "helpSearchResults");
        auto* browser = Child<QTextBrowser>(&help, "helpBrowser");
        help.Search(QStringLiteral("ΣΤΟΙΒΑ"));
        QVERIFY(results->count() >= 3);
        QVERIFY(results->item(0)->flags() != Qt::NoItemFlags);
        QCOMPARE(browser->textCursor().selectedText(), "στοίβα");
        help.Search(QStringLiteral("ξψξψξψ"));
        QCOMPARE(results->count(), 1);
        QCOMPARE(results->item(0)->flags(), Qt::NoItemFlags);
    }

    void textGrowsAndShrinksByKeysAndWheel() {
        HelpWindow help;
        help.show();
        QVERIFY(QTest::qWaitForWindowExposed(&help));
        auto* browser = Child<QTextBrowser>(&help, "helpBrowser");
        const qreal start = browser->font().pointSizeF();
        QTest::keyClick(&help, Qt::Key_Plus, Qt::ControlModifier);
        const qreal larger = browser->font().pointSizeF();
        QVERIFY(larger > start);
        QTest::keyClick(&help, Qt::Key_Minus, Qt::ControlModifier);
        QCOMPARE(browser->font().pointSizeF(), start);
        const QPoint middle = browser->viewport()->rect().center();
        QWheelEvent wheel(middle, browser->viewport()->mapToGlobal(middle), {}, {0, 120},
                          Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(browser->viewport(), &wheel);
        QVERIFY(browser->font().pointSizeF() > start);
    }

    // «Άνοιγμα στο πλέγμα» over a changed program asks New's question first: Cancel keeps the
    // program, No puts the example in, assembled so that F9 runs it. The page stays where it was.
    void anExampleLinkOpensTheProgramAfterTheSaveFirstQuestion() {
        workspace().grid.SetCell(1, 1, "0200");
        workspace().grid.SetCell(2, 1, "NOP");
        workspace().changed = true;
        Child<QAction>(form(), "helpAction")->trigger();
        auto* browser = Child<QTextBrowser>(form(), "helpBrowser");
        const QUrl page = browser->source();
        const QUrl link(QStringLiteral("zorvan-open:examples/hello.zrv"));
        QStringList boxes;
        for (const QString& answer : {QStringLiteral("Cancel"), QStringLiteral("Όχι")}) {
            ModalDriver driver({[&](QWidget* modal) {
                auto* box = qobject_cast<QMessageBox*>(modal);
                boxes << box->text();
                if (answer == "Cancel") return box->reject();
                ModalDriver::Answer(&boxes, answer)(modal);
            }});
            browser->setSource(link);
            QVERIFY(driver.done());
        }
        QCOMPARE(boxes.size(), 3);
        QCOMPARE(boxes.front(), kNewQuestion);
        QCOMPARE(browser->source(), page);
        QCOMPARE(workspace().grid.Cell(2, 1), "LDA");
        QCOMPARE(workspace().grid.Cell(3, 1), "#C3");
        QVERIFY(!workspace().changed);
        QCOMPARE(workspace().machine.Read(0x0200), 0xA9);  // LDA #, assembled
        QVERIFY(Child<QAction>(form(), "runAction")->isEnabled());

        // An exercise's «Έλεγχος» checks the grid with the exercise's built-in file.
        browser->setSource(QUrl(QStringLiteral("zorvan-check:examples/exercises/ex1a.expect")));
        auto* result = Child<QWidget>(form(), "exerciseWindow");
        QTRY_VERIFY(result->isVisible());
        QVERIFY(Child<QLabel>(result, "summaryLabel")->text().contains("Βαθμός: 0/1"));
        QCOMPARE(browser->source(), page);
    }

    // Every claim that runs a program through Run, Step execution, Συνέχεια, Πίσω or a
    // breakpoint, played on the windows as a student would, leaves on screen what the page says.
    void theHelpsRunsShowOnScreenWhatThePagesSay() {
        using zorvan::testing::Unescape;
        const QStringList playable = QStringLiteral(
                                         "line file poke step f9 back continue breakpoint message "
                                         "console expect sentence cells executed summary")
                                         .split(' ');
        // A window that waits for an answer no claim gives is closed, and fails the claim.
        QStringList unexpected;
        QPointer<QWidget> waiting;
        QTimer guard;
        QObject::connect(&guard, &QTimer::timeout, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (modal != nullptr && modal == waiting) {
                auto* box = qobject_cast<QMessageBox*>(modal);
                unexpected << (box != nullptr ? box->text() : modal->objectName());
                modal->close();
            }
            waiting = modal;
        });
        guard.start(200);
        int played = 0;
        for (const auto& page : zorvan::testing::HelpPages()) {
            std::vector<std::string> errors;
            for (const zorvan::testing::Claim& claim : zorvan::testing::ClaimsOf(page, errors)) {
                const bool runs = claim.Has("step") || claim.Has("f9");
                const bool all = std::all_of(claim.keys.begin(), claim.keys.end(), [&](auto& k) {
                    return playable.contains(QString::fromStdString(k.first));
                });
                if (!runs || !all || !(claim.Has("message") || claim.Has("sentence"))) continue;
                const QByteArray where = QByteArray::fromStdString(claim.page + ": " + claim.title);
                Start();  // a fresh application for each claim
                zorvan::grid::ProgramGrid& grid = workspace().grid;
                if (const auto rows = zorvan::testing::ProgramOf(claim); !rows.empty())
                    zorvan::app::PlaceProgramRows(grid, rows);
                workspace().executionEnabled = true;  // as a completed line leaves it
                form()->RefreshFromWorkspace();
                QStringList summary;  // Assemble asks whether to show the memory
                Trigger("assembleAction", {ModalDriver::Answer(&summary, QStringLiteral("Όχι"))});
                for (const auto& [key, value] : claim.keys) {
                    const auto words = QString::fromStdString(value).split(' ');
                    if (key == "poke") {
                        for (const QString& word : words) {
                            const QStringList cell = word.split('=');
                            int at = cell[0].toInt(nullptr, 16);
                            for (const QString& v : cell[1].split(','))
                                machine().Write(at++, v.toInt(nullptr, 16));
                        }
                    } else if (key == "breakpoint") {  // the breakpoint command, as F5 gives it
                        grid.SetRow(std::stoi(value));
                        form()->RefreshFromWorkspace();
                        Child<QAction>(form(), "breakpointAction")->trigger();
                    } else if (key == "f9") {
                        Run({ModalDriver::Type(QString::fromStdString(value))});
                    } else if (key == "step") {
                        StartStepping(words[0]);
                        for (int k = 1; k < words.value(1).toInt(); ++k) Click("nextButton");
                    } else if (key == "continue") {
                        Click("continueButton");
                    } else if (key == "back") {
                        for (int k = 0; k < std::stoi(value); ++k) Click("backButton");
                    }
                }
                // What the windows show; the machine's values are the core's, checked headless.
                for (const auto& [key, value] : claim.keys) {
                    const QString expected = QString::fromStdString(Unescape(value));
                    QString shown;
                    if (key == "message") {
                        auto* area = Child<QPlainTextEdit>(form(), "messageArea");
                        (void)QTest::qWaitFor([&] { return area->toPlainText() == expected; },
                                              2000);
                        shown = area->toPlainText();
                    } else if (key == "sentence") {
                        shown = sentence();
                    } else if (key == "console") {
                        shown = consoleOutput()->toPlainText();
                    } else if (key == "executed") {
                        shown = Child<QTableWidget>(step(), "stepRows")->item(0, 1)->text();
                    } else if (key == "summary") {  // the lines' and the bytes' counts
                        const QStringList counts = expected.split(' ');
                        shown = summary.value(0);
                        QVERIFY2(shown.contains(":" + counts[0] + " γραμμές") &&
                                     shown.contains(":" + counts.value(1) + "\n"),
                                 where + ": «" + shown.toUtf8() + "»");
                        continue;
                    } else {
                        continue;
                    }
                    QVERIFY2(shown == expected, where + ": «" + shown.toUtf8() + "»");
                }
                QVERIFY2(unexpected.isEmpty(), qPrintable(where + ": " + unexpected.join(", ")));
                ++played;
            }
        }
        QVERIFY(played >= 15);
    }

    // F1 opens the page of the window it is pressed in; the main window's opens the contents.
    // The modal start-address dialog gets a help window of its own, which it does not block.
    void f1OpensThePageOfTheWindowItIsPressedIn() {
        QWidget* main = form();
        const std::pair<QWidget*, QString> cases[] = {
            {main, "index.html"},
            {windows_->stepWindow, "debugger.html"},
            {windows_->memoryWindow, "windows.html"},
            {windows_->registerWindow, "windows.html"},
            {windows_->consoleWindow, "console.html"},
            {Child<QWidget>(main, "exerciseWindow"), "teacher.html"}};
        for (const auto& [window, page] : cases) {
            auto* key = Child<QAction>(window, window == main ? "helpAction" : "helpKeyAction");
            QCOMPARE(key->shortcut(), QKeySequence(Qt::Key_F1));
            key->trigger();
            QCOMPARE(Child<QTextBrowser>(main, "helpBrowser")->source().fileName(), page);
        }
        auto* dialog = windows_->startAddressDialog;
        Child<QAction>(dialog, "helpKeyAction")->trigger();
        QCOMPARE(Child<QTextBrowser>(dialog, "helpBrowser")->source().fileName(), "running.html");
    }

    // With no main window shown behind them.
    void memoryWindowStoresTheTypedBytes() {
        windows_ = std::make_unique<zorvan::windows::ApplicationWindows>();
        ShowActive(memory());
        QCOMPARE(
            TypeAndPress(Child<QLineEdit>(memory(), "startAddressEdit"), "0200", Qt::Key_Return),
            QString());
        for (const auto& c : kCells) {
            Child<QTableWidget>(memory(), "memoryGrid")->setCurrentCell(c.row - 1, c.column);
            QCOMPARE(TypeAndPress(Child<QTableWidget>(memory(), "memoryGrid"), c.typed, c.key),
                     c.warning);
            QCOMPARE(machine().memory[c.address], c.stored);
        }

        // Coming to the front shows memory again.
        machine().memory[0x0201] = 0xC1;
        ShowActive(memory(), true);
        QCOMPARE(memory()->Cell(17, 1), ".Α..............");
    }

    // Tab stores a field's entry. A wrong entry is warned about and stays, with the focus, for
    // the user to correct. Coming to the front refills the fields.
    void registerWindowStoresWarnsAndRefills() {
        windows_ = std::make_unique<zorvan::windows::ApplicationWindows>();
        ShowActive(windows_->registerWindow);
        for (const auto& c : kRegisters) {
            QCOMPARE(TypeAndPress(reg(c.field), c.typed, Qt::Key_Tab), c.warning);
            if (!c.warning.isEmpty())
                QTRY_VERIFY(reg(c.field)->hasFocus() && reg(c.field)->text() == c.typed);
        }
        machine().SP = 0x42;
        ShowActive(windows_->registerWindow, true);
        QStringList shown;
        for (QLineEdit* field : RegisterFields(windows_->registerWindow)) shown << field->text();
        QCOMPARE(shown.join(' '), "0000 0 0 0 0 0 1 0 2A 00 00 42");
    }

    // A program printing in an endless loop: the stop window stays above the console, which is
    // shown once and repainted a few times a second, and Escape typed in the console stops it.
    // Run again, it counts its instructions in the stop window, which has no minimise button and,
    // minimised anyway, comes back at once with the run going on; its button stops it too.
    void anEndlessConsoleLoopCanBeStoppedFromAnyWindow() {
        Load(
            "_ 0200 LDA #60 _ _ _ 0202 STA FFFF _ _ _ 0205 LDA #41 _ _ "
            "LOOP 0207 JSR FFFF _ _ _ 020A JMP LOOP _ _ _ 020D _ _ _ _");
        int paints = 0;
        PaintCounter counter(consoleOutput()->viewport(), &paints);
        qint64 ranMs = 0;
        Run({ModalDriver::Type("0200"), [&](QWidget* modal) {
                 auto* stop = qobject_cast<zorvan::windows::RunStopWindow*>(modal);
                 QVERIFY(stop != nullptr);
                 QVERIFY(stop->windowFlags() & Qt::WindowStaysOnTopHint);
                 QElapsedTimer clock;
                 clock.start();
                 paints = 0;
                 QTest::qWait(1000);
                 ranMs = clock.elapsed();
                 QVERIFY(windows_->consoleWindow->isVisible());
                 QCOMPARE(QApplication::activeModalWidget(), modal);
                 QTest::keyClick(consoleField(), Qt::Key_Escape);
             }});
        const QString stopped = QStringLiteral("#ff0000 Η εκτέλεση διακόπηκε από τον χρήστη.");
        QCOMPARE(message(), stopped);
        QCOMPARE(consoleOutput()->toPlainText(), "A");
        QVERIFY2(paints <= 2 + ranMs / zorvan::windows::ConsoleWindow::kBurstRepaintMs,
                 qPrintable(QString("%1 paints in %2 ms").arg(paints).arg(ranMs)));
        Run({ModalDriver::Type("0200"), [](QWidget* modal) {
                 auto* stop = qobject_cast<zorvan::windows::RunStopWindow*>(modal);
                 QVERIFY(stop && !(stop->windowFlags() & Qt::WindowMinimizeButtonHint));
                 const auto count = [stop] {
                     return Child<QLabel>(stop, "countLabel")->text().section(' ', -1).toLongLong();
                 };
                 QTRY_VERIFY(count() > 0);
                 const qint64 before = count();
                 stop->showMinimized();
                 QTRY_VERIFY(!stop->isMinimized() && stop->isVisible());
                 QTRY_VERIFY(count() > before);
                 QTest::mouseClick(Child<QPushButton>(stop, "stopButton"), Qt::LeftButton);
             }});
        QCOMPARE(message(), stopped);
    }

    // An endless loop printing lines: the console keeps its last lines and shows the latest.
    void anEndlessPrintingLoopShowsItsLatestLines() {
        Load(
            "_ 0200 LDA #60 _ _ _ 0202 STA FFFC _ _ _ 0205 LDA #10 _ _ _ 0207 STA 00 _ _ _ "
            "0209 LDA #03 _ _ _ 020B STA 01 _ _ _ 020D LDA #41 _ _ _ 020F STA 0310 _ _ "
            "LOOP 0212 JSR FFFC _ _ _ 0215 JMP LOOP _ _ _ 0218 _ _ _ _");
        Run({ModalDriver::Type("0200"), [](QWidget* modal) {
                 QTest::qWait(500);
                 QTest::mouseClick(Child<QPushButton>(modal, "stopButton"), Qt::LeftButton);
             }});
        QCOMPARE(consoleOutput()->blockCount(), int(zorvan::app::kConsoleLines));
        const QScrollBar* scroll = consoleOutput()->verticalScrollBar();
        QVERIFY(scroll->maximum() > 0);
        QCOMPARE(scroll->value(), scroll->maximum());
    }

    // F5 in the Εκτέλεση menu and a click in the margin toggle the current line's breakpoint; the
    // line shows its dot in the margin and its tint in every column; a run stops there.
    void f5AndTheMarginToggleABreakpointThatStopsARun() {
        Load(kLoop);
        QCOMPARE(Child<QAction>(form(), "breakpointAction")->text(), "Σημείο Διακοπής");
        workspace().grid.SetRow(4);
        form()->RefreshFromWorkspace();
        grid()->Editor()->setFocus();
        QTest::keyClick(grid()->Editor(), Qt::Key_F5);
        QVERIFY(workspace().grid.HasBreakpoint(4));
        const QAbstractItemModel* model = grid()->model();
        for (int column = 0; column < model->columnCount(); ++column) {
            QVERIFY(model->index(3, column).data(Qt::BackgroundRole).isValid());
            QVERIFY(!model->index(2, column).data(Qt::BackgroundRole).isValid());
        }
        QVERIFY(!model->headerData(3, Qt::Vertical, Qt::DecorationRole).value<QIcon>().isNull());
        QVERIFY(model->headerData(2, Qt::Vertical, Qt::DecorationRole).isNull());
        QTest::keyClick(grid()->Editor(), Qt::Key_F5);
        QVERIFY(!workspace().grid.HasBreakpoint(4));

        ClickMargin(2);
        QVERIFY(workspace().grid.HasBreakpoint(2));
        QCOMPARE(gridRow(), 4);  // the cursor stays
        ClickMargin(2);
        QVERIFY(workspace().grid.BreakpointRows().empty());
        // The program's text is untouched, and so is the changed flag.
        QVERIFY(!workspace().changed);

        // A run stops before the marked line: the registers come up, the cursor is on that line,
        // and F9 proposes PC, from which it goes on.
        Run({[](QWidget* modal) { modal->close(); }});  // closing the start dialog runs nothing
        QCOMPARE(message(), "#ff0000 Η διαδικασία εκτέλεσης απορρίφθηκε.");
        QVERIFY(!windows_->registerWindow->isVisible());
        workspace().grid.SetBreakpoint(3, true);  // BNE
        Run({ModalDriver::Type("0200")});
        QTRY_VERIFY(windows_->registerWindow->isVisible());
        QCOMPARE(reg(9)->text(), "02");  // XR after one DEX
        QCOMPARE(gridRow(), 3);
        // With a count of 2, the run from the proposed PC passes the breakpoint once.
        workspace().grid.SetBreakpointEvery(3, 2);
        Run({ModalDriver::Type("")});
        QCOMPARE(reg(9)->text(), "00");
        QVERIFY(message().endsWith("Στάση στο 2ο πέρασμα."));
        QString proposed;
        workspace().grid.SetBreakpoint(3, false);
        Run({ModalDriver::Type("", &proposed)});
        QCOMPARE(proposed, "0203");
        QCOMPARE(workspace().machine.AC, 0x41);
    }

    // A check of slips is switched in Εμφάνιση and kept in the settings: off, F9 no longer tells
    // the read of a cell that nobody wrote.
    void aSlipCheckIsSwitchedInTheViewMenu() {
        Load("_ 0200 LDA 0300 _ _ _ 0203 _ _ _ _");
        auto* item = Child<QAction>(form(), "unwrittenReadCheckAction");
        QVERIFY(item->isCheckable() && item->isChecked());
        Run({ModalDriver::Type("0200")});
        QVERIFY(message().contains("διάβασε το κελί 0300"));
        item->trigger();
        Run({ModalDriver::Type("0200")});
        QCOMPARE(message(), "#0000ff Η διαδικασία εκτέλεσης ολοκληρώθηκε.");
        const QSettings settings(QSettings::UserScope, "Zorvan", "Zorvan");
        QCOMPARE(settings.value("checks/unwrittenReadCheckAction"), QVariant(false));
        item->trigger();  // on again, as every other test expects
    }

    // The step window shows the line executed and the next, moves the grid's cursor along and
    // refills the registers, the changed fields highlighted, with the sentence under the rows;
    // Enter on the window is Next, only after Start; Πίσω undoes it and Παράκαμψη JSR runs the
    // whole call; a console routine leaves the keyboard in the step window.
    void startNextBackAndStepOver() {
        Load(kCalls);
        workspace().machine.Write(0xFFFF, 0x60);  // the console routine returns
        Child<QAction>(form(), "stepAction")->trigger();
        QVERIFY(QTest::qWaitForWindowExposed(step()));
        QTest::keyClick(step(), Qt::Key_Return);  // before Start: nothing runs
        QCOMPARE(workspace().machine.PC, 0);
        StartStepping("0202");
        QCOMPARE(step()->focusWidget(), static_cast<QWidget*>(stepButton("nextButton")));
        QCOMPARE(stepRow(0) + " | " + stepRow(1), "0202 LDX #02 | 0204 JSR 0200");
        QCOMPARE(reg(9)->text(), "02");
        QCOMPARE(sentence(), "LDX #02: XR 00 → 02");
        QVERIFY(stepButton("continueButton")->isVisible() && stepButton("backButton")->isVisible());
        QVERIFY(highlighted(9) && !highlighted(8));  // XR, not AC

        QTest::keyClick(step(), Qt::Key_Return);  // Next: into the subroutine
        QCOMPARE(stepRow(1), "0200 INY");
        QCOMPARE(gridRow(), 1);
        Click("backButton");
        QCOMPARE(workspace().machine.PC, 0x0204);
        QCOMPARE(stepRow(1), "0204 JSR 0200");

        Click("stepOverButton");
        QCOMPARE(workspace().machine.PC, 0x0207);
        Click("backButton");  // the whole call
        QCOMPARE(workspace().machine.PC, 0x0204);

        StartStepping("020A");  // LDA #41
        QCOMPARE(workspace().machine.PC, 0x020C);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);  // JSR FFFF
        QCOMPARE(workspace().machine.PC, 0xFFFF);
        QVERIFY(windows_->consoleWindow->isVisible());
        QTRY_VERIFY(step()->isActiveWindow());
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(stepButton("nextButton")));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter);  // the RTS
        QCOMPARE(workspace().machine.PC, 0x020F);
    }

    // Έως τον κέρσορα runs to a line clicked in the greyed grid; Συνέχεια to a breakpoint set in
    // its margin, then to the end; the console's letter goes again with Πίσω.
    void runToTheCursorAndContinueThenBackOverTheConsole() {
        Load(kCalls);
        workspace().machine.Write(0xFFFF, 0x60);
        StartStepping("0202");
        Click("stepOverButton");
        QVERIFY(!grid()->isEnabled());
        const QRect lda = grid()->visualRect(grid()->model()->index(6, 2));
        QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {}, lda.center());
        QCOMPARE(gridRow(), 7);
        Click("runToCursorButton");
        QCOMPARE(workspace().machine.PC, 0x020A);
        QCOMPARE(stepRow(1), "020A LDA #41");

        ClickMargin(8);
        QVERIFY(workspace().grid.HasBreakpoint(8));
        Click("continueButton");
        QCOMPARE(gridRow(), 8);
        const QString before = consoleOutput()->toPlainText();
        Click("continueButton");
        QCOMPARE(workspace().machine.PC, 0x020F);
        QVERIFY(consoleOutput()->toPlainText() != before);
        QCOMPARE(Child<QLabel>(step(), "statusLabel")->text(), "Τερματισμός Προγράμματος");
        QVERIFY(!stepButton("nextButton")->isEnabled() && grid()->isEnabled());
        Click("backButton");  // the RTS at FFFF
        Click("backButton");  // JSR FFFF
        QCOMPARE(workspace().machine.PC, 0x020C);
        QCOMPARE(consoleOutput()->toPlainText(), before);
    }

    // While stepping, the arrows and Page Up/Down move the grid's cursor and edit nothing; a key
    // in the main window brings a minimised step window back, with a notice.
    void cursorKeysAMinimisedStepWindowAndEscape() {
        Load(kCalls);
        StartStepping("0202");
        const int row = gridRow();
        const std::string cell = workspace().grid.Cell(zorvan::grid::kInstructionColumn, row);
        QTest::keyClick(stepButton("nextButton"), Qt::Key_Down);
        QCOMPARE(gridRow(), row + 1);
        QTest::keyClick(stepButton("nextButton"), Qt::Key_PageUp);
        QCOMPARE(gridRow(), 1);
        QTest::keyClick(stepButton("nextButton"), Qt::Key_PageDown);
        QCOMPARE(gridRow(), 9);  // the last line
        QCOMPARE(workspace().grid.Cell(zorvan::grid::kInstructionColumn, row), cell);
        step()->showMinimized();
        QTRY_VERIFY(step()->isMinimized());
        QTest::keyClick(grid(), Qt::Key_A);
        QTRY_VERIFY(!step()->isMinimized());
        QCOMPARE(message(), QStringLiteral("#0000ff ") +
                                zorvan::ui::ToQString(zorvan::app::kSteppingUnderWayNotice));

        // Escape closes the step, memory, register and console windows; in the memory window's
        // open cell editor it only cancels the edit.
        QVERIFY(!grid()->isEnabled());
        QTest::keyClick(stepButton("nextButton"), Qt::Key_Escape);
        QVERIFY(!step()->isVisible());
        QVERIFY(grid()->isEnabled());  // closing gives the grid back

        QWidget* windows[] = {windows_->memoryWindow, windows_->registerWindow,
                              windows_->consoleWindow};
        for (QWidget* window : windows) {
            ShowActive(window);
            QWidget* focused = QApplication::focusWidget();
            QTest::keyClick(focused != nullptr ? focused : window, Qt::Key_Escape);
            QVERIFY2(!window->isVisible(), window->objectName().toUtf8());
        }
    }

    // Every button has a key in the step window; the register window shows the return address;
    // Clear registers ends the history.
    void keysForTheButtonsAndTheReturnAddress() {
        Load(kCalls);
        StartStepping("0202");
        // A button's key clicks it as a click would, a moment later.
        QTest::keyClick(step()->windowHandle(), Qt::Key_F10);  // Παράκαμψη JSR
        QTRY_COMPARE(workspace().machine.PC, 0x0207);
        auto* returnAddress = Child<QLineEdit>(windows_->registerWindow, "returnAddressEdit");
        QTRY_COMPARE(returnAddress->text(), QStringLiteral("0207"));
        QVERIFY(returnAddress->isReadOnly() && !returnAddress->accessibleName().isEmpty());
        QTest::keyClick(step()->windowHandle(), Qt::Key_Z, Qt::ControlModifier);  // Πίσω
        QTRY_COMPARE(workspace().machine.PC, 0x0204);
        QTest::keyClick(step()->windowHandle(), Qt::Key_F11);  // Επόμενο
        QTRY_COMPARE(workspace().machine.PC, 0x0200);
        QVERIFY(stepButton("continueButton")->text().endsWith("(F5)"));
        QVERIFY(Child<QLineEdit>(step(), "watchAddressEdit")->isVisible());
        // Πίσω ως το σημείο διακοπής, with none set: back to the start of the history.
        QTest::keyClick(step()->windowHandle(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QTRY_COMPARE(workspace().machine.PC, 0x0202);
        // Clear registers ends the history; Πίσω says so and why, and the old sentence goes.
        QTest::keyClick(step()->windowHandle(), Qt::Key_F11);
        QTRY_COMPARE(workspace().machine.PC, 0x0204);
        Child<QAction>(form(), "clearRegistersAction")->trigger();
        Click("backButton");
        QCOMPARE(message(), QStringLiteral("#ff0000 ") +
                                zorvan::ui::ToQString(zorvan::app::kHistoryEndedMessage) +
                                zorvan::ui::ToQString(zorvan::app::kEndedByClearRegisters));
        QVERIFY(sentence().isEmpty());
    }

    // The step window's lists and its count: a double click on a row of the latest steps goes
    // back to just after its step.
    void theLatestStepsPinnedCellsAndTheHitCount() {
        Load(kLoop);
        StartStepping("0200");
        for (int i = 0; i < 3; ++i) Click("nextButton");  // DEX, BNE, DEX
        auto* steps = Child<QTableWidget>(step(), "recentSteps");
        QCOMPARE(steps->rowCount(), 4);
        QCOMPARE(steps->item(1, 1)->text(), "DEX: XR 03 → 02");
        const QPoint dex = steps->visualItemRect(steps->item(1, 1)).center();
        QTest::mouseClick(steps->viewport(), Qt::LeftButton, {}, dex);
        QTest::mouseDClick(steps->viewport(), Qt::LeftButton, {}, dex);
        QCOMPARE(workspace().machine.XR, 2);
        QCOMPARE(steps->rowCount(), 2);

        // A pinned cell shows its value and character; a wrong address is told, Delete unpins.
        auto* field = Child<QLineEdit>(step(), "pinAddressEdit");
        auto* cells = Child<QTableWidget>(step(), "pinnedCells");
        QTest::keyClicks(field, "202\rXYZ\r");
        QCOMPARE(cells->rowCount(), 1);
        QCOMPARE(cells->item(0, 0)->text() + cells->item(0, 1)->text() + cells->item(0, 2)->text(),
                 "0202CAΚ");
        QVERIFY(Child<QLabel>(step(), "pinNoticeLabel")->text().startsWith("«XYZ»"));
        cells->selectRow(0);
        QTest::keyClick(cells, Qt::Key_Delete);
        QCOMPARE(cells->rowCount(), 0);

        // The count edits the breakpoint of the grid's current line (BNE, then DEX after Up), off
        // on a line without one; Συνέχεια then stops on DEX's 2nd pass, the field back on DEX.
        workspace().grid.SetBreakpoint(2, true);
        workspace().grid.SetBreakpoint(3, true);
        form()->RefreshFromWorkspace();
        auto* count = Child<QSpinBox>(step(), "hitCountSpin");
        auto* caption = Child<QLabel>(step(), "hitCountLabel");
        QCOMPARE(caption->text(), "Σημείο διακοπής γραμμής 3: διακοπή μετά από");
        count->setValue(3);
        QTest::keyClick(stepButton("nextButton"), Qt::Key_Up);
        QVERIFY(count->isEnabled() && count->value() == 1 && caption->text().contains(" 2:"));
        count->setValue(2);
        for (int i = 0; i < 2; ++i) QTest::keyClick(stepButton("nextButton"), Qt::Key_Down);
        QVERIFY(!count->isEnabled() && caption->text().endsWith("όχι σε αυτή τη γραμμή"));
        Click("continueButton");
        QCOMPARE(workspace().machine.XR, 1);
        QVERIFY(message().endsWith("Στάση στο 2ο πέρασμα."));
        QCOMPARE(count->value(), 2);
    }

    // The character routine shows the window and replaces the output (C1 is capital alpha); the
    // string routine adds a line (the program puts the string's address, 020C, in 0000-0001);
    // clearing keeps the answer field. Asked for AC, the user's hexadecimal answer is stored and
    // echoed; other answers do nothing.
    void outputRoutinesAndAnAnswer() {
        workspace().machine.Write(0xFFFF, 0x60);  // the routines return through RTS
        QCOMPARE(RunProgram({0xA9, 0xC1, 0x20, 0xFF, 0xFF, 0}), "Α");
        QVERIFY(windows_->consoleWindow->isVisible());
        QCOMPARE(RunProgram({0xA9, 0x0C, 0x85, 0x00, 0xA9, 0x02, 0x85, 0x01, 0x20, 0xFC, 0xFF, 0,
                             'H', 'I', 0}),
                 "Α\nHI");
        consoleField()->setText("4a");
        QCOMPARE(RunProgram({0x20, 0xFD, 0xFF, 0}), QString());
        QCOMPARE(consoleField()->text(), "4a");

        RunProgram({0x20, 0xFE, 0xFF, 0});
        QTRY_VERIFY(consoleField()->hasFocus());
        QTest::keyClicks(consoleField(),
                         "\rzz\r\r");  // the answer left in the field first
        QCOMPARE(workspace().machine.AC, 0x4A);
        QCOMPARE(consoleOutput()->toPlainText(), "Δώσε τον AC\nAC:J");
    }
};

int main(int argc, char** argv) {
    QStandardPaths::setTestModeEnabled(true);  // the recent files of the tests stay theirs
    zorvan::ui::Application application(argc, argv);
    return QTest::qExec(std::make_unique<WindowsTest>().get(), argc, argv);
}
#include "windows_test.moc"
