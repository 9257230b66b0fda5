// Every window as a student sees it and as a screen reader hears it. Shown at its own size in
// the interface font, each window shows every label, button, header and grid cell without
// cutting a letter (each text measured with its widget's own font against that widget's room).
// Its accessibility tree, walked as an assistive tool walks it, gives every control that can take
// the focus a Greek name; a bare symbol (a register's caption) also has a Greek description.
//
// Qt's own dialogs and menus as a student meets them: the Open and Save dialogs, the print
// dialog with each of its tabs and its properties, page setup, every message box and every
// context menu. Each is walked whole (captions, tooltips, names, headers, items); no word in
// Latin letters may remain but the system's own.

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAccessible>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPageSetupDialog>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSet>
#include <QSpinBox>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTextDocumentFragment>
#include <QTextEdit>
#include <QToolButton>

#include "../core/temp_folder.h"
#include "cpu/instruction_set.h"
#include "find_child.h"
#include "modal_driver.h"
#include "ui/greek_locale.h"
#include "ui/interface_font.h"
#include "ui/message_boxes.h"
#include "ui/page_preview.h"
#include "ui/program_printer.h"
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

// The words in Latin letters that may stand: the system's own names and captions ("About" and
// "Ok" are its own captions too), the processor's registers and mnemonics, the unit symbols a
// Greek reader uses as they are, and the names printed on a Greek keyboard's own keys, which
// menus show beside their commands, and the American paper sizes that Greek offices call by
// their own names.
inline const QSet<QString>& AllowedLatinWords() {
    static const QSet<QString> words = [] {
        QSet<QString> set{"Zorvan", "OK", "Ok", "About", "Debugger", "Stop", "Status", "Register",
                          "PC", "AC", "XR", "YR", "SP", "PDF", "mm", "cm", "KB", "MB", "GB", "TB",
                          "byte", "Ctrl", "Shift", "Alt", "Enter",
                          // paper sizes, named so in Greek offices
                          "Letter", "Legal", "Executive", "ANSI"};
        for (const auto& row : zorvan::cpu::kInstructionTable)
            set.insert(QString::fromLatin1(row.mnemonic.data(), qsizetype(row.mnemonic.size())));
        return set;
    }();
    return words;
}

class WidgetTexts {
  public:
    // Names of folders on the way to the ones shown: a path's parts are not words.
    void AllowPath(const QString& path) {
        for (const QString& part : QDir::cleanPath(path).split('/', Qt::SkipEmptyParts))
            for (const QString& word :
                 part.split(QRegularExpression("[^A-Za-z]+"), Qt::SkipEmptyParts))
                pathWords_.insert(word);
    }

    void Add(const QString& where, QString text) {
        if (text.isEmpty()) return;
        if (Qt::mightBeRichText(text)) text = QTextDocumentFragment::fromHtml(text).toPlainText();
        text.remove('&');
        // File names and patterns: paths and extensions are not words.
        static const QRegularExpression paths(R"(\S*/\S*|\*?\.[A-Za-z0-9]+\b)");
        text.replace(paths, " ");
        static const QRegularExpression word(R"(\b[A-Za-z]{2,}\b)");
        for (auto match = word.globalMatch(text); match.hasNext();) {
            const QString found = match.next().captured();
            // Hexadecimal values are numbers, not words.
            static const QRegularExpression hex(QStringLiteral("^[0-9A-F]+$"));
            if (!AllowedLatinWords().contains(found) && !pathWords_.contains(found) &&
                !hex.match(found).hasMatch())
                latin_.append(where + ": " + found + " in «" + text + "»");
        }
        ++count_;
    }
    void Add(const QString& where, std::initializer_list<QString> texts) {
        for (const QString& text : texts) Add(where, text);
    }

    void AddActions(const QString& where, const QList<QAction*>& actions) {
        for (QAction* action : actions) {
            const QString at = where + "/" + action->objectName() + "[" + action->text() + "]";
            Add(at, {action->text(), action->toolTip(), action->statusTip(), action->whatsThis()});
            if (QMenu* menu = action->menu()) AddActions(at, menu->actions());
        }
    }

    // Every visible widget of root and its children.
    void Collect(QWidget* root) {
        QList<QWidget*> widgets = root->findChildren<QWidget*>();
        widgets.prepend(root);
        for (QWidget* w : widgets) {
            if (!w->isVisible()) continue;
            const QString where =
                QString::fromLatin1(w->metaObject()->className()) + "#" + w->objectName();
            if (w->isWindow()) Add(where, w->windowTitle());
            Add(where,
                {w->toolTip(), w->whatsThis(), w->accessibleName(), w->accessibleDescription()});
            AddActions(where, w->actions());
            if (auto* label = qobject_cast<QLabel*>(w)) Add(where, label->text());
            if (auto* button = qobject_cast<QAbstractButton*>(w)) Add(where, button->text());
            if (auto* box = qobject_cast<QGroupBox*>(w)) Add(where, box->title());
            if (auto* edit = qobject_cast<QLineEdit*>(w))
                Add(where, {edit->placeholderText(), edit->text()});
            if (auto* spin = qobject_cast<QSpinBox*>(w))
                Add(where, {spin->prefix(), spin->suffix()});
            if (auto* spin = qobject_cast<QDoubleSpinBox*>(w))
                Add(where, {spin->prefix(), spin->suffix()});
            if (auto* combo = qobject_cast<QComboBox*>(w))
                for (int i = 0; i < combo->count(); ++i)
                    Add(where,
                        {combo->itemText(i), combo->itemData(i, Qt::ToolTipRole).toString()});
            if (auto* tabs = qobject_cast<QTabBar*>(w))
                for (int i = 0; i < tabs->count(); ++i)
                    Add(where, {tabs->tabText(i), tabs->tabToolTip(i)});
            if (auto* text = qobject_cast<QTextEdit*>(w)) Add(where, text->toPlainText());
            if (auto* text = qobject_cast<QPlainTextEdit*>(w)) Add(where, text->toPlainText());
            if (auto* view = qobject_cast<QAbstractItemView*>(w)) CollectView(where, view);
        }
    }

    const QStringList& latin() const { return latin_; }
    int count() const { return count_; }

  private:
    // Headers and the shown items of a view, every column: the detail view shows them all.
    void CollectView(const QString& where, QAbstractItemView* view) {
        QAbstractItemModel* model = view->model();
        if (model == nullptr) return;
        const QModelIndex root = view->rootIndex();
        for (int c = 0; c < model->columnCount(root); ++c)
            Add(where + "/header",
                {model->headerData(c, Qt::Horizontal).toString(),
                 model->headerData(c, Qt::Horizontal, Qt::ToolTipRole).toString()});
        for (int r = 0; r < std::min(model->rowCount(root), 200); ++r) {
            for (int c = 0; c < model->columnCount(root); ++c) {
                const QModelIndex index = model->index(r, c, root);
                Add(where + "/item",
                    {index.data().toString(), index.data(Qt::ToolTipRole).toString(),
                     index.data(Qt::AccessibleTextRole).toString()});
            }
        }
    }

    QSet<QString> pathWords_;
    QStringList latin_;
    int count_ = 0;
};

// Every tab of each tab widget in the window, shown and walked.
void CollectTabs(WidgetTexts* texts, QWidget* window) {
    for (QTabWidget* tabs : window->findChildren<QTabWidget*>()) {
        for (int i = 0; i < tabs->count(); ++i) {
            tabs->setCurrentIndex(i);
            texts->Collect(window);
        }
    }
    texts->Collect(window);
}

// Walks the next modal window, then answers it with Escape or its reject.
ModalDriver::Action WalkAndClose(WidgetTexts* texts) {
    return [=](QWidget* modal) {
        texts->Collect(modal);
        if (auto* dialog = qobject_cast<QDialog*>(modal)) return dialog->reject();
        modal->close();
    };
}

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

class GreekWindowsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<zorvan::windows::ApplicationWindows> windows_;
    std::unique_ptr<zorvan::windows::HelpWindow> help_;
    QTemporaryDir folder_;

    WidgetTexts Texts() const {
        WidgetTexts texts;
        for (const QString& path : {folder_.path(), QDir::homePath(), QDir::currentPath()})
            texts.AllowPath(path);
        return texts;
    }

    // Nothing Latin left, out of at least so many texts walked.
    static void CheckGreek(const WidgetTexts& texts, int atLeast) {
        QVERIFY2(texts.latin().isEmpty(), qPrintable(texts.latin().join('\n')));
        QVERIFY2(texts.count() >= atLeast, qPrintable(QString::number(texts.count())));
    }

  private slots:
    void initTestCase() {
        QCOMPARE(QLocale::system().language(), QLocale::Greek);
        zorvan::ui::UseInterfaceFont();
        QVERIFY(zorvan::ui::UseGreekLocale());
        QVERIFY(folder_.isValid());
        // The folder the file dialogs show: a program, a text file and a subfolder.
        for (const char* name : {"βρόχος.zrv", "λίστα.txt"})
            zorvan::testing::PutFile(folder_.filePath(name).toStdString(), "0\n");
        QVERIFY(QDir(folder_.path()).mkdir(QStringLiteral("φάκελος")));
        windows_ = std::make_unique<zorvan::windows::ApplicationWindows>();
        windows_->mainWindow->show();
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
        QCOMPARE(n->text(QAccessible::Name), "Σημαία N — αρνητικό αποτέλεσμα");
        auto* memo = QAccessible::queryAccessibleInterface(
            Child<QPlainTextEdit>(windows_->mainWindow, "messageArea"));
        QCOMPARE(memo->text(QAccessible::Name), "Μηνύματα");
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
        QCOMPARE(program->cellAt(0, 2)->text(QAccessible::Name), "Γραμμή 1, Εντολή, κενό");
        QAccessibleInterface* header =
            program->cellAt(0, 2)->tableCellInterface()->rowHeaderCells().value(0);
        QVERIFY(header != nullptr);
        QCOMPARE(header->text(QAccessible::Name), "Γραμμή 1");
    }

    // Open and Save in list and detail view; Open also warns of a missing file.
    void fileDialogsAreGreekInListAndDetailView() {
        for (const bool save : {false, true}) {
            QFileDialog* dialog = save ? Child<QFileDialog>(windows_->mainWindow, "saveDialog")
                                       : Child<QFileDialog>(windows_->mainWindow, "openDialog");
            dialog->setDirectory(folder_.path());
            dialog->show();
            auto* model = dialog->findChild<QFileSystemModel*>();
            QVERIFY(model != nullptr);
            const QModelIndex root = model->index(folder_.path());
            QTRY_COMPARE(model->rowCount(root), 2);  // the filter hides the text file
            // Each kind of entry has its type and a date.
            QTRY_VERIFY(!model->index(0, 3, root).data().toString().isEmpty());

            WidgetTexts texts = Texts();
            texts.Collect(dialog);
            texts.AddActions("dialog", dialog->findChildren<QAction*>());
            Child<QToolButton>(dialog, "detailModeButton")->click();
            texts.Collect(dialog);
            if (!save) {  // a name that is not there: the warning, its text and its button
                QStringList shown;
                ModalDriver driver({[&](QWidget* box) {
                    shown.append(static_cast<QMessageBox*>(box)->text());
                    texts.Collect(box);
                    static_cast<QDialog*>(box)->accept();
                }});
                dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))
                    ->setText(QStringLiteral("ανύπαρκτο.zrv"));
                static_cast<QDialog*>(dialog)->accept();  // the warning comes up inside
                QVERIFY(driver.done());
                QVERIFY2(shown.value(0).contains("Το αρχείο δεν βρέθηκε"),
                         qPrintable(shown.value(0)));
            }
            CheckGreek(texts, 31);

            // The type and the date of a file in Greek.
            const QModelIndex file = model->index(folder_.filePath(QStringLiteral("βρόχος.zrv")));
            QCOMPARE(model->headerData(3, Qt::Horizontal).toString(), "Ημερομηνία τροποποίησης");
            QCOMPARE(model->index(file.row(), 3, root).data().toString(),
                     QLocale(QLocale::Greek)
                         .toString(QFileInfo(model->filePath(file)).lastModified(),
                                   QLocale::ShortFormat));
            dialog->reject();
        }
    }

    // The print dialog, every tab with its options shown, and its properties with theirs; the
    // page setup dialog.
    void printDialogsAreGreek() {
        QPrintDialog* dialog =
            zorvan::ui::ProgramPrinter::Of(windows_->mainWindow.get()).PrintDialog();
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog));
        WidgetTexts texts = Texts();
        for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
            if (button->objectName() == QLatin1String("options") || button->text().contains(">>")) {
                button->click();
            }
        }
        CollectTabs(&texts, dialog);
        auto* properties = Child<QPushButton>(dialog, "properties");
        if (properties->isEnabled()) {
            ModalDriver driver({[&](QWidget* modal) {
                CollectTabs(&texts, modal);
                static_cast<QDialog*>(modal)->reject();
            }});
            properties->click();
            QTRY_VERIFY(driver.done());
        }
        dialog->reject();
        QPrinter printer;
        QPageSetupDialog pageSetup(&printer, windows_->mainWindow.get());
        pageSetup.show();
        QVERIFY(QTest::qWaitForWindowExposed(&pageSetup));
        texts.Collect(&pageSetup);
        CheckGreek(texts, 61);
        // The paper keeps its English name with its size; the preview draws a Greek listing.
        QStringList papers;
        for (const auto* combo : pageSetup.findChildren<QComboBox*>())
            for (int i = 0; i < combo->count(); ++i) papers << combo->itemText(i);
        QVERIFY2(papers.contains("Letter / ANSI A (216 × 279 mm)"), qPrintable(papers.join('|')));
        QVERIFY(papers.filter(QStringLiteral("Επιστολή")).isEmpty());
        QVERIFY(Child<QWidget>(&pageSetup, "greekPagePreview")->isVisible());
    }

    // Zorvan's own boxes of each kind, and a box with every standard button and details.
    void messageBoxesAreGreek() {
        QWidget* parent = windows_->mainWindow.get();
        WidgetTexts texts = Texts();
        ModalDriver driver(std::vector(7, WalkAndClose(&texts)));
        using zorvan::ui::ShowMessage;
        ShowMessage(parent, QStringLiteral("Πληροφορία"), QMessageBox::Information);
        ShowMessage(parent, QStringLiteral("Προειδοποίηση"), QMessageBox::Warning);
        ShowMessage(parent, QStringLiteral("Σφάλμα"), QMessageBox::Critical);
        zorvan::ui::AskYesNo(parent, QStringLiteral("Ερώτηση;"), QMessageBox::Question);
        zorvan::ui::AskYesNoOrCancel(parent, QStringLiteral("Ερώτηση;"), QMessageBox::Question);
        QMessageBox every(QMessageBox::Question, QStringLiteral("Zorvan"), QStringLiteral("Όλα;"),
                          QMessageBox::StandardButtons(0x0FFFFC00), parent);
        every.setDetailedText(QStringLiteral("Λεπτομέρειες"));
        every.exec();
        QDialog holder(parent);
        new QDialogButtonBox(QDialogButtonBox::StandardButtons(0x0FFFFC00), &holder);
        holder.exec();
        QVERIFY(driver.done());
        CheckGreek(texts, 31);
    }

    // Zorvan's own windows, each shown as a student opens it, and every field's context menu:
    // each window's line edits and text areas, and the help browser over a link.
    void ownWindowsAndContextMenusAreGreek() {
        WidgetTexts texts = Texts();
        int menus = 0, shown = 0;
        auto walk = [&](QMenu* menu, const QString& where) {
            QVERIFY(menu != nullptr && !menu->actions().isEmpty());
            texts.AddActions(where, menu->actions());
            delete menu;
            ++menus;
        };
        QList<QWidget*> windows{windows_->mainWindow.get()};
        for (QObject* child : windows_->mainWindow->children())
            if (auto* w = qobject_cast<QWidget*>(child); w != nullptr && w->isWindow())
                windows.append(w);
        for (QWidget* window : windows) {
            if (!qobject_cast<QFileDialog*>(window) && !qobject_cast<QPrintDialog*>(window)) {
                window->show();
                texts.Collect(window);
                texts.AddActions(window->objectName(), window->findChildren<QAction*>());
                // Buttons that show only later, such as the step window's once stepping starts.
                for (QAbstractButton* button : window->findChildren<QAbstractButton*>())
                    texts.Add(window->objectName(), button->text());
                window->hide();
                ++shown;
            }
            for (QLineEdit* edit : window->findChildren<QLineEdit*>()) {
                edit->setText(QStringLiteral("12"));
                edit->selectAll();
                walk(edit->createStandardContextMenu(), edit->objectName());
            }
            for (QPlainTextEdit* edit : window->findChildren<QPlainTextEdit*>())
                walk(edit->createStandardContextMenu(), edit->objectName());
        }
        windows_->mainWindow->show();
        zorvan::windows::HelpWindow help;
        auto* browser = Child<QTextBrowser>(&help, "helpBrowser");
        browser->setHtml(QStringLiteral("<a href=\"#x\">σύνδεσμος</a>"));
        help.show();
        QVERIFY(QTest::qWaitForWindowExposed(&help));
        const QPoint onLink = browser->cursorRect(browser->textCursor()).center() + QPoint(8, 0);
        QMenu* linkMenu = browser->createStandardContextMenu(onLink);
        QStringList linkItems;
        for (QAction* action : linkMenu->actions()) linkItems.append(action->text());
        QVERIFY2(linkItems.join('|').contains("Αντιγραφή θέσης &συνδέσμου"),
                 qPrintable(linkItems.join('|')));
        walk(linkMenu, "help");
        QVERIFY(menus >= 6 && shown >= 8);
        CheckGreek(texts, 61);
    }
};

// The system's locale is named before the application exists, as the program does.
int main(int argc, char** argv) {
    zorvan::ui::NameGreekSystemLocale();
    QApplication application(argc, argv);
    zorvan::ui::UseGreekPagePreviews(&application);  // as the program's application does
    GreekWindowsTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "greek_windows_test.moc"
