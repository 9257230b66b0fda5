// The Run command with its start-address dialog and stop window, and the step window, driven
// through the main window's menu on the real widgets.

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include "asm/assembly_pass.h"
#include "modal_driver.h"
#include "ui/application.h"
#include "ui/program_grid_view.h"
#include "windows/forms.h"
#include "windows/main_window.h"
#include "windows/register_window.h"
#include "windows/run_stop_window.h"
#include "windows/start_address_dialog.h"
#include "windows/step_window.h"

using zorvan::windows::Forms;

namespace {

// Types the address into the start dialog's field: Enter there is Ok.
ModalDriver::Action TypeStart(const QString& keys) {
    return [keys](QWidget* modal) {
        auto* dialog = qobject_cast<zorvan::windows::Tpr_start*>(modal);
        QVERIFY(dialog != nullptr);
        dialog->Edit1->selectAll();
        QTest::keyClicks(dialog->Edit1, keys);
        QTest::keyClick(dialog->Edit1, Qt::Key_Return);
    };
}

}  // namespace

class RunStepTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Forms> forms_;
    zorvan::windows::TForm1* form() const { return forms_->Form1.get(); }
    zorvan::app::Workspace& workspace() const { return forms_->workspace; }
    QLineEdit* reg(int field) const { return forms_->Reg_Form->Edits[field]; }
    zorvan::windows::TStep* step() const { return forms_->Step.get(); }
    QString stepCell(int row, int column) const {
        return step()->StepGrid->item(row, column)->text();
    }
    QColor messageColour() const {
        return form()->Memo1->palette().color(QPalette::Active, QPalette::Text);
    }

    // Lines "address instruction operand" into the grid from row 1, assembled; the last holds the
    // next address alone, as typing leaves it.
    void Load(const QStringList& lines) {
        auto& grid = workspace().grid;
        grid.SetRowCount(lines.size() + 2);
        for (int row = 1; row <= lines.size(); ++row) {
            const QStringList cells = lines[row - 1].split(' ');
            for (int c = 0; c < cells.size(); ++c) grid.SetCell(c + 1, row, cells[c].toStdString());
        }
        grid.SetCurrent(1, 1);
        QCOMPARE(zorvan::assembler::Assemble(grid, workspace().machine).lines, lines.size() - 1);
        workspace().executionEnabled = true;
        form()->RefreshFromWorkspace();
    }

    void Run(std::vector<ModalDriver::Action> actions) {
        ModalDriver driver(std::move(actions));
        form()->N15->trigger();
        QVERIFY(driver.done());
    }

  private slots:
    void init() {
        forms_ = std::make_unique<Forms>();
        form()->show();
        form()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form()));
    }
    void cleanup() { forms_.reset(); }

    // Enter on the start dialog's 0000 does nothing; a typed address runs the program.
    void aRunStartsFromTheDialogAndShowsTheRegisters() {
        Load({"0200 LDA #05", "0202"});
        Run({[](QWidget* modal) {
            auto* dialog = qobject_cast<zorvan::windows::Tpr_start*>(modal);
            QVERIFY(dialog != nullptr && dialog->Edit1->text() == QStringLiteral("0000"));
            QTest::keyClick(dialog->Edit1, Qt::Key_Return);
            QVERIFY(dialog->isVisible());
            TypeStart("0200")(modal);
        }});
        QCOMPARE(form()->Memo1->toPlainText(),
                 QStringLiteral("Η διαδικασία εκτέλεσης ολοκληρώθηκε."));
        QCOMPARE(messageColour(), QColor(Qt::blue));
        QTRY_VERIFY(forms_->Reg_Form->isVisible());
        QCOMPARE(reg(8)->text(), QStringLiteral("05"));

        workspace().machine.AC = 0;
        Run({[](QWidget* modal) { modal->close(); }});
        QCOMPARE(form()->Memo1->toPlainText(),
                 QStringLiteral("Η διαδικασία εκτέλεσης απορρίφθηκε."));
        QCOMPARE(messageColour(), QColor(Qt::red));
        QCOMPARE(workspace().machine.AC, 0);
    }

    void aLongRunIsStoppedFromTheStopWindow() {
        Load({"0200 BNE 0200", "0202"});
        forms_->pr_start->stopWindowDelayMs = 50;
        qint64 countShown = -1;
        Run({TypeStart("0200"), [&countShown](QWidget* modal) {
                 auto* stop = qobject_cast<zorvan::windows::RunStopWindow*>(modal);
                 QVERIFY(stop != nullptr);
                 // Let the run go on for a few slices, then stop it.
                 QTest::qWait(150);
                 countShown = stop->CountLabel->text().section(' ', -1).toLongLong();
                 QTest::mouseClick(stop->StopButton, Qt::LeftButton);
             }});
        QVERIFY(countShown > 0);
        QCOMPARE(form()->Memo1->toPlainText(),
                 QStringLiteral("Η εκτέλεση διακόπηκε από τον χρήστη."));
        QCOMPARE(workspace().machine.PC, 0x0200);
        QTRY_VERIFY(forms_->Reg_Form->isVisible());
    }

    // The step window shows the line executed and the next, moves the grid's cursor along and
    // refills the registers; the grid takes no keys until the program ends.
    void stepThroughALoop() {
        Load({"0200 LDX #02", "0202 DEX", "0203 BNE 0202", "0205"});
        QTest::keyClick(form(), Qt::Key_F10);
        QTRY_VERIFY(step()->isVisible());
        step()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(step()));
        step()->Edit1->setFocus();
        step()->Edit1->selectAll();
        QTest::keyClicks(step()->Edit1, "0200");
        QTest::keyClick(step()->Edit1, Qt::Key_Return);
        QCOMPARE(form()->Memo1->toPlainText(),
                 QStringLiteral("Η έναρξη της εκτέλεσης έγινε από την διεύθυνση 0200"));
        QCOMPARE(step()->focusWidget(), static_cast<QWidget*>(step()->Button2));

        QCOMPARE(stepCell(0, 2), QStringLiteral("LDX"));
        const struct {
            const char *executed, *toExecute, *xr;
            int gridRow;
        } steps[] = {
            {"0200", "0202", "02", 2}, {"0202", "0203", "01", 3}, {"0200", "0202", "01", 2}};
        for (const auto& s : steps) {
            if (&s != steps) QTest::mouseClick(step()->Button2, Qt::LeftButton);
            QCOMPARE(stepCell(0, 1), QString::fromLatin1(s.executed));
            QCOMPARE(stepCell(1, 1), QString::fromLatin1(s.toExecute));
            QCOMPARE(reg(9)->text(), QString::fromLatin1(s.xr));
            QCOMPARE(form()->StringGrid1->currentIndex().row() + 1, s.gridRow);
            QVERIFY(!form()->StringGrid1->isEnabled());
        }
        for (int i = 0; i < 10 && step()->Button2->isEnabled(); ++i)
            QTest::mouseClick(step()->Button2, Qt::LeftButton);
        QCOMPARE(step()->Label1->text(), QStringLiteral("Τερματισμός Προγράμματος"));
        QVERIFY(!step()->Button2->isEnabled() && !step()->Button3->isEnabled());
        QVERIFY(form()->StringGrid1->isEnabled());
    }
};

int main(int argc, char** argv) {
    zorvan::ui::Application application(argc, argv);
    RunStepTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "run_step_test.moc"
