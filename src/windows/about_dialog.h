#pragma once
// The About box.

#include <QDialog>

namespace zorvan::app {
struct Workspace;
}

namespace zorvan::windows {

struct Forms;

class TAbout : public QDialog {
    Q_OBJECT

  public:
    // Created once at start-up, hidden; forms reaches the other windows, parent is the main window.
    TAbout(app::Workspace& workspace, Forms& forms, QWidget* parent = nullptr);

  private:
    [[maybe_unused]] app::Workspace& workspace_;
    [[maybe_unused]] Forms& forms_;
};

}  // namespace zorvan::windows
