// The Run command, the step window, the debugger and the console on the real widgets, driven
// through the main window's menu: the start-address dialog and the stop window, breakpoints from
// F5 and the grid's margin, a run that stops at one, the step window's buttons and keys, and the
// console as a running program uses it. And the memory and register windows: keys reaching the
// dump's cells, the fields storing into the machine, their warnings, and refilling when a window
// comes to the front.

#include <QElapsedTimer>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSettings>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>

#include "app/headless_console.h"
#include "app/program_file.h"
#include "asm/assembly_pass.h"
#include "cpu/run_loop.h"
#include "find_child.h"
#include "modal_driver.h"
#include "ui/change_highlight.h"
#include "ui/program_grid_view.h"
#include "ui/qt_text.h"
#include "windows/application_windows.h"
#include "windows/console_window.h"
#include "windows/machine_host_adapter.h"
#include "windows/main_window.h"
#include "windows/memory_grid.h"
#include "windows/memory_window.h"
#include "windows/register_window.h"
#include "windows/run_stop_window.h"
#include "windows/step_window.h"

namespace {

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

class DebuggerTest : public QObject {
    Q_OBJECT

    std::unique_ptr<zorvan::windows::ApplicationWindows> windows_;
    zorvan::windows::MainWindow* form() const { return windows_->mainWindow.get(); }
    zorvan::grid::Workspace& workspace() const { return windows_->workspace; }
    zorvan::windows::StepWindow* step() const { return windows_->stepWindow; }
    zorvan::cpu::Machine& machine() const { return workspace().machine; }
    zorvan::windows::MemoryWindow* memory() const { return windows_->memoryWindow; }
    QLineEdit* reg(int field) const { return RegisterFields(windows_->registerWindow)[field]; }
    zorvan::ui::ProgramGridView* grid() const {
        return Child<zorvan::ui::ProgramGridView>(form(), "programGrid");
    }
    int gridRow() const { return grid()->currentIndex().row() + 1; }
    QString message() const { return ShownMessage(form()); }
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
    QString shownXR() const { return reg(9)->text(); }
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
    void Run(std::vector<ModalDriver::Action> actions) {
        ModalDriver driver(std::move(actions));
        Child<QAction>(form(), "runAction")->trigger();
        QVERIFY(driver.done());
    }
    void StartStepping(const char* address) {
        Child<QAction>(form(), "stepAction")->trigger();
        QVERIFY(QTest::qWaitForWindowExposed(step()));
        step()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(step()));
        QTest::keyClicks(Child<QLineEdit>(step(), "startAddressEdit"), address);
        QTest::keyClick(Child<QLineEdit>(step(), "startAddressEdit"), Qt::Key_Return);
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
        windows_ = std::make_unique<zorvan::windows::ApplicationWindows>();
        ShowActive(form());
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
        QCOMPARE(memory()->Cell(17, 1), QStringLiteral(".Α.............."));
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
        QCOMPARE(shown.join(' '), QStringLiteral("0000 0 0 0 0 0 1 0 2A 00 00 42"));
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
        QCOMPARE(consoleOutput()->toPlainText(), QStringLiteral("A"));
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
        QCOMPARE(Child<QAction>(form(), "breakpointAction")->text(),
                 QStringLiteral("Σημείο Διακοπής"));
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
        QCOMPARE(message(), QStringLiteral("#ff0000 Η διαδικασία εκτέλεσης απορρίφθηκε."));
        QVERIFY(!windows_->registerWindow->isVisible());
        workspace().grid.SetBreakpoint(3, true);  // BNE
        Run({ModalDriver::Type("0200")});
        QTRY_VERIFY(windows_->registerWindow->isVisible());
        QCOMPARE(shownXR(), QStringLiteral("02"));  // XR after one DEX
        QCOMPARE(gridRow(), 3);
        QString proposed;
        workspace().grid.SetBreakpoint(3, false);
        Run({ModalDriver::Type("", &proposed)});
        QCOMPARE(proposed, QStringLiteral("0203"));
        QCOMPARE(workspace().machine.AC, 0x41);
    }

    // A check of slips is switched in Εμφάνιση and kept in the settings: off, F9 no longer tells
    // the read of a cell that nobody wrote.
    void aSlipCheckIsSwitchedInTheViewMenu() {
        Load("_ 0200 LDA 0300 _ _ _ 0203 _ _ _ _");
        auto* item = Child<QAction>(form(), "unwrittenReadCheckAction");
        QVERIFY(item->isCheckable() && item->isChecked());
        Run({ModalDriver::Type("0200")});
        QVERIFY(message().contains(QStringLiteral("διάβασε το κελί 0300")));
        item->trigger();
        Run({ModalDriver::Type("0200")});
        QCOMPARE(message(), QStringLiteral("#0000ff Η διαδικασία εκτέλεσης ολοκληρώθηκε."));
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
        QCOMPARE(stepRow(0) + " | " + stepRow(1), QStringLiteral("0202 LDX #02 | 0204 JSR 0200"));
        QCOMPARE(shownXR(), QStringLiteral("02"));
        QCOMPARE(sentence(), QStringLiteral("LDX #02: XR 00 → 02"));
        QVERIFY(stepButton("continueButton")->isVisible() && stepButton("backButton")->isVisible());
        QVERIFY(highlighted(9) && !highlighted(8));  // XR, not AC

        QTest::keyClick(step(), Qt::Key_Return);  // Next: into the subroutine
        QCOMPARE(stepRow(1), QStringLiteral("0200 INY"));
        QCOMPARE(gridRow(), 1);
        Click("backButton");
        QCOMPARE(workspace().machine.PC, 0x0204);
        QCOMPARE(stepRow(1), QStringLiteral("0204 JSR 0200"));

        Click("stepOverButton");
        QCOMPARE(workspace().machine.PC, 0x0207);
        Click("backButton");  // the whole call
        QCOMPARE(workspace().machine.PC, 0x0204);

        Child<QLineEdit>(step(), "startAddressEdit")->clear();
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
        QCOMPARE(stepRow(1), QStringLiteral("020A LDA #41"));

        ClickMargin(8);
        QVERIFY(workspace().grid.HasBreakpoint(8));
        Click("continueButton");
        QCOMPARE(gridRow(), 8);
        const QString before = consoleOutput()->toPlainText();
        Click("continueButton");
        QCOMPARE(workspace().machine.PC, 0x020F);
        QVERIFY(consoleOutput()->toPlainText() != before);
        QCOMPARE(Child<QLabel>(step(), "statusLabel")->text(),
                 QStringLiteral("Τερματισμός Προγράμματος"));
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
        QVERIFY(stepButton("continueButton")->text().endsWith(QStringLiteral("(F5)")));
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
        QCOMPARE(steps->item(1, 1)->text(), QStringLiteral("DEX: XR 03 → 02"));
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
                 QStringLiteral("0202CAΚ"));
        QVERIFY(
            Child<QLabel>(step(), "pinNoticeLabel")->text().startsWith(QStringLiteral("«XYZ»")));
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
        QCOMPARE(caption->text(), QStringLiteral("Σημείο διακοπής γραμμής 3: διακοπή μετά από"));
        count->setValue(3);
        QTest::keyClick(stepButton("nextButton"), Qt::Key_Up);
        QVERIFY(count->isEnabled() && count->value() == 1 && caption->text().contains(" 2:"));
        count->setValue(2);
        for (int i = 0; i < 2; ++i) QTest::keyClick(stepButton("nextButton"), Qt::Key_Down);
        QVERIFY(!count->isEnabled() &&
                caption->text().endsWith(QStringLiteral("όχι σε αυτή τη γραμμή")));
        Click("continueButton");
        QCOMPARE(workspace().machine.XR, 1);
        QVERIFY(message().endsWith(QStringLiteral("Στάση στο 2ο πέρασμα.")));
        QCOMPARE(count->value(), 2);
    }

    // The character routine shows the window and replaces the output (C1 is capital alpha); the
    // string routine adds a line (the program puts the string's address, 020C, in 0000-0001);
    // clearing keeps the answer field. Asked for AC, the user's hexadecimal answer is stored and
    // echoed; other answers do nothing.
    void outputRoutinesAndAnAnswer() {
        workspace().machine.Write(0xFFFF, 0x60);  // the routines return through RTS
        QCOMPARE(RunProgram({0xA9, 0xC1, 0x20, 0xFF, 0xFF, 0}), QStringLiteral("Α"));
        QVERIFY(windows_->consoleWindow->isVisible());
        QCOMPARE(RunProgram({0xA9, 0x0C, 0x85, 0x00, 0xA9, 0x02, 0x85, 0x01, 0x20, 0xFC, 0xFF, 0,
                             'H', 'I', 0}),
                 QStringLiteral("Α\nHI"));
        consoleField()->setText("4a");
        QCOMPARE(RunProgram({0x20, 0xFD, 0xFF, 0}), QString());
        QCOMPARE(consoleField()->text(), QStringLiteral("4a"));

        RunProgram({0x20, 0xFE, 0xFF, 0});
        QTRY_VERIFY(consoleField()->hasFocus());
        QTest::keyClicks(consoleField(),
                         "\rzz\r\r");  // the answer left in the field first
        QCOMPARE(workspace().machine.AC, 0x4A);
        QCOMPARE(consoleOutput()->toPlainText(), QStringLiteral("Δώσε τον AC\nAC:J"));
    }
};

QTEST_MAIN(DebuggerTest)
#include "debugger_test.moc"
