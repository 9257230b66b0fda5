// The Run command with its start-address dialog and stop window, and the step window, driven
// through the main window's menu on the real widgets.

#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include "app/program_file.h"
#include "asm/assembly_pass.h"
#include "modal_driver.h"
#include "ui/program_grid_view.h"
#include "windows/console_window.h"
#include "windows/forms.h"
#include "windows/main_window.h"
#include "windows/register_window.h"
#include "windows/run_stop_window.h"
#include "windows/step_window.h"

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

class RunStepTest : public QObject {
    Q_OBJECT

    std::unique_ptr<zorvan::windows::Forms> forms_;
    zorvan::windows::TForm1* form() const { return forms_->Form1.get(); }
    zorvan::grid::Workspace& workspace() const { return forms_->workspace; }
    zorvan::windows::TStep* step() const { return forms_->Step.get(); }
    // Columns 1 to 4 of the step window's row, the empty ones left out.
    QString stepRow(int row) const {
        const auto cell = [&](int column) { return step()->StepGrid->item(row, column)->text(); };
        return QStringList{cell(1), cell(2), cell(3), cell(4)}.join(' ').simplified();
    }
    // The message area's colour and text.
    QString message() const {
        return form()->Memo1->palette().text().color().name() + ' ' + form()->Memo1->toPlainText();
    }

    // The program's rows as its file holds them ("_" an empty cell), assembled; the last row
    // holds the next address alone, as typing leaves it.
    void Load(const char* rows) {
        zorvan::app::PlaceProgramRows(workspace().grid, zorvan::app::ReadProgramText(rows));
        QVERIFY(zorvan::assembler::Assemble(workspace().grid, workspace().machine).lines > 0);
        workspace().executionEnabled = true;
        form()->RefreshFromWorkspace();
    }

    // The text typed over the field's selected one, then Enter there.
    static void Enter(QLineEdit* field, const char* text) {
        QTest::keyClicks(field, text);
        QTest::keyClick(field, Qt::Key_Return);
    }

    void Run(std::vector<ModalDriver::Action> actions) {
        ModalDriver driver(std::move(actions));
        form()->N15->trigger();
        QVERIFY(driver.done());
    }

  private slots:
    void init() { forms_ = std::make_unique<zorvan::windows::Forms>(); }

    // Closing the start dialog runs nothing; an address typed over the last one, selected,
    // runs the program. A long run counts its instructions in the stop window, whose button
    // stops it.
    void runsFromTheStartDialogUntilTheyEndOrAreStopped() {
        Load("_ 0200 LDA #05 _ _ _ 0202 _ _ _ _");
        Run({[](QWidget* modal) { modal->close(); }});
        QCOMPARE(message(), QStringLiteral("#ff0000 Η διαδικασία εκτέλεσης απορρίφθηκε."));
        QCOMPARE(workspace().machine.AC, 0);
        Run({[](QWidget* modal) { Enter(modal->findChild<QLineEdit*>(), "200"); }});
        QCOMPARE(message(), QStringLiteral("#0000ff Η διαδικασία εκτέλεσης ολοκληρώθηκε."));
        QTRY_VERIFY(forms_->Reg_Form->isVisible() && forms_->Reg_Form->Edits[8]->text() == "05");

        Load("_ 0200 BNE 0200 _ _ _ 0202 _ _ _ _");
        Run({[](QWidget* modal) { Enter(modal->findChild<QLineEdit*>(), "0200"); },
             [](QWidget* modal) {
                 auto* stop = qobject_cast<zorvan::windows::RunStopWindow*>(modal);
                 QTRY_VERIFY(stop && stop->CountLabel->text().section(' ', -1).toLongLong() > 0);
                 QTest::mouseClick(stop->StopButton, Qt::LeftButton);
             }});
        QCOMPARE(message(), QStringLiteral("#ff0000 Η εκτέλεση διακόπηκε από τον χρήστη."));
        QCOMPARE(workspace().machine.PC, 0x0200);
    }

    // A program printing in an endless loop: the stop window stays above the console, which is
    // shown once and repainted a few times a second, and Escape typed in the console stops it.
    void anEndlessConsoleLoopCanBeStoppedFromAnyWindow() {
        Load(
            "_ 0200 LDA #60 _ _ _ 0202 STA FFFF _ _ _ 0205 LDA #41 _ _ "
            "LOOP 0207 JSR FFFF _ _ _ 020A JMP LOOP _ _ _ 020D _ _ _ _");
        int paints = 0;
        PaintCounter counter(forms_->Console->ConsoleMemo->viewport(), &paints);
        qint64 ranMs = 0;
        Run({[](QWidget* modal) { Enter(modal->findChild<QLineEdit*>(), "0200"); },
             [&](QWidget* modal) {
                 auto* stop = qobject_cast<zorvan::windows::RunStopWindow*>(modal);
                 QVERIFY(stop != nullptr);
                 QVERIFY(stop->windowFlags() & Qt::WindowStaysOnTopHint);
                 QElapsedTimer clock;
                 clock.start();
                 paints = 0;
                 QTest::qWait(1000);
                 ranMs = clock.elapsed();
                 QVERIFY(forms_->Console->isVisible());
                 QCOMPARE(QApplication::activeModalWidget(), modal);
                 QTest::keyClick(forms_->Console->Edit1, Qt::Key_Escape);
             }});
        QCOMPARE(message(), QStringLiteral("#ff0000 Η εκτέλεση διακόπηκε από τον χρήστη."));
        QCOMPARE(forms_->Console->ConsoleMemo->toPlainText(), QStringLiteral("A"));
        QVERIFY2(paints <= 2 + ranMs / zorvan::windows::TConsole::kBurstRepaintMs,
                 qPrintable(QString("%1 paints in %2 ms").arg(paints).arg(ranMs)));
    }

    // The step window shows the line executed and the next, moves the grid's cursor along and
    // refills the registers; the grid takes no keys until the program ends.
    void stepThroughALoop() {
        Load("_ 0200 LDX #02 _ _ _ 0202 DEX _ _ _ _ 0203 BNE 0202 _ _ _ 0205 _ _ _ _");
        form()->N16->trigger();
        Enter(step()->Edit1, "0200");
        QCOMPARE(message(),
                 QStringLiteral("#0000ff Η έναρξη της εκτέλεσης έγινε από την διεύθυνση 0200"));
        QCOMPARE(step()->focusWidget(), static_cast<QWidget*>(step()->Button2));
        // clang-format off
        // StepGrid's rows (the line executed and the next), then XR and the grid's current row.
        const struct { QString rows, xr; int gridRow; } steps[] = {
            {"0200 LDX #02 | 0202 DEX", "02", 2},
            {"0202 DEX | 0203 BNE 0202", "01", 3},
            {"0200 LDX #02 | 0202 DEX", "01", 2}};
        // clang-format on
        for (const auto& s : steps) {
            if (&s != steps) QTest::mouseClick(step()->Button2, Qt::LeftButton);
            QCOMPARE(stepRow(0) + " | " + stepRow(1), s.rows);
            QCOMPARE(forms_->Reg_Form->Edits[9]->text(), s.xr);
            QCOMPARE(form()->StringGrid1->currentIndex().row() + 1, s.gridRow);
            QVERIFY(!form()->StringGrid1->isEnabled());
        }
        for (int i = 0; i < 2; ++i) QTest::mouseClick(step()->Button2, Qt::LeftButton);
        QCOMPARE(step()->Label1->text(), QStringLiteral("Τερματισμός Προγράμματος"));
        QVERIFY(!step()->Button2->isEnabled() && form()->StringGrid1->isEnabled());
    }
};

QTEST_MAIN(RunStepTest)
#include "run_step_test.moc"
