// The main window on the real widgets: keys typed into the grid's cell editor, menu shortcuts,
// the boxes the commands show, the close box's question, and the file choosers.

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>

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
    static const QHash<QChar, Qt::Key> named{
        {'\r', Qt::Key_Return}, {'\t', Qt::Key_Tab},  {u'←', Qt::Key_Left},  {u'↑', Qt::Key_Up},
        {u'↓', Qt::Key_Down},   {u'⇱', Qt::Key_Home}, {u'⌦', Qt::Key_Delete}};
    for (QChar character : keys) {
        const Qt::Key key = named.value(character, Qt::Key(character.toUpper().unicode()));
        const QString text = named.contains(character) ? QString() : QString(character);
        QTest::sendKeyEvent(QTest::Click, QApplication::focusWidget(), key, text, Qt::NoModifier);
    }
}

// One data row per table entry, named after it.
template <typename Case, std::size_t N>
void Rows(const Case (&table)[N]) {
    QTest::addColumn<int>("i");
    for (std::size_t i = 0; i < N; ++i) QTest::newRow(table[i].name) << int(i);
}

// The cells as "column,row=text;...", then where the cursor is and what the message area says
// (blue or red).
// clang-format off
const struct { const char *name, *keys, *cells; int column, row; const char* message; bool blue; } kTyping[] = {
    {"an operand is asked for", "0200\rLDA\r", "2,1=LDA", 3, 1, "Δώστε την πρώτη παράμετρο.", true},
    {"Space commits like Enter", "0200 LDA #05 ", "1,1=0200;2,1=LDA;3,1=#05;1,2=0202", 2, 2, "", false},
    {"Space is typed in a label", "←LO OP\t0200\r", "0,1=LO OP;1,1=0200", 2, 1, "'' Εντολή Ανύπαρκτη.", false},
    {"Enter in the last comment appends a row", "0200\rNOP\r←←\t\t\t\t\tτέλος ok\r", "5,2=τέλος ok;1,2=0201;2,3=", 2, 3, "'' Εντολή Ανύπαρκτη.", false},
    {"a character outside the code page is not typed", "02Ж00", "1,1=0200", 1, 1, "", false}};
// clang-format on

// The rows the grid has after the command and the row "XYZ" is then on (0: deleted).
// clang-format off
const struct { const char *name, *item; QKeyCombination key; int rows, rowOfXyz; } kShortcuts[] = {
    {"Ins", "N8", Qt::Key_Insert, 4, 3},
    {"Shift+Del", "N9", Qt::SHIFT | Qt::Key_Delete, 2, 0},
    {"F8", "N18", Qt::Key_F8, 3, 2},
    {"F9", "N15", Qt::Key_F9, 3, 2},
    {"F10", "N16", Qt::Key_F10, 3, 2},
    {"Ctrl+F", "N20", Qt::CTRL | Qt::Key_F, 3, 2},
    {"Ctrl+K", "N14", Qt::CTRL | Qt::Key_K, 3, 2},
    {"F1", "N65021", Qt::Key_F1, 3, 2}};
// clang-format on

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<zorvan::windows::Forms> forms_;
    zorvan::windows::TForm1* form() const { return forms_->Form1.get(); }
    zorvan::app::Workspace& workspace() const { return forms_->workspace; }
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

    void cleanup() { forms_.reset(); }

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
        QCOMPARE(form()->Memo1->toPlainText(), QString::fromUtf8(c.message));
        const QColor colour = form()->Memo1->palette().color(QPalette::Active, QPalette::Text);
        QVERIFY(!*c.message || colour == (c.blue ? QColor(Qt::blue) : QColor(Qt::red)));
        QVERIFY(workspace().changed && form()->N18->isEnabled());
    }

    // With "XYZ" in the editor and the caret at its start, a line editor would cut it (Shift+Del)
    // or delete it to the end (Ctrl+K); the enabled command gets the key instead.
    void menuShortcutsReachTheirCommandsBeforeTheEditor_data() { Rows(kShortcuts); }
    void menuShortcutsReachTheirCommandsBeforeTheEditor() {
        QFETCH(int, i);
        const auto& c = kShortcuts[i];
        TypeKeys("0200\rNOP\rXYZ");
        editor()->setCursorPosition(0);
        QList<int> gridKeys;
        editor()->keyHandler = [&, handler = editor()->keyHandler](QKeyEvent* event) {
            gridKeys << event->key();
            handler(event);
        };
        QSignalSpy triggered(form()->findChild<QAction*>(c.item), &QAction::triggered);
        QStringList boxes;
        ModalDriver driver({ModalDriver::Answer(&boxes), ModalDriver::Answer(&boxes)});
        QTest::keyClick(editor(), c.key.key(), c.key.keyboardModifiers());
        QCOMPARE(triggered.count(), 1);
        QVERIFY2(!gridKeys.contains(c.key.key()), "the key reached the grid");
        QCOMPARE(workspace().grid.RowCount(), c.rows);
        if (c.rowOfXyz != 0) QCOMPARE(cell(2, c.rowOfXyz), QStringLiteral("XYZ"));
    }

    void aDisabledCommandsKeyReachesTheGridAndEnablesThem() {
        const QList<QAction*> commands{form()->N18, form()->N15, form()->N16};
        QVERIFY(std::ranges::none_of(commands, &QAction::isEnabled));
        QSignalSpy triggered(form()->N13, &QMenu::triggered);
        QTest::keyClick(editor(), Qt::Key_F9);
        QVERIFY(triggered.isEmpty() && workspace().changed &&
                std::ranges::all_of(commands, &QAction::isEnabled));
    }

    void assemblySummarysYesShowsTheMemoryWindow() {
        TypeKeys("0200\rLDA\r#05\rSTA\r0300\rBRK\r");
        QStringList texts;
        QList<int> icons;
        ModalDriver driver({ModalDriver::Answer(&texts, QStringLiteral("Ναι"), &icons)});
        QTest::keyClick(editor(), Qt::Key_F8);
        QCOMPARE(texts.join('|'),
                 QStringLiteral(
                     "Η Συμβολομετάφραση ολοκληρώθηκε.\nΕπεξεργάστηκαν Συνολικά:3 γραμμές.\n"
                     "Συνολικός Αριθμός Bytes:6\n\nΘέλετε να δείτε τα περιεχόμενα της μνήμης;"));
        QCOMPARE(icons, QList<int>{QMessageBox::Information});
        QVERIFY(forms_->MemForm->isVisible());
    }

    // The line's address rubbed out with Delete is not checked; a key on that line recomputes
    // the addresses and fails. After the error box the window goes on taking keys.
    void aConversionFailureIsShownAndTheWindowGoesOn() {
        QStringList texts;
        QList<int> icons;
        ModalDriver driver({ModalDriver::Answer(&texts, "OK", &icons)});
        TypeKeys("0200\rNOP\r←↑⇱⌦⌦⌦⌦A");
        QCOMPARE(icons, QList<int>{QMessageBox::Critical});
        form()->activateWindow();  // as a window manager does after the box
        QTRY_VERIFY(editor()->hasFocus());
        TypeKeys("↓ZZ");
        QVERIFY(cell(1, 1).isEmpty() && cell(1, 2) == QStringLiteral("0201ZZ"));
    }

    // Untouched, the window closes at once; changed, it asks first and closes after No, and
    // after Yes with the save dialog cancelled. The memory window closes with it.
    void closeBoxAsksBeforeDroppingChanges() {
        const QString question =
            QStringLiteral("Δεν έχει γινει αποθήκευση.\nΘέλετε να αποθηκεύσετε πρώτα;");
        for (const QString answer : {"", "Όχι", "Ναι"}) {
            init();
            TypeKeys(answer.isEmpty() ? "" : "0200");
            bool saveAsked = false;
            form()->chooseSaveFile = [&] { return saveAsked = true, std::optional<std::string>(); };
            forms_->MemForm->show();
            QStringList texts;
            ModalDriver driver({ModalDriver::Answer(&texts, answer)});
            form()->close();
            QCOMPARE(texts, answer.isEmpty() ? QStringList() : QStringList{question});
            QCOMPARE(saveAsked, answer == QStringLiteral("Ναι"));
            QVERIFY(!form()->isVisible() && !forms_->MemForm->isVisible());
        }
    }

    // Save and Open go through the injected choosers; New after a save asks nothing, empties
    // the grid and greys the execution commands.
    void saveNewAndOpen() {
        QTemporaryDir folder;
        const QString path = folder.filePath("prog.zrv");
        form()->chooseSaveFile = [&] { return std::optional(path.toStdString()); };
        form()->chooseOpenFile = form()->chooseSaveFile;
        TypeKeys("0200\rNOP\r");
        form()->N10->trigger();
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("_ 0200 NOP _ _ _ \r\n_ 0201 _ _ _ _ \r\n"));
        QVERIFY(!workspace().changed);
        form()->N2->trigger();
        QVERIFY(cell(2, 1).isEmpty() && !form()->N18->isEnabled());
        form()->N3->trigger();
        QVERIFY(cell(2, 1) == QStringLiteral("NOP") && form()->N18->isEnabled());
        QCOMPARE(form()->StringGrid1->model()->rowCount(), 2);
        QCOMPARE(form()->windowTitle(), "Zorvan-" + path);
    }
};

int main(int argc, char** argv) {
    zorvan::ui::Application application(argc, argv);
    MainWindowTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "main_window_test.moc"
