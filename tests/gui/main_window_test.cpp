// The main window on the real widgets: keys typed into the grid's cell editor, menu shortcuts,
// the boxes the commands show, the close box's question, and the file choosers.

#include <sys/stat.h>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "modal_driver.h"
#include "ui/application.h"
#include "ui/cell_editor.h"
#include "ui/program_grid_view.h"
#include "windows/forms.h"
#include "windows/main_window.h"
#include "windows/memory_window.h"

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

// The cells as "column,row=text;...", then where the cursor is and what the message area says
// (its colour first).
// clang-format off
const struct { const char *name, *keys, *cells; int column, row; const char* message; } kTyping[] = {
    {"an operand is asked for", "0200\rLDA\r", "2,1=LDA", 3, 1, "#0000ff Δώστε την πρώτη παράμετρο."},
    {"Space commits like Enter", "0200 LDA #05 ", "1,1=0200;2,1=LDA;3,1=#05;1,2=0202", 2, 2, ""},
    {"Space is typed in a label", "←LO OP\t0200\r", "0,1=LO OP;1,1=0200", 2, 1, "#ff0000 '' Εντολή Ανύπαρκτη."},
    {"Enter in the last comment appends a row", "0200\rNOP\r←←\t\t\t\t\tτέλος ok\r", "5,2=τέλος ok;1,2=0201;2,3=", 2, 3, "#ff0000 '' Εντολή Ανύπαρκτη."},
    {"a character outside the code page is not typed", "02Ж00", "1,1=0200", 1, 1, ""}};
// clang-format on

// The rows the grid has after the command, the row "BRK" is then on (0: deleted), and whether
// the memory window is up (the assembly summary's Yes shows it).
// clang-format off
const struct { const char *name, *item; QKeyCombination key; int rows, rowOfBrk; bool memory; } kShortcuts[] = {
    {"Ins", "N8", Qt::Key_Insert, 4, 3, false},
    {"Shift+Del", "N9", Qt::SHIFT | Qt::Key_Delete, 2, 0, false},
    {"F8", "N18", Qt::Key_F8, 3, 2, true},
    {"Ctrl+K", "N14", Qt::CTRL | Qt::Key_K, 3, 2, false}};

// clang-format on

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<zorvan::windows::Forms> forms_;
    zorvan::windows::TForm1* form() const { return forms_->Form1.get(); }
    zorvan::grid::Workspace& workspace() const { return forms_->workspace; }
    zorvan::ui::CellEditor* editor() const { return form()->StringGrid1->Editor(); }
    QString cell(int c, int r) const { return QString::fromStdString(workspace().grid.Cell(c, r)); }

  private slots:
    void init() {
        forms_ = std::make_unique<zorvan::windows::Forms>();
        form()->show();
        form()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form()));
        editor()->setFocus();
        QTRY_VERIFY(editor()->hasFocus());
    }

    void typingAProgramKeyByKey_data() { Rows(kTyping); }
    void typingAProgramKeyByKey() {
        QFETCH(int, i);
        const auto& c = kTyping[i];
        TypeKeys(QString::fromUtf8(c.keys));
        for (const QString& expected : QString::fromUtf8(c.cells).split(';'))
            QCOMPARE(cell(expected[0].digitValue(), expected[2].digitValue()), expected.mid(4));
        // The cursor and the open editor follow the core's current cell.
        const QModelIndex current = form()->StringGrid1->currentIndex();
        QCOMPARE(current, form()->StringGrid1->model()->index(c.row - 1, c.column));
        QVERIFY(editor()->text() == cell(c.column, c.row) && editor()->hasFocus());
        QVERIFY(form()->StringGrid1->visualRect(current).contains(editor()->geometry().center()));
        const QString memo = form()->Memo1->toPlainText();
        const QString colour = form()->Memo1->palette().text().color().name();
        QCOMPARE(memo.isEmpty() ? memo : colour + ' ' + memo, QString::fromUtf8(c.message));
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
        QSignalSpy triggered(form()->findChild<QAction*>(c.item), &QAction::triggered);
        QStringList boxes;
        ModalDriver driver({ModalDriver::Answer(&boxes, QStringLiteral("Ναι"))});
        QTest::keyClick(editor(), c.key.key(), c.key.keyboardModifiers());
        QCOMPARE(triggered.count(), 1);
        QVERIFY2(!gridKeys.contains(c.key.key()), "the key reached the grid");
        QCOMPARE(workspace().grid.RowCount(), c.rows);
        if (c.rowOfBrk != 0) QCOMPARE(cell(2, c.rowOfBrk), QStringLiteral("BRK"));
        QCOMPARE(forms_->MemForm->isVisible(), c.memory);
    }

    void aDisabledCommandsKeyReachesTheGridAndEnablesThem() {
        QVERIFY(!form()->N15->isEnabled());
        QSignalSpy triggered(form()->N13, &QMenu::triggered);
        QTest::keyClick(editor(), Qt::Key_F9);
        QVERIFY(triggered.isEmpty() && workspace().changed && form()->N15->isEnabled());
    }

    // A line whose address is rubbed out with Delete, or mistyped, takes keys as any other: the
    // problem is said in red without a box, and the address, corrected with Backspace and
    // digits, reads again after Enter.
    void aMistypedAddressCanBeCorrectedInItsCell() {
        QStringList boxes;
        ModalDriver driver({ModalDriver::Answer(&boxes, "OK")});
        const auto shown = [this] {
            return form()->Memo1->palette().text().color().name() + ' ' +
                   form()->Memo1->toPlainText();
        };
        TypeKeys("0200\rNOP\r←↑⇱⌦⌦⌦⌦");
        QCOMPARE(shown(), QStringLiteral("#ff0000 Η γραμμή 1 δεν έχει διεύθυνση. Γράψτε την στη "
                                         "στήλη «Διευθύνσεις» και πατήστε Enter."));
        TypeKeys("02G1");
        QCOMPARE(cell(1, 1), QStringLiteral("02G1"));
        QCOMPARE(shown(), QStringLiteral("#ff0000 Η διεύθυνση της γραμμής 1 δεν είναι "
                                         "δεκαεξαδικός αριθμός. Διορθώστε την στη στήλη "
                                         "«Διευθύνσεις» και πατήστε Enter."));
        TypeKeys("⌫⌫01\r");
        QCOMPARE(cell(1, 1), QStringLiteral("0201"));
        QCOMPARE(cell(1, 2), QStringLiteral("0202"));
        QVERIFY(form()->Memo1->toPlainText().isEmpty());
        QTest::qWait(20);
        QVERIFY2(boxes.isEmpty(), qPrintable(boxes.join('|')));
        QVERIFY(editor()->hasFocus());
    }

    // Enter again on a finished indexed line's instruction keeps its index register, so that
    // the line still assembles as it reads.
    void reCheckingALineKeepsItsIndexRegister() {
        TypeKeys("0200\rLDA\r1234,\rY\r↑\r");
        QCOMPARE(cell(4, 1), QStringLiteral("Y"));
        QCOMPARE(form()->StringGrid1->currentIndex(), form()->StringGrid1->model()->index(1, 2));
        QStringList boxes;
        ModalDriver driver({ModalDriver::Answer(&boxes)});
        form()->N18->trigger();                            // Assemble, then its box
        QCOMPARE(workspace().machine.Read(0x0200), 0xB9);  // LDA abs,Y
    }

    // Untouched, the window closes at once; changed, it asks first and closes after No, and
    // after Yes with the save dialog cancelled. The memory window closes with it.
    void closeBoxAsksBeforeDroppingChanges() {
        const QString answers[] = {"", "Όχι", "Ναι"};  // the boxes and choosers: none, 1, 2
        for (int n = 0; n < 3; ++n) {
            init();
            TypeKeys(n == 0 ? "" : "0200");
            QStringList texts;
            form()->chooseSaveFile = [&] { return texts << "<save>", std::nullopt; };
            forms_->MemForm->show();
            ModalDriver driver({ModalDriver::Answer(&texts, answers[n])});
            form()->close();
            const QString question =
                QStringLiteral("Δεν έχει γινει αποθήκευση.\nΘέλετε να αποθηκεύσετε πρώτα;");
            QCOMPARE(texts, QStringList({question, "<save>"}).first(n));
            QVERIFY(!form()->isVisible() && !forms_->MemForm->isVisible());
        }
    }

    // Escape on the save-first question, or its close box, calls off New, Open and closing the
    // window: the program, its caption and its changed flag stay, and no file dialog comes up.
    void escapeOnTheSaveQuestionKeepsTheProgram() {
        for (const bool byEscape : {true, false}) {
            for (int command = 0; command < 3; ++command) {
                init();
                TypeKeys("0200\rNOP\r");
                const QString title = form()->windowTitle();
                QStringList texts;
                form()->chooseSaveFile = [&] { return texts << "<save>", std::nullopt; };
                form()->chooseOpenFile = [&] { return texts << "<open>", std::nullopt; };
                ModalDriver driver({[&](QWidget* modal) {
                    texts << qobject_cast<QMessageBox*>(modal)->text();
                    byEscape ? QTest::keyClick(modal, Qt::Key_Escape) : void(modal->close());
                }});
                command == 0   ? form()->N2->trigger()
                : command == 1 ? form()->N3->trigger()
                               : void(form()->close());
                QCOMPARE(texts.size(), 1);
                QVERIFY(driver.done() && form()->isVisible());
                QVERIFY(cell(2, 1) == QStringLiteral("NOP") && workspace().changed);
                QCOMPARE(form()->windowTitle(), title);
            }
        }
    }

    // Grid commands chosen from the menu mark the program changed, so that New asks first;
    // Insert lines reads "0x3" as three. An Open that is cancelled, or whose file is a folder or
    // a named pipe, leaves the program, its caption and its changed flag as they were.
    void gridCommandsMarkChangedAndAFailedOpenKeepsTheProgram() {
        QTemporaryDir folder;
        const QString path = folder.filePath("prog.zrv");
        form()->chooseSaveFile = [&] { return std::optional(path.toStdString()); };
        TypeKeys("0200\rNOP\rNOP\r");
        form()->N10->trigger();
        QVERIFY(!workspace().changed);
        form()->N9->trigger();  // Delete line
        QVERIFY(workspace().changed);
        QStringList texts;
        {
            ModalDriver driver({[&](QWidget* box) {
                texts << qobject_cast<QMessageBox*>(box)->text();
                QTest::keyClick(box, Qt::Key_Escape);
            }});
            form()->N2->trigger();
            QVERIFY(driver.done());
        }
        QCOMPARE(texts, QStringList{"Το πλέγμα έχει αλλάξει! Θέλετε να αποθηκεύσετε;"});
        form()->N10->trigger();
        const int rows = workspace().grid.RowCount();
        {
            ModalDriver driver({[](QWidget* dialog) {
                auto* count = dialog->findChild<QLineEdit*>();
                count->selectAll();
                QTest::keyClicks(count, "0x3");
                QTest::keyClick(count, Qt::Key_Return);
            }});
            form()->N4->trigger();  // Insert lines
            QVERIFY(driver.done());
        }
        QCOMPARE(workspace().grid.RowCount(), rows + 3);
        QVERIFY(workspace().changed);

        QVERIFY(QDir(folder.path()).mkdir("folder"));
        const QByteArray pipe = folder.filePath("pipe").toLocal8Bit();
        QCOMPARE(::mkfifo(pipe.constData(), 0600), 0);
        const QString title = form()->windowTitle();
        for (const QString& chosen : {QString(), folder.filePath("folder"), QString(pipe)}) {
            form()->chooseOpenFile = [&]() -> std::optional<std::string> {
                if (chosen.isEmpty()) return std::nullopt;
                return chosen.toStdString();
            };
            QStringList boxes;
            ModalDriver driver(
                {ModalDriver::Answer(&boxes, QStringLiteral("Όχι")), ModalDriver::Answer(&boxes)});
            form()->N3->trigger();
            QCOMPARE(boxes.size(), chosen.isEmpty() ? 1 : 2);  // the question, then the warning
            QCOMPARE(workspace().grid.RowCount(), rows + 3);
            QVERIFY(workspace().changed && form()->windowTitle() == title);
        }
    }

    // After the OK of an assembly error box the cursor is on the line at fault, 397 lines down.
    void anAssemblyErrorTakesTheCursorToItsLine() {
        zorvan::grid::ProgramGrid& grid = workspace().grid;
        grid.SetRowCount(400);
        for (int row = 1; row < 399; ++row) {
            grid.SetCell(1, row, QString::number(0x200 + row, 16).toStdString());
            grid.SetCell(2, row, row == 397 ? "BNE" : "NOP");
        }
        grid.SetCell(3, 397, "NOWHERE");
        workspace().executionEnabled = true;
        form()->RefreshFromWorkspace();
        QStringList texts;
        ModalDriver driver({ModalDriver::Answer(&texts)});
        form()->N18->trigger();
        QVERIFY(driver.done());
        QCOMPARE(texts, QStringList{"Η ετικέτα 'NOWHERE' δεν βρέθηκε"});
        QCOMPARE(workspace().grid.Row(), 397);
        QCOMPARE(form()->StringGrid1->currentIndex().row(),
                 397 - 1);  // the header is the view's own
        QCOMPARE(form()->StringGrid1->currentIndex().column(), 3);
    }

    // A file with bytes the code page leaves undefined shows them as stand-ins, a cell holding
    // one can still be edited, and saving writes every byte back; a UTF-8 file keeps its Greek
    // and names, once, what it cannot save.
    void openedBytesSurviveAndUtf8Opens() {
        QTemporaryDir folder;
        const QString path = folder.filePath("bytes.zrv");
        const QByteArray bytes = "\xAA\x81 0200 NOP _ _ \xF4\xDD\xEB\xEF\xF2\xFF\r\n";
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        file.close();
        form()->OpenNamedFile(path);
        QCOMPARE(cell(0, 1), QStringLiteral("⢪⢁"));
        QCOMPARE(cell(5, 1), QStringLiteral("τέλος⣿"));
        form()->chooseSaveFile = [&] { return std::optional(path.toStdString()); };
        form()->N10->trigger();
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), bytes);
        file.close();
        TypeKeys("↑←←⌫B\t");  // into the label: the stand-in stays, B is typed after it
        QCOMPARE(cell(0, 1), QStringLiteral("⢪B"));

        QStringList boxes;
        ModalDriver driver({ModalDriver::Answer(&boxes)});
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("\xCE\x9B\xC5\x91 0200 NOP _ _ \xCF\x8E\xCF\x81\xCE\xB1\r\n");  // Λő ... ώρα
        file.close();
        form()->OpenNamedFile(path);
        QCOMPARE(cell(0, 1), QStringLiteral("Λő"));
        QCOMPARE(cell(5, 1), QStringLiteral("ώρα"));
        QTRY_COMPARE(boxes.size(), 1);
        QVERIFY2(boxes.front().contains(QStringLiteral("«ő»")), qPrintable(boxes.front()));
    }

    // Save and Open go through the injected choosers (the program comes back from the chosen
    // file); New after a save asks nothing, empties the grid and greys the execution commands.
    void saveNewAndOpen() {
        QTemporaryDir folder;
        const QString path = folder.filePath("prog.zrv");
        form()->chooseSaveFile = [&] { return std::optional(path.toStdString()); };
        form()->chooseOpenFile = form()->chooseSaveFile;
        TypeKeys("0200\rNOP\r");
        form()->N10->trigger();
        QVERIFY(!workspace().changed);
        form()->N2->trigger();
        QVERIFY(cell(2, 1).isEmpty() && !form()->N18->isEnabled());
        form()->N3->trigger();
        QVERIFY(cell(2, 1) == QStringLiteral("NOP") && form()->N18->isEnabled());
        QVERIFY(form()->StringGrid1->model()->rowCount() == 2 &&
                form()->windowTitle() == "Zorvan-" + path);

        // The real open dialog completes a bare name with the program extension.
        form()->N2->trigger();
        form()->OpenDialog1->setDirectory(folder.path());
        form()->chooseOpenFile = [this]() -> std::optional<std::string> {
            if (form()->OpenDialog1->exec() != QDialog::Accepted) return std::nullopt;
            return form()->OpenDialog1->selectedFiles().front().toStdString();
        };
        ModalDriver driver({[](QWidget* dialog) {
            auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            name->setText(QStringLiteral("prog"));
            QTest::keyClick(name, Qt::Key_Return);
        }});
        form()->N3->trigger();
        QVERIFY(driver.done());
        QCOMPARE(cell(2, 1), QStringLiteral("NOP"));
        QCOMPARE(form()->windowTitle(), "Zorvan-" + path);
    }
};

int main(int argc, char** argv) {
    zorvan::ui::Application application(argc, argv);
    return QTest::qExec(std::make_unique<MainWindowTest>().get(), argc, argv);
}
#include "main_window_test.moc"
