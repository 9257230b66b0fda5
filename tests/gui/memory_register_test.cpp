// The memory and register windows on the real widgets: keys reaching the dump's cells, the
// fields storing into the machine, their warnings, and refilling when a window comes to the front.

#include <QLineEdit>
#include <QTest>

#include "modal_driver.h"
#include "ui/application.h"
#include "windows/forms.h"
#include "windows/main_window.h"
#include "windows/memory_grid.h"
#include "windows/memory_window.h"
#include "windows/register_window.h"

using zorvan::windows::Forms;

class MemoryRegisterTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Forms> forms_;
    zorvan::app::Workspace& workspace() const { return forms_->workspace; }
    zorvan::windows::TMemForm* memory() const { return forms_->MemForm.get(); }
    QLineEdit* reg(int field) const { return forms_->Reg_Form->Edits[field]; }

    static void ShowActive(QWidget* window) {
        window->show();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
    }
    // Another window to the front and back: the window refills.
    static void AwayAndBack(QWidget* window) {
        QWidget other;
        ShowActive(&other);
        ShowActive(window);
    }
    // Presses the key with a warning box, if one comes, answered; the window is active again
    // after it, as a window manager leaves it.
    static QStringList Press(QWidget* window, const std::function<void()>& press) {
        QStringList warnings;
        {
            ModalDriver driver({ModalDriver::Answer(&warnings)});
            press();
        }
        window->activateWindow();
        [&] { QVERIFY(QTest::qWaitForWindowActive(window)); }();
        return warnings;
    }
    // Replaces the field's text by typing, then the key.
    static QStringList TypeAndLeave(QLineEdit* edit, const QString& text, Qt::Key key) {
        edit->setFocus();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, text);
        return Press(edit->window(), [&] { QTest::keyClick(edit, key); });
    }
    // Puts the dump's cursor on (column, row) and types the text into the editor it opens.
    void TypeIntoCell(int column, int row, const QString& text, Qt::Key key) {
        memory()->MemGrid->setFocus();
        memory()->MemGrid->setCurrentCell(row - 1, column);
        QTest::keyClicks(memory()->MemGrid, text.left(1));
        QWidget* editor = QApplication::focusWidget();
        QVERIFY(editor != memory()->MemGrid);
        QTest::keyClicks(editor, text.mid(1));
        QTest::keyClick(editor, key);
    }

  private slots:
    void init() {
        forms_ = std::make_unique<Forms>();
        forms_->Form1->show();
    }
    void cleanup() { forms_.reset(); }

    void memoryWindowStoresTheTypedBytes() {
        ShowActive(memory());
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(memory()->Edit1));
        QCOMPARE(TypeAndLeave(memory()->Edit1, "0200", Qt::Key_Return), QStringList());
        QCOMPARE(memory()->Cell(0, 1), QStringLiteral("0200"));

        // Enter and Down store the editor's text before the cursor moves; Tab does not store.
        TypeIntoCell(1, 1, "3c", Qt::Key_Return);
        QCOMPARE(workspace().machine.memory[0x0200], 0x3C);
        QCOMPARE(memory()->MemGrid->currentColumn(), 2);
        QCOMPARE(memory()->Cell(1, 1), QStringLiteral("3C"));
        TypeIntoCell(5, 3, "41", Qt::Key_Down);
        QCOMPARE(workspace().machine.memory[0x0224], 0x41);
        QCOMPARE(memory()->MemGrid->currentRow(), 3);
        QCOMPARE(memory()->Cell(17, 3), QStringLiteral("....A..........."));
        TypeIntoCell(2, 2, "77", Qt::Key_Tab);
        QCOMPARE(workspace().machine.memory[0x0211], 0);

        // A text that is not hexadecimal is warned about and stored as 00.
        workspace().machine.memory[0x0203] = 0x55;
        QCOMPARE(Press(memory(), [&] { TypeIntoCell(4, 1, "XY", Qt::Key_Return); }),
                 QStringList{"Το 'XY' δεν είναι δεκαεξαδικός αριθμός"});
        QCOMPARE(workspace().machine.memory[0x0203], 0);

        // Coming to the front shows memory again.
        workspace().machine.memory[0x0201] = 0xC1;
        AwayAndBack(memory());
        QCOMPARE(memory()->Cell(2, 1), QStringLiteral("C1"));
        QCOMPARE(memory()->Cell(2, 2), QStringLiteral("00"));
        QCOMPARE(memory()->Cell(17, 1), QStringLiteral("<Α.............."));
    }

    void registerWindowShowsStoresAndRefills() {
        workspace().machine.AC = 0x1FF;  // wider than its field
        ShowActive(forms_->Reg_Form.get());
        const QStringList shown{"0000", "0", "0", "0", "0", "0", "0", "0", "1FF", "00", "00", "FF"};
        for (int field = 0; field < 12; ++field) QCOMPARE(reg(field)->text(), shown[field]);

        QCOMPARE(TypeAndLeave(reg(8), "2a", Qt::Key_Tab), QStringList());
        QCOMPARE(workspace().machine.AC, 0x2A);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(reg(9)));
        QCOMPARE(TypeAndLeave(reg(6), "1", Qt::Key_Tab), QStringList());
        QCOMPARE(workspace().machine.status[6], 1);  // Edit7 is Z

        workspace().machine.SP = 0x42;
        AwayAndBack(forms_->Reg_Form.get());
        QCOMPARE(reg(11)->text(), QStringLiteral("42"));
    }

    // The entry stays for the user to correct, focus stays on it, the machine keeps its value.
    void registerWarnings() {
        const struct {
            int field;
            const char *typed, *warning;
        } cases[] = {
            {8, "A", "Οχι λιγότερα από δύο δεκαεξαδικά ψηφία."},
            {0, "12G4", "Λάθος τιμή καταχωρητή. Δεκτά μόνο τέσσερα δεκαεξαδικά ψηφία."},
            {1, "2", "Λάθος τιμή καταχωρητή. Δεκτά μόνο δυαδικά ψηφία (bit 0/1)."},
        };
        ShowActive(forms_->Reg_Form.get());
        const auto before = workspace().machine;
        for (const auto& c : cases) {
            QCOMPARE(TypeAndLeave(reg(c.field), c.typed, Qt::Key_Tab),
                     QStringList{QString::fromUtf8(c.warning)});
            QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(reg(c.field)));
            QCOMPARE(reg(c.field)->text(), QString::fromLatin1(c.typed));
            reg(c.field)->setText(c.field == 0 ? "0000" : c.field == 8 ? "00" : "0");
        }
        QVERIFY(workspace().machine.PC == before.PC && workspace().machine.AC == before.AC &&
                workspace().machine.status == before.status);
    }
};

int main(int argc, char** argv) {
    zorvan::ui::Application application(argc, argv);
    MemoryRegisterTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "memory_register_test.moc"
