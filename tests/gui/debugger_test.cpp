// The debugger on the real widgets: breakpoints from F5 and the grid's margin, a run that stops
// at one, the step window's new buttons, and the step window's keys.

#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include "app/program_file.h"
#include "asm/assembly_pass.h"
#include "modal_driver.h"
#include "ui/change_highlight.h"
#include "ui/program_grid_view.h"
#include "windows/console_window.h"
#include "windows/forms.h"
#include "windows/main_window.h"
#include "windows/memory_window.h"
#include "windows/register_window.h"
#include "windows/step_window.h"

namespace {

// 0200 LDX #03 / 0202 DEX / 0203 BNE 0202 / 0205 LDA #41, then the address after it.
constexpr const char* kLoop =
    "_ 0200 LDX #03 _ _ _ 0202 DEX _ _ _ _ 0203 BNE 0202 _ _ _ 0205 LDA #41 _ _ _ 0207 _ _ _ _";

// A subroutine first, then 0202 LDX #02 / 0204 JSR 0200 / 0207 DEX / 0208 BNE 0204 /
// 020A LDA #41 / 020C JSR FFFF (the console shows A) / 020F.
constexpr const char* kCalls =
    "_ 0200 INY _ _ _ _ 0201 RTS _ _ _ _ 0202 LDX #02 _ _ _ 0204 JSR 0200 _ _ _ "
    "0207 DEX _ _ _ _ 0208 BNE 0204 _ _ _ 020A LDA #41 _ _ _ 020C JSR FFFF _ _ _ 020F _ _ _ _";

}  // namespace

class DebuggerTest : public QObject {
    Q_OBJECT

    std::unique_ptr<zorvan::windows::Forms> forms_;
    zorvan::windows::TForm1* form() const { return forms_->Form1.get(); }
    zorvan::grid::Workspace& workspace() const { return forms_->workspace; }
    zorvan::windows::TStep* step() const { return forms_->Step.get(); }
    zorvan::ui::ProgramGridView* grid() const { return form()->StringGrid1; }
    int gridRow() const { return grid()->currentIndex().row() + 1; }
    QString message() const {
        return form()->Memo1->palette().text().color().name() + ' ' + form()->Memo1->toPlainText();
    }
    QString stepRow(int row) const {
        const auto cell = [&](int column) { return step()->StepGrid->item(row, column)->text(); };
        return QStringList{cell(1), cell(2), cell(3), cell(4)}.join(' ').simplified();
    }
    bool highlighted(int field) const {
        return forms_->Reg_Form->Edits[static_cast<std::size_t>(field)]->palette().color(
                   QPalette::Base) == zorvan::ui::kChangeHighlight;
    }

    void Load(const char* rows) {
        zorvan::app::PlaceProgramRows(workspace().grid, zorvan::app::ReadProgramText(rows));
        QVERIFY(zorvan::assembler::Assemble(workspace().grid, workspace().machine).lines > 0);
        workspace().executionEnabled = true;
        form()->RefreshFromWorkspace();
    }
    void SetRow(int row) {
        workspace().grid.SetRow(row);
        form()->RefreshFromWorkspace();
    }
    // Clicks the marker margin beside a line.
    void ClickMargin(int row) {
        QHeaderView* margin = grid()->verticalHeader();
        const int y = margin->sectionViewportPosition(row - 1) + margin->sectionSize(row - 1) / 2;
        QTest::mouseClick(margin->viewport(), Qt::LeftButton, {}, QPoint(margin->width() / 2, y));
    }
    void Run(const char* typed, QString* proposed = nullptr) {
        ModalDriver driver({[=](QWidget* modal) {
            auto* field = modal->findChild<QLineEdit*>();
            if (proposed != nullptr) *proposed = field->text();
            QTest::keyClicks(field, typed);
            QTest::keyClick(field, Qt::Key_Return);
        }});
        form()->N15->trigger();
        QVERIFY(driver.done());
    }
    void StartStepping(const char* address) {
        form()->N16->trigger();
        QVERIFY(QTest::qWaitForWindowExposed(step()));
        step()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(step()));
        QTest::keyClicks(step()->Edit1, address);
        QTest::keyClick(step()->Edit1, Qt::Key_Return);
    }

  private slots:
    void init() {
        forms_ = std::make_unique<zorvan::windows::Forms>();
        form()->show();
        form()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form()));
    }

    // F5 in the Εκτέλεση menu and a click in the margin toggle the current line's breakpoint; the
    // line shows its dot in the margin and its tint in every column.
    void f5AndTheMarginToggleABreakpoint() {
        Load(kLoop);
        QAction* item = form()->N25;
        QCOMPARE(item->text(), QStringLiteral("Σημείο Διακοπής"));
        QCOMPARE(item->shortcut(), QKeySequence(Qt::Key_F5));
        QVERIFY(form()->N13->actions().contains(item));
        SetRow(4);
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
    }

    // A run stops before the marked line: the blue notice names its line and address, the
    // registers come up, the cursor is on that line, and F9 proposes PC, from which it goes on.
    void aRunStopsAtABreakpointAndGoesOnFromIt() {
        Load(kLoop);
        workspace().grid.SetBreakpoint(3, true);  // BNE
        Run("0200");
        QCOMPARE(message(),
                 QStringLiteral("#0000ff Σημείο διακοπής στη γραμμή 3, διεύθυνση 0203."));
        QTRY_VERIFY(forms_->Reg_Form->isVisible());
        QCOMPARE(forms_->Reg_Form->Edits[9]->text(), QStringLiteral("02"));  // XR after one DEX
        QCOMPARE(gridRow(), 3);
        QString proposed;
        workspace().grid.SetBreakpoint(3, false);
        Run("", &proposed);
        QCOMPARE(proposed, QStringLiteral("0203"));
        QCOMPARE(message(), QStringLiteral("#0000ff Η διαδικασία εκτέλεσης ολοκληρώθηκε."));
        QCOMPARE(workspace().machine.AC, 0x41);
    }

    // The new buttons, each as a student uses it, with the sentence under the rows and the
    // changed fields highlighted; Enter on the window is Next.
    void theStepWindowsNewButtons() {
        Load(kCalls);
        workspace().machine.Write(0xFFFF, 0x60);  // the console routine returns
        StartStepping("0202");
        QCOMPARE(step()->SentenceLabel->text(), QStringLiteral("LDX #02: XR 00 → 02"));
        QVERIFY(step()->ContinueButton->isVisible() && step()->BackButton->isVisible());
        QVERIFY(highlighted(9) && !highlighted(8));  // XR, not AC

        QTest::keyClick(step(), Qt::Key_Return);  // Next: into the subroutine
        QCOMPARE(stepRow(1), QStringLiteral("0200 INY"));
        QTest::mouseClick(step()->BackButton, Qt::LeftButton);
        QCOMPARE(workspace().machine.PC, 0x0204);
        QCOMPARE(stepRow(1), QStringLiteral("0204 JSR 0200"));

        QTest::mouseClick(step()->StepOverButton, Qt::LeftButton);
        QCOMPARE(workspace().machine.PC, 0x0207);
        QCOMPARE(workspace().machine.YR, 1);
        QCOMPARE(step()->SentenceLabel->text(),
                 QStringLiteral("RTS: επιστροφή στη διεύθυνση 0207"));

        // The greyed grid still takes a click on a line: the cursor for Έως τον κέρσορα.
        QVERIFY(!grid()->isEnabled());
        const QRect lda = grid()->visualRect(grid()->model()->index(6, 2));
        QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {}, lda.center());
        QCOMPARE(gridRow(), 7);
        QTest::mouseClick(step()->RunToCursorButton, Qt::LeftButton);
        QCOMPARE(workspace().machine.PC, 0x020A);
        QCOMPARE(workspace().machine.XR, 0);
        QCOMPARE(stepRow(1), QStringLiteral("020A LDA #41"));

        // Συνέχεια to a breakpoint set in the margin of the greyed grid, then to the end; the
        // console's letter goes again with Πίσω.
        ClickMargin(8);
        QVERIFY(workspace().grid.HasBreakpoint(8));
        QTest::mouseClick(step()->ContinueButton, Qt::LeftButton);
        QCOMPARE(message(),
                 QStringLiteral("#0000ff Σημείο διακοπής στη γραμμή 8, διεύθυνση 020C."));
        QCOMPARE(gridRow(), 8);
        const QString before = forms_->Console->ConsoleMemo->toPlainText();
        QTest::mouseClick(step()->ContinueButton, Qt::LeftButton);
        QCOMPARE(workspace().machine.PC, 0x020F);
        QVERIFY(forms_->Console->ConsoleMemo->toPlainText() != before);
        QTest::mouseClick(step()->BackButton, Qt::LeftButton);  // the RTS at FFFF
        QTest::mouseClick(step()->BackButton, Qt::LeftButton);  // JSR FFFF
        QCOMPARE(workspace().machine.PC, 0x020C);
        QCOMPARE(forms_->Console->ConsoleMemo->toPlainText(), before);

        // Clear registers ends the history; Πίσω says so.
        form()->N22->trigger();
        QTest::mouseClick(step()->BackButton, Qt::LeftButton);
        QCOMPARE(message(), QStringLiteral("#ff0000 Δεν υπάρχει προηγούμενη εντολή: η επιστροφή "
                                           "δεν μπορεί να πάει πιο πίσω."));
    }

    // Enter is Next only after Start; a console routine leaves the keyboard in the step window.
    void enterIsNextAndTheKeyboardStaysAfterAConsoleRoutine() {
        Load(kCalls);
        workspace().machine.Write(0xFFFF, 0x60);
        form()->N16->trigger();
        QVERIFY(QTest::qWaitForWindowExposed(step()));
        QTest::keyClick(step(), Qt::Key_Return);  // before Start: nothing runs
        QCOMPARE(workspace().machine.PC, 0);
        QTest::keyClicks(step()->Edit1, "020A");
        QTest::keyClick(step()->Edit1, Qt::Key_Return);  // Start: LDA #41
        QCOMPARE(workspace().machine.PC, 0x020C);
        step()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(step()));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);  // JSR FFFF
        QCOMPARE(workspace().machine.PC, 0xFFFF);
        QVERIFY(forms_->Console->isVisible());
        QTRY_VERIFY(step()->isActiveWindow());
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(step()->Button2));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter);  // the RTS
        QCOMPARE(workspace().machine.PC, 0x020F);
    }

    // Escape closes the step, memory, register and console windows; in the memory window's
    // open cell editor it only cancels the edit.
    void escapeClosesTheSecondaryWindows() {
        Load(kLoop);
        StartStepping("0200");
        QVERIFY(!grid()->isEnabled());
        QTest::keyClick(step()->Button2, Qt::Key_Escape);
        QVERIFY(!step()->isVisible());
        QVERIFY(grid()->isEnabled());  // closing gives the grid back

        QWidget* windows[] = {forms_->MemForm.get(), forms_->Reg_Form.get(), forms_->Console.get()};
        for (QWidget* window : windows) {
            window->show();
            window->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(window));
            QWidget* focused = QApplication::focusWidget();
            QTest::keyClick(focused != nullptr ? focused : window, Qt::Key_Escape);
            QVERIFY2(!window->isVisible(), window->objectName().toUtf8());
        }
    }
};

QTEST_MAIN(DebuggerTest)
#include "debugger_test.moc"
