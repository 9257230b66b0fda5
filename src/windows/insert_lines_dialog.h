#pragma once
// The number-of-lines dialog of Insert lines. Created once, so the field keeps the last number
// typed from one use to the next.

#include <QDialog>
#include <string>

class QLabel;
class QLineEdit;
class QPushButton;

namespace zorvan::grid {
struct Workspace;
}

namespace zorvan::windows {

struct Forms;

class TINSform : public QDialog {
    Q_OBJECT

  public:
    // The dialog's results: exec() returns one of them.
    static constexpr int kOk = 1;
    static constexpr int kCancel = 2;

    TINSform(grid::Workspace& workspace, Forms& forms, QWidget* parent = nullptr);

    // The number as typed: decimal, or hexadecimal after "0x".
    std::string CountText() const;

    QLabel* Label1;
    QLineEdit* Edit1;
    QPushButton* Button1;
    QPushButton* Button2;

    void Button1Click();  // Ok
    void Button2Click();  // Cancel

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void FormActivate();
};

}  // namespace zorvan::windows
