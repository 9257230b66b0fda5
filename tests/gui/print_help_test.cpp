// Printing, the help window and the About box on the real widgets. The printed listing is read
// back from a PDF with pdftotext (poppler-utils).

#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>

#include "modal_driver.h"
#include "ui/program_printer.h"
#include "windows/about_dialog.h"
#include "windows/forms.h"
#include "windows/help_window.h"
#include "windows/main_window.h"

class PrintHelpTest : public QObject {
    Q_OBJECT

    std::unique_ptr<zorvan::windows::Forms> forms_;

    // Row r of a program whose every cell says which row it belongs to, in column order.
    static QStringList RowOf(int r) {
        const QString n = QString::number(r);
        return {"Λ" + n, QString::number(0x0200 + r, 16), "LDA", n + ",", "X", "σχόλιο " + n};
    }

  private slots:
    void init() { forms_ = std::make_unique<zorvan::windows::Forms>(); }

    // Cancel prints nothing; Print puts a long listing on numbered pages, each under the opened
    // file's name, every row numbered, its cells in column order, the rows in order.
    void printCommandPrintsTheListingOnNumberedPages() {
        QTemporaryDir folder;
        const QString pdf = folder.filePath(QStringLiteral("listing.pdf"));
        const QString heading = QStringLiteral("/home/μαθητής/βρόχος.zrv");
        auto& workspace = forms_->workspace;
        workspace.grid.SetRowCount(151);
        for (int r = 1; r <= 150; ++r)
            for (int c = 0; c < 6; ++c) workspace.grid.SetCell(c, r, RowOf(r)[c].toStdString());
        workspace.openDialogFileName = heading.toStdString();
        // A file name ending in .pdf makes the printer write PDF.
        zorvan::ui::ProgramPrinter::Of(forms_->Form1.get()).Printer().setOutputFileName(pdf);
        for (bool print : {false, true}) {
            ModalDriver driver({[=](QWidget* box) { static_cast<QDialog*>(box)->done(print); }});
            forms_->Form1->N24->trigger();
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

    void f1OpensTheHelpAtItsContents() {
        forms_->Form1->show();
        forms_->Form1->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(forms_->Form1.get()));
        QTest::keyClick(forms_->Form1.get(), Qt::Key_F1);
        auto* help = forms_->Form1->findChild<zorvan::windows::HelpWindow*>();
        QVERIFY(help != nullptr && help->isVisible());
        QCOMPARE(help->Browser->source(), zorvan::windows::HelpWindow::kContentsPage);
        QVERIFY(help->Browser->toPlainText().contains(QStringLiteral("Περιεχόμενα")));
    }

    void aboutBoxShowsZorvanAnd6502AndClosesWithOk() {
        zorvan::windows::TAbout* about = forms_->About.get();
        QCOMPARE(about->Label1->text() + ' ' + about->Label2->text(), QString("Zorvan 6502"));
        ModalDriver driver({[=](QWidget*) { QTest::mouseClick(about->BitBtn1, Qt::LeftButton); }});
        forms_->Form1->N12->trigger();
        QCOMPARE(about->result(), int(QDialog::Accepted));
    }
};

QTEST_MAIN(PrintHelpTest)
#include "print_help_test.moc"
