#pragma once
// Printing the program grid: the print dialog (printer, copies, print to a PDF file), then the
// listing of the core's ProgramListing drawn in a 10-point fixed-pitch font on as many pages as
// it needs.
//
//   ProgramPrinter::Of(mainWindow).Print(workspace.grid, workspace.openDialogFileName);

#include <QObject>
#include <QPrinter>
#include <string>

class QPrintDialog;
class QWidget;

namespace zorvan::grid {
class ProgramGrid;
}

namespace zorvan::ui {

class ProgramPrinter : public QObject {
    Q_OBJECT

  public:
    inline static constexpr int kPointSize = 10;

    // The window's printer, created on first use as its child: the print dialog keeps the user's
    // choices (printer, copies, file) from one use to the next.
    static ProgramPrinter& Of(QWidget* window);

    explicit ProgramPrinter(QWidget* window);

    // Shows the print dialog; when it is accepted, prints the listing there and returns true.
    // Cancelling prints nothing and returns false.
    bool Print(const grid::ProgramGrid& grid, const std::string& heading);

    QPrinter& Printer() { return printer_; }
    // The print dialog, made on first use.
    QPrintDialog* PrintDialog();

    // Draws the listing on printer, which must be set up; returns the number of pages.
    static int Render(QPrinter& printer, const grid::ProgramGrid& grid, const std::string& heading);

  private:
    QWidget* window_;
    QPrinter printer_;
    QPrintDialog* dialog_ = nullptr;
};

}  // namespace zorvan::ui
