// The main window on the real widgets: keys typed into the grid's cell editor, menu shortcuts,
// the boxes the commands show, the close box's question, and the file choosers.

#include <QAction>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "modal_driver.h"
#include "ui/application.h"
#include "ui/cell_editor.h"
#include "ui/program_grid_view.h"
#include "windows/forms.h"
#include "windows/insert_lines_dialog.h"
#include "windows/main_window.h"
#include "windows/memory_window.h"

using zorvan::windows::Forms;

namespace {

// Each character as one key on the focused widget: '\r' Enter, '\t' Tab, the arrows ← ↑ ↓ their
// keys, ⇱ Home and ⌦ Delete.
void TypeKeys(const QString& keys) {
    static const QHash<QChar, Qt::Key> named{
        {'\r', Qt::Key_Return}, {'\t', Qt::Key_Tab},  {u'←', Qt::Key_Left},  {u'↑', Qt::Key_Up},
        {u'↓', Qt::Key_Down},   {u'⇱', Qt::Key_Home}, {u'⌦', Qt::Key_Delete}};
    for (QChar character : keys) {
        QWidget* focus = QApplication::focusWidget();
        QVERIFY(focus != nullptr);
        if (const Qt::Key key = named.value(character, Qt::Key_unknown); key != Qt::Key_unknown) {
            QTest::keyClick(focus, key);
        } else if (character.unicode() < 0x80) {
            QTest::keyClick(focus, character.toLatin1());
        } else {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(character));
            QApplication::sendEvent(focus, &press);
        }
    }
}

// One data row per table entry, named after it.
template <typename Case, std::size_t N>
void Rows(const Case (&table)[N]) {
    QTest::addColumn<int>("i");
    for (std::size_t i = 0; i < N; ++i) QTest::newRow(table[i].name) << int(i);
}
template <typename Case, std::size_t N>
const Case& Current(const Case (&table)[N]) {
    return table[*static_cast<int*>(QTest::qData("i", QMetaType::Int))];
}

// The cells as "column,row=text;...", then where the cursor is and what the message area says.
const struct {
    const char *name, *keys, *cells;
    int column, row;
    const char* message;
    bool blue;
} kTyping[] = {
    {"an instruction with an operand asks for it", "0200\rLDA\r", "2,1=LDA", 3, 1,
     "Δώστε την πρώτη παράμετρο.", true},
    {"Space commits like Enter and is not typed", "0200 LDA #05 ",
     "1,1=0200;2,1=LDA;3,1=#05;1,2=0202", 2, 2, "", false},
    {"Space types a space in the label column", "←LO OP\t0200\r", "0,1=LO OP;1,1=0200", 2, 1,
     "'' Εντολή Ανύπαρκτη.", false},
    {"Enter in the last row's comment appends a row", "0200\rNOP\r←←\t\t\t\t\tτέλος ok\r",
     "5,2=τέλος ok;1,2=0201;2,3=", 2, 3, "'' Εντολή Ανύπαρκτη.", false},
    {"a character outside the Greek code page is not typed", "02Ж00", "1,1=0200", 1, 1, "", false}};

// The rows the grid has after the command and the row "XYZ" is then on (0: deleted).
const struct {
    const char *name, *item;
    QKeyCombination key;
    int rows, rowOfXyz;
} kShortcuts[] = {
    // clang-format off
    {"Ins", "N8", Qt::Key_Insert, 4, 3},    {"Shift+Del", "N9", Qt::SHIFT | Qt::Key_Delete, 2, 0},
    {"F8", "N18", Qt::Key_F8, 3, 2},        {"F9", "N15", Qt::Key_F9, 3, 2},
    {"F10", "N16", Qt::Key_F10, 3, 2},      {"Ctrl+F", "N20", Qt::CTRL | Qt::Key_F, 3, 2},
    {"Ctrl+K", "N14", Qt::CTRL | Qt::Key_K, 3, 2}, {"F1", "N65021", Qt::Key_F1, 3, 2}};
// clang-format on

const struct {
    const char *name, *keys, *answer, *text;
    QMessageBox::Icon icon;
} kAssembly[] = {
    {"the summary's Yes shows the memory window", "0200\rLDA\r#05\rSTA\r0300\rBRK\r", "Ναι",
     "Η Συμβολομετάφραση ολοκληρώθηκε.\nΕπεξεργάστηκαν Συνολικά:3 γραμμές.\nΣυνολικός Αριθμός "
     "Bytes:6\n\nΘέλετε να δείτε τα περιεχόμενα της μνήμης;",
     QMessageBox::Information},
    {"label not found", "0200\rBNE\rLOOP\r", "OK", "Η ετικέτα 'LOOP' δεν βρέθηκε",
     QMessageBox::Warning},
    {"branch out of range", "0200\rBNE\r0300\r", "OK", "Διεύθυνση μνήμης εκτός ορίου",
     QMessageBox::Critical}};

const struct {
    const char *name, *answer;  // "": the grid is untouched, nothing is asked
} kClosing[] = {{"an untouched grid closes at once", ""},
                {"a changed grid asks; No closes", "Όχι"},
                {"Yes and a cancelled save dialog still close", "Ναι"}};

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Forms> forms_;
    zorvan::windows::TForm1* form() const { return forms_->Form1.get(); }
    zorvan::app::Workspace& workspace() const { return forms_->workspace; }
    zorvan::ui::CellEditor* editor() const { return form()->StringGrid1->Editor(); }
    QString cell(int column, int row) const {
        return QString::fromStdString(workspace().grid.Cell(column, row));
    }

    void Fresh() {
        forms_ = std::make_unique<Forms>();
        ToEditor();
    }
    void ToEditor() {
        form()->show();
        form()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form()));
        editor()->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(editor()));
    }

  private slots:
    void init() { Fresh(); }
    void cleanup() { forms_.reset(); }

    void typingAProgramKeyByKey_data() { Rows(kTyping); }
    void typingAProgramKeyByKey() {
        const auto& c = Current(kTyping);
        TypeKeys(QString::fromUtf8(c.keys));
        for (const QString& expected : QString::fromUtf8(c.cells).split(';')) {
            const QStringList place = expected.section('=', 0, 0).split(',');
            QCOMPARE(cell(place[0].toInt(), place[1].toInt()), expected.section('=', 1));
        }
        // The cursor and the open editor follow the core's current cell.
        const QModelIndex current = form()->StringGrid1->currentIndex();
        QCOMPARE(current, form()->StringGrid1->model()->index(c.row - 1, c.column));
        QCOMPARE(editor()->text(), cell(c.column, c.row));
        QVERIFY(form()->StringGrid1->visualRect(current).contains(editor()->geometry().center()));
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(editor()));
        QCOMPARE(form()->Memo1->toPlainText(), QString::fromUtf8(c.message));
        if (*c.message != '\0')
            QCOMPARE(form()->Memo1->palette().color(QPalette::Active, QPalette::Text),
                     c.blue ? QColor(Qt::blue) : QColor(Qt::red));
        QVERIFY(workspace().changed && form()->N18->isEnabled());
    }

    void pastedTextWithAForeignCharacterIsRefusedWhole() {
        TypeKeys("02");
        editor()->insert(QStringLiteral("0Ж0"));
        editor()->insert(QStringLiteral("00"));
        QCOMPARE(cell(1, 1), QStringLiteral("0200"));
    }

    // With "XYZ" in the editor and the caret at its start, a line editor would cut it (Shift+Del)
    // or delete it to the end (Ctrl+K); the enabled command gets the key instead.
    void menuShortcutsReachTheirCommandsBeforeTheEditor_data() { Rows(kShortcuts); }
    void menuShortcutsReachTheirCommandsBeforeTheEditor() {
        const auto& c = Current(kShortcuts);
        TypeKeys("0200\rNOP\rXYZ");
        editor()->setCursorPosition(0);
        QList<int> gridKeys;
        editor()->keyHandler = [&, handler = editor()->keyHandler](QKeyEvent* event) {
            gridKeys << event->key();
            handler(event);
        };
        auto* action = form()->findChild<QAction*>(c.item);
        QVERIFY(action != nullptr && action->isEnabled());
        QSignalSpy triggered(action, &QAction::triggered);
        QStringList boxes;
        ModalDriver driver({ModalDriver::Answer(&boxes), ModalDriver::Answer(&boxes)});
        QTest::keyClick(editor(), c.key.key(), c.key.keyboardModifiers());

        QCOMPARE(triggered.count(), 1);
        QVERIFY2(!gridKeys.contains(c.key.key()), "the key reached the grid");
        QCOMPARE(workspace().grid.RowCount(), c.rows);
        if (c.rowOfXyz != 0) QCOMPARE(cell(2, c.rowOfXyz), QStringLiteral("XYZ"));
    }

    void disabledCommandsKeysReachTheGridAndEnableThem() {
        for (Qt::Key key : {Qt::Key_F8, Qt::Key_F9, Qt::Key_F10}) {
            Fresh();
            QVERIFY(!form()->N18->isEnabled() && !form()->N15->isEnabled());
            int triggered = 0;
            for (QAction* command : {form()->N18, form()->N15, form()->N16})
                connect(command, &QAction::triggered, [&] { ++triggered; });
            QTest::keyClick(editor(), key);
            QVERIFY(workspace().changed && form()->N18->isEnabled() && form()->N15->isEnabled() &&
                    form()->N16->isEnabled());
            QCOMPARE(triggered, 0);
        }
    }

    void assemblyShowsItsBox_data() { Rows(kAssembly); }
    void assemblyShowsItsBox() {
        const auto& c = Current(kAssembly);
        TypeKeys(QString::fromUtf8(c.keys));
        QStringList texts;
        QList<int> icons;
        ModalDriver driver({ModalDriver::Answer(&texts, QString::fromUtf8(c.answer), &icons)});
        QTest::keyClick(editor(), Qt::Key_F8);
        QCOMPARE(texts, QStringList{QString::fromUtf8(c.text)});
        QCOMPARE(icons, QList<int>{c.icon});
        QCOMPARE(forms_->MemForm->isVisible(), c.icon == QMessageBox::Information);
    }

    // A failed conversion shows an error box; the window goes on taking keys. First the line's
    // address rubbed out with Delete (no check), then a key on that line that recomputes the
    // addresses; then Insert lines, whose dialog keeps its last number, given letters.
    void aConversionFailureIsShownAndTheWindowGoesOn() {
        auto* dialog = forms_->INSform.get();
        const auto insert = [dialog](const char* shown, const char* typed) {
            return [=](QWidget*) {
                QCOMPARE(dialog->Edit1->text(), QString::fromLatin1(shown));
                dialog->Edit1->setText(typed);
                dialog->Button1->click();
            };
        };
        QStringList texts;
        QList<int> icons;
        ModalDriver driver({ModalDriver::Answer(&texts, "OK", &icons), insert("0", "3"),
                            insert("3", "ab"), ModalDriver::Answer(&texts, "OK", &icons)});
        TypeKeys("0200\rNOP\r←↑⇱⌦⌦⌦⌦A");
        QTRY_COMPARE(texts.size(), 1);
        ToEditor();
        TypeKeys("↓ZZ");
        QCOMPARE(cell(1, 1), QString());
        QCOMPARE(cell(1, 2), QStringLiteral("0201ZZ"));
        form()->N4->trigger();
        QCOMPARE(workspace().grid.RowCount(), 6);
        form()->N4->trigger();
        QVERIFY(driver.done());
        QCOMPARE(workspace().grid.RowCount(), 6);
        QVERIFY(texts.size() == 2 && texts[1].contains("ab"));
        QCOMPARE(icons, (QList<int>{QMessageBox::Critical, QMessageBox::Critical}));
    }

    void closeBoxAsksBeforeDroppingChanges_data() { Rows(kClosing); }
    void closeBoxAsksBeforeDroppingChanges() {
        const auto& c = Current(kClosing);
        TypeKeys(*c.answer != '\0' ? "0200" : "");
        bool saveAsked = false;
        form()->chooseSaveFile = [&] {
            saveAsked = true;
            return std::optional<std::string>();
        };
        forms_->MemForm->show();
        QStringList texts;
        ModalDriver driver({ModalDriver::Answer(&texts, QString::fromUtf8(c.answer))});
        form()->close();
        QCOMPARE(texts, *c.answer == '\0'
                            ? QStringList()
                            : QStringList{QStringLiteral(
                                  "Δεν έχει γινει αποθήκευση.\nΘέλετε να αποθηκεύσετε πρώτα;")});
        QCOMPARE(saveAsked, QString::fromUtf8(c.answer) == QStringLiteral("Ναι"));
        QVERIFY(!form()->isVisible() && !forms_->MemForm->isVisible());
    }

    // Save's dialog adds the extension to a name typed without one and asks before replacing
    // a file (No shows the dialog again); Open goes through the injected chooser.
    void saveNewAndOpen() {
        QTemporaryDir folder;
        QFile file(folder.filePath("prog.zrv"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        TypeKeys("0200\rNOP\r");
        const auto typeName = [](QWidget* modal) {
            auto* name = modal->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            QVERIFY(qobject_cast<QFileDialog*>(modal) != nullptr && name != nullptr);
            name->setText(QStringLiteral("prog"));
            static_cast<QDialog*>(modal)->accept();
        };
        QStringList questions;
        form()->SaveDialog1->setDirectory(folder.path());
        ModalDriver driver({typeName, ModalDriver::Answer(&questions, "Όχι"), typeName,
                            ModalDriver::Answer(&questions, "Ναι")});
        form()->N10->trigger();
        QVERIFY(driver.done() && questions.size() == 2 && questions[0].contains("prog.zrv"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("_ 0200 NOP _ _ _ \r\n_ 0201 _ _ _ _ \r\n"));
        QVERIFY(!workspace().changed);

        // New asks nothing after a save, empties the grid and greys the execution commands.
        form()->N2->trigger();
        QVERIFY(cell(2, 1).isEmpty() && !form()->N18->isEnabled());
        form()->chooseOpenFile = [&] { return std::optional(file.fileName().toStdString()); };
        form()->N3->trigger();
        QCOMPARE(cell(2, 1), QStringLiteral("NOP"));
        QCOMPARE(form()->StringGrid1->model()->rowCount(), 2);
        QCOMPARE(form()->windowTitle(), "Zorvan-" + file.fileName());
        QVERIFY(form()->N18->isEnabled());
    }
};

int main(int argc, char** argv) {
    zorvan::ui::Application application(argc, argv);
    MainWindowTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "main_window_test.moc"
