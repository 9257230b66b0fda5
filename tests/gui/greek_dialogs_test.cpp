// Qt's own dialogs and menus as a student meets them: the Open and Save dialogs, the print
// dialog with each of its tabs and its properties, page setup, every message box and every
// context menu. Each is walked whole; no word in Latin letters may remain but the system's own.

#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QToolButton>

#include "greek_text.h"
#include "modal_driver.h"
#include "ui/greek_locale.h"
#include "ui/message_boxes.h"
#include "ui/program_printer.h"
#include "windows/forms.h"
#include "windows/help_window.h"
#include "windows/main_window.h"

namespace {

QString Report(const WidgetTexts& texts) {
    return texts.latin().join('\n');
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

    std::unique_ptr<zorvan::windows::Forms> forms_;
    QTemporaryDir folder_;

    WidgetTexts Texts() const {
        WidgetTexts texts;
        for (const QString& path : {folder_.path(), QDir::homePath(), QDir::currentPath()})
            texts.AllowPath(path);
        return texts;
    }

  private slots:
    void initTestCase() {
        QCOMPARE(QLocale::system().language(), QLocale::Greek);
        QVERIFY(zorvan::ui::UseGreekLocale());
        QVERIFY(folder_.isValid());
        // The folder the file dialogs show: a program, a text file and a subfolder.
        for (const QString& name : {QStringLiteral("βρόχος.zrv"), QStringLiteral("λίστα.txt")}) {
            QFile file(folder_.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("0\n");
        }
        QVERIFY(QDir(folder_.path()).mkdir(QStringLiteral("φάκελος")));
        forms_ = std::make_unique<zorvan::windows::Forms>();
        forms_->Form1->show();
    }

    void cleanupTestCase() { forms_.reset(); }

    void fileDialogsAreGreekInListAndDetailView_data() {
        QTest::addColumn<bool>("save");
        QTest::newRow("open") << false;
        QTest::newRow("save") << true;
    }
    void fileDialogsAreGreekInListAndDetailView() {
        QFETCH(bool, save);
        QFileDialog* dialog = save ? forms_->Form1->SaveDialog1 : forms_->Form1->OpenDialog1;
        dialog->setDirectory(folder_.path());
        dialog->show();
        auto* model = dialog->findChild<QFileSystemModel*>();
        QVERIFY(model != nullptr);
        const QModelIndex root = model->index(folder_.path());
        QTRY_COMPARE(model->rowCount(root), save ? 2 : 2);  // the filter hides the text file
        // Each kind of entry has its type and a date.
        QTRY_VERIFY(!model->index(0, 3, root).data().toString().isEmpty());

        WidgetTexts texts = Texts();
        texts.Collect(dialog);
        texts.AddActions("dialog", dialog->findChildren<QAction*>());
        auto* detail = dialog->findChild<QToolButton*>(QStringLiteral("detailModeButton"));
        QVERIFY(detail != nullptr);
        detail->click();
        texts.Collect(dialog);
        QVERIFY2(texts.latin().isEmpty(), qPrintable(Report(texts)));
        QVERIFY(texts.count() > 30);

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

    // A name that is not there: the warning, its text and its button are Greek.
    void openDialogWarnsInGreekOfAMissingFile() {
        QFileDialog* dialog = forms_->Form1->OpenDialog1;
        dialog->setDirectory(folder_.path());
        dialog->show();
        WidgetTexts texts = Texts();
        QStringList shown;
        ModalDriver driver({[&](QWidget* box) {
            shown.append(static_cast<QMessageBox*>(box)->text());
            texts.Collect(box);
            static_cast<QDialog*>(box)->accept();
        }});
        auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        QVERIFY(name != nullptr);
        name->setText(QStringLiteral("ανύπαρκτο.zrv"));
        static_cast<QDialog*>(dialog)->accept();  // the warning comes up inside
        QVERIFY(driver.done());
        QVERIFY2(shown.value(0).contains(QStringLiteral("Το αρχείο δεν βρέθηκε")),
                 qPrintable(shown.value(0)));
        QVERIFY2(texts.latin().isEmpty(), qPrintable(Report(texts)));
        dialog->reject();
    }

    // The print dialog, every tab with its options shown, and its properties with theirs.
    void printDialogIsGreekOnEveryTab() {
        QPrintDialog* dialog = zorvan::ui::ProgramPrinter::Of(forms_->Form1.get()).PrintDialog1();
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog));
        WidgetTexts texts = Texts();
        texts.Collect(dialog);
        for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
            if (button->objectName() == QLatin1String("options") ||
                button->text().contains(QStringLiteral(">>"))) {
                button->click();
            }
        }
        for (QTabWidget* tabs : dialog->findChildren<QTabWidget*>()) {
            for (int i = 0; i < tabs->count(); ++i) {
                tabs->setCurrentIndex(i);
                texts.Collect(dialog);
            }
        }
        auto* properties = dialog->findChild<QPushButton*>(QStringLiteral("properties"));
        QVERIFY(properties != nullptr);
        if (properties->isEnabled()) {
            ModalDriver driver({[&](QWidget* modal) {
                for (QTabWidget* tabs : modal->findChildren<QTabWidget*>()) {
                    for (int i = 0; i < tabs->count(); ++i) {
                        tabs->setCurrentIndex(i);
                        texts.Collect(modal);
                    }
                }
                texts.Collect(modal);
                static_cast<QDialog*>(modal)->reject();
            }});
            properties->click();
            QTRY_VERIFY(driver.done());
        }
        QVERIFY2(texts.latin().isEmpty(), qPrintable(Report(texts)));
        QVERIFY(texts.count() > 40);
        dialog->reject();
    }

    void pageSetupDialogIsGreek() {
        QPrinter printer;
        QPageSetupDialog dialog(&printer, forms_->Form1.get());
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        WidgetTexts texts = Texts();
        texts.Collect(&dialog);
        QVERIFY2(texts.latin().isEmpty(), qPrintable(Report(texts)));
        QVERIFY(texts.count() > 20);
    }

    // Zorvan's own boxes of each kind, and a box with every standard button and details.
    void messageBoxesAreGreek() {
        QWidget* parent = forms_->Form1.get();
        WidgetTexts texts = Texts();
        ModalDriver driver({WalkAndClose(&texts), WalkAndClose(&texts), WalkAndClose(&texts),
                            WalkAndClose(&texts), WalkAndClose(&texts), WalkAndClose(&texts),
                            WalkAndClose(&texts)});
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
        QVERIFY2(texts.latin().isEmpty(), qPrintable(Report(texts)));
        QVERIFY(texts.count() > 30);
    }

    // Zorvan's own windows, each shown as a student opens it.
    void ownWindowsAreGreek() {
        WidgetTexts texts = Texts();
        QList<QWidget*> windows{forms_->Form1.get()};
        for (QObject* child : forms_->Form1->children())
            if (auto* w = qobject_cast<QWidget*>(child); w != nullptr && w->isWindow() &&
                                                         qobject_cast<QFileDialog*>(w) == nullptr &&
                                                         qobject_cast<QPrintDialog*>(w) == nullptr)
                windows.append(w);
        QVERIFY(windows.size() >= 8);
        for (QWidget* window : windows) {
            window->show();
            texts.Collect(window);
            texts.AddActions(window->objectName(), window->findChildren<QAction*>());
            window->hide();
        }
        forms_->Form1->show();
        QVERIFY2(texts.latin().isEmpty(), qPrintable(Report(texts)));
        QVERIFY(texts.count() > 60);
    }

    // Every field's context menu: each window's line edits and text areas, and the help
    // browser over a link.
    void contextMenusAreGreek() {
        WidgetTexts texts = Texts();
        int menus = 0;
        auto walk = [&](QMenu* menu, const QString& where) {
            QVERIFY(menu != nullptr && !menu->actions().isEmpty());
            texts.AddActions(where, menu->actions());
            delete menu;
            ++menus;
        };
        QList<QWidget*> windows{forms_->Form1.get()};
        for (QObject* child : forms_->Form1->children())
            if (auto* w = qobject_cast<QWidget*>(child); w != nullptr && w->isWindow())
                windows.append(w);
        for (QWidget* window : windows) {
            for (QLineEdit* edit : window->findChildren<QLineEdit*>()) {
                edit->setText(QStringLiteral("12"));
                edit->selectAll();
                walk(edit->createStandardContextMenu(), edit->objectName());
            }
            for (QPlainTextEdit* edit : window->findChildren<QPlainTextEdit*>())
                walk(edit->createStandardContextMenu(), edit->objectName());
        }
        zorvan::windows::HelpWindow help;
        help.Browser->setHtml(QStringLiteral("<a href=\"#x\">σύνδεσμος</a>"));
        help.show();
        QVERIFY(QTest::qWaitForWindowExposed(&help));
        const QPoint onLink =
            help.Browser->cursorRect(help.Browser->textCursor()).center() + QPoint(8, 0);
        QMenu* linkMenu = help.Browser->createStandardContextMenu(onLink);
        QStringList linkItems;
        for (QAction* action : linkMenu->actions()) linkItems.append(action->text());
        QVERIFY2(linkItems.join('|').contains(QStringLiteral("Αντιγραφή θέσης &συνδέσμου")),
                 qPrintable(linkItems.join('|')));
        walk(linkMenu, "help");
        QVERIFY(menus >= 6);
        QVERIFY2(texts.latin().isEmpty(), qPrintable(Report(texts)));
    }
};

// The system's locale is named before the application exists, as the program does.
int main(int argc, char** argv) {
    zorvan::ui::NameGreekSystemLocale();
    QApplication application(argc, argv);
    GreekDialogsTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "greek_dialogs_test.moc"
