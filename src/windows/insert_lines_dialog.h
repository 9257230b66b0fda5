#pragma once
// The number-of-lines dialog of Insert lines. Created once, so the field keeps the last number
// typed from one use to the next.

#include <QDialog>
#include <string>

class QLineEdit;

namespace zorvan::windows {

class InsertLinesDialog : public QDialog {
    Q_OBJECT

  public:
    // The dialog's results: exec() returns one of them.
    static constexpr int kOk = 1;
    static constexpr int kCancel = 2;

    explicit InsertLinesDialog(QWidget* parent = nullptr);

    // The number as typed: decimal, or hexadecimal after "0x".
    std::string CountText() const;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    // The last number comes up selected, so that typing a new one replaces it.
    void SelectLineCount();

    QLineEdit* lineCountEdit_;
};

}  // namespace zorvan::windows
