// The memory and register windows on the real widgets: moving the dump, editing bytes, the
// fields' checks and their warnings.

#include <QAction>
#include <QLineEdit>
#include <QTest>
#include <memory>

#include "app/workspace.h"
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

  private:
    std::unique_ptr<Forms> forms_;
    std::unique_ptr<QWidget> other_;
    zorvan::app::Workspace& workspace() const { return forms_->workspace; }
    zorvan::windows::TMemForm* memory() const { return forms_->MemForm.get(); }
    zorvan::windows::TReg_Form* registers() const { return forms_->Reg_Form.get(); }
    QLineEdit* reg(int field) const { return registers()->Edits[field]; }

    void ShowActive(QWidget* window) {
        window->show();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
    }

    // Types text into the field's start and Enter there.
    static void EnterAddress(QLineEdit* edit, const QString& text) {
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, text);
        QTest::keyClick(edit, Qt::Key_Return);
    }

    // Puts the grid's cursor on (column, row) and types the text, which opens the cell editor.
    void TypeIntoCell(int column, int row, const QString& text) {
        memory()->MemGrid->setFocus();
        memory()->MemGrid->setCurrentCell(row - 1, column);
        QTest::keyClicks(memory()->MemGrid, text.left(1));
        QWidget* editor = QApplication::focusWidget();
        QVERIFY(editor != memory()->MemGrid);
        QTest::keyClicks(editor, text.mid(1));
    }

    // Another application window comes to the front.
    void LeaveForAnotherWindow() {
        other_ = std::make_unique<QWidget>();
        ShowActive(other_.get());
    }

    // The window is active again once its message box has gone.
    static void BackFromBox(QWidget* window) {
        if (!QTest::qWaitForWindowActive(window, 200)) {
            window->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(window));
        }
    }

    static void Press(Qt::Key key) { QTest::keyClick(QApplication::focusWidget(), key); }

  private slots:
    void init() {
        forms_ = std::make_unique<Forms>();
        forms_->Form1->show();
    }
    void cleanup() {
        other_.reset();
        forms_.reset();
    }

    void dumpAtStartUp() {
        ShowActive(memory());
        QCOMPARE(memory()->windowTitle(), QStringLiteral("Μνήμη 6502"));
        QCOMPARE(memory()->Cell(0, 1), QStringLiteral("0000"));
        QCOMPARE(memory()->Cell(0, 16), QStringLiteral("00F0"));
        QCOMPARE(memory()->Cell(16, 16), QStringLiteral("00"));
        QCOMPARE(memory()->Cell(17, 1), QStringLiteral("................"));
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(memory()->Edit1));
    }

    void movingTheViewFromTheStartField_data() {
        QTest::addColumn<QString>("address");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("firstLine");
        QTest::newRow("FFFF shows from FEFF") << "ffff" << 0 << "FEFF";
        QTest::newRow("Page Down from FD00") << "FD00" << int(Qt::Key_PageDown) << "FE00";
        QTest::newRow("Up from 0008") << "0008" << int(Qt::Key_Up) << "0000";
        QTest::newRow("Down from FEF0") << "FEF0" << int(Qt::Key_Down) << "FEFF";
    }

    void movingTheViewFromTheStartField() {
        QFETCH(QString, address);
        QFETCH(int, key);
        QFETCH(QString, firstLine);
        ShowActive(memory());
        EnterAddress(memory()->Edit1, address);
        if (key != 0) QTest::keyClick(memory()->Edit1, Qt::Key(key));
        QCOMPARE(memory()->Cell(0, 1), firstLine);
        QCOMPARE(memory()->Edit1->text(), address.toUpper());
    }

    void startFieldWarnings() {
        ShowActive(memory());
        QStringList texts;
        ModalDriver driver({ModalDriver::Answer(&texts), ModalDriver::Answer(&texts)});
        EnterAddress(memory()->Edit1, "12");
        EnterAddress(memory()->Edit1, "12G4");
        QCOMPARE(texts, (QStringList{"Όχι λιγότερα από τέσσερα δεκαεξαδικά ψηφία.",
                                     "Λάθος διεύθυνση. Δεκτά μόνο τέσσερα δεκαεξαδικά ψηφία."}));
        QCOMPARE(memory()->Cell(0, 1), QStringLiteral("0000"));
    }

    void editingBytes() {
        ShowActive(memory());
        EnterAddress(memory()->Edit1, "0200");

        // Enter stores, moves one column right and re-draws.
        TypeIntoCell(1, 1, "3c");
        Press(Qt::Key_Return);
        QCOMPARE(workspace().machine.memory[0x0200], 0x3C);
        QCOMPARE(memory()->MemGrid->currentColumn(), 2);
        QCOMPARE(memory()->Cell(1, 1), QStringLiteral("3C"));
        QVERIFY(memory()->Cell(17, 1).startsWith('<'));

        // Down stores before the cursor moves.
        TypeIntoCell(5, 3, "41");
        Press(Qt::Key_Down);
        QCOMPARE(workspace().machine.memory[0x0224], 0x41);
        QCOMPARE(memory()->MemGrid->currentRow() + 1, 4);
        QCOMPARE(memory()->Cell(17, 3), QStringLiteral("....A..........."));

        // Tab leaves the cell without storing; the next re-draw shows memory again.
        TypeIntoCell(2, 2, "77");
        Press(Qt::Key_Tab);
        QCOMPARE(workspace().machine.memory[0x0211], 0);
        QCOMPARE(memory()->Cell(2, 2), QStringLiteral("77"));
        memory()->RedrawView();
        QCOMPARE(memory()->Cell(2, 2), QStringLiteral("00"));

        // A text that is not hexadecimal is warned about and stored as 00.
        workspace().machine.memory[0x0203] = 0x55;
        QStringList texts;
        {
            ModalDriver driver({ModalDriver::Answer(&texts)});
            TypeIntoCell(4, 1, "XY");
            Press(Qt::Key_Return);
        }
        QCOMPARE(texts, QStringList{"Το 'XY' δεν είναι δεκαεξαδικός αριθμός"});
        BackFromBox(memory());
        QCOMPARE(workspace().machine.memory[0x0203], 0);
        QCOMPARE(memory()->Cell(4, 1), QStringLiteral("00"));

        // The address cell of line 1 moves the view with Enter.
        TypeIntoCell(0, 1, "0400");
        Press(Qt::Key_Return);
        QCOMPARE(memory()->Cell(0, 1), QStringLiteral("0400"));
        QCOMPARE(memory()->Cell(0, 2), QStringLiteral("0410"));
    }

    void aByteIsNeverStoredPastTheEndOfMemory() {
        ShowActive(memory());
        EnterAddress(memory()->Edit1, "FF00");
        // The line's address is edited and left with Tab: no re-draw puts it right.
        TypeIntoCell(0, 16, "FFF8");
        Press(Qt::Key_Tab);
        const auto before = workspace().machine.memory;
        QStringList texts;
        {
            ModalDriver driver({ModalDriver::Answer(&texts)});
            TypeIntoCell(9, 16, "3C");
            Press(Qt::Key_Return);
        }
        QCOMPARE(texts, QStringList{"Λάθος διεύθυνση. Δεκτά μόνο τέσσερα δεκαεξαδικά ψηφία."});
        QVERIFY(workspace().machine.memory == before);
    }

    void comingToTheFrontRedrawsFromMemory() {
        ShowActive(memory());
        EnterAddress(memory()->Edit1, "0300");
        LeaveForAnotherWindow();
        workspace().machine.memory[0x0301] = 0xC1;
        ShowActive(memory());
        QCOMPARE(memory()->Cell(2, 1), QStringLiteral("C1"));
        QCOMPARE(memory()->Cell(17, 1), QStringLiteral(".Α.............."));
    }

    void registerWindowShowsAndStores() {
        workspace().machine.AC = 0x1FF;  // wider than its field
        ShowActive(registers());
        QCOMPARE(registers()->windowTitle(), QStringLiteral("Καταχωρητές"));
        const QStringList shown{"0000", "0", "0", "0", "0", "0", "0", "0", "1FF", "00", "00", "FF"};
        for (int field = 0; field < 12; ++field) QCOMPARE(reg(field)->text(), shown[field]);

        reg(8)->setFocus();
        reg(8)->selectAll();
        QTest::keyClicks(reg(8), "2a");
        QCOMPARE(reg(8)->text(), QStringLiteral("2A"));
        QTest::keyClick(reg(8), Qt::Key_Tab);
        QCOMPARE(workspace().machine.AC, 0x2A);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(reg(9)));

        reg(6)->setFocus();
        reg(6)->selectAll();
        QTest::keyClicks(reg(6), "1");
        QTest::keyClick(reg(6), Qt::Key_Tab);
        QCOMPARE(workspace().machine.status[6], 1);  // Edit7 is Z
    }

    void registerWarnings_data() {
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("warning");
        QTest::newRow("AC with one digit") << 8 << "A"
                                           << "Οχι λιγότερα από δύο δεκαεξαδικά ψηφία.";
        QTest::newRow("PC not hexadecimal")
            << 0 << "12G4"
            << "Λάθος τιμή καταχωρητή. Δεκτά μόνο τέσσερα δεκαεξαδικά ψηφία.";
        QTest::newRow("a bit of 2") << 1 << "2"
                                    << "Λάθος τιμή καταχωρητή. Δεκτά μόνο δυαδικά ψηφία (bit 0/1).";
    }

    void registerWarnings() {
        QFETCH(int, field);
        QFETCH(QString, typed);
        QFETCH(QString, warning);
        ShowActive(registers());
        const auto before = workspace().machine;
        reg(field)->setFocus();
        reg(field)->selectAll();
        QTest::keyClick(reg(field), Qt::Key_Delete);
        QTest::keyClicks(reg(field), typed);
        QStringList texts;
        {
            ModalDriver driver({ModalDriver::Answer(&texts)});
            QTest::keyClick(reg(field), Qt::Key_Tab);
        }
        QCOMPARE(texts, QStringList{warning});
        BackFromBox(registers());
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(reg(field)));
        // The entry stays for the user to correct; the machine keeps its value.
        QCOMPARE(reg(field)->text(), typed.toUpper());
        QVERIFY(workspace().machine.PC == before.PC && workspace().machine.AC == before.AC &&
                workspace().machine.SP == before.SP && workspace().machine.status == before.status);
    }

    void clearRegistersRepaintsWithoutRefilling() {
        workspace().machine.AC = 0x42;
        ShowActive(registers());
        QCOMPARE(reg(8)->text(), QStringLiteral("42"));
        forms_->Form1->N22->trigger();
        QCOMPARE(workspace().machine.AC, 0);
        QCOMPARE(reg(8)->text(), QStringLiteral("42"));
        LeaveForAnotherWindow();
        ShowActive(registers());
        QCOMPARE(reg(8)->text(), QStringLiteral("00"));
        QCOMPARE(reg(11)->text(), QStringLiteral("FF"));
    }
};

int main(int argc, char** argv) {
    zorvan::ui::Application application(argc, argv);
    MemoryRegisterTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "memory_register_test.moc"
