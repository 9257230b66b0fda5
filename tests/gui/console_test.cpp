// The console window as a running program uses it, and the user's answer in its field.

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <initializer_list>

#include "cpu/run_loop.h"
#include "ui/application.h"
#include "windows/console_window.h"
#include "windows/forms.h"
#include "windows/machine_host_adapter.h"
#include "windows/main_window.h"

using zorvan::windows::Forms;

class ConsoleTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Forms> forms_;
    zorvan::app::Workspace& workspace() const { return forms_->workspace; }
    zorvan::windows::TConsole* console() const { return forms_->Console.get(); }
    QString output() const { return console()->ConsoleMemo->toPlainText(); }

    // Runs the bytes from 0200 as the Run command does, with the application's host.
    void RunProgram(std::initializer_list<int> bytes) {
        int address = 0x0200;
        for (int byte : bytes) workspace().machine.Write(address++, byte);
        workspace().machine.Write(address, 0);
        zorvan::windows::MachineHostAdapter host(*forms_);
        QCOMPARE(zorvan::cpu::RunFrom(workspace().machine, host, 0x0200),
                 zorvan::cpu::RunEnd::kEmptyCell);
    }

  private slots:
    void init() {
        forms_ = std::make_unique<Forms>();
        forms_->Form1->show();
    }
    void cleanup() { forms_.reset(); }

    // The character routine shows the window and replaces the output (C1 is capital alpha);
    // the string routine adds a line; clearing keeps the AC field.
    void outputRoutines() {
        workspace().machine.Write(0xFFFF, 0x60);  // the routine returns through RTS
        RunProgram({0xA9, 0xC1, 0x20, 0xFF, 0xFF});
        QVERIFY(console()->isVisible());
        QCOMPARE(output(), QStringLiteral("Α"));
        workspace().machine.Write(0x0001, 0x03);
        workspace().machine.Write(0x0300, 'H');
        workspace().machine.Write(0x0301, 'I');
        RunProgram({0x20, 0xFC, 0xFF});
        QCOMPARE(output(), QStringLiteral("Α\nHI"));
        console()->Edit1->setText("7");
        RunProgram({0x20, 0xFD, 0xFF});
        QCOMPARE(output(), QString());
        QCOMPARE(console()->Edit1->text(), QStringLiteral("7"));
    }

    // Asked for AC, the user's hexadecimal answer is stored and echoed; others do nothing.
    void askingForTheAccumulatorAndAnswering() {
        RunProgram({0x20, 0xFE, 0xFF});
        QVERIFY(QTest::qWaitForWindowActive(console()));
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(console()->Edit1));
        for (const char* text : {"4a", "zz", ""}) {
            console()->Edit1->setText(text);
            QTest::keyClick(console()->Edit1, Qt::Key_Return);
        }
        QCOMPARE(workspace().machine.AC, 0x4A);
        QCOMPARE(output(), QStringLiteral("Δώσε τον AC\nAC:J"));
    }
};

int main(int argc, char** argv) {
    zorvan::ui::Application application(argc, argv);
    ConsoleTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "console_test.moc"
