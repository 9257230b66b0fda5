// What a screen reader hears: the accessibility tree of every window, walked as an assistive
// tool walks it. Every control that can take the focus has a Greek name; one whose name is a bare
// symbol (a register's caption) also has a Greek description of what it is.

#include <QAccessible>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTableWidget>
#include <QTest>

#include "ui/greek_locale.h"
#include "ui/interface_font.h"
#include "windows/about_dialog.h"
#include "windows/console_window.h"
#include "windows/forms.h"
#include "windows/help_window.h"
#include "windows/insert_lines_dialog.h"
#include "windows/main_window.h"
#include "windows/memory_window.h"
#include "windows/register_window.h"
#include "windows/start_address_dialog.h"
#include "windows/step_window.h"

namespace {

bool HasGreek(const QString& text) {
    static const QRegularExpression greek(
        QStringLiteral("[\\x{0370}-\\x{03FF}\\x{1F00}-\\x{1FFF}]"));
    return text.contains(greek);
}

// The register captions a student reads as they are.
bool IsSymbol(const QString& name) {
    static const QStringList symbols{"PC", "AC", "XR", "YR", "SP", "OK"};
    return symbols.contains(name, Qt::CaseInsensitive);
}

struct Walk {
    QStringList unnamed;
    int controls = 0;

    void Visit(QAccessibleInterface* node, const QString& path, int depth = 0) {
        if (node == nullptr || !node->isValid() || depth > 12) return;
        const QAccessible::State state = node->state();
        const QString name = node->text(QAccessible::Name);
        const QString where =
            path + "/" + QString::number(int(node->role()), 16) + "«" + name + "»";
        // Cells, rows and list items are read by their text; the controls that hold them need
        // names.
        const QAccessible::Role role = node->role();
        const bool item = role == QAccessible::Cell || role == QAccessible::Row ||
                          role == QAccessible::ListItem || role == QAccessible::ColumnHeader ||
                          role == QAccessible::RowHeader || role == QAccessible::MenuItem;
        // Fields, buttons, grids and tables are named even where the focus cannot reach them.
        static const QList<QAccessible::Role> controlRoles{
            QAccessible::EditableText, QAccessible::Table,    QAccessible::List,
            QAccessible::Tree,         QAccessible::Button,   QAccessible::CheckBox,
            QAccessible::RadioButton,  QAccessible::ComboBox, QAccessible::SpinBox};
        if ((state.focusable || controlRoles.contains(role)) && !state.invisible && !item) {
            ++controls;
            if (name.isEmpty()) {
                unnamed.append(where + ": no name");
            } else if (!HasGreek(name)) {
                if (!IsSymbol(name)) {
                    unnamed.append(where + ": not Greek");
                } else if (role != QAccessible::Button &&
                           !HasGreek(node->text(QAccessible::Description))) {
                    unnamed.append(where + ": a symbol without a Greek description");
                }
            }
        }
        if (item) return;
        for (int i = 0; i < node->childCount(); ++i) Visit(node->child(i), where, depth + 1);
    }
};

}  // namespace

class ScreenReaderTest : public QObject {
    Q_OBJECT

    std::unique_ptr<zorvan::windows::Forms> forms_;

    static void CheckTree(QWidget* window, int atLeast) {
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        Walk walk;
        walk.Visit(QAccessible::queryAccessibleInterface(window), window->objectName());
        QVERIFY2(walk.unnamed.isEmpty(), qPrintable(walk.unnamed.join('\n')));
        QVERIFY2(walk.controls >= atLeast, qPrintable(QString::number(walk.controls)));
    }

  private slots:
    void initTestCase() {
        zorvan::ui::UseInterfaceFont();
        zorvan::ui::UseGreekLocale();
        forms_ = std::make_unique<zorvan::windows::Forms>();
    }

    void cleanupTestCase() { forms_.reset(); }

    void mainWindow() { CheckTree(forms_->Form1.get(), 2); }
    void startAddressDialog() { CheckTree(forms_->pr_start.get(), 2); }
    void insertLinesDialog() { CheckTree(forms_->INSform.get(), 3); }
    void aboutBox() { CheckTree(forms_->About.get(), 1); }
    void memoryWindow() { CheckTree(forms_->MemForm.get(), 2); }
    void registerWindow() { CheckTree(forms_->Reg_Form.get(), 12); }
    void stepWindow() { CheckTree(forms_->Step.get(), 3); }
    void consoleWindow() { CheckTree(forms_->Console.get(), 1); }
    void helpWindow() {
        zorvan::windows::HelpWindow help;
        help.setObjectName(QStringLiteral("Help"));
        CheckTree(&help, 1);
    }

    // The status bits say their name and meaning; the message area says what it is.
    void namesAsSpokenByTheReader() {
        auto* pc = QAccessible::queryAccessibleInterface(forms_->Reg_Form->Edits[0]);
        QCOMPARE(pc->text(QAccessible::Name), QStringLiteral("PC"));
        auto* n = QAccessible::queryAccessibleInterface(forms_->Reg_Form->Edits[1]);
        QCOMPARE(n->text(QAccessible::Name), QStringLiteral("Σημαία N — αρνητικό αποτέλεσμα"));
        auto* memo = QAccessible::queryAccessibleInterface(forms_->Form1->Memo1);
        QCOMPARE(memo->text(QAccessible::Name), QStringLiteral("Μηνύματα"));
        // Each step cell says which row and which column of the program it shows.
        QAccessibleInterface* table = QAccessible::queryAccessibleInterface(forms_->Step->StepGrid);
        QVERIFY(table != nullptr && table->tableInterface() != nullptr);
        QAccessibleInterface* cell = table->tableInterface()->cellAt(1, 2);
        QVERIFY(cell != nullptr);
        const QString head = QString::fromStdString(forms_->workspace.grid.Cell(2, 0));
        QVERIFY(!head.isEmpty());
        QCOMPARE(cell->text(QAccessible::Description), "Εντολή προς εκτέλεση — " + head);
    }
};

QTEST_MAIN(ScreenReaderTest)
#include "screen_reader_test.moc"
