#pragma once
// The register window: the program counter, seven status bits, AC, XR, YR and SP in twelve
// fields. It fills them from the machine each time it comes to the front; each field stores its
// text into the machine when the user leaves it for another field, after its check.

#include <QWidget>
#include <array>

#include "app/register_fields.h"
#include "windows/front_watch.h"

class QLineEdit;

namespace zorvan::grid {
struct Workspace;
}

namespace zorvan::windows {

class RegisterWindow : public QWidget {
    Q_OBJECT

  public:
    // Created once at start-up, hidden; parent is the main window.
    explicit RegisterWindow(grid::Workspace& workspace, QWidget* parent = nullptr);

    // Fills the twelve fields from the machine; no check runs.
    void ShowRegisters();
    // The View menu's Clear registers: the machine's registers are cleared and the window is
    // repainted, not refilled, so an open window keeps the old values until it is refilled.
    void ClearRegisters();

  protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // Highlights the fields that the last step or run changed.
    void MarkChangedFields();
    // Each time the window comes to the front: the fields refilled from the machine.
    void RefreshOnFront();
    // Leaving a field for another field of this window: its check, then the machine.
    void LeaveField(int field);

    grid::Workspace& workspace_;
    FrontWatch frontWatch_;
    bool checking_ = false;
    // In field order (app::RegisterField): PC, N V B D I Z C, AC, XR, YR, SP.
    std::array<QLineEdit*, app::kRegisterFieldCount> fields_{};
    QLineEdit* returnAddressEdit_ = nullptr;
};

}  // namespace zorvan::windows
