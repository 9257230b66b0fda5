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

#include "app/program_grid.h"
#include "ui/program_printer.h"
#include "windows/about_dialog.h"
#include "windows/forms.h"
#include "windows/help_window.h"
#include "windows/main_window.h"

using zorvan::app::ProgramGrid;
using zorvan::ui::ProgramPrinter;
using zorvan::windows::Forms;
using zorvan::windows::HelpWindow;

namespace {

// Row r of a recognisable program: every cell says which row it belongs to.
struct TestRow {
    QString label, address, instruction, first, second, comment;
};

TestRow RowOf(int r) {
    return {QStringLiteral("Λ%1").arg(r),
            QStringLiteral("%1").arg(0x0200 + 2 * r, 4, 16, QChar('0')).toUpper(),
            QStringLiteral("LDA"),
            QStringLiteral("%1,").arg(r % 256, 2, 16, QChar('0')).toUpper(),
            QStringLiteral("X"),
            QStringLiteral("σχόλιο γραμμής %1").arg(r)};
}

ProgramGrid GridOfRows(int rows) {
    ProgramGrid grid;
    grid.SetRowCount(rows + 1);
    for (int r = 1; r <= rows; ++r) {
        const TestRow row = RowOf(r);
        const QString cells[] = {row.label, row.address, row.instruction,
                                 row.first, row.second,  row.comment};
        for (int c = 0; c < 6; ++c) grid.SetCell(c, r, cells[c].toStdString());
    }
    return grid;
}

// The text of each page of a PDF.
QStringList PdfPages(const QString& path) {
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"),
                    {QStringLiteral("-layout"), path, QStringLiteral("-")});
    if (!pdftotext.waitForFinished(30000) || pdftotext.exitCode() != 0) return {};
    QStringList pages = QString::fromUtf8(pdftotext.readAllStandardOutput()).split(QChar('\f'));
    while (!pages.isEmpty() && pages.back().trimmed().isEmpty()) pages.removeLast();
    return pages;
}

// Checks that the listing lines of the pages are the rows 1..rows, in order, each with its cells
// in column order.
[[nodiscard]] QString ListingProblem(const QStringList& pages, int rows) {
    static const QRegularExpression numbered(QStringLiteral("^\\s*(\\d+):"));
    int expected = 1;
    for (const QString& page : pages) {
        for (const QString& line : page.split(QChar('\n'))) {
            const QRegularExpressionMatch match = numbered.match(line);
            if (!match.hasMatch()) continue;
            if (match.captured(1).toInt() != expected) {
                return QStringLiteral("line %1 where %2 was expected")
                    .arg(match.captured(1))
                    .arg(expected);
            }
            const TestRow row = RowOf(expected);
            qsizetype at = match.capturedEnd();
            for (const QString& cell :
                 {row.label, row.address, row.instruction, row.first, row.second, row.comment}) {
                const qsizetype found = line.indexOf(cell, at);
                if (found < 0)
                    return QStringLiteral("'%1' not after column %2 in: %3")
                        .arg(cell)
                        .arg(at)
                        .arg(line);
                at = found + cell.size();
            }
            ++expected;
        }
    }
    if (expected != rows + 1)
        return QStringLiteral("%1 rows printed of %2").arg(expected - 1).arg(rows);
    return {};
}

// Presses a button of the modal print dialog once it is up.
void AnswerPrintDialog(bool accept) {
    QTimer::singleShot(0, [accept] {
        auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog != nullptr);
        QCOMPARE(dialog->objectName(), QStringLiteral("PrintDialog1"));
        if (accept) {
            dialog->accept();
        } else {
            dialog->reject();
        }
    });
}

}  // namespace

class PrintHelpTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<Forms> forms_;
    QTemporaryDir folder_;

    QString PdfPath() const { return folder_.filePath(QStringLiteral("listing.pdf")); }
    void PrintToPdfFile(ProgramPrinter& printer) {
        printer.Printer().setOutputFormat(QPrinter::PdfFormat);
        printer.Printer().setOutputFileName(PdfPath());
    }

  private slots:
    void init() {
        QVERIFY(folder_.isValid());
        QFile::remove(PdfPath());
        forms_ = std::make_unique<Forms>();
    }
    void cleanup() { forms_.reset(); }

    void listingGoesOntoAsManyPagesAsNeededWithEveryRowInOrder_data() {
        QTest::addColumn<int>("rows");
        QTest::addColumn<QString>("heading");
        QTest::addColumn<int>("minimumPages");
        QTest::newRow("three rows, no file") << 3 << QString() << 1;
        QTest::newRow("a long program") << 150 << QStringLiteral("/home/μαθητής/βρόχος.zrv") << 3;
    }
    void listingGoesOntoAsManyPagesAsNeededWithEveryRowInOrder() {
        QFETCH(int, rows);
        QFETCH(QString, heading);
        QFETCH(int, minimumPages);
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(PdfPath());
        const int drawn = ProgramPrinter::Render(printer, GridOfRows(rows), heading.toStdString());

        const QStringList pages = PdfPages(PdfPath());
        QCOMPARE(pages.size(), drawn);
        QVERIFY(drawn >= minimumPages);
        const QString problem = ListingProblem(pages, rows);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        for (int p = 0; p < pages.size(); ++p) {
            if (!heading.isEmpty()) QVERIFY(pages[p].contains(heading));
            if (pages.size() > 1) {
                QVERIFY2(pages[p].contains(
                             QStringLiteral("Σελίδα %1 από %2").arg(p + 1).arg(pages.size())),
                         qPrintable(pages[p].left(200)));
            } else {
                QVERIFY(!pages[p].contains(QStringLiteral("Σελίδα")));
            }
        }
    }

    void cancellingThePrintDialogPrintsNothing() {
        ProgramPrinter& printer = ProgramPrinter::Of(forms_->Form1.get());
        PrintToPdfFile(printer);
        AnswerPrintDialog(false);
        QVERIFY(!printer.Print(GridOfRows(3), "a.zrv"));
        QVERIFY(!QFile::exists(PdfPath()));
    }

    void printCommandPrintsTheGridUnderTheOpenedFileName() {
        zorvan::app::Workspace& workspace = forms_->workspace;
        workspace.grid = GridOfRows(4);
        workspace.openDialogFileName = "/tmp/ανοιχτό.zrv";
        ProgramPrinter& printer = ProgramPrinter::Of(forms_->Form1.get());
        PrintToPdfFile(printer);
        AnswerPrintDialog(true);
        forms_->Form1->N24->trigger();

        const QStringList pages = PdfPages(PdfPath());
        QCOMPARE(pages.size(), 1);
        QVERIFY(pages[0].contains(QStringLiteral("/tmp/ανοιχτό.zrv")));
        const QString problem = ListingProblem(pages, 4);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        // The same printer, and so the same choices, next time.
        QCOMPARE(&ProgramPrinter::Of(forms_->Form1.get()), &printer);
    }

    void f1OpensTheHelpAtItsContentsAndLinksNavigate() {
        forms_->Form1->show();
        forms_->Form1->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(forms_->Form1.get()));
        QTest::keyClick(forms_->Form1.get(), Qt::Key_F1);

        auto* help = forms_->Form1->findChild<HelpWindow*>();
        QVERIFY(help != nullptr);
        QVERIFY(help->isVisible());
        QCOMPARE(help->Browser->source(), HelpWindow::kContentsPage);
        QVERIFY(help->Browser->toPlainText().contains(QStringLiteral("Περιεχόμενα")));
        QVERIFY(!help->BackAction->isEnabled());

        help->Browser->setSource(QUrl(QStringLiteral("instructions.html")));
        QCOMPARE(help->Browser->source().fileName(), QStringLiteral("instructions.html"));
        QVERIFY(help->Browser->toPlainText().contains(QStringLiteral("JSR")));
        QVERIFY(help->windowTitle().contains(QStringLiteral("Οι εντολές")));
        QVERIFY(help->BackAction->isEnabled());
        help->BackAction->trigger();
        QCOMPARE(help->Browser->source(), HelpWindow::kContentsPage);
        help->ForwardAction->trigger();
        QCOMPARE(help->Browser->source().fileName(), QStringLiteral("instructions.html"));
        help->ContentsAction->trigger();
        QCOMPARE(help->Browser->source(), HelpWindow::kContentsPage);

        // Closed and opened again: one window, back at the contents.
        help->Browser->setSource(QUrl(QStringLiteral("grid.html")));
        help->close();
        QCOMPARE(HelpWindow::Open(forms_->Form1.get()), help);
        QCOMPARE(help->Browser->source(), HelpWindow::kContentsPage);
        QCOMPARE(forms_->Form1->findChildren<HelpWindow*>().size(), 1);
    }

    void everyHelpLinkLeadsToAPageAndPlaceThatExist() {
        // Opening the window loads the pages into the resources.
        HelpWindow::Open(forms_->Form1.get());
        static const QRegularExpression link(QStringLiteral("href=\"([^\"#]*)(?:#([^\"]*))?\""));
        int pages = 0;
        QDirIterator it(QStringLiteral(":/help"), {QStringLiteral("*.html")});
        while (it.hasNext()) {
            const QString path = it.next();
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QString text = QString::fromUtf8(file.readAll());
            QVERIFY2(text.contains(QStringLiteral("<title>")), qPrintable(path));
            ++pages;
            for (auto match = link.globalMatch(text); match.hasNext();) {
                const QRegularExpressionMatch m = match.next();
                const QString target =
                    m.captured(1).isEmpty() ? path : QStringLiteral(":/help/") + m.captured(1);
                QFile linked(target);
                QVERIFY2(linked.open(QIODevice::ReadOnly),
                         qPrintable(path + " -> " + m.captured(0)));
                if (!m.captured(2).isEmpty()) {
                    QVERIFY2(QString::fromUtf8(linked.readAll())
                                 .contains(QStringLiteral("name=\"%1\"").arg(m.captured(2))),
                             qPrintable(path + " -> " + m.captured(0)));
                }
            }
        }
        QVERIFY(pages >= 8);
    }

    void aboutBoxShowsItsTwoLinesAndClosesWithOk() {
        zorvan::windows::TAbout* about = forms_->About.get();
        QCOMPARE(about->windowTitle(), QStringLiteral("About"));
        QVERIFY(about->isModal());
        QCOMPARE(about->minimumSize(), QSize(250, 153));
        QCOMPARE(about->maximumSize(), QSize(250, 153));
        QCOMPARE(about->pos(), QPoint(484, 281));

        QCOMPARE(about->Label1->text(), QStringLiteral("Zorvan"));
        QCOMPARE(about->Label2->text(), QStringLiteral("6502"));
        QVERIFY(about->Label1->y() < about->Label2->y());
        QVERIFY(about->Label2->font().bold());
        QCOMPARE(about->Label2->font().pixelSize(), 20);
        QCOMPARE(about->Label1->font().pixelSize(), 13);
        QCOMPARE(about->Bevel1->geometry(), QRect(8, 8, 233, 97));
        QCOMPARE(about->Bevel1->frameShadow(), QFrame::Raised);
        QVERIFY(about->Bevel1->geometry().contains(about->Label1->geometry()));
        QVERIFY(about->Bevel1->geometry().contains(about->Label2->geometry()));
        QCOMPARE(about->BitBtn1->geometry(), QRect(88, 120, 75, 25));

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
