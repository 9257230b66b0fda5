// Qt's own dialogs and menus as a student meets them: the Open and Save dialogs, the print
// dialog with each of its tabs and its properties, page setup, every message box and every
// context menu. Each is walked whole (captions, tooltips, names, headers, items); no word in
// Latin letters may remain but the system's own.

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPageSetupDialog>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
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
#include "ui/message_boxes.h"
#include "ui/page_preview.h"
#include "ui/program_printer.h"
#include "windows/application_windows.h"
#include "windows/help_window.h"
#include "windows/main_window.h"

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

}  // namespace

class GreekDialogsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<zorvan::windows::ApplicationWindows> windows_;
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
        QVERIFY(zorvan::ui::UseGreekLocale());
        QVERIFY(folder_.isValid());
        // The folder the file dialogs show: a program, a text file and a subfolder.
        for (const char* name : {"βρόχος.zrv", "λίστα.txt"})
            zorvan::testing::PutFile(folder_.filePath(name).toStdString(), "0\n");
        QVERIFY(QDir(folder_.path()).mkdir(QStringLiteral("φάκελος")));
        windows_ = std::make_unique<zorvan::windows::ApplicationWindows>();
        windows_->mainWindow->show();
    }

    void cleanupTestCase() { windows_.reset(); }

    void fileDialogsAreGreekInListAndDetailView_data() {
        QTest::addColumn<bool>("save");
        QTest::newRow("open") << false;
        QTest::newRow("save") << true;
    }
    // Open and Save in list and detail view; Open also warns of a missing file.
    void fileDialogsAreGreekInListAndDetailView() {
        QFETCH(bool, save);
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
            QVERIFY2(shown.value(0).contains(QStringLiteral("Το αρχείο δεν βρέθηκε")),
                     qPrintable(shown.value(0)));
        }
        CheckGreek(texts, 31);

        // The type and the date of a file in Greek.
        const QModelIndex file = model->index(folder_.filePath(QStringLiteral("βρόχος.zrv")));
        QCOMPARE(model->headerData(3, Qt::Horizontal).toString(),
                 QStringLiteral("Ημερομηνία τροποποίησης"));
        QCOMPARE(
            model->index(file.row(), 3, root).data().toString(),
            QLocale(QLocale::Greek)
                .toString(QFileInfo(model->filePath(file)).lastModified(), QLocale::ShortFormat));
        dialog->reject();
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
            if (button->objectName() == QLatin1String("options") ||
                button->text().contains(QStringLiteral(">>"))) {
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
        QVERIFY2(papers.contains(QStringLiteral("Letter / ANSI A (216 × 279 mm)")),
                 qPrintable(papers.join('|')));
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
        QVERIFY2(linkItems.join('|').contains(QStringLiteral("Αντιγραφή θέσης &συνδέσμου")),
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
    GreekDialogsTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "greek_dialogs_test.moc"
