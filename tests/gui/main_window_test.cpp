// The main window on the real widgets: keys typed into the grid's cell editor, menu shortcuts,
// the boxes the commands show, the save-first questions, the file choosers, printing (the
// listing read back from a PDF with pdftotext, from poppler-utils), the exercise check, the help
// and the About box.
//
// The help window's own controls: paging through every page in the contents' order, search
// across pages, larger and smaller text by keys and by the wheel, and the pages' links that open
// an example in the main window. And the help's claims about runs, played on the real windows:
// a message that the window overwrites after the core wrote it is caught here.

#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QTreeWidget>
#include <QWheelEvent>

#include "../core/help_claim_reader.h"
#include "../core/temp_folder.h"
#include "app/file_flows.h"
#include "app/program_file.h"
#include "cpu/registers.h"
#include "find_child.h"
#include "modal_driver.h"
#include "ui/application.h"
#include "ui/cell_editor.h"
#include "ui/program_grid_view.h"
#include "ui/program_printer.h"
#include "windows/about_dialog.h"
#include "windows/application_windows.h"
#include "windows/console_window.h"
#include "windows/exercise_window.h"
#include "windows/help_window.h"
#include "windows/main_window.h"
#include "windows/memory_window.h"
#include "windows/register_window.h"
#include "windows/start_address_dialog.h"
#include "windows/step_window.h"

namespace {

// Each character as one key on the focused widget: '\r' Enter, '\t' Tab, the arrows ← ↑ ↓ their
// keys, ⇱ Home and ⌦ Delete.
void TypeKeys(const QString& keys) {
    static const QHash<QChar, Qt::Key> named{{'\r', Qt::Key_Return}, {'\t', Qt::Key_Tab},
                                             {u'←', Qt::Key_Left},   {u'↑', Qt::Key_Up},
                                             {u'↓', Qt::Key_Down},   {u'⇱', Qt::Key_Home},
                                             {u'⌦', Qt::Key_Delete}, {u'⌫', Qt::Key_Backspace}};
    for (QChar c : keys)
        QTest::sendKeyEvent(QTest::Click, QApplication::focusWidget(),
                            named.value(c, Qt::Key(c.toUpper().unicode())),
                            named.contains(c) ? QString() : QString(c), Qt::NoModifier);
}

// One data row per table entry, named after it.
void Rows(const auto& table) {
    QTest::addColumn<int>("i");
    for (std::size_t i = 0; i < std::size(table); ++i) QTest::newRow(table[i].name) << int(i);
}

using zorvan::testing::PutFile;
using zorvan::windows::HelpWindow;

// The cells as "column,row=text;...", then where the cursor is and what the message area says
// (its colour first). A line whose address is rubbed out with Delete and mistyped takes keys as
// any other, without a box, and the address, corrected with Backspace and digits, reads again
// after Enter.
// clang-format off
const struct { const char *name, *keys, *cells; int column, row; const char* message; } kTyping[] = {
    {"an operand is asked for", "0200\rLDA\r", "2,1=LDA", 3, 1, "#0000ff Δώστε την πρώτη παράμετρο."},
    {"Space commits like Enter", "0200 LDA #05 ", "1,1=0200;2,1=LDA;3,1=#05;1,2=0202", 2, 2, ""},
    {"Space is typed in a label", "←LO OP\t0200\r", "0,1=LO OP;1,1=0200", 2, 1, "#ff0000 '' Εντολή Ανύπαρκτη."},
    {"Enter in the last comment appends a row", "0200\rNOP\r←←\t\t\t\t\tτέλος ok\r", "5,2=τέλος ok;1,2=0201;2,3=", 2, 3, "#ff0000 '' Εντολή Ανύπαρκτη."},
    {"a character outside the code page is not typed", "02Ж00", "1,1=0200", 1, 1, ""},
    {"a corrected address", "0200\rNOP\r←↑⇱⌦⌦⌦⌦02G1⌫⌫01\r", "1,1=0201;1,2=0202", 2, 2, ""}};
// clang-format on

// The rows the grid has after the command, the row "BRK" is then on (0: deleted), and whether
// the memory window is up (the assembly summary's Yes shows it).
// clang-format off
const struct { const char *name, *item; QKeyCombination key; int rows, rowOfBrk; bool memory; } kShortcuts[] = {
    {"Ins", "insertLineAction", Qt::Key_Insert, 4, 3, false},
    {"Shift+Del", "deleteLineAction", Qt::SHIFT | Qt::Key_Delete, 2, 0, false},
    {"F8", "assembleAction", Qt::Key_F8, 3, 2, true},
    {"Ctrl+K", "showRegistersAction", Qt::CTRL | Qt::Key_K, 3, 2, false}};

// clang-format on

constexpr const char* kNewQuestion = "Το πλέγμα έχει αλλάξει! Θέλετε να αποθηκεύσετε;";
constexpr const char* kOpenQuestion = "Θέλετε να αποθηκεύσετε πρώτα\nτο αρχείο;";
constexpr const char* kCloseQuestion = "Δεν έχει γινει αποθήκευση.\nΘέλετε να αποθηκεύσετε πρώτα;";

// The command (n New, o Open, x the close box), the keys typed first, the answer ("Esc" the
// Escape key, "x" the question's close box), the boxes and choosers that come up, and whether
// the window closes.
// clang-format off
const struct { const char* name; char command; const char *keys, *answer; QString texts; bool closes; } kQuestions[] = {
    {"close untouched", 'x', "", "", "", true},
    {"close after No", 'x', "0200", "Όχι", kCloseQuestion, true},
    {"close after Yes, save cancelled", 'x', "0200\rNOP\r", "Ναι", kCloseQuestion + QString("|<save>"), false},
    {"Escape on Open", 'o', "0200\rNOP\r", "Esc", kOpenQuestion, false},
    {"close box on New", 'n', "0200\rNOP\r", "x", kNewQuestion, false}};
// clang-format on

// Row r of a program whose every cell says which row it belongs to, in column order.
QStringList RowOf(int r) {
    const QString n = QString::number(r);
    return {"Λ" + n, QString::number(0x0200 + r, 16), "LDA", n + ",", "X", "σχόλιο " + n};
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<zorvan::windows::ApplicationWindows> windows_;
    zorvan::windows::MainWindow* form() const { return windows_->mainWindow.get(); }
    zorvan::ui::ProgramGridView* grid() const {
        return Child<zorvan::ui::ProgramGridView>(form(), "programGrid");
    }
    zorvan::grid::Workspace& workspace() const { return windows_->workspace; }
    zorvan::ui::CellEditor* editor() const { return grid()->Editor(); }
    QString cell(int c, int r) const { return QString::fromStdString(workspace().grid.Cell(c, r)); }
    QString message() const { return ShownMessage(form()); }

    void SaveTo(const QString& path) {
        form()->chooseSaveFile = [path] { return std::optional(path.toStdString()); };
    }
    // The application as a fresh start finds it, with the grid's editor focused.
    void Start() {
        windows_ = std::make_unique<zorvan::windows::ApplicationWindows>();
        ShowActive(form());
        editor()->setFocus();
        QTRY_VERIFY(editor()->hasFocus());
    }

  private slots:
    void init() {
        QSettings(QSettings::UserScope, "Zorvan", "Zorvan").remove("recentFiles");
        Start();
    }

    void typingAProgramKeyByKey_data() { Rows(kTyping); }
    void typingAProgramKeyByKey() {
        QFETCH(int, i);
        const auto& c = kTyping[i];
        QStringList boxes;
        ModalDriver driver({ModalDriver::Answer(&boxes)});
        TypeKeys(QString::fromUtf8(c.keys));
        for (const QString& expected : QString::fromUtf8(c.cells).split(';'))
            QCOMPARE(cell(expected[0].digitValue(), expected[2].digitValue()), expected.mid(4));
        // The cursor and the open editor follow the core's current cell.
        const QModelIndex current = grid()->currentIndex();
        QCOMPARE(current, grid()->model()->index(c.row - 1, c.column));
        QVERIFY(editor()->text() == cell(c.column, c.row) && editor()->hasFocus());
        QVERIFY(grid()->visualRect(current).contains(editor()->geometry().center()));
        QCOMPARE(message(), QString::fromUtf8(c.message));
        QTest::qWait(20);
        QVERIFY2(boxes.isEmpty(), qPrintable(boxes.join('|')));
    }

    // With "BRK" in the editor and the caret at its start, a line editor would cut it (Shift+Del)
    // or delete it to the end (Ctrl+K); the enabled command gets the key instead.
    void menuShortcutsReachTheirCommandsBeforeTheEditor_data() { Rows(kShortcuts); }
    void menuShortcutsReachTheirCommandsBeforeTheEditor() {
        QFETCH(int, i);
        const auto& c = kShortcuts[i];
        TypeKeys("0200\rNOP\rBRK");
        editor()->setCursorPosition(0);
        QList<int> gridKeys;
        editor()->keyHandler = [&, handler = editor()->keyHandler](QKeyEvent* event) {
            gridKeys << event->key();
            handler(event);
        };
        QSignalSpy triggered(Child<QAction>(form(), c.item), &QAction::triggered);
        QStringList boxes;
        ModalDriver driver({ModalDriver::Answer(&boxes, QStringLiteral("Ναι"))});
        QTest::keyClick(editor(), c.key.key(), c.key.keyboardModifiers());
        QCOMPARE(triggered.count(), 1);
        QVERIFY2(!gridKeys.contains(c.key.key()), "the key reached the grid");
        QCOMPARE(workspace().grid.RowCount(), c.rows);
        if (c.rowOfBrk != 0) QCOMPARE(cell(2, c.rowOfBrk), QStringLiteral("BRK"));
        QCOMPARE(windows_->memoryWindow->isVisible(), c.memory);
    }

    void aDisabledCommandsKeyReachesTheGridAndEnablesThem() {
        QVERIFY(!Child<QAction>(form(), "runAction")->isEnabled());
        QSignalSpy triggered(Child<QMenu>(form(), "executionMenu"), &QMenu::triggered);
        QTest::keyClick(editor(), Qt::Key_F9);
        QVERIFY(triggered.isEmpty() && workspace().changed &&
                Child<QAction>(form(), "runAction")->isEnabled());
    }

    // The save-first question of New, Open and the close box, answered (the three share one box).
    // Untouched, the window closes at once; changed, it closes after No, and the memory window
    // with it. Escape on the question, or its close box, calls the command off: the program, its
    // caption and its changed flag stay, and no file dialog comes up. Yes with the save dialog
    // cancelled keeps the window open.
    void saveFirstQuestions_data() { Rows(kQuestions); }
    void saveFirstQuestions() {
        QFETCH(int, i);
        const auto& c = kQuestions[i];
        TypeKeys(QString::fromUtf8(c.keys));
        const QString title = form()->windowTitle();
        QStringList texts;
        form()->chooseSaveFile = [&] { return texts << "<save>", std::nullopt; };
        form()->chooseOpenFile = [&] { return texts << "<open>", std::nullopt; };
        windows_->memoryWindow->show();
        const QString answer = QString::fromUtf8(c.answer);
        ModalDriver driver({[&](QWidget* modal) {
            if (answer == "Esc" || answer == "x") texts << static_cast<QMessageBox*>(modal)->text();
            if (answer == "Esc") return QTest::keyClick(modal, Qt::Key_Escape);
            if (answer == "x") return void(modal->close());
            ModalDriver::Answer(&texts, answer)(modal);
        }});
        c.command == 'n'   ? Child<QAction>(form(), "newAction")->trigger()
        : c.command == 'o' ? Child<QAction>(form(), "openAction")->trigger()
                           : void(form()->close());
        QCOMPARE(texts.join(QLatin1Char('|')), c.texts);
        QVERIFY(form()->isVisible() != c.closes && windows_->memoryWindow->isVisible() != c.closes);
        if (c.closes) return;
        QVERIFY(cell(2, 1) == QStringLiteral("NOP") && workspace().changed);
        QCOMPARE(form()->windowTitle(), title);
    }

    // Ctrl+S writes the program's own file without a dialog once it has one; before that it is
    // the save dialog, as Αποθήκευση always is. Ctrl+O and Ctrl+N are Open and New.
    void quickSaveAndTheFileShortcuts() {
        QTemporaryDir folder;
        const QString path = folder.filePath("p.zrv");
        QStringList dialogs;
        form()->chooseSaveFile = [&] {
            return dialogs << "<save>", std::optional(path.toStdString());
        };
        form()->chooseOpenFile = [&] { return dialogs << "<open>", std::nullopt; };
        TypeKeys("0200\rNOP\r");
        QTest::keyClick(editor(), Qt::Key_S, Qt::ControlModifier);
        TypeKeys("BRK\r");
        QTest::keyClick(editor(), Qt::Key_S, Qt::ControlModifier);
        QVERIFY(!workspace().changed);
        QVERIFY(zorvan::testing::FileBytes(path.toStdString()).find("BRK") != std::string::npos);
        Child<QAction>(form(), "saveAction")->trigger();
        // The Ctrl key, as every key in the grid, marks the program changed: both ask first.
        ModalDriver driver(
            {ModalDriver::Answer(&dialogs, "Όχι"), ModalDriver::Answer(&dialogs, "Όχι")});
        QTest::keyClick(editor(), Qt::Key_O, Qt::ControlModifier);
        form()->activateWindow();  // shortcuts reach the active window only
        QVERIFY(QTest::qWaitForWindowActive(form()));
        QTest::keyClick(editor(), Qt::Key_N, Qt::ControlModifier);
        QCOMPARE(dialogs.join('|'),
                 QStringLiteral("<save>|<save>|") + kOpenQuestion + "|<open>|" + kNewQuestion);
        QCOMPARE(workspace().grid.ContentCount(), 0);
    }

    // The files opened and saved are the Αρχείο menu's last five, newest first, under Ctrl+1 to
    // Ctrl+5, and a new window finds them again; Ctrl+2 opens the second after the question.
    void recentFiles() {
        QTemporaryDir folder;
        const auto path = [&](int i) { return folder.filePath(QString("p%1&.zrv").arg(i)); };
        for (int i = 1; i <= 6; ++i) {
            SaveTo(path(i));
            Child<QAction>(form(), "saveAction")->trigger();
        }
        Start();
        QStringList items, expected;
        for (int i = 1; i <= 5; ++i) {
            const auto* action =
                Child<QAction>(form(), qPrintable(QString("recentFileAction%1").arg(i)));
            items << action->text() + " " + action->shortcut().toString();
            expected << QString("&%1 %2 Ctrl+%1").arg(i).arg(path(7 - i).replace("&", "&&"));
        }
        QCOMPARE(items, expected);
        TypeKeys("0200\rNOP\r");
        QStringList boxes;
        ModalDriver driver({ModalDriver::Answer(&boxes, "Όχι")});
        QTest::keyClick(editor(), Qt::Key_2, Qt::ControlModifier);
        QCOMPARE(boxes, QStringList{kOpenQuestion});
        QCOMPARE(form()->windowTitle(), "Zorvan-" + path(5));
        QCOMPARE(Child<QAction>(form(), "recentFileAction1")->text(),
                 "&1 " + path(5).replace("&", "&&"));
        // A name relative to the folder the program started in is kept whole.
        const QString started = QDir::currentPath();
        QDir::setCurrent(folder.path());
        form()->OpenNamedFile(QStringLiteral("p1&.zrv"));
        QDir::setCurrent(started);
        QCOMPARE(Child<QAction>(form(), "recentFileAction1")->text(),
                 "&1 " + path(1).replace("&", "&&"));
    }

    // Ctrl+Z and Ctrl+Y (or Ctrl+Shift+Z) take back and bring again a committed cell with the
    // addresses it rewrote, and a Clear grid, which says so in blue. In a cell being typed Ctrl+Z
    // first takes back the typing. Undone to the saved program, the changed flag is clear.
    void undoAndRedoEveryChange() {
        const auto key = [this](Qt::Key k, Qt::KeyboardModifiers m = Qt::ControlModifier) {
            QTest::keyClick(editor(), k, m);
        };
        QTemporaryDir folder;
        SaveTo(folder.filePath("p.zrv"));
        QVERIFY(!Child<QAction>(form(), "undoAction")->isEnabled());
        TypeKeys("0200\rNOP\r");
        Child<QAction>(form(), "saveAction")->trigger();
        TypeKeys("BRK\rLD");
        const QString program = cell(1, 1) + cell(2, 1) + cell(1, 2) + cell(2, 2);
        QCOMPARE(program, QStringLiteral("0200NOP0201BRK"));
        key(Qt::Key_Z);
        QCOMPARE(cell(2, 3) + "|" + cell(2, 2), QStringLiteral("|BRK"));  // the typing first
        key(Qt::Key_Z);
        QCOMPARE(cell(2, 2), QString());
        QVERIFY(!workspace().changed);
        key(Qt::Key_Y);
        QCOMPARE(cell(2, 2), QStringLiteral("BRK"));
        QVERIFY(workspace().changed);

        Child<QAction>(form(), "clearGridAction")->trigger();
        QCOMPARE(workspace().grid.ContentCount(), 0);
        QCOMPARE(message(),
                 QStringLiteral("#0000ff Το πλέγμα καθαρίστηκε· με Ctrl+Z επανέρχεται."));
        key(Qt::Key_Z);
        QCOMPARE(cell(1, 1) + cell(2, 1) + cell(1, 2) + cell(2, 2), program);
        QCOMPARE(message(), QString());
        key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(workspace().grid.ContentCount(), 0);
        QVERIFY(Child<QAction>(form(), "undoAction")->isEnabled() &&
                !Child<QAction>(form(), "redoAction")->isEnabled());
    }

    // Insert lines passes the dialog's text on: "0x3" reads as three.
    void insertLinesTakesTheDialogsCount() {
        TypeKeys("0200\rNOP\r");
        const int rows = workspace().grid.RowCount();
        ModalDriver driver({ModalDriver::Type("0x3")});
        Child<QAction>(form(), "insertLinesAction")->trigger();
        QVERIFY(driver.done());
        QCOMPARE(workspace().grid.RowCount(), rows + 3);
    }

    // After the OK of an assembly error box the cursor is on the line at fault, 397 lines down.
    void anAssemblyErrorTakesTheCursorToItsLine() {
        zorvan::grid::ProgramGrid& program = workspace().grid;
        program.SetRowCount(400);
        for (int row = 1; row < 399; ++row) {
            program.SetCell(1, row, QString::number(0x200 + row, 16).toStdString());
            program.SetCell(2, row, row == 397 ? "BNE" : "NOP");
        }
        program.SetCell(3, 397, "NOWHERE");
        workspace().executionEnabled = true;
        form()->RefreshFromWorkspace();
        QStringList texts;
        ModalDriver driver({ModalDriver::Answer(&texts)});
        Child<QAction>(form(), "assembleAction")->trigger();
        QVERIFY(driver.done());
        QCOMPARE(texts, QStringList{"Η ετικέτα 'NOWHERE' δεν βρέθηκε"});
        // The header row is the view's own: line 397 is its row 396.
        QCOMPARE(grid()->currentIndex(), grid()->model()->index(396, 3));
    }

    // A file with bytes the code page leaves undefined shows them as stand-ins, and a cell
    // holding one can still be edited.
    void aCellWithAStandInCanBeEdited() {
        QTemporaryDir folder;
        const QString path = folder.filePath("bytes.zrv");
        PutFile(path.toStdString(), "\xAA\x81 0200 NOP _ _ \xF4\xDD\xEB\xEF\xF2\xFF\r\n");
        form()->OpenNamedFile(path);
        QCOMPARE(cell(0, 1), QStringLiteral("⢪⢁"));
        QCOMPARE(cell(5, 1), QStringLiteral("τέλος⣿"));
        TypeKeys("↑←←⌫B\t");  // into the label: the stand-in stays, B is typed after it
        QCOMPARE(cell(0, 1), QStringLiteral("⢪B"));
    }

    // Save marks the program unchanged; New after it asks nothing, empties the grid and greys
    // the execution commands; the real open dialog completes a bare name with the program
    // extension and the program comes back.
    void saveNewAndOpen() {
        QTemporaryDir folder;
        const QString path = folder.filePath("prog.zrv");
        SaveTo(path);
        TypeKeys("0200\rNOP\r");
        Child<QAction>(form(), "saveAction")->trigger();
        QVERIFY(!workspace().changed);
        Child<QAction>(form(), "newAction")->trigger();
        QVERIFY(cell(2, 1).isEmpty() && !Child<QAction>(form(), "assembleAction")->isEnabled());
        Child<QFileDialog>(form(), "openDialog")->setDirectory(folder.path());
        form()->chooseOpenFile = [this]() -> std::optional<std::string> {
            if (Child<QFileDialog>(form(), "openDialog")->exec() != QDialog::Accepted)
                return std::nullopt;
            return Child<QFileDialog>(form(), "openDialog")->selectedFiles().front().toStdString();
        };
        ModalDriver driver({[](QWidget* dialog) {
            auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            name->setText(QStringLiteral("prog"));
            QTest::keyClick(name, Qt::Key_Return);
        }});
        Child<QAction>(form(), "openAction")->trigger();
        QVERIFY(driver.done());
        QVERIFY(cell(2, 1) == QStringLiteral("NOP") &&
                Child<QAction>(form(), "assembleAction")->isEnabled());
        QVERIFY(grid()->model()->rowCount() == 2 && form()->windowTitle() == "Zorvan-" + path);
    }

    // Cancel prints nothing; Print puts a long listing on numbered pages, each under the opened
    // file's name, every row numbered, its cells in column order, the rows in order.
    void printCommandPrintsTheListingOnNumberedPages() {
        QTemporaryDir folder;
        const QString pdf = folder.filePath(QStringLiteral("listing.pdf"));
        const QString heading = QStringLiteral("/home/μαθητής/βρόχος.zrv");
        auto& workspace = windows_->workspace;
        workspace.grid.SetRowCount(151);
        for (int r = 1; r <= 150; ++r)
            for (int c = 0; c < 6; ++c) workspace.grid.SetCell(c, r, RowOf(r)[c].toStdString());
        workspace.openDialogFileName = heading.toStdString();
        // A file name ending in .pdf makes the printer write PDF.
        zorvan::ui::ProgramPrinter::Of(form()).Printer().setOutputFileName(pdf);
        for (bool print : {false, true}) {
            ModalDriver driver({[=](QWidget* box) { static_cast<QDialog*>(box)->done(print); }});
            Child<QAction>(form(), "printAction")->trigger();
            QVERIFY(driver.done() && QFile::exists(pdf) == print);
        }

        QProcess pdftotext;
        pdftotext.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, "-"});
        QVERIFY(pdftotext.waitForFinished(30000) && pdftotext.exitCode() == 0);
        const QStringList pages = QString(pdftotext.readAll()).split('\f', Qt::SkipEmptyParts);
        QVERIFY(pages.size() >= 3);
        const QString text = pages.join(' ').simplified();
        qsizetype at = 0;
        for (int r = 1; r <= 150; ++r) {
            at = text.indexOf(QString::number(r) + ": " + RowOf(r).join(' '), at);
            QVERIFY2(at >= 0, qPrintable(QStringLiteral("row %1").arg(r)));
        }
        QCOMPARE(text.count(heading), pages.size());
        for (int p = 0; p < pages.size(); ++p)
            QVERIFY(pages[p].contains(QString("Σελίδα %1 από %2").arg(p + 1).arg(pages.size())));
    }

    void unsavedWorkHasARecoveryCopyThatTheNextStartOffers() {
        const QDir folder(zorvan::windows::MainWindow::RecoveryFolderPath());
        QDir(folder).removeRecursively();
        const QString mine = folder.filePath(QString::number(QCoreApplication::applicationPid()));
        TypeKeys("0200");
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(mine + ".zrv"), 5000);
        // As a process that was killed: its files stay under an id that no process has.
        const QString dead = folder.filePath("2147483000");
        QVERIFY(QFile::rename(mine + ".zrv", dead + ".zrv"));
        QVERIFY(QFile::rename(mine + ".info", dead + ".info"));
        init();
        QString offer;
        form()->askRecovery = [&](const QString& text) {
            return offer = text, std::optional(true);
        };
        QVERIFY(form()->OfferRecovery());
        QVERIFY(offer.contains(QStringLiteral("χωρίς όνομα")));
        QCOMPARE(cell(1, 1), QStringLiteral("0200"));
        QVERIFY(workspace().changed && !QFile::exists(dead + ".zrv") &&
                QFile::exists(mine + ".zrv"));

        // Saved, it has nothing left to lose; the file changed elsewhere is then offered again.
        QTemporaryDir files;
        const QString saved = files.filePath("saved.zrv");
        SaveTo(saved);
        Child<QAction>(form(), "quickSaveAction")->trigger();
        QVERIFY(!QFile::exists(mine + ".zrv") && QFile::exists(mine + ".info"));
        QTest::qWait(20);  // a new modification time
        PutFile((saved + ".new").toStdString(), "_ 0300 NOP _ _ _\r\n");
        QVERIFY(QFile::remove(saved) && QFile::rename(saved + ".new", saved));
        QStringList boxes;
        ModalDriver driver({ModalDriver::Answer(&boxes, QStringLiteral("Ναι"))});
        QEvent activated(QEvent::ActivationChange);
        QApplication::sendEvent(form(), &activated);
        QVERIFY(boxes.size() == 1 && boxes[0].contains(QStringLiteral("άλλαξε έξω από το Zorvan")));
        QCOMPARE(cell(2, 1), QStringLiteral("NOP"));
        form()->close();
        QVERIFY(!QFile::exists(mine + ".info"));
    }

    void aFileOpenInAnotherCopyWarnsOnce() {
        QTemporaryDir files;
        const QString path = files.filePath("shared.zrv");
        PutFile(path.toStdString(), "_ 0200 NOP _ _ _\r\n");
        // Process 1 runs as long as the system does: a copy of Zorvan that has the file open.
        const QDir folder(zorvan::windows::MainWindow::RecoveryFolderPath());
        QVERIFY(folder.mkpath("."));
        const QString other = folder.filePath("1.info");
        PutFile(other.toStdString(), "0\n" + path.toStdString());
        QStringList boxes;
        ModalDriver driver({ModalDriver::Answer(&boxes)});
        form()->OpenNamedFile(path);
        form()->OpenNamedFile(path);
        QVERIFY(QFile::remove(other));
        QCOMPARE(boxes.size(), 1);
        QVERIFY(boxes[0].contains(QStringLiteral("ανοιχτό και σε άλλο παράθυρο του Zorvan")));
    }

    void aPasteKeepsWhatTheCellCanHoldAndSaysWhatItLeftOut() {
        QGuiApplication::clipboard()->setText(QStringLiteral("02→0☺0\n"));
        QTest::keyClick(editor(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(cell(1, 1), QStringLiteral("0200"));
        QVERIFY(workspace().changed && message().startsWith(QStringLiteral("#ff0000 ")) &&
                message().contains(QStringLiteral("«→ ☺»")));
    }

    void windowsReopenWhereTheyWereAndOnTheScreen() {
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        const QPoint left = screen.topLeft() + QPoint(40, 30);
        const QSize stepBuilt = windows_->stepWindow->size();
        const std::pair<QWidget*, QPoint> places[] = {
            {windows_->memoryWindow, left},
            {windows_->consoleWindow, QPoint(20000, 20000)},
            {windows_->stepWindow, left}};
        for (auto [window, at] : places) {
            window->show();
            window->resize(300, 200);  // the console can be resized, the memory window not
            window->move(at);
            window->hide();
        }
        init();  // the next start
        QCOMPARE(windows_->memoryWindow->pos(), left);
        QCOMPARE(windows_->consoleWindow->size(), QSize(300, 200));
        QVERIFY(screen.contains(QRect(windows_->consoleWindow->pos(), QSize(300, 200))));
        // The step window's controls stand where it places them: smaller would cut them off.
        QCOMPARE(windows_->stepWindow->size().expandedTo(stepBuilt), windows_->stepWindow->size());
    }

    // The monkey's finding: a changed program, stepping under way, a click in the main window,
    // then Open. The question comes before anything is dropped.
    void openWhileSteppingAsksFirst() {
        zorvan::app::PlaceProgramRows(
            workspace().grid,
            zorvan::app::ReadProgramText("_ 0200 LDX #05 _ _ L 0202 DEX _ _ _ _ 0203 BNE L _ _"));
        workspace().changed = workspace().executionEnabled = true;
        form()->RefreshFromWorkspace();
        Child<QAction>(form(), "stepAction")->trigger();
        auto* start = Child<QLineEdit>(windows_->stepWindow, "startAddressEdit");
        start->setText(QStringLiteral("0200"));
        QTest::keyClick(start, Qt::Key_Return);
        QTest::mouseClick(Child<QPushButton>(windows_->stepWindow, "nextButton"), Qt::LeftButton);
        QTest::mouseClick(grid()->viewport(), Qt::LeftButton);
        form()->activateWindow();
        form()->chooseOpenFile = [] { return std::optional<std::string>(); };
        QStringList boxes;
        ModalDriver driver({ModalDriver::Answer(&boxes, QStringLiteral("Όχι"))});
        Child<QAction>(form(), "openAction")->trigger();
        QCOMPARE(boxes.value(0), QString::fromUtf8(zorvan::app::kOpenSaveQuestion.data(),
                                                   zorvan::app::kOpenSaveQuestion.size()));
        QCOMPARE(cell(2, 2), QStringLiteral("DEX"));
    }

    // «Έλεγχος άσκησης…» checks the grid against the chosen file without touching the machine;
    // the window lists the cases, and a double click on a failed cell opens the memory window
    // there.
    void theExerciseCheckListsTheCasesAndAFailedCellOpensTheMemoryWindow() {
        // Right for the first case only.
        zorvan::app::PlaceProgramRows(
            workspace().grid,
            zorvan::app::ReadProgramText("_ 0200 LDA #04 _ _ _ 0202 STA 0301 _ _ _ 0205 _ _ _ _"));
        workspace().machine.AC = 0x77;
        const zorvan::testing::TempFolder folder;
        const std::string path = folder / "exercise.expect";
        PutFile(path,
                "case \"δύο\"\npoke 0300: 02\n0301: 04\ncase \"πέντε\"\npoke 0300: 05\n0301: 0A\n");
        form()->chooseExpectationFile = [&] { return std::optional(path); };
        Child<QAction>(form(), "checkExerciseAction")->trigger();

        auto* window = Child<zorvan::windows::ExerciseWindow>(form(), "exerciseWindow");
        QTRY_VERIFY(window->isVisible());
        QVERIFY(Child<QLabel>(window, "summaryLabel")->text().contains("Βαθμός: 1/2"));
        auto* cases = Child<QTreeWidget>(window, "caseList");
        QCOMPARE(cases->topLevelItemCount(), 2);
        QCOMPARE(cases->topLevelItem(0)->text(1) + cases->topLevelItem(1)->text(1),
                 QStringLiteral("ΕΠΙΤΥΧΙΑΑΠΟΤΥΧΙΑ"));
        QVERIFY(!Child<QPlainTextEdit>(window, "traceArea")->toPlainText().isEmpty());
        QCOMPARE(workspace().machine.AC, 0x77);  // the student's machine as it was
        QTreeWidgetItem* failedCell = cases->topLevelItem(1)->child(0);
        QCOMPARE(failedCell->text(0), QStringLiteral("0301"));
        emit cases->itemDoubleClicked(failedCell, 0);
        QTRY_VERIFY(windows_->memoryWindow->isVisible());
        QCOMPARE(Child<QLineEdit>(windows_->memoryWindow, "startAddressEdit")->text(),
                 QStringLiteral("0301"));
    }

    void aboutBoxClosesWithOk() {
        zorvan::windows::AboutDialog* about = windows_->aboutDialog;
        ModalDriver driver({[=](QWidget*) {
            QTest::mouseClick(Child<QPushButton>(about, "okButton"), Qt::LeftButton);
        }});
        Child<QAction>(form(), "aboutAction")->trigger();
        QCOMPARE(about->result(), int(QDialog::Accepted));
    }

    // Επόμενο from the contents walks every page once, each with its title, and stops at the
    // last; Προηγούμενο walks back to the contents.
    void nextAndPreviousWalkEveryPage() {
        HelpWindow help;
        const QStringList order = HelpWindow::PageOrder();
        QVERIFY(order.size() >= 16);
        QCOMPARE(order.mid(0, 3), QStringList({"index.html", "first.html", "lessons.html"}));
        auto* browser = Child<QTextBrowser>(&help, "helpBrowser");
        auto* next = Child<QAction>(&help, "nextPageAction");
        auto* previous = Child<QAction>(&help, "previousPageAction");
        QVERIFY(!previous->isEnabled());
        QStringList seen{browser->source().fileName()};
        while (next->isEnabled() && seen.size() <= order.size()) {
            next->trigger();
            QVERIFY2(!browser->documentTitle().isEmpty(), qPrintable(browser->source().toString()));
            seen.append(browser->source().fileName());
        }
        QCOMPARE(seen, order);
        for (qsizetype k = 1; k < order.size(); ++k) previous->trigger();
        QCOMPARE(browser->source(), HelpWindow::kContentsPage);
        QVERIFY(!previous->isEnabled());
    }

    // A word typed without accents finds the pages that have it, and the first is shown with the
    // word selected; a word that no page has says so.
    void searchFindsAcrossPagesWithoutAccents() {
        HelpWindow help;
        auto* results = Child<QListWidget>(&help, "helpSearchResults");
        auto* browser = Child<QTextBrowser>(&help, "helpBrowser");
        help.Search(QStringLiteral("ΣΤΟΙΒΑ"));
        QVERIFY(results->count() >= 3);
        QVERIFY(results->item(0)->flags() != Qt::NoItemFlags);
        QCOMPARE(browser->textCursor().selectedText(), QStringLiteral("στοίβα"));
        help.Search(QStringLiteral("ξψξψξψ"));
        QCOMPARE(results->count(), 1);
        QCOMPARE(results->item(0)->flags(), Qt::NoItemFlags);
    }

    void textGrowsAndShrinksByKeysAndWheel() {
        HelpWindow help;
        help.show();
        QVERIFY(QTest::qWaitForWindowExposed(&help));
        auto* browser = Child<QTextBrowser>(&help, "helpBrowser");
        const qreal start = browser->font().pointSizeF();
        QTest::keyClick(&help, Qt::Key_Plus, Qt::ControlModifier);
        const qreal larger = browser->font().pointSizeF();
        QVERIFY(larger > start);
        QTest::keyClick(&help, Qt::Key_Minus, Qt::ControlModifier);
        QCOMPARE(browser->font().pointSizeF(), start);
        const QPoint middle = browser->viewport()->rect().center();
        QWheelEvent wheel(middle, browser->viewport()->mapToGlobal(middle), {}, {0, 120},
                          Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(browser->viewport(), &wheel);
        QVERIFY(browser->font().pointSizeF() > start);
    }

    // «Άνοιγμα στο πλέγμα» over a changed program asks New's question first: Cancel keeps the
    // program, No puts the example in, assembled so that F9 runs it. The page stays where it was.
    void anExampleLinkOpensTheProgramAfterTheSaveFirstQuestion() {
        auto& windows = *windows_;
        zorvan::grid::Workspace& workspace = windows.workspace;
        workspace.grid.SetCell(1, 1, "0200");
        workspace.grid.SetCell(2, 1, "NOP");
        workspace.changed = true;
        Child<QAction>(windows.mainWindow.get(), "helpAction")->trigger();
        auto* browser = Child<QTextBrowser>(windows.mainWindow.get(), "helpBrowser");
        const QUrl page = browser->source();
        const QUrl link(QStringLiteral("zorvan-open:examples/hello.zrv"));
        QStringList boxes;
        for (const QString& answer : {QStringLiteral("Cancel"), QStringLiteral("Όχι")}) {
            ModalDriver driver({[&](QWidget* modal) {
                auto* box = qobject_cast<QMessageBox*>(modal);
                boxes << box->text();
                if (answer == "Cancel") return box->reject();
                ModalDriver::Answer(&boxes, answer)(modal);
            }});
            browser->setSource(link);
            QVERIFY(driver.done());
        }
        QCOMPARE(boxes.size(), 3);
        QCOMPARE(boxes.front(), QStringLiteral("Το πλέγμα έχει αλλάξει! Θέλετε να αποθηκεύσετε;"));
        QCOMPARE(browser->source(), page);
        QCOMPARE(workspace.grid.Cell(2, 1), "LDA");
        QCOMPARE(workspace.grid.Cell(3, 1), "#C3");
        QVERIFY(!workspace.changed);
        QCOMPARE(workspace.machine.Read(0x0200), 0xA9);  // LDA #, assembled
        QVERIFY(Child<QAction>(windows.mainWindow.get(), "runAction")->isEnabled());

        // An exercise's «Έλεγχος» checks the grid with the exercise's built-in file.
        browser->setSource(QUrl(QStringLiteral("zorvan-check:examples/exercises/ex1a.expect")));
        auto* result = Child<QWidget>(windows.mainWindow.get(), "exerciseWindow");
        QTRY_VERIFY(result->isVisible());
        QVERIFY(Child<QLabel>(result, "summaryLabel")->text().contains("Βαθμός: 0/1"));
        QCOMPARE(browser->source(), page);
    }

    // Every claim that runs a program through Run, Step execution, Συνέχεια, Πίσω or a
    // breakpoint, played on the windows as a student would, leaves on screen what the page says.
    void theHelpsRunsShowOnScreenWhatThePagesSay() {
        using zorvan::testing::Unescape;
        const QStringList playable = QStringLiteral(
                                         "line file poke step f9 back continue breakpoint message "
                                         "console expect sentence cells executed summary")
                                         .split(' ');
        // A window that waits for an answer no claim gives is closed, and fails the claim.
        QStringList unexpected;
        QPointer<QWidget> waiting;
        QTimer guard;
        QObject::connect(&guard, &QTimer::timeout, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (modal != nullptr && modal == waiting) {
                auto* box = qobject_cast<QMessageBox*>(modal);
                unexpected << (box != nullptr ? box->text() : modal->objectName());
                modal->close();
            }
            waiting = modal;
        });
        guard.start(200);
        int played = 0;
        for (const auto& page : zorvan::testing::HelpPages()) {
            std::vector<std::string> errors;
            for (const zorvan::testing::Claim& claim : zorvan::testing::ClaimsOf(page, errors)) {
                const bool runs = claim.Has("step") || claim.Has("f9");
                const bool all = std::all_of(claim.keys.begin(), claim.keys.end(), [&](auto& k) {
                    return playable.contains(QString::fromStdString(k.first));
                });
                if (!runs || !all || !(claim.Has("message") || claim.Has("sentence"))) continue;
                const QByteArray where = QByteArray::fromStdString(claim.page + ": " + claim.title);
                Start();  // a fresh application for each claim
                auto& windows = *windows_;
                auto* main = form();
                zorvan::grid::ProgramGrid& grid = windows.workspace.grid;
                if (const auto rows = zorvan::testing::ProgramOf(claim); !rows.empty())
                    zorvan::app::PlaceProgramRows(grid, rows);
                windows.workspace.executionEnabled = true;  // as a completed line leaves it
                main->RefreshFromWorkspace();
                QStringList summary;  // Assemble asks whether to show the memory
                ModalDriver assembly({ModalDriver::Answer(&summary, QStringLiteral("Όχι"))});
                Child<QAction>(main, "assembleAction")->trigger();
                QVERIFY2(assembly.done(), where);
                auto* step = windows.stepWindow;
                const auto click = [&](const char* name) {
                    QTest::mouseClick(Child<QPushButton>(step, name), Qt::LeftButton);
                };
                for (const auto& [key, value] : claim.keys) {
                    const auto words = QString::fromStdString(value).split(' ');
                    if (key == "poke") {
                        for (const QString& word : words) {
                            const QStringList cell = word.split('=');
                            int at = cell[0].toInt(nullptr, 16);
                            for (const QString& v : cell[1].split(','))
                                windows.workspace.machine.Write(at++, v.toInt(nullptr, 16));
                        }
                    } else if (key == "breakpoint") {  // F5, as the debugger's test presses it
                        grid.SetRow(std::stoi(value));
                        main->RefreshFromWorkspace();
                        Child<QAction>(main, "breakpointAction")->trigger();
                    } else if (key == "f9") {
                        ModalDriver driver({ModalDriver::Type(QString::fromStdString(value))});
                        Child<QAction>(main, "runAction")->trigger();
                        QVERIFY2(driver.done(), where);
                    } else if (key == "step") {
                        Child<QAction>(main, "stepAction")->trigger();
                        QVERIFY(QTest::qWaitForWindowExposed(step));
                        auto* start = Child<QLineEdit>(step, "startAddressEdit");
                        start->clear();
                        QTest::keyClicks(start, words[0]);
                        QTest::keyClick(start, Qt::Key_Return);
                        for (int k = 1; k < words.value(1).toInt(); ++k) click("nextButton");
                    } else if (key == "continue") {
                        click("continueButton");
                    } else if (key == "back") {
                        for (int k = 0; k < std::stoi(value); ++k) click("backButton");
                    }
                }
                // What the windows show; the machine's values are the core's, checked headless.
                for (const auto& [key, value] : claim.keys) {
                    const QString expected = QString::fromStdString(Unescape(value));
                    QString shown;
                    if (key == "message") {
                        auto* area = Child<QPlainTextEdit>(main, "messageArea");
                        (void)QTest::qWaitFor([&] { return area->toPlainText() == expected; },
                                              2000);
                        shown = area->toPlainText();
                    } else if (key == "sentence") {
                        shown = Child<QLabel>(step, "sentenceLabel")->text();
                    } else if (key == "console") {
                        shown = Child<QPlainTextEdit>(windows.consoleWindow, "outputArea")
                                    ->toPlainText();
                    } else if (key == "executed") {
                        shown = Child<QTableWidget>(step, "stepRows")->item(0, 1)->text();
                    } else if (key == "summary") {  // the lines' and the bytes' counts
                        const QStringList counts = expected.split(' ');
                        shown = summary.value(0);
                        QVERIFY2(shown.contains(":" + counts[0] + " γραμμές") &&
                                     shown.contains(":" + counts.value(1) + "\n"),
                                 where + ": «" + shown.toUtf8() + "»");
                        continue;
                    } else {
                        continue;
                    }
                    QVERIFY2(shown == expected, where + ": «" + shown.toUtf8() + "»");
                }
                QVERIFY2(unexpected.isEmpty(), qPrintable(where + ": " + unexpected.join(", ")));
                ++played;
            }
        }
        QVERIFY(played >= 15);
    }

    // F1 opens the page of the window it is pressed in; the main window's opens the contents.
    // The modal start-address dialog gets a help window of its own, which it does not block.
    void f1OpensThePageOfTheWindowItIsPressedIn() {
        auto& windows = *windows_;
        QWidget* main = form();
        const std::pair<QWidget*, QString> cases[] = {
            {main, "index.html"},
            {windows.stepWindow, "debugger.html"},
            {windows.memoryWindow, "windows.html"},
            {windows.registerWindow, "windows.html"},
            {windows.consoleWindow, "console.html"},
            {Child<QWidget>(main, "exerciseWindow"), "teacher.html"}};
        for (const auto& [window, page] : cases) {
            auto* key = Child<QAction>(window, window == main ? "helpAction" : "helpKeyAction");
            QCOMPARE(key->shortcut(), QKeySequence(Qt::Key_F1));
            key->trigger();
            QCOMPARE(Child<QTextBrowser>(main, "helpBrowser")->source().fileName(), page);
        }
        auto* dialog = windows.startAddressDialog;
        Child<QAction>(dialog, "helpKeyAction")->trigger();
        QCOMPARE(Child<QTextBrowser>(dialog, "helpBrowser")->source().fileName(), "running.html");
    }
};

int main(int argc, char** argv) {
    QStandardPaths::setTestModeEnabled(true);  // the recent files of the tests stay theirs
    zorvan::ui::Application application(argc, argv);
    return QTest::qExec(std::make_unique<MainWindowTest>().get(), argc, argv);
}
#include "main_window_test.moc"
