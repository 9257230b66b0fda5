// The console window as a running program uses it, and the user's answer in its field.

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

#include "cpu/run_loop.h"
#include "windows/console_window.h"
#include "windows/forms.h"
#include "windows/machine_host_adapter.h"

class ConsoleTest : public QObject {
    Q_OBJECT

    std::unique_ptr<zorvan::windows::Forms> forms_;
    zorvan::cpu::Machine& machine() const { return forms_->workspace.machine; }
    zorvan::windows::TConsole* console() const { return forms_->Console.get(); }

    // Runs the bytes from 0200 as the Run command does, with the application's host, up to the
    // empty cell that ends them; the console's output then ("?" when the run ends otherwise).
    QString RunProgram(std::initializer_list<int> bytes) {
        int address = 0x0200;
        for (int byte : bytes) machine().Write(address++, byte);
        zorvan::windows::MachineHostAdapter host(*forms_);
        const auto end = zorvan::cpu::RunFrom(machine(), host, 0x0200);
        return end == zorvan::cpu::RunEnd::kEmptyCell ? console()->ConsoleMemo->toPlainText() : "?";
    }

  private slots:
    void init() { forms_ = std::make_unique<zorvan::windows::Forms>(); }

    // The character routine shows the window and replaces the output (C1 is capital alpha); the
    // string routine adds a line (the program puts the string's address, 020C, in 0000-0001);
    // clearing keeps the answer field. Asked for AC, the user's hexadecimal answer is stored and
    // echoed; other answers do nothing.
    void outputRoutinesAndAnAnswer() {
        machine().Write(0xFFFF, 0x60);  // the routines return through RTS
        QCOMPARE(RunProgram({0xA9, 0xC1, 0x20, 0xFF, 0xFF, 0}), QStringLiteral("Α"));
        QVERIFY(console()->isVisible());
        QCOMPARE(RunProgram({0xA9, 0x0C, 0x85, 0x00, 0xA9, 0x02, 0x85, 0x01, 0x20, 0xFC, 0xFF, 0,
                             'H', 'I', 0}),
                 QStringLiteral("Α\nHI"));
        console()->Edit1->setText("4a");
        QCOMPARE(RunProgram({0x20, 0xFD, 0xFF, 0}), QString());
        QCOMPARE(console()->Edit1->text(), QStringLiteral("4a"));

        RunProgram({0x20, 0xFE, 0xFF, 0});
        QTRY_VERIFY(console()->Edit1->hasFocus());
        QTest::keyClicks(console()->Edit1, "\rzz\r\r");  // the answer left in the field first
        QCOMPARE(machine().AC, 0x4A);
        QCOMPARE(console()->ConsoleMemo->toPlainText(), QStringLiteral("Δώσε τον AC\nAC:J"));
    }
};

QTEST_MAIN(ConsoleTest)
#include "console_test.moc"
