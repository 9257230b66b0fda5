// The Run command with its start-address dialog and stop window, and the step window, driven
// through the main window's menu on the real widgets.

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <initializer_list>
#include <memory>

#include "app/workspace.h"
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

const QColor kRed(0xFF, 0x00, 0x00);
const QColor kBlue(0x00, 0x00, 0xFF);

struct Line {
    const char* address;
    const char* instruction;
    const char* first;
    std::initializer_list<int> bytes;
};

// Types keys into the start-address dialog's field: Enter there is Ok.
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

  private:
    std::unique_ptr<Forms> forms_;
    zorvan::windows::TForm1* form() const { return forms_->Form1.get(); }
    zorvan::app::Workspace& workspace() const { return forms_->workspace; }
    QLineEdit* reg(int field) const { return forms_->Reg_Form->Edits[field]; }
    zorvan::windows::TStep* step() const { return forms_->Step.get(); }
    QString stepCell(int row, int column) const {
        return step()->StepGrid->item(row, column)->text();
    }

    // The lines into the grid from row 1 and their bytes into memory, as Assemble leaves them:
    // the next line's address pre-filled in the row after, one empty line in the table.
    void Load(std::initializer_list<Line> lines, const char* nextAddress) {
        auto& grid = workspace().grid;
        int row = 1;
        for (const Line& line : lines) {
            grid.SetCell(1, row, line.address);
            grid.SetCell(2, row, line.instruction);
            grid.SetCell(3, row, line.first);
            int address = QString::fromLatin1(line.address).toInt(nullptr, 16);
            for (int byte : line.bytes) workspace().machine.Write(address++, byte);
            ++row;
        }
        grid.SetCell(1, row, nextAddress);
        grid.SetRowCount(row + 1);
        grid.SetCurrent(1, 1);
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

    void shortRunCompletesAndShowsTheRegisters() {
        Load({{"0200", "LDA", "#05", {0xA9, 0x05}}}, "0202");
        // Enter with the initial 0000 does nothing; the typed address is upper-cased.
        Run({[](QWidget* modal) {
            auto* dialog = qobject_cast<zorvan::windows::Tpr_start*>(modal);
            QVERIFY(dialog != nullptr);
            QCOMPARE(dialog->windowTitle(), QStringLiteral("Έναρξη"));
            QCOMPARE(dialog->Edit1->text(), QStringLiteral("0000"));
            QTest::keyClick(dialog->Edit1, Qt::Key_Return);
            QVERIFY(dialog->isVisible());
            TypeStart("0a00")(modal);
            QCOMPARE(dialog->Edit1->text(), QStringLiteral("0A00"));
            TypeStart("200")(modal);
        }});
        QCOMPARE(form()->Memo1->toPlainText(),
                 QStringLiteral("Η διαδικασία εκτέλεσης ολοκληρώθηκε."));
        QCOMPARE(form()->Memo1->palette().color(QPalette::Active, QPalette::Text), kBlue);
        QTRY_VERIFY(forms_->Reg_Form->isVisible());
        QCOMPARE(reg(8)->text(), QStringLiteral("05"));
        QCOMPARE(reg(0)->text(), QStringLiteral("0203"));
        QCOMPARE(forms_->pr_start->Edit1->text(), QStringLiteral("200"));
    }

    void closingTheDialogCancelsTheRun() {
        Load({{"0200", "LDA", "#05", {0xA9, 0x05}}}, "0202");
        Run({[](QWidget* modal) { modal->close(); }});
        QCOMPARE(form()->Memo1->toPlainText(),
                 QStringLiteral("Η διαδικασία εκτέλεσης απορρίφθηκε."));
        QCOMPARE(form()->Memo1->palette().color(QPalette::Active, QPalette::Text), kRed);
        QCOMPARE(workspace().machine.AC, 0);
        QVERIFY(!forms_->Reg_Form->isVisible());
    }

    void aFullStackLeavesTheInterpretersMessage() {
        Load({{"0200", "PHA", "", {0x48}}}, "0201");
        workspace().machine.SP = 0;
        Run({TypeStart("0200")});
        QCOMPARE(form()->Memo1->toPlainText(), QStringLiteral("Μνήμη σωρού πλήρης."));
        QCOMPARE(form()->Memo1->palette().color(QPalette::Active, QPalette::Text), kRed);
        QCOMPARE(workspace().grid.Col(), 2);
        QVERIFY(workspace().machine.halted);
        QTRY_VERIFY(forms_->Reg_Form->isVisible());
    }

    void aLongRunIsStoppedFromTheStopWindow() {
        Load({{"0200", "BNE", "0200", {0xD0, 0xFE}}}, "0202");
        forms_->pr_start->stopWindowDelayMs = 50;
        qint64 countShown = -1;
        Run({TypeStart("0200"), [&countShown](QWidget* modal) {
                 auto* stop = qobject_cast<zorvan::windows::RunStopWindow*>(modal);
                 QVERIFY(stop != nullptr);
                 QCOMPARE(stop->windowTitle(), QStringLiteral("Εκτέλεση"));
                 QCOMPARE(stop->StopButton->text(), QStringLiteral("Διακοπή"));
                 // Let the run go on for a few slices, then stop it.
                 QTest::qWait(150);
                 countShown = stop->CountLabel->text().section(' ', -1).toLongLong();
                 QTest::mouseClick(stop->StopButton, Qt::LeftButton);
             }});
        QVERIFY(countShown > 0);
        QCOMPARE(form()->Memo1->toPlainText(),
                 QStringLiteral("Η εκτέλεση διακόπηκε από τον χρήστη."));
        QCOMPARE(form()->Memo1->palette().color(QPalette::Active, QPalette::Text), kRed);
        QCOMPARE(workspace().machine.PC, 0x0200);
        QTRY_VERIFY(forms_->Reg_Form->isVisible());
    }

    void stepThroughALoop() {
        Load({{"0200", "LDX", "#03", {0xA2, 0x03}},
              {"0202", "DEX", "", {0xCA}},
              {"0203", "BNE", "0202", {0xD0, 0xFD}}},
             "0205");
        workspace().machine.SP = 0x10;
        QTest::keyClick(form(), Qt::Key_F10);
        QTRY_VERIFY(step()->isVisible());
        QCOMPARE(step()->windowTitle(), QStringLiteral("Βηματική Εκτέλεση"));
        QCOMPARE(workspace().machine.SP, 0xFF);  // the registers were cleared
        QCOMPARE(step()->Edit1->text(), QStringLiteral("0000"));
        QVERIFY(!step()->Button2->isVisible() && !step()->Button3->isVisible());
        QCOMPARE(stepCell(0, 0), QStringLiteral("Εντολή που εκτελέστηκε:"));
        QCOMPARE(stepCell(1, 0), QStringLiteral("Εντολή προς εκτέλεση:"));

        step()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(step()));
        step()->Edit1->setFocus();
        step()->Edit1->selectAll();
        QTest::keyClicks(step()->Edit1, "0200");
        QTest::keyClick(step()->Edit1, Qt::Key_Return);

        QCOMPARE(form()->Memo1->toPlainText(),
                 QStringLiteral("Η έναρξη της εκτέλεσης έγινε από την διεύθυνση 0200"));
        QCOMPARE(stepCell(0, 1), QStringLiteral("0200"));
        QCOMPARE(stepCell(0, 2), QStringLiteral("LDX"));
        QCOMPARE(stepCell(0, 3), QStringLiteral("#03"));
        QCOMPARE(stepCell(1, 1), QStringLiteral("0202"));
        QCOMPARE(form()->StringGrid1->currentIndex().row() + 1, 2);
        QCOMPARE(form()->StringGrid1->currentIndex().column(), 2);
        QVERIFY(!form()->StringGrid1->isEnabled());
        QVERIFY(step()->Label1->isVisible());
        QCOMPARE(step()->Label1->text(), QStringLiteral("Υπο Εκτέλεση..."));
        QVERIFY(forms_->Reg_Form->isVisible());
        QCOMPARE(reg(9)->text(), QStringLiteral("03"));
        QCOMPARE(step()->focusWidget(), static_cast<QWidget*>(step()->Button2));

        const struct {
            int gridRow;
            const char* executed;
            const char* toExecute;
            const char* xr;
        } steps[] = {
            {3, "0202", "0203", "02"}, {2, "0200", "0202", "02"}, {3, "0202", "0203", "01"},
            {2, "0200", "0202", "01"}, {3, "0202", "0203", "00"},
        };
        for (const auto& s : steps) {
            QTest::mouseClick(step()->Button2, Qt::LeftButton);
            QCOMPARE(form()->StringGrid1->currentIndex().row() + 1, s.gridRow);
            QCOMPARE(stepCell(0, 1), QString::fromLatin1(s.executed));
            QCOMPARE(stepCell(1, 1), QString::fromLatin1(s.toExecute));
            QCOMPARE(reg(9)->text(), QString::fromLatin1(s.xr));  // refilled after each step
        }
        QTest::mouseClick(step()->Button2, Qt::LeftButton);
        QCOMPARE(step()->Label1->text(), QStringLiteral("Τερματισμός Προγράμματος"));
        QVERIFY(!step()->Button2->isEnabled() && !step()->Button3->isEnabled());
        QVERIFY(form()->StringGrid1->isEnabled());
    }

    void stopKeepsTheGridDisabledUntilTheWindowCloses() {
        Load({{"0200", "INX", "", {0xE8}}, {"0201", "INX", "", {0xE8}}}, "0202");
        form()->N16->trigger();
        QTRY_VERIFY(step()->isVisible());
        step()->Edit1->setText("0200");
        QTest::mouseClick(step()->Button1, Qt::LeftButton);
        QTest::mouseClick(step()->Button3, Qt::LeftButton);
        QCOMPARE(step()->Label1->text(),
                 QStringLiteral("Τερματισμός προγράμματος από τον χρήστη."));
        QVERIFY(!step()->Button2->isEnabled());
        QVERIFY(step()->Button3->isEnabled());
        QVERIFY(!form()->StringGrid1->isEnabled());

        // The step command again while open clears the registers but resets nothing.
        form()->N16->trigger();
        QCOMPARE(workspace().machine.XR, 0);
        QCOMPARE(step()->Edit1->text(), QStringLiteral("0200"));
        QVERIFY(step()->Label1->isVisible());

        step()->close();
        QVERIFY(form()->StringGrid1->isEnabled());
        form()->N16->trigger();
        QTRY_VERIFY(step()->isVisible());
        QCOMPARE(step()->Edit1->text(), QStringLiteral("0000"));
        QVERIFY(!step()->Label1->isVisible());
        QCOMPARE(stepCell(0, 1), QString());
    }
};

int main(int argc, char** argv) {
    zorvan::ui::Application application(argc, argv);
    RunStepTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "run_step_test.moc"
