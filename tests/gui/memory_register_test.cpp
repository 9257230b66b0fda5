// The memory and register windows on the real widgets: keys reaching the dump's cells, the
// fields storing into the machine, their warnings, and refilling when a window comes to the front.

#include <QLineEdit>
#include <QTest>

#include "find_child.h"
#include "modal_driver.h"
#include "windows/application_windows.h"
#include "windows/memory_grid.h"
#include "windows/memory_window.h"
#include "windows/register_window.h"

namespace {

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

class MemoryRegisterTest : public QObject {
    Q_OBJECT

    std::unique_ptr<zorvan::windows::ApplicationWindows> windows_;
    zorvan::cpu::Machine& machine() const { return windows_->workspace.machine; }
    zorvan::windows::MemoryWindow* memory() const { return windows_->memoryWindow; }
    QLineEdit* reg(int field) const { return RegisterFields(windows_->registerWindow)[field]; }

  private slots:
    void init() { windows_ = std::make_unique<zorvan::windows::ApplicationWindows>(); }

    void memoryWindowStoresTheTypedBytes() {
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
};

QTEST_MAIN(MemoryRegisterTest)
#include "memory_register_test.moc"
