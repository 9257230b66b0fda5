#pragma once
// The register window: the program counter, seven status bits, AC, XR, YR and SP in twelve
// fields. It fills them from the machine each time it comes to the front; each field stores its
// text into the machine when the user leaves it for another field, after its check.

#include <QWidget>
#include <array>

#include "app/register_fields.h"
#include "windows/front_watch.h"

class QFrame;
class QLabel;
class QLineEdit;

namespace zorvan::grid {
struct Workspace;
}

namespace zorvan::windows {

struct Forms;

class TReg_Form : public QWidget {
    Q_OBJECT

  public:
    // Created once at start-up, hidden; forms reaches the other windows, parent is the main window.
    TReg_Form(grid::Workspace& workspace, Forms& forms, QWidget* parent = nullptr);

    // Fills the twelve fields from the machine; no check runs.
    void ShowRegisters();
    // The View menu's Clear registers: the machine's registers are cleared and the window is
    // repainted, not refilled, so an open window keeps the old values until it is refilled.
    void ClearRegisters();

    // Edit1 PC, Edit2-Edit8 N V B D I Z C, Edit9 AC, Edit10 XR, Edit11 YR, Edit12 SP.
    std::array<QLineEdit*, app::kRegisterFieldCount> Edits{};
    QLabel* Label1;  // PC
    QLabel* Label2;  // Status Register
    QLabel* Label3;  // AC
    QLabel* Label4;  // XR
    QLabel* Label5;  // YR
    QLabel* Label6;  // SP
    QLabel* Label7;  // the bits' heading
    QFrame* Bevel1;

  protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // Highlights the fields that the last step or run changed.
    void MarkChangedFields();
    void FormActivate();
    // Edit1Exit to Edit12Exit: field is 0-based.
    void EditExit(int field);

    grid::Workspace& workspace_;
    [[maybe_unused]] Forms& forms_;
    FrontWatch frontWatch_;
    bool checking_ = false;
};

}  // namespace zorvan::windows
