// The main window on the real widgets: keys typed into the grid's cell editor, menu shortcuts,
// the error box, the close box's question, and the file dialogs.

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

#include "app/workspace.h"
#include "ui/application.h"
#include "ui/program_grid_view.h"
#include "windows/forms.h"
#include "windows/insert_lines_dialog.h"
#include "windows/main_window.h"
#include "windows/memory_window.h"
#include "windows/register_window.h"
#include "windows/start_address_dialog.h"
#include "windows/step_window.h"

using zorvan::windows::Forms;
using zorvan::windows::TForm1;

namespace {

const QColor kRed(0xFF, 0x00, 0x00);
const QColor kBlue(0x00, 0x00, 0xFF);

// What a modal box showed before it was answered.
struct SeenBox {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons;
};

// Answers the modal boxes that come up, one after another, by pressing the button with the given
// text ("" closes whatever is modal, "-" leaves it to the test). The work that opens them runs
// meanwhile.
class ModalAnswers {
  public:
    explicit ModalAnswers(QStringList answers) : answers_(std::move(answers)) {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
        timer_.start();
    }
    const QList<SeenBox>& seen() const { return seen_; }
    QStringList modalClasses() const { return classes_; }

  private:
    void Poll() {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || modal == last_ || answers_.isEmpty()) return;
        last_ = modal;
        classes_ << QString::fromLatin1(modal->metaObject()->className());
        const QString answer = answers_.takeFirst();
        if (answer == "-") return;  // somebody else answers this one
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            SeenBox seen{box->windowTitle(), box->text(), box->icon(), {}};
            QAbstractButton* chosen = nullptr;
            for (QAbstractButton* button : box->buttons()) {
                seen.buttons << button->text();
                if (button->text() == answer) chosen = button;
            }
            seen_ << seen;
            if (chosen != nullptr) {
                chosen->click();
                return;
            }
        }
        modal->close();
    }

    QStringList answers_;
    QList<SeenBox> seen_;
    QStringList classes_;
    QTimer timer_;
    QWidget* last_ = nullptr;
};

// Each character as one key on the focused widget: '\r' is Enter, '\t' Tab, the arrows ← ↑ ↓
// their keys, ⇱ Home and ⌦ Delete.
void TypeKeys(const QString& keys) {
    for (QChar character : keys) {
        QWidget* focus = QApplication::focusWidget();
        QVERIFY(focus != nullptr);
        if (character == '\r') {
            QTest::keyClick(focus, Qt::Key_Return);
        } else if (character == '\t') {
            QTest::keyClick(focus, Qt::Key_Tab);
        } else if (character == u'←') {
            QTest::keyClick(focus, Qt::Key_Left);
        } else if (character == u'↑') {
            QTest::keyClick(focus, Qt::Key_Up);
        } else if (character == u'↓') {
            QTest::keyClick(focus, Qt::Key_Down);
        } else if (character == u'⇱') {
            QTest::keyClick(focus, Qt::Key_Home);
        } else if (character == u'⌦') {
            QTest::keyClick(focus, Qt::Key_Delete);
        } else if (character.unicode() < 0x80) {
            QTest::keyClick(focus, character.toLatin1());
        } else {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(character));
            QApplication::sendEvent(focus, &press);
        }
    }
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<Forms> forms_;
    TForm1* form() const { return forms_->Form1.get(); }
    zorvan::app::Workspace& workspace() const { return forms_->workspace; }
    QLineEdit* editor() const { return form()->StringGrid1->Editor(); }
    QString cell(int column, int row) const {
        return QString::fromStdString(workspace().grid.Cell(column, row));
    }
    // "column,row=text"
    [[nodiscard]] bool ExpectCell(const QString& expected) const {
        const qsizetype comma = expected.indexOf(','), equals = expected.indexOf('=');
        const int c = expected.left(comma).toInt();
        const int r = expected.mid(comma + 1, equals - comma - 1).toInt();
        if (cell(c, r) == expected.mid(equals + 1)) return true;
        qWarning() << "cell" << c << r << "holds" << cell(c, r) << "not"
                   << expected.mid(equals + 1);
        return false;
    }

  private slots:
    void init() {
        forms_ = std::make_unique<Forms>();
        form()->show();
        form()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form()));
        editor()->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(editor()));
    }
    void cleanup() { forms_.reset(); }

    void startsReadyToTypeTheFirstAddress() {
        QCOMPARE(QApplication::applicationName(), QStringLiteral("Zorvan"));
        QCOMPARE(form()->windowTitle(), QStringLiteral("Zorvan"));
        QCOMPARE(form()->StringGrid1->model()->rowCount(), 1);
        QCOMPARE(form()->StringGrid1->model()->headerData(3, Qt::Horizontal).toString(),
                 QStringLiteral("Παράμετρος 1"));
        QCOMPARE(form()->StringGrid1->columnWidth(5), 107);
        QCOMPARE(form()->StringGrid1->currentIndex().column(), 1);
        QVERIFY(editor()->isVisible());
        QVERIFY(form()
                    ->StringGrid1->visualRect(form()->StringGrid1->currentIndex())
                    .contains(editor()->geometry().center()));
        QVERIFY(!form()->Label1->isEnabled());
        QVERIFY(!form()->Memo1->isEnabled());
        QVERIFY(!form()->N18->isEnabled() && !form()->N15->isEnabled() &&
                !form()->N16->isEnabled());
        QVERIFY(form()->Memo1->font().bold());
        QCOMPARE(form()->Memo1->font().pixelSize(), 16);
        QCOMPARE(form()->Memo1->height(), 75);
    }

    void typingAProgramKeyByKey_data() {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QStringList>("cells");  // "column,row=text"
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QColor>("colour");

        QTest::newRow("an address on a new row asks for the still empty instruction")
            << "0200\r" << QStringList{"1,1=0200", "2,1="} << 2 << 1 << "'' Εντολή Ανύπαρκτη."
            << kRed;
        QTest::newRow("an instruction with an operand asks for it in blue")
            << "0200\rLDA\r" << QStringList{"2,1=LDA"} << 3 << 1 << "Δώστε την πρώτη παράμετρο."
            << kBlue;
        QTest::newRow("Space commits like Enter and is not typed into the cell")
            << "0200 LDA #05 " << QStringList{"1,1=0200", "2,1=LDA", "3,1=#05", "1,2=0202"} << 2
            << 2 << "" << kRed;
        QTest::newRow("a one-byte instruction completes the line")
            << "0200\rNOP\r" << QStringList{"2,1=NOP", "1,2=0201"} << 2 << 2 << "" << kRed;
        QTest::newRow("an indexed operand takes the second parameter")
            << "0200\rSTA\r45,\rX\r" << QStringList{"3,1=45,", "4,1=X", "1,2=0202"} << 2 << 2
            << "'' Εντολή Ανύπαρκτη." << kRed;
        QTest::newRow("a short address is refused where it stands")
            << "020\r" << QStringList{"1,1=020"} << 1 << 1
            << "Λάθος διεύθυνση. Δεκτά μόνο τέσσερα δεκαεξαδικά ψηφία." << kRed;
        QTest::newRow("Space types a space in the label column")
            << "←LO OP\t0200\r" << QStringList{"0,1=LO OP", "1,1=0200"} << 2 << 1
            << "'' Εντολή Ανύπαρκτη." << kRed;
        QTest::newRow("Enter in the comment column of the last row appends a row")
            << "0200\rNOP\r←←\t\t\t\t\tτέλος ok\r"
            << QStringList{"5,2=τέλος ok", "1,2=0201", "2,3="} << 2 << 3 << "'' Εντολή Ανύπαρκτη."
            << kRed;
        QTest::newRow("a character outside the Greek code page is not typed")
            << "02Ж00" << QStringList{"1,1=0200"} << 1 << 1 << "" << kRed;
    }

    void typingAProgramKeyByKey() {
        QFETCH(QString, keys);
        QFETCH(QStringList, cells);
        QFETCH(int, column);
        QFETCH(int, row);
        QFETCH(QString, message);
        QFETCH(QColor, colour);

        TypeKeys(keys);
        for (const QString& expected : cells) QVERIFY(ExpectCell(expected));
        QCOMPARE(workspace().grid.Col(), column);
        QCOMPARE(workspace().grid.Row(), row);
        // The cursor and the editor follow the core's current cell.
        const QModelIndex current = form()->StringGrid1->currentIndex();
        QCOMPARE(current.column(), column);
        QCOMPARE(current.row(), row - 1);
        QCOMPARE(editor()->text(), cell(column, row));
        QVERIFY(form()->StringGrid1->visualRect(current).contains(editor()->geometry().center()));
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(editor()));

        QCOMPARE(form()->Memo1->toPlainText(), message);
        if (!message.isEmpty()) {
            QVERIFY(form()->Memo1->isEnabled());
            QVERIFY(form()->Label1->isEnabled());
            QCOMPARE(form()->Memo1->palette().color(QPalette::Active, QPalette::Text), colour);
        }
        QVERIFY(workspace().changed);
        QVERIFY(form()->N18->isEnabled());
    }

    void pastedTextWithAForeignCharacterIsRefused() {
        TypeKeys("02");
        editor()->insert(QStringLiteral("0Ж0"));
        QCOMPARE(cell(1, 1), QStringLiteral("02"));
        editor()->insert(QStringLiteral("00"));
        QCOMPARE(cell(1, 1), QStringLiteral("0200"));
    }

    void menuShortcutsReachTheirCommandsBeforeTheEditor_data() {
        QTest::addColumn<QString>("item");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::newRow("Ins") << "N8" << int(Qt::Key_Insert) << int(Qt::NoModifier);
        QTest::newRow("Shift+Del") << "N9" << int(Qt::Key_Delete) << int(Qt::ShiftModifier);
        QTest::newRow("F8") << "N18" << int(Qt::Key_F8) << int(Qt::NoModifier);
        QTest::newRow("F9") << "N15" << int(Qt::Key_F9) << int(Qt::NoModifier);
        QTest::newRow("F10") << "N16" << int(Qt::Key_F10) << int(Qt::NoModifier);
        QTest::newRow("Ctrl+F") << "N20" << int(Qt::Key_F) << int(Qt::ControlModifier);
        QTest::newRow("Ctrl+K") << "N14" << int(Qt::Key_K) << int(Qt::ControlModifier);
        QTest::newRow("F1") << "N65021" << int(Qt::Key_F1) << int(Qt::NoModifier);
    }

    void menuShortcutsReachTheirCommandsBeforeTheEditor() {
        QFETCH(QString, item);
        QFETCH(int, key);
        QFETCH(int, modifiers);

        // A line of two rows, the cursor on the second row's instruction, "XYZ" typed into it
        // with the caret at its start: a line editor would cut it (Shift+Del) or delete it to
        // the end (Ctrl+K).
        TypeKeys("0200\rNOP\rXYZ");
        editor()->setCursorPosition(0);
        QCOMPARE(workspace().grid.RowCount(), 3);
        QList<int> gridKeys;
        auto* cellEditor = form()->StringGrid1->Editor();
        cellEditor->keyHandler = [&, handler = cellEditor->keyHandler](QKeyEvent* event) {
            gridKeys << event->key();
            handler(event);
        };

        auto* action = form()->findChild<QAction*>(item);
        QVERIFY(action != nullptr);
        QVERIFY(action->isEnabled());
        QSignalSpy triggered(action, &QAction::triggered);
        ModalAnswers answers({"Όχι", "", ""});
        QTest::keyClick(editor(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));

        QCOMPARE(triggered.count(), 1);
        QVERIFY2(!gridKeys.contains(key), "the key reached the grid");
        if (item == "N9") {
            QCOMPARE(workspace().grid.RowCount(), 2);
        } else if (item == "N8") {
            QCOMPARE(workspace().grid.RowCount(), 4);
            QCOMPARE(cell(2, 3), QStringLiteral("XYZ"));
        } else {
            QCOMPARE(cell(2, 2), QStringLiteral("XYZ"));
            QCOMPARE(editor()->text(), QStringLiteral("XYZ"));
        }
        if (item == "N18") {
            // NOP is written; XYZ is no instruction.
            QCOMPARE(answers.seen().size(), 1);
            QCOMPARE(answers.seen().front().text, QStringLiteral("Λάθος στην σύνταξη!"));
            QCOMPARE(workspace().machine.memory[0x0200], 0xEA);
        }
        if (item == "N15") QVERIFY(answers.modalClasses().contains("zorvan::windows::Tpr_start"));
        if (item == "N16") QVERIFY(forms_->Step->isVisible());
        if (item == "N20") QVERIFY(forms_->MemForm->isVisible());
        if (item == "N14") QVERIFY(forms_->Reg_Form->isVisible());
    }

    void disabledCommandsKeysReachTheGridAndEnableThem_data() {
        QTest::addColumn<int>("key");
        QTest::newRow("F8") << int(Qt::Key_F8);
        QTest::newRow("F9") << int(Qt::Key_F9);
        QTest::newRow("F10") << int(Qt::Key_F10);
    }

    void disabledCommandsKeysReachTheGridAndEnableThem() {
        QFETCH(int, key);
        QSignalSpy assemble(form()->N18, &QAction::triggered);
        QSignalSpy run(form()->N15, &QAction::triggered);
        QSignalSpy step(form()->N16, &QAction::triggered);
        QTest::keyClick(editor(), Qt::Key(key));
        QVERIFY(workspace().changed);
        QVERIFY(form()->N18->isEnabled() && form()->N15->isEnabled() && form()->N16->isEnabled());
        QCOMPARE(assemble.count() + run.count() + step.count(), 0);
    }

    void summaryYesShowsTheMemoryWindow() {
        TypeKeys("0200\rLDA\r#05\rSTA\r0300\rBRK\r");
        ModalAnswers answers({"Ναι"});
        QTest::keyClick(editor(), Qt::Key_F8);
        QCOMPARE(answers.seen().size(), 1);
        QCOMPARE(answers.seen().front().text,
                 QStringLiteral("Η Συμβολομετάφραση ολοκληρώθηκε.\nΕπεξεργάστηκαν Συνολικά:3 "
                                "γραμμές.\nΣυνολικός Αριθμός Bytes:6\n\nΘέλετε να δείτε τα "
                                "περιεχόμενα της μνήμης;"));
        QVERIFY(forms_->MemForm->isVisible());
    }

    void assemblyFailuresShowTheirBoxes_data() {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("icon");
        QTest::newRow("label not found")
            << "0200\rBNE\rLOOP\r"
            << "Η ετικέτα 'LOOP' δεν βρέθηκε" << int(QMessageBox::Warning);
        QTest::newRow("branch out of range")
            << "0200\rBNE\r0300\r"
            << "Διεύθυνση μνήμης εκτός ορίου" << int(QMessageBox::Critical);
    }

    void assemblyFailuresShowTheirBoxes() {
        QFETCH(QString, keys);
        QFETCH(QString, text);
        QFETCH(int, icon);
        TypeKeys(keys);
        ModalAnswers answers({"OK"});
        QTest::keyClick(editor(), Qt::Key_F8);
        QCOMPARE(answers.seen().size(), 1);
        QCOMPARE(answers.seen().front().text, text);
        QCOMPARE(int(answers.seen().front().icon), icon);
        QCOMPARE(answers.seen().front().buttons, QStringList{"OK"});
    }

    void aConversionFailureIsShownAndTheWindowGoesOn_data() {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("insertLinesText");  // "" for no Insert lines
        QTest::addColumn<QString>("thenKeys");
        QTest::addColumn<QString>("thenCell");  // "column,row=text"
        // The first line's address rubbed out with Delete (no character, no check); the next
        // character on that line recomputes the addresses and cannot read it. Below it, typing
        // goes on.
        QTest::newRow("a key on an instruction line without an address") << "0200\rNOP\r←↑⇱⌦⌦⌦⌦A"
                                                                         << ""
                                                                         << "↓ZZ"
                                                                         << "1,2=0201ZZ";
        QTest::newRow("Insert lines with letters") << ""
                                                   << "ab"
                                                   << "0300\r"
                                                   << "1,1=0300";
    }

    void aConversionFailureIsShownAndTheWindowGoesOn() {
        QFETCH(QString, keys);
        QFETCH(QString, insertLinesText);
        QFETCH(QString, thenKeys);
        QFETCH(QString, thenCell);
        const int rowsBefore = workspace().grid.RowCount();
        std::unique_ptr<ModalAnswers> answers;
        if (!insertLinesText.isEmpty()) {
            forms_->INSform->Edit1->setText(insertLinesText);
            answers = std::make_unique<ModalAnswers>(QStringList{"-", "OK"});
            QTimer::singleShot(50, [this] { forms_->INSform->Button1->click(); });
            form()->N4->trigger();
            QCOMPARE(workspace().grid.RowCount(), rowsBefore);
        } else {
            answers = std::make_unique<ModalAnswers>(QStringList{"OK"});
            TypeKeys(keys);
            QCOMPARE(cell(1, 1), QString());
        }
        QTRY_COMPARE(answers->seen().size(), 1);
        const SeenBox& box = answers->seen().back();
        QCOMPARE(box.title, QStringLiteral("Zorvan"));
        QCOMPARE(box.icon, QMessageBox::Critical);
        QVERIFY(box.text.contains(insertLinesText));
        QCOMPARE(QApplication::activeModalWidget(), nullptr);

        answers.reset();
        form()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form()));
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(editor()));
        TypeKeys(thenKeys);
        QVERIFY(ExpectCell(thenCell));
    }

    void insertLinesDialogKeepsItsLastNumber() {
        auto* dialog = forms_->INSform.get();
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Εισαγωγή Γραμμών"));
        QCOMPARE(dialog->Edit1->text(), QStringLiteral("0"));
        QCOMPARE(dialog->Edit1->maxLength(), 3);
        QTimer::singleShot(50, [] {
            QWidget* focus = QApplication::focusWidget();
            QVERIFY(focus != nullptr && focus->objectName() == "Edit1");
            QTest::keyClicks(focus, "3");
            QTest::keyClick(focus, Qt::Key_Return);
        });
        form()->N4->trigger();
        QCOMPARE(workspace().grid.RowCount(), 5);
        QCOMPARE(form()->StringGrid1->model()->rowCount(), 4);

        QTimer::singleShot(50, [dialog] {
            QCOMPARE(dialog->Edit1->text(), QStringLiteral("3"));
            dialog->Button2->click();
        });
        form()->N4->trigger();
        QCOMPARE(workspace().grid.RowCount(), 5);
    }

    void closeBoxAsksBeforeDroppingChanges_data() {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QStringList>("answers");
        QTest::addColumn<int>("questions");
        QTest::newRow("an untouched grid closes at once") << "" << QStringList{} << 0;
        QTest::newRow("a changed grid asks; No closes") << "0200" << QStringList{"Όχι"} << 1;
        QTest::newRow("Yes and a cancelled save dialog still close")
            << "0200" << QStringList{"Ναι"} << 1;
    }

    void closeBoxAsksBeforeDroppingChanges() {
        QFETCH(QString, keys);
        QFETCH(QStringList, answers);
        QFETCH(int, questions);
        TypeKeys(keys);
        bool saveAsked = false;
        form()->chooseSaveFile = [&] {
            saveAsked = true;
            return std::optional<std::string>();
        };
        forms_->MemForm->show();
        ModalAnswers boxes(answers);
        form()->close();
        QCOMPARE(boxes.seen().size(), questions);
        if (questions > 0) {
            QCOMPARE(boxes.seen().front().text,
                     QStringLiteral("Δεν έχει γινει αποθήκευση.\nΘέλετε να αποθηκεύσετε πρώτα;"));
            QCOMPARE(boxes.seen().front().icon, QMessageBox::Warning);
            QCOMPARE(boxes.seen().front().buttons, (QStringList{"Ναι", "Όχι"}));
        }
        QCOMPARE(saveAsked, answers == QStringList{"Ναι"});
        QVERIFY(!form()->isVisible());
        QVERIFY(!forms_->MemForm->isVisible());
    }

    void saveNewAndOpenThroughTheChooser() {
        QTemporaryDir folder;
        const QString path = folder.filePath("prog.zrv");
        form()->chooseSaveFile = [&] { return std::optional<std::string>(path.toStdString()); };
        form()->chooseOpenFile = [&] { return std::optional<std::string>(path.toStdString()); };

        TypeKeys("0200\rNOP\r");
        form()->N10->trigger();
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("_ 0200 NOP _ _ _ \r\n_ 0201 _ _ _ _ \r\n"));
        QVERIFY(!workspace().changed);

        // New asks nothing after a save, empties the grid and greys the execution commands.
        form()->N2->trigger();
        QCOMPARE(cell(2, 1), QString());
        QVERIFY(!form()->N18->isEnabled());

        form()->N3->trigger();
        QCOMPARE(cell(2, 1), QStringLiteral("NOP"));
        QCOMPARE(form()->StringGrid1->model()->rowCount(), 2);
        QCOMPARE(form()->windowTitle(), "Zorvan-" + path);
        QVERIFY(form()->N18->isEnabled());
    }

    void saveDialogAddsTheExtensionAndAsksBeforeReplacing() {
        QTemporaryDir folder;
        QFile existing(folder.filePath("prog.zrv"));
        QVERIFY(existing.open(QIODevice::WriteOnly));
        existing.close();
        TypeKeys("0200\rNOP\r");

        QCOMPARE(form()->SaveDialog1->windowTitle(),
                 QStringLiteral("Αποθήκευση αρχείου προσομοιωτή"));
        QCOMPARE(form()->SaveDialog1->nameFilters(),
                 (QStringList{"Zorvan (*.zrv)", "Αρχείο Κειμένου (*.txt)"}));
        QVERIFY(form()->SaveDialog1->selectedFiles().front().endsWith("Zorvan1"));

        int dialogs = 0;
        QTimer poll;
        QStringList replies{"Όχι", "Ναι"};
        QStringList questions;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
                ++dialogs;
                // The name typed without an extension, as a user does.
                auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
                QVERIFY(name != nullptr);
                name->setText(QStringLiteral("prog"));
                static_cast<QDialog*>(dialog)->accept();
            } else if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                questions << box->text();
                for (QAbstractButton* button : box->buttons()) {
                    if (button->text() == replies.front()) {
                        replies.removeFirst();
                        button->click();
                        break;
                    }
                }
            }
        });
        form()->SaveDialog1->setDirectory(folder.path());
        poll.start(5);
        form()->N10->trigger();
        poll.stop();

        // No to replacing shows the dialog again; Yes replaces.
        QCOMPARE(dialogs, 2);
        QCOMPARE(questions.size(), 2);
        QVERIFY(questions.front().contains("prog.zrv"));
        QVERIFY(existing.open(QIODevice::ReadOnly));
        QVERIFY(existing.readAll().startsWith("_ 0200 NOP"));
        QVERIFY(!workspace().changed);
    }
};

int main(int argc, char** argv) {
    zorvan::ui::Application application(argc, argv);
    MainWindowTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "main_window_test.moc"
