// Printing, the help window and the About box on the real widgets. The printed listing is read
// back from a PDF with pdftotext (poppler-utils).

#include <QAction>
#include <QApplication>
#include <QDirIterator>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QPrintDialog>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <memory>

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
            QStringLiteral("%1").arg(0x0200 + r, 4, 16).toUpper(),
            QStringLiteral("LDA"),
            QStringLiteral("%1,").arg(r % 256, 2, 16, QChar('0')).toUpper(),
            QStringLiteral("X"),
            QStringLiteral("σχόλιο %1").arg(r)};
}

zorvan::app::ProgramGrid GridOfRows(int rows) {
    zorvan::app::ProgramGrid grid;
    grid.SetRowCount(rows + 1);
    for (int r = 1; r <= rows; ++r) {
        for (int c = 0; c < 6; ++c) grid.SetCell(c, r, RowOf(r)[c].toStdString());
    }
    return grid;
}

QStringList PdfPages(const QString& path) {
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"),
                    {QStringLiteral("-layout"), path, QStringLiteral("-")});
    if (!pdftotext.waitForFinished(30000) || pdftotext.exitCode() != 0) return {};
    QStringList pages = QString::fromUtf8(pdftotext.readAllStandardOutput()).split(QChar('\f'));
    pages.removeAll(QString());
    return pages;
}

// Empty when the pages list rows 1..rows in order, each with its cells in column order.
QString ListingProblem(const QStringList& pages, int rows) {
    static const QRegularExpression numbered(QStringLiteral("^\\s*(\\d+):"));
    int expected = 1;
    for (const QString& line : pages.join(QChar('\n')).split(QChar('\n'))) {
        const QRegularExpressionMatch match = numbered.match(line);
        if (!match.hasMatch()) continue;
        if (match.captured(1).toInt() != expected)
            return QStringLiteral("row %1 out of order").arg(match.captured(1));
        qsizetype at = match.capturedEnd();
        for (const QString& cell : RowOf(expected)) {
            at = line.indexOf(cell, at);
            if (at < 0)
                return QStringLiteral("'%1' missing or out of order in: %2").arg(cell, line);
        }
        ++expected;
    }
    return expected == rows + 1 ? QString()
                                : QStringLiteral("%1 rows of %2").arg(expected - 1).arg(rows);
}

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
    QTemporaryDir folder_;
    QString pdf_;

  private slots:
    void init() {
        pdf_ = folder_.filePath(QStringLiteral("listing.pdf"));
        QFile::remove(pdf_);
        forms_ = std::make_unique<zorvan::windows::Forms>();
    }
    void cleanup() { forms_.reset(); }

    void aLongListingGoesOnNumberedPagesWithEveryRowInOrder() {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf_);
        const QString heading = QStringLiteral("/home/μαθητής/βρόχος.zrv");
        const int drawn = ProgramPrinter::Render(printer, GridOfRows(150), heading.toStdString());

        const QStringList pages = PdfPages(pdf_);
        QCOMPARE(pages.size(), drawn);
        QVERIFY(drawn >= 3);
        const QString problem = ListingProblem(pages, 150);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        for (int p = 0; p < pages.size(); ++p) {
            QVERIFY(pages[p].contains(heading));
            QVERIFY(pages[p].contains(QStringLiteral("Σελίδα %1 από %2").arg(p + 1).arg(drawn)));
        }
    }

    void printCommandPrintsUnderTheOpenedFileNameAndCancelPrintsNothing() {
        forms_->workspace.grid = GridOfRows(4);
        forms_->workspace.openDialogFileName = "/tmp/ανοιχτό.zrv";
        QPrinter& printer = ProgramPrinter::Of(forms_->Form1.get()).Printer();
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf_);

        AnswerPrintDialog(false);
        forms_->Form1->N24->trigger();
        QVERIFY(!QFile::exists(pdf_));

        AnswerPrintDialog(true);
        forms_->Form1->N24->trigger();
        const QStringList pages = PdfPages(pdf_);
        QCOMPARE(pages.size(), 1);
        QVERIFY(pages[0].contains(QStringLiteral("/tmp/ανοιχτό.zrv")));
        QVERIFY(!pages[0].contains(QStringLiteral("Σελίδα")));
        const QString problem = ListingProblem(pages, 4);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
    }

    void f1OpensOneHelpWindowAtItsContentsWithWorkingNavigation() {
        forms_->Form1->show();
        forms_->Form1->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(forms_->Form1.get()));
        QTest::keyClick(forms_->Form1.get(), Qt::Key_F1);
        auto* help = forms_->Form1->findChild<HelpWindow*>();
        QVERIFY(help != nullptr && help->isVisible());
        QCOMPARE(help->Browser->source(), HelpWindow::kContentsPage);
        QVERIFY(help->Browser->toPlainText().contains(QStringLiteral("Περιεχόμενα")));

        help->Browser->setSource(QUrl(QStringLiteral("instructions.html")));
        QVERIFY(help->Browser->toPlainText().contains(QStringLiteral("JSR")));
        QVERIFY(help->windowTitle().contains(QStringLiteral("Οι εντολές")));
        help->BackAction->trigger();
        QCOMPARE(help->Browser->source(), HelpWindow::kContentsPage);
        help->ForwardAction->trigger();
        QCOMPARE(help->Browser->source().fileName(), QStringLiteral("instructions.html"));

        help->close();
        QCOMPARE(HelpWindow::Open(forms_->Form1.get()), help);
        QCOMPARE(help->Browser->source(), HelpWindow::kContentsPage);
    }

    void everyHelpLinkLeadsToAPageAndPlaceThatExist() {
        HelpWindow::Open(forms_->Form1.get());
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
                QVERIFY2(target.open(QIODevice::ReadOnly), qPrintable(path + found.captured(0)));
                const QString anchor = QStringLiteral("name=\"%1\"").arg(found.captured(2));
                QVERIFY2(found.captured(2).isEmpty() || target.readAll().contains(anchor.toUtf8()),
                         qPrintable(path + found.captured(0)));
            }
        }
        QCOMPARE(pages, 9);
    }

    void aboutBoxShowsZorvanAnd6502AndClosesWithOk() {
        zorvan::windows::TAbout* about = forms_->About.get();
        QCOMPARE(about->windowTitle(), QStringLiteral("About"));
        QCOMPARE(about->minimumSize(), QSize(250, 153));
        QCOMPARE(about->maximumSize(), QSize(250, 153));
        QCOMPARE(about->pos(), QPoint(484, 281));
        QCOMPARE(about->Label1->text(), QStringLiteral("Zorvan"));
        QCOMPARE(about->Label2->text(), QStringLiteral("6502"));
        QVERIFY(about->Label1->y() < about->Label2->y() && about->Label2->font().bold());
        QCOMPARE(about->Bevel1->frameShadow(), QFrame::Raised);
        QVERIFY(about->Bevel1->geometry().contains(about->Label2->geometry()));

        QTimer::singleShot(0, [about] {
            QCOMPARE(QApplication::activeModalWidget(), about);
            QTest::mouseClick(about->BitBtn1, Qt::LeftButton);
        });
        forms_->Form1->N12->trigger();
        QCOMPARE(about->result(), int(QDialog::Accepted));
        QVERIFY(!about->isVisible());
    }
};

QTEST_MAIN(PrintHelpTest)
#include "print_help_test.moc"
