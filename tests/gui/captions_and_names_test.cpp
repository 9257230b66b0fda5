// Every window as a student sees it and as a screen reader hears it. Shown at its own size in
// the interface font, each window shows every label, button, header and grid cell without
// cutting a letter (each text measured with its widget's own font against that widget's room).
// Its accessibility tree, walked as an assistive tool walks it, gives every control that can take
// the focus a Greek name; a bare symbol (a register's caption) also has a Greek description.

#include <QAccessible>
#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStyle>
#include <QTableWidget>
#include <QTest>

#include "find_child.h"
#include "ui/greek_locale.h"
#include "ui/interface_font.h"
#include "windows/about_dialog.h"
#include "windows/application_windows.h"
#include "windows/console_window.h"
#include "windows/help_window.h"
#include "windows/insert_lines_dialog.h"
#include "windows/main_window.h"
#include "windows/memory_grid.h"
#include "windows/memory_window.h"
#include "windows/register_window.h"
#include "windows/start_address_dialog.h"
#include "windows/step_window.h"

namespace {

QString Plain(QString text) {
    return text.replace(QLatin1String("&&"), QLatin1String("\x01"))
        .remove('&')
        .replace('\x01', '&');
}

// Each text too wide or too tall for its room, as "where: «text» is WxH, has WxH".
class CutCaptions {
  public:
    void Check(const QString& where, const QString& text, const QFont& font, int room,
               int heightRoom = INT_MAX) {
        if (text.isEmpty()) return;
        const QFontMetrics metrics(font);
        int needed = 0;
        for (const QString& line : text.split('\n'))
            needed = std::max(needed, metrics.horizontalAdvance(line));
        const int high = metrics.height() * int(text.count('\n') + 1);
        if (needed > room || high > heightRoom)
            cut_.append(QStringLiteral("%1: «%2» is %3x%4, has %5x%6")
                            .arg(where, text)
                            .arg(needed)
                            .arg(high)
                            .arg(room)
                            .arg(heightRoom));
        ++count_;
    }

    void CheckView(const QString& where, QTableView* view) {
        QStyle* style = view->style();
        QHeaderView* header = view->horizontalHeader();
        QAbstractItemModel* model = view->model();
        if (header->isVisible()) {
            const int margin = 2 * style->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
            for (int c = 0; c < model->columnCount(); ++c)
                Check(where + QStringLiteral("/header %1").arg(c),
                      model->headerData(c, Qt::Horizontal).toString(), header->font(),
                      header->sectionSize(c) - margin);
        }
        const int cellMargin =
            2 * (style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1);
        for (int r = 0; r < model->rowCount(); ++r) {
            for (int c = 0; c < model->columnCount(); ++c) {
                const QModelIndex index = model->index(r, c);
                QFont font = view->font();
                if (const QVariant own = index.data(Qt::FontRole); own.isValid())
                    font = own.value<QFont>();
                const QString text = index.data().toString();
                if (auto* cells =
                        qobject_cast<zorvan::windows::MemoryCellDelegate*>(view->itemDelegate()))
                    font = cells->CellFont(text, font, view->columnWidth(c) - cellMargin);
                Check(where + QStringLiteral("/cell %1,%2").arg(r).arg(c), text, font,
                      view->columnWidth(c) - cellMargin);
            }
        }
    }

    void CheckWindow(QWidget* window) {
        QList<QWidget*> widgets = window->findChildren<QWidget*>();
        for (QWidget* w : widgets) {
            if (!w->isVisible()) continue;
            const QString where = window->objectName() + "/" + w->objectName();
            if (auto* label = qobject_cast<QLabel*>(w); label != nullptr && !label->wordWrap()) {
                const QRect room = label->contentsRect().adjusted(
                    label->margin(), label->margin(), -label->margin(), -label->margin());
                Check(where, Plain(label->text()), label->font(),
                      room.width() - std::max(0, label->indent()), room.height());
            } else if (qobject_cast<QCheckBox*>(w) || qobject_cast<QRadioButton*>(w)) {
                auto* box = static_cast<QAbstractButton*>(w);
                if (box->sizeHint().width() > box->width()) cut_.append(where + ": " + box->text());
            } else if (auto* button = qobject_cast<QPushButton*>(w)) {
                QStyle* style = button->style();
                int room = button->width() -
                           style->pixelMetric(QStyle::PM_ButtonMargin, nullptr, button) -
                           2 * style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, button);
                if (!button->icon().isNull()) room -= button->iconSize().width() + 4;
                Check(where, Plain(button->text()), button->font(), room);
            } else if (auto* view = qobject_cast<QTableView*>(w)) {
                CheckView(where, view);
            }
        }
    }

    const QStringList& cut() const { return cut_; }
    int count() const { return count_; }

  private:
    QStringList cut_;
    int count_ = 0;
};

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
            // A symbol is read as it is, with a Greek description unless it is a button.
            const bool symbol = IsSymbol(name) && (role == QAccessible::Button ||
                                                   HasGreek(node->text(QAccessible::Description)));
            if (!HasGreek(name) && !symbol)
                unnamed.append(where + ": no Greek name, or a symbol without a Greek description");
        }
        if (item) return;
        for (int i = 0; i < node->childCount(); ++i) Visit(node->child(i), where, depth + 1);
    }
};

}  // namespace

class CaptionsAndNamesTest : public QObject {
    Q_OBJECT

    std::unique_ptr<zorvan::windows::ApplicationWindows> windows_;
    std::unique_ptr<zorvan::windows::HelpWindow> help_;

  private slots:
    void initTestCase() {
        zorvan::ui::UseInterfaceFont();
        zorvan::ui::UseGreekLocale();
        windows_ = std::make_unique<zorvan::windows::ApplicationWindows>();
        help_ = std::make_unique<zorvan::windows::HelpWindow>();
        help_->setObjectName(QStringLiteral("Help"));
        // Memory cells that hold more than two digits after an edit must be whole too.
        auto* memory = Child<QTableWidget>(windows_->memoryWindow, "memoryGrid");
        for (int column = 1; column <= 3; ++column) memory->item(0, column)->setText("2FF");
        memory->item(1, 1)->setText(QStringLiteral("1234"));
    }

    void cleanupTestCase() {
        help_.reset();
        windows_.reset();
    }

    // The window, its size when fixed, and how many captions and controls it has at least.
    void captionsAreWholeAndControlsNamed_data() {
        QTest::addColumn<QWidget*>("window");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("captions");
        QTest::addColumn<int>("controls");
        const auto row = [](const char* name, QWidget* window, QSize size, int captions,
                            int controls) {
            QTest::newRow(name) << window << size << captions << controls;
        };
        row("main", windows_->mainWindow.get(), {496, 601}, 7, 2);
        row("start", windows_->startAddressDialog, {}, 2, 2);
        row("insert", windows_->insertLinesDialog, {200, 118}, 3, 3);
        row("about", windows_->aboutDialog, {250, 153}, 3, 1);
        row("memory", windows_->memoryWindow, {771, 491}, 16 * 18, 2);
        row("registers", windows_->registerWindow, {}, 7, 12);
        // The step window grows past 409 x 234 to hold the debugger's row of buttons.
        row("step", windows_->stepWindow, {}, 4, 3);
        row("console", windows_->consoleWindow, {}, 1, 1);
        row("help", help_.get(), {}, 0, 1);
    }
    void captionsAreWholeAndControlsNamed() {
        QFETCH(QWidget*, window);
        QFETCH(QSize, size);
        QFETCH(int, captions);
        QFETCH(int, controls);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        if (size.isValid()) QCOMPARE(window->size(), size);
        CutCaptions cut;
        cut.CheckWindow(window);
        QVERIFY2(cut.cut().isEmpty(), qPrintable(cut.cut().join('\n')));
        QVERIFY2(cut.count() >= captions, qPrintable(QString::number(cut.count())));
        Walk walk;
        walk.Visit(QAccessible::queryAccessibleInterface(window), window->objectName());
        QVERIFY2(walk.unnamed.isEmpty(), qPrintable(walk.unnamed.join('\n')));
        QVERIFY2(walk.controls >= controls, qPrintable(QString::number(walk.controls)));
    }

    // A status bit says its name and meaning; the message area says what it is.
    void namesAsSpokenByTheReader() {
        auto* n =
            QAccessible::queryAccessibleInterface(RegisterFields(windows_->registerWindow)[1]);
        QCOMPARE(n->text(QAccessible::Name), QStringLiteral("Σημαία N — αρνητικό αποτέλεσμα"));
        auto* memo = QAccessible::queryAccessibleInterface(
            Child<QPlainTextEdit>(windows_->mainWindow, "messageArea"));
        QCOMPARE(memo->text(QAccessible::Name), QStringLiteral("Μηνύματα"));
        // Each step cell says which row and which column of the program it shows.
        QAccessibleInterface* cell = QAccessible::queryAccessibleInterface(
                                         Child<QTableWidget>(windows_->stepWindow, "stepRows"))
                                         ->tableInterface()
                                         ->cellAt(1, 2);
        QVERIFY(cell != nullptr);
        const QString head = QString::fromStdString(windows_->workspace.grid.Cell(2, 0));
        QVERIFY(!head.isEmpty());
        QCOMPARE(cell->text(QAccessible::Description), "Εντολή προς εκτέλεση — " + head);
        // The windows read as windows, and the grid's empty cells and row headers by name.
        for (QWidget* window : {static_cast<QWidget*>(windows_->registerWindow),
                                static_cast<QWidget*>(windows_->stepWindow)})
            QCOMPARE(QAccessible::queryAccessibleInterface(window)->role(), QAccessible::Window);
        QAccessibleTableInterface* program =
            QAccessible::queryAccessibleInterface(
                Child<QTableView>(windows_->mainWindow.get(), "programGrid"))
                ->tableInterface();
        QCOMPARE(program->cellAt(0, 2)->text(QAccessible::Name),
                 QStringLiteral("Γραμμή 1, Εντολή, κενό"));
        QAccessibleInterface* header =
            program->cellAt(0, 2)->tableCellInterface()->rowHeaderCells().value(0);
        QVERIFY(header != nullptr);
        QCOMPARE(header->text(QAccessible::Name), QStringLiteral("Γραμμή 1"));
    }
};

QTEST_MAIN(CaptionsAndNamesTest)
#include "captions_and_names_test.moc"
