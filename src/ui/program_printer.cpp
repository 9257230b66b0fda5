#include "ui/program_printer.h"

#include <QFont>
#include <QFontMetrics>
#include <QMarginsF>
#include <QPageLayout>
#include <QPainter>
#include <QPrintDialog>
#include <QWidget>

#include "app/program_listing.h"
#include "ui/qt_text.h"

namespace zorvan::ui {

namespace {

QFont ListingFont(QPaintDevice* device) {
    QFont font(QStringLiteral("DejaVu Sans Mono"));
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    font.setPointSize(ProgramPrinter::kPointSize);
    return QFont(font, device);
}

}  // namespace

ProgramPrinter& ProgramPrinter::Of(QWidget* window) {
    auto* printer = window->findChild<ProgramPrinter*>(QString(), Qt::FindDirectChildrenOnly);
    if (printer == nullptr) printer = new ProgramPrinter(window);
    return *printer;
}

ProgramPrinter::ProgramPrinter(QWidget* window)
    : QObject(window), window_(window), printer_(QPrinter::HighResolution) {
    setObjectName(QStringLiteral("ProgramPrinter"));
    printer_.setDocName(QStringLiteral("Zorvan"));
    printer_.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
}

QPrintDialog* ProgramPrinter::PrintDialog() {
    if (dialog_ == nullptr) {
        dialog_ = new QPrintDialog(&printer_, window_);
        dialog_->setObjectName(QStringLiteral("printDialog"));
        dialog_->setWindowTitle(QStringLiteral("Εκτύπωση"));
        // A listing is printed whole: no page ranges, no selection.
        dialog_->setOption(QAbstractPrintDialog::PrintPageRange, false);
        dialog_->setOption(QAbstractPrintDialog::PrintSelection, false);
        dialog_->setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    }
    return dialog_;
}

bool ProgramPrinter::Print(const grid::ProgramGrid& grid, const std::string& heading) {
    if (PrintDialog()->exec() != QDialog::Accepted) return false;
    Render(printer_, grid, heading);
    return true;
}

int ProgramPrinter::Render(QPrinter& printer, const grid::ProgramGrid& grid,
                           const std::string& heading) {
    QPainter painter;
    if (!painter.begin(&printer)) return 0;
    const QFont font = ListingFont(&printer);
    painter.setFont(font);
    const QFontMetrics metrics(font, &printer);
    const QRect area = printer.pageLayout().paintRectPixels(printer.resolution());
    const int lineHeight = std::max(metrics.lineSpacing(), 1);
    const int characterWidth = std::max(metrics.horizontalAdvance(QLatin1Char('M')), 1);

    const std::vector<app::ListingPage> pages = app::PaginateListing(
        grid, heading, area.height() / lineHeight, area.width() / characterWidth);
    for (std::size_t p = 0; p < pages.size(); ++p) {
        if (p > 0) printer.newPage();
        int baseline = metrics.ascent();
        const auto drawLine = [&](const std::string& line) {
            if (!line.empty()) painter.drawText(QPoint(0, baseline), ToQString(line));
            baseline += lineHeight;
        };
        for (const std::string& line : pages[p].heading) drawLine(line);
        baseline += lineHeight;  // an empty line under the heading
        for (const std::string& line : pages[p].lines) drawLine(line);
    }
    painter.end();
    return static_cast<int>(pages.size());
}

}  // namespace zorvan::ui
