// The whole application under a seeded, reproducible storm of keys, clicks, menu commands and
// window switches, through the Run, Step and console paths: it must never crash or stop
// answering, the grid keeps its header and a data row, a changed program is never dropped
// without its save-first question, and its recovery copy holds it. Built with the sanitizers by
// `make monkey`.
//
//   zorvan_monkey --seed 7 --seconds 60     a minute of actions
//   zorvan_monkey --seed 7 --actions 6760   the same actions again, however fast the machine
//
// A seed replays exactly: each action's choices come from the seed and the action's number, a
// run's time is counted in instructions, and the storm's own ticks share the event loop with the
// run's slices one for one.
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <random>
#include <string>
#include <thread>

#include "../gui/find_child.h"
#include "app/file_flows.h"
#include "app/program_file.h"
#include "ui/application.h"
#include "ui/program_grid_view.h"
#include "windows/application_windows.h"
#include "windows/console_window.h"
#include "windows/main_window.h"
#include "windows/memory_window.h"
#include "windows/register_window.h"
#include "windows/run_stop_window.h"
#include "windows/step_window.h"

namespace {

using namespace zorvan;
using Clock = std::chrono::steady_clock;

// Programs that reach the interesting paths: console routines, endless loops, the stack, the
// "ask for AC" routine, a jump back to the first line, an opcode that is not executed.
const char* const kPrograms[] = {
    "_ 0200 LDA #60 _ _ _ 0202 STA FFFF _ _ _ 0205 LDA #41 _ _ "
    "LOOP 0207 JSR FFFF _ _ _ 020A JMP LOOP _ _ _ 020D _ _ _ _",
    "_ 0200 LDX #05 _ _ L 0202 DEX _ _ _ _ 0203 BNE L _ _ _ 0205 _ _ _ _",
    "L 0200 PHA _ _ _ _ 0201 JMP L _ _ _ 0204 _ _ _ _",
    "_ 0200 LDA #60 _ _ _ 0202 STA FFFE _ _ _ 0205 STA FFFD _ _ _ 0208 JSR FFFE _ _ _ "
    "020B JSR FFFD _ _ _ 020E _ _ _ _",
    "_ 0200 LDA #FF _ _ _ 0202 STA 0300,X _ _ _ 0205 INC 0300 _ _ _ 0208 RTS _ _ _ _ 0209 _ _ _ _",
    "_ 0200 .BYTE 02 _ _ _ 0201 _ _ _ _"};

// The printable keys are their own Qt key codes.
constexpr std::string_view kPrintableKeys = "ABCDFGLNOPSTXYZ012389,#( ";
const int kOtherKeys[] = {Qt::Key_Return, Qt::Key_Tab,  Qt::Key_Backspace, Qt::Key_Delete,
                          Qt::Key_Escape, Qt::Key_Left, Qt::Key_Right,     Qt::Key_Up,
                          Qt::Key_Down,   Qt::Key_Home, Qt::Key_End,       Qt::Key_PageDown,
                          Qt::Key_Insert, Qt::Key_F8,   Qt::Key_F9,        Qt::Key_F10};

class Monkey : public QObject {
  public:
    Monkey(unsigned seed, int seconds, int actions)
        : random_(seed), seed_(seed), seconds_(seconds), actionLimit_(actions) {
        // A run's time in instructions: its stop window and slices come the same on any machine.
        windows::runClockMs = [](const app::SlicedRun& run) { return run.ExecutedCount() / 1000; };
        windows_.mainWindow->chooseOpenFile = [this] { return ChooseFile(); };
        windows_.mainWindow->chooseSaveFile = [this] { return ChooseFile(); };
        windows_.mainWindow->show();
        watchdog_ = std::thread([this] { Watch(); });
        QTimer::singleShot(0, this, &Monkey::Tick);
    }

    ~Monkey() override {
        finished_ = true;
        watchdog_.join();
    }

    int Actions() const { return actions_; }
    unsigned long long Trace() const { return trace_; }

  private:
    unsigned Pick(unsigned n) { return std::uniform_int_distribution<unsigned>(0, n - 1)(random_); }
    bool Chance(int percent) { return static_cast<int>(Pick(100)) < percent; }

    void Log(std::string what) {
        // Two runs of a seed took the same actions when their traces agree.
        for (char c : what) trace_ = (trace_ ^ static_cast<unsigned char>(c)) * 0x100000001B3ull;
        log_.push_back(std::to_string(actions_) + ": " + std::move(what));
        if (log_.size() > 40) log_.pop_front();
    }

    [[noreturn]] void Fail(const std::string& why) {
        std::fprintf(stderr,
                     "monkey: seed %u, action %d: %s\n(replay: zorvan_monkey --seed %u --actions "
                     "%d)\nlast actions:\n",
                     seed_, actions_, why.c_str(), seed_, actions_);
        ExitWithLog();
    }

    [[noreturn]] void ExitWithLog() {
        for (const std::string& line : log_) std::fprintf(stderr, "  %s\n", line.c_str());
        std::fflush(stderr);
        std::_Exit(1);
    }

    // The event loop must come back: a nested modal loop counts, a frozen one does not.
    void Watch() {
        int last = -1;
        auto since = Clock::now();
        while (!finished_) {
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            const int beat = heartbeat_;
            if (beat != last) {
                last = beat;
                since = Clock::now();
            } else if (Clock::now() - since > std::chrono::seconds(20)) {
                std::fprintf(stderr, "monkey: seed %u: the event loop did not come back for 20 s\n",
                             seed_);
                ExitWithLog();
            }
        }
    }

    std::optional<std::string> ChooseFile() {
        if (Chance(30)) return std::nullopt;
        const QString names[] = {"a.zrv", "b.zrv", "missing.zrv", ""};
        return folder_.filePath(names[Pick(4)]).toStdString();
    }

    std::vector<std::string> HeaderCaptions() const {
        std::vector<std::string> captions;
        for (int column = 0; column < grid::kGridColumnCount; ++column)
            captions.push_back(windows_.workspace.grid.Cell(column, 0));
        return captions;
    }

    bool ProgramHasContent() const { return windows_.workspace.grid.ContentCount() > 0; }

    // A fresh single-shot timer each time: a timer never fires again while its own handler runs,
    // and an action may sit in a command's modal loop, where the next tick must still come.
    void Tick() {
        ++heartbeat_;
        const bool over = actionLimit_ > 0 ? actions_ >= actionLimit_
                                           : Clock::now() - start_ > std::chrono::seconds(seconds_);
        QWidget* modal = QApplication::activeModalWidget();
        // Not quit() at the end: that would close the windows, asking first. A command still
        // acting may yet bring up a modal window.
        if (over && modal == nullptr && !acting_) return QCoreApplication::exit(0);
        QTimer::singleShot(0, this, &Monkey::Tick);
        if (over) {
            if (modal != nullptr) CloseModal(modal);
            return;
        }
        // Inside a command's own modal loop only its window takes input.
        if (modal != nullptr) return ActOnModal(modal);
        if (acting_) return;
        acting_ = true;
        ++actions_;
        random_.seed(seed_ ^ (static_cast<unsigned>(actions_) * 0x9E3779B9u));
        // A changed program may be replaced only after its question: what New, Open, a recent
        // file or a reload put in its place, with the changed flag clear and unasked, is a loss.
        // Undo back to the saved state is none: Redo brings the program back.
        const bool atRisk = windows_.workspace.changed && ProgramHasContent();
        const std::string before = atRisk ? ProgramText() : std::string();
        askedToSave_ = false;
        undoing_ = false;
        Act();
        acting_ = false;
        if (atRisk && !askedToSave_ && !undoing_ && !windows_.workspace.changed &&
            ProgramText() != before)
            Fail("a changed program was dropped without a question");
        Check();
    }

    std::string ProgramText() const { return app::WriteProgramText(windows_.workspace.grid); }

    // As if the process were killed now, once its timer had written the copy: the next start
    // finds the program exactly, and finds nothing once nothing is unsaved.
    void CheckRecoveryCopy() {
        windows_.mainWindow->WriteRecoveryCopy();
        QFile copy(QDir(windows::MainWindow::RecoveryFolderPath())
                       .filePath(QString::number(QCoreApplication::applicationPid()) + ".zrv"));
        const bool unsaved = windows_.workspace.changed && ProgramHasContent();
        if (!unsaved && copy.exists()) Fail("a recovery copy outlived the unsaved work");
        if (!unsaved) return;
        if (!copy.open(QIODevice::ReadOnly) || copy.readAll().toStdString() != ProgramText())
            Fail("the recovery copy does not hold the last change");
    }

    void Check() {
        if (actions_ % 100 == 0) CheckRecoveryCopy();
        const grid::ProgramGrid& grid = windows_.workspace.grid;
        if (grid.RowCount() < 2) Fail("the grid has no data row");
        if (HeaderCaptions() != headerCaptions_) Fail("the grid's header changed");
        if (Child<zorvan::ui::ProgramGridView>(windows_.mainWindow, "programGrid")
                ->model()
                ->rowCount() != grid.RowCount() - 1)
            Fail("the grid view and the grid disagree on the row count");
    }

    // One of the windows, the main window first.
    QWidget* Window(unsigned i) {
        QWidget* windows[] = {windows_.mainWindow.get(), windows_.memoryWindow,
                              windows_.registerWindow, windows_.stepWindow, windows_.consoleWindow};
        return windows[i];
    }

    QWidget* RandomWindow() {
        QWidget* window = Window(Pick(5));
        return window->isVisible() ? window : windows_.mainWindow.get();
    }

    void SendKey(QWidget* target) {
        if (target == nullptr) return;
        const unsigned pick = Pick(kPrintableKeys.size() + std::size(kOtherKeys));
        const int key = pick < kPrintableKeys.size() ? kPrintableKeys[pick]
                                                     : kOtherKeys[pick - kPrintableKeys.size()];
        // Ctrl for undo, redo and quick save (Ctrl+Z, Ctrl+Y, Ctrl+Shift+Z, Ctrl+S) among others.
        Qt::KeyboardModifiers modifiers = Chance(8) ? Qt::ShiftModifier : Qt::NoModifier;
        if (Chance(6)) modifiers |= Qt::ControlModifier;
        Log("key " + QKeySequence(key | modifiers).toString().toStdString() + " to " +
            target->objectName().toStdString());
        undoing_ = undoing_ ||
                   ((modifiers & Qt::ControlModifier) && (key == Qt::Key_Z || key == Qt::Key_Y));
        QTest::keyClick(target, Qt::Key(key), modifiers);
    }

    void ClickSomething(QWidget* window) {
        const QList<QWidget*> children = window->findChildren<QWidget*>();
        if (children.isEmpty()) return;
        QWidget* child = children[static_cast<qsizetype>(Pick(children.size()))];
        if (!child->isVisible() || !child->isEnabled()) return;
        const QPoint at(static_cast<int>(Pick(std::max(1, child->width()))),
                        static_cast<int>(Pick(std::max(1, child->height()))));
        Log("click " + child->objectName().toStdString() + " of " +
            window->objectName().toStdString());
        QTest::mouseClick(child, Qt::LeftButton, Qt::NoModifier, at);
    }

    void TriggerCommand() {
        // Exit and Print leave the storm; Help only opens a browser.
        static const QStringList commands =
            QStringLiteral(
                "new open save quickSave insertLine insertLines deleteLine clearGrid "
                "undo redo assemble run step showMemory clearMemory showRegisters "
                "clearRegisters showConsole about")
                .split(' ');
        const std::string name =
            (commands[static_cast<qsizetype>(Pick(commands.size()))] + "Action").toStdString();
        QAction* command = Child<QAction>(windows_.mainWindow, name.c_str());
        if (!command->isEnabled()) return;
        undoing_ = name == "undoAction" || name == "redoAction";
        Log("command " + name);
        command->trigger();
    }

    void LoadProgram() {
        const char* program = kPrograms[Pick(std::size(kPrograms))];
        Log(std::string("program ") + program);
        app::PlaceProgramRows(windows_.workspace.grid, app::ReadProgramText(program));
        windows_.workspace.changed = true;
        windows_.workspace.executionEnabled = true;
        windows_.mainWindow->RefreshFromWorkspace();
    }

    // The text in the field, then Enter.
    static void Answer(QLineEdit* field, const QString& text) {
        field->setText(text);
        QTest::keyClick(field, Qt::Key_Return);
    }

    void Act() {
        const unsigned pick = Pick(20);
        if (pick < 2) return TriggerCommand();
        if (pick == 2) return LoadProgram();
        if (pick == 3) {
            QWidget* window = RandomWindow();
            Log("activate " + window->objectName().toStdString());
            window->raise();
            return window->activateWindow();
        }
        if (pick < 6) return ClickSomething(RandomWindow());
        if (pick == 6 && windows_.stepWindow->isVisible() && Chance(50)) {
            Log("step window: start at 0200");
            return Answer(Child<QLineEdit>(windows_.stepWindow, "startAddressEdit"),
                          QStringLiteral("0200"));
        }
        if (pick == 6)
            return SendKey(windows_.stepWindow->isVisible()
                               ? Child<QPushButton>(windows_.stepWindow, "nextButton")
                               : nullptr);
        if (pick == 7 && windows_.consoleWindow->isVisible()) {
            Log("console answer");
            Answer(Child<QLineEdit>(windows_.consoleWindow, "accumulatorEdit"),
                   QStringLiteral("4%1").arg(Pick(10)));
        }
        if (pick == 8 && Chance(10)) {
            QWidget* window = Window(1 + Pick(4));
            Log("close " + window->objectName().toStdString());
            window->close();
        }
        if (pick < 9) return;
        QWidget* window = RandomWindow();
        QWidget* focus = window->focusWidget() ? window->focusWidget() : window;
        SendKey(
            window == windows_.mainWindow.get()
                ? Child<zorvan::ui::ProgramGridView>(windows_.mainWindow, "programGrid")->Editor()
                : focus);
    }

    void ActOnModal(QWidget* modal) {
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            const QString text = box->text();
            for (std::string_view question :
                 {app::kNewSaveQuestion, app::kOpenSaveQuestion, app::kExitSaveQuestion}) {
                if (text == QString::fromUtf8(question.data(), qsizetype(question.size())))
                    askedToSave_ = true;
            }
            const QList<QAbstractButton*> buttons = box->buttons();
            if (Chance(20)) {
                Log("box: Escape");
                return QTest::keyClick(box, Qt::Key_Escape);
            }
            QAbstractButton* button = buttons[static_cast<qsizetype>(Pick(buttons.size()))];
            if (!button->isVisible()) return;
            Log("box: " + button->text().toStdString());
            return button->click();
        }
        if (auto* stop = qobject_cast<windows::RunStopWindow*>(modal)) {
            if (!Chance(2)) return;  // let the run go on for a while
            const unsigned pick = Pick(3);
            Log(pick == 0   ? "stop window: Stop"
                : pick == 1 ? "stop window: Escape in the console"
                            : "stop window: closed");
            if (pick == 0)
                return QTest::mouseClick(Child<QPushButton>(stop, "stopButton"), Qt::LeftButton);
            if (pick == 1)
                return QTest::keyClick(Child<QLineEdit>(windows_.consoleWindow, "accumulatorEdit"),
                                       Qt::Key_Escape);
            return void(stop->close());
        }
        if (!Chance(30)) return;
        QLineEdit* field = modal->findChild<QLineEdit*>();
        if (field != nullptr && Chance(70)) {
            const QString answers[] = {"0200", "200", "0", "0x3",  "3",
                                       "-1",   "ZZ",  "",  "FFFF", "99999999999"};
            const QString answer = answers[Pick(std::size(answers))];
            Log("dialog " + modal->objectName().toStdString() + ": " + answer.toStdString());
            field->selectAll();
            QTest::keyClicks(field, answer);
            return QTest::keyClick(field, Qt::Key_Return);
        }
        Log("dialog " + modal->objectName().toStdString() + ": Escape");
        QTest::keyClick(modal, Qt::Key_Escape);
        if (modal->isVisible() && Chance(50)) modal->close();
    }

    void CloseModal(QWidget* modal) {
        if (auto* stop = qobject_cast<windows::RunStopWindow*>(modal)) return void(stop->close());
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            for (QAbstractButton* button : box->buttons()) {
                if (box->buttonRole(button) == QMessageBox::NoRole ||
                    box->buttonRole(button) == QMessageBox::RejectRole)
                    return button->click();
            }
            return box->buttons().front()->click();
        }
        if (auto* dialog = qobject_cast<QDialog*>(modal)) return dialog->reject();
        modal->close();
    }

    windows::ApplicationWindows windows_;
    std::mt19937 random_;
    unsigned seed_;
    int seconds_;
    int actionLimit_;  // 0: as many as fit in seconds_
    QTemporaryDir folder_;
    const std::vector<std::string> headerCaptions_ = HeaderCaptions();
    const Clock::time_point start_ = Clock::now();
    int actions_ = 0;
    bool acting_ = false;
    bool askedToSave_ = false;
    bool undoing_ = false;
    unsigned long long trace_ = 0xCBF29CE484222325ull;
    std::deque<std::string> log_;
    std::atomic<int> heartbeat_ = 0;
    std::atomic<bool> finished_ = false;
    std::thread watchdog_;
};

}  // namespace

int main(int argc, char** argv) {
    unsigned seed = 1;
    int seconds = 60;
    int actionLimit = 0;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        if (option == "--seed")
            seed = static_cast<unsigned>(std::strtoul(argv[i + 1], nullptr, 10));
        if (option == "--seconds") seconds = std::atoi(argv[i + 1]);
        if (option == "--actions") actionLimit = std::atoi(argv[i + 1]);
    }
    QStandardPaths::setTestModeEnabled(true);  // its recent files are not the user's
    ui::Application application(argc, argv);
    // Its recovery copies are its own too, and go with the run.
    QDir(windows::MainWindow::RecoveryFolderPath()).removeRecursively();
    int actions = 0;
    unsigned long long trace = 0;
    {
        Monkey monkey(seed, seconds, actionLimit);
        QApplication::exec();
        actions = monkey.Actions();
        trace = monkey.Trace();
    }
    std::printf("monkey: seed %u, %d actions, trace %016llx, no fault\n", seed, actions, trace);
    return 0;
}
