// Printing, the help window and the About box on the real widgets. The printed listing is read
// back from a PDF with pdftotext (poppler-utils).

#include <QAction>
#include <QDirIterator>
#include <QLabel>
#include <QPrintDialog>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>

#include "ui/program_printer.h"
#include "windows/about_dialog.h"
#include "windows/forms.h"
#include "windows/help_window.h"
#include "windows/main_window.h"

using zorvan::ui::ProgramPrinter;
using zorvan::windows::HelpWindow;

namespace {

// Row r of a program whose every cell says which row it belongs to, in column order.
QStringList RowOf(int r) {
    return {QStringLiteral("Λ%1").arg(r),
            QStringLiteral("%1").arg(0x0200 + r, 4, 16, QChar('0')).toUpper(),
            QStringLiteral("LDA"),
            QStringLiteral("%1,").arg(r % 256, 2, 16, QChar('0')).toUpper(),
            QStringLiteral("X"),
            QStringLiteral("σχόλιο %1").arg(r)};
}

// The PDF's pages as pdftotext lays them out.
QStringList PdfPages(const QString& path) {
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, "-"});
    if (!pdftotext.waitForFinished(30000) || pdftotext.exitCode() != 0) return {};
    QStringList pages = QString::fromUtf8(pdftotext.readAllStandardOutput()).split(QChar('\f'));
    pages.removeAll(QString());
    return pages;
}

// Answers the next print dialog: Print or Cancel.
void AnswerPrintDialog(bool accept) {
    QTimer::singleShot(0, [accept] {
        auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog != nullptr);
        accept ? dialog->accept() : dialog->reject();
    });
}

}  // namespace

class PrintHelpTest : public QObject {
    Q_OBJECT

    std::unique_ptr<zorvan::windows::Forms> forms_;

  private slots:
    void init() { forms_ = std::make_unique<zorvan::windows::Forms>(); }
    void cleanup() { forms_.reset(); }

    // Cancel prints nothing; Print puts a long listing on numbered pages under the opened file's
    // name, every row in order.
    void printCommandPrintsTheListingOnNumberedPages() {
        QTemporaryDir folder;
        const QString pdf = folder.filePath(QStringLiteral("listing.pdf"));
        const QString heading = QStringLiteral("/home/μαθητής/βρόχος.zrv");
        forms_->workspace.grid.SetRowCount(151);
        for (int r = 1; r <= 150; ++r) {
            for (int c = 0; c < 6; ++c)
                forms_->workspace.grid.SetCell(c, r, RowOf(r)[c].toStdString());
        }
        forms_->workspace.openDialogFileName = heading.toStdString();
        QPrinter& printer = ProgramPrinter::Of(forms_->Form1.get()).Printer();
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        AnswerPrintDialog(false);
        forms_->Form1->N24->trigger();
        QVERIFY(!QFile::exists(pdf));

        AnswerPrintDialog(true);
        forms_->Form1->N24->trigger();
        const QStringList pages = PdfPages(pdf);
        QVERIFY(pages.size() >= 3);
        // Each row numbered, its cells in column order, the rows in order.
        const QString text = pages.join(' ').simplified();
        qsizetype at = 0;
        for (int r = 1; r <= 150 && at >= 0; ++r) {
            at = text.indexOf(QStringLiteral("%1: ").arg(r) + RowOf(r).join(' '), at);
            QVERIFY2(at >= 0, qPrintable(QStringLiteral("row %1").arg(r)));
        }
        for (int p = 0; p < pages.size(); ++p) {
            QVERIFY(pages[p].contains(heading));
            QVERIFY(
                pages[p].contains(QStringLiteral("Σελίδα %1 από %2").arg(p + 1).arg(pages.size())));
        }
    }

    // F1 opens the help at its contents; every link leads to a page and place that exist.
    void f1OpensTheHelpWhoseLinksAllLead() {
        forms_->Form1->show();
        forms_->Form1->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(forms_->Form1.get()));
        QTest::keyClick(forms_->Form1.get(), Qt::Key_F1);
        auto* help = forms_->Form1->findChild<HelpWindow*>();
        QVERIFY(help != nullptr && help->isVisible());
        QCOMPARE(help->Browser->source(), HelpWindow::kContentsPage);
        QVERIFY(help->Browser->toPlainText().contains(QStringLiteral("Περιεχόμενα")));

        static const QRegularExpression link(QStringLiteral("href=\"([^\"#]*)(?:#([^\"]*))?\""));
        int pages = 0;
        for (QDirIterator it(QStringLiteral(":/help"), {QStringLiteral("*.html")}); it.hasNext();
             ++pages) {
            const QString path = it.next();
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadOnly));
            for (auto m = link.globalMatch(QString::fromUtf8(file.readAll())); m.hasNext();) {
                const QRegularExpressionMatch found = m.next();
                QFile target(found.captured(1).isEmpty() ? path : ":/help/" + found.captured(1));
                const QString anchor = QStringLiteral("name=\"%1\"").arg(found.captured(2));
                QVERIFY2(
                    target.open(QIODevice::ReadOnly) &&
                        (found.captured(2).isEmpty() || target.readAll().contains(anchor.toUtf8())),
                    qPrintable(path + found.captured(0)));
            }
        }
        QCOMPARE(pages, 9);
    }

    void aboutBoxShowsZorvanAnd6502AndClosesWithOk() {
        zorvan::windows::TAbout* about = forms_->About.get();
        QCOMPARE(about->minimumSize(), QSize(250, 153));
        QCOMPARE(about->maximumSize(), QSize(250, 153));
        QCOMPARE(about->Label1->text(), QStringLiteral("Zorvan"));
        QCOMPARE(about->Label2->text(), QStringLiteral("6502"));
        QTimer::singleShot(0, [about] {
            QCOMPARE(QApplication::activeModalWidget(), about);
            QTest::mouseClick(about->BitBtn1, Qt::LeftButton);
        });
        forms_->Form1->N12->trigger();
        QCOMPARE(about->result(), int(QDialog::Accepted));
    }
};

QTEST_MAIN(PrintHelpTest)
#include "print_help_test.moc"
