// The console window as a running program uses it, and the user's answer in its field.

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <initializer_list>
#include <memory>

#include "app/workspace.h"
#include "cpu/run_loop.h"
#include "ui/application.h"
#include "windows/console_window.h"
#include "windows/forms.h"
#include "windows/machine_host_adapter.h"
#include "windows/main_window.h"

using zorvan::windows::Forms;

class ConsoleTest : public QObject {
    Q_OBJECT

  private:
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

    void looksLikeAConsole() {
        QCOMPARE(console()->windowTitle(), QStringLiteral("Κονσόλα"));
        const QPalette palette = console()->ConsoleMemo->palette();
        QCOMPARE(palette.color(QPalette::Base), QColor(Qt::black));
        QCOMPARE(palette.color(QPalette::Text), QColor(0x00, 0xFF, 0x00));
        QCOMPARE(console()->Label1->text(), QStringLiteral("AC:"));
    }

    void characterRoutineReplacesTheOutput() {
        QVERIFY(!console()->isVisible());
        // LDA #41, JSR FFFF, LDA #42, JSR FFFF with the routine returning through RTS.
        workspace().machine.Write(0xFFFF, 0x60);
        RunProgram({0xA9, 0x41, 0x20, 0xFF, 0xFF});
        QVERIFY(console()->isVisible());
        QCOMPARE(output(), QStringLiteral("A"));
        RunProgram({0xA9, 0xC1, 0x20, 0xFF, 0xFF});
        QCOMPARE(output(), QStringLiteral("Α"));  // Greek capital alpha
    }

    void printAndClear() {
        workspace().machine.Write(0x0000, 0x00);
        workspace().machine.Write(0x0001, 0x03);
        for (int i = 0; i < 3; ++i) workspace().machine.Write(0x0300 + i, "HI\0"[i]);
        RunProgram({0x20, 0xFC, 0xFF});
        RunProgram({0x20, 0xFC, 0xFF});
        QCOMPARE(output(), QStringLiteral("HI\nHI"));
        console()->Edit1->setText("7");
        RunProgram({0x20, 0xFD, 0xFF});
        QCOMPARE(output(), QString());
        QCOMPARE(console()->Edit1->text(), QStringLiteral("7"));
    }

    void askingForTheAccumulatorAndAnswering() {
        RunProgram({0x20, 0xFE, 0xFF});
        QCOMPARE(output(), QStringLiteral("Δώσε τον AC"));
        QVERIFY(QTest::qWaitForWindowActive(console()));
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(console()->Edit1));

        QTest::keyClicks(console()->Edit1, "4a");
        QTest::keyClick(console()->Edit1, Qt::Key_Return);
        QCOMPARE(workspace().machine.AC, 0x4A);
        QCOMPARE(output(), QStringLiteral("Δώσε τον AC\nAC:J"));
        QCOMPARE(console()->Edit1->text(), QStringLiteral("4a"));

        // Not hexadecimal, or empty: nothing happens.
        for (const char* text : {"zz", ""}) {
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
